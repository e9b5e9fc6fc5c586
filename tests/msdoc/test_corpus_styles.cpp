// Character styles of real .doc files: runs take the formatting of the
// character style they name under their own.
#include "Corpus.h"
#include "Document.h"
#include "MsDoc.h"
#include "TestEnv.h"
#include "Text.h"

#include <gtest/gtest.h>

using namespace model;

namespace {

// The text runs of every hyperlink field's result in the body, tables
// included.
std::vector<Inline> linkRuns(const Document& d) {
    std::vector<const Block*> todo;
    for (const Section& s : d.sections)
        for (const Block& b : s.blocks)
            todo.push_back(&b);
    std::vector<Inline> out;
    while (!todo.empty()) {
        const Block* b = todo.back();
        todo.pop_back();
        for (const TableRow& row : b->table.rows)
            for (const TableCell& cell : row.cells)
                for (const Block& inner : cell.blocks)
                    todo.push_back(&inner);
        for (const Inline& in : b->paragraph.content)
            if (in.kind == Inline::Kind::Field && in.field.type == FieldType::Hyperlink)
                for (const Inline& r : in.field.result)
                    if (r.kind == Inline::Kind::Text && !r.text.trimmed().isEmpty())
                        out.push_back(r);
    }
    return out;
}

} // namespace

TEST(DocCorpus, HyperlinksShowTheirCharacterStyle) {
    FOLIUM_REQUIRE_CORPUS();
    QString error;
    const auto d =
        msdoc::read(Corpus::bytes(QStringLiteral("doc/node-word-extractor/test03.doc")), &error);
    ASSERT_TRUE(d.has_value()) << error.toStdString();
    const std::vector<Inline> runs = linkRuns(*d);
    ASSERT_GE(runs.size(), 5u);
    for (const Inline& r : runs) {
        EXPECT_EQ(r.format.color, rgb(0, 0, 255)) << r.text.toStdString();
        EXPECT_EQ(r.format.underline, Underline::Single) << r.text.toStdString();
    }
}
