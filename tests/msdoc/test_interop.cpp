// Interop with real peers: LibreOffice and antiword read what the writer
// wrote; the reader reads what LibreOffice wrote.
#include "Document.h"
#include "MsDoc.h"
#include "Peers.h"
#include "TestEnv.h"
#include "Text.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace model;

namespace {

// The style element named `name` in a flat ODF document.
QString odfStyle(const QString& fodt, const QString& name) {
    const QRegularExpression re(
        QStringLiteral("<style:style style:name=\"%1\"[^>]*>(.*?)</style:style>")
            .arg(QRegularExpression::escape(name)),
        QRegularExpression::DotMatchesEverythingOption);
    return re.match(fodt).captured(0);
}

// The style of the span, or else the paragraph, that holds `text`.
QString styleHolding(const QString& fodt, const QString& text) {
    const QString esc = QRegularExpression::escape(text);
    QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("<text:span text:style-name=\"([^\"]+)\">[^<]*") + esc)
            .match(fodt);
    if (m.hasMatch())
        return odfStyle(fodt, m.captured(1));
    m = QRegularExpression(QStringLiteral("<text:(?:p|h) text:style-name=\"([^\"]+)\"[^>]*>[^<]*") +
                           esc)
            .match(fodt);
    return m.hasMatch() ? odfStyle(fodt, m.captured(1)) : QString();
}

QString paragraphStyleHolding(const QString& fodt, const QString& text) {
    const QRegularExpressionMatch m =
        QRegularExpression(
            QStringLiteral("<text:(?:p|h) text:style-name=\"([^\"]+)\"[^>]*>(?:(?!</text:p>).)*") +
                QRegularExpression::escape(text),
            QRegularExpression::DotMatchesEverythingOption)
            .match(fodt);
    return m.hasMatch() ? odfStyle(fodt, m.captured(1)) : QString();
}

Paragraph para(const QString& text, const CharFormat& f = {}) {
    Paragraph p;
    p.addText(text, f);
    return p;
}

Document formattedDocument() {
    Document d;
    Section& s = d.lastSection();
    s.page.width = 11906;
    s.page.height = 16838;
    s.page.marginLeft = 1701;
    s.page.marginRight = 1134;
    s.page.marginTop = 1985;
    s.page.marginBottom = 1417;
    Paragraph title;
    title.format.align = Alignment::Center;
    title.format.spaceAfter = 240;
    CharFormat big;
    big.halfPoints = 32;
    big.bold = true;
    big.color = rgb(255, 0, 0);
    title.addText(QStringLiteral("BoldRedTitle 見出し"), big);
    s.blocks.push_back(Block::makeParagraph(title));
    Paragraph body;
    body.format.leftIndent = 720;
    body.format.firstLineIndent = 360;
    body.format.spaceBefore = 120;
    CharFormat it;
    it.italic = true;
    CharFormat ul;
    ul.underline = Underline::Single;
    CharFormat arial;
    arial.font = QStringLiteral("Arial");
    arial.fontEastAsia = QStringLiteral("ＭＳ 明朝");
    body.addText(QStringLiteral("ItalicWord"), it);
    body.addText(QStringLiteral(" "), {});
    body.addText(QStringLiteral("UnderlinedWord"), ul);
    body.addText(QStringLiteral(" "), {});
    body.addText(QStringLiteral("ArialWord 明朝の文字"), arial);
    s.blocks.push_back(Block::makeParagraph(body));
    Paragraph right = para(QStringLiteral("RightAligned"));
    right.format.align = Alignment::Right;
    s.blocks.push_back(Block::makeParagraph(right));
    Paragraph next = para(QStringLiteral("SecondPage 二ページ目"));
    next.format.pageBreakBefore = true;
    s.blocks.push_back(Block::makeParagraph(next));
    return d;
}

class Interop : public ::testing::Test {
protected:
    void SetUp() override { dir = TestEnv::freshDir(QStringLiteral("interop")); }
    QString dir;
};

} // namespace

TEST_F(Interop, PeersReadOurFiles) {
    const Document d = formattedDocument();
    const QString doc = dir + QStringLiteral("/formatted.doc");
    TestEnv::writeFile(doc, msdoc::write(d));

    // antiword: the same text.
    EXPECT_EQ(peers::squeeze(peers::antiword(doc)), peers::squeeze(plainText(d)));

    // LibreOffice: text and formatting.
    ASSERT_TRUE(peers::soffice({doc}, QStringLiteral("fodt"), dir));
    const QString fodt =
        QString::fromUtf8(TestEnv::readFile(dir + QStringLiteral("/formatted.fodt")));
    ASSERT_FALSE(fodt.isEmpty());
    for (const char* t : {"BoldRedTitle 見出し", "ItalicWord", "UnderlinedWord",
                          "ArialWord 明朝の文字", "SecondPage 二ページ目"})
        EXPECT_TRUE(fodt.contains(QString::fromUtf8(t))) << t;
    const QString title = styleHolding(fodt, QStringLiteral("BoldRedTitle"));
    EXPECT_TRUE(title.contains(QStringLiteral("fo:font-weight=\"bold\""))) << title.toStdString();
    EXPECT_TRUE(title.contains(QStringLiteral("fo:font-size=\"16pt\""))) << title.toStdString();
    EXPECT_TRUE(title.contains(QStringLiteral("fo:color=\"#ff0000\""))) << title.toStdString();
    EXPECT_TRUE(styleHolding(fodt, QStringLiteral("ItalicWord"))
                    .contains(QStringLiteral("fo:font-style=\"italic\"")));
    EXPECT_TRUE(styleHolding(fodt, QStringLiteral("UnderlinedWord"))
                    .contains(QStringLiteral("style:text-underline-style=\"solid\"")));
    const QString arial = styleHolding(fodt, QStringLiteral("ArialWord"));
    EXPECT_TRUE(arial.contains(QStringLiteral("style:font-name=\"Arial\""))) << arial.toStdString();
    EXPECT_TRUE(arial.contains(QStringLiteral("style:font-name-asian=\"ＭＳ 明朝\"")))
        << arial.toStdString();
    EXPECT_TRUE(paragraphStyleHolding(fodt, QStringLiteral("BoldRedTitle"))
                    .contains(QStringLiteral("fo:text-align=\"center\"")));
    EXPECT_TRUE(paragraphStyleHolding(fodt, QStringLiteral("RightAligned"))
                    .contains(QStringLiteral("fo:text-align=\"end\"")));
    const QString body = paragraphStyleHolding(fodt, QStringLiteral("ItalicWord"));
    EXPECT_TRUE(body.contains(QStringLiteral("fo:margin-left=\"0.5in\""))) << body.toStdString();
    EXPECT_TRUE(body.contains(QStringLiteral("fo:text-indent=\"0.25in\""))) << body.toStdString();
    EXPECT_TRUE(body.contains(QStringLiteral("fo:margin-top=\"0.0835in\""))) << body.toStdString();
    EXPECT_TRUE(paragraphStyleHolding(fodt, QStringLiteral("SecondPage"))
                    .contains(QStringLiteral("fo:break-before=\"page\"")));
    // Page size and margins (A4, left 30 mm, top 35 mm).
    const QString layout =
        QRegularExpression(QStringLiteral("<style:page-layout-properties[^>]*fo:page-width[^>]*>"))
            .match(fodt)
            .captured(0);
    // Page size and margins in twips, as LibreOffice gives them in inches.
    auto twips = [&](const char* attr) {
        const QRegularExpression re(QString::fromLatin1(attr) + QStringLiteral("=\"([0-9.]+)in\""));
        return int(re.match(layout).captured(1).toDouble() * 1440 + 0.5);
    };
    const PageSetup& page = d.sections[0].page;
    EXPECT_NEAR(twips("fo:page-width"), page.width, 2) << layout.toStdString();
    EXPECT_NEAR(twips("fo:page-height"), page.height, 2);
    EXPECT_NEAR(twips("fo:margin-left"), page.marginLeft, 2);
    EXPECT_NEAR(twips("fo:margin-right"), page.marginRight, 2);
    EXPECT_NEAR(twips("fo:margin-top"), page.marginTop, 2);
    EXPECT_NEAR(twips("fo:margin-bottom"), page.marginBottom, 2);
}

TEST_F(Interop, WeReadLibreOfficeFiles) {
    const QString html = dir + QStringLiteral("/source.html");
    TestEnv::writeFile(html, QStringLiteral(R"(<html><head><meta charset="utf-8"></head><body>
<p style="text-align:center"><b>太字の見出し</b> and <i>italic</i> <u>under</u> <span style="color:#ff0000">赤い文字</span></p>
<p style="margin-left:1in"><span style="font-family:Arial; font-size:16pt">Arial 16</span></p>
<p style="page-break-before:always">二ページ目の文章</p>
<p style="page-break-before:always">三ページ目</p>
</body></html>)")
                                 .toUtf8());
    ASSERT_TRUE(peers::soffice({html}, QStringLiteral("doc:MS Word 97"), dir));
    QString error;
    const auto d = msdoc::read(TestEnv::readFile(dir + QStringLiteral("/source.doc")), &error);
    ASSERT_TRUE(d.has_value()) << error.toStdString();
    EXPECT_EQ(peers::squeeze(plainText(*d)),
              peers::squeeze(QStringLiteral("太字の見出し and italic under 赤い文字 Arial 16 "
                                            "二ページ目の文章 三ページ目")));
    // Formatting of the runs.
    std::map<QString, CharFormat> byText;
    std::vector<const Paragraph*> paras;
    for (const Block& b : d->sections.at(0).blocks)
        if (b.kind == Block::Kind::Paragraph) {
            paras.push_back(&b.paragraph);
            for (const Inline& in : b.paragraph.content)
                byText[in.text.trimmed()] = in.format;
        }
    EXPECT_TRUE(byText[QStringLiteral("太字の見出し")].bold);
    EXPECT_TRUE(byText[QStringLiteral("italic")].italic);
    EXPECT_EQ(byText[QStringLiteral("under")].underline, Underline::Single);
    EXPECT_EQ(byText[QStringLiteral("赤い文字")].color, rgb(255, 0, 0));
    EXPECT_EQ(byText[QStringLiteral("Arial 16")].font, QStringLiteral("Arial"));
    EXPECT_EQ(byText[QStringLiteral("Arial 16")].halfPoints, 32);
    ASSERT_GE(paras.size(), 4u);
    EXPECT_EQ(paras[0]->format.align, Alignment::Center);
    EXPECT_EQ(paras[1]->format.leftIndent, 1440);
    // The later paragraphs start new pages.
    int pageStarts = 0;
    for (const Paragraph* p : paras) {
        pageStarts += p->format.pageBreakBefore;
        for (const Inline& in : p->content)
            pageStarts += in.text.count(QChar(kPageBreak));
    }
    EXPECT_EQ(pageStarts, 2);
}

namespace {

const char* kPng1x2 = "iVBORw0KGgoAAAANSUhEUgAAAAIAAAABCAIAAAB7QOjdAAAAEElEQVR4nGP4z8DAwMDAAAAe/gH/"
                      "HxNbkQAAAABJRU5ErkJggg==";

Document richDocument() {
    Document d;
    Section& s = d.lastSection();
    s.header.push_back(Block::makeParagraph(para(QStringLiteral("HeaderText ヘッダー"))));
    s.footer.push_back(Block::makeParagraph(para(QStringLiteral("FooterText"))));
    Paragraph p = para(QStringLiteral("links: "));
    p.content.push_back(Inline::makeBookmark(QStringLiteral("mark1"), true));
    Field tag;
    tag.target = QStringLiteral("TG_12");
    tag.kind = 2;
    tag.option = 149;
    tag.result.push_back(Inline::makeText(QStringLiteral("TagCaption")));
    p.content.push_back(Inline::makeField(tag));
    p.content.push_back(Inline::makeBookmark(QStringLiteral("mark1"), false));
    p.addText(QStringLiteral(" "), {});
    Field web;
    web.target = QStringLiteral("http://example.com/page");
    web.kind = 1;
    web.option = 149;
    web.result.push_back(Inline::makeText(QStringLiteral("WebCaption")));
    p.content.push_back(Inline::makeField(web));
    Picture pic;
    pic.data = QByteArray::fromBase64(kPng1x2);
    pic.type = ImageType::Png;
    pic.width = 1440;
    pic.height = 720;
    p.content.push_back(Inline::makePicture(pic));
    Picture floating = pic;
    floating.wrap = Wrap::Around;
    floating.x = 3000;
    floating.y = 1500;
    floating.horizontalRelation = HorizontalRelation::Page;
    floating.verticalRelation = VerticalRelation::Page;
    p.content.push_back(Inline::makePicture(floating));
    s.blocks.push_back(Block::makeParagraph(p));
    Table t;
    for (int r = 0; r < 3; ++r) {
        TableRow row;
        for (int c = 0; c < 2; ++c) {
            TableCell cell;
            cell.width = 2000;
            cell.blocks.push_back(
                Block::makeParagraph(para(QStringLiteral("cell%1%2").arg(r).arg(c))));
            row.cells.push_back(cell);
        }
        t.rows.push_back(row);
    }
    s.blocks.push_back(Block::makeTable(t));
    Frame fr;
    fr.x = 2000;
    fr.y = 3000;
    fr.width = 2835;
    fr.height = 1417;
    fr.blocks.push_back(Block::makeParagraph(para(QStringLiteral("FrameText"))));
    s.blocks.push_back(Block::makeFrame(fr));
    ListDef numbers;
    numbers.id = 1;
    for (int k = 0; k < 9; ++k) {
        ListLevel l;
        l.format = NumberFormat::Decimal;
        l.text = QStringLiteral("%1.");
        l.indent = 420 * (k + 1);
        l.hanging = 420;
        numbers.levels.push_back(l);
    }
    d.lists.push_back(numbers);
    for (const char* item : {"ListItemOne", "ListItemTwo"}) {
        Paragraph li = para(QString::fromLatin1(item));
        li.format.listId = 1;
        li.format.leftIndent = 420;
        li.format.firstLineIndent = -420;
        s.blocks.push_back(Block::makeParagraph(li));
    }
    s.blocks.push_back(Block::makeParagraph(para(QStringLiteral("end"))));
    return d;
}

int twipsOf(const QString& element, const char* attr) {
    const QRegularExpression re(QString::fromLatin1(attr) + QStringLiteral("=\"([0-9.]+)in\""));
    return int(re.match(element).captured(1).toDouble() * 1440 + 0.5);
}

struct Found {
    int tables = 0, rows = 0, cells = 0, pictures = 0, frames = 0;
    QStringList targets, bookmarks;
    const Picture* picture = nullptr;
    const Frame* frame = nullptr;
};

void collect(const std::vector<Block>& blocks, Found& f) {
    for (const Block& b : blocks) {
        if (b.kind == Block::Kind::Table) {
            ++f.tables;
            for (const TableRow& r : b.table.rows) {
                ++f.rows;
                for (const TableCell& c : r.cells) {
                    ++f.cells;
                    collect(c.blocks, f);
                }
            }
        } else if (b.kind == Block::Kind::Frame) {
            ++f.frames;
            f.frame = &b.frame;
            collect(b.frame.blocks, f);
        } else {
            for (const Inline& in : b.paragraph.content) {
                if (in.kind == Inline::Kind::Field && in.field.type == FieldType::Hyperlink)
                    f.targets << in.field.target;
                if (in.kind == Inline::Kind::Picture) {
                    ++f.pictures;
                    if (!in.picture.isFloating())
                        f.picture = &in.picture;
                }
                if (in.kind == Inline::Kind::BookmarkStart)
                    f.bookmarks << in.text;
            }
        }
    }
}

} // namespace

TEST_F(Interop, TablesPicturesLinksHeadersFramesBothWays) {
    const QString doc = dir + QStringLiteral("/rich.doc");
    TestEnv::writeFile(doc, msdoc::write(richDocument()));
    ASSERT_TRUE(peers::soffice({doc}, QStringLiteral("fodt"), dir));
    const QString fodt = QString::fromUtf8(TestEnv::readFile(dir + QStringLiteral("/rich.fodt")));
    EXPECT_EQ(fodt.count(QStringLiteral("<table:table-row")), 3);
    EXPECT_EQ(fodt.count(QStringLiteral("<table:table-cell ")), 6);
    EXPECT_TRUE(fodt.contains(QStringLiteral("xlink:href=\"TG_12\"")));
    EXPECT_TRUE(fodt.contains(QStringLiteral("xlink:href=\"http://example.com/page\"")));
    EXPECT_TRUE(fodt.contains(QStringLiteral("<text:bookmark-start text:name=\"mark1\"/>")));
    EXPECT_TRUE(fodt.contains(QStringLiteral("HeaderText ヘッダー")));
    EXPECT_TRUE(fodt.contains(QStringLiteral("FooterText")));
    const QString image =
        QRegularExpression(QStringLiteral("<draw:frame[^>]*as-char[^>]*>")).match(fodt).captured(0);
    EXPECT_NEAR(twipsOf(image, "svg:width"), 1440, 3) << image.toStdString();
    EXPECT_NEAR(twipsOf(image, "svg:height"), 720, 3);
    const QString floating =
        QRegularExpression(QStringLiteral("<draw:frame[^>]*Image[^>]*svg:x[^>]*>"))
            .match(fodt)
            .captured(0);
    EXPECT_NEAR(twipsOf(floating, "svg:x"), 3000, 3) << floating.toStdString();
    EXPECT_NEAR(twipsOf(floating, "svg:y"), 1500, 3);
    EXPECT_NEAR(twipsOf(floating, "svg:width"), 1440, 3);
    const QString frame =
        QRegularExpression(QStringLiteral("<draw:frame[^>]*Frame[^>]*svg:x[^>]*>"))
            .match(fodt)
            .captured(0);
    EXPECT_NEAR(twipsOf(frame, "svg:x"), 2000, 3) << frame.toStdString();
    EXPECT_NEAR(twipsOf(frame, "svg:y"), 3000, 3);
    EXPECT_NEAR(twipsOf(frame, "svg:width"), 2835, 3);
    EXPECT_NEAR(twipsOf(frame, "svg:height"), 1417, 3);
    EXPECT_TRUE(peers::antiword(doc).contains(QStringLiteral("cell21")));
    // The numbered paragraphs are a list, numbered 1. and 2.
    for (const char* item : {"ListItemOne", "ListItemTwo"}) {
        // The item's text sits inside a list item.
        const qsizetype at = fodt.indexOf(QString::fromLatin1(item));
        const qsizetype open = fodt.lastIndexOf(QStringLiteral("<text:list-item>"), at);
        EXPECT_TRUE(at > 0 && open > 0 &&
                    open > fodt.lastIndexOf(QStringLiteral("</text:list-item>"), at))
            << item;
    }
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral(
                        "<text:list-level-style-number "
                        "text:level=\"1\"[^>]*style:num-suffix=\".\"[^>]*style:num-format=\"1\""))
                    .match(fodt)
                    .hasMatch());

    // LibreOffice writes the same content as .doc; we read it back.
    const QString back = dir + QStringLiteral("/back");
    QDir().mkpath(back);
    ASSERT_TRUE(peers::soffice({dir + QStringLiteral("/rich.fodt")},
                               QStringLiteral("doc:MS Word 97"), back));
    QString error;
    const auto d = msdoc::read(TestEnv::readFile(back + QStringLiteral("/rich.doc")), &error);
    ASSERT_TRUE(d.has_value()) << error.toStdString();
    Found f;
    collect(d->sections.at(0).blocks, f);
    EXPECT_EQ(f.tables, 1);
    EXPECT_EQ(f.rows, 3);
    EXPECT_EQ(f.cells, 6);
    // LibreOffice takes the marker for a relative file name ("../TG_12").
    EXPECT_TRUE(f.targets.filter(QStringLiteral("TG_12")).size() == 1)
        << f.targets.join(u',').toStdString();
    EXPECT_TRUE(f.targets.contains(QStringLiteral("http://example.com/page")));
    EXPECT_TRUE(f.bookmarks.contains(QStringLiteral("mark1")));
    ASSERT_EQ(f.pictures, 2);
    EXPECT_EQ(f.picture->type, ImageType::Png);
    EXPECT_NEAR(f.picture->shownWidth(), 1440, 3);
    EXPECT_NEAR(f.picture->shownHeight(), 720, 3);
    const QString text = plainText(*d);
    EXPECT_TRUE(text.contains(QStringLiteral("cell21")));
    int listed = 0;
    for (const Block& b : d->sections[0].blocks)
        if (b.kind == Block::Kind::Paragraph && b.paragraph.format.listId > 0 &&
            plainText(std::vector<Block>{b}).startsWith(QStringLiteral("ListItem")))
            ++listed;
    EXPECT_EQ(listed, 2);
    ASSERT_FALSE(d->lists.empty());
    EXPECT_TRUE(text.contains(QStringLiteral("FrameText")));
    ASSERT_FALSE(d->sections[0].header.empty());
    EXPECT_TRUE(plainText(d->sections[0].header).contains(QStringLiteral("HeaderText ヘッダー")));
    EXPECT_TRUE(plainText(d->sections[0].footer).contains(QStringLiteral("FooterText")));
    if (f.frame) {
        EXPECT_NEAR(f.frame->x, 2000, 20);
        EXPECT_NEAR(f.frame->width, 2835, 20);
    }
}

namespace {

// The format of the first run of every paragraph with text, by its text;
// table cells included.
void firstRuns(const std::vector<Block>& blocks, std::map<QString, CharFormat>& out) {
    for (const Block& b : blocks) {
        if (b.kind == Block::Kind::Table) {
            for (const TableRow& r : b.table.rows)
                for (const TableCell& c : r.cells)
                    firstRuns(c.blocks, out);
        } else if (b.kind == Block::Kind::Paragraph && !b.paragraph.content.empty()) {
            out[plainText(std::vector<Block>{b}).trimmed()] = b.paragraph.content.front().format;
        }
    }
}

} // namespace

// Headings set by their styles directly before and after tables, in and out
// of cells, in a file LibreOffice made: the reader gives every paragraph the
// size and weight LibreOffice shows, and the file written from that model
// shows each paragraph in LibreOffice as the original did.
TEST_F(Interop, HeadingsNextToTablesKeepTheirLook) {
    const QString source = dir + QStringLiteral("/headings.fodt");
    TestEnv::writeFile(source, peers::headingsNextToTables().toUtf8());
    ASSERT_TRUE(peers::soffice({source}, QStringLiteral("doc:MS Word 97"), dir));
    const QString made = dir + QStringLiteral("/headings.doc");
    QString error;
    const auto d = msdoc::read(TestEnv::readFile(made), &error);
    ASSERT_TRUE(d.has_value()) << error.toStdString();
    const QString ours = dir + QStringLiteral("/ours.doc");
    TestEnv::writeFile(ours, msdoc::write(*d));

    const QString shown = dir + QStringLiteral("/shown");
    QDir().mkpath(shown);
    ASSERT_TRUE(peers::soffice({made, ours}, QStringLiteral("fodt"), shown));
    const QList<peers::ParagraphLook> original = peers::paragraphLooks(
        QString::fromUtf8(TestEnv::readFile(shown + QStringLiteral("/headings.fodt"))));
    const QList<peers::ParagraphLook> written = peers::paragraphLooks(
        QString::fromUtf8(TestEnv::readFile(shown + QStringLiteral("/ours.fodt"))));
    QStringList texts;
    for (const peers::ParagraphLook& l : original)
        texts << l.text;
    EXPECT_EQ(texts.join(u' '),
              QStringLiteral("HeadBeforeTable HeadFirstInCell BodyInCell PlainCell HeadLastInCell "
                             "HeadBeforeNested NestedCell HeadAfterNested SecondRow HeadAfterTable "
                             "BodyBetween 表の前の見出し OnlyCell HeadAfterSecond BodyBeforeThird "
                             "Head2BeforeTable HeadOnlyInCell End"));
    // LibreOffice shows its own file as the styles say.
    for (const peers::ParagraphLook& l : original) {
        const bool h1 = l.style == QLatin1String("Heading 1");
        const bool h2 = l.style == QLatin1String("Heading 2");
        EXPECT_EQ(l.points, h1 ? 24 : h2 ? 16 : 10) << l.text.toStdString();
        EXPECT_EQ(l.bold, h1) << l.text.toStdString();
        EXPECT_EQ(l.italic, h2) << l.text.toStdString();
    }
    // The reader's runs carry what LibreOffice shows.
    std::map<QString, CharFormat> runs;
    firstRuns(d->sections.at(0).blocks, runs);
    for (const peers::ParagraphLook& l : original) {
        ASSERT_TRUE(runs.count(l.text)) << l.text.toStdString();
        const CharFormat& f = runs[l.text];
        EXPECT_EQ(f.halfPoints, qRound(l.points * 2)) << l.text.toStdString();
        EXPECT_EQ(f.bold, l.bold) << l.text.toStdString();
        EXPECT_EQ(f.italic, l.italic) << l.text.toStdString();
    }
    // Our file looks the same, paragraph by paragraph.
    EXPECT_EQ(peers::describe(written), peers::describe(original));
}
