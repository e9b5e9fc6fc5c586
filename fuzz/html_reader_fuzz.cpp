// libFuzzer harness for the HTML reader: any bytes are a page (browsers show
// something of every input), so every input below the size bound must read;
// the model's text must be there to take.

#include "Document.h"
#include "Html.h"
#include "Text.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    // No folder: pictures come from data URLs only, never from the disk.
    const auto doc = html::read(bytes, &error);
    if (!doc)
        abort();
    (void)model::plainText(*doc);
    return 0;
}
