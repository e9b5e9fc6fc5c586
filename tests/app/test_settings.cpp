#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "TextCodec.h"
#include "yIni.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {
const QString kFresh =
    QStringLiteral("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n</運用>");

yIni loaded(const QString& path) {
    yIni ini;
    bool ok = false;
    ini.GetTxt(path, ok);
    EXPECT_TRUE(ok);
    return ini;
}
} // namespace

TEST(Settings, MissingFileIsCreatedAndFreshDocumentWritten) {
    const QString dir = TestEnv::freshDir(QStringLiteral("ini"));
    const QString path = dir + QStringLiteral("/User.xml");
    yIni ini = loaded(path);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFile(path).size(), 0);
    EXPECT_EQ(ini.sXml, kFresh);

    ini.GetGtx(QStringLiteral("TX_SCREEN"));
    ini.SetVal(QStringLiteral("LEFT"), 1440);
    ini.SetVal(QStringLiteral("FUNC"), QStringLiteral("表示"));
    ini.SetGtx();
    bool ok = false;
    ini.SetTxt(ok);
    ASSERT_TRUE(ok);
    const QString expected = QStringLiteral(
        "<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n   <TX_SCREEN>\r\n"
        "      <LEFT>1440</LEFT>\r\n      <FUNC>表示</FUNC>\r\n   </TX_SCREEN>\r\n</運用>");
    EXPECT_EQ(TestEnv::readFile(path), TextCodec::toCp932(expected));
}

TEST(Settings, GroupsAndKeysAreReplacedNotDuplicated) {
    const QString path = TestEnv::freshDir(QStringLiteral("ini")) + QStringLiteral("/User.xml");
    yIni ini = loaded(path);
    ini.GetGtx(QStringLiteral("G"));
    ini.SetVal(QStringLiteral("A"), QStringLiteral("1"));
    ini.SetVal(QStringLiteral("B"), QStringLiteral("2"));
    ini.SetGtx();
    ini.GetGtx(QStringLiteral("G"));
    EXPECT_EQ(ini.sGrp, QStringLiteral("      <A>1</A>\r\n      <B>2</B>\r\n"));
    ini.SetVal(QStringLiteral("A"), QStringLiteral("one"));
    ini.SetVal(QStringLiteral("C"), QStringLiteral("3"));
    ini.SetGtx();
    EXPECT_EQ(ini.sXml.count(QStringLiteral("<G>")), 1);
    EXPECT_EQ(ini.sXml,
              QStringLiteral("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n   <G>\r\n"
                             "      <A>one</A>\r\n      <B>2</B>\r\n      <C>3</C>\r\n"
                             "   </G>\r\n</運用>"));
    // An uncommitted change is dropped when another group is selected.
    ini.SetVal(QStringLiteral("A"), QStringLiteral("lost"));
    ini.GetGtx(QStringLiteral("H"));
    ini.GetGtx(QStringLiteral("G"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("A"), QString()), QStringLiteral("one"));
    // An empty group keeps an empty body.
    ini.GetGtx(QStringLiteral("E"));
    ini.SetGtx();
    ini.GetGtx(QStringLiteral("E"));
    EXPECT_TRUE(ini.sGrp.isEmpty());
}

TEST(Settings, ValueTypes) {
    const QString path = TestEnv::freshDir(QStringLiteral("ini")) + QStringLiteral("/User.xml");
    yIni ini = loaded(path);
    ini.GetGtx(QStringLiteral("T"));
    ini.SetVal(QStringLiteral("N"), QStringLiteral("120px"));
    ini.SetVal(QStringLiteral("F"), QStringLiteral("-1.5e2x"));
    ini.SetVal(QStringLiteral("B"), true);
    ini.SetVal(QStringLiteral("BAD"), QStringLiteral("maybe"));
    ini.SetVal(QStringLiteral("D"), QStringLiteral("2026/12/07 10:11:12"));
    ini.SetGtx();
    ini.GetGtx(QStringLiteral("T"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("N"), 0), 120); // number followed by letters
    EXPECT_DOUBLE_EQ(ini.vGtVal(QStringLiteral("F"), 0.0), -150.0);
    EXPECT_EQ(ini.vGtVal(QStringLiteral("MISSING"), 7), 7);
    EXPECT_TRUE(ini.vGtVal(QStringLiteral("B"), false));
    EXPECT_FALSE(ini.vGtVal(QStringLiteral("MISSING"), false));
    EXPECT_THROW(ini.vGtVal(QStringLiteral("BAD"), false), yIni::ValueError);
    EXPECT_EQ(ini.vGtVal(QStringLiteral("B"), QStringLiteral("x")), QStringLiteral("True"));
    const QDateTime def(QDate(2000, 1, 1), QTime(0, 0));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("D"), def),
              QDateTime(QDate(2026, 12, 7), QTime(10, 11, 12)));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("BAD"), def), def);
}

TEST(Settings, BrokenTagsGiveMessageAndDefault) {
    const QString path = TestEnv::freshDir(QStringLiteral("ini")) + QStringLiteral("/User.xml");
    TestEnv::writeFile(path,
                       TextCodec::toCp932(QStringLiteral(
                           "<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n   <G>\r\n"
                           "      <K>value\r\n      <L>ok</L>\r\n   </G>\r\n"
                           "   <X>\r\n</運用>")));
    yIni ini = loaded(path);
    ScriptedPrompter prompter;
    ini.GetGtx(QStringLiteral("G"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("K"), QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("L"), QStringLiteral("def")), QStringLiteral("ok"));
    ini.GetGtx(QStringLiteral("X")); // group without its end tag
    EXPECT_TRUE(ini.sGrp.isEmpty());
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_EQ(prompter.messages()[0], QStringLiteral("<K> の設定が読み込めません\rﾕｰｻﾞｰ環境ﾌｧｲﾙ(") +
                                          path + QStringLiteral(") が破損しています"));
    EXPECT_TRUE(prompter.messages()[1].startsWith(QStringLiteral("<X> の設定")));

    // Without the root end tag a new group cannot be inserted.
    ini.sXml = QStringLiteral("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n");
    ini.GetGtx(QStringLiteral("NEW"));
    EXPECT_THROW(ini.SetGtx(), yIni::DocumentError);
}

TEST(Settings, FileRulesDvNameAndEmptyFirstLine) {
    const QString dir = TestEnv::freshDir(QStringLiteral("ini"));
    yIni ini = loaded(dir + QStringLiteral("/User_dv.XML"));
    EXPECT_EQ(ini.sXmlPh, dir + QStringLiteral("/User.xml"));

    TestEnv::writeFile(dir + QStringLiteral("/blank.xml"), "\r\n   <G>\r\n   </G>\r\n</運用>");
    yIni blank = loaded(dir + QStringLiteral("/blank.xml"));
    EXPECT_EQ(blank.sXml, kFresh);
}

TEST(Settings, ShiftJisRoundTripAndUtf8Fallback) {
    const QString dir = TestEnv::freshDir(QStringLiteral("ini"));
    const QString path = dir + QStringLiteral("/User.xml");
    {
        yIni ini = loaded(path);
        ini.GetGtx(QStringLiteral("TX_USR"));
        ini.SetVal(QStringLiteral("更新確認"), QStringLiteral("確認"));
        ini.SetVal(QStringLiteral("WMF_PH"), QStringLiteral("/home/ﾕｰｻﾞｰ/図"));
        ini.SetGtx();
        bool ok = false;
        ini.SetTxt(ok);
        ASSERT_TRUE(ok);
        EXPECT_FALSE(TextCodec::isValidUtf8(TestEnv::readFile(path))); // really Shift-JIS
    }
    {
        yIni ini = loaded(path);
        ini.GetGtx(QStringLiteral("TX_USR"));
        EXPECT_EQ(ini.vGtVal(QStringLiteral("更新確認"), QString()), QStringLiteral("確認"));
        EXPECT_EQ(ini.vGtVal(QStringLiteral("WMF_PH"), QString()),
                  QStringLiteral("/home/ﾕｰｻﾞｰ/図"));
        // A value Shift-JIS cannot hold switches the whole file to UTF-8.
        ini.SetVal(QStringLiteral("WMF_PH"), QStringLiteral("/home/한국/😀"));
        ini.SetGtx();
        bool ok = false;
        ini.SetTxt(ok);
        ASSERT_TRUE(ok);
        const QByteArray bytes = TestEnv::readFile(path);
        EXPECT_TRUE(bytes.startsWith("<?xml version='1.0' encoding='UTF-8' ?>"));
        EXPECT_TRUE(TextCodec::isValidUtf8(bytes));
    }
    {
        yIni ini = loaded(path);
        ini.GetGtx(QStringLiteral("TX_USR"));
        EXPECT_EQ(ini.vGtVal(QStringLiteral("WMF_PH"), QString()), QStringLiteral("/home/한국/😀"));
        EXPECT_EQ(ini.vGtVal(QStringLiteral("更新確認"), QString()), QStringLiteral("確認"));
        // Back to values Shift-JIS holds: the file and its header return to Shift-JIS.
        ini.SetVal(QStringLiteral("WMF_PH"), QStringLiteral("/tmp"));
        ini.SetGtx();
        bool ok = false;
        ini.SetTxt(ok);
        EXPECT_TRUE(
            TestEnv::readFile(path).startsWith("<?xml version='1.0' encoding='Shift-JIS' ?>"));
    }
    {
        // A wave dash or a yen sign has only a look-alike in Shift-JIS: the
        // file is written as UTF-8 so they come back as they were.
        yIni ini = loaded(path);
        ini.GetGtx(QStringLiteral("TX_USR"));
        ini.SetVal(QStringLiteral("WMF_PH"), QStringLiteral("/tmp/1\u301C2 \u00A5"));
        ini.SetGtx();
        bool ok = false;
        ini.SetTxt(ok);
        ASSERT_TRUE(ok);
        EXPECT_TRUE(TestEnv::readFile(path).startsWith("<?xml version='1.0' encoding='UTF-8' ?>"));
        yIni again = loaded(path);
        again.GetGtx(QStringLiteral("TX_USR"));
        EXPECT_EQ(again.vGtVal(QStringLiteral("WMF_PH"), QString()),
                  QStringLiteral("/tmp/1\u301C2 \u00A5"));
    }
    // Bytes that are not valid Shift-JIS are replaced, never a crash.
    TestEnv::writeFile(
        path, QByteArray("<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<\x89\x5e\x97\x70>\r\n"
                         "   <G>\r\n      <K>\xff\xfe\x81</K>\r\n   </G>\r\n</\x89\x5e\x97\x70>"));
    yIni damaged = loaded(path);
    damaged.GetGtx(QStringLiteral("G"));
    EXPECT_TRUE(damaged.vGtVal(QStringLiteral("K"), QString()).contains(QChar(0xFFFD)));
}

TEST(Settings, UnwritableFileReportsFailure) {
    const QString dir = TestEnv::freshDir(QStringLiteral("ini"));
    yIni ini = loaded(dir + QStringLiteral("/User.xml"));
    ini.sXmlPh = dir + QStringLiteral("/no/such/folder/User.xml");
    bool ok = true;
    ini.SetTxt(ok);
    EXPECT_FALSE(ok);
}

// Characters that are markup or line structure in the file, in values and in
// group and key names, read back exactly after a real write and read, and
// leave the keys after them intact.
TEST(Settings, MarkupCharactersInValuesAndNamesRoundTrip) {
    const QString dir = TestEnv::freshDir(QStringLiteral("ini"));
    const QString path = dir + QStringLiteral("/User.xml");
    const QString folder = QStringLiteral("/home/a/<b>&c ‡d\r\ne\nf\rg</TX_SCREEN>&amp;/");
    const QString group = QStringLiteral("G<1>&‡\r\n");
    {
        yIni ini = loaded(path);
        ini.GetGtx(QStringLiteral("TX_SCREEN"));
        ini.SetVal(QStringLiteral("PATH"), folder);
        ini.SetVal(QStringLiteral("AFTER"), QStringLiteral("kept"));
        ini.SetVal(QStringLiteral("K<&>"), QStringLiteral("named"));
        ini.SetGtx();
        ini.GetGtx(group);
        ini.SetVal(QStringLiteral("V"), folder);
        ini.SetGtx();
        ini.GetGtx(QStringLiteral("LAST"));
        ini.SetVal(QStringLiteral("X"), QStringLiteral("1"));
        ini.SetGtx();
        bool ok = false;
        ini.SetTxt(ok);
        ASSERT_TRUE(ok);
    }
    // Each value stays on its own line of the file.
    const QString text = TextCodec::fromCp932(TestEnv::readFile(path));
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), 13) << text.toStdString();

    ScriptedPrompter prompter;
    prompter.setStrict(true); // a damaged file would show a message
    yIni ini = loaded(path);
    ini.GetGtx(QStringLiteral("TX_SCREEN"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("PATH"), QString()), folder);
    EXPECT_EQ(ini.vGtVal(QStringLiteral("AFTER"), QString()), QStringLiteral("kept"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("K<&>"), QString()), QStringLiteral("named"));
    ini.GetGtx(group);
    EXPECT_EQ(ini.vGtVal(QStringLiteral("V"), QString()), folder);
    ini.GetGtx(QStringLiteral("LAST"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("X"), 0), 1);

    // Rewriting a group with such names replaces it instead of adding a copy.
    ini.GetGtx(group);
    ini.SetVal(QStringLiteral("V"), QStringLiteral("new"));
    ini.SetGtx();
    EXPECT_EQ(ini.sXml.count(QStringLiteral("<G&lt;1&gt;")), 1);
}

// Files written before values were escaped: a bare "&", and "&" followed by
// text that is no entity, read as they were written.
TEST(Settings, EarlierFilesWithBareAmpersandsReadUnchanged) {
    const QString path = TestEnv::freshDir(QStringLiteral("ini")) + QStringLiteral("/User.xml");
    TestEnv::writeFile(path, TextCodec::toCp932(QStringLiteral(
                                 "<?xml version='1.0' encoding='Shift-JIS' ?>\r\n<運用>\r\n"
                                 "   <G>\r\n      <A>Tom & Jerry</A>\r\n"
                                 "      <B>&nosuch; &#; &#x110000; &#0; &</B>\r\n"
                                 "      <C>R&amp;D &#x41;&#66;</C>\r\n   </G>\r\n</運用>")));
    yIni ini = loaded(path);
    ini.GetGtx(QStringLiteral("G"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("A"), QString()), QStringLiteral("Tom & Jerry"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("B"), QString()),
              QStringLiteral("&nosuch; &#; &#x110000; &#0; &"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("C"), QString()), QStringLiteral("R&D AB"));
}
