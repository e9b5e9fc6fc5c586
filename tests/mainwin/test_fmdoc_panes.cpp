// The file pane hosted in the main window: its folder items, what saving
// and new documents do to it, and the keys it keeps for itself.
#include "MainWindowFixture.h"
#include "TxEngine.h"
#include "Usr.h"
#include "uTrE.h"
#include "uTrELists.h"
#include "uTxm.h"
#include "yIni.h"

#include <QAction>
#include <QDir>
#include <QTest>

TEST_F(MainWindowTest, FolderItemsMoveTheFilePane) {
    fmDoc& m = start();
    item(QStringLiteral("mnOpnFd"), 2)->trigger();
    EXPECT_EQ(m.filePane()->GetPth(0), Usr::sUsrFd + QStringLiteral("Doc"));
    item(QStringLiteral("mnOpnFd"), 1)->trigger();
    EXPECT_EQ(m.filePane()->GetPth(0), yIni::FsGtSpFld(5));

    const QString other = dir + QStringLiteral("/elsewhere");
    QDir().mkpath(other);
    prompter.answerFolder(other);
    item(QStringLiteral("mnOpnFd"), 0)->trigger();
    EXPECT_EQ(m.filePane()->GetPth(0), other);
    // The picker started at the pane's folder; Cancel leaves it.
    ASSERT_FALSE(prompter.calls.isEmpty());
    EXPECT_EQ(prompter.calls.last().detail, yIni::FsGtSpFld(5));
    prompter.answerFolder(QString());
    item(QStringLiteral("mnOpnFd"), 0)->trigger();
    EXPECT_EQ(m.filePane()->GetPth(0), other);
}

TEST_F(MainWindowTest, SavingSelectsTheFileAndANewDocumentClearsTheSelection) {
    fmDoc& m = start();
    const QString folder = m.filePane()->GetPth(0);
    m.editor()->SetText(QStringLiteral("first words"));
    m.editor()->SetDcEdt(true);

    // A new document saved with F8's item asks for a name in the pane's folder.
    const QString file = folder + QStringLiteral("/first.doc");
    prompter.answerSaveFile(file);
    item(QStringLiteral("mnFile"), 1)->trigger();
    ASSERT_FALSE(prompter.calls.isEmpty());
    EXPECT_EQ(prompter.calls.last().kind, QStringLiteral("saveFile"));
    EXPECT_TRUE(prompter.calls.last().detail.endsWith(u'|' + folder + u'/'));
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(m.windowTitle(), file);
    EXPECT_EQ(m.filePane()->GetFile(), file);

    // Save as: the new file is selected in the pane.
    const QString copy = folder + QStringLiteral("/second.doc");
    prompter.answerSaveFile(copy);
    item(QStringLiteral("mnFile"), 2)->trigger();
    EXPECT_TRUE(QFileInfo::exists(copy));
    EXPECT_EQ(m.windowTitle(), copy);
    EXPECT_EQ(m.filePane()->GetFile(), copy);
    EXPECT_EQ(m.editor()->mTxt->Text(), QStringLiteral("first words"));

    item(QStringLiteral("mnFile"), 0)->trigger();
    EXPECT_TRUE(m.filePane()->GetFile().isEmpty());
    EXPECT_TRUE(m.editor()->mTxt->Text().isEmpty());
}

TEST_F(MainWindowTest, FilePaneKeepsItsOwnDeleteKey) {
    const QString folder = Usr::sUsrFd + QStringLiteral("Doc");
    TestEnv::writeFile(folder + QStringLiteral("/keep.doc"), docBytes(QStringLiteral("on disk")));
    store(QStringLiteral("TX_SCREEN"), QStringLiteral("PATH"), QStringLiteral("Doc"));
    fmDoc& m = start();
    activate();
    m.filePane()->SetFile(QStringLiteral("keep.doc"));
    ASSERT_EQ(m.editor()->mTxt->Text(), QStringLiteral("on disk"));
    m.editor()->mTxt->selectAll();
    QList<int> codes;
    QObject::connect(m.editor(), &uTxm::eRtAct, &m, [&codes](int& iJb) { codes.append(iJb); });

    // Delete in the file list asks to delete the file (answered No) and does
    // not clear the editor through the menu's Del shortcut.
    QWidget* list = m.filePane()->File1();
    list->setFocus();
    prompter.answerMessage(Prompter::Answer::No);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_FALSE(codes.contains(20));
    EXPECT_EQ(m.editor()->mTxt->Text(), QStringLiteral("on disk"));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/keep.doc")));
    ASSERT_FALSE(prompter.calls.isEmpty());
    EXPECT_TRUE(prompter.calls.last().text.contains(QStringLiteral("keep.doc")));
}
