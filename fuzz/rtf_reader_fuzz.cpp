// libFuzzer harness for the RTF reader: reads the input as RTF; a refusal
// must name its reason, a document read must survive a write and a second
// read.

#include "Document.h"
#include "Rtf.h"
#include "Text.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const auto doc = rtf::read(bytes, &error);
    if (!doc) {
        if (error.isEmpty())
            abort();
        return 0;
    }
    (void)model::plainText(*doc);
    if (size < 65536) {
        // What we read, we can write and read again.
        const auto written = rtf::write(*doc, &error);
        if (written && !rtf::read(*written, &error))
            abort();
    }
    return 0;
}
