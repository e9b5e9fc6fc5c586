// The function-key bar's operations against a host window with menu arrays:
// linking keys, captions, enabling through menu items and key sets, the
// message panel, the progress bar and the layout.
#include "MenuCode.h"
#include "TestHostWindow.h"
#include "uFky.h"
#include "uFkyStrip.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The host window as the main window sets it up: its menus, the bar bound
// and the sixteen keys linked.
struct MainHost {
    TestHostWindow w;
    uFky& fky = *w.fky;
    uFkyStrip& keys = *w.fky->Keys();
    MainHost() {
        w.AddMainMenus();
        fky.cOn(&w, false);
        w.LinkMainKeys();
        fky.cKyS();
    }
    QAction* item(const char* array, int i) { return w.arrays.value(S(array)).value(i); }
};

} // namespace

TEST(uFkyLinking, MainWindowKeys) {
    MainHost h;
    EXPECT_EQ(h.fky.KeyMap(), S("F2=50,F3=51,F4=52,F5=53,F6=54,F7=55,F8=21,F9=57,"
                                "C2=24,C3=25,C4=22,C5=2B,C6=F0,C7=5C,C8=5D,C9=28,"));
    EXPECT_EQ(h.keys.Caption(S("F2")), S("F2 表題1"));
    EXPECT_EQ(h.keys.ToolTip(S("C9")), S("現在の文書ﾌｫﾙﾀﾞをｴｸｽﾌﾟﾛｰﾗｰで開きます"));
    // "fmDoc" has no key set.
    EXPECT_TRUE(h.fky.GrpKeys().isEmpty());
    EXPECT_EQ(h.keys.ShownGroup(), QLatin1Char('F'));
    EXPECT_EQ(h.keys.Button(2)->text(), S("F2 表題1"));
}

TEST(uFkyLinking, SecondLinkReplacesFirstAndToolTipFromCaption) {
    MainHost h;
    h.fky.cKey(S("F8"), 2, 0, S("新規"), QString());
    h.fky.cKey(S("F8"), 2, 1, S("上書"), QString());
    EXPECT_EQ(h.fky.KeyMap().count(S("F8=")), 1);
    EXPECT_TRUE(h.fky.KeyMap().endsWith(S("F8=21,")));
    EXPECT_EQ(h.keys.ToolTip(S("F8")), S("上書き保存"));

    // An empty caption links the key but leaves it blank.
    h.fky.cKey(S("F3"), 2, 0, QString(), S("tip"));
    EXPECT_TRUE(h.fky.KeyMap().contains(S("F3=20,")));
    EXPECT_TRUE(h.keys.Caption(S("F3")).isEmpty());
    EXPECT_TRUE(h.keys.ToolTip(S("F3")).isEmpty());
}

TEST(uFkyLinking, MissingItemsLinkNothing) {
    MainHost h;
    HookRecorder hook;
    const QString before = h.fky.KeyMap();
    h.fky.cKey(S("F2"), 2, 3, S("x"), QString());  // separator
    h.fky.cKey(S("F2"), 5, 10, S("x"), QString()); // gap in the array
    h.fky.cKey(S("F2"), 2, 14, S("x"), QString()); // past the end
    h.fky.cKey(S("F2"), 4, 0, S("x"), QString());  // the host has no mnEdtDr
    h.fky.cKey(S("F2"), 0, 0, S("x"), QString());  // group 0 is no menu array
    h.fky.cKey(S("F2"), 17, 0, S("x"), QString());
    h.fky.cKey(S("X2"), 2, 0, S("x"), QString()); // no such key
    EXPECT_EQ(h.fky.KeyMap(), before);
    EXPECT_EQ(h.keys.Caption(S("F2")), S("F2 表題1"));
    EXPECT_TRUE(hook.procs.contains(S("cKey")));
}

TEST(uFkyLinking, CaptionOfKeyAndItem) {
    MainHost h;
    h.fky.cCap(S("F8"), S("保存"));
    EXPECT_EQ(h.keys.Caption(S("F8")), S("F8 保存"));
    EXPECT_EQ(h.item("mnFile", 1)->text(), S("保存"));
    h.fky.cCap(S("F1"), S("ﾍﾙﾌﾟ")); // unlinked key: only the key changes
    EXPECT_EQ(h.keys.Caption(S("F1")), S("F1 ﾍﾙﾌﾟ"));
}

TEST(uFkyEnabling, HeadingStylesOfTheFormatMenu) {
    MainHost h;
    h.fky.SetEnb(5, S("0.1.2"), false, false);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(h.item("mnSelc", i)->isEnabled(), i > 2) << i;
    for (const char* k : {"F2", "F3", "F4"})
        EXPECT_FALSE(h.keys.KeyEnabled(S(k))) << k;
    for (const char* k : {"F5", "F6", "F7", "F8", "F9", "C2", "C7"})
        EXPECT_TRUE(h.keys.KeyEnabled(S(k))) << k;
    EXPECT_FALSE(h.keys.Button(2)->isEnabled());

    h.fky.SetEnb(5, S("0.1.2"), true, false);
    EXPECT_TRUE(h.keys.KeyEnabled(S("F2")));
    EXPECT_TRUE(h.item("mnSelc", 2)->isEnabled());
}

TEST(uFkyEnabling, VisibilityAndHiddenItems) {
    MainHost h;
    h.fky.SetEnb(2, S("1"), false, true);
    EXPECT_FALSE(h.item("mnFile", 1)->isVisible());
    EXPECT_FALSE(h.keys.KeyEnabled(S("F8")));
    // A hidden item is not disabled, so it comes back enabled; its key
    // follows every call.
    h.fky.SetEnb(2, S("1"), false, false);
    h.fky.SetEnb(2, S("1"), true, true);
    EXPECT_TRUE(h.item("mnFile", 1)->isVisible());
    EXPECT_TRUE(h.item("mnFile", 1)->isEnabled());
    EXPECT_TRUE(h.keys.KeyEnabled(S("F8")));
    // Separators, gaps and junk indexes are skipped.
    h.fky.SetEnb(2, S("3.x.99.5"), false, false);
    EXPECT_FALSE(h.keys.KeyEnabled(S("C3")));
    EXPECT_TRUE(h.keys.KeyEnabled(S("C2")));
}

TEST(uFkyEnabling, KeysByNameAndByMenu) {
    MainHost h;
    HookRecorder hook;
    h.fky.SetEnbKy(S("f2, c3,"), false);
    EXPECT_FALSE(h.keys.KeyEnabled(S("F2")));
    EXPECT_FALSE(h.keys.KeyEnabled(S("C3")));
    EXPECT_TRUE(h.keys.KeyEnabled(S("F3")));
    h.fky.SetEnbKy(S("Z9,F3"), false); // an unknown name does not stop the rest
    EXPECT_FALSE(h.keys.KeyEnabled(S("F3")));
    EXPECT_EQ(hook.procs, QStringList{S("SetEnbKy")});

    for (QAction* a : h.w.arrays.value(S("mnSelc")))
        if (a)
            a->setEnabled(false);
    h.fky.SetEnbByMenu();
    EXPECT_FALSE(h.keys.KeyEnabled(S("F7")));
    EXPECT_FALSE(h.keys.KeyEnabled(S("C8")));
    EXPECT_FALSE(h.keys.KeyEnabled(S("F2")));
    EXPECT_TRUE(h.keys.KeyEnabled(S("C3"))); // back in step with "印刷(&P)"
}

TEST(uFkyKeySet, GroupsOfAWindowWithARow) {
    // Row "Kb11": letter codes up to "EH", nested groups, group 12 unclosed.
    TestHostWindow w(S("Kb11"));
    for (const char* a : {"mnJb", "mnFile", "mnEdit", "mnView", "mnWin", "mnPage", "mnDisp"})
        w.AddItems(S(a), 12);
    w.AddItems(S("mnTree"), 18);
    uFky& fky = *w.fky;
    fky.cOn(&w, false);
    const std::pair<const char*, const char*> links[] = {{"F2", "2B"}, {"F3", "E1"}, {"F4", "A1"},
                                                         {"F5", "EH"}, {"F6", "35"}, {"F7", "C9"},
                                                         {"F8", "74"}, {"C2", "81"}};
    for (const auto& [key, code] : links) {
        int iMn = 0, iNdx = 0;
        ASSERT_TRUE(MenuCode::Decode(S(code), iMn, iNdx));
        fky.cKey(S(key), iMn, iNdx, S(key), QString());
    }
    ASSERT_EQ(fky.KeyMap(), S("F2=2B,F3=E1,F4=A1,F5=EH,F6=35,F7=C9,F8=74,C2=81,"));
    fky.cKyS();
    EXPECT_EQ(fky.GrpKeys(), S("10=F2,/11=F3,F4,F5,/EE=F4,/12=F6,F7,F8,C2,/13=F7,/15=F8,/"));

    // Disabling a menu-bar item switches off every key of its group.
    fky.SetEnb(1, S("2"), false, false);
    EXPECT_FALSE(w.arrays.value(S("mnJb"))[2]->isEnabled());
    for (const char* k : {"F6", "F7", "F8", "C2"})
        EXPECT_FALSE(fky.Keys()->KeyEnabled(S(k))) << k;
    for (const char* k : {"F2", "F3", "F4", "F5"})
        EXPECT_TRUE(fky.Keys()->KeyEnabled(S(k))) << k;

    // After cOff nothing is linked; a window without a row has no groups.
    fky.cOff();
    EXPECT_TRUE(fky.KeyMap().isEmpty());
    fky.cKyS();
    EXPECT_TRUE(fky.GrpKeys().isEmpty());
}

TEST(uFkyPanel, ColoursAndIconsByKind) {
    MainHost h;
    EXPECT_EQ(h.fky.PnlKind(), -1);
    const struct {
        int fOpt, kind;
        QColor colour;
    } cases[] = {{0, 0, QColor(0, 128, 128)}, {4, 1, QColor(255, 0, 0)},
                 {2, 2, QColor(0, 0, 255)},   {1, 3, QColor(0, 0, 0)},
                 {7, 0, QColor(0, 128, 128)}, {1, 3, QColor(0, 0, 0)}};
    for (const auto& c : cases) {
        h.fky.PanelTx(S("保存しました"), c.fOpt);
        EXPECT_EQ(h.fky.PnlKind(), c.kind) << c.fOpt;
        EXPECT_EQ(h.fky.PanelColor(), c.colour) << c.fOpt;
    }
    EXPECT_EQ(h.fky.PanelText(), S("保存しました     "));

    // A message holding a title such as "<b>日記</b>" is shown as written,
    // tags and all, not taken for markup.
    QLabel* text = nullptr;
    for (QLabel* l : h.fky.Panel()->findChildren<QLabel*>())
        if (l->text() == h.fky.PanelText())
            text = l;
    ASSERT_NE(text, nullptr);
    h.fky.PanelTx(S("日記"), 0);
    const int plainWidth = text->sizeHint().width();
    h.fky.PanelTx(S("<b>日記</b>"), 0);
    EXPECT_GE(text->sizeHint().width(),
              plainWidth + text->fontMetrics().horizontalAdvance(S("<b></b>")));
}

TEST(uFkyLayoutOnScreen, KeysPanelAndProgress) {
    struct {
        uFky fky;
        uFkyStrip& keys = *fky.Keys();
    } h;
    h.fky.show();
    h.fky.resize(800, 20); // 12000 x 300 twips
    h.fky.StSize();
    EXPECT_EQ(h.keys.geometry(), QRect(0, 0, 576, 20)); // 8640 twips
    EXPECT_EQ(h.fky.Panel()->geometry(), QRect(576, 0, 224, 20));
    EXPECT_TRUE(h.fky.Panel()->isVisible());
    EXPECT_GT(h.keys.Button(12)->geometry().right(), 560);

    h.fky.pbMax(10);
    QProgressBar* bar = h.fky.ProgressBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(h.fky.Panel()->isVisible());
    EXPECT_EQ(bar->geometry(), h.fky.Panel()->geometry());
    h.fky.pbVAL(4);
    EXPECT_EQ(bar->value(), 4);
    h.fky.pbVAL(40);
    EXPECT_EQ(bar->value(), 10);
    h.fky.resize(1000, 20); // a resize keeps the running job's bar in the panel's place
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry(), QRect(720, 0, 280, 20));
    h.fky.pbMax(0);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(h.fky.Panel()->isVisible());

    // Tall: keys on top, 270 twips high.
    h.fky.resize(400, 40);
    h.fky.StSize();
    EXPECT_EQ(h.keys.geometry(), QRect(0, 0, 400, 18));
    EXPECT_EQ(h.fky.Panel()->geometry(), QRect(0, 18, 400, 22));
    // Narrow and low: no panel.
    h.fky.resize(600, 20);
    h.fky.StSize();
    EXPECT_EQ(h.keys.geometry(), QRect(0, 0, 600, 20));
    EXPECT_FALSE(h.fky.Panel()->isVisible());
}

TEST(uFkyLayoutOnScreen, FullGroupsHaveNoPanel) {
    TestHostWindow w;
    w.fky->cOn(&w, true);
    w.show();
    w.fky->resize(800, 20);
    w.fky->StSize();
    EXPECT_EQ(w.fky->Keys()->LayoutString(), S("4|4|4"));
    EXPECT_EQ(w.fky->Keys()->geometry(), QRect(0, 0, 800, 20));
    EXPECT_FALSE(w.fky->Panel()->isVisible());
    // Gaps between the groups of four.
    auto* keys = w.fky->Keys();
    EXPECT_GT(keys->Button(5)->x(), keys->Button(4)->geometry().right() + 1);
    EXPECT_EQ(keys->Button(4)->x(), keys->Button(3)->geometry().right() + 1);
    // Ending a progress display does not bring back a panel the layout hides.
    w.fky->pbMax(5);
    w.fky->pbMax(0);
    EXPECT_FALSE(w.fky->Panel()->isVisible());
}

// On a strip too narrow for a caption the caption gets a smaller font, so the
// whole of "F4 閉じる" shows; captions that fit keep the strip's font.
TEST(uFkyLayoutOnScreen, CaptionsFitTheirKeys) {
    uFkyStrip keys;
    keys.show();
    ASSERT_TRUE(keys.SetCaption(QStringLiteral("F4"), S("F4 閉じる")));
    ASSERT_TRUE(keys.SetCaption(QStringLiteral("F6"), S("F6 前")));
    keys.resize(600, 20); // 50 pixels a key
    QToolButton* close = keys.Button(4);
    ASSERT_LE(close->width(), 51);
    EXPECT_LE(QFontMetrics(close->font()).horizontalAdvance(close->text()), close->width() - 6);
    EXPECT_EQ(keys.Button(6)->font().pointSizeF(), keys.font().pointSizeF());
    keys.resize(1200, 20); // room again: the strip's font comes back
    EXPECT_EQ(close->font().pointSizeF(), keys.font().pointSizeF());
}
