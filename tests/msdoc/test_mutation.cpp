// Random byte mutations of real documents: the reader must refuse or read
// every variant without crashing. Built with AddressSanitizer, so any
// out-of-bounds access fails the test.
#include "Document.h"
#include "MsDoc.h"
#include "TestEnv.h"

#include <QDirIterator>
#include <QRandomGenerator>
#include <gtest/gtest.h>

TEST(DocMutation, MutatedCorpusNeverCrashes) {
    const QString root = TestEnv::sharedDir() + QStringLiteral("/corpus/doc");
    QDirIterator it(root, {QStringLiteral("*.doc")}, QDir::Files, QDirIterator::Subdirectories);
    std::vector<QByteArray> seeds;
    while (it.hasNext()) {
        const QByteArray b = TestEnv::readFile(it.next());
        if (b.size() < 200000)
            seeds.push_back(b);
    }
    // Our own output with every structure the writer makes.
    model::Document d;
    model::Paragraph p;
    p.addText(QStringLiteral("mutation seed 変異"), {});
    d.lastSection().blocks.push_back(model::Block::makeParagraph(p));
    d.lastSection().header.push_back(model::Block::makeParagraph(p));
    seeds.push_back(msdoc::write(d));
    ASSERT_FALSE(seeds.empty());

    QRandomGenerator rng(20240607);
    int read = 0, refused = 0;
    for (int round = 0; round < 1500; ++round) {
        QByteArray b = seeds[rng.bounded(int(seeds.size()))];
        const int edits = 1 + rng.bounded(16);
        for (int e = 0; e < edits; ++e) {
            const int at = rng.bounded(int(b.size()));
            switch (rng.bounded(4)) {
            case 0:
                b[at] = char(rng.bounded(256));
                break;
            case 1:
                b[at] = char(0xFF);
                break;
            case 2:
                b[at] = 0;
                break;
            default:
                b[at] = char(b[at] ^ (1 << rng.bounded(8)));
                break;
            }
        }
        if (rng.bounded(10) == 0)
            b.truncate(rng.bounded(int(b.size())));
        QString error;
        if (msdoc::read(b, &error))
            ++read;
        else
            ++refused;
    }
    EXPECT_EQ(read + refused, 1500);
}
