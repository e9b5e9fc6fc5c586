#include "Metafiles.h"
#include "Pictures.h"
#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "Usr.h"
#include "sbWmf.h"
#include "sbWmfLayout.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace sbWmfLayout;

TEST(PictureSizeLayout, ShrinkToTheTextWidth) {
    EXPECT_EQ(Percent(0.4), QStringLiteral("40.0%"));
    EXPECT_EQ(Percent(1.0 / 3), QStringLiteral("33.3%"));
    EXPECT_EQ(Percent(0.004), QStringLiteral(".4%"));
    EXPECT_EQ(Percent(0.9996), QStringLiteral("100.0%"));

    // 2.5 times the text width.
    const Fit wide = FitWidth(QSize(7200, 1800), 2880);
    EXPECT_TRUE(wide.shrunk);
    EXPECT_EQ(wide.message,
              QStringLiteral("元の画像の巾が現在の文書の巾より大きいので、40.0%縮小されます"));
    EXPECT_EQ(wide.size, QSize(2880, 720));
    // No limit, and a narrower picture: natural size, no message.
    for (int limit : {0, -5, 9000}) {
        const Fit f = FitWidth(QSize(7200, 1800), limit);
        EXPECT_FALSE(f.shrunk) << limit;
        EXPECT_EQ(f.size, QSize(7200, 1800)) << limit;
        EXPECT_TRUE(f.message.isEmpty()) << limit;
    }
    // A sliver keeps at least a pixel of height.
    EXPECT_EQ(FitWidth(QSize(100000, 20), 1000).size, QSize(1000, kMinSide));
}

TEST(PictureSizeLayout, TheWindowStaysInsideTheMainWindowAndTheWorkArea) {
    const QRect work(0, 0, 24000, 15000);
    const QRect main(1500, 1500, 15000, 12000); // right 16500, bottom 13500
    const QSize pic(3000, 1500);
    // Centred on the mouse, the picture size plus the window's extras.
    EXPECT_EQ(Place(pic, QPoint(6000, 6000), main, work), QRect(4500, 5250, 3500, 2420));
    // Near the main window's bottom right corner: moved back inside.
    EXPECT_EQ(Place(pic, QPoint(16400, 13400), main, work),
              QRect(16500 - 3500, 13500 - 2420, 3500, 2420));
    // Off the screen's top left (a mouse far away): inside the work area.
    EXPECT_EQ(Place(pic, QPoint(-90000, -90000), main, work).topLeft(), QPoint(0, 0));
    // Larger than the work area, or a main window partly off screen: never
    // outside it, never of negative size.
    const QRect offMain(-30000, -30000, 20000, 20000);
    for (const QRect& r : {Place(QSize(90000, 60000), QPoint(5000, 5000), main, work),
                           Place(pic, QPoint(100, 100), offMain, work),
                           Place(QSize(-500, -900), QPoint(100, 100), main, work)}) {
        EXPECT_TRUE(work.contains(r))
            << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
        EXPECT_GT(r.width(), 0);
        EXPECT_GT(r.height(), 0);
    }
    // A work area that does not start at 0 (a panel at the left).
    const QRect shifted(3000, 600, 21000, 14400);
    EXPECT_EQ(Place(pic, QPoint(100, 100), QRect(), shifted).topLeft(), QPoint(3000, 600));
}

TEST(PictureSizeLayout, PictureAndButtonsFollowTheWindow) {
    const Arrangement a = Arrange(QSize(6000, 4000), QSize(1200, 400));
    EXPECT_EQ(a.image, QRect(0, 0, 5500, 3080));
    EXPECT_EQ(a.ok, QRect(6000 - 2400 - 320, 4000 - 60 - 400, 1200, 400));
    EXPECT_EQ(a.cancel, QRect(6000 - 1200 - 260, 4000 - 60 - 400, 1200, 400));
    const Arrangement tiny = Arrange(QSize(100, 100), QSize(1200, 400));
    EXPECT_GT(tiny.image.width(), 0);
    EXPECT_GT(tiny.image.height(), 0);
}

class PictureSizeTest : public ::testing::Test {
protected:
    QString dir = TestEnv::freshDir(QStringLiteral("wmf"));
    ScriptedPrompter prompter;
    QString wmf = dir + QStringLiteral("/two by one inch.wmf");
    void SetUp() override { TestEnv::writeFile(wmf, testmeta::Wmf()); }
};

TEST_F(PictureSizeTest, AWideMetafileIsShrunkAndSavedAtTheSizeShown) {
    // 2 x 1 inch = 2880 x 1440 twips, 2.5 times the width of 1152.
    const QString out = dir + QStringLiteral("/Wrk.bmp");
    QSize shown;
    prompter.answerDialog([&](QDialog& d) {
        auto& w = static_cast<sbWmf&>(d);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("ｻｲｽﾞを確定してﾗｽﾀﾃﾞｰﾀｰに変換します"));
        EXPECT_EQ(w.cmRet[0]->text(), QStringLiteral("Ok(&O)"));
        EXPECT_EQ(w.cmRet[1]->text(), QStringLiteral("Cancel(&C)"));
        shown = w.ImageSize();
        return true;
    });
    bool ok = false;
    sbWmf().Act(wmf, out, 1152, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(prompter.messages(),
              QStringList{
                  QStringLiteral("元の画像の巾が現在の文書の巾より大きいので、40.0%縮小されます")});
    EXPECT_NEAR(shown.width(), 1152 / 15, 1);
    EXPECT_NEAR(shown.height(), 576 / 15, 1);
    const QImage saved(out);
    ASSERT_FALSE(saved.isNull());
    EXPECT_TRUE(TestEnv::readFile(out).startsWith("BM"));
    EXPECT_EQ(saved.size(), shown);
    EXPECT_EQ(saved.dotsPerMeterX(), 3780);
    EXPECT_EQ(saved.dotsPerMeterY(), 3780);
    // The red rectangle in the left half, white on the right.
    EXPECT_EQ(saved.pixelColor(shown.width() / 4, shown.height() / 2), QColor(Qt::red));
    EXPECT_EQ(saved.pixelColor(shown.width() * 3 / 4, shown.height() / 2), QColor(Qt::white));
}

TEST_F(PictureSizeTest, NoLimitKeepsTheNaturalSizeAndAResizeStretchesTheBitmap) {
    const QString out = dir + QStringLiteral("/out.png");
    prompter.answerDialog([&](QDialog& d) {
        EXPECT_NEAR(static_cast<sbWmf&>(d).ImageSize().width(), 192, 1);
        EXPECT_NEAR(static_cast<sbWmf&>(d).ImageSize().height(), 96, 1);
        // The user drags the window taller and narrower.
        d.resize(d.width() - 100, d.height() + 150);
        return true;
    });
    bool ok = false;
    sbWmf().Act(wmf, out, 0, ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(prompter.messages().isEmpty());
    const QImage saved(out);
    EXPECT_TRUE(TestEnv::readFile(out).startsWith("\x89PNG"));
    EXPECT_NEAR(saved.width(), 92, 1);
    EXPECT_NEAR(saved.height(), 246, 1);
}

TEST_F(PictureSizeTest, CancelNoPictureAndSvg) {
    const QString out = dir + QStringLiteral("/x.bmp");
    prompter.answerDialog([](QDialog&) { return false; });
    bool ok = true;
    sbWmf().Act(wmf, out, 0, ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(QFileInfo::exists(out));

    // Not a vector picture: no window at all.
    TestEnv::writeFile(dir + QStringLiteral("/bad.wmf"), "not a metafile");
    sbWmf().Act(dir + QStringLiteral("/bad.wmf"), out, 0, ok);
    EXPECT_FALSE(ok);
    sbWmf().Act(dir + QStringLiteral("/missing.wmf"), out, 0, ok);
    EXPECT_FALSE(ok);
    // A header that reads but records that do not draw (the largest-record
    // field too small for the records that follow).
    QByteArray damaged = testmeta::WmfWithTextAndLines();
    EXPECT_TRUE(VectorPicture::FromBytes(damaged));
    damaged[22 + 12] = 2;
    EXPECT_FALSE(pictures::MetafileSize(damaged).isEmpty());
    EXPECT_FALSE(VectorPicture::FromBytes(damaged));

    // SVG, from the clipboard: 300 x 150 pixels is 4500 x 2250 twips.
    auto* md = new QMimeData;
    md->setData(QStringLiteral("image/svg+xml"),
                "<svg xmlns='http://www.w3.org/2000/svg' width='300' height='150'>"
                "<rect width='300' height='150' fill='blue'/></svg>");
    QApplication::clipboard()->setMimeData(md);
    QSize shown;
    prompter.answerDialog([&](QDialog& d) {
        shown = static_cast<sbWmf&>(d).ImageSize();
        return true;
    });
    sbWmf().ActCp(out, 2250, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(prompter.messages().value(0),
              QStringLiteral("元の画像の巾が現在の文書の巾より大きいので、50.0%縮小されます"));
    EXPECT_NEAR(shown.width(), 150, 1);
    EXPECT_EQ(QImage(out).pixelColor(10, 10), QColor(Qt::blue));
}
