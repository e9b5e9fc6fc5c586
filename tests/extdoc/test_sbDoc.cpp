// The external document window: shown from its dialog with the document's
// own engine, centred and not modal, nothing of the edited page touched;
// reached from the file menu's item 11.
#include "MainWindowFixture.h"
#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "TxEngine.h"
#include "TxFiles.h"
#include "sbDoc.h"
#include "uTxm.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

QByteArray wordBytes(const QString& text) {
    TxEngine e;
    e.SetText(text);
    bool ok = false;
    return e.SaveBytes(TxEngine::FmtDoc, 0, &ok);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

std::vector<sbDoc*> openWindows() {
    std::vector<sbDoc*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<sbDoc*>(w); d && d->isVisible())
            out.push_back(d);
    return out;
}

} // namespace

TEST(ExtDoc, ShowsTheChosenDocumentReadOnly) {
    ScriptedPrompter p;
    const QString dir = TestEnv::freshDir(QStringLiteral("extdoc"));
    const QString file = dir + QStringLiteral("/outside.doc");
    writeFile(file, wordBytes(QStringLiteral("外部の文書")));
    QWidget host;
    host.setGeometry(100, 100, 1200, 900);
    host.show();

    p.answerOpenFile(file);
    QPointer<sbDoc> w = sbDoc::Open(&host, dir);
    ASSERT_TRUE(w);
    ASSERT_EQ(p.calls.size(), 1);
    EXPECT_EQ(p.calls[0].title, QStringLiteral("文書の読み込み"));
    EXPECT_EQ(p.calls[0].detail, TxFiles::ExtDocFilter() + u'|' + dir);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(w->windowTitle(), file);
    EXPECT_EQ(w->engine()->Text(), QStringLiteral("外部の文書"));
    EXPECT_TRUE(w->engine()->isReadOnly()) << "nothing in this window is saved";
    EXPECT_LE((w->frameGeometry().center() - host.frameGeometry().center()).manhattanLength(), 4);
    // The engine fills the window.
    w->resize(500, 400);
    QApplication::processEvents();
    EXPECT_EQ(w->engine()->size(), w->size());
    w->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w) << "a closed window is gone";
}

TEST(ExtDoc, ShowsNothingForCancelledOtherOrUnreadableFiles) {
    ScriptedPrompter p;
    const QString dir = TestEnv::freshDir(QStringLiteral("extdoc2"));
    p.answerOpenFile(QString());
    EXPECT_FALSE(sbDoc::Open(nullptr, dir));
    // A file of a format the window does not show, and one that is gone.
    writeFile(dir + QStringLiteral("/a.pdf"), "%PDF-1.4");
    p.answerOpenFile(dir + QStringLiteral("/a.pdf"));
    EXPECT_FALSE(sbDoc::Open(nullptr, dir));
    p.answerOpenFile(dir + QStringLiteral("/gone.doc"));
    EXPECT_FALSE(sbDoc::Open(nullptr, dir));
    EXPECT_TRUE(p.messages().isEmpty()) << "ignored without a message";
    // A damaged document: the user is told, no window stays.
    const QString bad = dir + QStringLiteral("/bad.doc");
    writeFile(bad, QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(700, '\x02'));
    p.answerOpenFile(bad);
    EXPECT_FALSE(sbDoc::Open(nullptr, dir));
    ASSERT_EQ(p.messages().size(), 1);
    EXPECT_TRUE(p.messages()[0].startsWith(QStringLiteral("ﾌｧｲﾙ: ") + bad +
                                           QStringLiteral(" を読み込めません｡")));
    EXPECT_TRUE(openWindows().empty());
}

TEST_F(MainWindowTest, FileMenuOpensAnExternalDocumentWindow) {
    fmDoc& m = start();
    m.show();
    uTxm* ed = m.findChild<uTxm*>();
    ASSERT_TRUE(ed);
    ed->SetText(QStringLiteral("my page"));
    const QString file = dir + QStringLiteral("/beside.doc");
    writeFile(file, docBytes(QStringLiteral("beside")));
    prompter.answerOpenFile(file);
    QString sRet;
    m.fnMenu(2, 11, sRet);
    const std::vector<sbDoc*> shown = openWindows();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->engine()->Text(), QStringLiteral("beside"));
    EXPECT_EQ(prompter.calls.last().title, QStringLiteral("文書の読み込み"));
    // The page being edited is untouched.
    EXPECT_EQ(ed->mTxt->Text(), QStringLiteral("my page"));
    EXPECT_EQ(ed->sFlNm, QString());
    shown[0]->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
