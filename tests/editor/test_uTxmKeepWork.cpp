// The user's work is never lost: a load that fails leaves the page, its
// modified flag and its file name as they were, and every command that
// changes the text leaves the page modified (while commands that did nothing
// leave the flag and the undo alone).
#include "EditorFixture.h"
#include "TxSettings.h"

#include <QFile>

namespace {
const QString kQuestion = QStringLiteral("現在の文書を保存しますか");

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString textOf(const QString& file) {
    TxEngine e;
    if (!e.LoadFile(file, TxEngine::FmtDoc))
        return QStringLiteral("<unreadable>");
    return e.Text();
}
} // namespace

TEST_F(EditorTest, FailedLoadKeepsThePageItsFlagAndItsFile) {
    const QString mine = dir + QStringLiteral("/mine.doc");
    const QString damaged = dir + QStringLiteral("/damaged.doc");
    writeFile(mine, docBytes(QStringLiteral("saved text")));
    // A compound-file signature followed by rubbish: it looks like Word, but
    // is not readable.
    writeFile(damaged, QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(600, '\x5a'));

    ScriptedPrompter p;
    p.answerMessage(Prompter::Answer::No); // the save question before the load
    uTxm& t = open();
    t.sUdtChk = TxSet::Ask();
    t.rtAct(3, mine);
    ASSERT_EQ(t.mTxt->Text(), QStringLiteral("saved text"));
    ASSERT_EQ(t.sFlNm, mine);
    t.mTxt->SetSelStart(10);
    type(QStringLiteral(" and more"));
    ASSERT_TRUE(t.bDcEdt());

    t.rtAct(3, damaged);
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("saved text and more"));
    EXPECT_TRUE(t.bDcEdt()); // still unsaved work, though "No" was answered
    EXPECT_EQ(t.sFlNm, mine);
    ASSERT_FALSE(p.messages().isEmpty());
    EXPECT_TRUE(p.messages().back().startsWith(QStringLiteral("ﾌｧｲﾙ: ") + damaged +
                                               QStringLiteral(" を読み込めません｡")))
        << p.messages().back().toStdString();
    // The next save writes the text the user sees into the right file.
    t.rtAct(4);
    EXPECT_EQ(textOf(mine), QStringLiteral("saved text and more"));
    EXPECT_FALSE(t.bDcEdt());

    // Unmodified: nothing is asked, the flag stays clear, the file stays.
    const qsizetype asked = p.calls.size();
    t.rtAct(3, damaged);
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("saved text and more"));
    EXPECT_FALSE(t.bDcEdt());
    EXPECT_EQ(t.sFlNm, mine);
    EXPECT_EQ(p.calls.size(), asked + 1); // only the failure message
    EXPECT_NE(p.calls.back().text, kQuestion);

    // A file that vanished, or a format the editor does not read: nothing.
    type(QStringLiteral("!"));
    t.rtAct(3, dir + QStringLiteral("/gone.doc"));
    writeFile(dir + QStringLiteral("/x.xyz"), "abc");
    t.rtAct(3, dir + QStringLiteral("/x.xyz"));
    EXPECT_TRUE(t.mTxt->Text().endsWith(u'!'));
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_EQ(t.sFlNm, mine);
}

TEST_F(EditorTest, UnreadableBytesLeaveThePageAndItsFlag) {
    const QByteArray rubbish = QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(300, '\x01');
    ScriptedPrompter p;
    p.answerMessage(Prompter::Answer::No);
    uTxm& t = open();
    t.sFlNm = dir + QStringLiteral("/page.doc");
    type(QStringLiteral("work"));
    bool ok = true;
    t.SetData(rubbish, ok, true); // a copy: no question
    EXPECT_FALSE(ok);
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("work"));
    EXPECT_TRUE(t.bDcEdt());
    ok = true;
    t.SetData(rubbish, ok, false); // asked, answered No
    EXPECT_FALSE(ok);
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("work"));
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_EQ(t.sFlNm, dir + QStringLiteral("/page.doc"));
    bool cancel = false;
    p.answerMessage(Prompter::Answer::Cancel);
    t.ChkUdt(cancel); // closing still asks about the work
    EXPECT_TRUE(cancel);
}

TEST_F(EditorTest, CommandsThatChangeTheTextMarkThePage) {
    ScriptedPrompter p;
    uTxm& t = open();
    type(QStringLiteral("alpha beta gamma"));
    auto select = [&](int start, int length) {
        t.mTxt->SetSelStart(start);
        t.mTxt->SetSelLength(length);
    };
    select(0, 6);
    t.SetDcEdt(false);
    t.rtAct(13); // cut
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("beta gamma"));
    EXPECT_TRUE(t.bDcEdt()) << "cut";
    t.SetDcEdt(false);
    t.rtAct(11); // undo
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("alpha beta gamma"));
    EXPECT_TRUE(t.bDcEdt()) << "undo";
    t.SetDcEdt(false);
    t.rtAct(12); // redo
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("beta gamma"));
    EXPECT_TRUE(t.bDcEdt()) << "redo";
    select(4, 6);
    t.SetDcEdt(false);
    t.rtAct(20); // delete
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("beta"));
    EXPECT_TRUE(t.bDcEdt()) << "delete";
    // Closing now asks.
    p.answerMessage(Prompter::Answer::Cancel);
    bool cancel = false;
    t.ChkUdt(cancel);
    EXPECT_TRUE(cancel);
}

TEST_F(EditorTest, CommandsThatDidNothingLeaveFlagAndUndoAlone) {
    ScriptedPrompter p;
    uTxm& t = open();
    type(QStringLiteral("typed"));
    t.SetDcEdt(false);
    // Nothing selected: cut and delete have nothing to remove.
    t.rtAct(13);
    t.rtAct(20);
    t.rtAct(12); // nothing to redo
    EXPECT_FALSE(t.bDcEdt());
    // Codes with nothing to do in this control (or whose dialog is
    // cancelled: 10, 30) take no snapshot and do not mark the page.
    p.answerOpenFile(QString());
    p.answerOpenFile(QString());
    // 23, 50 and 80 with "表" open the settings dialog, which is cancelled.
    for (int i = 0; i < 3; ++i)
        p.answerDialog([](QDialog&) { return false; });
    for (int code : {10, 23, 30, 40, 50, 51, 53, 80, 82}) {
        t.rtAct(code, code == 80 ? QVariant(QStringLiteral("表")) : QVariant());
        EXPECT_FALSE(t.bDcEdt()) << code;
        EXPECT_FALSE(t.bSnap) << code;
    }
    // So undo is still the engine's: it takes back the typing.
    t.rtAct(11);
    EXPECT_NE(t.mTxt->Text(), QStringLiteral("typed"));
    // Undo with nothing left to undo on a new page does nothing either.
    t.SetDcEdt(false);
    t.rtAct(2);
    t.rtAct(11);
    EXPECT_FALSE(t.bDcEdt());
}
