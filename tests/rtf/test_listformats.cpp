// Number formats and level texts of RTF lists, read and written.
#include "ListDocs.h"
#include "ListNumbers.h"
#include "RtfTestUtil.h"

using namespace model;
using namespace rtftest;

TEST(RtfListFormats, WordsNumberCodesReadAsTheirFormats) {
    const Document d = readRtf(
        "{\\rtf1\\ansi\\uc1{\\*\\listtable{\\list\\listtemplateid1"
        "{\\listlevel\\levelnfc18\\levelnfcn18\\levelstartat2{\\leveltext\\'01\\'00;}"
        "{\\levelnumbers\\'01;}}"
        "{\\listlevel\\levelnfc11\\levelnfcn11\\levelstartat1{\\leveltext\\'03\\u31532 ?\\'01"
        "\\u31456 ?;}{\\levelnumbers\\'02;}}"
        "{\\listlevel\\levelnfc16\\levelnfcn16\\levelstartat1{\\leveltext\\'09Section \\'02.;}"
        "{\\levelnumbers\\'09;}}"
        "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}"
        "\\pard\\ls1\\ilvl0 a\\par\\pard\\ls1\\ilvl1 b\\par\\pard\\ls1\\ilvl2 c\\par}");
    ASSERT_EQ(d.lists.size(), 1u);
    const ListDef& l = d.lists[0];
    ASSERT_GE(l.levels.size(), 3u);
    EXPECT_EQ(l.levels[0].format, NumberFormat::DecimalEnclosedCircle);
    EXPECT_EQ(l.levels[0].text, "%1");
    EXPECT_EQ(l.levels[1].format, NumberFormat::JapaneseCounting);
    EXPECT_EQ(l.levels[1].text, "第%2章");
    EXPECT_EQ(l.levels[2].format, NumberFormat::JapaneseLegal);
    EXPECT_EQ(l.levels[2].text, "Section %3.");
    ListNumbering n(d);
    QStringList labels;
    for (const Block& b : d.sections[0].blocks)
        labels << n.next(b.paragraph.format);
    EXPECT_EQ(labels, QStringList({"②", "第一章", "Section 壱."}));
}

TEST(RtfListFormats, EveryFormatAndLevelTextSurvivesWritingAndReading) {
    const Document d = listdocs::numberFormats();
    QByteArray written;
    const Document back = roundTrip(d, &written);
    // Word's codes: circled 18, counting 11, digit by digit 10, legal 16.
    for (const char* code : {"\\levelnfc18", "\\levelnfc11", "\\levelnfc10", "\\levelnfc16"})
        EXPECT_TRUE(written.contains(code)) << code;
    ASSERT_EQ(back.lists.size(), 1u);
    EXPECT_EQ(back.lists[0].levels, d.lists[0].levels);
    EXPECT_SAME_DOC(d, back);
}
