#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "TxCompanion.h"
#include "TxEngine.h"
#include "Usr.h"
#include "sbMapi.h"
#include "uTxm.h"
#include "yIni.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <memory>

namespace {
const QString kFailure =
    QStringLiteral("OutLook Express が既定のﾒｰﾙﾊﾝﾄﾞﾗとして指定されているかﾁｪｯｸして下さい");
}

TEST(MailRules, AttachmentNamesAndSubject) {
    EXPECT_EQ(sbMapi::AttachmentName(QString(), 0), QStringLiteral("temp.pdf"));
    EXPECT_EQ(sbMapi::AttachmentName(QString(), 1), QStringLiteral("temp.doc"));
    EXPECT_EQ(sbMapi::AttachmentName(QStringLiteral("/home/u/my notes.v2.docx"), 0),
              QStringLiteral("my notes.v2.pdf"));
    EXPECT_EQ(sbMapi::AttachmentName(QStringLiteral("/home/u/my notes.v2.docx"), 1),
              QStringLiteral("my notes.v2.docx"));
    // Without an extension the copy still gets one.
    EXPECT_EQ(sbMapi::AttachmentName(QStringLiteral("/home/u/README"), 0),
              QStringLiteral("README.pdf"));
    EXPECT_EQ(sbMapi::AttachmentName(QStringLiteral("/home/u/README"), 1),
              QStringLiteral("README.doc"));

    const QString title = QStringLiteral("第一章　文書データベースの使い方とその設定について");
    EXPECT_EQ(sbMapi::Subject(title), title.left(25));
    EXPECT_EQ(sbMapi::Subject(QStringLiteral("短い")), QStringLiteral("短い"));
    // A character outside the basic plane counts once and is never split.
    const QString wide = QString(24, u'a') + QStringLiteral("\U00020B9Fb");
    EXPECT_EQ(sbMapi::Subject(wide), QString(24, u'a') + QStringLiteral("\U00020B9F"));

    EXPECT_EQ(sbMapi::Attachments(QStringLiteral("/a.pdf,,/b.doc,")),
              (QStringList{QStringLiteral("/a.pdf"), QStringLiteral("/b.doc")}));
    EXPECT_EQ(sbMapi::Attachments(QStringLiteral("/a.pdf")), QStringList{"/a.pdf"});
    EXPECT_TRUE(sbMapi::Attachments(QString()).isEmpty());
}

// xdg-email replaced by a script on PATH that records its arguments.
class MailTest : public ::testing::Test {
protected:
    QString dir = TestEnv::freshDir(QStringLiteral("mail"));
    QString log = dir + QStringLiteral("/args");
    QByteArray savedPath = qgetenv("PATH");
    QString savedWrk = Usr::sWrkFd;
    ScriptedPrompter prompter;

    void SetUp() override {
        Usr::sWrkFd = dir + QStringLiteral("/Wrk/");
        QDir().mkpath(Usr::sWrkFd);
        stub("0");
    }
    void TearDown() override {
        qputenv("PATH", savedPath);
        Usr::sWrkFd = savedWrk;
    }
    // xdg-email exiting with `exitCode`; xdg-mime naming `handler` as the
    // mail program (none when empty).
    void stub(const QByteArray& exitCode, const QByteArray& handler = "mailer.desktop") {
        QDir().mkpath(dir + QStringLiteral("/bin"));
        script(QStringLiteral("xdg-email"),
               "printf '%s\\0' \"$@\" > '" + log.toUtf8() + "'\nexit " + exitCode + "\n");
        script(QStringLiteral("xdg-mime"),
               "[ \"$*\" = 'query default x-scheme-handler/mailto' ] || exit 1\n" +
                   (handler.isEmpty() ? QByteArray() : "echo " + handler + "\n"));
        qputenv("PATH", (dir + QStringLiteral("/bin:")).toUtf8() + savedPath);
    }
    void script(const QString& name, const QByteArray& body) {
        const QString path = dir + QStringLiteral("/bin/") + name;
        TestEnv::writeFile(path, "#!/bin/sh\n" + body);
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    }
    // A shown editor holding a modified two-line page.
    static std::unique_ptr<uTxm> modifiedEditor() {
        auto ed = std::make_unique<uTxm>();
        ed->resize(800, 600);
        ed->show();
        ed->cOn(0, 1);
        ed->mTxt->SetText(QStringLiteral("Mail title\nbody text"));
        ed->SetDcEdt(true);
        return ed;
    }
    QStringList args() const {
        QStringList out;
        for (const QByteArray& a : TestEnv::readFile(log).split('\0'))
            out << QString::fromUtf8(a);
        out.removeLast();
        return out;
    }
};

TEST_F(MailTest, TheHandOverGetsSubjectBodyAndAttachmentsInOrder) {
    const QString a = dir + QStringLiteral("/first \"quoted\" file.pdf");
    const QString b = dir + QStringLiteral("/second; $(rm -rf x) 'file'.doc");
    const QString body = QStringLiteral("本文 with \"quotes\"\nand a second line");
    ASSERT_TRUE(sbMapi::Mail(QStringLiteral("It's \"the\" subject"), body, a + u',' + b));
    EXPECT_EQ(args(), (QStringList{"--utf8", "--subject", QStringLiteral("It's \"the\" subject"),
                                   "--body", body, "--attach", a, "--attach", b}));
    EXPECT_TRUE(prompter.messages().isEmpty());

    ASSERT_TRUE(sbMapi::Mail(QStringLiteral("s"), QStringLiteral("b"), QString()));
    EXPECT_EQ(args(), (QStringList{"--utf8", "--subject", "s", "--body", "b"}));
}

TEST_F(MailTest, AFailedHandOverTellsTheUser) {
    stub("3");
    EXPECT_FALSE(sbMapi::Mail(QStringLiteral("s"), QStringLiteral("b"), QString()));
    EXPECT_EQ(prompter.messages(), QStringList{kFailure});
    // No xdg-email at all.
    qputenv("PATH", (dir + QStringLiteral("/nothing")).toUtf8());
    EXPECT_FALSE(sbMapi::Mail(QStringLiteral("s"), QStringLiteral("b"), QString()));
    EXPECT_EQ(prompter.messages().size(), 2);
}

TEST_F(MailTest, WithoutAMailProgramTheUserIsToldAndNothingStarts) {
    stub("0", QByteArray());
    EXPECT_TRUE(sbMapi::MailProgram().isEmpty());
    EXPECT_FALSE(sbMapi::Mail(QStringLiteral("s"), QStringLiteral("b"), QString()));
    EXPECT_EQ(prompter.messages(), QStringList{kFailure});
    EXPECT_FALSE(QFileInfo::exists(log)) << "xdg-email was not run";
    // The menu item says so too, after writing its copy.
    bool copied = false;
    EXPECT_FALSE(sbMapi::MailItem(
        0, QString(), [&](const QString&) { return copied = true; },
        [](QString& sTx, QString& sCp) { sTx = sCp = QStringLiteral("x"); }));
    EXPECT_TRUE(copied);
    EXPECT_EQ(prompter.messages().size(), 2);

    // A mail program set up: its name, the mail handed over.
    stub("0");
    EXPECT_EQ(sbMapi::MailProgram(), QStringLiteral("mailer.desktop"));
    EXPECT_TRUE(sbMapi::Mail(QStringLiteral("s"), QStringLiteral("b"), QString()));
    EXPECT_TRUE(QFileInfo::exists(log));
    EXPECT_EQ(prompter.messages().size(), 2);
}

TEST_F(MailTest, MenuItemsAttachACopyFromTheWorkFolder) {
    QStringList copies;
    auto saveCopy = [&](const QString& path) {
        copies << path;
        TestEnv::writeFile(path, "copy");
        return true;
    };
    const QString title = QString(30, u'題');
    auto text = [&](QString& sTx, QString& sCp) {
        sTx = QStringLiteral("the whole body, not cut");
        sCp = title;
    };
    ASSERT_TRUE(sbMapi::MailItem(0, QString(), saveCopy, text));
    const QString pdf = Usr::sWrkFd + QStringLiteral("temp.pdf");
    EXPECT_EQ(copies, QStringList{pdf});
    EXPECT_EQ(args(), (QStringList{"--utf8", "--subject", QString(25, u'題'), "--body",
                                   "the whole body, not cut", "--attach", pdf}));

    // A work folder with a comma in it is still one attachment.
    Usr::sWrkFd = dir + QStringLiteral("/Wrk, mail/");
    ASSERT_TRUE(sbMapi::MailItem(1, dir + QStringLiteral("/a b.docx"), saveCopy, text));
    EXPECT_EQ(args().mid(5), (QStringList{"--attach", Usr::sWrkFd + "a b.docx"}));

    // Body only: no copy written; a copy that failed is not attached.
    copies.clear();
    ASSERT_TRUE(sbMapi::MailItem(2, QString(), saveCopy, text));
    EXPECT_TRUE(copies.isEmpty());
    EXPECT_EQ(args().size(), 5);
    ASSERT_TRUE(sbMapi::MailItem(
        1, QString(), [](const QString&) { return false; }, text));
    EXPECT_EQ(args().size(), 5);
}

// The editor's copy for the mail is no save of the user's file.
TEST_F(MailTest, TheCopyLeavesTheEditorsFileAlone) {
    yIni& ini = settings();
    ini.sXml = yIni::MakeTag(0, QString::fromUtf16(kIniRoot), QStringLiteral("\r\n"));
    ini.sXmlPh.clear();
    auto ed = modifiedEditor();
    const QString mine = dir + QStringLiteral("/mine.doc");
    TestEnv::writeFile(mine, "the user's own bytes");
    ed->sFlNm = mine;
    const QString savePh = ed->sSavePh;

    ASSERT_TRUE(sbMapi::MailItem(
        1, mine, [&](const QString& p) { return TxCompanion::SaveCopy(*ed, p); },
        [&](QString& sTx, QString& sCp) { ed->GetMTxt(sTx, sCp); }));
    const QString copy = Usr::sWrkFd + QStringLiteral("mine.doc");
    EXPECT_TRUE(TestEnv::readFile(copy).startsWith("\xD0\xCF\x11\xE0")); // Word 97-2003
    EXPECT_EQ(args().last(), copy);
    EXPECT_EQ(ed->sFlNm, mine);
    EXPECT_EQ(ed->sSavePh, savePh);
    EXPECT_TRUE(ed->bDcEdt());
    EXPECT_EQ(TestEnv::readFile(mine), QByteArray("the user's own bytes"));

    ASSERT_TRUE(sbMapi::MailItem(
        0, mine, [&](const QString& p) { return TxCompanion::SaveCopy(*ed, p); },
        [&](QString& sTx, QString& sCp) { ed->GetMTxt(sTx, sCp); }));
    EXPECT_TRUE(TestEnv::readFile(Usr::sWrkFd + QStringLiteral("mine.pdf")).startsWith("%PDF"));
    EXPECT_EQ(ed->sFlNm, mine);
    ed->SetDcEdt(false);
    ed->cOff();
}

TEST_F(MailTest, ACopyThatCannotBeWrittenTellsTheUserAndChangesNothing) {
    auto ed = modifiedEditor();
    // The copy's folder is taken by a plain file, so nothing can go there.
    const QString blocker = dir + QStringLiteral("/taken");
    TestEnv::writeFile(blocker, "a file, not a folder");
    const QString copy = blocker + QStringLiteral("/copy.doc");

    EXPECT_FALSE(TxCompanion::SaveCopy(*ed, copy));
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages().first().startsWith(QStringLiteral("ﾌｧｲﾙ: ") + copy +
                                                       QStringLiteral(" に保存できません｡")));
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_TRUE(ed->bDcEdt());
    EXPECT_TRUE(ed->sFlNm.isEmpty());
    // The engine is handed back: the editor is not left busy.
    EXPECT_FALSE(ed->IsBusy());

    // HTML is the exporter's, never a copy.
    EXPECT_FALSE(TxCompanion::SaveCopy(*ed, dir + QStringLiteral("/copy.htm")));
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/copy.htm")));
    ed->SetDcEdt(false);
    ed->cOff();
}
