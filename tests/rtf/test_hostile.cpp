// Damaged and hostile files: read as far as they go, in bounded time and
// memory, never crashing.
#include "RtfTestUtil.h"

using namespace model;
using namespace rtftest;

namespace {

TEST(RtfHostile, UnbalancedGroups) {
    EXPECT_EQ(plainText(readRtf("{\\rtf1 {\\b open {\\i never closed")),
              QStringLiteral("open never closed\n"));
    EXPECT_EQ(plainText(readRtf("{\\rtf1 a}}}} b}")), QStringLiteral("a\n"));
    // A group that closes inside a header or a field still ends them.
    const Document d = readRtf("{\\rtf1{\\header {\\field{\\*\\fldinst PAGE");
    EXPECT_FALSE(d.sections.empty());
}

TEST(RtfHostile, DeepNesting) {
    const int n = 200000;
    QByteArray rtf = "{\\rtf1 ";
    rtf += QByteArray(n, '{') + "deep" + QByteArray(n, '}') + " out}";
    EXPECT_EQ(plainText(readRtf(rtf)), QStringLiteral("deep out\n"));
    // Formatting deeper than the kept depth stays scoped correctly around it.
    QByteArray b = "{\\rtf1 {\\b ";
    b += QByteArray(1000, '{') + "x" + QByteArray(1000, '}') + "}y}";
    const Document d = readRtf(b);
    ASSERT_FALSE(body(d).empty());
    const auto& c = body(d)[0].paragraph.content;
    ASSERT_EQ(c.size(), 2u) << dump(d);
    EXPECT_TRUE(c[0].format.bold);
    EXPECT_FALSE(c[1].format.bold);
}

TEST(RtfHostile, HugeBinAndBadHex) {
    // \bin asking for far more than the file holds takes what there is.
    const Document d = readRtf("{\\rtf1 a{\\pict\\pngblip\\bin2147483647 xyz");
    EXPECT_EQ(plainText(d), QStringLiteral("a\n"));
    EXPECT_EQ(plainText(readRtf("{\\rtf1 a\\bin99999999999999999999 b}")), QStringLiteral("a\n"));
    // \' without two hex digits is dropped; the text after it is kept.
    EXPECT_EQ(plainText(readRtf("{\\rtf1 a\\'zzb\\'4}")), QStringLiteral("azzb4\n"));
    EXPECT_EQ(plainText(readRtf("{\\rtf1 a\\'")), QStringLiteral("a\n"));
    // Odd hex digits and junk inside picture data.
    const Document p = readRtf("{\\rtf1{\\pict\\pngblip 8 9 g5 0 4}}");
    ASSERT_FALSE(body(p).empty());
    ASSERT_EQ(body(p)[0].paragraph.content.size(), 1u);
    EXPECT_EQ(body(p)[0].paragraph.content[0].picture.data, QByteArray::fromHex("8950"));
}

TEST(RtfHostile, HugeSkipCountsAndParameters) {
    EXPECT_EQ(plainText(readRtf("{\\rtf1{\\uc2147483647\\u65 swallowed \\par all}kept}")),
              QStringLiteral("Akept\n"));
    EXPECT_EQ(plainText(readRtf("{\\rtf1\\uc-5\\u66 x}")), QStringLiteral("Bx\n"));
    const Document d = readRtf("{\\rtf1\\fs99999999999\\li-99999999999\\cf4294967296\\f-7 x\\par}");
    ASSERT_FALSE(body(d).empty());
    EXPECT_EQ(plainText(d), QStringLiteral("x\n"));
    EXPECT_GT(body(d)[0].paragraph.content[0].format.halfPoints, 0);
}

TEST(RtfHostile, RowAndCellBombsStayBounded) {
    // A row defined with many cells, repeated: each \row would copy them all.
    QByteArray rtf = "{\\rtf1\\trowd";
    for (int i = 0; i < 20000; ++i)
        rtf += "\\cellx" + QByteArray::number(i * 10);
    for (int i = 0; i < 20000; ++i)
        rtf += "\\row";
    rtf += "}";
    QString error;
    const auto d = rtf::read(rtf, &error);
    // Either read within the budget or refused for it, and quickly.
    if (d) {
        qint64 cells = 0;
        for (const Block& b : body(*d))
            if (b.kind == Block::Kind::Table)
                for (const TableRow& r : b.table.rows)
                    cells += qint64(r.cells.size());
        EXPECT_LT(cells, 2000000);
    } else {
        EXPECT_TRUE(error.contains(QStringLiteral("memory"))) << error.toStdString();
    }
}

TEST(RtfHostile, ControlWordsInTheWrongPlaces) {
    // Cells and rows outside tables, sections in headers, fields without
    // instructions, shapes without pictures, pictures without a kind.
    const Document d =
        readRtf("{\\rtf1\\cell\\row\\nestcell\\nestrow{\\header\\sect h}\\itap99 x\\cell\\row"
                "{\\field{\\fldrslt r}}{\\shp{\\*\\shpinst\\shpleft5{\\sp{\\sn pib}{\\sv x}}}}"
                "{\\pict 0102}{\\*\\bkmkend}{\\*\\unknown junk}{\\fldinst lost}\\sect\\sect end}");
    EXPECT_TRUE(plainText(d).contains(QStringLiteral("end")));
    EXPECT_TRUE(plainText(d).contains(QStringLiteral("r")));
    EXPECT_FALSE(plainText(d).contains(QStringLiteral("junk")));
}

} // namespace
