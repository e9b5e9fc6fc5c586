// Reads and writes generated documents of 100 and 1,000 pages as .docx and
// .rtf in process (through the format registry), then converts the same
// files process to process with the program itself
// (`folium --headless --convert-to FMT`) beside LibreOffice's headless
// converter, in the same run: .docx -> .docx, .rtf -> .rtf and .doc -> .pdf.
// Every conversion is timed from process start to exit and its peak memory
// as /usr/bin/time reports it. LibreOffice runs once on a
// throw-away file first, so its figures are those of a warm profile rather
// than of a first start.
//
// Usage: bench_convert [--no-soffice] [PAGES...]
#include "BenchDocs.h"
#include "Converter.h"
#include "MsDoc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Run {
    double ms = -1;
    long peakKb = 0;
};

// Runs `program args` to its end under /usr/bin/time, which reports the
// child's own peak memory; -1 ms when it fails.
Run runProcess(const QString& program, const QStringList& args) {
    QTemporaryDir scratch;
    const QString report = scratch.filePath(QStringLiteral("rss"));
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("/usr/bin/time"),
            QStringList{QStringLiteral("-o"), report, QStringLiteral("-f"), QStringLiteral("%M"),
                        program} +
                args);
    Run r;
    if (!p.waitForFinished(900000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return r;
    r.ms = t.nsecsElapsed() / 1e6;
    QFile f(report);
    if (f.open(QIODevice::ReadOnly))
        r.peakKb = f.readAll().trimmed().split('\n').last().toLong();
    return r;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class Peers {
public:
    Peers(bool soffice, const QString& work) : soffice(soffice), work(work) {}

    Run folium(const QString& fmt, const QString& file) const {
        Run best;
        // The best of three starts: the first pays for the page cache.
        for (int i = 0; i < 3; ++i) {
            const Run r = runProcess(QStringLiteral(FOLIUM_BINARY),
                                     {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                                      fmt, QStringLiteral("--outdir"), outDir("folium"), file});
            if (r.ms >= 0 && (best.ms < 0 || r.ms < best.ms))
                best = r;
        }
        return best;
    }

    Run libreOffice(const QString& fmt, const QString& file) const {
        if (!soffice)
            return {};
        return runProcess(QStringLiteral("soffice"),
                          {QStringLiteral("-env:UserInstallation=file://") + profile.path(),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"), fmt,
                           QStringLiteral("--outdir"), outDir("lo"), file});
    }

private:
    QString outDir(const char* name) const {
        const QString d = QDir(work).filePath(QString::fromLatin1(name));
        QDir().mkpath(d);
        return d;
    }

    bool soffice;
    QString work;
    QTemporaryDir profile;
};

void printConversion(const char* what, int pages, const Run& ours, const Run& lo,
                     double inProcessMs) {
    std::printf("%5d p %-14s folium %9.1f ms %7.1f MB   LibreOffice %9.1f ms %7.1f MB   "
                "ratio %6.1fx",
                pages, what, ours.ms, ours.peakKb / 1024.0, lo.ms, lo.peakKb / 1024.0,
                lo.ms > 0 && ours.ms > 0 ? lo.ms / ours.ms : 0.0);
    if (inProcessMs >= 0)
        std::printf("   in process %8.1f ms (%.1fx)", inProcessMs,
                    lo.ms > 0 && inProcessMs > 0 ? lo.ms / inProcessMs : 0.0);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool soffice = !args.removeAll(QStringLiteral("--no-soffice"));
    QList<int> sizes;
    for (const QString& a : args)
        if (a.toInt() > 0)
            sizes << a.toInt();
    if (sizes.isEmpty())
        sizes = {100, 1000};

    QTemporaryDir dir;
    Peers peers(soffice, dir.path());
    const formats::Converter& registry = formats::Converter::instance();
    const int docx = registry.byName(QStringLiteral("docx"))->engineFormat;
    const int rtf = registry.byName(QStringLiteral("rtf"))->engineFormat;

    // Warm LibreOffice's profile on a one-line file.
    const QString warm = dir.filePath(QStringLiteral("warm.rtf"));
    writeFile(warm, "{\\rtf1 warm\\par}");
    peers.libreOffice(QStringLiteral("docx:MS Word 2007 XML"), warm);

    std::printf("%5s   %-14s %10s %10s %8s %10s %8s\n", "pages", "format", "bytes", "write ms",
                "MB/s", "read ms", "MB/s");
    for (int pages : sizes) {
        const model::Document d = bench::generate(pages, pages / 2, pages / 2, pages * 5);
        const int repeat = pages >= 1000 ? 3 : 10;
        struct Job {
            const char* name;
            int format;
            QString loFilter;
        };
        const Job jobs[] = {{"docx", docx, QStringLiteral("docx:MS Word 2007 XML")},
                            {"rtf", rtf, QStringLiteral("rtf")}};
        for (const Job& job : jobs) {
            QByteArray bytes;
            const double w =
                bench::bestMs(repeat, [&] { bytes = registry.save(d, job.format).value(); });
            const double r = bench::bestMs(repeat, [&] { (void)registry.load(bytes, job.format); });
            std::printf("%5d   %-14s %10lld %10.1f %8.1f %10.1f %8.1f\n", pages, job.name,
                        qlonglong(bytes.size()), w, bench::mbps(bytes.size(), w), r,
                        bench::mbps(bytes.size(), r));
            const QString file = dir.filePath(QStringLiteral("doc%1.%2").arg(pages).arg(job.name));
            writeFile(file, bytes);
            const double inProcess = bench::bestMs(repeat, [&] {
                (void)registry.save(registry.load(bytes, job.format).value(), job.format);
            });
            const Run ours = peers.folium(QString::fromLatin1(job.name), file);
            const Run lo = peers.libreOffice(job.loFilter, file);
            printConversion(qPrintable(QStringLiteral("%1->%1").arg(job.name)), pages, ours, lo,
                            inProcess);
        }
        // PDF: from the Word 97-2003 file, laid out and painted page by page.
        const QString doc = dir.filePath(QStringLiteral("doc%1.doc").arg(pages));
        writeFile(doc, msdoc::write(d));
        const Run ours = peers.folium(QStringLiteral("pdf"), doc);
        const Run lo = peers.libreOffice(QStringLiteral("pdf"), doc);
        printConversion("doc->pdf", pages, ours, lo, -1);
    }
    return 0;
}
