// The file pane's lists, selection, events and refresh.
#include "ScriptedPrompter.h"
#include "uTrEFixture.h"

#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QStorageInfo>
#include <QTest>
#include <QThread>
#include <QTimer>

TEST_F(PaneTest, NoFolderStartsInTheUserDataFolderWithNothingSelected) {
    make(Usr::sUsrFd + QStringLiteral("one.doc"));
    make(Usr::sUsrFd + QStringLiteral("two.txt"));
    start(at(QStringLiteral("missing.doc")));
    EXPECT_EQ(pane->GetPth(1), Usr::sUsrFd);
    EXPECT_EQ(pane->File1()->currentRow(), 0); // the first file is current ...
    EXPECT_EQ(pane->GetFile(), QString());     // ... but not selected
    EXPECT_EQ(pane->sGetFls(true), QString());
    EXPECT_EQ(pane->sGetFls(false),
              Usr::sUsrFd + QStringLiteral("one.doc\t") + Usr::sUsrFd + QStringLiteral("two.txt"));
    EXPECT_TRUE(stFile.isEmpty());
    EXPECT_TRUE(cngDr.isEmpty());
}

TEST_F(PaneTest, FileListShowsThePatternSortedWithoutFoldersOrHiddenFiles) {
    for (const char* n : {"b.doc", "A.txt", "noext", ".hidden"})
        make(at(QString::fromLatin1(n)));
    QDir().mkpath(at(QStringLiteral("sub")));
    start(dir);
    EXPECT_EQ(names(), QStringList({"A.txt", "b.doc", "noext"}));
    pane->cOn(dir, QStringLiteral("*.DOC"), QString());
    EXPECT_EQ(names(), QStringList({"b.doc"}));
    EXPECT_TRUE(pane->IsDoc(QStringLiteral("A.TXT"))); // no document patterns: every file
}

TEST_F(PaneTest, GetPthGivesTheRootOnceTheFolderAndTheHighlight) {
    QDir().mkpath(at(QStringLiteral("sub")));
    start(dir);
    EXPECT_EQ(pane->GetPth(0), dir);
    EXPECT_EQ(pane->GetPth(1), dir + u'/');
    EXPECT_EQ(pane->GetPth(2), dir); // nothing else highlighted
    const QList<QTreeWidgetItem*> subs =
        pane->Dir1()->findItems(QStringLiteral("sub"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(subs.size(), 1);
    pane->Dir1()->setCurrentItem(subs[0]);
    EXPECT_EQ(pane->GetPth(2), at(QStringLiteral("sub")));
    EXPECT_EQ(pane->GetPth(0), dir); // highlighting does not change the folder

    pane->SetPth(QStringLiteral("/"));
    EXPECT_EQ(pane->GetPth(1), QStringLiteral("/"));
    EXPECT_EQ(pane->GetPth(0), QStringLiteral("/"));
    pane->SetPth(at(QStringLiteral("nowhere")));
    EXPECT_EQ(pane->GetPth(0), QStringLiteral("/"));
    EXPECT_TRUE(cngDr.isEmpty()); // the host's own calls raise nothing
}

TEST_F(PaneTest, DriveListShowsTheVolumeOfTheFolder) {
    start(dir);
    EXPECT_EQ(pane->Drive1()->currentData().toString(), QStorageInfo(dir).rootPath());
    EXPECT_GE(pane->Drive1()->findData(QStorageInfo(QStringLiteral("/")).rootPath()), 0);
}

TEST_F(PaneTest, SetFileSelectsIgnoringCaseAndReportsDocumentsOnly) {
    make(at(QStringLiteral("b.doc")));
    make(at(QStringLiteral("A.txt")));
    make(at(QStringLiteral("UP.DOC")));
    start(dir);
    pane->SetFile(QStringLiteral("B.DOC"));
    EXPECT_EQ(pane->GetFile(), at(QStringLiteral("b.doc")));
    pane->SetFile(QStringLiteral("a.txt"));
    EXPECT_EQ(pane->GetFile(), at(QStringLiteral("A.txt")));
    pane->SetFile(QStringLiteral("up.doc")); // capitals are no document for "*.doc"
    pane->SetFile(QStringLiteral("missing.doc"));
    EXPECT_EQ(pane->GetFile(), at(QStringLiteral("UP.DOC")));
    EXPECT_EQ(stFiles(), QStringList({at(QStringLiteral("b.doc"))}));
    pane->NoSelc();
    EXPECT_EQ(pane->GetFile(), QString());
    EXPECT_EQ(pane->File1()->currentItem(), nullptr);
}

TEST_F(PaneTest, ClicksOpenDocumentsOnceAndOtherFilesOnTheDesktop) {
    make(at(QStringLiteral("b.doc")));
    make(at(QStringLiteral("c.txt")));
    start(dir);
    uTrEFile* list = pane->File1();
    // A real click on the first entry.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(stFiles(), QStringList({at(QStringLiteral("b.doc"))}));
    // The double click that follows does not report the document again.
    pane->File1_DblClick();
    EXPECT_EQ(stFile.size(), 1);
    EXPECT_TRUE(opened.isEmpty());

    list->selectOnly(1);
    pane->File1_Click();
    pane->File1_DblClick();
    EXPECT_EQ(stFile.size(), 1);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toLocalFile(), at(QStringLiteral("c.txt")));

    list->selectOnly(0); // a double click without a click of its own (Enter)
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(stFile.size(), 2);
}

TEST_F(PaneTest, OpeningAFolderMovesTheFileListAndReportsIt) {
    QDir().mkpath(at(QStringLiteral("sub")));
    make(at(QStringLiteral("sub/in.doc")));
    start(dir);
    const QList<QTreeWidgetItem*> subs =
        pane->Dir1()->findItems(QStringLiteral("sub"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(subs.size(), 1);
    emit pane->Dir1()->itemActivated(subs[0], 0);
    EXPECT_EQ(pane->GetPth(0), at(QStringLiteral("sub")));
    EXPECT_EQ(names(), QStringList({"in.doc"}));
    ASSERT_EQ(cngDr.size(), 1);
    EXPECT_EQ(cngDr[0].value(0).toString(), at(QStringLiteral("sub")));
    pane->Dir1_Change(at(QStringLiteral("gone"))); // not there: nothing moves
    EXPECT_EQ(cngDr.size(), 1);
}

TEST_F(PaneTest, FolderButtonAppliesThePickedFolderAndIgnoresACancel) {
    QDir().mkpath(at(QStringLiteral("sub")));
    start(dir);
    ScriptedPrompter ask;
    ask.answerFolder(at(QStringLiteral("sub")));
    ask.answerFolder(QString());
    QTest::mouseClick(pane->cmRet(), Qt::LeftButton);
    EXPECT_EQ(pane->GetPth(0), at(QStringLiteral("sub")));
    pane->cmRet_Click();
    EXPECT_EQ(pane->GetPth(0), at(QStringLiteral("sub")));
    ASSERT_EQ(cngDr.size(), 1);
    EXPECT_EQ(cngDr[0].value(0).toString(), at(QStringLiteral("sub")));
    ASSERT_EQ(ask.calls.size(), 2);
    EXPECT_EQ(ask.calls[0].title, QStringLiteral("ﾌｫﾙﾀﾞの指定"));
    EXPECT_EQ(ask.calls[0].detail, dir);
}

TEST_F(PaneTest, RefreshPicksUpAnotherProcessesFileAndKeepsTheSelection) {
    make(at(QStringLiteral("m.doc")));
    start(dir);
    pane->SetFile(QStringLiteral("m.doc"));
    QThread::msleep(20); // the folder's time must pass the last refresh
    ASSERT_EQ(QProcess::execute(QStringLiteral("touch"), {at(QStringLiteral("a.doc"))}), 0);
    pane->Refresh(false);
    EXPECT_EQ(names(), QStringList({"a.doc", "m.doc"}));
    EXPECT_EQ(pane->GetFile(), at(QStringLiteral("m.doc"))); // the name, not the index

    // Unchanged folder time: the timer's refresh leaves the lists alone.
    delete pane->File1()->takeItem(0);
    pane->Refresh(false);
    EXPECT_EQ(names(), QStringList({"m.doc"}));

    // The running timer finds a new file by itself.
    QThread::msleep(20);
    ASSERT_EQ(QProcess::execute(QStringLiteral("touch"), {at(QStringLiteral("z.doc"))}), 0);
    EXPECT_TRUE(pane->Timer1()->isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return names().contains(QStringLiteral("z.doc")); }, 10000));
    EXPECT_EQ(pane->GetFile(), at(QStringLiteral("m.doc")));
    EXPECT_EQ(stFile.size(), 1); // only SetFile's
}

TEST_F(PaneTest, UdtFldRefreshesAndSelectsWithoutReporting) {
    make(at(QStringLiteral("m.doc")));
    start(dir);
    make(at(QStringLiteral("new.doc")));
    pane->UdtFld(at(QStringLiteral("NEW.doc")));
    EXPECT_EQ(pane->GetFile(), at(QStringLiteral("new.doc")));
    EXPECT_TRUE(stFile.isEmpty());
}

TEST_F(PaneTest, DirHiIsTheFolderPaneHeightInTwips) {
    start(dir);
    pane->setDirHi(3000);
    EXPECT_NEAR(pane->DirHi(), 3000, Usr::kTwipsPerPixel);
    pane->setDirHi(0);
    EXPECT_NEAR(pane->DirHi(), 3000, Usr::kTwipsPerPixel);
    EXPECT_NEAR(pane->property("DirHi").toInt(), 3000, Usr::kTwipsPerPixel);
}
