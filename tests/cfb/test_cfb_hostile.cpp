// Damaged and hostile files: every broken chain, loop, out-of-range sector
// and impossible size ends in an error message, never a crash or a hang.

#include "CfbTestUtil.h"
#include "CompoundFile.h"

#include <gtest/gtest.h>

using namespace cfbtest;

namespace {

constexpr quint32 kEnd = 0xFFFFFFFE;
constexpr quint32 kFree = 0xFFFFFFFF;

// A small file: "Large" in regular sectors, "Small" in the mini stream, and
// "Store/Inner".
QByteArray sample() {
    cfb::Writer w;
    w.addStream(QStringLiteral("Large"), QByteArray(5000, 'L'));
    w.addStream(QStringLiteral("Small"), QByteArray(100, 'S'));
    w.addStream(QStringLiteral("Store/Inner"), QByteArray(10, 'I'));
    return w.toBytes();
}

qsizetype entryField(const QByteArray& f, const QString& name, int field) {
    const int id = dirEntryId(f, name);
    EXPECT_GE(id, 0) << name.toStdString();
    return dirEntryAt(f, quint32(id)) + field;
}

// Opens `f`, expecting failure with a reason containing `why`.
void expectRefused(const QByteArray& f, const char* why) {
    SCOPED_TRACE(why);
    QString error;
    EXPECT_FALSE(cfb::Reader::open(f, &error));
    EXPECT_TRUE(error.contains(QLatin1String(why))) << error.toStdString();
}

// Opens `f`, expecting `stream` to fail with a reason containing `why`.
void expectStreamRefused(const QByteArray& f, const char* stream, const char* why) {
    SCOPED_TRACE(why);
    QString error;
    const auto r = cfb::Reader::open(f, &error);
    ASSERT_TRUE(r) << error.toStdString();
    EXPECT_FALSE(r->stream(QLatin1String(stream), &error));
    EXPECT_TRUE(error.contains(QLatin1String(why))) << error.toStdString();
}

} // namespace

TEST(CfbHostile, NotACompoundFile) {
    expectRefused(QByteArray(), "too short");
    expectRefused(QByteArray(600, 'x'), "signature");
    QByteArray f = sample();
    QByteArray wrongVersion = f;
    wrongVersion[0x1A] = 2;
    expectRefused(wrongVersion, "version");
    QByteArray wrongShift = f;
    wrongShift[0x1E] = 10;
    expectRefused(wrongShift, "version");
    QByteArray wrongMini = f;
    wrongMini[0x20] = 7;
    expectRefused(wrongMini, "mini sector");
    expectRefused(f.left(512), "ends after its header");
}

TEST(CfbHostile, RegularChains) {
    const QByteArray f = sample();
    const quint32 start = get32(f, entryField(f, QStringLiteral("Large"), 0x74));

    QByteArray loop = f;
    set32(loop, fatEntryAt(f, start + 3), start + 1);
    expectStreamRefused(loop, "Large", "loops");

    QByteArray selfLoop = f;
    set32(selfLoop, fatEntryAt(f, start), start);
    expectStreamRefused(selfLoop, "Large", "loops");

    QByteArray outOfRange = f;
    set32(outOfRange, entryField(f, QStringLiteral("Large"), 0x74), 100000);
    expectStreamRefused(outOfRange, "Large", "past the end");

    QByteArray intoFree = f;
    set32(intoFree, fatEntryAt(f, start + 2), kFree);
    expectStreamRefused(intoFree, "Large", "free or reserved");

    QByteArray early = f;
    set32(early, fatEntryAt(f, start + 2), kEnd);
    expectStreamRefused(early, "Large", "ends after 3 of its 10 sectors");

    QByteArray huge = f;
    set32(huge, entryField(f, QStringLiteral("Large"), 0x78), 0xFFFFFFF0);
    expectStreamRefused(huge, "Large", "more than the file holds");

    // Other streams still read.
    const auto r = cfb::Reader::open(loop);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->stream(QStringLiteral("Small")), QByteArray(100, 'S'));
}

TEST(CfbHostile, MiniStreamAndMiniFat) {
    const QByteArray f = sample();
    const quint32 miniStart = get32(f, entryField(f, QStringLiteral("Small"), 0x74));
    const qsizetype miniFat = sectorAt(firstMiniFatSector(f));

    QByteArray loop = f;
    set32(loop, miniFat + 4 * miniStart, miniStart);
    expectStreamRefused(loop, "Small", "loops");

    QByteArray outside = f;
    set32(outside, entryField(f, QStringLiteral("Small"), 0x74), 5000);
    expectStreamRefused(outside, "Small", "past the end");

    // A mini stream larger than the file spoils only the small streams.
    QByteArray hugeMini = f;
    set32(hugeMini, dirEntryAt(f, 0) + 0x78, 0x7FFFFFFF);
    expectStreamRefused(hugeMini, "Small", "mini stream");
    const auto r = cfb::Reader::open(hugeMini);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->stream(QStringLiteral("Large")), QByteArray(5000, 'L'));

    QByteArray miniFatLoop = f;
    set32(miniFatLoop, 0x3C, get32(f, dirEntryAt(f, 0) + 0x74)); // mini FAT = mini stream sector
    set32(miniFatLoop, fatEntryAt(f, get32(f, dirEntryAt(f, 0) + 0x74)),
          get32(f, dirEntryAt(f, 0) + 0x74));
    expectStreamRefused(miniFatLoop, "Small", "loops");
}

TEST(CfbHostile, Directory) {
    const QByteArray f = sample();
    const qsizetype rootChild = dirEntryAt(f, 0) + 0x4C;
    const quint32 top = get32(f, rootChild);

    QByteArray toRoot = f;
    set32(toRoot, dirEntryAt(f, top) + 0x44, 0);
    expectRefused(toRoot, "loops");

    QByteArray toSelf = f;
    set32(toSelf, dirEntryAt(f, top) + 0x48, top);
    expectRefused(toSelf, "loops");

    // A storage's child pointing back at the storage itself.
    QByteArray storageLoop = f;
    const qsizetype storeChild = entryField(f, QStringLiteral("Store"), 0x4C);
    set32(storageLoop, storeChild, quint32(dirEntryId(f, QStringLiteral("Store"))));
    expectRefused(storageLoop, "loops");

    QByteArray missing = f;
    set32(missing, rootChild, 9999);
    expectRefused(missing, "does not exist");

    QByteArray chainLoop = f;
    set32(chainLoop, fatEntryAt(f, firstDirSector(f) + 1), firstDirSector(f));
    expectRefused(chainLoop, "loops");

    QByteArray noRoot = f;
    noRoot[dirEntryAt(f, 0) + 0x42] = 1;
    expectRefused(noRoot, "root");

    QByteArray dirOutside = f;
    set32(dirOutside, 0x30, 77777);
    expectRefused(dirOutside, "past the end");

    // A free entry inside the tree is skipped; its siblings stay reachable.
    QByteArray freed = f;
    freed[dirEntryAt(f, top) + 0x42] = 0;
    const auto r = cfb::Reader::open(freed);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->streamPaths().size(), 2);
}

TEST(CfbHostile, FatAndDifat) {
    QByteArray f = sample();
    QByteArray tooMany = f;
    set32(tooMany, 0x2C, 0xFFFFFFFF);
    expectRefused(tooMany, "FAT sectors");
    QByteArray none = f;
    set32(none, 0x2C, 0);
    expectRefused(none, "FAT sectors");
    QByteArray fatOutside = f;
    set32(fatOutside, 0x4C, 0x00FFFFFF);
    expectRefused(fatOutside, "past the end");

    cfb::Writer w;
    w.addStream(QStringLiteral("Big"), QByteArray(8 * 1024 * 1024, 'b'));
    const QByteArray big = w.toBytes();
    const quint32 difat = get32(big, 0x44);
    ASSERT_NE(difat, kEnd);
    // Claim more FAT sectors than the DIFAT lists, with a DIFAT that loops.
    QByteArray difatLoop = big;
    set32(difatLoop, 0x2C, 109 + 127 + 5);
    set32(difatLoop, sectorAt(difat) + 508, difat);
    expectRefused(difatLoop, "DIFAT chain loops");
    QByteArray difatShort = big;
    set32(difatShort, 0x2C, 109 + 127 + 5);
    expectRefused(difatShort, "the DIFAT lists");
    QByteArray difatEntry = big;
    set32(difatEntry, sectorAt(difat), 0x7FFFFFFF);
    expectRefused(difatEntry, "past the end");
}

TEST(CfbHostile, EveryTruncationIsHandled) {
    const QByteArray f = sample();
    const qsizetype largeEnd =
        sectorAt(get32(f, entryField(f, QStringLiteral("Large"), 0x74))) + 5000;
    int opened = 0;
    for (qsizetype n = 0; n < f.size(); ++n) {
        QString error;
        const auto r = cfb::Reader::open(f.left(n), &error);
        if (!r) {
            EXPECT_FALSE(error.isEmpty());
            continue;
        }
        ++opened;
        const Contents c = readEverything(*r);
        EXPECT_EQ(c.sizeMismatches, 0);
        // Cut anywhere before the end of its data, "Large" fails.
        if (n < largeEnd) {
            EXPECT_FALSE(c.streams.contains(QStringLiteral("Large"))) << n;
        }
    }
    EXPECT_GT(opened, 0);
}

TEST(CfbHostile, DegenerateSiblingListReadsWithoutRecursion) {
    // 3000 siblings linked as one long right-leaning list instead of a
    // balanced tree: deep, yet legal enough to read.
    const int n = 3000;
    cfb::Writer w;
    for (int i = 0; i < n; ++i)
        w.addStream(QStringLiteral("s%1").arg(i, 4, 10, QLatin1Char('0')), QByteArray(1, char(i)));
    QByteArray f = w.toBytes();
    set32(f, dirEntryAt(f, 0) + 0x4C, 1);
    for (int id = 1; id <= n; ++id) {
        set32(f, dirEntryAt(f, id) + 0x44, 0xFFFFFFFF);
        set32(f, dirEntryAt(f, id) + 0x48, id < n ? quint32(id + 1) : 0xFFFFFFFF);
    }
    QString error;
    const auto r = cfb::Reader::open(f, &error);
    ASSERT_TRUE(r) << error.toStdString();
    const QStringList names = r->streamNames();
    ASSERT_EQ(names.size(), n);
    EXPECT_EQ(names.first(), QStringLiteral("s0000"));
    EXPECT_EQ(names.last(), QStringLiteral("s2999"));
    EXPECT_EQ(r->stream(QStringLiteral("s1234")), QByteArray(1, char(1234)));
}
