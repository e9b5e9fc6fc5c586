// libFuzzer harness for the compound file reader: opens the input and reads
// every stream it lists. A stream that reads must have its declared size.

#include "CompoundFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const auto reader = cfb::Reader::open(bytes, &error);
    if (!reader) {
        if (error.isEmpty())
            abort();
        return 0;
    }
    for (const QString& path : reader->streamPaths()) {
        const auto stream = reader->stream(path, &error);
        if (stream ? quint64(stream->size()) != reader->streamSize(path) : error.isEmpty())
            abort();
    }
    for (const QString& storage : reader->storageNames())
        (void)reader->streamNames(storage);
    return 0;
}
