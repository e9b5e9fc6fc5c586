// The input method through the platform layer, against stand-in tools on
// the PATH that record how they are called: fcitx5-remote and ibus. The
// editor opens it on focus when asked to, closes it before the commands
// that open dialogs, and closes and reopens it around a style change.
#include "EditorFixture.h"
#include "InputMethod.h"
#include "TxIme.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTextStream>

namespace {

// Puts stand-in tools first on the PATH and names the framework in the
// environment; restores both when it goes.
class StandIns {
public:
    StandIns(const QString& dir, const QByteArray& imModule) : dir_(dir) {
        QDir().mkpath(dir);
        savedPath_ = qgetenv("PATH");
        savedIm_ = qgetenv("QT_IM_MODULE");
        savedXm_ = qgetenv("XMODIFIERS");
        qputenv("PATH", dir.toLocal8Bit() + ':' + savedPath_);
        qputenv("QT_IM_MODULE", imModule);
        qputenv("XMODIFIERS", "@im=" + imModule);
        InputMethod::Reset();
    }
    ~StandIns() {
        qputenv("PATH", savedPath_);
        qputenv("QT_IM_MODULE", savedIm_);
        qputenv("XMODIFIERS", savedXm_);
        InputMethod::Reset();
    }
    // A shell script `name` whose calls are appended to calls.log.
    void tool(const QString& name, const QString& body) {
        QFile f(dir_ + u'/' + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QTextStream(&f) << "#!/bin/sh\necho \"$*\" >> '" << log() << "'\n"
                        << "STATE='" << dir_ << "/state'\n"
                        << body;
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString log() const { return dir_ + QStringLiteral("/calls.log"); }
    QStringList calls() const {
        QFile f(log());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList out = QString::fromLocal8Bit(f.readAll()).split(u'\n');
        out.removeAll(QString());
        return out;
    }
    void clear() const { QFile::remove(log()); }

private:
    QString dir_;
    QByteArray savedPath_, savedIm_, savedXm_;
};

// fcitx5-remote: -o opens, -c closes, no argument prints 1 (closed) or 2.
const char* const kFcitx = "case \"$1\" in\n"
                           "-o) echo 2 > \"$STATE\" ;;\n"
                           "-c) echo 1 > \"$STATE\" ;;\n"
                           "'') cat \"$STATE\" 2>/dev/null || echo 1 ;;\n"
                           "*) exit 1 ;;\n"
                           "esac\n";

// ibus: `engine` prints the engine, `engine NAME` sets it, `list-engine`
// lists what is installed.
const char* const kIbus = "case \"$1\" in\n"
                          "engine) if [ -n \"$2\" ]; then echo \"$2\" > \"$STATE\";\n"
                          "        else cat \"$STATE\" 2>/dev/null || echo xkb:us::eng; fi ;;\n"
                          "list-engine) printf 'language: English\\n  xkb:us::eng - English (US)\\n"
                          "language: Japanese\\n  anthy - Anthy\\n  mozc-jp - Mozc\\n' ;;\n"
                          "*) exit 1 ;;\n"
                          "esac\n";

} // namespace

TEST_F(EditorTest, InputMethodOfFcitxOpensClosesAndReportsItsState) {
    ScriptedPrompter p;
    StandIns s(dir + QStringLiteral("/fcitx"), "fcitx");
    s.tool(QStringLiteral("fcitx5-remote"), QString::fromLatin1(kFcitx));
    uTxm& t = open();
    EXPECT_EQ(InputMethod::Current(), InputMethod::Framework::Fcitx);
    s.clear();
    t.txIME(true);
    EXPECT_TRUE(s.calls().contains(QStringLiteral("-o")));
    EXPECT_TRUE(TxIme::IsOpen());
    t.txIME(false);
    EXPECT_TRUE(s.calls().contains(QStringLiteral("-c")));
    EXPECT_FALSE(TxIme::IsOpen());

    // A dialog command (63 to 66) closes it first.
    t.txIME(true);
    s.clear();
    p.answerDialog([](QDialog&) { return false; });
    t.rtAct(63);
    EXPECT_EQ(s.calls().value(0), QStringLiteral("-c"));
    EXPECT_FALSE(TxIme::IsOpen());
}

TEST_F(EditorTest, StyleChangeClosesAndReopensAnOpenInputMethod) {
    ScriptedPrompter p;
    StandIns s(dir + QStringLiteral("/fcitx"), "fcitx");
    s.tool(QStringLiteral("fcitx5-remote"), QString::fromLatin1(kFcitx));
    uTxm& t = open();
    t.mTxt->SetText(ctl(QStringLiteral("one||two")));
    t.mTxt->SetSelStart(4); // the empty paragraph
    t.txIME(true);
    s.clear();
    t.rtAct(60, 4);
    QStringList changes = s.calls();
    changes.removeAll(QString()); // state queries
    EXPECT_EQ(changes, (QStringList{"-c", "-o"}));
    EXPECT_TRUE(TxIme::IsOpen());
    // Closed, it stays closed.
    t.txIME(false);
    s.clear();
    t.rtAct(60, 3);
    changes = s.calls();
    changes.removeAll(QString());
    EXPECT_TRUE(changes.isEmpty());
}

TEST_F(EditorTest, EditorOpensTheInputMethodOnFocusWhenSetTo) {
    ScriptedPrompter p;
    StandIns s(dir + QStringLiteral("/fcitx"), "fcitx");
    s.tool(QStringLiteral("fcitx5-remote"), QString::fromLatin1(kFcitx));
    uTxm& t = open();
    t.sIme = QStringLiteral("ON");
    t.txTitle->setFocus();
    t.mTxt->clearFocus();
    s.clear();
    t.mTxt->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(s.calls().contains(QStringLiteral("-o")));
    EXPECT_TRUE(TxIme::IsOpen());
}

TEST_F(EditorTest, InputMethodOfIBusSwitchesBetweenKeyboardAndJapaneseEngine) {
    ScriptedPrompter p;
    StandIns s(dir + QStringLiteral("/ibus"), "ibus");
    s.tool(QStringLiteral("ibus"), QString::fromLatin1(kIbus));
    uTxm& t = open();
    ASSERT_EQ(InputMethod::Current(), InputMethod::Framework::IBus);
    EXPECT_FALSE(TxIme::IsOpen());
    t.txIME(true);
    // Mozc is preferred to Anthy; closing goes back to the keyboard it had.
    EXPECT_TRUE(s.calls().contains(QStringLiteral("engine mozc-jp")));
    EXPECT_TRUE(TxIme::IsOpen());
    t.txIME(false);
    EXPECT_TRUE(s.calls().contains(QStringLiteral("engine xkb:us::eng")));
    EXPECT_FALSE(TxIme::IsOpen());
    // Opening what is open changes nothing.
    t.txIME(true);
    s.clear();
    t.txIME(true);
    EXPECT_EQ(s.calls(), (QStringList{"engine"}));
}

TEST_F(EditorTest, FailingOrMissingInputMethodToolsAreIgnored) {
    ScriptedPrompter p;
    p.setStrict(true);
    {
        StandIns s(dir + QStringLiteral("/broken"), "fcitx");
        s.tool(QStringLiteral("fcitx5-remote"), QStringLiteral("echo garbage; exit 3\n"));
        uTxm& t = open();
        t.txIME(true);
        EXPECT_FALSE(TxIme::IsOpen());
        EXPECT_FALSE(InputMethod::SetOpen(true));
        EXPECT_FALSE(InputMethod::IsOpen().has_value());
        t.txIME(false);
    }
    {
        // No tool at all: nothing to ask, nothing reported.
        StandIns s(dir + QStringLiteral("/none"), "none");
        qputenv("PATH", (dir + QStringLiteral("/none")).toLocal8Bit());
        InputMethod::Reset();
        EXPECT_EQ(InputMethod::Current(), InputMethod::Framework::None);
        uTxm& t = open();
        t.txIME(true);
        EXPECT_FALSE(TxIme::IsOpen());
    }
    EXPECT_TRUE(p.calls.isEmpty());
}
