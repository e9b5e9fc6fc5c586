// The main window's caption names the document's file: saving a label
// frame's content as a file of its own leaves it alone, while the document's
// own save as moves it to the new file.
#include "MainWindowFixture.h"
#include "TxEngine.h"
#include "uTrE.h"
#include "uTxm.h"

#include <QAction>
#include <QFileInfo>

TEST_F(MainWindowTest, FrameSavedAsAFileKeepsTheDocumentsCaption) {
    fmDoc& m = start();
    uTxm* ed = m.editor();
    const QString folder = m.filePane()->GetPth(0);

    // A sheet of two label frames, saved as the document.
    ed->rtActTL(1);
    TxEngine* e = ed->mTxt;
    const int frame = e->NextTextFrame(0);
    ASSERT_NE(frame, 0);
    e->TextFrameSelect(frame);
    e->SetText(QStringLiteral("Addressee"));
    e->TextFrameSelect(0);
    const QString sheet = folder + QStringLiteral("/sheet.doc");
    prompter.answerSaveFile(sheet);
    item(QStringLiteral("mnFile"), 2)->trigger();
    ASSERT_TRUE(QFileInfo::exists(sheet));
    ASSERT_EQ(m.windowTitle(), sheet);

    // The frame's content saved through the frame menu.
    e->TextFrameSelect(frame);
    ASSERT_EQ(ed->iTf, frame);
    const QString part = folder + QStringLiteral("/frame.doc");
    prompter.answerSaveFile(part);
    item(QStringLiteral("mnTxFd"), 3)->trigger();
    ASSERT_TRUE(QFileInfo::exists(part)) << "the frame was written";
    EXPECT_EQ(m.windowTitle(), sheet) << "the caption still names the document";
    EXPECT_EQ(ed->sFlNm, sheet);
    EXPECT_FALSE(ed->SavingFrame());
    // The file pane, showing that folder, lists the new file all the same.
    EXPECT_EQ(m.filePane()->GetFile(), part);

    // The document's own save as still renames the caption.
    e->TextFrameSelect(0);
    const QString copy = folder + QStringLiteral("/copy.doc");
    prompter.answerSaveFile(copy);
    item(QStringLiteral("mnFile"), 2)->trigger();
    EXPECT_EQ(m.windowTitle(), copy);
}
