// libFuzzer harness for the Word 97-2003 reader: reads the input as a .doc;
// a refusal must name its reason, a document read must survive a write and
// a second read.

#include "MsDoc.h"
#include "ReaderCheck.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    return checkReader(
        bytes, size, [](const QByteArray& b, QString* e) { return msdoc::read(b, e); },
        // What we read, we can write and read again.
        [](const model::Document& d, QString* e) { return bool(msdoc::read(msdoc::write(d), e)); });
}
