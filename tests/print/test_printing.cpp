// Printing to PDF files through the print dialog and the stored settings.
#include "PrintFixture.h"
#include "PrnRecord.h"
#include "sbTvw.h"

#include <QFile>
#include <QPrintDialog>
#include <QPrinter>

namespace {

// A print dialog answer that prints `copies` copies to `pdf`.
std::function<bool(QDialog&)> printTo(const QString& pdf, int copies, QString* title = nullptr) {
    return [=](QDialog& d) {
        auto* dlg = qobject_cast<QPrintDialog*>(&d);
        if (!dlg)
            return false;
        if (title)
            *title = d.windowTitle();
        dlg->printer()->setOutputFormat(QPrinter::PdfFormat);
        dlg->printer()->setOutputFileName(pdf);
        dlg->printer()->setCopyCount(copies);
        // Qt's dialog gives a file printer its own default paper.
        dlg->printer()->setPageSize(QPageSize(QPageSize::Letter));
        return true;
    };
}

} // namespace

TEST_F(PrintTest, TwoCopiesAreTwoJobsOfEveryPageWithNoBlankSheet) {
    makePages(3);
    const QString pdf = dir + QStringLiteral("/out.pdf");
    QString title;
    prompter->answerPrintDialog(printTo(pdf, 2, &title));
    sbTvw view;
    // No settings file: the dialog asks, even for a direct print.
    EXPECT_EQ(view.cPrint(tx, true, {}), 2);
    EXPECT_EQ(title, QStringLiteral("印刷"));
    const QString second = dir + QStringLiteral("/out (2).pdf");
    for (const QString& file : {pdf, second}) {
        ASSERT_EQ(pdfPages(file), 3) << file.toStdString();
        for (int page = 1; page <= 3; ++page)
            EXPECT_GT(ink(pdfPage(file, page, 30)), 0.001) << "blank sheet " << page;
    }
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/out (3).pdf")));
    // On the page's own paper (A4 at 30 dpi: 248 x 351).
    const QImage sheet = pdfPage(pdf, 1, 30);
    EXPECT_NEAR(sheet.width(), 248, 2);
    EXPECT_NEAR(sheet.height(), 351, 2);
    // The print dialog does not store its choice; the editor keeps its view.
    EXPECT_FALSE(QFile::exists(sbTvw::DefaultFile()));
    EXPECT_EQ(tx->ViewMode(), 0);
}

TEST_F(PrintTest, EachPrintedPageIsThePaintersPage) {
    makePages(3);
    const QString pdf = dir + QStringLiteral("/stored.pdf");
    storePdfSettings(sbTvw::DefaultFile(), pdf);
    // The editor shows its paragraph marks; the sheets do not.
    tx->SetShowCtrlChars(true);
    sbTvw view;
    // Settings stored: printed at once, no dialog (an unscripted one fails).
    ASSERT_EQ(view.cPrint(tx, true, {}), 1);
    ASSERT_EQ(pdfPages(pdf), 3);
    EXPECT_TRUE(tx->ShowCtrlChars());
    // The reference is the page as the page view paints it, without marks.
    tx->SetShowCtrlChars(false);
    tx->SetViewMode(TxEngine::ViewPage);
    constexpr int dpi = 50;
    for (int page = 1; page <= 3; ++page) {
        const QImage printed = pdfPage(pdf, page, dpi);
        const QImage painted = enginePage(page, dpi);
        ASSERT_FALSE(printed.isNull());
        EXPECT_LT(differing(printed, painted, 48), 0.002) << "page " << page;
        // The comparison tells pages apart: a sheet shifted by one page fails.
        if (page < 3) {
            EXPECT_GT(differing(printed, enginePage(page + 1, dpi), 48), 0.005);
        }
    }
}

TEST_F(PrintTest, AStoredFileThatIsNoRecordAsksInsteadOfPrinting) {
    makePages(2);
    const QByteArray good = [&] {
        PrnRecord r;
        r.outputFile = dir + QStringLiteral("/never.pdf");
        return r.toBytes();
    }();
    QByteArray damaged = good;
    damaged[200] = 'x';
    QByteArray foreign = good;
    foreign[136] = 9;
    const QList<QByteArray> files = {good.left(100), damaged, foreign, QByteArray(146, 'A')};
    for (const QByteArray& bytes : files) {
        TestEnv::writeFile(sbTvw::DefaultFile(), bytes);
        prompter->answerPrintDialog([](QDialog&) { return false; });
        sbTvw view;
        EXPECT_EQ(view.cPrint(tx, true, {}), 0);
        ASSERT_FALSE(prompter->calls.isEmpty());
        EXPECT_EQ(prompter->calls.last().kind, QStringLiteral("printDialog"));
        prompter->calls.clear();
    }
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/never.pdf")));
}

TEST_F(PrintTest, ALandscapePagePrintsOnALandscapeSheetOfItsPaper) {
    tx->SetPageWidth(16838);
    tx->SetPageHeight(11906);
    makePages(1);
    const QString pdf = dir + QStringLiteral("/wide.pdf");
    // The stored settings say portrait A5: the page decides.
    PrnRecord rec;
    rec.outputFile = pdf;
    rec.mask = PrnRecord::MPaperSize | PrnRecord::MOrientation;
    rec.paperSize = 11;
    rec.orientation = 1;
    const QString file = dir + QStringLiteral("/mine.prndt");
    ASSERT_TRUE(rec.save(file));
    sbTvw view;
    ASSERT_EQ(view.cPrint(tx, true, file), 1);
    const QImage sheet = pdfPage(pdf, 1, 20);
    // A4 landscape at 20 dpi: 234 x 165.
    EXPECT_NEAR(sheet.width(), 234, 2);
    EXPECT_NEAR(sheet.height(), 165, 2);
}

TEST_F(PrintTest, SetupStoresThePrinterAndMakesTheFirstFileTheDefault) {
    makePages(1);
    const QString mine = dir + QStringLiteral("/mine.prndt");
    const QString pdf = dir + QStringLiteral("/setup.pdf");
    QString title;
    prompter->answerPrintDialog(printTo(pdf, 1, &title));
    sbTvw view;
    ASSERT_TRUE(view.cSetPrn(tx, mine));
    EXPECT_EQ(title, QStringLiteral("ﾌﾟﾘﾝﾀの設定"));
    PrnRecord rec;
    ASSERT_TRUE(PrnRecord::load(mine, &rec));
    EXPECT_EQ(rec.outputFile, pdf);
    EXPECT_EQ(rec.paperSize, 9);
    EXPECT_EQ(TestEnv::readFile(sbTvw::DefaultFile()), TestEnv::readFile(mine));
    // Setup printed nothing; the next direct print uses the stored choice.
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(view.cPrint(tx, true, mine), 1);
    EXPECT_EQ(pdfPages(pdf), 1);

    // A later setup elsewhere leaves the default as it is; a cancelled one
    // leaves its file as it is.
    const QByteArray def = TestEnv::readFile(sbTvw::DefaultFile());
    const QString other = dir + QStringLiteral("/other.prndt");
    prompter->answerPrintDialog(printTo(dir + QStringLiteral("/else.pdf"), 1));
    ASSERT_TRUE(view.cSetPrn(tx, other));
    EXPECT_EQ(TestEnv::readFile(sbTvw::DefaultFile()), def);
    const QByteArray kept = TestEnv::readFile(other);
    prompter->answerPrintDialog([](QDialog&) { return false; });
    EXPECT_FALSE(view.cSetPrn(tx, other));
    EXPECT_EQ(TestEnv::readFile(other), kept);
}

TEST_F(PrintTest, SettingsFileChoice) {
    const QString missing = dir + QStringLiteral("/missing.prndt");
    const QString there = dir + QStringLiteral("/there.prndt");
    TestEnv::writeFile(there, "x");
    EXPECT_EQ(sbTvw::FileInUse({}), Usr::sUsrFd + QStringLiteral("Page.prndt"));
    EXPECT_EQ(sbTvw::FileInUse(missing), sbTvw::DefaultFile());
    EXPECT_EQ(sbTvw::FileInUse(there), there);
    EXPECT_EQ(sbTvw::FileForSetup(missing), missing);
    EXPECT_EQ(sbTvw::FileForSetup({}), sbTvw::DefaultFile());
}
