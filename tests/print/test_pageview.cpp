// The page view window: placement, fit, zoom, paging and its keys, the
// background image, printing from the view, and the editor's commands.
#include "PrintFixture.h"
#include "sbTvw.h"
#include "uFky.h"
#include "uFkyStrip.h"
#include "uTxm.h"
#include "yIni.h"

#include <QAction>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>

namespace {

// Runs the view on `tx` and calls `check` while it is shown.
void inView(ScriptedPrompter& prompter, TxEngine* tx, const std::function<void(sbTvw&)>& check,
            const QString& image = {}) {
    sbTvw view;
    bool shown = false;
    prompter.answerDialog([&](QDialog& d) {
        shown = true;
        EXPECT_EQ(d.windowTitle(), QStringLiteral("ﾍﾟｰｼﾞﾋﾞｭｰ"));
        check(static_cast<sbTvw&>(d));
        return true;
    });
    view.cAct(tx, image, {});
    EXPECT_TRUE(shown);
}

} // namespace

TEST_F(PrintTest, TheViewSitsInTheMainWindowWithThePageFittedAndShadowed) {
    makePages(2);
    tx->SetZoomFactor(120);
    inView(*prompter, tx, [&](sbTvw& v) {
        const QRect m = mainWindow->frameGeometry();
        EXPECT_NEAR(v.width(), m.width() * 13 / 15, 2);
        EXPECT_NEAR(v.height(), m.height() * 13 / 15, 2);
        EXPECT_NEAR(v.x(), m.left() + m.width() / 15, 2);
        EXPECT_NEAR(v.y(), m.top() + m.height() / 15, 2);
        // The page fills 90 % of the limiting side, centred, in proportion.
        const QWidget* area = v.findChild<QWidget*>(QStringLiteral("area"));
        ASSERT_TRUE(area);
        const QSize inner = area->size();
        const QRect r = v.PageRect();
        const bool byHeight = r.height() >= inner.height() * 0.9 - 1;
        const bool byWidth = r.width() >= inner.width() * 0.9 - 1;
        EXPECT_TRUE(byHeight || byWidth);
        EXPECT_LE(r.height(), inner.height() * 0.9 + 1);
        EXPECT_LE(r.width(), inner.width() * 0.9 + 1);
        EXPECT_NEAR(double(r.width()) / r.height(), 11906.0 / 16838.0, 0.01);
        EXPECT_NEAR(r.center().x(), inner.width() / 2, 2);
        EXPECT_NEAR(r.center().y(), inner.height() / 2, 2);
        const int fit = int(std::lround(100.0 * r.height() / (16838 / 15.0)));
        EXPECT_NEAR(v.FitZoom(), fit, 1);
        // The pages are laid out as they print.
        EXPECT_EQ(tx->ZoomFactor(), 100);
        EXPECT_EQ(tx->ViewMode(), 2);
        // Two strips: right of the page from near its top, under it from near its left.
        QList<QWidget*> strips;
        for (QWidget* w : v.findChildren<QWidget*>(QStringLiteral("Shape1")))
            strips << w;
        ASSERT_EQ(strips.size(), 2);
        EXPECT_TRUE(strips[0]->isVisibleTo(&v));
        EXPECT_TRUE(strips[1]->isVisibleTo(&v));
        // Dark against the grey area around the page.
        const QImage shadow = strips[0]->grab().toImage();
        EXPECT_LT(qGray(shadow.pixel(shadow.width() / 2, shadow.height() / 2)), 60);
        const QImage around = v.findChild<QWidget*>(QStringLiteral("area"))->grab().toImage();
        EXPECT_GT(qGray(around.pixel(2, 2)), 60);
        const QRect right = strips[0]->geometry();
        const QRect below = strips[1]->geometry();
        EXPECT_EQ(right.left(), r.right() + 1);
        EXPECT_GT(right.top(), r.top());
        EXPECT_GE(right.bottom(), r.bottom());
        EXPECT_EQ(below.top(), r.bottom() + 1);
        EXPECT_GT(below.left(), r.left());
        EXPECT_GE(below.right(), r.right());
        // The page shows its text.
        EXPECT_GT(ink(v.RenderedPage()), 0.001);
    });
    // Closed: the editor's own view and zoom again.
    EXPECT_EQ(tx->ViewMode(), 0);
    EXPECT_EQ(tx->ZoomFactor(), 120);
}

TEST_F(PrintTest, ZoomLevelsScaleTheFittedPageAndTheWholePageReturns) {
    makePages(1);
    inView(*prompter, tx, [&](sbTvw& v) {
        const QSize fit = v.FitRect().size();
        v.ZoomItem(4)->trigger(); // 200 %
        EXPECT_EQ(v.ZoomLevel(), 200);
        EXPECT_NEAR(v.PageRect().width(), fit.width() * 200.0 / v.FitZoom(), 1);
        EXPECT_NEAR(v.PageRect().height(), fit.height() * 200.0 / v.FitZoom(), 1);
        v.ZoomItem(0)->trigger(); // 50 %
        EXPECT_NEAR(v.PageRect().width(), fit.width() * 50.0 / v.FitZoom(), 1);
        v.ZoomItem(7)->trigger(); // the whole page
        EXPECT_EQ(v.PageRect().size(), fit);
        EXPECT_EQ(v.ZoomLevel(), v.FitZoom());
        // Zooming scales the picture; the pages stay laid out as they print.
        EXPECT_EQ(tx->ZoomFactor(), 100);
    });
}

TEST_F(PrintTest, PagingMenuAndKeysFollowThePage) {
    makePages(3);
    inView(*prompter, tx, [&](sbTvw& v) {
        EXPECT_EQ(v.PageCnt(), 3);
        EXPECT_EQ(v.CurPage(), 1);
        uFkyStrip* keys = v.Keys()->Keys();
        // First page: no previous page.
        EXPECT_TRUE(v.PageItem(0)->isEnabled());
        EXPECT_FALSE(v.PageItem(1)->isEnabled());
        EXPECT_TRUE(v.PageItem(2)->isEnabled());
        EXPECT_TRUE(v.PageItem(3)->isEnabled());
        EXPECT_FALSE(keys->KeyEnabled(QStringLiteral("F6")));
        EXPECT_TRUE(keys->KeyEnabled(QStringLiteral("F7")));
        const QImage first = v.RenderedPage();
        // The key "次" goes to page 2, which shows something else.
        QString none;
        v.fnMenu(10, 2, none);
        EXPECT_EQ(v.CurPage(), 2);
        EXPECT_NE(v.RenderedPage(), first);
        EXPECT_TRUE(v.PageItem(1)->isEnabled());
        EXPECT_TRUE(v.PageItem(2)->isEnabled());
        // Last page: no next or last, and a disabled item does nothing.
        v.PageItem(3)->trigger();
        EXPECT_EQ(v.CurPage(), 3);
        EXPECT_FALSE(v.PageItem(2)->isEnabled());
        EXPECT_FALSE(v.PageItem(3)->isEnabled());
        EXPECT_TRUE(v.PageItem(1)->isEnabled());
        EXPECT_FALSE(keys->KeyEnabled(QStringLiteral("F7")));
        EXPECT_FALSE(keys->KeyEnabled(QStringLiteral("F8")));
        v.GoPage(2);
        EXPECT_EQ(v.CurPage(), 3);
        v.PageItem(0)->trigger();
        EXPECT_EQ(v.CurPage(), 1);
        EXPECT_EQ(v.RenderedPage(), first);
    });
}

TEST_F(PrintTest, TheBackgroundImageShowsUnderThePage) {
    makePages(1);
    const QString image = dir + QStringLiteral("/sheet.png");
    QImage red(200, 280, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    ASSERT_TRUE(red.save(image));
    inView(
        *prompter, tx,
        [&](sbTvw& v) {
            ASSERT_TRUE(v.HasImage());
            const QImage shown = v.RenderedPage().convertToFormat(QImage::Format_RGB32);
            // Blank parts of the page are the image; the text stays dark.
            EXPECT_EQ(QColor(shown.pixel(3, 3)), QColor(255, 0, 0));
            bool dark = false;
            for (int y = 0; y < shown.height() && !dark; ++y)
                for (int x = 0; x < shown.width() && !dark; ++x)
                    dark = qRed(shown.pixel(x, y)) < 80;
            EXPECT_TRUE(dark);
        },
        image);
    // A file that is no image shows the page alone.
    inView(
        *prompter, tx, [&](sbTvw& v) { EXPECT_FALSE(v.HasImage()); },
        dir + QStringLiteral("/missing.png"));
}

TEST_F(PrintTest, TheViewShowsThePagesThatPrintAndKeepsItsZoomAfterPrinting) {
    makeFlow(600);
    // An editor zoomed out lays its text out at another size, which breaks
    // it into other pages; the view and the print follow the printed size.
    // (This document has 25 pages at 100 % and 28 at 57 %.)
    const int printedPages = tx->PageCount();
    tx->SetZoomFactor(57);
    const QString pdf = dir + QStringLiteral("/view.pdf");
    inView(*prompter, tx, [&](sbTvw& v) {
        EXPECT_EQ(v.PageCnt(), printedPages);
        v.GoPage(3);
        EXPECT_EQ(v.CurPage(), printedPages);
        v.ZoomItem(7)->trigger();
        const int fit = v.FitZoom();
        ASSERT_NE(fit, 100);
        prompter->answerPrintDialog([&](QDialog& d) {
            auto* dlg = qobject_cast<QPrintDialog*>(&d);
            dlg->printer()->setOutputFormat(QPrinter::PdfFormat);
            dlg->printer()->setOutputFileName(pdf);
            return true;
        });
        v.FileItem(0)->trigger();
        EXPECT_EQ(pdfPages(pdf), printedPages);
        // The view keeps its fitted zoom and its page, and shows it again.
        EXPECT_EQ(v.ZoomLevel(), fit);
        EXPECT_EQ(v.PageRect().size(), v.FitRect().size());
        EXPECT_EQ(v.CurPage(), printedPages);
        EXPECT_GT(ink(v.RenderedPage()), 0.001);
        EXPECT_EQ(tx->ViewMode(), 2);
    });
    EXPECT_EQ(tx->ZoomFactor(), 57);
}

TEST_F(PrintTest, TheEditorsCommandsOpenTheViewAndThePrintDialogs) {
    yIni& ini = settings();
    ini.sXml = yIni::MakeTag(0, QString::fromUtf16(kIniRoot), QStringLiteral("\r\n"));
    uTxm ed;
    ed.resize(900, 600);
    ed.show();
    ed.cOn(0, 1);
    ed.SetText(QStringLiteral("本文"));
    prompter->answerDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("ﾍﾟｰｼﾞﾋﾞｭｰ"));
        return true;
    });
    ed.rtAct(7);
    QStringList titles;
    for (int i = 0; i < 2; ++i)
        prompter->answerPrintDialog([&](QDialog& d) {
            titles << d.windowTitle();
            return false;
        });
    ed.rtAct(6);
    ed.rtAct(69);
    EXPECT_EQ(titles, (QStringList{QStringLiteral("印刷"), QStringLiteral("ﾌﾟﾘﾝﾀの設定")}));
    EXPECT_FALSE(QFile::exists(sbTvw::DefaultFile()));
    ed.SetDcEdt(false);
    ed.cOff();
}
