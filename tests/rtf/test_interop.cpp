// Interop with LibreOffice both ways: it opens the RTF we write with the same
// text, formatting, table, picture, link, header and footer, and what it
// writes as RTF from that content reads back with the same again.
#include "Peers.h"
#include "RtfTestUtil.h"
#include "TestEnv.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QRegularExpression>

using namespace model;
using namespace rtftest;

namespace {

QByteArray validPng() {
    QImage img(8, 4, QImage::Format_RGB32);
    img.fill(qRgb(200, 30, 30));
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return out;
}

// A document with one of each thing the test compares.
Document richDocument() {
    Document d;
    Section& s = d.lastSection();
    Paragraph title;
    CharFormat big;
    big.bold = true;
    big.halfPoints = 32;
    big.color = rgb(255, 0, 0);
    title.addText(QStringLiteral("BoldTitle 見出し"), big);
    title.format.align = Alignment::Center;
    s.blocks.push_back(Block::makeParagraph(title));
    Paragraph body;
    body.addText(QStringLiteral("Plain 本文 "), {});
    CharFormat it;
    it.italic = true;
    body.addText(QStringLiteral("ItalicWord"), it);
    body.addText(QStringLiteral(" and "), {});
    Field link;
    link.type = FieldType::Hyperlink;
    link.target = QStringLiteral("https://example.com/page");
    link.kind = 1;
    link.option = 149;
    link.result = {Inline::makeText(QStringLiteral("LinkText"), {})};
    body.content.push_back(Inline::makeField(link));
    s.blocks.push_back(Block::makeParagraph(body));
    Table t;
    for (int r = 0; r < 2; ++r) {
        TableRow row;
        for (int c = 0; c < 2; ++c) {
            TableCell cell;
            cell.width = 2000;
            cell.blocks = {Block::makeParagraph(para(QStringLiteral("表%1%2").arg(r).arg(c)))};
            row.cells.push_back(cell);
        }
        t.rows.push_back(row);
    }
    s.blocks.push_back(Block::makeTable(t));
    Paragraph pic;
    Picture p;
    p.type = ImageType::Png;
    p.data = validPng();
    p.width = 1200;
    p.height = 600;
    pic.content.push_back(Inline::makePicture(p));
    s.blocks.push_back(Block::makeParagraph(pic));
    s.blocks.push_back(Block::makeParagraph(para(QStringLiteral("最後の段落"))));
    s.header = {Block::makeParagraph(para(QStringLiteral("HeaderText ヘッダー")))};
    s.footer = {Block::makeParagraph(para(QStringLiteral("FooterText フッター")))};
    return d;
}

struct Found {
    int pictures = 0;
    QStringList links;
    int tables = 0;
    bool boldTitle = false;
    bool italicWord = false;
};

void scan(const std::vector<Inline>& content, Found& f) {
    for (const Inline& in : content) {
        if (in.kind == Inline::Kind::Picture)
            ++f.pictures;
        if (in.kind == Inline::Kind::Field && in.field.type == FieldType::Hyperlink)
            f.links << in.field.target;
        if (in.kind == Inline::Kind::Text && in.text.contains(QStringLiteral("BoldTitle")))
            f.boldTitle = in.format.bold && in.format.halfPoints == 32;
        if (in.kind == Inline::Kind::Text && in.text.contains(QStringLiteral("ItalicWord")))
            f.italicWord = in.format.italic;
        if (in.kind == Inline::Kind::Field)
            scan(in.field.result, f);
    }
}

Found scan(const Document& d) {
    Found f;
    for (const Section& s : d.sections)
        for (const Block& b : s.blocks) {
            if (b.kind == Block::Kind::Paragraph)
                scan(b.paragraph.content, f);
            if (b.kind == Block::Kind::Table)
                ++f.tables;
        }
    return f;
}

QString utf8Text(const QString& file) {
    return QString::fromUtf8(TestEnv::readFile(file));
}

TEST(RtfInterop, LibreOfficeReadsWhatWeWriteAndWeReadWhatItWrites) {
    const QString dir = TestEnv::freshDir(QStringLiteral("rtf-interop"));
    const Document d = richDocument();
    QString error;
    const auto ours = rtf::write(d, &error);
    ASSERT_TRUE(ours) << error.toStdString();
    const QString mine = dir + QStringLiteral("/ours.rtf");
    TestEnv::writeFile(mine, *ours);

    // LibreOffice's view of our file: its text, and its formatting.
    const QString txtDir = dir + QStringLiteral("/txt");
    const QString fodtDir = dir + QStringLiteral("/fodt");
    const QString rtfDir = dir + QStringLiteral("/rtf");
    ASSERT_TRUE(peers::soffice({mine}, QStringLiteral("txt:Text (encoded):UTF8"), txtDir));
    ASSERT_TRUE(peers::soffice({mine}, QStringLiteral("fodt"), fodtDir));
    ASSERT_TRUE(peers::soffice({mine}, QStringLiteral("rtf"), rtfDir));
    const QString loText = utf8Text(txtDir + QStringLiteral("/ours.txt"));
    EXPECT_EQ(peers::squeeze(loText), peers::squeeze(plainText(d)));
    const QString fodt = utf8Text(fodtDir + QStringLiteral("/ours.fodt"));
    const QList<peers::ParagraphLook> looks = peers::paragraphLooks(fodt);
    ASSERT_FALSE(looks.isEmpty());
    EXPECT_EQ(looks[0].text, QStringLiteral("BoldTitle 見出し"));
    EXPECT_TRUE(looks[0].bold);
    EXPECT_DOUBLE_EQ(looks[0].points, 16);
    EXPECT_TRUE(fodt.contains(QStringLiteral("xlink:href=\"https://example.com/page\"")));
    EXPECT_TRUE(fodt.contains(QStringLiteral("<table:table ")));
    EXPECT_TRUE(fodt.contains(QStringLiteral("<draw:image")));
    EXPECT_TRUE(fodt.contains(QStringLiteral("HeaderText ヘッダー")));
    EXPECT_TRUE(fodt.contains(QStringLiteral("FooterText フッター")));

    // LibreOffice's own RTF of the same content, read by us.
    const QByteArray theirs = TestEnv::readFile(rtfDir + QStringLiteral("/ours.rtf"));
    ASSERT_FALSE(theirs.isEmpty());
    ASSERT_NE(theirs, *ours);
    const Document back = readRtf(theirs);
    EXPECT_EQ(peers::squeeze(plainText(back)), peers::squeeze(plainText(d)));
    const Found f = scan(back);
    EXPECT_TRUE(f.boldTitle) << dump(back);
    EXPECT_TRUE(f.italicWord);
    EXPECT_EQ(f.links, QStringList{QStringLiteral("https://example.com/page")});
    EXPECT_EQ(f.tables, 1);
    EXPECT_EQ(f.pictures, 1);
    ASSERT_FALSE(back.sections.empty());
    EXPECT_TRUE(plainText(back.sections[0].header).contains(QStringLiteral("HeaderText ヘッダー")));
    EXPECT_TRUE(plainText(back.sections[0].footer).contains(QStringLiteral("FooterText フッター")));
    for (const Block& b : back.sections[0].blocks)
        if (b.kind == Block::Kind::Table) {
            ASSERT_EQ(b.table.rows.size(), 2u);
            ASSERT_EQ(b.table.rows[1].cells.size(), 2u);
            EXPECT_EQ(plainText(b.table.rows[1].cells[1].blocks), QStringLiteral("表11\n"));
        }
    if (f.pictures == 1)
        for (const Block& b : back.sections[0].blocks)
            for (const Inline& in : b.paragraph.content)
                if (in.kind == Inline::Kind::Picture) {
                    EXPECT_EQ(in.picture.type, ImageType::Png);
                    EXPECT_EQ(QImage::fromData(in.picture.data).size(), QSize(8, 4));
                    EXPECT_NEAR(in.picture.shownWidth(), 1200, 30);
                }
}

} // namespace
