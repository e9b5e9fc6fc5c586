// Pictures: metafiles measured from their headers and drawn where their
// shapes are; images a document cannot hold turned into PNG.
#include "Corpus.h"
#include "Metafiles.h"
#include "Pictures.h"
#include "RtfPicts.h"

#include <QFile>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

namespace {

QByteArray encoded(const QImage& img, const char* fmt) {
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, fmt);
    return b;
}

bool reddish(QRgb p) {
    return qAlpha(p) > 128 && qRed(p) > 160 && qGreen(p) < 100 && qBlue(p) < 100;
}
bool blank(QRgb p) {
    return qAlpha(p) < 32 || (qRed(p) > 230 && qGreen(p) > 230 && qBlue(p) > 230);
}

// The test pictures hold a red rectangle over the left 10..90 of 200 units
// across and 10..90 of 100 down.
void expectRectangleDrawn(const QImage& img) {
    ASSERT_FALSE(img.isNull());
    const int w = img.width(), h = img.height();
    EXPECT_TRUE(reddish(img.pixel(w * 25 / 100, h * 50 / 100))) << "inside the rectangle";
    EXPECT_TRUE(reddish(img.pixel(w * 40 / 100, h * 80 / 100))) << "inside, lower right";
    EXPECT_TRUE(blank(img.pixel(w * 75 / 100, h * 50 / 100))) << "right half is empty";
    EXPECT_TRUE(blank(img.pixel(w * 25 / 100, h * 3 / 100))) << "above the rectangle";
}

} // namespace

TEST(Pictures, TypesComeFromTheBytes) {
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::blue);
    EXPECT_EQ(pictures::TypeOf(encoded(img, "PNG")), pictures::Png);
    EXPECT_EQ(pictures::TypeOf(encoded(img, "JPEG")), pictures::Jpeg);
    EXPECT_EQ(pictures::TypeOf(encoded(img, "BMP")), pictures::Bmp);
    EXPECT_EQ(pictures::TypeOf(testmeta::Wmf()), pictures::Wmf);
    EXPECT_EQ(pictures::TypeOf(testmeta::Wmf(false)), pictures::Wmf);
    EXPECT_EQ(pictures::TypeOf(testmeta::Emf()), pictures::Emf);
    EXPECT_EQ(pictures::TypeOf(QByteArray("hello world, not a picture")), pictures::Unknown);
    // An EMF header claiming more header bytes than the file has is no EMF.
    QByteArray shortEmf = testmeta::Emf().left(90);
    shortEmf[4] = char(200);
    EXPECT_EQ(pictures::TypeOf(shortEmf), pictures::Unknown);
}

TEST(Pictures, MetafileSizesInTwips) {
    // 200 x 100 units at 100 per inch: 2 x 1 inch.
    EXPECT_EQ(pictures::MetafileSize(testmeta::Wmf()), QSize(2880, 1440));
    // The EMF frame is 5080 x 2540 hundredths of a millimetre (inclusive).
    const QSize emf = pictures::MetafileSize(testmeta::Emf());
    EXPECT_NEAR(emf.width(), 2880, 2);
    EXPECT_NEAR(emf.height(), 1440, 2);
    EXPECT_TRUE(pictures::MetafileSize(QByteArray(100, 'x')).isEmpty());
}

TEST(Pictures, WmfIsDrawnWhereItsShapesAre) {
    const QImage img = pictures::Render(testmeta::Wmf(), QSize(400, 200));
    EXPECT_EQ(img.size(), QSize(400, 200));
    expectRectangleDrawn(img);
    // Without a size the picture is drawn at twice its 96-dpi size.
    EXPECT_EQ(pictures::Render(testmeta::Wmf()).size(), QSize(384, 192));
}

TEST(Pictures, WmfTextAndPolylinesAreDrawnAsWritten) {
    // Text with XML's special characters, and lines that are no area.
    const QImage img = pictures::Render(testmeta::WmfWithTextAndLines(), QSize(400, 200));
    ASSERT_FALSE(img.isNull());
    EXPECT_TRUE(blank(img.pixel(200, 60))) << "inside the V";
    EXPECT_TRUE(reddish(img.pixel(200, 178))) << "the V's point";
    int ink = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x)
            ink += !blank(img.pixel(x, y));
    EXPECT_GT(ink, 0) << "the text";

    // A polyline that is the last shape drawn is no area either.
    const QImage lines = pictures::Render(testmeta::WmfWithTextAndLines(false), QSize(400, 200));
    ASSERT_FALSE(lines.isNull());
    EXPECT_TRUE(blank(lines.pixel(200, 60))) << "inside the V, no text after it";
    EXPECT_TRUE(reddish(lines.pixel(200, 178))) << "the V's point";
}

TEST(Pictures, EmfIsDrawnWhereItsShapesAre) {
    const QImage img = pictures::Render(testmeta::Emf(), QSize(400, 200));
    expectRectangleDrawn(img);
}

TEST(Pictures, DamagedMetafilesDrawNothingAndDoNotCrash) {
    QByteArray wmf = testmeta::Wmf();
    wmf.chop(30); // records cut off
    QByteArray emf = testmeta::Emf();
    emf.chop(40);
    for (const QByteArray& b : {wmf, emf, QByteArray(), QByteArray("\xD7\xCD\xC6\x9A", 4)}) {
        const QImage img = pictures::Render(b, QSize(50, 50));
        if (!img.isNull()) {
            EXPECT_EQ(img.size(), QSize(50, 50));
        }
    }
    // A record claiming a size beyond the end of the file.
    QByteArray huge = testmeta::Emf();
    huge[88 + 4] = char(0xFF);
    huge[88 + 5] = char(0xFF);
    const QImage img = pictures::Render(huge, QSize(20, 20));
    EXPECT_TRUE(img.isNull() || img.size() == QSize(20, 20));
}

TEST(Pictures, ImagesADocumentCannotHoldBecomePng) {
    QImage img(6, 3, QImage::Format_RGB32);
    img.fill(qRgb(10, 200, 30));
    const QByteArray gif = encoded(img, "GIF");
    const QByteArray bmp = encoded(img, "BMP");
    for (const QByteArray& b : {gif, bmp}) {
        if (b.isEmpty())
            continue; // this Qt has no writer for it
        const std::optional<pictures::Stored> s = pictures::ForDocument(b);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->type, pictures::Png);
        const QImage back = QImage::fromData(s->bytes, "PNG");
        EXPECT_EQ(back.size(), QSize(6, 3));
        EXPECT_EQ(back.pixel(2, 1), qRgb(10, 200, 30));
    }
    // PNG, JPEG and metafiles stay as they are.
    const QByteArray png = encoded(img, "PNG");
    EXPECT_EQ(pictures::ForDocument(png)->bytes, png);
    EXPECT_EQ(pictures::ForDocument(testmeta::Wmf())->type, pictures::Wmf);
    EXPECT_FALSE(pictures::ForDocument(QByteArray("no image")));
}

// Metafiles of real RTF files (written by Word): every one is drawn, with
// something to see in it.
TEST(PicturesCorpus, MetafilesOfRealDocumentsAreDrawn) {
    FOLIUM_REQUIRE_CORPUS();
    int wmf = 0, emf = 0, drawn = 0;
    for (const QString& file : Corpus::files(QStringLiteral("rtf"), {QStringLiteral("*.rtf")})) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        for (const rtfpicts::Pict& p : rtfpicts::Extract(f.readAll())) {
            if (!p.wmf && !p.emf)
                continue;
            (p.emf ? emf : wmf) += 1;
            const QImage img = pictures::Render(p.bytes);
            EXPECT_FALSE(img.isNull()) << file.toStdString();
            if (img.isNull())
                continue;
            int ink = 0;
            for (int y = 0; y < img.height(); y += 3)
                for (int x = 0; x < img.width(); x += 3)
                    ink += !blank(img.pixel(x, y));
            EXPECT_GT(ink, 10) << file.toStdString() << ": nothing drawn";
            drawn += ink > 10;
        }
    }
    // The corpus as it stands; a change in these counts is a regression (or
    // a new file to count).
    EXPECT_EQ(wmf, 49) << "WMF pictures found";
    EXPECT_EQ(emf, 2) << "EMF pictures found";
    EXPECT_EQ(drawn, wmf + emf);
}
