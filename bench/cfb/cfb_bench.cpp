// Times cfb::Writer::toBytes and cfb::Reader (open and read every stream) on
// files shaped like Word documents of 10, 100 and 1,000 pages, and on one
// 64 MB stream. Prints the best of N runs in milliseconds and MB/s.

#include "CompoundFile.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Document-like filler: UTF-16 text mixing Japanese and Latin, tagged with
// the seed so streams differ.
QByteArray noise(qsizetype size, quint32 seed) {
    const QString text = QStringLiteral("文書の本文 Folium text %1 ").arg(seed);
    const QByteArray unit(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray b;
    b.reserve(size + unit.size());
    while (b.size() < size)
        b.append(unit);
    b.truncate(size);
    return b;
}

// About 4 KB of text and formatting per page, plus the small streams every
// Word file carries.
cfb::Writer document(int pages) {
    cfb::Writer w;
    w.addStream(QStringLiteral("WordDocument"), noise(qsizetype(pages) * 3600 + 2048, 1));
    w.addStream(QStringLiteral("1Table"), noise(qsizetype(pages) * 600 + 3000, 2));
    w.addStream(QStringLiteral("\x01"
                               "CompObj"),
                noise(106, 3));
    w.addStream(QStringLiteral("\x05SummaryInformation"), noise(500, 4));
    w.addStream(QStringLiteral("\x05"
                               "DocumentSummaryInformation"),
                noise(528, 5));
    return w;
}

double bestMs(int repeats, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, double(t.nsecsElapsed()) / 1e6);
    }
    return best;
}

void measure(const char* label, const cfb::Writer& w, int repeats) {
    QByteArray bytes;
    const double writeMs = bestMs(repeats, [&] { bytes = w.toBytes(); });
    qsizetype total = 0;
    const double readMs = bestMs(repeats, [&] {
        const auto r = cfb::Reader::open(bytes);
        total = 0;
        for (const QString& path : r->streamPaths())
            total += r->stream(path)->size();
    });
    const double mb = double(bytes.size()) / (1024.0 * 1024.0);
    std::printf("%-16s %8.2f MB  write %8.3f ms %8.1f MB/s   read %8.3f ms %8.1f MB/s\n", label, mb,
                writeMs, mb / (writeMs / 1000.0), readMs, mb / (readMs / 1000.0));
    (void)total;
}

} // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    for (int pages : {10, 100, 1000}) {
        char label[32];
        std::snprintf(label, sizeof label, "%d pages", pages);
        measure(label, document(pages), repeats);
    }
    cfb::Writer big;
    big.addStream(QStringLiteral("Big"), noise(64 * 1024 * 1024, 9));
    measure("64 MB stream", big, std::max(1, repeats / 5));
    return 0;
}
