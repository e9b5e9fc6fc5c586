#include "PrintFixture.h"

#include "PrnRecord.h"

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QVBoxLayout>

void PrintTest::SetUp() {
    dir = TestEnv::freshDir(QStringLiteral("print"));
    Usr::sUsrFd = dir + QStringLiteral("/usr/");
    Usr::sWrkFd = Usr::sUsrFd + QStringLiteral("Wrk/");
    QDir().mkpath(Usr::sWrkFd);
    prompter = std::make_unique<ScriptedPrompter>();
    mainWindow = std::make_unique<QWidget>();
    mainWindow->setGeometry(100, 60, 1500, 900);
    auto* box = new QVBoxLayout(mainWindow.get());
    tx = new TxEngine;
    box->addWidget(tx);
    mainWindow->show();
}

void PrintTest::TearDown() {
    mainWindow.reset();
    prompter.reset();
}

void PrintTest::makePages(int pages) {
    QString text;
    for (int i = 1; i <= pages; ++i) {
        if (i > 1)
            text += QChar(12);
        // Page i holds i lines below its title, so the pages look unlike.
        text += QStringLiteral("PAGE %1").arg(i);
        for (int line = 1; line <= i; ++line)
            text +=
                QChar(10) + QStringLiteral("Line %1 of page %2 of the document.").arg(line).arg(i);
    }
    tx->SetText(text);
    tx->SetSelStart(0);
    tx->SetSelLength(-1);
    tx->SetFontSize(28);
    tx->SetSelStart(0);
}

void PrintTest::makeFlow(int paragraphs) {
    QStringList text;
    for (int i = 0; i < paragraphs; ++i)
        text << QStringLiteral("Paragraph %1: ").arg(i) +
                    QString::fromUtf8(
                        "日本語の文章がここに続きます。文書データベースのページを編集します。") +
                    QStringLiteral(
                        "Some English words between the Japanese text, and more of them.");
    tx->SetText(text.join(QChar(10)));
    tx->SetSelStart(0);
}

int PrintTest::pdfPages(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {file});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return -1;
    const QRegularExpression re(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto m = re.match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QImage PrintTest::pdfPage(const QString& file, int page, int dpi) {
    const QString base = file + QStringLiteral(".p%1").arg(page);
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
             QString::number(page), QStringLiteral("-r"), QString::number(dpi),
             QStringLiteral("-png"), QStringLiteral("-singlefile"), file, base});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

QImage PrintTest::enginePage(int page, int dpi) const {
    // Painted four times finer and scaled down: glyphs stand where the
    // layout puts them, not on the whole pixels of a coarse raster.
    const int fine = dpi * 4;
    QImage img(qRound(tx->PageWidth() / 1440.0 * fine), qRound(tx->PageHeight() / 1440.0 * fine),
               QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        tx->PaintPage(p, page, fine / 96.0);
    }
    return img.scaled(qRound(tx->PageWidth() / 1440.0 * dpi),
                      qRound(tx->PageHeight() / 1440.0 * dpi), Qt::IgnoreAspectRatio,
                      Qt::SmoothTransformation);
}

double PrintTest::differing(const QImage& a, const QImage& b, int tolerance) {
    // Renderers may round the sheet's size a pixel either way.
    const QSize size = a.size().boundedTo(b.size());
    const auto near = [&](const QImage& i) {
        return !i.isNull() && i.width() - size.width() <= 1 && i.height() - size.height() <= 1;
    };
    if (!near(a) || !near(b))
        return 1.0;
    // Cells of 4 x 4 pixels are compared by their mean grey: glyph edges
    // that two renderers antialias differently do not count, a missing or
    // moved line of text does.
    constexpr int kCell = 4;
    const int cw = size.width() / kCell, ch = size.height() / kCell;
    const auto mean = [](const QImage& i, int cx, int cy) {
        int sum = 0;
        for (int y = cy * kCell; y < (cy + 1) * kCell; ++y)
            for (int x = cx * kCell; x < (cx + 1) * kCell; ++x)
                sum += qGray(i.pixel(x, y));
        return sum / (kCell * kCell);
    };
    qint64 bad = 0;
    for (int cy = 0; cy < ch; ++cy)
        for (int cx = 0; cx < cw; ++cx)
            if (std::abs(mean(a, cx, cy) - mean(b, cx, cy)) > tolerance)
                ++bad;
    return double(bad) / (qint64(cw) * ch);
}

double PrintTest::ink(const QImage& img) {
    if (img.isNull())
        return 0;
    qint64 n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 200)
                ++n;
    return double(n) / (qint64(img.width()) * img.height());
}

void PrintTest::storePdfSettings(const QString& file, const QString& pdf) const {
    PrnRecord rec;
    rec.outputFile = pdf;
    rec.mask = PrnRecord::MPaperSize | PrnRecord::MOrientation;
    rec.paperSize = 9;
    ASSERT_TRUE(rec.save(file));
}
