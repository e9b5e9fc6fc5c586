// Reads and writes generated .docx documents of 100 and 1,000 pages and
// prints milliseconds and MB/s (in process), then converts the same files
// .docx -> .docx process to process: this program started once per file as
// a converter, against LibreOffice's headless conversion, in the same run.
//
// Usage: bench_docx [--no-soffice]
//        bench_docx --convert IN OUT   (reads IN as .docx, writes OUT)
#include "BenchDocs.h"
#include "Docx.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

int convert(const QString& in, const QString& out) {
    QFile f(in);
    if (!f.open(QIODevice::ReadOnly))
        return 2;
    QString error;
    const auto doc = docx::read(f.readAll(), &error);
    if (!doc)
        return 1;
    const auto bytes = docx::write(*doc, &error);
    QFile o(out);
    if (!bytes || !o.open(QIODevice::WriteOnly) || o.write(*bytes) != bytes->size())
        return 1;
    return 0;
}

// Milliseconds one process needs for `program args`; -1 when it fails.
double processMs(const QString& program, const QStringList& args) {
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return -1;
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--convert"))
        return convert(args[2], args[3]);
    const bool soffice = !args.contains(QStringLiteral("--no-soffice"));
    QTemporaryDir dir;
    std::printf("%-12s %10s %10s %8s %10s %8s\n", "pages", "bytes", "write ms", "MB/s", "read ms",
                "MB/s");
    for (int pages : {100, 1000}) {
        const model::Document d = bench::generate(pages, pages / 2, pages / 2, pages * 5);
        QByteArray bytes;
        const int repeat = pages >= 1000 ? 3 : 10;
        const double w = bench::bestMs(repeat, [&] { bytes = *docx::write(d); });
        const double r = bench::bestMs(repeat, [&] { (void)docx::read(bytes); });
        std::printf("%-12d %10lld %10.1f %8.1f %10.1f %8.1f\n", pages, qlonglong(bytes.size()), w,
                    bench::mbps(bytes.size(), w), r, bench::mbps(bytes.size(), r));
        const QString file = dir.filePath(QStringLiteral("doc%1.docx").arg(pages));
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        f.close();
        // Process to process: the best of three starts of our converter,
        // one of LibreOffice's (its own fresh profile, as a user's first run).
        double ours = 1e12;
        for (int i = 0; i < 3; ++i)
            ours = std::min(ours, processMs(app.applicationFilePath(),
                                            {QStringLiteral("--convert"), file,
                                             dir.filePath(QStringLiteral("ours.docx"))}));
        double lo = -1;
        if (soffice) {
            QTemporaryDir profile;
            lo = processMs(QStringLiteral("soffice"),
                           {QStringLiteral("-env:UserInstallation=file://") + profile.path(),
                            QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                            QStringLiteral("docx:MS Word 2007 XML"), QStringLiteral("--outdir"),
                            dir.filePath(QStringLiteral("lo")), file});
        }
        std::printf("%-12s ours %8.1f ms   LibreOffice %9.1f ms   ratio %6.1fx\n",
                    qPrintable(QStringLiteral("%1 p .docx->.docx").arg(pages)), ours, lo,
                    lo > 0 && ours > 0 ? lo / ours : 0.0);
        // In process: read and write the same file.
        const double inProcess =
            bench::bestMs(repeat, [&] { (void)docx::write(*docx::read(bytes)); });
        std::printf("%-12s in process %8.1f ms (LibreOffice process to process / this: %.1fx)\n",
                    "", inProcess, lo > 0 ? lo / inProcess : 0.0);
    }
    return 0;
}
