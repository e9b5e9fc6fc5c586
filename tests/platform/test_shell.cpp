// Shell integration: opening through the desktop (recorded, never started),
// the "Open With" entry, the folder picker and the help/web links.
#include "DesktopFile.h"
#include "DesktopOpener.h"
#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "Usr.h"
#include "yIni.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// Records what would have been opened.
struct OpenRecorder {
    QList<QUrl> urls;
    DesktopOpener::Scoped scope{[this](const QUrl& u) {
        urls << u;
        return true;
    }};
};

// A program folder and user data folder of the test's own.
struct ShellEnv {
    QString root = TestEnv::freshDir(QStringLiteral("shell"));
    QString savedUsr = Usr::sUsrFd;
    QString savedApp = Usr::sAppNm;
    ShellEnv() {
        Usr::sAppNm = QStringLiteral("folium");
        Usr::sUsrFd = root + QStringLiteral("/usr/");
        QDir().mkpath(Usr::sUsrFd + QStringLiteral("Wrk"));
    }
    ~ShellEnv() {
        Usr::sUsrFd = savedUsr;
        Usr::sAppNm = savedApp;
        Usr::SetProgramPath({}, {});
    }
};

QString entryValue(const QString& path, const QString& key) {
    for (const QString& line : QString::fromUtf8(TestEnv::readFile(path)).split(u'\n'))
        if (line.startsWith(key + u'='))
            return line.mid(key.size() + 1);
    return {};
}

} // namespace

TEST(Shell, ExpFdOpensPathsAndAddressesAndExploresOnlyFolders) {
    OpenRecorder rec;
    const QString dir = TestEnv::freshDir(QStringLiteral("exp dir"));
    const QString file = dir + QStringLiteral("/報告 #1.doc");
    TestEnv::writeFile(file, "x");

    yIni::W_ExpFd(QString(), true);
    yIni::W_ExpFd(file, false); // a file cannot be explored
    yIni::W_ExpFd(dir + QStringLiteral("/missing"), false);
    EXPECT_TRUE(rec.urls.isEmpty());

    yIni::W_ExpFd(dir, false);
    yIni::W_ExpFd(file, true);
    yIni::OpenPath(QStringLiteral("https://example.com/a b?q=1#top"));
    yIni::OpenPath(QStringLiteral("mailto:someone@example.com"));
    ASSERT_EQ(rec.urls.size(), 4);
    EXPECT_EQ(rec.urls[0], QUrl::fromLocalFile(dir));
    EXPECT_EQ(rec.urls[1].toLocalFile(), file); // "#" and spaces survive as a path
    EXPECT_EQ(rec.urls[2].scheme(), QStringLiteral("https"));
    EXPECT_EQ(rec.urls[2].fragment(), QStringLiteral("top"));
    EXPECT_EQ(rec.urls[3].scheme(), QStringLiteral("mailto"));
}

TEST(Shell, UrlForTellsPathsFromAddresses) {
    EXPECT_TRUE(DesktopOpener::urlFor(QString()).isEmpty());
    EXPECT_TRUE(DesktopOpener::urlFor(QStringLiteral("C:/x.doc")).isLocalFile());
    EXPECT_EQ(DesktopOpener::urlFor(QStringLiteral("rel/x.doc")).toLocalFile(),
              QDir::current().absoluteFilePath(QStringLiteral("rel/x.doc")));
    EXPECT_EQ(DesktopOpener::urlFor(QStringLiteral("file:///tmp/a%20b")).toLocalFile(),
              QStringLiteral("/tmp/a b"));
}

TEST(Shell, SendToWritesAnOpenWithEntryAndOverwritesIt) {
    ShellEnv env;
    // A program folder whose name needs quoting in an Exec line.
    const QString prog = env.root + QStringLiteral("/bin 100% \"x\"/");
    QDir().mkpath(prog);
    Usr::SetProgramPath(prog, QStringLiteral("folium"));
    ScriptedPrompter ask;
    yIni ini;
    const QString apps = yIni::FsGtSpFld(9);
    const QString entry = apps + QStringLiteral("/folium.desktop");
    QDir().mkpath(apps);
    TestEnv::writeFile(entry, "stale");

    ini.W_SendTo();
    ini.W_SendTo();
    const QString expected =
        prog + QStringLiteral("folium のｼｮｰﾄｶｯﾄを ") + apps + QStringLiteral(" に作成しました");
    EXPECT_EQ(ask.messages(), QStringList({expected, expected}));

    EXPECT_EQ(entryValue(entry, QStringLiteral("Type")), QStringLiteral("Application"));
    const QString exec = entryValue(entry, QStringLiteral("Exec"));
    // Desktop-entry escaping of the value, then Exec quoting of the argument.
    EXPECT_EQ(DesktopFile::unescapeValue(exec),
              QStringLiteral("\"") + env.root + QStringLiteral("/bin 100%% \\\"x\\\"/folium\" %f"));
    const QString mime = entryValue(entry, QStringLiteral("MimeType"));
    for (const char* t :
         {"application/msword", "application/rtf", "text/plain", "text/html",
          "application/vnd.openxmlformats-officedocument.wordprocessingml.document"})
        EXPECT_TRUE(mime.split(u';').contains(QString::fromLatin1(t))) << t;
}

TEST(Shell, SendToIsSilentWhenTheFolderCannotBeMade) {
    ShellEnv env;
    ScriptedPrompter ask;
    ask.setStrict(true);
    const QString apps = yIni::FsGtSpFld(9);
    QDir(apps).removeRecursively();
    TestEnv::writeFile(apps, "a file where the folder should be");
    yIni().W_SendTo();
    EXPECT_TRUE(ask.calls.isEmpty());
    QFile::remove(apps);
}

TEST(Shell, BrowseFldStartsAtAnExistingFolderOnlyAndReturnsTheChoice) {
    const QString dir = TestEnv::freshDir(QStringLiteral("pick"));
    ScriptedPrompter ask;
    ask.answerFolder(dir);
    ask.answerFolder(QString()); // cancelled
    ask.answerFolder(dir);

    QString ph = dir + QStringLiteral("/gone");
    yIni::BrowseFld(ph);
    EXPECT_EQ(ph, dir);
    ph = dir;
    yIni::BrowseFld(ph, QStringLiteral("保存先"));
    EXPECT_EQ(ph, QString());
    ph = dir;
    yIni::BrowseFld(ph, QString(), 0, 0);

    ASSERT_EQ(ask.calls.size(), 3);
    EXPECT_EQ(ask.calls[0].title, QStringLiteral("ﾌｫﾙﾀﾞの指定"));
    EXPECT_EQ(ask.calls[0].detail, QString()); // a missing start folder is dropped
    EXPECT_EQ(ask.calls[1].title, QStringLiteral("保存先"));
    EXPECT_EQ(ask.calls[1].detail, dir);
}

TEST(Shell, HelpAndHtmViewOpenThroughLinkFiles) {
    ShellEnv env;
    OpenRecorder rec;
    yIni::W_Help(QStringLiteral("Setup"));
    yIni::W_Help(QStringLiteral("faq.html"));
    yIni::W_HtmView(QStringLiteral("https://example.com/q?a=1&b=日本"));
    ASSERT_EQ(rec.urls.size(), 3);
    EXPECT_EQ(rec.urls[0], QUrl(yIni::HelpBase() + QStringLiteral("setup.htm")));
    EXPECT_EQ(rec.urls[1], QUrl(yIni::HelpBase() + QStringLiteral("faq.html")));
    EXPECT_EQ(rec.urls[2], QUrl(QStringLiteral("https://example.com/q?a=1&b=日本")));
    EXPECT_EQ(DesktopFile::readLink(Usr::sUsrFd + QStringLiteral("folium_help.desktop")),
              rec.urls[1]);
    EXPECT_EQ(DesktopFile::readLink(Usr::sUsrFd + QStringLiteral("Wrk/htm_view.desktop")),
              rec.urls[2]);

    // Without the work folder the link cannot be written: nothing opens.
    QDir(Usr::sUsrFd + QStringLiteral("Wrk")).removeRecursively();
    yIni::W_HtmView(QStringLiteral("https://example.com/"));
    EXPECT_EQ(rec.urls.size(), 3);
}

TEST(Shell, DesktopValuesSurviveEscaping) {
    for (const QString& v :
         {QStringLiteral(" lead"), QStringLiteral("a\\b\nc\td\re"), QStringLiteral("日本語 \\s")})
        EXPECT_EQ(DesktopFile::unescapeValue(DesktopFile::escapeValue(v)), v);
    const QString dir = TestEnv::freshDir(QStringLiteral("links"));
    const QString app = dir + QStringLiteral("/app.desktop");
    ASSERT_TRUE(DesktopFile::writeApplication(app, QStringLiteral("x"), QStringLiteral("/bin/x"),
                                              {QStringLiteral("text/plain")}));
    EXPECT_TRUE(DesktopFile::readLink(app).isEmpty()); // an application is no link
    EXPECT_TRUE(DesktopFile::readLink(dir + QStringLiteral("/none.desktop")).isEmpty());
}
