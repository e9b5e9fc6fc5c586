#include "Registry.h"
#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "Usr.h"
#include "mClt.h"
#include "yIni.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// A program folder with an executable name and an optional "UserData.ini".
struct Program {
    QString folder;
    explicit Program(const QString& exe, const QByteArray* ini = nullptr) {
        folder = TestEnv::freshDir(QStringLiteral("prog")) + u'/';
        if (ini)
            TestEnv::writeFile(folder + QStringLiteral("UserData.ini"), *ini);
        Usr::SetProgramPath(folder, exe);
    }
    ~Program() { Usr::SetProgramPath({}, {}); }
};

QString defaultFolder(const QString& app) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Veltrin/") + app + u'/';
}

const QString kUse = QStringLiteral(" を使用します");
const QString kUserFolderIs = QStringLiteral("ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞは　");

} // namespace

TEST(StartUp, BaseNameDropsDvSuffix) {
    EXPECT_EQ(Usr::AppNameFrom(QStringLiteral("Abc_DV.exe")), QStringLiteral("Abc"));
    EXPECT_EQ(Usr::AppNameFrom(QStringLiteral("folium_dv")), QStringLiteral("folium"));
    EXPECT_EQ(Usr::AppNameFrom(QStringLiteral("folium")), QStringLiteral("folium"));
    EXPECT_EQ(Usr::AppNameFrom(QStringLiteral("dv")), QStringLiteral("dv"));
}

TEST(StartUp, MissingIniUsesDefaultFolderAndRegisters) {
    Program prog(QStringLiteral("Abc_DV"));
    ScriptedPrompter prompter;
    ASSERT_TRUE(Usr::StartUp());
    EXPECT_EQ(Usr::sAppNm, QStringLiteral("Abc"));
    const QString def = defaultFolder(QStringLiteral("Abc"));
    EXPECT_EQ(Usr::sUsrFd, def);
    EXPECT_EQ(Usr::sWrkFd, def + QStringLiteral("Wrk/"));
    EXPECT_TRUE(mClt::FldExist(def + QStringLiteral("Wrk")));
    EXPECT_TRUE(mClt::FldExist(def + QStringLiteral("Doc")));
    EXPECT_TRUE(QFile::exists(def + QStringLiteral("User.xml")));
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0], prog.folder +
                                          QStringLiteral("UserData.ini が見つかりません\r") +
                                          kUserFolderIs + def + kUse);
    // The shared registry entry names the plain executable.
    EXPECT_EQ(Registry::GetSetting(QStringLiteral("Path"), QStringLiteral("Abc")),
              prog.folder + QStringLiteral("Abc"));
    EXPECT_TRUE(
        QFile::exists(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      QStringLiteral("/VeltrinTools/VeltrinTools.ini")));
}

TEST(StartUp, EmptyIniGivesMessageM2) {
    const QByteArray ini = "\r\n/somewhere";
    Program prog(QStringLiteral("app"), &ini);
    ScriptedPrompter prompter;
    ASSERT_TRUE(Usr::StartUp());
    const QString def = defaultFolder(QStringLiteral("app"));
    EXPECT_EQ(Usr::sUsrFd, def);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0],
              QStringLiteral(" ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞが定義されていません\r") + def + kUse);
}

TEST(StartUp, Tokens) {
    struct Case {
        QByteArray spec;
        QString folder; // relative to the program folder when it starts with "prog:"
    };
    const QString def = defaultFolder(QStringLiteral("tok"));
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                         QStringLiteral("/Veltrin/tok/");
    const QList<Case> cases = {
        {"%APP%", QStringLiteral("prog:usData/")},
        {"%usr%", def},
        {"%Applicaion Data%", def},
        {"%doc", docs},
        {"%My Document%", docs},
        // Editors end files with a line break; trailing breaks and blanks are ignored.
        {"%app%\r\n", QStringLiteral("prog:usData/")},
        {"%app%\n", QStringLiteral("prog:usData/")},
        {"%Doc  \t\n\n", docs},
        {"%whatever", def},
    };
    for (const Case& c : cases) {
        Program prog(QStringLiteral("tok"), &c.spec);
        ScriptedPrompter prompter;
        prompter.setStrict(true);
        ASSERT_TRUE(Usr::StartUp()) << c.spec.constData();
        QString expected = c.folder;
        if (expected.startsWith(QStringLiteral("prog:")))
            expected = prog.folder + expected.mid(5);
        EXPECT_EQ(Usr::sUsrFd, expected) << c.spec.constData();
        EXPECT_TRUE(mClt::FldExist(expected + QStringLiteral("Wrk")));
    }
}

TEST(StartUp, FolderFromIniIsLowerCasedAndChecked) {
    // A base path without capitals, so only the last level's case matters.
    const QString base =
        QDir::tempPath() + QStringLiteral("/folium-lc-%1").arg(QCoreApplication::applicationPid());
    QDir(base).removeRecursively();
    const QString lower = base + QStringLiteral("/mydata");
    QDir().mkpath(lower);
    // Ended by a line break, as every editor writes it.
    QByteArray spec = (base + QStringLiteral("/MyData")).toUtf8() + "\n";
    {
        Program prog(QStringLiteral("low"), &spec);
        ScriptedPrompter prompter;
        prompter.setStrict(true);
        ASSERT_TRUE(Usr::StartUp());
        EXPECT_EQ(Usr::sUsrFd, lower + u'/'); // the lower-cased form, a separator appended
    }
    // Only the mixed-case folder exists: on a case-sensitive file system it is
    // still the folder the user meant.
    const QString mixed = base + QStringLiteral("/Only/Mixed");
    QDir().mkpath(mixed);
    spec = mixed.toUtf8();
    {
        Program prog(QStringLiteral("low"), &spec);
        ScriptedPrompter prompter;
        prompter.setStrict(true);
        ASSERT_TRUE(Usr::StartUp());
        EXPECT_EQ(Usr::sUsrFd, mixed + u'/');
    }
    spec = (base + QStringLiteral("/Not/There")).toUtf8();
    {
        Program prog(QStringLiteral("low"), &spec);
        ScriptedPrompter prompter;
        ASSERT_TRUE(Usr::StartUp());
        const QString def = defaultFolder(QStringLiteral("low"));
        EXPECT_EQ(Usr::sUsrFd, def);
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_EQ(prompter.messages()[0], QStringLiteral("ﾌｫﾙﾀﾞ ") + base +
                                              QStringLiteral("/not/there が見つかりません\r") +
                                              kUserFolderIs + def + kUse);
    }
    QDir(base).removeRecursively();
}

TEST(StartUp, ThreeMissingLevelsAreCreated) {
    const QString base = TestEnv::freshDir(QStringLiteral("levels"));
    const QString target = base + QStringLiteral("/a/b/c/");
    yIni::F_CreateFld(target);
    EXPECT_TRUE(mClt::FldExist(base + QStringLiteral("/a/b/c")));
    yIni::F_ChkSb(target, {QStringLiteral("Wrk"), QStringLiteral("Doc")});
    EXPECT_TRUE(mClt::FldExist(target + QStringLiteral("Wrk")));
    EXPECT_TRUE(mClt::FldExist(target + QStringLiteral("Doc")));
}

TEST(StartUp, UncreatableWorkFolderStopsWithMessage) {
    Program prog(QStringLiteral("blocked"));
    const QString def = defaultFolder(QStringLiteral("blocked"));
    QDir().mkpath(def);
    TestEnv::writeFile(def + QStringLiteral("Wrk"), "a file in the way");
    ScriptedPrompter prompter;
    EXPECT_FALSE(Usr::StartUp());
    ASSERT_FALSE(prompter.messages().isEmpty());
    EXPECT_TRUE(prompter.messages().last().contains(def + QStringLiteral("Wrk")));
    QFile::remove(def + QStringLiteral("Wrk"));
}

TEST(StartUp, SpecialFolders) {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    EXPECT_EQ(yIni::FsGtSpFld(26), data);
    EXPECT_EQ(yIni::FsGtSpFld(9), data + QStringLiteral("/applications"));
    EXPECT_EQ(yIni::FsGtSpFld(6), data + QStringLiteral("/Veltrin/Favorites"));
    EXPECT_FALSE(yIni::FsGtSpFld(5).isEmpty());
    EXPECT_FALSE(yIni::FsGtSpFld(5).endsWith(u'/'));
    EXPECT_TRUE(yIni::FsGtSpFld(42).isEmpty());
}

TEST(WorkArea, FitComparesWithWidthAndHeight) {
    Usr::nWaLft = 0;
    Usr::nWaTop = 0;
    Usr::nWaWid = 14400;
    Usr::nWaHgt = 9000;
    int l = -500, t = 100, w = 20000, h = 3000;
    Usr::FitWkArea(l, t, w, h);
    EXPECT_EQ(l, 0);
    EXPECT_EQ(w, 14400);
    EXPECT_EQ(t, 100);
    EXPECT_EQ(h, 3000);

    // A work area that does not start at 0: the right test still uses the width.
    Usr::nWaLft = 3000;
    Usr::nWaTop = 600;
    l = 10000, t = 7000, w = 5000, h = 3000;
    Usr::FitWkArea(l, t, w, h);
    EXPECT_EQ(l, 3000); // 10000 + 5000 > 14400
    EXPECT_EQ(w, 5000);
    EXPECT_EQ(t, 600); // 7000 + 3000 > 9000
    EXPECT_EQ(h, 3000);

    Usr::GetWkArea();
    EXPECT_GT(Usr::nWaWid, 0);
    EXPECT_EQ(Usr::nWaWid % Usr::kTwipsPerPixel, 0);
}
