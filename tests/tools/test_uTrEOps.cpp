// The file pane's popup menus: clipboard cut/copy/paste with the desktop's
// formats, delete to the trash and rename, on real folders.
#include "FileClipboard.h"
#include "ScriptedPrompter.h"
#include "spTrE.h"
#include "uTrEFixture.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QStandardPaths>

namespace {

using A = Prompter::Answer;

// Answers popups with a fixed entry and notes which entries were enabled.
struct MenuChooser {
    QList<bool> enabled;
    explicit MenuChooser(int answer) {
        spTrE::setChooser([this, answer](QMenu* menu) {
            enabled.clear();
            for (QAction* a : menu->actions())
                enabled << a->isEnabled();
            return answer;
        });
    }
    ~MenuChooser() { spTrE::setChooser({}); }
};

} // namespace

class PaneOpsTest : public PaneTest {
protected:
    QString other = TestEnv::freshDir(QStringLiteral("other"));
    QString in(const QString& name) const { return other + u'/' + name; }
};

TEST_F(PaneOpsTest, CopyThenPasteCopies) {
    make(at(QStringLiteral("c.doc")), "content");
    start(dir);
    pane->SetFile(QStringLiteral("c.doc"));
    pane->DoFileMenu(1);
    EXPECT_EQ(FileClipboard::read().effect, FileClipboard::kCopy);
    pane->SetPth(other);
    pane->DoFileMenu(2);
    EXPECT_EQ(TestEnv::readFile(in(QStringLiteral("c.doc"))), "content");
    EXPECT_TRUE(QFile::exists(at(QStringLiteral("c.doc"))));
    EXPECT_EQ(names(), QStringList({"c.doc"}));
    EXPECT_EQ(stFiles().last(), QString());   // the host's previous choice is void
    EXPECT_TRUE(FileClipboard::holdsFiles()); // a copy can be pasted again
}

TEST_F(PaneOpsTest, CutThenPasteMovesAndEmptiesTheClipboard) {
    make(at(QStringLiteral("m.doc")), "moving");
    make(at(QStringLiteral("stay.doc")));
    start(dir);
    pane->SetFile(QStringLiteral("m.doc"));
    pane->DoFileMenu(0);
    pane->SetPth(other);
    pane->DoFileMenu(2);
    EXPECT_EQ(TestEnv::readFile(in(QStringLiteral("m.doc"))), "moving");
    EXPECT_FALSE(QFile::exists(at(QStringLiteral("m.doc"))));
    EXPECT_FALSE(FileClipboard::holdsFiles());
}

TEST_F(PaneOpsTest, PasteWithoutADropEffectDoesNothing) {
    make(at(QStringLiteral("p.doc")));
    start(other);
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(at(QStringLiteral("p.doc")))});
    QGuiApplication::clipboard()->setMimeData(data);
    pane->PasteFiles();
    EXPECT_TRUE(names().isEmpty());
    EXPECT_TRUE(stFile.isEmpty());
}

TEST_F(PaneOpsTest, PasteOverAnExistingFileAsksFirst) {
    make(at(QStringLiteral("c.doc")), "new");
    make(in(QStringLiteral("c.doc")), "old");
    start(other);
    ScriptedPrompter ask;
    ask.answerMessage(A::No);
    ASSERT_TRUE(FileClipboard::put({at(QStringLiteral("c.doc"))}, FileClipboard::kCut));
    pane->PasteFiles();
    EXPECT_EQ(TestEnv::readFile(in(QStringLiteral("c.doc"))), "old");
    EXPECT_EQ(TestEnv::readFile(at(QStringLiteral("c.doc"))), "new");
    EXPECT_EQ(ask.calls.size(), 1);
    EXPECT_TRUE(FileClipboard::holdsFiles()); // nothing moved, the list stays
}

TEST_F(PaneOpsTest, DeleteGoesToTheTrashAndTheNextFileIsClicked) {
    for (const char* n : {"a.doc", "b.doc", "c.doc"})
        make(at(QString::fromLatin1(n)), n);
    start(dir);
    pane->SetFile(QStringLiteral("b.doc"));
    stFile.clear();
    ScriptedPrompter ask;
    ask.answerMessage(A::Yes);
    pane->DoFileMenu(4);
    const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                          QStringLiteral("/Trash/files/b.doc");
    EXPECT_EQ(TestEnv::readFile(trash), "b.doc");
    EXPECT_EQ(names(), QStringList({"a.doc", "c.doc"}));
    EXPECT_EQ(stFiles(), QStringList({QString(), at(QStringLiteral("c.doc"))}));
    EXPECT_EQ(ask.calls[0].text, QStringLiteral("b.doc をごみ箱に移動しますか?"));
}

TEST_F(PaneOpsTest, RenameAsksForTheNameAndRefusesTakenOrBadNames) {
    make(at(QStringLiteral("r.doc")), "r");
    make(at(QStringLiteral("taken.doc")), "t");
    start(dir);
    pane->SetFile(QStringLiteral("r.doc"));
    ScriptedPrompter ask;
    ask.setStrict(true);
    ask.answerInput(QString());                   // empty: nothing, silently
    ask.answerInput(std::nullopt);                // cancelled
    ask.answerInput(QStringLiteral("taken.doc")); // in use
    ask.answerMessage(A::Ok);
    ask.answerInput(QStringLiteral("sub/x.doc")); // not a name
    ask.answerMessage(A::Ok);
    ask.answerInput(QStringLiteral("新しい.doc"));
    for (int i = 0; i < 5; ++i)
        pane->DoFileMenu(5);
    EXPECT_EQ(ask.calls[0].text, QStringLiteral("ﾌｧｲﾙ名の変更"));
    EXPECT_EQ(ask.calls[0].title, QString());
    EXPECT_EQ(ask.calls[0].detail, QStringLiteral("r.doc"));
    EXPECT_EQ(TestEnv::readFile(at(QStringLiteral("taken.doc"))), "t");
    ASSERT_EQ(ask.messages().size(), 2);
    EXPECT_TRUE(ask.messages()[0].contains(QStringLiteral("taken.doc は既に存在します")));
    EXPECT_EQ(TestEnv::readFile(at(QStringLiteral("新しい.doc"))), "r");
    EXPECT_FALSE(QFile::exists(at(QStringLiteral("r.doc"))));
    EXPECT_EQ(pane->GetFile(), at(QStringLiteral("新しい.doc")));
}

TEST_F(PaneOpsTest, MenusCarryTheirCaptionsAndEnableByState) {
    spTrE& m = *pane->menus();
    EXPECT_EQ(m.mnJb(0)->title(), QStringLiteral("ﾌｫﾙﾀﾞ"));
    EXPECT_EQ(m.mnJb(1)->title(), QStringLiteral("ﾌｧｲﾙ"));
    EXPECT_EQ(m.mnFld(0)->text(), QStringLiteral("ｴｸｽﾌﾟﾛｰﾗｰ"));
    const QStringList captions = {"切り取り", "ｺﾋﾟｰ",       "貼り付け", "",
                                  "削除",     "名前の変更", "",         "新規ﾌｧｲﾙ"};
    for (int i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(m.mnFile(i)->text(), captions[i]);
        EXPECT_EQ(m.mnFile(i)->isSeparator(), captions[i].isEmpty());
    }

    make(at(QStringLiteral("f.doc")));
    start(dir);
    FileClipboard::clear();
    {
        MenuChooser choose(0); // "切り取り" while nothing is selected
        pane->FileMenu({});
        EXPECT_EQ(choose.enabled,
                  QList<bool>({false, false, false, true, false, false, true, true}));
        EXPECT_EQ(m.nAns, -1);
        EXPECT_FALSE(FileClipboard::holdsFiles());
    }
    pane->SetFile(QStringLiteral("f.doc"));
    {
        MenuChooser choose(1);
        pane->FileMenu({});
        EXPECT_EQ(m.nAns, 1);
        EXPECT_EQ(FileClipboard::read().paths, QStringList({at(QStringLiteral("f.doc"))}));
        pane->FileMenu({});
        EXPECT_EQ(choose.enabled, QList<bool>({true, true, true, true, true, true, true, true}));
    }
    {
        MenuChooser choose(0);
        pane->FolderMenu({});
        ASSERT_EQ(opened.size(), 1);
        EXPECT_EQ(opened[0], QUrl::fromLocalFile(dir)); // explored, not opened as a file
    }
}
