// Presses on the function-key bar: real keys reaching the host window,
// clicks on the buttons, the Ctrl group and the window's own shortcuts.
#include "MenuCode.h"
#include "TestHostWindow.h"
#include "uFky.h"
#include "uFkyStrip.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

using Call = std::tuple<int, int, QString>;

// The main window's setup, shown and active, with an editor-like line edit
// holding the focus.
struct ShownHost {
    TestHostWindow w;
    uFky& fky = *w.fky;
    uFkyStrip& keys = *w.fky->Keys();
    QLineEdit* edit;
    ShownHost() {
        edit = new QLineEdit(&w);
        w.AddMainMenus();
        fky.cOn(&w, false);
        w.LinkMainKeys();
        w.show();
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        edit->setFocus();
    }
};

} // namespace

TEST(uFkyKeys, FunctionKeysRunTheLinkedItem) {
    ShownHost h;
    QTest::keyClick(h.edit, Qt::Key_F2);
    QTest::keyClick(h.edit, Qt::Key_F8);
    QTest::keyClick(h.edit, Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(h.w.calls, (QList<Call>{{5, 0, {}}, {2, 1, {}}, {2, 5, {}}}));
    EXPECT_EQ(h.keys.ShownGroup(), QLatin1Char('F'));
    EXPECT_TRUE(h.edit->text().isEmpty());
}

TEST(uFkyKeys, OnlyTheLastLinkIsTriggered) {
    ShownHost h;
    h.fky.cKey(S("F5"), 5, 4, S("強調"), QString());
    h.fky.cKey(S("F5"), 2, 13, S("終了"), QString());
    QTest::keyClick(h.edit, Qt::Key_F5);
    EXPECT_EQ(h.w.calls, (QList<Call>{{2, 13, {}}}));
}

TEST(uFkyKeys, LinkedKeyWinsOverTheWindowShortcutUnlinkedKeyDoesNot) {
    ShownHost h;
    QAction* save = h.w.arrays.value(S("mnFile")).at(1);
    save->setShortcut(Qt::Key_F8);
    h.w.addAction(save);
    auto* help = new QAction(S("help"), &h.w);
    help->setShortcut(Qt::Key_F1);
    h.w.addAction(help);
    QSignalSpy saved(save, &QAction::triggered);
    QSignalSpy helped(help, &QAction::triggered);

    QTest::keyClick(h.edit, Qt::Key_F8);
    EXPECT_EQ(saved.count(), 0);
    EXPECT_EQ(h.w.calls, (QList<Call>{{2, 1, {}}}));

    int presses = 0;
    QObject::connect(&h.keys, &uFkyStrip::FkeyPress, [&](int, int, bool&) { ++presses; });
    QTest::keyClick(h.edit, Qt::Key_F1); // not linked: left to the window
    EXPECT_EQ(helped.count(), 1);
    EXPECT_EQ(h.w.calls.size(), 1);
    QTest::keyClick(h.edit, Qt::Key_F10); // no shortcut either
    EXPECT_EQ(presses, 2);                // each key reported once

    // A hidden bar leaves every key to the menu shortcuts.
    h.fky.hide();
    QTest::keyClick(h.edit, Qt::Key_F8);
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(h.w.calls.size(), 1);
}

TEST(uFkyKeys, ShiftAndAltCombinationsAreNotTheBars) {
    ShownHost h;
    QTest::keyClick(h.edit, Qt::Key_F4, Qt::AltModifier);
    QTest::keyClick(h.edit, Qt::Key_F2, Qt::ShiftModifier);
    QTest::keyClick(h.edit, Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(h.w.calls.isEmpty());
}

TEST(uFkyKeys, CtrlShowsTheCtrlGroup) {
    ShownHost h;
    EXPECT_EQ(h.keys.Button(3)->text(), S("F3 表題2"));
    QTest::keyPress(h.edit, Qt::Key_Control);
    EXPECT_EQ(h.keys.ShownGroup(), QLatin1Char('C'));
    EXPECT_EQ(h.keys.Button(3)->text(), S("C3 印刷"));
    EXPECT_EQ(h.keys.Button(3)->toolTip(), S("現在の文書を印刷します"));
    // Ctrl+Shift is not Ctrl. (QTest would release Ctrl with Shift, so the
    // events are sent one by one.)
    const auto send = [&](QEvent::Type t, int key, Qt::KeyboardModifiers mods) {
        QKeyEvent e(t, key, mods);
        QApplication::sendEvent(h.edit, &e);
    };
    send(QEvent::KeyPress, Qt::Key_Shift, Qt::ControlModifier);
    EXPECT_EQ(h.keys.ShownGroup(), QLatin1Char('F'));
    send(QEvent::KeyRelease, Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(h.keys.ShownGroup(), QLatin1Char('C'));
    send(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(h.keys.ShownGroup(), QLatin1Char('F'));
    EXPECT_EQ(h.keys.Button(3)->text(), S("F3 表題2"));

    // Clicking a key of the shown Ctrl group runs the Ctrl link.
    QTest::keyPress(h.edit, Qt::Key_Control);
    QTest::mouseClick(h.keys.Button(6), Qt::LeftButton);
    EXPECT_EQ(h.w.calls, (QList<Call>{{15, 0, {}}}));
    EXPECT_EQ(h.keys.ShownGroup(), QLatin1Char('F'));
}

TEST(uFkyKeys, ClicksAndDisabledKeys) {
    ShownHost h;
    h.keys.Button(7)->click();
    EXPECT_EQ(h.w.calls, (QList<Call>{{5, 5, {}}}));
    h.keys.Button(1)->click(); // unlinked: nothing
    EXPECT_EQ(h.w.calls.size(), 1);
    h.fky.SetEnbKy(S("F7"), false);
    QTest::mouseClick(h.keys.Button(7), Qt::LeftButton);
    EXPECT_EQ(h.w.calls.size(), 1);
}

TEST(uFkyKeys, FailingCommandIsSwallowedAndReported) {
    ShownHost h;
    HookRecorder hook;
    h.w.bThrow = true;
    QTest::keyClick(h.edit, Qt::Key_F2);
    EXPECT_EQ(h.w.calls.size(), 1);
    EXPECT_EQ(hook.procs, QStringList{S("mFky_FkeyPress")});
    EXPECT_EQ(h.keys.ShownGroup(), QLatin1Char('F'));
}
