// The editor hosted in the main window: a file from the command line opens,
// Ctrl+S / F8 save it, the caption shows it, closing asks about unsaved work.
#include "EditorFixture.h"
#include "fmDoc.h"

#include <QCloseEvent>
#include <QTest>

TEST_F(EditorTest, CommandLineNamesOneExistingFile) {
    const QString file = dir + QStringLiteral("/a b.txt");
    TestEnv::writeFile(file, "x");
    EXPECT_EQ(fmDoc::CommandLineFile(u'"' + file + QStringLiteral("\"\tmore")), file);
    EXPECT_EQ(fmDoc::CommandLineFile(file), file);
    EXPECT_EQ(fmDoc::CommandLineFile(dir), QString());
    EXPECT_EQ(fmDoc::CommandLineFile(QString()), QString());
}

TEST_F(EditorTest, MainWindowOpensEditsAndSavesAFile) {
    ScriptedPrompter p;
    settings().sXmlPh = dir + QStringLiteral("/User.xml");
    const QString file = dir + QStringLiteral("/page.doc");
    TestEnv::writeFile(file, docBytes(QStringLiteral("from disk")));

    fmDoc w;
    w.Act();
    uTxm* t = w.editor();
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->bLoad);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Folium"));
    w.OpenCommandLine(u'"' + file + QStringLiteral("\"\t-x"));
    EXPECT_EQ(w.windowTitle(), file);
    EXPECT_EQ(t->mTxt->Text(), QStringLiteral("from disk"));

    t->mTxt->setFocus();
    t->mTxt->moveCursor(QTextCursor::End);
    QTest::keyClicks(t->mTxt, QStringLiteral(" and more"));
    EXPECT_TRUE(t->bDcEdt());
    QTest::keyClick(t->mTxt, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(t->bDcEdt());
    TxEngine check;
    ASSERT_TRUE(check.LoadFile(file, TxEngine::FmtDoc));
    EXPECT_EQ(check.Text(), QStringLiteral("from disk and more"));

    QTest::keyClicks(t->mTxt, QStringLiteral("!"));
    QTest::keyClick(t->mTxt, Qt::Key_F8);
    EXPECT_FALSE(t->bDcEdt());

    // Closing with unsaved work asks; Cancel keeps the window open.
    QTest::keyClicks(t->mTxt, QStringLiteral("?"));
    p.answerMessage(Prompter::Answer::Cancel);
    QCloseEvent refused;
    QCoreApplication::sendEvent(&w, &refused);
    EXPECT_FALSE(refused.isAccepted());
    EXPECT_TRUE(t->bLoad);
    p.answerMessage(Prompter::Answer::No);
    QCloseEvent accepted;
    QCoreApplication::sendEvent(&w, &accepted);
    EXPECT_TRUE(accepted.isAccepted());
    EXPECT_FALSE(t->bLoad);
}
