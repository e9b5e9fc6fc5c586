// Reading RTF as other programs write it: code pages, Unicode with its
// fallback, styles, tables defined before their cells, pictures in binary,
// fields whose result has paragraphs.
#include "RtfTestUtil.h"

using namespace model;
using namespace rtftest;

namespace {

QString text(const QByteArray& rtf) {
    return plainText(readRtf(rtf));
}

TEST(RtfReader, CodePagesAndUnicodeFallbacks) {
    // Shift-JIS in \'hh pairs under \ansicpg932, a font with \fcharset128
    // inside a Western document, and a lead byte whose trail byte is "\\".
    EXPECT_EQ(
        text("{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset1 X;}}\\f0 \\'93\\'fa\\'96\\'7b}"),
        QStringLiteral("日本\n"));
    EXPECT_EQ(text("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset128 "
                   "\\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}\\f0 caf\\'e9 {\\f1 \\'95\\'5c}}"),
              QStringLiteral("café 表\n"));
    // \dbch selects the East Asian font for the bytes that follow.
    const Document d =
        readRtf("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1"
                "\\fcharset128 Mincho;}}{\\loch\\af0\\hich\\af0\\dbch\\f1 \\'8a\\'bf}"
                "{\\hich\\af0\\dbch\\af1\\loch\\f0  x}\\par}");
    ASSERT_FALSE(body(d).empty());
    const auto& c = body(d)[0].paragraph.content;
    // Both runs name Arial for Latin and Mincho for East Asian text.
    ASSERT_EQ(c.size(), 1u) << dump(d);
    EXPECT_EQ(c[0].text, QStringLiteral("漢 x"));
    EXPECT_EQ(c[0].format.font, QStringLiteral("Arial"));
    EXPECT_EQ(c[0].format.fontEastAsia, QStringLiteral("Mincho"));
    // \uN skips \ucN fallback characters: bytes, \'hh and control words
    // count one each; the count is the group's; negative N wrap.
    EXPECT_EQ(text("{\\rtf1\\uc2\\u26085\\'93\\'fa\\u-3913 ??z}"), QStringLiteral("日\uF0B7z\n"));
    EXPECT_EQ(text("{\\rtf1\\uc1{\\uc3\\u65 \\tab\\'41x}\\u66 ?y}"), QStringLiteral("ABy\n"));
    EXPECT_EQ(text("{\\rtf1 \\u-10179?\\u-8704?}"), QStringLiteral("😀\n"));
    // A fallback cut short by the end of the group skips no further.
    EXPECT_EQ(text("{\\rtf1\\uc4{\\u67 ab}cd}"), QStringLiteral("Ccd\n"));
}

TEST(RtfReader, StylesheetStylesApplyTheirFormatting) {
    const Document d =
        readRtf("{\\rtf1{\\fonttbl{\\f0 Times;}{\\f1 Arial;}}{\\stylesheet{\\s0 Normal;}"
                "{\\s1\\qc\\sb240\\b\\f1\\fs32 heading 1;}{\\*\\cs10\\i Emphasis;}}"
                "\\pard\\plain\\s1 Title\\par\\pard\\plain Body {\\cs10 it}\\par}");
    ASSERT_EQ(body(d).size(), 2u) << dump(d);
    const Paragraph& h = body(d)[0].paragraph;
    EXPECT_EQ(h.format.styleName, QStringLiteral("heading 1"));
    EXPECT_EQ(h.format.align, Alignment::Center);
    EXPECT_EQ(h.format.spaceBefore, 240);
    ASSERT_FALSE(h.content.empty());
    EXPECT_TRUE(h.content[0].format.bold);
    EXPECT_EQ(h.content[0].format.halfPoints, 32);
    EXPECT_EQ(h.content[0].format.font, QStringLiteral("Arial"));
    const Paragraph& b = body(d)[1].paragraph;
    EXPECT_TRUE(b.format.styleName.isEmpty()) << "the default style is no named style";
    ASSERT_EQ(b.content.size(), 2u);
    EXPECT_EQ(b.content[0].format.font, QStringLiteral("Times"));
    EXPECT_TRUE(b.content[1].format.italic);
}

TEST(RtfReader, WordStyleTableAndRowsAcrossDefinitions) {
    // Row properties before the cells, repeated before \row; a row whose
    // cells are fewer than its definitions is filled up.
    const Document d =
        readRtf("{\\rtf1\\trowd\\trgaph108\\trleft-108\\clvmgf\\cellx2000\\cellx4000\\pard\\intbl "
                "a\\cell b\\cell\\row\\trowd\\trgaph108\\trleft-108\\clvmrg\\cellx2000\\cellx4000"
                "\\cellx6000\\pard\\intbl\\cell c\\cell\\row\\pard after\\par}");
    ASSERT_EQ(body(d).size(), 2u) << dump(d);
    const Table& t = body(d)[0].table;
    ASSERT_EQ(t.rows.size(), 2u);
    ASSERT_EQ(t.rows[0].cells.size(), 2u);
    EXPECT_EQ(t.rows[0].cells[0].width, 2108);
    EXPECT_EQ(t.rows[0].cells[1].width, 2000);
    EXPECT_EQ(t.rows[0].cells[0].verticalMerge, Merge::Restart);
    ASSERT_EQ(t.rows[1].cells.size(), 3u);
    EXPECT_EQ(t.rows[1].cells[0].verticalMerge, Merge::Continue);
    EXPECT_EQ(plainText(t.rows[1].cells[1].blocks), QStringLiteral("c\n"));
    EXPECT_EQ(t.cellMargin, 108);
    EXPECT_EQ(t.indent, -108);
    EXPECT_EQ(plainText(d), QStringLiteral("a\tb\n\tc\t\nafter\n"));
}

TEST(RtfReader, PicturesInBinaryAndAsBitmaps) {
    QByteArray rtf = "{\\rtf1{\\pict\\pngblip\\picwgoal300\\pichgoal150\\bin5 ";
    rtf += QByteArray("\x89PNG}", 5);
    rtf += "}{\\pict\\dibitmap0\\picw2\\pich2 ";
    // A 2x2 24-bit DIB: header of 40 bytes, 16 bytes of pixels.
    QByteArray dib = QByteArray::fromHex("28000000020000000200000001001800000000001000000000000000"
                                         "0000000000000000") +
                     QByteArray(16, '\x7f');
    rtf += dib.toHex() + "}{\\*\\shppict{\\pict\\emfblip 0102}}{\\nonshppict{\\pict\\wmetafile8 "
                         "0304}}{\\pict\\macpict 0506}}";
    const Document d = readRtf(rtf);
    ASSERT_FALSE(body(d).empty());
    const auto& c = body(d)[0].paragraph.content;
    ASSERT_EQ(c.size(), 3u) << "PNG, bitmap, EMF (its stand-in and a Mac picture skipped)";
    EXPECT_EQ(c[0].picture.type, ImageType::Png);
    EXPECT_EQ(c[0].picture.data, QByteArray("\x89PNG}", 5));
    EXPECT_EQ(c[0].picture.width, 300);
    EXPECT_EQ(c[1].picture.type, ImageType::Bmp);
    EXPECT_TRUE(c[1].picture.data.startsWith("BM"));
    EXPECT_EQ(c[1].picture.data.mid(14), dib);
    EXPECT_EQ(c[1].picture.data.mid(10, 4), QByteArray::fromHex("36000000"));
    EXPECT_EQ(c[1].picture.width, 30);
    EXPECT_EQ(c[2].picture.type, ImageType::Emf);
    EXPECT_EQ(c[2].picture.data, QByteArray::fromHex("0102"));
}

TEST(RtfReader, FieldsLinksAndResultsWithParagraphs) {
    const Document d = readRtf(
        "{\\rtf1{\\field{\\*\\fldinst {HYPERLINK \"file.doc\" \\\\l \"sec\"}}{\\fldrslt {\\ul "
        "go}}} {\\field{\\*\\fldinst TOC \\\\o}{\\fldrslt one\\par two}}\\par}");
    ASSERT_EQ(body(d).size(), 2u) << dump(d);
    const auto& c = body(d)[0].paragraph.content;
    ASSERT_GE(c.size(), 2u) << dump(d);
    ASSERT_EQ(c[0].kind, Inline::Kind::Field);
    EXPECT_EQ(c[0].field.type, FieldType::Hyperlink);
    EXPECT_EQ(c[0].field.target, QStringLiteral("file.doc#sec"));
    EXPECT_EQ(c[0].field.kind, 1);
    ASSERT_EQ(c[0].field.result.size(), 1u);
    EXPECT_EQ(c[0].field.result[0].format.underline, Underline::Single);
    // A result spanning paragraphs stays as its text.
    EXPECT_EQ(plainText(d), QStringLiteral("go one\ntwo\n"));
}

TEST(RtfReader, HeadersCarryOverToLaterSections) {
    const Document d = readRtf("{\\rtf1\\paperw12000\\margl900{\\header head\\par}one\\sect\\sectd"
                               "\\sbknone two\\sect\\sectd{\\header}three\\par}");
    ASSERT_EQ(d.sections.size(), 3u);
    EXPECT_EQ(plainText(d.sections[0].header), QStringLiteral("head\n"));
    EXPECT_EQ(d.sections[1].header, d.sections[0].header);
    EXPECT_EQ(d.sections[1].start, SectionStart::Continuous);
    EXPECT_EQ(d.sections[1].page.width, 12000) << "\\sectd returns to the document's page";
    EXPECT_EQ(d.sections[1].page.marginLeft, 900);
    EXPECT_TRUE(d.sections[2].header.empty());
    EXPECT_EQ(plainText(d), QStringLiteral("one\ntwo\nthree\n"));
}

TEST(RtfReader, TextBoxesBecomeFrames) {
    const Document d = readRtf("{\\rtf1 before\\par{\\shp{\\*\\shpinst\\shpleft100\\shptop200"
                               "\\shpright1100\\shpbottom700\\shpwr3{\\shptxt \\pard box\\par "
                               "text}}{\\shprslt old copy}}after\\par}");
    ASSERT_EQ(body(d).size(), 3u) << dump(d);
    ASSERT_EQ(body(d)[1].kind, Block::Kind::Frame);
    const Frame& f = body(d)[1].frame;
    EXPECT_EQ(f.x, 100);
    EXPECT_EQ(f.y, 200);
    EXPECT_EQ(f.width, 1000);
    EXPECT_EQ(f.height, 500);
    EXPECT_FALSE(f.wrapAround);
    EXPECT_EQ(plainText(f.blocks), QStringLiteral("box\ntext\n"));
    EXPECT_EQ(plainText(d), QStringLiteral("before\nbox\ntext\nafter\n"));
}

TEST(RtfReader, RefusesWhatIsNotRtf) {
    QString error;
    EXPECT_FALSE(rtf::read("hello {\\rtf1 x}", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(rtf::read(QByteArray(), &error));
    EXPECT_TRUE(rtf::read("  \r\n{\\rtf1 ok}", &error));
}

} // namespace
