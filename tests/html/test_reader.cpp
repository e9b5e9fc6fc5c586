// The HTML reader: what a browser shows of a page comes into the model.
#include "HtmlTestUtil.h"

#include "Styles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>

namespace {

QByteArray png(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

const model::Table& firstTable(const model::Document& d) {
    for (const model::Block& b : body(d))
        if (b.kind == model::Block::Kind::Table)
            return b.table;
    static const model::Table none;
    ADD_FAILURE() << "no table";
    return none;
}

QString cellText(const model::TableCell& c) {
    QString t = model::plainText(c.blocks);
    return t.trimmed();
}

} // namespace

TEST(HtmlReader, HeadingsParagraphsAndWhiteSpace) {
    const model::Document d = readHtml(
        QString::fromUtf8("<!DOCTYPE html><html><head><title>not shown</title><style>p{}</style>"
                          "<script>var x = '<p>no</p>';</script></head><body>"
                          "<h1>見出し  一</h1><h2>Two</h2><h3>Three</h3><h4>Four</h4>"
                          "<p>  many \n\t spaces   collapse </p><p></p>"
                          "<p>line<br>break<br/>  again</p><div>a div<p>inner</p>tail</div>"
                          "<pre>  kept   spaces\nsecond line</pre></body></html>"));
    EXPECT_EQ(paragraphs(d), (QStringList{QString::fromUtf8("見出し 一"), "Two", "Three", "Four",
                                          "many spaces collapse", "line\nbreak\nagain", "a div",
                                          "inner", "tail", "  kept   spaces", "second line"}));
    const auto& b = body(d);
    ASSERT_GE(b.size(), 4u);
    EXPECT_EQ(b[0].paragraph.format.styleName, model::editorStyleName(0));
    EXPECT_EQ(b[1].paragraph.format.styleName, model::editorStyleName(1));
    EXPECT_EQ(b[2].paragraph.format.styleName, model::editorStyleName(2));
    EXPECT_TRUE(b[3].paragraph.format.styleName.isEmpty());
    const model::Inline* h1 = runWith(d, QString::fromUtf8("見出し"));
    ASSERT_TRUE(h1);
    EXPECT_TRUE(h1->format.bold);
    EXPECT_EQ(h1->format.halfPoints, 48);
    const model::Inline* body = runWith(d, QStringLiteral("many"));
    ASSERT_TRUE(body);
    EXPECT_FALSE(body->format.bold);
    EXPECT_EQ(body->format.halfPoints, 24);
}

TEST(HtmlReader, InlineStylesAndAlignment) {
    const model::Document d = readHtml(QStringLiteral(
        "<p align=center>plain <b>bold</b> <strong>strong</strong> <i>it</i> <em>em</em> "
        "<u>under</u> <s>gone</s> x<sup>up</sup> <font color=\"#ff0000\" size=5 "
        "face=\"Arial\">font</font> <span style=\"color: rgb(0, 128, 0); font-size: 20pt; "
        "font-weight: 700; font-style: italic; text-decoration: underline\">span</span> "
        "<b><span style=\"font-weight: normal\">unbold</span></b> "
        "<span style=\"font-size: 200%\">double</span> <span "
        "style='background-color:#00f'>bg</span> "
        "<span style=\"font-family: 'Courier New', monospace\">courier</span> "
        "<span style=\"font-family: serif\">generic</span></p>"
        "<p style=\"text-align: right\">right</p><div style=\"page-break-before: always\">new "
        "page</div>"));
    auto run = [&](const char* t) {
        const model::Inline* r = runWith(d, QString::fromLatin1(t));
        EXPECT_TRUE(r) << t;
        return r ? r->format : model::CharFormat{};
    };
    EXPECT_FALSE(run("plain").bold);
    EXPECT_TRUE(run("bold").bold);
    EXPECT_TRUE(run("strong").bold);
    EXPECT_TRUE(run("it").italic);
    EXPECT_TRUE(run("em").italic);
    EXPECT_EQ(run("under").underline, model::Underline::Single);
    EXPECT_TRUE(run("gone").strike);
    EXPECT_EQ(run("up").valign, model::VerticalAlign::Superscript);
    EXPECT_EQ(run("font").color, model::rgb(255, 0, 0));
    EXPECT_EQ(run("font").halfPoints, 36); // size 5: 24 px, 18 pt
    EXPECT_EQ(run("font").font, QStringLiteral("Arial"));
    const model::CharFormat span = run("span");
    EXPECT_EQ(span.color, model::rgb(0, 128, 0));
    EXPECT_EQ(span.halfPoints, 40);
    EXPECT_TRUE(span.bold);
    EXPECT_TRUE(span.italic);
    EXPECT_EQ(span.underline, model::Underline::Single);
    EXPECT_FALSE(run("unbold").bold);
    EXPECT_EQ(run("double").halfPoints, 48);
    EXPECT_EQ(run("bg").background, model::rgb(0, 0, 255));
    EXPECT_EQ(run("courier").font, QStringLiteral("Courier New"));
    EXPECT_EQ(run("generic").fontEastAsia, QString::fromUtf8("ＭＳ 明朝"));
    const auto& b = body(d);
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(b[0].paragraph.format.align, model::Alignment::Center);
    EXPECT_EQ(b[1].paragraph.format.align, model::Alignment::Right);
    EXPECT_TRUE(b[2].paragraph.format.pageBreakBefore);
    EXPECT_FALSE(b[1].paragraph.format.pageBreakBefore);
}

TEST(HtmlReader, Lists) {
    const model::Document d = readHtml(QStringLiteral(
        "<ul><li>a<li>b<ul><li>b1</li></ul></li></ul><ol start=3 type=i><li>three</li></ol>"
        "<p>after</p>"));
    EXPECT_EQ(paragraphs(d), (QStringList{"a", "b", "b1", "three", "after"}));
    const auto& b = body(d);
    ASSERT_EQ(b.size(), 5u);
    const int ul = b[0].paragraph.format.listId;
    ASSERT_GT(ul, 0);
    EXPECT_EQ(b[1].paragraph.format.listId, ul);
    EXPECT_EQ(b[0].paragraph.format.listLevel, 0);
    EXPECT_NE(b[2].paragraph.format.listId, ul);
    EXPECT_EQ(b[2].paragraph.format.listLevel, 1);
    const model::ListDef* ol = d.list(b[3].paragraph.format.listId);
    ASSERT_TRUE(ol);
    EXPECT_EQ(ol->levels[0].format, model::NumberFormat::LowerRoman);
    EXPECT_EQ(ol->levels[0].start, 3);
    EXPECT_EQ(d.list(ul)->levels[0].format, model::NumberFormat::Bullet);
    EXPECT_EQ(b[4].paragraph.format.listId, 0);
}

TEST(HtmlReader, TablesWithSpans) {
    // +---+---+---+
    // | A     | B |
    // +---+---+   +
    // | C | D |   |
    // +---+---+---+
    // | E | F | G |   G's row is short by nothing; the nested table sits in F
    const model::Document d = readHtml(QStringLiteral(
        "<p>before</p><table><tr><th colspan=2>A</th><td rowspan=2 bgcolor=yellow>B</td></tr>"
        "<tr><td>C</td><td>D</td></tr>"
        "<tr><td>E</td><td><table><tr><td>inner</td></tr></table></td><td>G</td></tr></table>"
        "<p>after</p>"));
    EXPECT_EQ(paragraphs(d), (QStringList{"before", "[table]", "after"}));
    const model::Table& t = firstTable(d);
    ASSERT_EQ(t.rows.size(), 3u);
    for (const auto& row : t.rows)
        ASSERT_EQ(row.cells.size(), 3u);
    EXPECT_EQ(cellText(t.rows[0].cells[0]), "A");
    EXPECT_EQ(t.rows[0].cells[0].horizontalMerge, model::Merge::Restart);
    EXPECT_EQ(t.rows[0].cells[1].horizontalMerge, model::Merge::Continue);
    EXPECT_EQ(cellText(t.rows[0].cells[2]), "B");
    EXPECT_EQ(t.rows[0].cells[2].verticalMerge, model::Merge::Restart);
    EXPECT_EQ(t.rows[0].cells[2].shading, model::rgb(255, 255, 0));
    EXPECT_EQ(t.rows[1].cells[2].verticalMerge, model::Merge::Continue);
    EXPECT_EQ(cellText(t.rows[1].cells[0]), "C");
    EXPECT_EQ(cellText(t.rows[1].cells[1]), "D");
    EXPECT_EQ(t.rows[1].cells[0].verticalMerge, model::Merge::None);
    EXPECT_EQ(cellText(t.rows[2].cells[2]), "G");
    const auto& inner = t.rows[2].cells[1].blocks;
    ASSERT_FALSE(inner.empty());
    EXPECT_EQ(inner[0].kind, model::Block::Kind::Table);
    EXPECT_EQ(cellText(inner[0].table.rows.at(0).cells.at(0)), "inner");
    // Header cells are bold and centred.
    EXPECT_TRUE(t.rows[0].cells[0].blocks[0].paragraph.content.at(0).format.bold);
    EXPECT_EQ(t.rows[0].cells[0].blocks[0].paragraph.format.align, model::Alignment::Center);
}

TEST(HtmlReader, SpansBeyondTheTableAreCut) {
    // rowspan past the last row, rowspan=0 and a huge colspan.
    const model::Document d = readHtml(QStringLiteral(
        "<table><tr><td rowspan=99>a</td><td rowspan=0>b</td><td colspan=100000>c</td></tr>"
        "<tr><td>d</td></tr></table>"));
    const model::Table& t = firstTable(d);
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0].cells.size(), 1000u);
    EXPECT_EQ(t.rows[1].cells[0].verticalMerge, model::Merge::Continue);
    EXPECT_EQ(t.rows[1].cells[1].verticalMerge, model::Merge::Continue);
    EXPECT_EQ(cellText(t.rows[1].cells[2]), "d");
}

TEST(HtmlReader, Links) {
    const model::Document d = readHtml(QString::fromUtf8(
        "<p>see <a href=\"https://example.com/x?a=1&amp;b=2\">the <b>site</b></a> and "
        "<a href=\"other.htm\">別頁</a>. <a name=\"anchor\">no link</a></p>"));
    const auto& content = body(d).at(0).paragraph.content;
    std::vector<const model::Field*> fields;
    for (const model::Inline& in : content)
        if (in.kind == model::Inline::Kind::Field)
            fields.push_back(&in.field);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0]->type, model::FieldType::Hyperlink);
    EXPECT_EQ(fields[0]->target, "https://example.com/x?a=1&b=2");
    ASSERT_EQ(fields[0]->result.size(), 2u);
    EXPECT_EQ(fields[0]->result[0].text, "the ");
    EXPECT_TRUE(fields[0]->result[1].format.bold);
    EXPECT_EQ(fields[1]->target, "other.htm");
    EXPECT_EQ(paragraphs(d).value(0), QString::fromUtf8("see the site and 別頁. no link"));
}

TEST(HtmlReader, ImagesFromTheFilesFolder) {
    const QString dir = TestEnv::freshDir();
    QDir().mkpath(dir + "/img");
    TestEnv::writeFile(dir + "/img/red dot.png", png(40, 20));
    // A file above the size bound is not read, whatever it holds.
    QFile big(dir + "/big.png");
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(png(4, 4));
    ASSERT_TRUE(big.resize(qint64(40) << 20));
    big.close();
    const QString dataUrl = "data:image/png;base64," + QString::fromLatin1(png(8, 8).toBase64());
    const model::Document d =
        readHtml("<p><img src=\"img/red%20dot.png\" width=80>"
                 "<img src=\"missing.png\" alt=\"[gone]\"><img src=\"big.png\" alt=\"[big]\">"
                 "<img src=\"http://example.com/x.png\" alt=\"[web]\"><img src=\"" +
                     dataUrl + "\"></p>",
                 dir);
    std::vector<model::Picture> pics;
    for (const model::Inline& in : body(d).at(0).paragraph.content)
        if (in.kind == model::Inline::Kind::Picture)
            pics.push_back(in.picture);
    ASSERT_EQ(pics.size(), 2u);
    EXPECT_EQ(pics[0].type, model::ImageType::Png);
    EXPECT_EQ(pics[0].width, 40 * 15);
    EXPECT_EQ(pics[0].height, 20 * 15);
    EXPECT_EQ(pics[0].scaleX, 200); // width=80 of 40 px, height follows
    EXPECT_EQ(pics[0].scaleY, 200);
    EXPECT_EQ(pics[0].data, TestEnv::readFile(dir + "/img/red dot.png"));
    EXPECT_EQ(pics[1].width, 8 * 15);
    EXPECT_EQ(paragraphs(d).value(0), "[gone][big][web]");
    // Without a folder, relative pictures are not looked for.
    const model::Document none = readHtml("<p><img src=\"img/red%20dot.png\" alt=x></p>");
    EXPECT_EQ(paragraphs(none), QStringList{"x"});
}

TEST(HtmlReader, EmptyAndTextOnly) {
    EXPECT_EQ(paragraphs(readHtml(QString())), QStringList{""});
    EXPECT_EQ(paragraphs(readHtml("just text")), QStringList{"just text"});
    EXPECT_EQ(paragraphs(readHtml("<p style=\"display:none\">hidden</p>shown")),
              QStringList{"shown"});
}
