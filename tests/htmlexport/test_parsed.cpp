// The exported page read by an HTML parser (gumbo): every element the export
// opened it also closed, nothing the parser had to invent or move, no text
// outside the body.
#include "ExportTestUtil.h"
#include "TestEnv.h"
#include "yHtm.h"

#include <gumbo.h>

#include <gtest/gtest.h>

#include <vector>

using namespace exporttest;

namespace {

QString tagName(const GumboNode* n) {
    if (n->v.element.tag != GUMBO_TAG_UNKNOWN)
        return QString::fromLatin1(gumbo_normalized_tagname(n->v.element.tag));
    GumboStringPiece piece = n->v.element.original_tag;
    gumbo_tag_from_original_text(&piece);
    return QString::fromUtf8(piece.data, int(piece.length));
}

bool isVoid(GumboTag t) {
    return t == GUMBO_TAG_IMG || t == GUMBO_TAG_BR || t == GUMBO_TAG_META;
}

// Problems found walking the tree without recursion.
QStringList problems(const GumboOutput* out) {
    QStringList found;
    std::vector<const GumboNode*> pending{out->root};
    while (!pending.empty()) {
        const GumboNode* n = pending.back();
        pending.pop_back();
        if (n->type == GUMBO_NODE_TEXT) {
            // Text belongs in the body (and in the title and style sheet).
            const GumboNode* p = n->parent;
            bool inBody = false;
            for (; p; p = p->parent)
                if (p->type == GUMBO_NODE_ELEMENT &&
                    (p->v.element.tag == GUMBO_TAG_BODY || p->v.element.tag == GUMBO_TAG_TITLE ||
                     p->v.element.tag == GUMBO_TAG_STYLE))
                    inBody = true;
            if (!inBody)
                found << QStringLiteral("text outside the body: ") +
                             QString::fromUtf8(n->v.text.text);
            continue;
        }
        if (n->type != GUMBO_NODE_ELEMENT)
            continue;
        const GumboElement& e = n->v.element;
        const bool implied = e.tag == GUMBO_TAG_TBODY;
        if ((n->parse_flags & GUMBO_INSERTION_BY_PARSER) && !implied)
            found << QStringLiteral("element the parser made up: ") + tagName(n);
        if (!isVoid(e.tag) && !implied && e.original_end_tag.length == 0)
            found << QStringLiteral("element left open: ") + tagName(n);
        if (!isVoid(e.tag) && !implied &&
            n->parse_flags & (GUMBO_INSERTION_IMPLICIT_END_TAG | GUMBO_INSERTION_FOSTER_PARENTED |
                              GUMBO_INSERTION_ADOPTION_AGENCY_MOVED))
            found << QStringLiteral("element the parser had to fix: ") + tagName(n);
        for (unsigned i = 0; i < e.children.length; ++i)
            pending.push_back(static_cast<const GumboNode*>(e.children.data[i]));
    }
    return found;
}

} // namespace

TEST(HtmlExportParsed, EveryElementClosedNoTextOutsideTheBody) {
    const QString dir = TestEnv::freshDir(QStringLiteral("parsed"));
    model::Document doc;
    auto& blocks = doc.lastSection().blocks;
    blocks.push_back(model::Block::makeParagraph(para(QStringLiteral("頁見出し"), 14, 160)));
    blocks.push_back(model::Block::makeParagraph(para(QStringLiteral("見出２"), 12, 160)));
    model::Paragraph body = para(QStringLiteral("本文 <x> & "));
    body.content.push_back(
        link(QStringLiteral("ﾘﾝｸ"), QStringLiteral("https://example.com/?a=1&b=2")));
    body.content.push_back(link(QStringLiteral("頁内"), QStringLiteral("TP_a1")));
    body.content.push_back(link(QStringLiteral("ﾀｸﾞ"), QStringLiteral("TG_1_42"), 2));
    body.content.push_back(model::Inline::makeText(QStringLiteral("行\x0B改行"), look(10)));
    body.content.push_back(picture(png(8, 8, Qt::red), 8, 8));
    blocks.push_back(model::Block::makeParagraph(body));
    model::Paragraph shaded = para(QStringLiteral("網掛け"));
    shaded.format.align = model::Alignment::Center;
    shaded.content[0].format.background = model::rgb(255, 255, 0);
    blocks.push_back(model::Block::makeParagraph(shaded));
    blocks.push_back(model::Block::makeParagraph(para(QString())));
    model::Table table;
    for (int r = 0; r < 2; ++r) {
        model::TableRow row;
        for (int c = 0; c < 2; ++c) {
            model::TableCell cell;
            cell.width = 1440;
            cell.shading = c ? model::rgb(200, 200, 255) : model::kAutoColor;
            cell.blocks.push_back(model::Block::makeParagraph(para(QStringLiteral("セル"))));
            row.cells.push_back(cell);
        }
        table.rows.push_back(row);
    }
    blocks.push_back(model::Block::makeTable(table));
    model::ListDef list;
    list.id = 1;
    list.levels.push_back({});
    doc.lists.push_back(list);
    for (const char* item : {"一", "二"}) {
        model::Paragraph li = para(QString::fromUtf8(item));
        li.format.listId = 1;
        blocks.push_back(model::Block::makeParagraph(li));
    }
    blocks.push_back(model::Block::makeParagraph(para(QStringLiteral("終わり"))));

    yHtm h;
    const QString file = dir + QStringLiteral("/page.htm");
    QString error;
    ASSERT_TRUE(
        h.saveDocument(doc, false, file, yHtm::PageLinks(doc), QStringLiteral("<題>"), &error))
        << error.toStdString();
    const QByteArray bytes = TestEnv::readFile(file);
    const QString page = QString::fromUtf8(bytes);
    // The pieces the test is about are there at all.
    EXPECT_TRUE(page.contains(QStringLiteral("<h1 class=")));
    EXPECT_TRUE(page.contains(QStringLiteral("<h3 class=")));
    EXPECT_TRUE(page.contains(QStringLiteral("<table")));
    EXPECT_TRUE(page.contains(QStringLiteral("<ul")));
    EXPECT_TRUE(page.contains(QStringLiteral("title=\"頁内 : a1\"")));
    EXPECT_TRUE(page.contains(QStringLiteral("href=\"042.htm\"")));
    EXPECT_TRUE(page.contains(QStringLiteral("href=\"https://example.com/?a=1&amp;b=2\"")));
    EXPECT_TRUE(page.endsWith(QStringLiteral("</body>\r\n</html>")));

    GumboOutput* out =
        gumbo_parse_with_options(&kGumboDefaultOptions, bytes.constData(), size_t(bytes.size()));
    const QStringList found = problems(out);
    gumbo_destroy_output(&kGumboDefaultOptions, out);
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString() << "\n" << page.toStdString();
}
