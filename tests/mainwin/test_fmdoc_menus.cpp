// The main menu of the real window: its items, how they dispatch, their
// states, the database connection and the code-page submenu.
#include "Db.h"
#include "DbSchema.h"
#include "MainWindowFixture.h"
#include "TxEngine.h"
#include "Usr.h"
#include "uFky.h"
#include "uTxm.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

// Adds a code page (a document row marked as code) to the open database.
void addCodePage(int no, const QString& title) {
    bool ok = false;
    qint64 n = 0;
    Usr::DbExec(QStringLiteral("Insert Into msDoc (noDoc, boUse, boCod, szDoc, wkRnd) "
                               "Values (%1, 1, 1, '%2', 0.5)")
                    .arg(no)
                    .arg(title),
                ok, n);
    ASSERT_TRUE(ok);
}

} // namespace

TEST_F(MainWindowTest, MenuBarAsDesigned) {
    fmDoc& m = start();
    QStringList tops;
    for (QAction* a : m.menuBar()->actions())
        if (a->isVisible())
            tops << a->text();
    EXPECT_EQ(tops, (QStringList{"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "挿入(&I)", "書式(&S)",
                                 "表(&T)", "ﾗﾍﾞﾙ枠(&W)", "外部文書(&B)", "設定(&U)"}));
    EXPECT_FALSE(m.TopMenu(8)->menuAction()->isVisible()); // "ﾂｰﾙ(&L)"

    EXPECT_EQ(item("mnFile", 1)->shortcut(), QKeySequence(Qt::Key_F8));
    EXPECT_EQ(item("mnFile", 2)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
    EXPECT_EQ(item("mnSelc", 0)->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(item("mnEdit", 9)->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_TRUE(item("mnFile", 3)->isSeparator());
    EXPECT_EQ(item("mnEdit", 7), nullptr); // no item 7 in the edit menu
    EXPECT_EQ(item("mnSelc", 10), nullptr);
    EXPECT_EQ(item("mnTins", 6)->text(), QStringLiteral("下に行"));
    EXPECT_NE(item("mnFile", 6)->menu(), nullptr);
    EXPECT_TRUE(item("mnDisp", 0)->isChecked());
    EXPECT_EQ(item("mnUser", 8)->text(), QStringLiteral("「送る」にｼｮｰﾄｶｯﾄ作成"));

    // The sixteen keys are linked to their items (menu code = group, index).
    const QString map = m.keyBar()->KeyMap();
    for (const char* link : {"F2=50,", "F7=55,", "F8=21,", "F9=57,", "C2=24,", "C4=22,", "C5=2B,",
                             "C6=F0,", "C7=5C,", "C8=5D,", "C9=28,"})
        EXPECT_TRUE(map.contains(QLatin1String(link))) << link;
}

TEST_F(MainWindowTest, ItemsDispatchByCaptionTextAndKeysFollowTheirItems) {
    fmDoc& m = start();
    uTxm* t = m.editor();
    QList<int> codes;
    QObject::connect(t, &uTxm::eRtAct, &m, [&codes](int& iJb) { codes.append(iJb); });
    t->SetText(QStringLiteral("abc def"));

    // A caption changed at run time still runs its command by the text
    // before "(".
    item("mnEdit", 10)->setText(QStringLiteral("全て選択(&Q)"));
    item("mnEdit", 10)->trigger();
    EXPECT_EQ(codes.value(0), 21);
    EXPECT_EQ(t->SelTxt(), QStringLiteral("abc def"));

    // The picture item of the insert menu and the one of the size dialog
    // share a text but not an action; the bar reaches an item by its code.
    QString none;
    codes.clear();
    m.fnMenu(6, 4, none);
    m.fnMenu(5, 3, none);
    m.fnMenu(12, 2, none);
    m.fnMenu(3, 2, none); // a separator does nothing
    EXPECT_EQ(codes, (QList<int>{34, 60, 88}));

    // Table items go through group 0 with their option words.
    codes.clear();
    item("mnTdel", 1)->trigger();
    EXPECT_EQ(codes, QList<int>{82});
}

TEST_F(MainWindowTest, ClearAllAskedAndCancelledSendsNothing) {
    fmDoc& m = start();
    uTxm* t = m.editor();
    QList<int> codes;
    QObject::connect(t, &uTxm::eRtAct, &m, [&codes](int& iJb) { codes.append(iJb); });
    t->SetText(QStringLiteral("keep me"));

    prompter.answerMessage(Prompter::Answer::Cancel);
    item("mnEdit", 8)->trigger();
    ASSERT_FALSE(prompter.calls.isEmpty());
    EXPECT_EQ(prompter.calls.last().text, QStringLiteral("文書全体を初期化して良いですか"));
    EXPECT_EQ(prompter.calls.last().buttons, Prompter::Buttons::OkCancel);
    EXPECT_EQ(codes, QList<int>{0});
    EXPECT_EQ(t->mTxt->Text(), QStringLiteral("keep me"));

    prompter.answerMessage(Prompter::Answer::Ok);
    item("mnEdit", 8)->trigger();
    EXPECT_EQ(codes.last(), 2);
    EXPECT_TRUE(t->mTxt->Text().isEmpty());
}

TEST_F(MainWindowTest, OpeningAMenuTakesTheStatesFromTheEditor) {
    fmDoc& m = start();
    m.RefreshMenu(0);
    EXPECT_FALSE(item("mnFile", 1)->isEnabled());
    EXPECT_FALSE(item("mnFile", 2)->isEnabled());
    EXPECT_FALSE(item("mnMail", 0)->isEnabled());
    EXPECT_TRUE(item("mnMail", 2)->isEnabled());
    m.RefreshMenu(1);
    EXPECT_FALSE(item("mnEdit", 9)->isEnabled());

    activate();
    m.editor()->mTxt->setFocus();
    QTest::keyClicks(m.editor()->mTxt, QStringLiteral("text"));
    emit m.TopMenu(0)->aboutToShow();
    EXPECT_TRUE(item("mnFile", 1)->isEnabled());
    EXPECT_TRUE(item("mnFile", 5)->isEnabled());
    m.RefreshMenu(1);
    EXPECT_TRUE(item("mnEdit", 0)->isEnabled()); // undo
    EXPECT_TRUE(item("mnEdit", 12)->isEnabled());
    EXPECT_FALSE(item("mnEdit", 3)->isEnabled()); // nothing selected to cut
}

TEST_F(MainWindowTest, CodePagesFillTheExportSubmenu) {
    const QString db = dir + QStringLiteral("/pages.txdb");
    bool ok = false;
    Usr::DbCreate(db, ok);
    ASSERT_TRUE(ok);
    store(QStringLiteral("DC_KBS"), QStringLiteral("DBS"), db);
    fmDoc& m = start();
    ASSERT_EQ(m.DbPath(), db);
    EXPECT_EQ(item("mnDxdb", 0)->text(), QStringLiteral("接続先(pages)を変更"));
    EXPECT_EQ(item("mnDxdb", 9)->text(), QStringLiteral("起動(pages)"));
    for (int i : {2, 3, 4, 7, 9})
        EXPECT_TRUE(item("mnDxdb", i)->isEnabled()) << i;
    // No code page yet: nothing to export by date.
    EXPECT_FALSE(item("mnDxdb", 6)->isEnabled());

    addCodePage(1000, QStringLiteral("日記"));
    addCodePage(1001, QStringLiteral("会議"));
    addCodePage(1002, QStringLiteral("メモ"));
    m.SetCodeMenu();
    EXPECT_TRUE(item("mnDxdb", 6)->isEnabled());
    EXPECT_EQ(item("mnCxd", 0)->text(), QStringLiteral("日記"));
    EXPECT_EQ(item("mnCxd", 2)->text(), QStringLiteral("メモ"));
    EXPECT_TRUE(item("mnCxd", 3)->isSeparator());
    EXPECT_EQ(item("mnCxd", 4)->text(), QStringLiteral("再表示"));
    EXPECT_EQ(m.CodeNumbers(), QStringLiteral("010000100101002"));

    bool del = false;
    qint64 n = 0;
    Usr::DbExec(QStringLiteral("Delete From msDoc Where noDoc > 1000"), del, n);
    ASSERT_TRUE(del);
    // The last item rebuilds the list.
    item("mnCxd", 4)->trigger();
    EXPECT_EQ(item("mnCxd", 0)->text(), QStringLiteral("日記"));
    EXPECT_TRUE(item("mnCxd", 1)->isSeparator());
    EXPECT_EQ(item("mnCxd", 2)->text(), QStringLiteral("再表示"));
    EXPECT_FALSE(item("mnCxd", 3)->isVisible());
    EXPECT_FALSE(item("mnCxd", 4)->isVisible());
    EXPECT_EQ(m.CodeNumbers(), QStringLiteral("01000"));

    // A code page chosen with an empty editor says so.
    item("mnCxd", 0)->trigger();
    EXPECT_EQ(prompter.messages().value(0), QStringLiteral("現在の文書が空です"));

    quit();
    EXPECT_EQ(stored(QStringLiteral("DC_KBS"), QStringLiteral("DBS")), db);
}

TEST_F(MainWindowTest, ConnectDialogCreatesANewDatabase) {
    fmDoc& m = start();
    // Declined: nothing is created.
    prompter.answerOpenFile(dir + QStringLiteral("/notes"));
    prompter.answerMessage(Prompter::Answer::No);
    item("mnDxdb", 0)->trigger();
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/notes.txdb")));
    EXPECT_TRUE(m.DbPath().isEmpty());
    ASSERT_GE(prompter.calls.size(), 2);
    EXPECT_EQ(prompter.calls[0].title, QStringLiteral("文書DBの接続先を指定"));
    EXPECT_TRUE(prompter.calls[0].detail.contains(QStringLiteral("*.txdb")));

    prompter.answerOpenFile(dir + QStringLiteral("/notes"));
    prompter.answerMessage(Prompter::Answer::Yes);
    item("mnDxdb", 0)->trigger();
    const QString db = dir + QStringLiteral("/notes.txdb");
    EXPECT_TRUE(QFileInfo::exists(db));
    EXPECT_EQ(m.DbPath(), db);
    EXPECT_TRUE(Usr::DbIsOpen());
    EXPECT_EQ(item("mnDxdb", 0)->text(), QStringLiteral("接続先(notes)を変更"));
    EXPECT_TRUE(item("mnDxdb", 3)->isEnabled());
    EXPECT_EQ(m.keyBar()->PanelText().trimmed(), QStringLiteral("文書DB : ") + db);

    // A file that is no database leaves the window on the one it had.
    const QString junk = dir + QStringLiteral("/junk.txdb");
    TestEnv::writeFile(junk, "not a database at all");
    prompter.answerOpenFile(junk);
    item("mnDxdb", 0)->trigger();
    EXPECT_EQ(m.DbPath(), db);
    EXPECT_TRUE(Usr::DbIsOpen());
    EXPECT_EQ(Usr::DbFilePath(), db);
    // The dialog starts in the folder of the last choice; Cancel changes nothing.
    QString start;
    for (const ScriptedPrompter::Call& c : prompter.calls)
        if (c.kind == QLatin1String("openFile"))
            start = c.detail.section(u'|', -1);
    EXPECT_EQ(start, dir + u'/');
    prompter.answerOpenFile(QString());
    item("mnDxdb", 0)->trigger();
    EXPECT_EQ(m.DbPath(), db);
}

TEST_F(MainWindowTest, LinkThatMightStartAProgramIsConfirmed) {
    fmDoc& m = start();
    const QString script = dir + QStringLiteral("/run.sh");
    TestEnv::writeFile(script, "#!/bin/sh\ntouch " + (dir + "/ran").toUtf8() + "\n");
    QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
    prompter.answerMessage(Prompter::Answer::No);
    QString typ = QStringLiteral("HL"), cap = QStringLiteral("click me"), val = script;
    emit m.editor()->eClckLink(typ, cap, val);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains(script));
    EXPECT_EQ(prompter.calls[0].buttons, Prompter::Buttons::YesNo);
    QTest::qWait(200);
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/ran")));
}
