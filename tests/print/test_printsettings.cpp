// Paper size codes and the stored printer settings record.
#include "PaperCode.h"
#include "PrnRecord.h"
#include "TestEnv.h"

#include <QFile>
#include <QPrinter>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

PrnRecord sample() {
    PrnRecord r;
    r.device = QStringLiteral("事務所のﾌﾟﾘﾝﾀ");
    r.mask = PrnRecord::MPaperSize | PrnRecord::MPaperLength | PrnRecord::MPaperWidth |
             PrnRecord::MOrientation | PrnRecord::MDuplex;
    r.orientation = 2;
    r.paperSize = 256;
    r.paperLength = 1800;
    r.paperWidth = 1800;
    r.copies = 3;
    r.duplex = 2;
    r.outputFile = QStringLiteral("/tmp/出力.pdf");
    return r;
}

} // namespace

TEST(PaperCode, NamedPapersWithinTwoPercentAndOthersOfTheirOwnSize) {
    // A4 as Word writes it and as the page setup writes it.
    EXPECT_EQ(PaperCode::Of(11906, 16838, false).code, PaperCode::kA4);
    EXPECT_EQ(PaperCode::Of(11900, 16838, false).code, PaperCode::kA4);
    // 21 x 29.5 cm is within 2 % of A4; 21 x 29 cm is 2.4 % short of it
    // and goes as a paper of its own size.
    EXPECT_EQ(PaperCode::Of(21 * 567, 16727, false).code, PaperCode::kA4);
    const PaperCode::Paper short29 = PaperCode::Of(21 * 567, 29 * 567, false);
    EXPECT_EQ(short29.code, PaperCode::kUser);
    EXPECT_EQ(short29.width, 2100);
    EXPECT_EQ(short29.length, 2900);
    // 18 x 18 cm: user-defined, in tenths of a millimetre.
    const PaperCode::Paper square = PaperCode::Of(18 * 567, 18 * 567, false);
    EXPECT_EQ(square.code, PaperCode::kUser);
    EXPECT_EQ(square.width, 1800);
    EXPECT_EQ(square.length, 1800);
    // A landscape page is compared with its sides exchanged.
    EXPECT_EQ(PaperCode::Of(16838, 11906, true).code, PaperCode::kA4);
    EXPECT_EQ(PaperCode::Of(16838, 11906, false).code, PaperCode::kUser);
    const PaperCode::Paper wide = PaperCode::Of(29 * 567, 18 * 567, true);
    EXPECT_EQ(wide.width, 1800);
    EXPECT_EQ(wide.length, 2900);
    // The other papers of the page setup.
    EXPECT_EQ(PaperCode::Of(8300, 11900, false).code, PaperCode::kA5);
    EXPECT_EQ(PaperCode::Of(10318, 14581, false).code, PaperCode::kB5);
    EXPECT_EQ(PaperCode::Of(5666, 8386, false).code, PaperCode::kPostcard);
    EXPECT_EQ(PaperCode::Of(12240, 15840, false).code, PaperCode::kLetter);
}

TEST(PaperCode, CodesAndPrinterPageSizesMeetBothWays) {
    for (int code :
         {PaperCode::kA4, PaperCode::kA5, PaperCode::kB5, PaperCode::kPostcard, PaperCode::kLetter})
        EXPECT_EQ(PaperCode::FromPageSize(PaperCode::PageSize({code, 0, 0})).code, code) << code;
    const QPageSize jisB5 = PaperCode::PageSize({PaperCode::kB5, 0, 0});
    EXPECT_NEAR(jisB5.size(QPageSize::Millimeter).width(), 182, 0.5);
    const QPageSize own = PaperCode::PageSize({PaperCode::kUser, 1800, 2900});
    EXPECT_NEAR(own.size(QPageSize::Millimeter).width(), 180, 0.1);
    EXPECT_NEAR(own.size(QPageSize::Millimeter).height(), 290, 0.1);
    const PaperCode::Paper back = PaperCode::FromPageSize(own);
    EXPECT_EQ(back.code, PaperCode::kUser);
    EXPECT_EQ(back.width, 1800);
    EXPECT_EQ(back.length, 2900);
}

TEST(PrnRecord, WrittenAndReadBackWithTheDeviceNameAndMaskFirst) {
    const PrnRecord r = sample();
    const QByteArray b = r.toBytes();
    ASSERT_EQ(b.size(), PrnRecord::kSize);
    EXPECT_TRUE(b.startsWith(r.device.toUtf8() + '\0'));
    EXPECT_EQ(qFromLittleEndian<quint32>(b.constData() + 128), r.mask);
    PrnRecord back;
    ASSERT_TRUE(PrnRecord::fromBytes(b, &back));
    EXPECT_EQ(back, r);

    const QString file = TestEnv::freshDir(QStringLiteral("prn")) + QStringLiteral("/Page.prndt");
    ASSERT_TRUE(r.save(file));
    PrnRecord loaded;
    ASSERT_TRUE(PrnRecord::load(file, &loaded));
    EXPECT_EQ(loaded, r);
    // A name longer than its field is cut at a whole character.
    PrnRecord longName = r;
    longName.device = QString(100, QChar(0x3042));
    ASSERT_TRUE(PrnRecord::fromBytes(longName.toBytes(), &back));
    EXPECT_EQ(back.device, QString(42, QChar(0x3042)));
}

TEST(PrnRecord, ShortDamagedOrForeignFilesAreNoRecord) {
    const QByteArray good = sample().toBytes();
    PrnRecord out;
    out.device = QStringLiteral("untouched");
    EXPECT_FALSE(PrnRecord::fromBytes(good.left(146), &out));
    EXPECT_FALSE(PrnRecord::fromBytes(good + QByteArray(4, '\0'), &out));
    EXPECT_FALSE(PrnRecord::fromBytes(QByteArray(), &out));
    QByteArray damaged = good;
    damaged[140] = char(damaged[140] ^ 0x40);
    EXPECT_FALSE(PrnRecord::fromBytes(damaged, &out));
    // Another version with a correct check of its own.
    QByteArray other = good;
    qToLittleEndian<quint16>(2, other.data() + 136);
    qToLittleEndian<quint32>(qChecksum(QByteArrayView(other.constData(), 508), Qt::ChecksumIso3309),
                             other.data() + 508);
    EXPECT_FALSE(PrnRecord::fromBytes(other, &out));
    // Values no printer takes, correctly checked.
    QByteArray odd = good;
    qToLittleEndian<qint16>(7, odd.data() + 140); // orientation
    qToLittleEndian<quint32>(qChecksum(QByteArrayView(odd.constData(), 508), Qt::ChecksumIso3309),
                             odd.data() + 508);
    EXPECT_FALSE(PrnRecord::fromBytes(odd, &out));
    EXPECT_EQ(out.device, QStringLiteral("untouched"));
    EXPECT_FALSE(PrnRecord::load(TestEnv::freshDir() + QStringLiteral("/missing.prndt"), &out));
}

TEST(PrnRecord, CapturedFromAndAppliedToAPrinter) {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/tmp/x.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A5));
    printer.setDuplex(QPrinter::DuplexLongSide);
    const PrnRecord r = PrnRecord::capture(printer);
    EXPECT_TRUE(r.device.isEmpty());
    EXPECT_EQ(r.outputFile, QStringLiteral("/tmp/x.pdf"));
    EXPECT_EQ(r.paperSize, PaperCode::kA5);
    EXPECT_TRUE(r.mask & PrnRecord::MPaperSize);
    EXPECT_FALSE(r.mask & PrnRecord::MPaperLength);

    PrnRecord custom = r;
    custom.paperSize = PaperCode::kUser;
    custom.paperWidth = 1800;
    custom.paperLength = 1800;
    QPrinter other;
    custom.choosePrinter(other);
    custom.apply(other);
    EXPECT_EQ(other.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(other.outputFileName(), QStringLiteral("/tmp/x.pdf"));
    EXPECT_NEAR(other.pageLayout().pageSize().size(QPageSize::Millimeter).width(), 180, 0.1);
    // An unknown printer keeps the current one.
    PrnRecord unknown = r;
    unknown.device = QStringLiteral("no such printer");
    QPrinter third;
    third.setOutputFormat(QPrinter::PdfFormat);
    third.setOutputFileName(QStringLiteral("/tmp/y.pdf"));
    unknown.choosePrinter(third);
    EXPECT_EQ(third.outputFileName(), QStringLiteral("/tmp/y.pdf"));
}
