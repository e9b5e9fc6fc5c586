// Random damage to real documents (the corpus, when it is there) and to
// files of our own writer with every structure it makes: the reader must
// read or refuse every variant, a refusal must name its reason, and what it
// reads must survive a write and a second read. Built with
// AddressSanitizer, so any out-of-bounds access fails the test.
#include "Corpus.h"
#include "Document.h"
#include "HostileDocs.h"
#include "MsDoc.h"
#include "Mutator.h"
#include "TestEnv.h"

#include <gtest/gtest.h>

namespace {

// One document of paragraphs with runs, a header, a table, a list, a field
// and a bookmark; and one with a picture.
std::vector<QByteArray> ownSeeds() {
    using namespace model;
    Document d = hostile::oneParagraph(QStringLiteral("mutation seed 変異"));
    Section& s = d.sections[0];
    s.header.push_back(s.blocks[0]);
    Paragraph p;
    CharFormat bold;
    bold.bold = true;
    p.addText(QStringLiteral("bold "), bold);
    Field link;
    link.target = QStringLiteral("TG_1");
    link.kind = 2;
    link.option = 149;
    link.result.push_back(Inline::makeText(QStringLiteral("tag")));
    p.content.push_back(Inline::makeBookmark(QStringLiteral("mark"), true));
    p.content.push_back(Inline::makeField(link));
    p.content.push_back(Inline::makeBookmark(QStringLiteral("mark"), false));
    p.format.listId = 1;
    ListDef list;
    list.id = 1;
    list.levels.push_back({NumberFormat::Decimal, QStringLiteral("%1."), 1, 720, 360, {}});
    d.lists.push_back(list);
    s.blocks.push_back(Block::makeParagraph(p));
    Table t;
    for (int r = 0; r < 2; ++r) {
        TableRow row;
        for (int c = 0; c < 2; ++c) {
            TableCell cell;
            cell.width = 2000;
            cell.blocks.push_back(s.blocks[0]);
            row.cells.push_back(cell);
        }
        t.rows.push_back(row);
    }
    s.blocks.push_back(Block::makeTable(t));
    s.blocks.push_back(Block::makeParagraph(Paragraph()));
    return {msdoc::write(d), msdoc::write(hostile::withBitmap(8, 4))};
}

} // namespace

TEST(DocMutation, MutatedDocumentsAreReadOrRefusedWithAReason) {
    std::vector<QByteArray> seeds = ownSeeds();
    for (const QString& path : Corpus::files(QStringLiteral("doc"), {QStringLiteral("*.doc")})) {
        const QByteArray b = TestEnv::readFile(path);
        if (b.size() < 200000 && msdoc::read(b))
            seeds.push_back(b);
    }
    if (!Corpus::present())
        std::printf("mutation: %s\nmutation: only our own files are damaged\n",
                    Corpus::missingMessage().c_str());
    for (size_t i = 0; i < 2; ++i)
        ASSERT_TRUE(msdoc::read(seeds[i])) << "own seed " << i;

    std::mt19937 rng(20240607);
    int read = 0, refused = 0;
    for (int round = 0; round < 1500; ++round) {
        const QByteArray b = Mutator::mutate(seeds[rng() % seeds.size()], rng);
        QString error;
        const auto doc = msdoc::read(b, &error);
        if (!doc) {
            ++refused;
            ASSERT_FALSE(error.isEmpty()) << "round " << round << " refused without a reason";
            continue;
        }
        ++read;
        // What we read, we can write and read again.
        const QByteArray again = msdoc::write(*doc);
        ASSERT_TRUE(msdoc::read(again, &error)) << "round " << round << ": " << error.toStdString();
    }
    std::printf("mutation: %zu seeds, %d variants read, %d refused\n", seeds.size(), read, refused);
    // Most damage hits text, properties or unused bytes: a reader that
    // refuses nearly everything has become too strict.
    EXPECT_GT(read, 1500 / 3);
    EXPECT_GT(refused, 0);
}
