// The structures the writer must get right for Word itself: FIB values, the
// streams, the style sheet's fixed styles and the East Asian font entries.
#include "CompoundFile.h"
#include "Document.h"
#include "MsDoc.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace model;

namespace {

quint16 u16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 u32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

} // namespace

TEST(DocWriter, FibStreamsStylesAndFontsAsWordRequires) {
    Document d;
    Paragraph p;
    CharFormat mincho;
    mincho.fontEastAsia = QStringLiteral("ＭＳ 明朝");
    p.addText(QStringLiteral("日本語 text"), mincho);
    p.format.styleName = QStringLiteral("本文");
    d.lastSection().blocks.push_back(Block::makeParagraph(p));
    const QByteArray file = msdoc::write(d);
    const auto cf = cfb::Reader::open(file);
    ASSERT_TRUE(cf.has_value());
    ASSERT_TRUE(cf->hasStream(QStringLiteral("WordDocument")));
    ASSERT_TRUE(cf->hasStream(QStringLiteral("1Table")));
    const QByteArray wd = *cf->stream(QStringLiteral("WordDocument"));
    const QByteArray tb = *cf->stream(QStringLiteral("1Table"));
    ASSERT_GE(wd.size(), 4096); // kept out of the mini stream

    EXPECT_EQ(u16(wd, 0), 0xA5EC);
    EXPECT_EQ(u16(wd, 2), 0x00C1);
    const quint16 flags = u16(wd, 10);
    EXPECT_TRUE(flags & 0x0200);         // 1Table
    EXPECT_TRUE(flags & 0x1000);         // fExtChar
    EXPECT_FALSE(flags & 0x0100);        // not encrypted
    EXPECT_EQ(u16(wd, 12), 0x00BF);      // nFibBack
    EXPECT_EQ(u16(wd, 32), 14);          // csw
    EXPECT_EQ(u16(wd, 62), 22);          // cslw
    EXPECT_EQ(u16(wd, 152), 0x5D);       // cbRgFcLcb of Word 97
    EXPECT_EQ(u16(wd, 154 + 93 * 8), 0); // cswNew
    EXPECT_EQ(u32(wd, 64), u32(wd, 64) <= quint32(wd.size()) ? u32(wd, 64) : 0u);      // cbMac fits
    EXPECT_EQ(u32(wd, 64 + 3 * 4), quint32(QStringLiteral("日本語 text").size() + 1)); // ccpText

    auto fcLcb = [&](int i) { return std::pair(u32(wd, 154 + i * 8), u32(wd, 158 + i * 8)); };
    for (int required : {1, 6, 12, 13, 15, 31, 33}) { // STSH, sections, bin tables, fonts, DOP, Clx
        const auto [fc, lcb] = fcLcb(required);
        EXPECT_GT(lcb, 0u) << required;
        EXPECT_LE(fc + lcb, quint32(tb.size())) << required;
    }
    EXPECT_EQ(fcLcb(31).second, 500u); // Dop97

    // Style sheet: at least the 15 fixed slots, Normal at 0, Default
    // Paragraph Font (sti 65) at 10, and the paragraph's own style.
    const QByteArray stsh = tb.mid(fcLcb(1).first, fcLcb(1).second);
    EXPECT_EQ(u16(stsh, 0), 18);
    EXPECT_GE(u16(stsh, 2), 16);
    EXPECT_EQ(u16(stsh, 4), 0x0A);
    EXPECT_EQ(u16(stsh, 10), 0x0F);
    int pos = 2 + 18;
    QStringList names;
    for (int istd = 0; istd < u16(stsh, 2); ++istd) {
        const int cb = u16(stsh, pos);
        if (cb) {
            const QByteArray std = stsh.mid(pos + 2, cb);
            const int sti = u16(std, 0) & 0xFFF;
            if (istd == 0) {
                EXPECT_EQ(sti, 0);
            } else if (istd == 10) {
                EXPECT_EQ(sti, 65);
            }
            const int cch = u16(std, 10);
            names << QString::fromUtf16(reinterpret_cast<const char16_t*>(std.constData() + 12),
                                        cch);
        } else {
            EXPECT_TRUE(istd != 0 && istd != 10) << istd;
        }
        pos += 2 + cb;
    }
    EXPECT_TRUE(names.contains(QStringLiteral("Normal")));
    EXPECT_TRUE(names.contains(QStringLiteral("本文")));

    // Font table: Japanese faces with the SHIFTJIS character set (128).
    const QByteArray ffn = tb.mid(fcLcb(15).first, fcLcb(15).second);
    int at = 4, japanese = 0;
    for (int i = 0; i < u16(ffn, 0); ++i) {
        const int cch = quint8(ffn[at]);
        const QString name =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(ffn.constData() + at + 1 + 39));
        const int chs = quint8(ffn[at + 1 + 3]);
        if (name == QStringLiteral("ＭＳ Ｐゴシック") || name == QStringLiteral("ＭＳ 明朝")) {
            EXPECT_EQ(chs, 128) << name.toStdString();
            ++japanese;
        }
        at += 1 + cch;
    }
    EXPECT_EQ(japanese, 2);
}
