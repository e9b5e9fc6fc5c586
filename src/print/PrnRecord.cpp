#include "PrnRecord.h"

#include "PaperCode.h"

#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QtEndian>

namespace {

constexpr int kDeviceLen = 128;
constexpr int kMaskAt = 128;
constexpr int kMagicAt = 132;
constexpr int kFieldsAt = 140;
constexpr int kFields = 10;
constexpr int kFileAt = 160;
constexpr int kFileLen = 300;
constexpr int kCheckAt = 508;
constexpr char kMagic[4] = {'F', 'P', 'R', 'N'};

void putText(QByteArray& b, int at, int len, const QString& s) {
    QByteArray u = s.toUtf8();
    // Never cut a character in two: drop whole UTF-8 sequences from the end.
    while (u.size() > len - 1) {
        u.chop(1);
        while (!u.isEmpty() && (quint8(u.back()) & 0xC0) == 0x80)
            u.chop(1);
        if (!u.isEmpty() && quint8(u.back()) >= 0xC0)
            u.chop(1);
    }
    std::copy(u.begin(), u.end(), b.begin() + at);
}

// The NUL-terminated text of a field; false when it is not valid UTF-8.
bool getText(const QByteArray& b, int at, int len, QString* out) {
    const QByteArray raw = b.mid(at, len);
    const qsizetype end = raw.indexOf('\0');
    const QByteArray u = raw.left(end < 0 ? len : end);
    *out = QString::fromUtf8(u);
    return out->toUtf8() == u;
}

quint16 check(const QByteArray& b) {
    return qChecksum(QByteArrayView(b.constData(), kCheckAt), Qt::ChecksumIso3309);
}

bool inRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

} // namespace

QByteArray PrnRecord::toBytes() const {
    QByteArray b(kSize, '\0');
    putText(b, 0, kDeviceLen, device);
    qToLittleEndian<quint32>(mask, b.data() + kMaskAt);
    std::copy(std::begin(kMagic), std::end(kMagic), b.begin() + kMagicAt);
    qToLittleEndian<quint16>(kVersion, b.data() + kMagicAt + 4);
    qToLittleEndian<quint16>(kSize, b.data() + kMagicAt + 6);
    const int fields[kFields] = {orientation, paperSize, paperLength, paperWidth, scale,
                                 copies,      source,    quality,     color,      duplex};
    for (int i = 0; i < kFields; ++i)
        qToLittleEndian<qint16>(qint16(fields[i]), b.data() + kFieldsAt + 2 * i);
    putText(b, kFileAt, kFileLen, outputFile);
    qToLittleEndian<quint32>(check(b), b.data() + kCheckAt);
    return b;
}

bool PrnRecord::fromBytes(const QByteArray& b, PrnRecord* out) {
    if (b.size() != kSize ||
        !std::equal(std::begin(kMagic), std::end(kMagic), b.begin() + kMagicAt))
        return false;
    if (qFromLittleEndian<quint16>(b.constData() + kMagicAt + 4) != kVersion ||
        qFromLittleEndian<quint16>(b.constData() + kMagicAt + 6) != kSize ||
        qFromLittleEndian<quint32>(b.constData() + kCheckAt) != check(b))
        return false;
    PrnRecord r;
    if (!getText(b, 0, kDeviceLen, &r.device) || !getText(b, kFileAt, kFileLen, &r.outputFile))
        return false;
    r.mask = qFromLittleEndian<quint32>(b.constData() + kMaskAt);
    int f[kFields];
    for (int i = 0; i < kFields; ++i)
        f[i] = qFromLittleEndian<qint16>(b.constData() + kFieldsAt + 2 * i);
    r.orientation = f[0];
    r.paperSize = f[1];
    r.paperLength = f[2];
    r.paperWidth = f[3];
    r.scale = f[4];
    r.copies = f[5];
    r.source = f[6];
    r.quality = f[7];
    r.color = f[8];
    r.duplex = f[9];
    // Values no printer takes mean the record was not written by us.
    if (!inRange(r.orientation, 1, 2) || !inRange(r.paperSize, 0, 256) ||
        !inRange(r.paperLength, 0, 30000) || !inRange(r.paperWidth, 0, 30000) ||
        !inRange(r.scale, 0, 1000) || !inRange(r.copies, 0, 999) || !inRange(r.source, 0, 32) ||
        !inRange(r.quality, 0, 9600) || !inRange(r.color, 0, 2) || !inRange(r.duplex, 0, 3))
        return false;
    *out = r;
    return true;
}

bool PrnRecord::load(const QString& path, PrnRecord* out) {
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly))
        return false;
    // One byte more than a record tells a longer file from a record.
    return fromBytes(f.read(kSize + 1), out);
}

bool PrnRecord::save(const QString& path) const {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(toBytes());
    return f.commit();
}

PrnRecord PrnRecord::capture(const QPrinter& printer) {
    PrnRecord r;
    if (printer.outputFormat() == QPrinter::PdfFormat || printer.printerName().isEmpty())
        r.outputFile = printer.outputFileName();
    if (printer.outputFormat() == QPrinter::NativeFormat)
        r.device = printer.printerName();
    const QPageLayout layout = printer.pageLayout();
    const PaperCode::Paper paper = PaperCode::FromPageSize(layout.pageSize());
    r.paperSize = paper.code;
    r.mask |= MPaperSize;
    if (paper.code == PaperCode::kUser) {
        r.mask |= MPaperLength | MPaperWidth;
        r.paperLength = paper.length;
        r.paperWidth = paper.width;
    }
    r.orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
    r.mask |= MOrientation;
    r.copies = std::clamp(printer.copyCount(), 1, 999);
    r.mask |= MCopies;
    r.source = int(printer.paperSource()) + 1;
    r.mask |= MSource;
    if (printer.resolution() > 0 && printer.resolution() <= 9600) {
        r.quality = printer.resolution();
        r.mask |= MQuality;
    }
    r.color = printer.colorMode() == QPrinter::Color ? 2 : 1;
    r.mask |= MColor;
    switch (printer.duplex()) {
    case QPrinter::DuplexNone:
        r.duplex = 1;
        break;
    case QPrinter::DuplexLongSide:
        r.duplex = 2;
        break;
    case QPrinter::DuplexShortSide:
        r.duplex = 3;
        break;
    case QPrinter::DuplexAuto:
        r.duplex = 0;
        break;
    }
    if (r.duplex)
        r.mask |= MDuplex;
    // Qt prints at the printer's own scale: no scale to record.
    return r;
}

void PrnRecord::choosePrinter(QPrinter& printer) const {
    const QString want = device.trimmed();
    if (want.isEmpty()) {
        if (!outputFile.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(outputFile);
        }
        return;
    }
    if (printer.outputFormat() == QPrinter::NativeFormat &&
        printer.printerName().toUpper() == want.toUpper())
        return;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        if (name.toUpper() == want.toUpper()) {
            printer.setOutputFileName(QString());
            printer.setOutputFormat(QPrinter::NativeFormat);
            printer.setPrinterName(name);
            return;
        }
}

void PrnRecord::apply(QPrinter& printer) const {
    if (mask & MPaperSize)
        printer.setPageSize(PaperCode::PageSize({paperSize, paperWidth, paperLength}));
    if ((mask & MSource) && source > 0)
        printer.setPaperSource(QPrinter::PaperSource(source - 1));
    if ((mask & MQuality) && quality > 0)
        printer.setResolution(quality);
    if ((mask & MColor) && color > 0)
        printer.setColorMode(color == 2 ? QPrinter::Color : QPrinter::GrayScale);
    if ((mask & MDuplex) && duplex > 0)
        printer.setDuplex(duplex == 2   ? QPrinter::DuplexLongSide
                          : duplex == 3 ? QPrinter::DuplexShortSide
                                        : QPrinter::DuplexNone);
}
