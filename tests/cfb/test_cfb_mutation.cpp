// Random damage to compound files (files of our own writer, and the .doc
// corpus when it is there): opening and reading every stream must end in
// data or an error, never a crash. Built twice: plainly and under
// AddressSanitizer.

#include "CfbTestUtil.h"
#include "CompoundFile.h"
#include "Mutator.h"
#include "TestEnv.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace cfbtest;

TEST(CfbMutation, DamagedFilesGiveDataOrErrors) {
    QList<QByteArray> seeds;
    for (const QString& path : corpusDocs())
        seeds.append(TestEnv::readFile(path));
    if (seeds.isEmpty())
        std::printf("%s\nmutation: only our own files are damaged\n",
                    Corpus::missingMessage().c_str());
    // Our own: a Word-like file with a storage, and one with many streams
    // across several directory, mini FAT and FAT sectors.
    cfb::Writer w;
    w.addStream(QStringLiteral("WordDocument"), QByteArray(9000, 'w'));
    w.addStream(QStringLiteral("1Table"), QByteArray(700, 't'));
    w.addStream(QStringLiteral("ObjectPool/_1/\x01Ole"), QByteArray(20, 'o'));
    seeds.append(w.toBytes());
    cfb::Writer many;
    for (int i = 0; i < 60; ++i)
        many.addStream(QStringLiteral("S%1/stream%2").arg(i % 7).arg(i),
                       QByteArray(i * 173 % 9000, char('a' + i % 26)));
    seeds.append(many.toBytes());

    // A time budget rather than a count keeps the run short on slow
    // (sanitized) builds; the seed makes every run the same sequence.
    const qint64 budgetMs = qEnvironmentVariableIntValue("FOLIUM_MUTATION_MS") > 0
                                ? qEnvironmentVariableIntValue("FOLIUM_MUTATION_MS")
                                : 4000;
    std::mt19937 rng(4242);
    QElapsedTimer timer;
    timer.start();
    int runs = 0;
    int opened = 0;
    int streamsRead = 0;
    int streamsRefused = 0;
    while (timer.elapsed() < budgetMs) {
        const QByteArray& seed = seeds[qsizetype(rng() % quint32(seeds.size()))];
        const QByteArray damaged = Mutator::mutate(seed, rng);
        ++runs;
        QString error;
        const auto r = cfb::Reader::open(damaged, &error);
        if (!r) {
            ASSERT_FALSE(error.isEmpty()) << "run " << runs;
            continue;
        }
        ++opened;
        const Contents c = readEverything(*r);
        ASSERT_EQ(c.sizeMismatches, 0) << "run " << runs;
        for (const QString& e : c.errors)
            ASSERT_FALSE(e.contains(QStringLiteral("no reason given"))) << "run " << runs;
        streamsRead += int(c.streams.size());
        streamsRefused += int(c.errors.size());
    }
    std::printf("mutation: %d damaged files, %d opened, %d streams read, %d refused\n", runs,
                opened, streamsRead, streamsRefused);
    EXPECT_GT(runs, 50);
    EXPECT_GT(opened, 0);
}
