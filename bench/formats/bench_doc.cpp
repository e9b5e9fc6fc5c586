// Reads and writes generated Word 97-2003 documents of 10, 100 and 1,000
// pages (Japanese and Latin text, a formatting change every ~40 characters)
// and prints milliseconds and MB/s; then times LibreOffice's headless
// conversion of the 100-page document to .doc against our own converter on
// the same file, and does the same for a 100-page document with 50 tables,
// 50 pictures and 500 links. Last, the peak memory of reading one file, each
// in a process of its own: the 1,000-page document, crafted hostile files
// and the largest files given on the command line; reading N bytes must
// peak under 64 MB + 20 x N.
//
// Usage: bench_doc [--no-soffice] [FILE...]
//        bench_doc --read-one FILE      (prints the peak of reading FILE)
//        bench_doc --write-hostile DIR  (writes the crafted files into DIR)
#include "BenchDocs.h"
#include "Document.h"
#include "HostileDocs.h"
#include "MsDoc.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

using namespace model;
using bench::bestMs;
using bench::generate;
using bench::mbps;

namespace {

// Seconds LibreOffice needs to convert `file` to .doc (its own profile).
double sofficeMs(const QString& file, const QString& outDir) {
    QTemporaryDir profile;
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("soffice"),
            {QStringLiteral("-env:UserInstallation=file://") + profile.path(),
             QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("doc"),
             QStringLiteral("--outdir"), outDir, file});
    if (!p.waitForFinished(300000) || p.exitCode() != 0)
        return -1;
    return t.nsecsElapsed() / 1e6;
}

void compareWithSoffice(const QString& label, const Document& d, const QTemporaryDir& dir) {
    const QString file = dir.filePath(label + QStringLiteral(".doc"));
    QFile f(file);
    f.open(QIODevice::WriteOnly);
    f.write(msdoc::write(d));
    f.close();
    const QByteArray bytes = msdoc::write(d);
    // Our converter's work on the same file: read it, write it.
    const double ours = bestMs(5, [&] { (void)msdoc::write(*msdoc::read(bytes)); });
    const double lo = sofficeMs(file, dir.filePath(QStringLiteral("lo")));
    std::printf("%-34s ours %8.1f ms   LibreOffice %8.1f ms   ratio %6.1fx\n",
                qPrintable(label + QStringLiteral(" .doc -> .doc")), ours, lo,
                lo > 0 && ours > 0 ? lo / ours : 0.0);
}

// The process's peak resident memory in KB (VmHWM).
qint64 peakKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

qint64 boundKb(qint64 bytes) {
    return 64 * 1024 + 20 * bytes / 1024;
}

// Reads one file in this process and prints its size, outcome and peak.
int readOne(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 2;
    const QByteArray bytes = f.readAll();
    f.close();
    QString error;
    const bool ok = msdoc::read(bytes, &error).has_value();
    std::printf("%lld %lld %s\n", qlonglong(bytes.size()), qlonglong(peakKb()),
                ok ? "read" : qPrintable(QStringLiteral("refused: ") + error));
    return 0;
}

std::vector<std::pair<QString, QByteArray>> hostileFiles() {
    std::vector<std::pair<QString, QByteArray>> out{
        {QStringLiteral("repeated-picture.doc"), hostile::repeatedPicture()},
        {QStringLiteral("field-flood.doc"),
         hostile::flood(QByteArray(2000, '\x13') + QByteArray(2000, '\r'), 4 << 20)},
        {QStringLiteral("short-paragraphs.doc"), hostile::flood("abc\r", 4 << 20)}};
    // Paragraph marks only: the budget runs out at different points.
    for (int kb : {16, 32, 64, 256, 1024, 4096})
        out.emplace_back(QStringLiteral("paragraph-flood-%1k.doc").arg(kb),
                         hostile::flood("\r", kb << 10));
    return out;
}

void writeHostile(const QString& dir) {
    for (const auto& [name, bytes] : hostileFiles()) {
        QFile f(dir + u'/' + name);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
}

// Peak memory of reading each file, each in a child process.
void peakMemory(const QStringList& files) {
    std::printf("\n%-34s %10s %10s %10s  %s\n", "peak memory of one read", "bytes", "peak KB",
                "bound KB", "outcome");
    for (const QString& file : files) {
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--read-one"), file});
        if (!p.waitForFinished(600000) || p.exitCode() != 0) {
            std::printf("%-34s could not be read\n", qPrintable(QFileInfo(file).fileName()));
            continue;
        }
        const QString out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        const qint64 bytes = out.section(u' ', 0, 0).toLongLong();
        const qint64 peak = out.section(u' ', 1, 1).toLongLong();
        std::printf(
            "%-34s %10lld %10lld %10lld  %s%s\n", qPrintable(QFileInfo(file).fileName()),
            qlonglong(bytes), qlonglong(peak), qlonglong(boundKb(bytes)),
            peak < boundKb(bytes) ? "" : "OVER THE BOUND: ", qPrintable(out.section(u' ', 2)));
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--read-one"))
        return readOne(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("--write-hostile")) {
        writeHostile(args[2]);
        return 0;
    }
    const bool withSoffice = !args.contains(QStringLiteral("--no-soffice"));
    std::printf("%-10s %10s %10s %10s %10s %10s\n", "pages", "bytes", "write ms", "write MB/s",
                "read ms", "read MB/s");
    for (int pages : {10, 100, 300, 1000}) {
        const Document d = generate(pages);
        QByteArray bytes;
        const int repeat = pages >= 1000 ? 3 : 10;
        const double w = bestMs(repeat, [&] { bytes = msdoc::write(d); });
        const double r = bestMs(repeat, [&] { (void)msdoc::read(bytes); });
        std::printf("%-10d %10lld %10.1f %10.1f %10.1f %10.1f\n", pages, qlonglong(bytes.size()), w,
                    mbps(bytes.size(), w), r, mbps(bytes.size(), r));
    }
    const Document rich = generate(100, 50, 50, 500);
    QByteArray richBytes;
    const double rw = bestMs(5, [&] { richBytes = msdoc::write(rich); });
    const double rr = bestMs(5, [&] { (void)msdoc::read(richBytes); });
    std::printf("%-10s %10lld %10.1f %10.1f %10.1f %10.1f   (50 tables, 50 pictures, 500 links)\n",
                "100 rich", qlonglong(richBytes.size()), rw, mbps(richBytes.size(), rw), rr,
                mbps(richBytes.size(), rr));
    if (withSoffice) {
        QTemporaryDir dir;
        compareWithSoffice(QStringLiteral("100 pages"), generate(100), dir);
        compareWithSoffice(QStringLiteral("100 pages rich"), rich, dir);
    }
    QTemporaryDir memDir;
    QStringList files;
    {
        QFile f(memDir.filePath(QStringLiteral("1000-pages.doc")));
        f.open(QIODevice::WriteOnly);
        f.write(msdoc::write(generate(1000)));
        files << f.fileName();
    }
    writeHostile(memDir.path());
    for (const auto& [name, bytes] : hostileFiles())
        files << memDir.filePath(name);
    for (const QString& a : args.mid(1))
        if (!a.startsWith(QLatin1String("--")))
            files << a;
    peakMemory(files);
    return 0;
}
