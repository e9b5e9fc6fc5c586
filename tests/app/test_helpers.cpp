#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "mClt.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace mClt;

TEST(FillQ, PlaceholdersNullsAndQuestionMarks) {
    QString sql = QStringLiteral("Select noLfC From tbTree Where noLfP=? And szDoc='?'");
    FillQ(sql, {1000, QStringLiteral("what?now")});
    EXPECT_EQ(sql, QStringLiteral("Select noLfC From tbTree Where noLfP=1000 And szDoc='whatnow'"));

    QString withNull = QStringLiteral("a?b?c");
    FillQ(withNull, {QVariant(), QStringLiteral("X")});
    EXPECT_EQ(withNull, QStringLiteral("abXc"));

    QString surplus = QStringLiteral("?-?-?");
    FillQ(surplus, {1});
    EXPECT_EQ(surplus, QStringLiteral("1-?-?"));
    FillQ(surplus, {2, 3, 4, 5});
    EXPECT_EQ(surplus, QStringLiteral("1-2-3"));
}

TEST(TextHelpers, TrimSplitFindBetween) {
    QString s = QStringLiteral("a, b, ,");
    TrimSep(s, QString());
    EXPECT_EQ(s, QStringLiteral("a,b"));
    QString slashes = QStringLiteral("x//");
    TrimSep(slashes, QStringLiteral("/"));
    EXPECT_EQ(slashes, QStringLiteral("x"));

    QString l, r;
    SplitAt(QStringLiteral("  Key = Value  "), QStringLiteral("="), l, r);
    EXPECT_EQ(l, QStringLiteral("Key"));
    EXPECT_EQ(r, QStringLiteral("Value"));
    SplitAt(QStringLiteral("abcXdef"), QStringLiteral("x"), l, r); // case-insensitive
    EXPECT_EQ(l, QStringLiteral("abc"));
    EXPECT_EQ(r, QStringLiteral("def"));
    SplitAt(QStringLiteral(" none "), QStringLiteral("|"), l, r);
    EXPECT_EQ(l, QStringLiteral("none"));
    EXPECT_TRUE(r.isEmpty());

    int pos = -1;
    EXPECT_TRUE(InStrAt(QStringLiteral("Hello World"), QStringLiteral("WORLD"), pos));
    EXPECT_EQ(pos, 7);
    EXPECT_FALSE(InStrAt(QStringLiteral("Hello"), QStringLiteral("x"), pos));
    EXPECT_EQ(pos, 0);
    EXPECT_FALSE(InStrAt(QStringLiteral("Hello"), QString(), pos));

    EXPECT_EQ(GetBetween(QStringLiteral("<a>text"), QStringLiteral("<A>"), QStringLiteral("</a>")),
              QStringLiteral("text")); // no end marker: to the end
    EXPECT_EQ(
        GetBetween(QStringLiteral("x<a>t</a>y"), QStringLiteral("<a>"), QStringLiteral("</a>")),
        QStringLiteral("t"));
    EXPECT_TRUE(
        GetBetween(QStringLiteral("abc"), QStringLiteral("["), QStringLiteral("]")).isEmpty());
    EXPECT_EQ(GetBetween(QStringLiteral("abc]def"), QString(), QStringLiteral("]")),
              QStringLiteral("abc"));
    EXPECT_EQ(GetBetween(QStringLiteral("k=v"), QStringLiteral("k="), QString()),
              QStringLiteral("v"));
}

TEST(FileHelpers, ExistenceWildcardsAndFolders) {
    const QString dir = TestEnv::freshDir(QStringLiteral("files"));
    TestEnv::writeFile(dir + QStringLiteral("/report.doc"), "x");
    EXPECT_FALSE(FileExist(QString()));
    EXPECT_TRUE(FileExist(dir + QStringLiteral("/report.doc")));
    EXPECT_FALSE(FileExist(dir)); // a folder is not a file
    EXPECT_TRUE(FileExist(dir + QStringLiteral("/*.doc"), true));
    EXPECT_TRUE(FileExist(dir + QStringLiteral("/rep?rt.doc"), true));
    EXPECT_FALSE(FileExist(dir + QStringLiteral("/*.doc"), false)); // taken literally
    EXPECT_FALSE(FileExist(dir + QStringLiteral("/*.txt"), true));
    TestEnv::writeFile(dir + QStringLiteral("/*.doc"), "literal");
    EXPECT_TRUE(FileExist(dir + QStringLiteral("/*.doc"), false));

    const QString deep = dir + QStringLiteral("/one/two/three");
    EXPECT_FALSE(FldExist(deep));
    EXPECT_TRUE(MakeFld(deep));
    EXPECT_TRUE(FldExist(deep));
    EXPECT_TRUE(MakeFld(deep + u'/')); // existing folder: nothing to do

    // A file in the way: the walk goes on, the result says it failed.
    TestEnv::writeFile(dir + QStringLiteral("/blocker"), "x");
    EXPECT_FALSE(MakeFld(dir + QStringLiteral("/blocker/sub")));
}

TEST(FileHelpers, Utf8AndAnsiText) {
    const QString dir = TestEnv::freshDir(QStringLiteral("text"));
    const QString path = dir + QStringLiteral("/u.txt");
    const QString text = QStringLiteral("見出し\r\nline 2 ﾌｫﾙﾀﾞ");
    ASSERT_TRUE(WriteUtf8(path, text));
    EXPECT_TRUE(TestEnv::readFile(path).startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(ReadUtf8(path), text);
    EXPECT_EQ(ReadText(path), text); // ReadText accepts UTF-8 with BOM too

    TestEnv::writeFile(path, text.toUtf8()); // no BOM
    EXPECT_EQ(ReadUtf8(path), text);

    TestEnv::writeFile(path, QByteArray("\x8c\xa9\x8f\x6f\x82\xb5", 6)); // 見出し in Shift-JIS
    EXPECT_EQ(ReadText(path), QStringLiteral("見出し"));
    EXPECT_TRUE(ReadText(dir + QStringLiteral("/missing.txt")).isEmpty());
}

TEST(FileHelpers, OpenDialogStartFolderRule) {
    ScriptedPrompter prompter;
    prompter.answerOpenFile(QStringLiteral("/tmp/a.exe"));
    prompter.answerOpenFile(QString());
    EXPECT_EQ(ShowOpenDlg(QStringLiteral("Tool"), QStringLiteral("a.exe"), QStringLiteral("Exe|*"),
                          QStringLiteral("/opt")),
              QStringLiteral("/tmp/a.exe"));
    EXPECT_TRUE(ShowOpenDlg(QStringLiteral("Tool"), QStringLiteral("/usr/bin/a"),
                            QStringLiteral("Exe|*"), QStringLiteral("/opt"))
                    .isEmpty());
    ASSERT_EQ(prompter.calls.size(), 2);
    EXPECT_TRUE(prompter.calls[0].detail.endsWith(QStringLiteral("|/opt")));
    EXPECT_TRUE(prompter.calls[1].detail.endsWith(u'|')); // file has a folder: no start folder
}
