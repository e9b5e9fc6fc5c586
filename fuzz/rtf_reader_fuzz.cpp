// libFuzzer harness for the RTF reader: reads the input as RTF; a refusal
// must name its reason, a document read must survive a write and a second
// read.

#include "ReaderCheck.h"
#include "Rtf.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    return checkReader(
        bytes, size, [](const QByteArray& b, QString* e) { return rtf::read(b, e); },
        // What we read and can write, we can read again.
        [](const model::Document& d, QString* e) {
            const auto written = rtf::write(d, e);
            return !written || bool(rtf::read(*written, e));
        });
}
