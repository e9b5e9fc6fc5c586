// Engine benchmark: a 1,000-page Word document is made, then
//  - loaded into the engine until its first page is painted (time, memory),
//  - laid out completely (time, page count),
//  - typed into in the middle: key event to finished repaint, per keystroke
//    (wall-clock time, and the CPU time this process spent, which other
//    programs on a busy machine do not inflate),
//  - opened as the page-view window opens it: page 1 painted and page 2
//    known, without counting every page,
//  - and, for comparison, loaded by LibreOffice's headless conversion.
// Prints its figures. Usage: bench_engine [pages [keys [nolo]]] (defaults
// 1000 pages, 60 keys; "nolo" skips LibreOffice).
#include "BenchArgs.h"
#include "Document.h"
#include "MemoryUse.h"
#include "MsDoc.h"
#include "QuickLayout.h"
#include "TxDocument.h"
#include "TxEngine.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// About twelve paragraphs of four lines per A4 page; a heading every 30
// paragraphs, some bold and coloured runs, a small table every 400.
model::Document bigDocument(int pages) {
    model::Document d;
    model::Section s;
    const QString jp =
        QString::fromUtf8("日本語の文章がここに続きます。文書データベースのページを編集します。");
    const QString en = QStringLiteral("Some English words between the Japanese text. ");
    model::CharFormat bold;
    bold.bold = true;
    bold.color = model::rgb(128, 0, 0);
    model::CharFormat heading;
    heading.halfPoints = 28;
    heading.bold = true;
    const int paragraphs = pages * 12;
    for (int i = 0; i < paragraphs; ++i) {
        model::Paragraph p;
        if (i % 30 == 0) {
            p.format.spaceBefore = 180;
            p.format.leftIndent = 160;
            p.addText(QStringLiteral("見出し %1").arg(i / 30 + 1), heading);
        } else {
            p.format.leftIndent = 60;
            p.addText(jp + en, {});
            p.addText(QStringLiteral("強調 %1 ").arg(i), bold);
            p.addText(jp + jp + en, {});
        }
        s.blocks.push_back(model::Block::makeParagraph(p));
        if (i % 400 == 399) {
            model::Table t;
            for (int r = 0; r < 3; ++r) {
                model::TableRow row;
                for (int c = 0; c < 3; ++c) {
                    model::TableCell cell;
                    cell.width = 3000;
                    model::Paragraph cp;
                    cp.addText(QStringLiteral("セル %1-%2").arg(r).arg(c), {});
                    cell.blocks.push_back(model::Block::makeParagraph(cp));
                    row.cells.push_back(cell);
                }
                t.rows.push_back(row);
            }
            s.blocks.push_back(model::Block::makeTable(t));
        }
    }
    d.sections.push_back(s);
    return d;
}

// CPU time of this process (all its threads) in milliseconds.
double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(p * v.size()))];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchArgs args(argc, argv);
    const int pages = args.number(0, 1000);
    QTemporaryDir dir;
    const QString file = dir.filePath("big.doc");
    {
        const QByteArray bytes = msdoc::write(bigDocument(pages));
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        std::printf("document: %d pages planned, %.1f MB Word file\n", pages, bytes.size() / 1e6);
    }
    const auto [rss0, peak0] = memoryMb();

    // Load and paint the first page (the editor shows page view and page 1).
    TxEngine engine;
    engine.resize(1000, 800);
    engine.SetViewMode(2);
    engine.show();
    if (!QTest::qWaitForWindowExposed(&engine))
        std::printf("(the window was not exposed: screen painting not measured)\n");
    QElapsedTimer t;
    t.start();
    if (!engine.LoadFile(file, TxEngine::FmtDoc)) {
        std::printf("load failed: %s\n", qPrintable(engine.LastError()));
        return 1;
    }
    const double loadMs = t.nsecsElapsed() / 1e6;
    engine.viewport()->repaint();
    const double firstPageMs = t.nsecsElapsed() / 1e6;
    QImage first(800, 1130, QImage::Format_RGB32);
    t.restart();
    engine.PaintPage(&first, 1, 100);
    const double paintMs = t.nsecsElapsed() / 1e6;
    const auto [rss1, peak1] = memoryMb();
    std::printf("load (Word bytes -> model -> engine): %.0f ms\n", loadMs);
    std::printf("to the first painted page on screen (page view): %.0f ms\n", firstPageMs);
    std::printf("painting page 1 onto an image: %.0f ms\n", paintMs);
    std::printf("memory: %.0f MB resident (+%.0f MB for the document), peak %.0f MB\n", rss1,
                rss1 - rss0, peak1);

    {
        // The page-view window on a document just loaded: page 1 and whether
        // there is a page 2, before any complete pagination.
        TxEngine window;
        window.SetViewMode(2);
        window.LoadFile(file, TxEngine::FmtDoc);
        QImage page(714, 1010, QImage::Format_RGB32);
        t.restart();
        window.PaintPage(&page, 1, 90);
        const bool second = window.HasPage(2);
        std::printf("page-view window on the loaded document: page 1 painted and page 2 %s in "
                    "%.0f ms\n",
                    second ? "found" : "missing", t.nsecsElapsed() / 1e6);
    }

    t.restart();
    const int count = engine.PageCount();
    std::printf("full layout: %.0f ms, %d pages\n", t.nsecsElapsed() / 1e6, count);

    // Typing in the middle: key event to the end of the repaint it causes,
    // in the normal view (the editor's default) and in the page view.
    const int keyCount = args.number(1, 60);
    for (int view : {0, 2}) {
        engine.SetViewMode(view);
        engine.SetSelStart(engine.Text().size() / 2);
        engine.ensureCursorVisible();
        QApplication::processEvents();
        engine.PageCount();
        // First with the whole window repainted after each key, then with
        // only what the key changed (the repaint the widget asks for).
        for (bool whole : {true, false}) {
            std::vector<double> keys, cpu, letters, returns;
            auto press = [&](auto key, std::vector<double>& kind) {
                t.restart();
                const double c0 = cpuMs();
                QTest::keyClick(engine.viewport(), key);
                if (whole)
                    engine.viewport()->repaint();
                else
                    QApplication::processEvents();
                keys.push_back(t.nsecsElapsed() / 1e6);
                cpu.push_back(cpuMs() - c0);
                kind.push_back(keys.back());
            };
            QApplication::processEvents();
            const quicklayout::Counts c0 = quicklayout::counts(engine.document2().body());
            for (int i = 0; i < keyCount; ++i)
                press(char('a' + i % 26), letters);
            for (int i = 0; i < 10; ++i)
                press(Qt::Key_Return, returns);
            const quicklayout::Counts c1 = quicklayout::counts(engine.document2().body());
            // What the quick layout left for when typing pauses.
            QElapsedTimer pause;
            pause.start();
            quicklayout::finish(engine.document2().body());
            const double finishMs = pause.nsecsElapsed() / 1e6;
            std::printf("keystroke to repaint%s in the middle, %s view: median %.2f ms, 95th "
                        "percentile %.2f ms, max %.2f ms (%zu keys); CPU time median %.2f ms, "
                        "95th percentile %.2f ms\n",
                        whole ? "" : " of the changed area", view ? "page" : "normal", median(keys),
                        percentile(keys, 0.95), *std::max_element(keys.begin(), keys.end()),
                        keys.size(), median(cpu), percentile(cpu, 0.95));
            std::printf("  letters: median %.2f ms, 95th percentile %.2f ms; Return (a new "
                        "paragraph, every later line moves): median %.2f ms, 95th percentile "
                        "%.2f ms; %d changes laid out one paragraph, %d placed the paragraphs "
                        "after them, %d went to Qt's layout\n",
                        median(letters), percentile(letters, 0.95), median(returns),
                        percentile(returns, 0.95), c1.quick - c0.quick, c1.moved - c0.moved,
                        c1.full - c0.full);
            std::printf("  Qt's layout of the rest: %d times while typing, then %.2f ms at the "
                        "pause\n",
                        c1.finished - c0.finished, finishMs);
        }
    }

    // The native format, used for undo snapshots.
    t.restart();
    const QByteArray snap = engine.SaveBytes(TxEngine::FmtNative);
    const double saveMs = t.nsecsElapsed() / 1e6;
    TxEngine other;
    t.restart();
    other.LoadBytes(snap, TxEngine::FmtNative);
    std::printf("native snapshot: save %.0f ms, load %.0f ms, %.1f MB\n", saveMs,
                t.nsecsElapsed() / 1e6, snap.size() / 1e6);

    // LibreOffice, loading the same file and converting it to text.
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (args.word(2) == QLatin1String("nolo"))
        return 0;
    if (soffice.isEmpty()) {
        std::printf("LibreOffice: not installed\n");
        return 0;
    }
    const QString profile = QUrl::fromLocalFile(dir.filePath("lo-profile")).toString();
    QProcess lo;
    t.restart();
    lo.start(soffice, {"-env:UserInstallation=" + profile, "--headless", "--convert-to", "txt",
                       "--outdir", dir.filePath("out"), file});
    lo.waitForFinished(600000);
    std::printf(
        "LibreOffice headless conversion of the same file (first run, with profile set-up): "
        "%.0f ms\n",
        t.nsecsElapsed() / 1e6);
    t.restart();
    lo.start(soffice, {"-env:UserInstallation=" + profile, "--headless", "--convert-to", "txt",
                       "--outdir", dir.filePath("out"), file});
    lo.waitForFinished(600000);
    std::printf("LibreOffice headless conversion, second run: %.0f ms\n", t.nsecsElapsed() / 1e6);
    return 0;
}
