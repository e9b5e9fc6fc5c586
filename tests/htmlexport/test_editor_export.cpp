// The editor's way to the export: saving as .htm, the HTML save with its
// dialog, and the preview in the browser.
#include "DesktopOpener.h"
#include "EditorFixture.h"
#include "yHtm.h"

#include <QFileInfo>
#include <QUrl>

namespace {

QString readUtf8(const QString& path) {
    return QString::fromUtf8(TestEnv::readFile(path));
}

} // namespace

TEST_F(EditorTest, SaveAsHtmWritesTheExportedPage) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.SetText(QStringLiteral("頁の題 <1>\nA & B"));
    t.SetDcEdt(true);
    // The question whether to open the page: No.
    p.answerMessage(Prompter::Answer::No);
    QString file = dir + QStringLiteral("/out.htm");
    ASSERT_TRUE(t.txSaveAs(file, false));
    const QString page = readUtf8(file);
    EXPECT_TRUE(page.startsWith(QStringLiteral("<!DOCTYPE HTML PUBLIC '-//W3C//DTD HTML 4.01")));
    EXPECT_TRUE(page.contains(QStringLiteral("<title>頁の題 &lt;1&gt;</title>")))
        << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("A &amp; B")));
    EXPECT_FALSE(t.bDcEdt());
    ASSERT_FALSE(p.messages().isEmpty());
    EXPECT_EQ(p.messages().last(), file + QStringLiteral(" に出力しました　起動しますか"));
}

// An HTML editor's save without a file asks for one; Cancel writes nothing.
TEST_F(EditorTest, HtmlSaveAsksForTheFile) {
    ScriptedPrompter p;
    uTxm& t = open(4);
    t.SetText(QStringLiteral("本文"));
    t.SetDcEdt(true);
    p.answerSaveFile(QString());
    t.rtAct(4);
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/chosen.htm")));
    EXPECT_TRUE(t.bDcEdt());
    p.answerSaveFile(dir + QStringLiteral("/chosen.htm"));
    t.rtAct(4);
    EXPECT_TRUE(readUtf8(dir + QStringLiteral("/chosen.htm")).contains(QStringLiteral("本文")));
    ASSERT_GE(p.calls.size(), 2);
    EXPECT_EQ(p.calls.last().kind, QStringLiteral("saveFile"));
    EXPECT_EQ(p.calls.last().title, QStringLiteral("名前を付けて保存"));
}

// Command 8: the page as the work folder's "$Wrk.htm", opened in the
// browser; the page itself is not saved by it, so it stays modified.
TEST_F(EditorTest, HtmlPreviewOpensTheWorkFile) {
    ScriptedPrompter p;
    QList<QUrl> opened;
    DesktopOpener::Scoped opener([&](const QUrl& u) {
        opened << u;
        return true;
    });
    uTxm& t = open();
    t.SetText(QStringLiteral("下書き"));
    t.SetDcEdt(true);
    t.rtAct(8);
    const QString work = Usr::sWrkFd + QStringLiteral("$Wrk.htm");
    EXPECT_TRUE(readUtf8(work).contains(QStringLiteral("下書き")));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(QFileInfo(opened[0].toLocalFile()), QFileInfo(work));
    EXPECT_TRUE(t.bDcEdt());
}
