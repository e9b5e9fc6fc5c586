// Files written by cfb::Writer read back through cfb::Reader with the same
// streams, storages and class ids.

#include "CfbTestUtil.h"
#include "CompoundFile.h"

#include <gtest/gtest.h>

#include <random>

using namespace cfbtest;

namespace {

QByteArray pattern(qsizetype size, quint32 seed) {
    std::mt19937 rng(seed);
    QByteArray b(size, Qt::Uninitialized);
    for (char& c : b)
        c = char(rng());
    return b;
}

cfb::Reader reopen(const cfb::Writer& w) {
    QString error;
    auto r = cfb::Reader::open(w.toBytes(), &error);
    EXPECT_TRUE(r) << error.toStdString();
    return *r;
}

} // namespace

TEST(CfbRoundTrip, EmptyFileHasARootAndNothingElse) {
    cfb::Writer w;
    const QByteArray bytes = w.toBytes();
    EXPECT_EQ(bytes.size(), 512 * 3); // header, one FAT sector, one directory sector
    const cfb::Reader r = reopen(w);
    EXPECT_TRUE(r.streamPaths().isEmpty());
    EXPECT_EQ(r.classId(), QByteArray(16, '\0'));
    EXPECT_EQ(r.majorVersion(), 3);
}

TEST(CfbRoundTrip, StreamsOnBothSidesOfTheMiniStreamCutoff) {
    // Sizes around the 64-byte mini sector, the 512-byte sector and the
    // 4096-byte cutoff between the mini stream and regular sectors.
    const QList<qsizetype> sizes = {0, 1, 63, 64, 65, 511, 512, 513, 4095, 4096, 4097, 100000};
    cfb::Writer w;
    for (qsizetype i = 0; i < sizes.size(); ++i)
        ASSERT_TRUE(w.addStream(QStringLiteral("S%1").arg(i), pattern(sizes[i], quint32(i))));
    const cfb::Reader r = reopen(w);
    EXPECT_EQ(r.streamNames().size(), sizes.size());
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const QString name = QStringLiteral("S%1").arg(i);
        QString error;
        const auto data = r.stream(name, &error);
        ASSERT_TRUE(data) << name.toStdString() << ": " << error.toStdString();
        EXPECT_EQ(*data, pattern(sizes[i], quint32(i))) << "size " << sizes[i];
        EXPECT_EQ(r.streamSize(name), quint64(sizes[i]));
    }
}

TEST(CfbRoundTrip, NestedStoragesAndNameRules) {
    cfb::Writer w;
    ASSERT_TRUE(w.addStream(QStringLiteral("WordDocument"), QByteArray(5000, 'w')));
    ASSERT_TRUE(w.addStream(QStringLiteral("1Table"), QByteArray(300, 't')));
    ASSERT_TRUE(w.addStream(QStringLiteral("ObjectPool/_1234/\x01Ole"), QByteArray(20, 'o')));
    ASSERT_TRUE(w.addStream(QStringLiteral("ObjectPool/_1234/\x03ObjInfo"), QByteArray(6, 'i')));
    ASSERT_TRUE(w.addStorage(QStringLiteral("ObjectPool/_99")));
    ASSERT_TRUE(w.addStream(QStringLiteral("\x05SummaryInformation"), QByteArray(100, 's')));
    const QByteArray clsid = QByteArray::fromHex("0609020000000000c000000000000046");
    ASSERT_TRUE(w.setClassId(QStringLiteral("ObjectPool/_1234"), clsid));

    // Replacing a stream keeps one entry; names compare without case.
    ASSERT_TRUE(w.addStream(QStringLiteral("1TABLE"), QByteArray(7000, 'T')));
    // A stream cannot hold children, a storage cannot become a stream, and
    // names are limited to 31 units without path or drive punctuation.
    EXPECT_FALSE(w.addStream(QStringLiteral("WordDocument/x"), "x"));
    EXPECT_FALSE(w.addStream(QStringLiteral("ObjectPool"), "x"));
    EXPECT_FALSE(w.addStream(QString(32, QLatin1Char('n')), "x"));
    EXPECT_TRUE(w.addStream(QString(31, QLatin1Char('n')), "x"));
    EXPECT_FALSE(w.addStream(QStringLiteral("a:b"), "x"));
    EXPECT_FALSE(w.addStream(QStringLiteral("a!b"), "x"));
    EXPECT_FALSE(w.addStream(QStringLiteral("a\\b"), "x"));
    EXPECT_FALSE(w.addStream(QStringLiteral("/lead"), "x"));
    EXPECT_FALSE(w.addStream(QStringLiteral("trail/"), "x"));
    EXPECT_FALSE(w.addStream(QString(), "x"));
    EXPECT_FALSE(w.setClassId(QString(), QByteArray(15, 'c')));

    const cfb::Reader r = reopen(w);
    EXPECT_EQ(r.classId(), QByteArray(16, '\0')); // the root keeps a zero class id
    EXPECT_EQ(r.classId(QStringLiteral("ObjectPool/_1234")), clsid);
    EXPECT_EQ(r.storageNames(), QStringList{QStringLiteral("ObjectPool")});
    // Directory order: shorter names first, then by upper-case units.
    EXPECT_EQ(r.storageNames(QStringLiteral("objectpool")),
              (QStringList{QStringLiteral("_99"), QStringLiteral("_1234")}));
    EXPECT_EQ(r.streamNames(QStringLiteral("ObjectPool/_1234")),
              (QStringList{QStringLiteral("\x01Ole"), QStringLiteral("\x03ObjInfo")}));
    EXPECT_TRUE(r.streamNames(QStringLiteral("ObjectPool/_99")).isEmpty());
    EXPECT_TRUE(r.streamNames(QStringLiteral("WordDocument")).isEmpty());
    EXPECT_TRUE(r.streamNames(QStringLiteral("Missing")).isEmpty());
    EXPECT_TRUE(r.hasStream(QStringLiteral("worddocument")));
    EXPECT_TRUE(r.hasStorage(QStringLiteral("ObjectPool/_99")));
    EXPECT_FALSE(r.hasStream(QStringLiteral("ObjectPool")));
    EXPECT_FALSE(r.hasStream(QStringLiteral("WordDocument/x")));
    EXPECT_EQ(r.stream(QStringLiteral("1Table")), QByteArray(7000, 'T'));
    EXPECT_EQ(r.stream(QStringLiteral("ObjectPool/_1234/\x01Ole")), QByteArray(20, 'o'));
    EXPECT_EQ(r.streamPaths(),
              (QStringList{QStringLiteral("1Table"), QStringLiteral("WordDocument"),
                           QStringLiteral("\x05SummaryInformation"), QString(31, QLatin1Char('n')),
                           QStringLiteral("ObjectPool/_1234/\x01Ole"),
                           QStringLiteral("ObjectPool/_1234/\x03ObjInfo")}));
    QString error;
    EXPECT_FALSE(r.stream(QStringLiteral("Nothing"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Nothing")));
    EXPECT_FALSE(r.stream(QStringLiteral("ObjectPool"), &error));
    // Control characters in names are spelled out in messages.
    EXPECT_FALSE(r.stream(QStringLiteral("\x05Nothing"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("\\x05Nothing"))) << error.toStdString();
}

TEST(CfbRoundTrip, ManyStreamsSpanSeveralDirectoryAndMiniFatSectors) {
    cfb::Writer w;
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(w.addStream(QStringLiteral("Folder%1/Stream%2").arg(i % 7).arg(i),
                                pattern(i * 13 % 5000, quint32(i))));
    const cfb::Reader r = reopen(w);
    const Contents c = readEverything(r);
    EXPECT_TRUE(c.errors.isEmpty()) << c.errors.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(c.streams.size(), 500);
    for (int i = 0; i < 500; ++i)
        EXPECT_EQ(c.streams.value(QStringLiteral("Folder%1/Stream%2").arg(i % 7).arg(i)),
                  pattern(i * 13 % 5000, quint32(i)));
}

TEST(CfbRoundTrip, LargeFileNeedsDifatSectors) {
    // 109 FAT sectors in the header cover 109 * 128 sectors (about 7 MB);
    // beyond that the FAT sectors are listed in DIFAT sectors.
    const QByteArray big = pattern(9 * 1024 * 1024 + 123, 7);
    cfb::Writer w;
    ASSERT_TRUE(w.addStream(QStringLiteral("Big"), big));
    ASSERT_TRUE(w.addStream(QStringLiteral("Small"), QByteArray(10, 's')));
    const QByteArray bytes = w.toBytes();
    EXPECT_GT(get32(bytes, 0x2C), 109u); // FAT sectors
    EXPECT_GE(get32(bytes, 0x48), 1u);   // DIFAT sectors
    QString error;
    const auto r = cfb::Reader::open(bytes, &error);
    ASSERT_TRUE(r) << error.toStdString();
    EXPECT_EQ(r->stream(QStringLiteral("Big")), big);
    EXPECT_EQ(r->stream(QStringLiteral("Small")), QByteArray(10, 's'));
}

TEST(CfbRoundTrip, ReadsVersion4WithLargeSectors) {
    // A hand-made version 4 file: 4096-byte sectors, the header padded to a
    // full sector; sector 0 FAT, sector 1 directory, sectors 2-3 a stream.
    const qsizetype ss = 4096;
    QByteArray f(ss * 5, '\0');
    const QByteArray sig = QByteArray::fromHex("d0cf11e0a1b11ae1");
    f.replace(0, 8, sig);
    qToLittleEndian<quint16>(0x3E, f.data() + 0x18);
    qToLittleEndian<quint16>(4, f.data() + 0x1A);
    qToLittleEndian<quint16>(0xFFFE, f.data() + 0x1C);
    qToLittleEndian<quint16>(12, f.data() + 0x1E);
    qToLittleEndian<quint16>(6, f.data() + 0x20);
    set32(f, 0x28, 1);          // directory sectors
    set32(f, 0x2C, 1);          // FAT sectors
    set32(f, 0x30, 1);          // first directory sector
    set32(f, 0x38, 4096);       // mini stream cutoff
    set32(f, 0x3C, 0xFFFFFFFE); // no mini FAT
    set32(f, 0x44, 0xFFFFFFFE); // no DIFAT sectors
    set32(f, 0x4C, 0);          // FAT in sector 0
    for (int i = 1; i < 109; ++i)
        set32(f, 0x4C + 4 * i, 0xFFFFFFFF);
    const qsizetype fat = ss;
    for (int i = 0; i < 1024; ++i)
        set32(f, fat + 4 * i, 0xFFFFFFFF);
    set32(f, fat + 0, 0xFFFFFFFD);
    set32(f, fat + 4, 0xFFFFFFFE);
    set32(f, fat + 8, 3);
    set32(f, fat + 12, 0xFFFFFFFE);
    auto entry = [&](int id, const QString& name, quint8 type, quint32 child, quint32 start,
                     quint64 size) {
        char* p = f.data() + 2 * ss + 128 * id;
        for (qsizetype i = 0; i < name.size(); ++i)
            qToLittleEndian<quint16>(name.at(i).unicode(), p + 2 * i);
        qToLittleEndian<quint16>(quint16((name.size() + 1) * 2), p + 0x40);
        p[0x42] = char(type);
        p[0x43] = 1;
        qToLittleEndian<quint32>(0xFFFFFFFF, p + 0x44);
        qToLittleEndian<quint32>(0xFFFFFFFF, p + 0x48);
        qToLittleEndian<quint32>(child, p + 0x4C);
        qToLittleEndian<quint32>(start, p + 0x74);
        qToLittleEndian<quint64>(size, p + 0x78);
    };
    entry(0, QStringLiteral("Root Entry"), 5, 1, 0xFFFFFFFE, 0);
    entry(1, QStringLiteral("Data"), 2, 0xFFFFFFFF, 2, 5000);
    const QByteArray data = pattern(5000, 3);
    f.replace(3 * ss, 5000, data);
    f.truncate(3 * ss + 5000); // the last sector may end short

    QString error;
    const auto r = cfb::Reader::open(f, &error);
    ASSERT_TRUE(r) << error.toStdString();
    EXPECT_EQ(r->majorVersion(), 4);
    EXPECT_EQ(r->stream(QStringLiteral("Data")), data);

    // Version 4 sizes are 64-bit: a high half makes the size impossible.
    set32(f, 2 * ss + 128 + 0x7C, 1);
    const auto huge = cfb::Reader::open(f, &error);
    ASSERT_TRUE(huge) << error.toStdString();
    EXPECT_FALSE(huge->stream(QStringLiteral("Data"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("more than the file holds"))) << error.toStdString();
}

TEST(CfbRoundTrip, Version3IgnoresTheHighHalfOfStreamSizes) {
    // Old writers left junk in the upper 32 bits of version 3 sizes.
    cfb::Writer w;
    ASSERT_TRUE(w.addStream(QStringLiteral("A"), QByteArray(5000, 'a')));
    QByteArray bytes = w.toBytes();
    const int id = dirEntryId(bytes, QStringLiteral("A"));
    ASSERT_GT(id, 0);
    set32(bytes, dirEntryAt(bytes, quint32(id)) + 0x7C, 0xDEADBEEF);
    const auto r = cfb::Reader::open(bytes);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->stream(QStringLiteral("A")), QByteArray(5000, 'a'));
}
