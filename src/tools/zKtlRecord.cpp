#include "zKtlRecord.h"

#include "TextCodec.h"

#include <QtEndian>

namespace {

bool putText(QByteArray& out, const QString& text, int width) {
    bool lossless = true;
    QByteArray bytes = TextCodec::toCp932(text, &lossless);
    if (!lossless || bytes.size() > width)
        return false;
    bytes.append(QByteArray(width - bytes.size(), ' '));
    out.append(bytes);
    return true;
}

template <typename T> void putInt(QByteArray& out, T value) {
    char buf[sizeof(T)];
    qToLittleEndian(value, buf);
    out.append(buf, sizeof(T));
}

QString takeText(const char* p, int width) {
    QByteArray bytes(p, width);
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
        bytes.truncate(nul);
    return TextCodec::fromCp932(bytes).trimmed();
}

} // namespace

namespace zKtlRec {

std::optional<QByteArray> Encode(const Record& r) {
    QByteArray out;
    out.reserve(SizeOf(r.kind));
    if (!putText(out, r.sSrc, kPathWidth) || !putText(out, r.sPattern, kPatternWidth) ||
        !putText(out, r.sResult, kPathWidth))
        return std::nullopt;
    if (r.kind == Kind::Image) {
        putInt(out, r.nWidth);
        putInt(out, r.nHeight);
        putInt(out, r.iFlag1);
        putInt(out, r.iFlag2);
    } else {
        putInt(out, r.iFlag1);
    }
    return out;
}

std::optional<Record> Decode(const QByteArray& bytes, Kind k) {
    if (bytes.size() < SizeOf(k))
        return std::nullopt;
    const char* p = bytes.constData();
    Record r;
    r.kind = k;
    r.sSrc = takeText(p, kPathWidth);
    p += kPathWidth;
    r.sPattern = takeText(p, kPatternWidth);
    p += kPatternWidth;
    r.sResult = takeText(p, kPathWidth);
    p += kPathWidth;
    if (k == Kind::Image) {
        r.nWidth = qFromLittleEndian<qint32>(p);
        r.nHeight = qFromLittleEndian<qint32>(p + 4);
        r.iFlag1 = qFromLittleEndian<qint16>(p + 8);
        r.iFlag2 = qFromLittleEndian<qint16>(p + 10);
    } else {
        r.iFlag1 = qFromLittleEndian<qint16>(p);
    }
    return r;
}

} // namespace zKtlRec
