// Number formats and level texts of lists, as Word writes them and back.
#include "DocxTestUtil.h"
#include "ListDocs.h"
#include "ListNumbers.h"
#include "Package.h"

using namespace model;
using namespace docxtest;

TEST(DocxListFormats, CircledCountingAndLegalNumbersRead) {
    const QByteArray numbering =
        QByteArray("<?xml version=\"1.0\"?><w:numbering ") + kW +
        "><w:abstractNum w:abstractNumId=\"0\">"
        "<w:lvl w:ilvl=\"0\"><w:start w:val=\"3\"/><w:numFmt w:val=\"decimalEnclosedCircle\"/>"
        "<w:lvlText w:val=\"%1\"/></w:lvl>"
        "<w:lvl w:ilvl=\"1\"><w:numFmt w:val=\"japaneseCounting\"/>"
        "<w:lvlText w:val=\"第%2章\"/></w:lvl>"
        "<w:lvl w:ilvl=\"2\"><w:numFmt w:val=\"japaneseDigitalTenThousand\"/>"
        "<w:lvlText w:val=\"(%3)\"/></w:lvl>"
        "<w:lvl w:ilvl=\"3\"><w:numFmt w:val=\"decimalEnclosedCircleChinese\"/>"
        "<w:lvlText w:val=\"%4\"/></w:lvl>"
        "<w:lvl w:ilvl=\"4\"><w:numFmt w:val=\"ideographDigital\"/>"
        "<w:lvlText w:val=\"Section %5.\"/></w:lvl>"
        "</w:abstractNum><w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"
        "</w:numbering>";
    QByteArray body;
    for (int k = 0; k < 5; ++k)
        body += "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"" + QByteArray::number(k) +
                "\"/><w:numId w:val=\"1\"/></w:numPr></w:pPr><w:r><w:t>x</w:t></w:r></w:p>";
    QString error;
    const auto d = docx::read(
        package(body, {{"word/numbering.xml", numbering}}, rel("rN", "numbering", "numbering.xml")),
        &error);
    ASSERT_TRUE(d.has_value()) << error.toStdString();
    const ListDef* l = d->list(1);
    ASSERT_NE(l, nullptr);
    ASSERT_EQ(l->levels.size(), 5u);
    EXPECT_EQ(l->levels[0].format, NumberFormat::DecimalEnclosedCircle);
    EXPECT_EQ(l->levels[1].format, NumberFormat::JapaneseCounting);
    EXPECT_EQ(l->levels[1].text, "第%2章");
    EXPECT_EQ(l->levels[2].format, NumberFormat::JapaneseCounting);
    EXPECT_EQ(l->levels[3].format, NumberFormat::DecimalEnclosedCircle);
    EXPECT_EQ(l->levels[4].format, NumberFormat::IdeographDigital);
    ListNumbering n(*d);
    QStringList labels;
    for (const Block& b : d->sections[0].blocks)
        labels << n.next(b.paragraph.format);
    EXPECT_EQ(labels, QStringList({"③", "第一章", "(一)", "①", "Section 一."}));
}

TEST(DocxListFormats, EveryFormatAndLevelTextSurvivesWritingAndReading) {
    const Document d = listdocs::numberFormats();
    QString error;
    const auto bytes = docx::write(d, &error);
    ASSERT_TRUE(bytes.has_value()) << error.toStdString();
    // Written with Word's own names, so Word shows the same numbers.
    docx::PackageReader pkg;
    ASSERT_TRUE(pkg.open(*bytes, 1 << 24, &error)) << error.toStdString();
    const QByteArray numbering = pkg.part(QStringLiteral("word/numbering.xml")).value_or("");
    for (const char* word : {"decimalEnclosedCircle", "japaneseCounting", "ideographDigital",
                             "japaneseLegal", "Section %1.", "第%3章"})
        EXPECT_TRUE(numbering.contains(word)) << word;
    const Document back = roundTrip(d);
    ASSERT_EQ(back.lists.size(), 1u);
    EXPECT_EQ(back.lists[0].levels, d.lists[0].levels);
    expectSame(d, back);
}
