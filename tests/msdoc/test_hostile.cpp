// Files crafted to make the Word reader build far more than they hold:
// pieces that overlap or claim huge lengths, counts near 2^31, values that
// overflow when added, and small files that repeat a large picture or a
// paragraph mark hundreds of thousands of times. Each is read within bounds
// or refused with a reason; what can be read keeps its content.
#include "HostileDocs.h"
#include "Text.h"

#include <gtest/gtest.h>

using hostile::Doc;
using hostile::Piece;

namespace {

struct Outcome {
    std::optional<model::Document> doc;
    QString error;
};

Outcome read(const QByteArray& bytes) {
    Outcome o;
    o.doc = msdoc::read(bytes, &o.error);
    return o;
}

QString text(const Outcome& o) {
    return o.doc ? model::plainText(*o.doc).trimmed() : QString();
}

} // namespace

TEST(DocHostile, PiecesThatOverlapOrClaimTooMuch) {
    Doc sound(hostile::oneParagraph(QStringLiteral("Hello world")));
    const Piece all = sound.firstPiece();
    ASSERT_EQ(all.chars, 12); // the text and its paragraph mark

    // Two pieces naming the same bytes: a little overlap is read as written.
    {
        Doc d = sound;
        d.setPieces({{5, all.fc, all.compressed, 0}, all});
        const Outcome o = read(d.bytes());
        ASSERT_TRUE(o.doc) << o.error.toStdString();
        EXPECT_EQ(text(o), QStringLiteral("HelloHello world"));
    }
    // Many pieces repeating the whole text: more text than the stream holds.
    {
        Doc d = sound;
        d.setPieces(std::vector<Piece>(20000, all));
        const Outcome o = read(d.bytes());
        EXPECT_FALSE(o.doc);
        EXPECT_TRUE(o.error.contains(QStringLiteral("more text than the file")))
            << o.error.toStdString();
    }
    // One piece claiming 2^28 characters, one whose end lies past 2^31.
    for (const int chars : {1 << 28, 0x7FFFFFF0}) {
        Doc d = sound;
        d.setPieces({all, {chars, all.fc, all.compressed, 0}});
        const Outcome o = read(d.bytes());
        EXPECT_FALSE(o.doc) << chars;
        EXPECT_TRUE(o.error.startsWith(QStringLiteral("damaged document")))
            << o.error.toStdString();
    }
}

TEST(DocHostile, CountsAndValuesNearTheirLimits) {
    // List overrides: a count of 2^31 - 1 and a length of 4 GB in the FIB.
    {
        model::Document m = hostile::oneParagraph(QStringLiteral("item"));
        model::ListDef list;
        list.id = 1;
        list.levels.push_back(
            {model::NumberFormat::Decimal, QStringLiteral("%1."), 1, 720, 360, {}});
        m.lists.push_back(list);
        m.sections[0].blocks[0].paragraph.format.listId = 1;
        Doc d(m);
        ASSERT_GT(d.lcb(hostile::kPlfLfo), 0u);
        const quint32 at = d.fc(hostile::kPlfLfo);
        qToLittleEndian(qint32(0x7FFFFFFF), d.table().data() + at);
        d.setPair(hostile::kPlfLfo, at, 0xFFFFFFFF);
        const Outcome o = read(d.bytes());
        ASSERT_TRUE(o.doc) << o.error.toStdString();
        EXPECT_LE(qsizetype(o.doc->lists.size()), d.table().size() / 16);
        EXPECT_EQ(text(o), QStringLiteral("item"));
    }
    // Paragraph nesting: a depth of 1 changed by 2^31 - 1 is as deep as a
    // table may nest, not a wrapped negative number.
    {
        Doc d(hostile::oneParagraph(QStringLiteral("deep")));
        const Piece all = d.firstPiece();
        const QByteArray props = hostile::le16(0x6649) + hostile::le32(1) + hostile::le16(0x664A) +
                                 hostile::le32(0x7FFFFFFF) + hostile::le16(0x2416) + '\x01';
        d.setPieces({{all.chars, all.fc, all.compressed, 1}}, {props});
        const Outcome o = read(d.bytes());
        ASSERT_TRUE(o.doc) << o.error.toStdString();
        ASSERT_FALSE(o.doc->sections[0].blocks.empty());
        const model::Block* b = &o.doc->sections[0].blocks[0];
        int depth = 0;
        while (b->kind == model::Block::Kind::Table && !b->table.rows.empty() &&
               !b->table.rows[0].cells.empty() && !b->table.rows[0].cells[0].blocks.empty()) {
            ++depth;
            b = &b->table.rows[0].cells[0].blocks[0];
        }
        EXPECT_EQ(depth, 64);
        EXPECT_EQ(text(o), QStringLiteral("deep"));
    }
    // A bitmap whose colour count times four wraps around 2^32: the picture
    // is damaged and left out; the text stays.
    {
        Doc d(hostile::withBitmap(4, 2));
        QByteArray& data = d.data();
        const qsizetype dib = data.indexOf(hostile::le32(40) + hostile::le32(4) + hostile::le32(2));
        ASSERT_GT(dib, 0);
        qToLittleEndian(quint32(0x40000001), data.data() + dib + 32);
        const Outcome o = read(d.bytes());
        ASSERT_TRUE(o.doc) << o.error.toStdString();
        const auto& content = o.doc->sections[0].blocks[0].paragraph.content;
        for (const model::Inline& in : content)
            EXPECT_NE(in.kind, model::Inline::Kind::Picture);
        EXPECT_EQ(text(o), QStringLiteral("picture"));
        // The sound file keeps its picture.
        const Outcome good = read(Doc(hostile::withBitmap(4, 2)).bytes());
        ASSERT_TRUE(good.doc);
        ASSERT_FALSE(good.doc->sections[0].blocks[0].paragraph.content.empty());
        EXPECT_EQ(good.doc->sections[0].blocks[0].paragraph.content[0].kind,
                  model::Inline::Kind::Picture);
    }
}

TEST(DocHostile, SmallFilesThatRepeatTooMuchAreRefused) {
    // Every byte of WordDocument a piece repeating one 180 KB picture.
    const QByteArray pictures = hostile::repeatedPicture();
    Outcome o = read(pictures);
    EXPECT_FALSE(o.doc);
    EXPECT_TRUE(o.error.contains(QStringLiteral("more content than"))) << o.error.toStdString();

    // A million paragraph marks in one megabyte.
    o = read(hostile::flood("\r", 1 << 20));
    EXPECT_FALSE(o.doc);
    EXPECT_TRUE(o.error.contains(QStringLiteral("more content than"))) << o.error.toStdString();

    // The same file with a thousand marks is an ordinary document.
    o = read(hostile::flood("\r", 1000));
    ASSERT_TRUE(o.doc) << o.error.toStdString();
    EXPECT_EQ(o.doc->sections[0].blocks.size(), 1001u);

    // Field begins that never end, then paragraphs: read, the fields'
    // instructions swallowing the rest.
    o = read(hostile::flood(QByteArray(2000, '\x13') + QByteArray(2000, '\r'), 200000));
    EXPECT_TRUE(o.doc || o.error.contains(QStringLiteral("more content than")))
        << o.error.toStdString();
}
