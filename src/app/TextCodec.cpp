#include "TextCodec.h"

#include <QHash>
#include <QStringDecoder>
#include <cerrno>
#include <iconv.h>

namespace {

// Runs iconv over the whole input. On an invalid input sequence, `onInvalid`
// decides: it returns the bytes to emit and how many input bytes to skip.
template <typename OnInvalid>
QByteArray convert(const char* to, const char* from, const QByteArray& in, OnInvalid onInvalid,
                   bool* ok) {
    if (ok)
        *ok = true;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (ok)
            *ok = false;
        return {};
    }
    QByteArray out;
    out.reserve(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = static_cast<size_t>(in.size());
    char buf[4096];
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<qsizetype>(dst - buf));
        if (r != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL (truncated sequence at the end): replace and skip.
        if (ok)
            *ok = false;
        const auto [replacementBytes, skip] = onInvalid(src, srcLeft);
        out.append(replacementBytes);
        const size_t n = std::min(skip, srcLeft);
        src += n;
        srcLeft -= n;
    }
    iconv_close(cd);
    return out;
}

int utf8SequenceLength(unsigned char c) {
    if (c < 0x80)
        return 1;
    if ((c >> 5) == 0x6)
        return 2;
    if ((c >> 4) == 0xE)
        return 3;
    if ((c >> 3) == 0x1E)
        return 4;
    return 1;
}

const char* iconvName(int codePage) {
    switch (codePage) {
    case 932:
        return "CP932";
    case 936:
        return "CP936";
    case 949:
        return "CP949";
    case 950:
        return "CP950";
    case 874:
        return "CP874";
    case 1250:
        return "CP1250";
    case 1251:
        return "CP1251";
    case 1253:
        return "CP1253";
    case 1254:
        return "CP1254";
    case 1255:
        return "CP1255";
    case 1256:
        return "CP1256";
    case 1257:
        return "CP1257";
    case 1258:
        return "CP1258";
    case 10000:
        return "MACINTOSH";
    case 28591:
        return "ISO-8859-1";
    default:
        return "CP1252";
    }
}

QString decodeSingleOrMultiByte(const QByteArray& bytes, const char* name) {
    const QByteArray replacement = QByteArrayLiteral("\xEF\xBF\xBD");
    const QByteArray utf8 = convert(
        "UTF-8", name, bytes,
        [&](const char*, size_t) { return std::pair<QByteArray, size_t>(replacement, 1); },
        nullptr);
    return QString::fromUtf8(utf8);
}

QByteArray encodeCp932(const QString& text, bool* ok) {
    return convert(
        "CP932", "UTF-8", text.toUtf8(),
        [](const char* at, size_t) {
            return std::pair<QByteArray, size_t>(
                QByteArrayLiteral("?"), utf8SequenceLength(static_cast<unsigned char>(*at)));
        },
        ok);
}

} // namespace

namespace TextCodec {

QString fromCp932(const QByteArray& bytes) {
    return decodeSingleOrMultiByte(bytes, "CP932");
}

QByteArray toCp932(const QString& text, bool* lossless) {
    bool exact = true;
    QByteArray out = encodeCp932(text, &exact);
    // iconv also maps some characters to look-alikes (WAVE DASH to the
    // full-width tilde, YEN SIGN to the backslash, MINUS SIGN to the
    // full-width hyphen-minus): they would read back as other characters, so
    // they count as having no CP932 form and are written as "?" like the others.
    if (fromCp932(out) != text) {
        exact = false;
        out.clear();
        QHash<QString, QByteArray> known;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype n =
                text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()
                    ? 2
                    : 1;
            const QString ch = text.mid(i, n);
            i += n - 1;
            auto it = known.constFind(ch);
            if (it == known.constEnd()) {
                bool ok = true;
                const QByteArray b = encodeCp932(ch, &ok);
                it = known.insert(ch, ok && fromCp932(b) == ch ? b : QByteArrayLiteral("?"));
            }
            out += *it;
        }
    }
    if (lossless)
        *lossless = exact;
    return out;
}

bool fitsCp932(const QString& text) {
    bool ok = true;
    toCp932(text, &ok);
    return ok;
}

bool isValidUtf8(const QByteArray& bytes) {
    QStringDecoder dec(QStringDecoder::Utf8);
    (void)QString(dec.decode(bytes));
    return !dec.hasError();
}

QString fromUtf8OrCp932(const QByteArray& bytes) {
    if (isValidUtf8(bytes)) {
        QByteArrayView v(bytes);
        if (v.startsWith("\xEF\xBB\xBF"))
            v = v.sliced(3);
        return QString::fromUtf8(v);
    }
    return fromCp932(bytes);
}

QString fromCodePage(const QByteArray& bytes, int codePage) {
    return decodeSingleOrMultiByte(bytes, iconvName(codePage));
}

} // namespace TextCodec
