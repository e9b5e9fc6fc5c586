// The editor control's pages in and out: SetData and its save question,
// ChkUdt, GetData round trips, saving and its failures, title and mail text.
#include "EditorFixture.h"
#include "TxSettings.h"

#include <QFile>
#include <QLineEdit>
#include <unistd.h>

namespace {
const QString kQuestion = QStringLiteral("現在の文書を保存しますか");

int questions(const ScriptedPrompter& p) {
    int n = 0;
    for (const auto& c : p.calls)
        n += c.kind == QLatin1String("message") && c.text == kQuestion;
    return n;
}
} // namespace

TEST_F(EditorTest, SetDataForCopyNeverAsksAndClearsTheFlag) {
    ScriptedPrompter p;
    p.setStrict(true);
    uTxm& t = open();
    type(QStringLiteral("edited"));
    ASSERT_TRUE(t.bDcEdt());
    bool ok = false;
    t.SetData(docBytes(QStringLiteral("copied page")), ok, true);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(t.bDcEdt());
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("copied page"));
    EXPECT_TRUE(p.calls.isEmpty());
}

TEST_F(EditorTest, SetDataSaveQuestionFollowsTheConfirmationMode) {
    const QString file = dir + QStringLiteral("/page.doc");
    // "上書": saved silently before the next page comes.
    {
        ScriptedPrompter p;
        p.setStrict(true);
        uTxm& t = open();
        t.sUdtChk = TxSet::Overwrite();
        t.sFlNm = file;
        type(QStringLiteral("first"));
        bool ok = false;
        t.SetData(docBytes(QStringLiteral("second")), ok, false);
        EXPECT_TRUE(ok);
        EXPECT_TRUE(p.calls.isEmpty());
        EXPECT_FALSE(t.bDcEdt());
        TxEngine saved;
        ASSERT_TRUE(saved.LoadFile(file, TxEngine::FmtDoc));
        EXPECT_EQ(saved.Text(), QStringLiteral("first"));
    }
    // "確認", answered No: discarded after one question.
    {
        ScriptedPrompter p;
        p.answerMessage(Prompter::Answer::No);
        uTxm& t = open();
        t.sUdtChk = TxSet::Ask();
        type(QStringLiteral("discard me"));
        bool ok = false;
        t.SetData(docBytes(QStringLiteral("next")), ok, false);
        EXPECT_TRUE(ok);
        EXPECT_EQ(questions(p), 1);
        EXPECT_EQ(p.calls[0].buttons, Prompter::Buttons::YesNo);
        EXPECT_EQ(t.mTxt->Text(), QStringLiteral("next"));
    }
    // Any other mode: discarded without a question.
    {
        ScriptedPrompter p;
        p.setStrict(true);
        uTxm& t = open();
        t.sUdtChk = QStringLiteral("なし");
        type(QStringLiteral("gone"));
        bool ok = false;
        t.SetData(docBytes(QStringLiteral("other")), ok, false);
        EXPECT_TRUE(ok);
        EXPECT_FALSE(t.bDcEdt());
        EXPECT_TRUE(p.calls.isEmpty());
    }
}

TEST_F(EditorTest, SetDataKeepsThePageWhenItsSaveDidNotHappen) {
    ScriptedPrompter p;
    p.answerMessage(Prompter::Answer::Yes);
    p.answerSaveFile(QString()); // the save dialog is cancelled
    uTxm& t = open();
    type(QStringLiteral("precious"));
    bool ok = true;
    t.SetData(docBytes(QStringLiteral("other")), ok, false);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("precious"));
}

TEST_F(EditorTest, ChkUdtAsksOnlyForModifiedEditablePages) {
    {
        ScriptedPrompter p;
        p.setStrict(true);
        uTxm& t = open(-1);
        type(QStringLiteral("view only"));
        bool cancel = false;
        t.ChkUdt(cancel);
        EXPECT_FALSE(cancel);
        EXPECT_TRUE(p.calls.isEmpty());
    }
    {
        ScriptedPrompter p;
        p.answerMessage(Prompter::Answer::Cancel);
        p.answerMessage(Prompter::Answer::No);
        uTxm& t = open();
        bool cancel = false;
        t.ChkUdt(cancel); // not modified: nothing asked
        EXPECT_EQ(questions(p), 0);
        type(QStringLiteral("x"));
        t.ChkUdt(cancel);
        EXPECT_TRUE(cancel);
        EXPECT_EQ(p.calls.back().buttons, Prompter::Buttons::YesNoCancel);
        EXPECT_TRUE(t.bDcEdt());
        cancel = false;
        t.ChkUdt(cancel);
        EXPECT_FALSE(cancel);
        EXPECT_FALSE(t.bDcEdt());
    }
}

TEST_F(EditorTest, GetDataAndSetDataKeepTextAndFormatting) {
    ScriptedPrompter p;
    uTxm& t = open();
    bool ok = false;
    t.SetData(docBytes(QStringLiteral("太字 and plain\nsecond paragraph"), 2), ok, true);
    ASSERT_TRUE(ok);
    t.SetTitle(QStringLiteral("題"));
    QByteArray bytes;
    QString text, title;
    t.GetData(bytes, text, title, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(text, QStringLiteral("太字 and plain\nsecond paragraph"));
    EXPECT_EQ(title, QStringLiteral("題"));

    uTxm& again = open();
    again.SetData(bytes, ok, true);
    ASSERT_TRUE(ok);
    EXPECT_EQ(again.mTxt->Text(), text);
    again.mTxt->SetSelStart(0);
    again.mTxt->SetSelLength(1);
    EXPECT_TRUE(again.mTxt->FontBold());
    again.mTxt->SetSelStart(5);
    again.mTxt->SetSelLength(1);
    EXPECT_FALSE(again.mTxt->FontBold());

    // Bytes that are no document are refused and change nothing.
    again.SetData(QByteArray("not a document"), ok, true);
    EXPECT_FALSE(ok);
    EXPECT_EQ(again.mTxt->Text(), text);
}

TEST_F(EditorTest, InsertAndAppendMarkDifferently) {
    ScriptedPrompter p;
    uTxm& t = open();
    bool ok = false;
    t.ApndData(docBytes(QStringLiteral("tail")), ok);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(t.bDcEdt());
    t.InsData(docBytes(QStringLiteral("head")), ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_TRUE(t.mTxt->Text().contains(QStringLiteral("head")));
    EXPECT_TRUE(t.mTxt->Text().contains(QStringLiteral("tail")));
}

TEST_F(EditorTest, SaveTellsTheUserAndKeepsTheFlagWhenTheWriteFails) {
    ScriptedPrompter p;
    uTxm& t = open();
    type(QStringLiteral("work"));
    // A folder where a file cannot be created (its "folder" is a file).
    const QString blocker = dir + QStringLiteral("/plain-file");
    TestEnv::writeFile(blocker, "x");
    t.sFlNm = blocker + QStringLiteral("/page.doc");
    t.rtAct(4);
    EXPECT_TRUE(t.bDcEdt());
    ASSERT_EQ(p.messages().size(), 1);
    EXPECT_TRUE(p.messages()[0].startsWith(QStringLiteral("ﾌｧｲﾙ: ")));

    if (geteuid() != 0) { // permissions do not stop the superuser
        const QString ro = dir + QStringLiteral("/readonly");
        QDir().mkpath(ro);
        TestEnv::writeFile(ro + QStringLiteral("/page.doc"), "old");
        QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        t.sFlNm = ro + QStringLiteral("/page.doc");
        t.rtAct(4);
        EXPECT_TRUE(t.bDcEdt());
        EXPECT_EQ(TestEnv::readFile(ro + QStringLiteral("/page.doc")), QByteArray("old"));
        QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                      QFileDevice::ExeOwner);
    }
    // A writable place works and clears the flag.
    t.sFlNm = dir + QStringLiteral("/page.doc");
    t.rtAct(4);
    EXPECT_FALSE(t.bDcEdt());
    EXPECT_TRUE(QFile::exists(t.sFlNm));
}

TEST_F(EditorTest, SaveDialogProposesACleanNameInTheHostsFolder) {
    ScriptedPrompter p;
    const QString chosen = dir + QStringLiteral("/chosen");
    p.answerSaveFile(chosen);
    uTxm& t = open();
    QStringList saved;
    QObject::connect(&t, &uTxm::eSaveAs, [&](QString& f) { saved << f; });
    QObject::connect(&t, &uTxm::eAskSavePh, [&](QString& ph) { ph = dir + u'/'; });
    t.mTxt->SetText(QStringLiteral("a/b:c*?\nbody"));
    t.SetDcEdt(true);
    t.rtAct(4);
    ASSERT_EQ(p.calls.size(), 1);
    EXPECT_EQ(p.calls[0].title, QStringLiteral("名前を付けて保存"));
    EXPECT_EQ(p.calls[0].text, QStringLiteral("abc.doc"));
    EXPECT_TRUE(p.calls[0].detail.endsWith(u'|' + dir + u'/'));
    // A name without extension is written as a Word document.
    EXPECT_TRUE(QFile::exists(chosen + QStringLiteral(".doc")));
    EXPECT_EQ(t.sFlNm, chosen + QStringLiteral(".doc"));
    EXPECT_EQ(saved, QStringList{chosen + QStringLiteral(".doc")});
    EXPECT_FALSE(t.bDcEdt());
}

TEST_F(EditorTest, ViewOnlyAndHostSavedPagesGoToTheHost) {
    ScriptedPrompter p;
    p.setStrict(true);
    uTxm& t = open(0);
    int stored = 0;
    QObject::connect(&t, &uTxm::eSaveDB, [&] { ++stored; });
    type(QStringLiteral("page"));
    t.rtAct(4);
    EXPECT_EQ(stored, 1);
    EXPECT_FALSE(t.bDcEdt());
}

TEST_F(EditorTest, SaveKeepsEachFilesFormat) {
    ScriptedPrompter p;
    uTxm& t = open();
    const QString txt = dir + QStringLiteral("/note.txt");
    TestEnv::writeFile(txt, "plain line\n");
    t.rtAct(3, txt);
    EXPECT_EQ(t.sFlNm, txt);
    EXPECT_FALSE(t.bDcEdt());
    type(QStringLiteral("more "));
    t.rtAct(4);
    const QByteArray written = TestEnv::readFile(txt);
    EXPECT_TRUE(written.contains("more plain line")) << written.toStdString();
    EXPECT_FALSE(written.startsWith("\xD0\xCF\x11\xE0")); // no compound file in a .txt
}

TEST_F(EditorTest, SaveAsWritesByExtensionAndRefusesUnknownOnes) {
    ScriptedPrompter p;
    uTxm& t = open();
    type(QStringLiteral("text"));
    QString file = dir + QStringLiteral("/sub/out.xyz");
    EXPECT_FALSE(t.txSaveAs(file));
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(p.messages().size(), 1);

    file = dir + QStringLiteral("/sub/out");
    EXPECT_TRUE(t.txSaveAs(file));
    EXPECT_EQ(file, dir + QStringLiteral("/sub/out.doc"));
    EXPECT_FALSE(t.bDcEdt());
    EXPECT_TRUE(TestEnv::readFile(file).startsWith("\xD0\xCF\x11\xE0"));
}

TEST_F(EditorTest, TitleAndMailText) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(QStringLiteral("one\x0btwo"));
    EXPECT_EQ(t.Title(), QString());
    t.mTxt->SetText(QStringLiteral("one\x0btwo\nbody"));
    EXPECT_EQ(t.Title(), QStringLiteral("one"));

    // A paragraph formatted by hand as a 見出２ heading is the subject.
    t.mTxt->SetText(QStringLiteral("intro\nHeading two\nbody text"));
    const UsrFmt& h2 = t.usrFmt[1];
    t.mTxt->SetSelStart(6);
    t.mTxt->SetSelLength(11);
    t.mTxt->SetFontName(h2.sFont);
    t.mTxt->SetFontSize(h2.iSize);
    t.mTxt->SetForeColor(quint32(h2.nFcr));
    t.mTxt->SetFontBold(true);
    t.mTxt->SetLeftIndent(h2.iLIdt);
    t.mTxt->SetSelStart(2);
    QString tx, cp;
    t.GetMTxt(tx, cp);
    EXPECT_EQ(cp, QStringLiteral("Heading two"));
    EXPECT_EQ(tx, QStringLiteral("intro\r\n\r\n■■　Heading two\r\nbody text"));
    EXPECT_EQ(t.mTxt->SelStart(), 2);

    uTxm& titled = open(1, true);
    titled.SetTitle(QStringLiteral("表題"));
    titled.mTxt->SetText(QStringLiteral("first\nsecond"));
    EXPECT_EQ(titled.Title(), QStringLiteral("表題"));
}

TEST_F(EditorTest, SetTextReportsUnmodifiedOnce) {
    ScriptedPrompter p;
    uTxm& t = open();
    type(QStringLiteral("x"));
    QList<bool> seen;
    QObject::connect(&t, &uTxm::eEdtCng, [&](bool& b) { seen << b; });
    t.SetText(QStringLiteral("replaced"));
    EXPECT_EQ(seen, QList<bool>{false});
    EXPECT_FALSE(t.bDcEdt());
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("replaced"));
    EXPECT_TRUE(t.bHaveData());
    t.SetText(QString());
    EXPECT_FALSE(t.bHaveData());
}

TEST_F(EditorTest, DatabaseSaveKeepsACopyAndDropsEmptyFields) {
    ScriptedPrompter p;
    p.setStrict(true);
    uTxm& t = open(0);
    t.mTxt->SetText(QStringLiteral("page "));
    t.mTxt->SetSelStart(5);
    const int empty = t.mTxt->FieldInsert(QString());
    t.mTxt->SetFieldTarget(empty, QStringLiteral("TP_x"));
    t.SetDcEdt(true);
    t.rtAct(87, true);
    t.nTmpPage = 12;
    t.sDbName = QStringLiteral("pages");
    int stored = 0;
    QObject::connect(&t, &uTxm::eSaveDB, [&] { ++stored; });
    t.rtAct(4);
    EXPECT_EQ(stored, 1);
    EXPECT_EQ(t.mTxt->NextField(0, 0), 0);
    EXPECT_TRUE(QFile::exists(Usr::sUsrFd + QStringLiteral("Dbs/pages_doc/0012.doc")));
    t.nTmpPage = 0;
    t.rtAct(4);
    EXPECT_TRUE(QFile::exists(Usr::sWrkFd + QStringLiteral("temp.doc")));
}
