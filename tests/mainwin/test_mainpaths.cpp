// The main window's plain rules: stored folders, the command line, which
// link targets open without a question, and menu texts to editor actions.
#include "MainPaths.h"
#include "MenuActions.h"
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace MainPaths;

TEST(MainPaths, StoredFolderIsRelativeOnlyBelowTheUserDataFolder) {
    const QString usr = QStringLiteral("/home/a/data/");
    EXPECT_EQ(ToStored(QStringLiteral("/home/a/data/Doc/2024"), usr), QStringLiteral("Doc/2024"));
    EXPECT_EQ(FromStored(QStringLiteral("Doc/2024"), usr), QStringLiteral("/home/a/data/Doc/2024"));
    // Only at a "/" boundary, and with the file system's case.
    EXPECT_EQ(ToStored(QStringLiteral("/home/a/data2"), usr), QStringLiteral("/home/a/data2"));
    EXPECT_EQ(ToStored(QStringLiteral("/home/a/DATA/Doc"), usr),
              QStringLiteral("/home/a/DATA/Doc"));
    EXPECT_EQ(FromStored(QStringLiteral("/home/a/data2"), usr), QStringLiteral("/home/a/data2"));
    // The folder itself survives the round trip; nothing stored stays nothing.
    EXPECT_EQ(FromStored(ToStored(QStringLiteral("/home/a/data"), usr), usr),
              QStringLiteral("/home/a/data"));
    EXPECT_EQ(FromStored(QString(), usr), QString());
}

TEST(MainPaths, CommandLineNamesAFile) {
    const QString dir = TestEnv::freshDir(QStringLiteral("cmdline"));
    const QString file = dir + QStringLiteral("/a page.doc");
    TestEnv::writeFile(file, "x");
    QString folder, name;
    ASSERT_TRUE(CommandLineFile(u'"' + file + QStringLiteral("\"\t-x \"y\""), folder, name));
    EXPECT_EQ(folder, dir);
    EXPECT_EQ(name, QStringLiteral("a page.doc"));
    EXPECT_FALSE(CommandLineFile(dir, folder, name)); // a folder
    EXPECT_FALSE(CommandLineFile(dir + QStringLiteral("/none.doc"), folder, name));
    EXPECT_FALSE(CommandLineFile(QStringLiteral("\t") + file, folder, name));
    EXPECT_FALSE(CommandLineFile(QString(), folder, name));
    // A name without a folder is taken from the current folder.
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir);
    EXPECT_TRUE(CommandLineFile(QStringLiteral("a page.doc"), folder, name));
    QDir::setCurrent(cwd);
    EXPECT_EQ(folder, dir);
}

TEST(MainPaths, OnlyAddressesAndDocumentsOpenWithoutAQuestion) {
    const QString dir = TestEnv::freshDir(QStringLiteral("links"));
    TestEnv::writeFile(dir + QStringLiteral("/report.doc"), "x");
    TestEnv::writeFile(dir + QStringLiteral("/tool.desktop"), "[Desktop Entry]\n");
    TestEnv::writeFile(dir + QStringLiteral("/run.doc"), "#!/bin/sh\n");
    QFile::setPermissions(dir + QStringLiteral("/run.doc"),
                          QFile::permissions(dir + QStringLiteral("/run.doc")) |
                              QFileDevice::ExeOwner);
    QString out;
    EXPECT_TRUE(OpensWithoutAsking(QStringLiteral("https://example.org/a"), {}, out));
    EXPECT_TRUE(OpensWithoutAsking(QStringLiteral("mailto:a@example.org"), {}, out));
    EXPECT_TRUE(OpensWithoutAsking(QStringLiteral("www.example.org"), {}, out));
    EXPECT_EQ(out, QStringLiteral("http://www.example.org"));
    EXPECT_TRUE(OpensWithoutAsking(dir + QStringLiteral("/report.doc"), {}, out));
    // Relative to the document's folder, or as a file address.
    EXPECT_TRUE(OpensWithoutAsking(QStringLiteral("report.doc"), dir, out));
    EXPECT_EQ(out, dir + QStringLiteral("/report.doc"));
    EXPECT_TRUE(OpensWithoutAsking(QStringLiteral("file://") + dir + QStringLiteral("/report.doc"),
                                   {}, out));

    EXPECT_FALSE(OpensWithoutAsking(dir + QStringLiteral("/tool.desktop"), {}, out));
    EXPECT_EQ(out, dir + QStringLiteral("/tool.desktop"));
    EXPECT_FALSE(OpensWithoutAsking(dir + QStringLiteral("/run.doc"), {}, out)); // executable
    EXPECT_FALSE(OpensWithoutAsking(dir + QStringLiteral("/missing.doc"), {}, out));
    EXPECT_FALSE(OpensWithoutAsking(QStringLiteral("/usr/bin/xterm"), {}, out));
    EXPECT_FALSE(OpensWithoutAsking(QStringLiteral("smb://host/share/x.exe"), {}, out));
    EXPECT_FALSE(OpensWithoutAsking(QStringLiteral("http:"), {}, out));
}

TEST(MenuActions, TextsGiveTheEditorActions) {
    using namespace MenuActions;
    EXPECT_EQ(Stem(QStringLiteral("上書き保存(&S)")), QStringLiteral("上書き保存"));
    EXPECT_EQ(Stem(QStringLiteral("画像 WMF形式 (&W)")), QStringLiteral("画像 WMF形式"));
    EXPECT_EQ(ActionOf(Stem(QStringLiteral("画像 WMF形式 (&W)")), 6, 5), 35);
    EXPECT_EQ(ActionOf(QStringLiteral("画像"), 6, 3), 33);
    EXPECT_EQ(ActionOf(QStringLiteral("画像"), 6, 4), 34);
    EXPECT_EQ(ActionOf(QStringLiteral("ﾍﾟｰｼﾞﾋﾞｭ-"), 2, 4), 7);
    EXPECT_EQ(ActionOf(QStringLiteral("IME･更新確認"), 15, 4), 68);
    EXPECT_EQ(ActionOf(QStringLiteral("Refresh"), 12, 2), 88);
    EXPECT_EQ(ActionOf(QStringLiteral("何か"), 3, 0), 0);

    EXPECT_EQ(TableWord(QStringLiteral("表挿入"), 3), QStringLiteral("右"));
    EXPECT_EQ(TableWord(QStringLiteral("表挿入"), 4), QString()); // separator
    EXPECT_EQ(TableWord(QStringLiteral("表分割"), 1), QStringLiteral("下"));
    EXPECT_EQ(TableWord(QStringLiteral("表属性"), 2), QStringLiteral("ｾﾙ"));
    EXPECT_EQ(TableWord(QStringLiteral("表削除"), 3), QString());
}
