// Damaged and hostile packages: refused or read in part, never a crash, a
// hang or memory without bound.
#include "DocxTestUtil.h"

#include <QElapsedTimer>

using namespace model;
using namespace docxtest;

namespace {

QByteArray sample() {
    Document d;
    Section s;
    s.header = {block("header")};
    Table t;
    TableCell c;
    c.width = 1000;
    c.blocks = {block("cell")};
    t.rows.push_back({{c, c}});
    Paragraph p = para("text with a picture ");
    Picture pic;
    pic.data = png(4, 4);
    pic.type = ImageType::Png;
    pic.width = pic.height = 200;
    p.content.push_back(Inline::makePicture(pic));
    Field f;
    f.target = "http://x.test";
    f.result = {Inline::makeText("link", {})};
    p.content.push_back(Inline::makeField(f));
    s.blocks = {Block::makeParagraph(p), Block::makeTable(t), block("end")};
    d.sections = {s};
    return docx::write(d).value_or(QByteArray());
}

// A part that repeats `unit` until it holds `bytes`.
QByteArray repeated(const QByteArray& unit, qint64 bytes) {
    QByteArray out;
    out.reserve(bytes);
    while (out.size() < bytes)
        out += unit;
    return out;
}

} // namespace

TEST(DocxHostile, NotAPackageOrCutShort) {
    QString error;
    EXPECT_FALSE(docx::read(QByteArray(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(docx::read("PK\x03\x04 not really", &error));
    EXPECT_FALSE(docx::read(QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(600, 0), &error));
    EXPECT_TRUE(error.contains("encrypted"));
    // Every prefix of a real package: refused or read, never more text than
    // the whole has.
    const QByteArray whole = sample();
    ASSERT_FALSE(whole.isEmpty());
    const QString full = plainText(*docx::read(whole));
    int readable = 0;
    for (qsizetype n = 0; n < whole.size(); n += 97) {
        const auto d = docx::read(whole.left(n), &error);
        if (d) {
            ++readable;
            EXPECT_LE(plainText(*d).size(), full.size());
        }
    }
    // The central directory is at the end: no prefix is a package.
    EXPECT_EQ(readable, 0);
    // Bytes flipped all over the package.
    for (qsizetype at = 0; at < whole.size(); at += 131) {
        QByteArray bad = whole;
        bad[at] = char(bad[at] ^ 0x5A);
        (void)docx::read(bad, &error);
    }
}

TEST(DocxHostile, MissingAndStrangeParts) {
    QString error;
    // No main text.
    docx::Parts parts{{"[Content_Types].xml", "<Types/>"}};
    EXPECT_FALSE(docx::read(docx::buildPackage(parts, nullptr).value(), &error));
    EXPECT_TRUE(error.contains("no main text")) << error.toStdString();
    // A main text without styles, relationships or settings still reads.
    const auto bare = docx::read(package("<w:p><w:r><w:t>bare</w:t></w:r></w:p>"), &error);
    ASSERT_TRUE(bare) << error.toStdString();
    EXPECT_EQ(plainText(*bare), "bare\n");
    // Malformed XML in the main text is refused; relationships that point
    // outside the package, at nothing or at themselves are ignored.
    EXPECT_FALSE(docx::read(package("<w:p><w:r><w:t>open</w:r></w:p>"), &error));
    const QByteArray rels = rel("rA", "image", "../../../../etc/passwd") +
                            rel("rB", "image", "media/none.png") +
                            rel("rC", "header", "document.xml") + rel("rD", "styles", "/");
    const auto odd = docx::read(
        package("<w:p><w:r><w:drawing><wp:inline><a:graphic><a:blip r:embed=\"rA\" "
                "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"/>"
                "</a:graphic></wp:inline></w:drawing><w:t>x</w:t></w:r></w:p>"
                "<w:sectPr xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                "relationships\"><w:headerReference r:id=\"rC\"/><w:headerReference "
                "w:type=\"first\" r:id=\"rZ\"/></w:sectPr>",
                {}, rels),
        &error);
    ASSERT_TRUE(odd) << error.toStdString();
    EXPECT_EQ(plainText(odd->sections.at(0).blocks), "x\n");
    // The main text named as the header: its body is no header content.
    EXPECT_TRUE(odd->sections.at(0).header.empty());
}

TEST(DocxHostile, InflatingBeyondTheAllowanceIsRefused) {
    QString error;
    QElapsedTimer timer;
    timer.start();
    // 150 MB of blanks inside one text run compresses to a few hundred KB.
    const QByteArray bomb = package("<w:p><w:r><w:t>" + repeated(QByteArray(4096, ' '), 150 << 20) +
                                    "</w:t></w:r></w:p>");
    ASSERT_FALSE(bomb.isEmpty());
    EXPECT_LT(bomb.size(), 2 << 20);
    EXPECT_FALSE(docx::read(bomb, &error));
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
    // Within the allowance of parts, but empty paragraphs by the million:
    // the model would take gigabytes.
    const QByteArray many = package(repeated("<w:p/>", 25 << 20));
    EXPECT_FALSE(docx::read(many, &error));
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
    // The same picture part named a hundred thousand times is read once.
    QByteArray body;
    const QByteArray drawing =
        "<w:r><w:drawing><wp:inline><wp:extent cx=\"6350\" cy=\"6350\"/><a:graphic><a:blip "
        "r:embed=\"rI\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"/>"
        "</a:graphic></wp:inline></w:drawing></w:r>";
    body = "<w:p>" + repeated(drawing, 100000 * drawing.size()) + "</w:p>";
    const QByteArray big(2 << 20, 'x');
    const auto pics = docx::read(
        package(body, {{"word/media/p.png", big}}, rel("rI", "image", "media/p.png")), &error);
    ASSERT_TRUE(pics) << error.toStdString();
    EXPECT_EQ(pics->sections.at(0).blocks.at(0).paragraph.content.size(), 100000u);
    EXPECT_LT(timer.elapsed(), 60000);
}

TEST(DocxHostile, DeepNestingKeepsTheText) {
    QString error;
    // Tables nested far deeper than anyone writes: the text is kept.
    const int depth = 3000;
    QByteArray body;
    for (int i = 0; i < depth; ++i)
        body += "<w:tbl><w:tr><w:tc>";
    body += "<w:p><w:r><w:t>deep</w:t></w:r></w:p>";
    for (int i = 0; i < depth; ++i)
        body += "</w:tc></w:tr></w:tbl>";
    const auto tables = docx::read(package(body), &error);
    ASSERT_TRUE(tables) << error.toStdString();
    EXPECT_TRUE(plainText(*tables).contains("deep"));
    // Containers of runs, hyperlinks and text boxes nested as deep.
    QByteArray inl = "<w:p>";
    for (int i = 0; i < depth; ++i)
        inl += i % 3 == 0   ? "<w:smartTag>"
               : i % 3 == 1 ? "<w:hyperlink w:anchor=\"a\">"
                            : "<w:ins>";
    inl += "<w:r><w:t>inner</w:t></w:r>";
    for (int i = depth - 1; i >= 0; --i)
        inl += i % 3 == 0 ? "</w:smartTag>" : i % 3 == 1 ? "</w:hyperlink>" : "</w:ins>";
    inl += "</w:p>";
    const auto inlines = docx::read(package(inl), &error);
    ASSERT_TRUE(inlines) << error.toStdString();
    QByteArray boxes = "<w:p>";
    for (int i = 0; i < depth; ++i)
        boxes += "<w:r><w:drawing><wp:anchor><a:graphic><w:txbxContent><w:p>";
    boxes += "<w:r><w:t>boxed</w:t></w:r>";
    for (int i = 0; i < depth; ++i)
        boxes += "</w:p></w:txbxContent></a:graphic></wp:anchor></w:drawing></w:r>";
    boxes += "</w:p>";
    EXPECT_TRUE(docx::read(package(boxes), &error).has_value()) << error.toStdString();
    // Fields begun by the hundred thousand and never ended, over many
    // paragraphs.
    const QByteArray begin =
        "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:t>r</w:t></w:r>";
    QByteArray fields;
    for (int i = 0; i < 200; ++i)
        fields += "<w:p>" + repeated(begin, 500 * begin.size()) + "</w:p>";
    const auto open = docx::read(package(fields), &error);
    ASSERT_TRUE(open) << error.toStdString();
    // Styles based on each other in a long chain.
    QByteArray styles = QByteArray("<w:styles ") + kW + ">";
    for (int i = 0; i < 5000; ++i)
        styles += "<w:style w:type=\"paragraph\" w:styleId=\"s" + QByteArray::number(i) +
                  "\"><w:basedOn w:val=\"s" + QByteArray::number(i + 1) +
                  "\"/><w:rPr><w:sz w:val=\"" + QByteArray::number(10 + i % 50) +
                  "\"/></w:rPr></w:style>";
    styles += "</w:styles>";
    const auto chained = docx::read(
        package("<w:p><w:pPr><w:pStyle w:val=\"s0\"/></w:pPr><w:r><w:t>c</w:t></w:r></w:p>",
                {{"word/styles.xml", styles}}, rel("rS", "styles", "styles.xml")),
        &error);
    ASSERT_TRUE(chained) << error.toStdString();
    EXPECT_EQ(plainText(*chained), "c\n");
}
