// libFuzzer harness for the Word Open XML reader: reads the input as a
// .docx; a refusal must name its reason, a document read must survive a
// write and a second read.

#include "Document.h"
#include "Docx.h"
#include "Text.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const auto doc = docx::read(bytes, &error);
    if (!doc) {
        if (error.isEmpty())
            abort();
        return 0;
    }
    (void)model::plainText(*doc);
    if (size < 65536) {
        // What we read, we can write and read again.
        const auto again = docx::write(*doc, &error);
        if (!again || !docx::read(*again, &error))
            abort();
    }
    return 0;
}
