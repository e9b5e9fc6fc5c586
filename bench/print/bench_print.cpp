// Page view and printing benchmark on a long document (default 1,000 pages):
//  - the page view opened on an editor in its normal view, until its first
//    page is painted (view switch, fit, page count, first page);
//  - paging to the last page and back;
//  - printing every page to a PDF file (time, file size, peak memory).
// Prints its figures. Usage: bench_print [pages]
#include "BenchArgs.h"
#include "ConsolePrompter.h"
#include "MemoryUse.h"
#include "TxEngine.h"
#include "Usr.h"
#include "sbTvw.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

// Answers the view and the print dialog without showing them.
class BenchPrompter : public ConsolePrompter {
public:
    std::function<void(QDialog&)> onView;
    QString pdf;
    bool exec(QDialog& d) override {
        if (onView)
            onView(d);
        return true;
    }
    bool printDialog(QDialog& d) override {
        auto* dlg = qobject_cast<QPrintDialog*>(&d);
        dlg->printer()->setOutputFormat(QPrinter::PdfFormat);
        dlg->printer()->setOutputFileName(pdf);
        return true;
    }
};

// About twelve paragraphs of four lines per A4 page, a heading line every
// thirty paragraphs.
QString longText(int pages) {
    const QString jp =
        QString::fromUtf8("日本語の文章がここに続きます。文書データベースのページを編集します。");
    const QString en = QStringLiteral("Some English words between the Japanese text. ");
    QString text;
    for (int i = 0; i < pages * 12; ++i) {
        if (i)
            text += QChar(10);
        text += i % 30 == 0 ? QStringLiteral("見出し %1").arg(i / 30 + 1)
                            : jp + en + QStringLiteral("強調 %1 ").arg(i) + jp + jp + en;
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchArgs args(argc, argv);
    const int pages = args.number(0, 1000);
    QTemporaryDir dir;
    Usr::sUsrFd = dir.path() + QStringLiteral("/");
    BenchPrompter prompter;
    Prompter::install(&prompter);

    QWidget main;
    main.setGeometry(0, 0, 1500, 950);
    TxEngine* tx = new TxEngine(&main);
    tx->setGeometry(0, 0, 1500, 950);
    main.show();
    if (!QTest::qWaitForWindowExposed(&main))
        std::printf("(the window was not exposed)\n");
    tx->SetText(longText(pages));
    tx->SetSelStart(0);
    std::printf("document: %d pages planned, %lld characters\n", pages,
                static_cast<long long>(tx->Text().size()));
    const auto [rss0, peak0] = memoryMb();

    // Where the view's time goes: the engine operations it runs, one by one.
    {
        QElapsedTimer step;
        step.start();
        tx->SetViewMode(TxEngine::ViewPage);
        const double modeMs = step.restart() / 1.0;
        tx->SetZoomFactor(57);
        const double zoomMs = step.restart() / 1.0;
        const int n = tx->PageCount();
        const double countMs = step.restart() / 1.0;
        QImage img(600, 850, QImage::Format_RGB32);
        QPainter p(&img);
        tx->PaintPage(p, 1, 0.57);
        const double firstMs = step.restart() / 1.0;
        tx->PaintPage(p, n, 0.57);
        const double lastMs = step.restart() / 1.0;
        tx->SetZoomFactor(100);
        tx->SetViewMode(TxEngine::ViewNormal);
        std::printf("engine steps: page view %.0f ms, zoom %.0f ms, page count %.0f ms, "
                    "page 1 %.0f ms, page %d %.0f ms, back %lld ms\n",
                    modeMs, zoomMs, countMs, firstMs, n, lastMs,
                    static_cast<long long>(step.elapsed()));
    }

    sbTvw view;
    QElapsedTimer t;
    double firstMs = 0, countMs = 0, pagingMs = 0;
    int count = 0;
    prompter.onView = [&](QDialog&) {
        view.RenderedPage();
        firstMs = t.nsecsElapsed() / 1e6;
        QElapsedTimer p;
        p.start();
        count = view.PageCnt();
        countMs = p.nsecsElapsed() / 1e6;
        p.restart();
        view.GoPage(3);
        view.RenderedPage();
        view.GoPage(0);
        view.RenderedPage();
        pagingMs = p.nsecsElapsed() / 1e6;
    };
    t.start();
    view.cAct(tx, {}, {});
    const double closeMs = t.nsecsElapsed() / 1e6 - firstMs - countMs - pagingMs;
    std::printf("page view, to its first page painted: %.0f ms\n", firstMs);
    std::printf("then counting the pages (after the first shows): %.0f ms, %d pages\n", countMs,
                count);
    std::printf("to the last page and back, both painted: %.0f ms\n", pagingMs);
    std::printf("closing the view (editor back to its normal view): %.0f ms\n", closeMs);
    const auto [rss1, peak1] = memoryMb();

    prompter.pdf = dir.filePath(QStringLiteral("all.pdf"));
    t.restart();
    const int jobs = view.cPrint(tx, false, {});
    const double printMs = t.nsecsElapsed() / 1e6;
    const auto [rss2, peak2] = memoryMb();
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {prompter.pdf});
    info.waitForFinished(60000);
    const QString pagesLine = QString::fromUtf8(info.readAllStandardOutput())
                                  .split(u'\n')
                                  .filter(QStringLiteral("Pages:"))
                                  .value(0)
                                  .simplified();
    std::printf("print of every page to PDF: %.0f ms, %d job(s), %.1f MB file, %s\n", printMs, jobs,
                QFileInfo(prompter.pdf).size() / 1e6, qPrintable(pagesLine));
    std::printf("memory: %.0f MB resident before the view, %.0f after it, %.0f after printing; "
                "peak %.0f MB before printing, %.0f MB after\n",
                rss0, rss1, rss2, peak1, peak2);
    Prompter::install(nullptr);
    return 0;
}
