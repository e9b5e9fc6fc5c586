// Checks the writer's output against the container's rules directly, without
// going through cfb::Reader: every sector accounted for exactly once, the
// DIFAT, the mini FAT, unused directory entries, and a valid red-black tree
// of siblings in every storage.

#include "CfbTestUtil.h"
#include "CompoundFile.h"

#include <gtest/gtest.h>

#include <set>

using namespace cfbtest;

namespace {

constexpr quint32 kEnd = 0xFFFFFFFE;
constexpr quint32 kFree = 0xFFFFFFFF;
constexpr quint32 kNone = 0xFFFFFFFF;

struct Checker {
    QByteArray f;
    quint32 sectors = 0;
    std::vector<quint32> fat;
    std::vector<int> owner; // which chain each sector belongs to, -1 none
    QStringList problems;

    void problem(const QString& p) { problems.append(p); }

    // Claims the chain from `start` for `owner`; returns its sectors.
    std::vector<quint32> claim(quint32 start, int who) {
        std::vector<quint32> chain;
        for (quint32 s = start; s != kEnd;) {
            if (s >= sectors || owner[s] != -1) {
                problem(QStringLiteral("chain %1 reaches sector %2 twice or out of range")
                            .arg(who)
                            .arg(s));
                break;
            }
            owner[s] = who;
            chain.push_back(s);
            s = fat[s];
        }
        return chain;
    }
    QByteArray bytesOf(const std::vector<quint32>& chain) const {
        QByteArray b;
        for (quint32 s : chain)
            b.append(f.mid(sectorAt(s), 512));
        return b;
    }

    QString nameOf(const QByteArray& dir, quint32 id) const {
        const int units = qFromLittleEndian<quint16>(dir.constData() + 128 * id + 0x40) / 2;
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(dir.constData() + 128 * id),
                                  units - 1);
    }
    static bool less(const QString& a, const QString& b) {
        if (a.size() != b.size())
            return a.size() < b.size();
        return a.toUpper() < b.toUpper();
    }

    // Validates the sibling tree below `id`; returns its black height, and
    // collects its names in order.
    int checkTree(const QByteArray& dir, quint32 id, bool parentRed, QStringList& order,
                  std::set<quint32>& seen) {
        if (id == kNone)
            return 1;
        if (!seen.insert(id).second) {
            problem(QStringLiteral("entry %1 reached twice").arg(id));
            return 0;
        }
        const char* e = dir.constData() + 128 * id;
        const bool red = e[0x43] == 0;
        if (red && parentRed)
            problem(QStringLiteral("red entry %1 under a red parent").arg(id));
        const int left = checkTree(dir, get32(dir, 128 * id + 0x44), red, order, seen);
        order.append(nameOf(dir, id));
        const int right = checkTree(dir, get32(dir, 128 * id + 0x48), red, order, seen);
        if (left != right)
            problem(QStringLiteral("unequal black heights below entry %1").arg(id));
        return left + (red ? 0 : 1);
    }

    void run(const QByteArray& bytes) {
        f = bytes;
        if (f.size() % 512 != 0)
            problem(QStringLiteral("file size is not a whole number of sectors"));
        EXPECT_EQ(f.left(8), QByteArray::fromHex("d0cf11e0a1b11ae1"));
        EXPECT_EQ(f.mid(8, 16), QByteArray(16, '\0'));
        EXPECT_EQ(qFromLittleEndian<quint16>(f.constData() + 0x18), 0x3E);
        EXPECT_EQ(qFromLittleEndian<quint16>(f.constData() + 0x1A), 3);
        EXPECT_EQ(qFromLittleEndian<quint16>(f.constData() + 0x1C), 0xFFFE);
        EXPECT_EQ(qFromLittleEndian<quint16>(f.constData() + 0x1E), 9);
        EXPECT_EQ(qFromLittleEndian<quint16>(f.constData() + 0x20), 6);
        EXPECT_EQ(get32(f, 0x28), 0u); // no directory sector count in version 3
        EXPECT_EQ(get32(f, 0x38), 4096u);
        sectors = quint32(f.size() / 512 - 1);
        owner.assign(sectors, -1);

        // FAT sectors: 109 in the header, the rest in the DIFAT chain.
        const quint32 fatCount = get32(f, 0x2C);
        std::vector<quint32> fatSectors;
        for (quint32 i = 0; i < 109; ++i) {
            const quint32 s = get32(f, 0x4C + 4 * i);
            if (i < fatCount)
                fatSectors.push_back(s);
            else if (s != kFree)
                problem(QStringLiteral("unused header DIFAT slot %1 is not free").arg(i));
        }
        std::vector<quint32> difatSectors;
        for (quint32 d = get32(f, 0x44); d != kEnd && difatSectors.size() <= sectors;) {
            difatSectors.push_back(d);
            for (quint32 i = 0; i < 127; ++i) {
                const quint32 s = get32(f, sectorAt(d) + 4 * i);
                if (fatSectors.size() < fatCount)
                    fatSectors.push_back(s);
                else if (s != kFree)
                    problem(QStringLiteral("unused DIFAT slot is not free"));
            }
            d = get32(f, sectorAt(d) + 508);
        }
        EXPECT_EQ(difatSectors.size(), get32(f, 0x48));
        ASSERT_EQ(fatSectors.size(), fatCount);
        for (quint32 s : fatSectors)
            for (int i = 0; i < 128; ++i)
                fat.push_back(get32(f, sectorAt(s) + 4 * i));
        ASSERT_GE(fat.size(), sectors) << "the FAT does not cover the file";
        for (quint32 s : fatSectors) {
            EXPECT_EQ(fat[s], 0xFFFFFFFDu) << "FAT sector not marked";
            owner[s] = 100;
        }
        for (quint32 s : difatSectors) {
            EXPECT_EQ(fat[s], 0xFFFFFFFCu) << "DIFAT sector not marked";
            owner[s] = 101;
        }
        for (size_t s = sectors; s < fat.size(); ++s)
            EXPECT_EQ(fat[s], kFree) << "FAT entry beyond the file is not free";

        const QByteArray dir = bytesOf(claim(get32(f, 0x30), 1));
        const auto miniFatChain = claim(get32(f, 0x3C), 2);
        EXPECT_EQ(miniFatChain.size(), get32(f, 0x40));
        const QByteArray miniFatBytes = bytesOf(miniFatChain);
        const quint32 entries = quint32(dir.size() / 128);
        ASSERT_GE(entries, 1u);
        EXPECT_EQ(dir[0x42], 5) << "entry 0 is not the root";
        EXPECT_EQ(nameOf(dir, 0), QStringLiteral("Root Entry"));
        EXPECT_EQ(dir.mid(0x50, 16), QByteArray(16, '\0')) << "root class id is not zero";
        EXPECT_EQ(dir[0x43], 1) << "the root is not black";
        const QByteArray mini = bytesOf(claim(get32(dir, 0x74), 3));
        const quint64 miniSize = qFromLittleEndian<quint64>(dir.constData() + 0x78);
        EXPECT_GE(quint64(mini.size()), miniSize);
        std::vector<bool> miniUsed(miniSize / 64);

        std::set<quint32> seen{0};
        std::vector<quint32> storages{0};
        while (!storages.empty()) {
            const quint32 s = storages.back();
            storages.pop_back();
            const quint32 top = get32(dir, 128 * s + 0x4C);
            if (top != kNone && dir[128 * top + 0x43] != 1)
                problem(QStringLiteral("sibling tree root %1 is red").arg(top));
            QStringList order;
            std::set<quint32> inTree;
            checkTree(dir, top, false, order, inTree);
            for (qsizetype i = 1; i < order.size(); ++i)
                if (!less(order[i - 1], order[i]))
                    problem(QStringLiteral("siblings out of order: %1, %2")
                                .arg(order[i - 1], order[i]));
            for (quint32 id : inTree) {
                if (!seen.insert(id).second)
                    problem(QStringLiteral("entry %1 in two storages").arg(id));
                const char type = dir[128 * id + 0x42];
                const quint32 start = get32(dir, 128 * id + 0x74);
                const quint64 size = qFromLittleEndian<quint64>(dir.constData() + 128 * id + 0x78);
                if (type == 1) {
                    storages.push_back(id);
                    EXPECT_EQ(size, 0u);
                } else if (type == 2 && size >= 4096) {
                    EXPECT_EQ(claim(start, int(10 + id)).size(), (size + 511) / 512);
                } else if (type == 2) {
                    // Mini chain: distinct mini sectors inside the mini stream.
                    quint64 count = 0;
                    for (quint32 m = size ? start : kEnd; m != kEnd; ++count) {
                        if (m >= miniUsed.size() || miniUsed[m]) {
                            problem(QStringLiteral("bad mini chain in entry %1").arg(id));
                            break;
                        }
                        miniUsed[m] = true;
                        m = get32(miniFatBytes, 4 * m);
                    }
                    EXPECT_EQ(count, (size + 63) / 64);
                } else {
                    problem(QStringLiteral("entry %1 has type %2").arg(id).arg(int(type)));
                }
            }
        }
        // Unused entries: zero but for links set to "none".
        for (quint32 id = 1; id < entries; ++id) {
            if (seen.count(id))
                continue;
            QByteArray expect(128, '\0');
            expect.replace(0x44, 12, QByteArray(12, char(0xFF)));
            if (dir.mid(128 * id, 128) != expect)
                problem(QStringLiteral("unused entry %1 is not blank").arg(id));
        }
        for (quint32 s = 0; s < sectors; ++s)
            if (owner[s] == -1)
                problem(QStringLiteral("sector %1 belongs to nothing").arg(s));
    }
};

void check(const cfb::Writer& w) {
    Checker c;
    c.run(w.toBytes());
    EXPECT_TRUE(c.problems.isEmpty()) << c.problems.join(QLatin1Char('\n')).toStdString();
}

} // namespace

TEST(CfbStructure, SiblingTreesOfEverySizeAreValidRedBlackTrees) {
    // Sibling counts that give full and partial last levels.
    for (int n : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 31, 33, 100}) {
        cfb::Writer w;
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(
                w.addStream(QStringLiteral("s%1").arg(i * 7919 % 1000), QByteArray(i, 'x')));
        SCOPED_TRACE(n);
        check(w);
    }
}

TEST(CfbStructure, MixedContentLaysOutEverySectorOnce) {
    cfb::Writer w;
    w.addStream(QStringLiteral("WordDocument"), QByteArray(20000, 'w'));
    w.addStream(QStringLiteral("1Table"), QByteArray(3000, 't'));
    w.addStream(QStringLiteral("Data"), QByteArray(4096, 'd'));
    w.addStream(QStringLiteral("Empty"), QByteArray());
    for (int i = 0; i < 40; ++i)
        w.addStream(QStringLiteral("ObjectPool/_%1/\x01Ole").arg(i), QByteArray(i * 50, 'o'));
    w.addStorage(QStringLiteral("Nested/Deeper/Deepest"));
    check(w);
}

TEST(CfbStructure, DifatChainForLargeFiles) {
    cfb::Writer w;
    // Over 237 FAT sectors, so the DIFAT needs two sectors.
    w.addStream(QStringLiteral("Big"), QByteArray(16 * 1024 * 1024, 'b'));
    w.addStream(QStringLiteral("Small"), QByteArray(100, 's'));
    check(w);
}
