#include "DocFile.h"

#include "Bytes.h"
#include "CompoundFile.h"
#include "TextCodec.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace msdoc::rd {

namespace {

constexpr int kFcLcbClx = 33;
constexpr int kFcLcbStshf = 1;
constexpr int kFcLcbBteChpx = 12;
constexpr int kFcLcbBtePapx = 13;
constexpr int kFcLcbSttbfFfn = 15;

bool fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

// Characters of the 8-bit pieces: Windows-1252, except that documents of a
// Japanese installation read the single-byte katakana range as CP932 does.
const QChar* compressedTable(bool japanese) {
    static QChar latin[256], jp[256];
    static bool init = false;
    if (!init) {
        for (int b = 0; b < 256; ++b) {
            const QString s = TextCodec::fromCodePage(QByteArray(1, char(b)), 1252);
            latin[b] = s.size() == 1 && s[0] != QChar(0xFFFD) ? s[0] : QChar(b);
            jp[b] = (b >= 0xA1 && b <= 0xDF) ? QChar(0xFF61 + b - 0xA1) : latin[b];
        }
        init = true;
    }
    return japanese ? jp : latin;
}

} // namespace

std::optional<DocFile> DocFile::open(const QByteArray& bytes, QString* error) {
    QString cfbError;
    const auto cf = cfb::Reader::open(bytes, &cfbError);
    if (!cf) {
        fail(error, QStringLiteral("not a Word 97-2003 document (%1)").arg(cfbError));
        return std::nullopt;
    }
    DocFile d;
    d.budget = Budget(Budget::forFile(bytes.size()));
    const auto wd = cf->stream(QStringLiteral("WordDocument"), &cfbError);
    if (!wd) {
        fail(error, QStringLiteral("not a Word document: no WordDocument stream"));
        return std::nullopt;
    }
    d.wordDocument = *wd;
    const ByteReader w(d.wordDocument);
    // Word 6 and 95 (versions 0x65 to 0x6A, some with other magic numbers)
    // and Word 2.
    const int magic = w.u16(0), version = w.u16(2);
    const bool oldMagic = magic == 0xA5DC || magic == 0xA5DB;
    const bool oldVersion = ((magic & 0xFF00) == 0xA500 || (magic & 0xFF00) == 0xA600) &&
                            version >= 0x65 && version <= 0x6A;
    if (w.size() >= 4 && (oldMagic || oldVersion)) {
        fail(error, QStringLiteral("Word 6/95 and older documents (version 0x%1) are not supported")
                        .arg(w.u16(2), 0, 16));
        return std::nullopt;
    }
    if (w.size() < 154 || w.u16(0) != 0xA5EC) {
        fail(error, QStringLiteral("not a Word 97-2003 document: bad file header"));
        return std::nullopt;
    }
    const int nFib = w.u16(2);
    if (nFib < 0x00C1 && nFib != 0x00C0) {
        fail(error, QStringLiteral("Word 6/95 documents (version 0x%1) are not supported")
                        .arg(nFib, 0, 16));
        return std::nullopt;
    }
    const int flags = w.u16(10);
    if (flags & 0x0100) {
        fail(error, QStringLiteral("the document is encrypted (password protected)"));
        return std::nullopt;
    }
    if (flags & 0x8000) {
        fail(error, QStringLiteral("the document is obfuscated"));
        return std::nullopt;
    }
    d.lid = w.u16(6);
    const QString tableName =
        (flags & 0x0200) ? QStringLiteral("1Table") : QStringLiteral("0Table");
    const auto tb = cf->stream(tableName, &cfbError);
    if (!tb) {
        fail(error, QStringLiteral("damaged document: no %1 stream").arg(tableName));
        return std::nullopt;
    }
    d.table = *tb;
    if (const auto data = cf->stream(QStringLiteral("Data")))
        d.data = *data;
    if (const auto kinds = cf->stream(QStringLiteral("FoliumFields")))
        d.fieldKinds = *kinds;

    // FIB: the counts of characters per story and the fc/lcb pairs.
    int pos = 32;
    const int csw = w.u16(pos);
    pos += 2 + csw * 2;
    const int cslw = w.u16(pos);
    const int lwPos = pos + 2;
    pos = lwPos + cslw * 4;
    if (cslw < 11 || !w.has(pos, 2)) {
        fail(error, QStringLiteral("damaged document: file information block too short"));
        return std::nullopt;
    }
    auto ccp = [&](int i) { return std::max(0, w.i32(lwPos + i * 4)); };
    d.ccpText = ccp(3);
    d.ccpFtn = ccp(4);
    d.ccpHdd = ccp(5);
    d.ccpAtn = ccp(7);
    d.ccpEdn = ccp(8);
    d.ccpTxbx = ccp(9);
    d.ccpHdrTxbx = ccp(10);
    const int cbRgFcLcb = w.u16(pos);
    pos += 2;
    for (int i = 0; i < cbRgFcLcb && w.has(pos + i * 8, 8); ++i)
        d.fcLcbs.emplace_back(w.u32(pos + i * 8), w.u32(pos + i * 8 + 4));

    if (!d.readPieces(error))
        return std::nullopt;
    d.props.data = d.data;
    d.readFonts();
    d.readStyles();
    d.readFkps(kFcLcbBteChpx, false, d.chpxRuns);
    d.readFkps(kFcLcbBtePapx, true, d.papxRuns);
    return d;
}

std::pair<quint32, quint32> DocFile::fcLcb(int index) const {
    return index < int(fcLcbs.size()) ? fcLcbs[size_t(index)] : std::pair<quint32, quint32>{0, 0};
}

QByteArray DocFile::tableSlice(int index) const {
    const auto [fc, lcb] = fcLcb(index);
    if (lcb == 0 || qint64(fc) + lcb > table.size())
        return {};
    return table.mid(fc, lcb);
}

bool DocFile::readPieces(QString* error) {
    const QByteArray clx = tableSlice(kFcLcbClx);
    if (clx.isEmpty())
        return fail(error, QStringLiteral("damaged document: no piece table"));
    const ByteReader r(clx);
    std::vector<QByteArray> prcs;
    qint64 pos = 0;
    while (r.has(pos, 1) && r.u8(pos) == 0x01) {
        const int cb = r.i16(pos + 1);
        if (cb < 0 || !r.has(pos + 3, cb))
            return fail(error, QStringLiteral("damaged document: bad piece properties"));
        prcs.push_back(r.mid(pos + 3, cb));
        pos += 3 + cb;
    }
    if (!r.has(pos, 5) || r.u8(pos) != 0x02)
        return fail(error, QStringLiteral("damaged document: bad piece table"));
    const quint32 lcb = r.u32(pos + 1);
    pos += 5;
    if (lcb < 16 || !r.has(pos, lcb) || (lcb - 4) % 12)
        return fail(error, QStringLiteral("damaged document: bad piece table size"));
    const int n = int((lcb - 4) / 12);
    const qint64 pcdPos = pos + qint64(n + 1) * 4;
    const bool japanese = lid == 0x0411;
    const QChar* table8 = compressedTable(japanese);
    int lastCp = 0;
    for (int i = 0; i < n; ++i) {
        Piece p;
        p.cpStart = r.i32(pos + i * 4);
        p.cpEnd = r.i32(pos + (i + 1) * 4);
        if (p.cpStart != lastCp || p.cpEnd < p.cpStart || p.cpEnd - p.cpStart > (1 << 28))
            return fail(error, QStringLiteral("damaged document: piece table out of order"));
        lastCp = p.cpEnd;
        const quint32 fcValue = r.u32(pcdPos + i * 8 + 2);
        p.compressed = (fcValue & 0x40000000) != 0;
        p.fc = p.compressed ? (fcValue & 0x3FFFFFFF) / 2 : (fcValue & 0x3FFFFFFF);
        const int prm = r.u16(pcdPos + i * 8 + 6);
        if ((prm & 1) && size_t(prm >> 1) < prcs.size())
            p.prmGrpprl = prcs[size_t(prm >> 1)];
        const qint64 len = qint64(p.cpEnd - p.cpStart) * (p.compressed ? 1 : 2);
        if (qint64(p.fc) + len > wordDocument.size())
            return fail(error, QStringLiteral("damaged document: text past the end of the file"));
        // Every character takes at least one byte of the stream, so pieces
        // that reuse the same bytes cannot add up to more text than that.
        if (allText.size() + (p.cpEnd - p.cpStart) > wordDocument.size())
            return fail(
                error, QStringLiteral("damaged document: the pieces hold more text than the file"));
        const char* src = wordDocument.constData() + p.fc;
        const qsizetype at = allText.size();
        allText.resize(at + (p.cpEnd - p.cpStart));
        QChar* dst = allText.data() + at;
        if (p.compressed) {
            for (int k = 0; k < p.cpEnd - p.cpStart; ++k)
                dst[k] = table8[quint8(src[k])];
        } else {
            for (int k = 0; k < p.cpEnd - p.cpStart; ++k)
                dst[k] = QChar(quint16(quint8(src[2 * k]) | (quint8(src[2 * k + 1]) << 8)));
        }
        pieces.push_back(p);
    }
    if (r.failed())
        return fail(error, QStringLiteral("damaged document: piece table cut short"));
    // The stories must lie within the text.
    const qint64 stories =
        qint64(ccpText) + ccpFtn + ccpHdd + ccpAtn + ccpEdn + ccpTxbx + ccpHdrTxbx;
    if (ccpText > allText.size() || stories > allText.size() + 1) {
        ccpText = std::min<int>(ccpText, int(allText.size()));
        ccpFtn = ccpHdd = ccpAtn = ccpEdn = ccpTxbx = ccpHdrTxbx = 0;
    }
    return true;
}

void DocFile::readFkps(int binIndex, bool paragraphs, std::vector<PropRun>& out) {
    const QByteArray bin = tableSlice(binIndex);
    const ByteReader b(bin);
    if (bin.size() < 8 || (bin.size() - 4) % 8)
        return;
    const int n = int((bin.size() - 4) / 8);
    const ByteReader w(wordDocument);
    QSet<quint32> pagesRead;
    for (int i = 0; i < n && !budget.exhausted(); ++i) {
        const quint32 pn = b.u32((n + 1) * 4 + i * 4) & 0x3FFFFF;
        const qint64 base = qint64(pn) * 512;
        // A page listed twice would only repeat its runs.
        if (!w.has(base, 512) || pagesRead.contains(pn))
            continue;
        pagesRead.insert(pn);
        // Runs of one page that point at the same properties share them.
        QHash<int, PropRun> shared;
        const int count = w.u8(base + 511);
        if (count == 0 || count > (paragraphs ? 0x1D : 0x65) + 10)
            continue;
        const int entry = paragraphs ? 13 : 1;
        if (4 * (count + 1) + entry * count > 511)
            continue;
        for (int k = 0; k < count; ++k) {
            PropRun run;
            run.fcStart = w.u32(base + k * 4);
            run.fcEnd = w.u32(base + (k + 1) * 4);
            if (run.fcEnd < run.fcStart)
                continue;
            const int off = w.u8(base + 4 * (count + 1) + entry * k) * 2;
            auto known = shared.constFind(off);
            if (known == shared.cend()) {
                PropRun props;
                if (off > 0 && off < 511) {
                    if (paragraphs) {
                        int cb = w.u8(base + off);
                        int start = off + 1, len = 0;
                        if (cb == 0) {
                            cb = w.u8(base + off + 1);
                            start = off + 2;
                            len = cb * 2;
                        } else {
                            len = cb * 2 - 1;
                        }
                        len = std::min(len, 511 - start);
                        if (len >= 2) {
                            props.istd = w.u16(base + start);
                            props.grpprl = w.mid(base + start + 2, len - 2);
                        }
                    } else {
                        const int cb = std::min<int>(w.u8(base + off), 511 - off - 1);
                        props.grpprl = w.mid(base + off + 1, cb);
                    }
                }
                budget.spend(props.grpprl.size());
                known = shared.insert(off, props);
            }
            run.istd = known->istd;
            run.grpprl = known->grpprl;
            budget.spend(qint64(sizeof(PropRun)));
            out.push_back(std::move(run));
        }
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const PropRun& a, const PropRun& b) { return a.fcStart < b.fcStart; });
}

const Piece* DocFile::pieceAt(int cp) const {
    auto it = std::upper_bound(pieces.begin(), pieces.end(), cp,
                               [](int c, const Piece& p) { return c < p.cpEnd; });
    return it != pieces.end() && it->cpStart <= cp ? &*it : nullptr;
}

namespace {
const PropRun* runAt(const std::vector<PropRun>& runs, quint32 fc) {
    auto it = std::upper_bound(runs.begin(), runs.end(), fc,
                               [](quint32 f, const PropRun& r) { return f < r.fcStart; });
    if (it == runs.begin())
        return nullptr;
    --it;
    return fc < it->fcEnd ? &*it : nullptr;
}
} // namespace

const PropRun* DocFile::chpxAt(int cp) const {
    const Piece* p = pieceAt(cp);
    return p ? runAt(chpxRuns, fcOf(*p, cp)) : nullptr;
}

const PropRun* DocFile::papxAt(int cp) const {
    const Piece* p = pieceAt(cp);
    return p ? runAt(papxRuns, fcOf(*p, cp)) : nullptr;
}

void DocFile::readFonts() {
    const QByteArray s = tableSlice(kFcLcbSttbfFfn);
    const ByteReader r(s);
    int n = r.u16(0);
    qint64 pos = 4;
    if (n == 0xFFFF) // extended form
        n = r.u16(2), pos = 6;
    for (int i = 0; i < n && r.has(pos, 1); ++i) {
        const int cch = r.u8(pos);
        QString name;
        for (qint64 p = pos + 1 + 39; p + 1 < pos + 1 + cch && r.has(p, 2); p += 2) {
            const quint16 c = r.u16(p);
            if (!c)
                break;
            name += QChar(c);
        }
        props.fontNames << name;
        pos += 1 + cch;
    }
}

void DocFile::readStyles() {
    const QByteArray s = tableSlice(kFcLcbStshf);
    const ByteReader r(s);
    const int cbStshi = r.u16(0);
    const int cstd = r.u16(2);
    const int cbBase = r.u16(4);
    if (cbStshi >= 18) {
        ftcAsciiDefault = r.u16(14);
        ftcFeDefault = r.u16(16);
        ftcOtherDefault = r.u16(18);
    }
    defaultChp.ftcAscii = ftcAsciiDefault;
    defaultChp.ftcEastAsia = ftcFeDefault;
    defaultChp.ftcOther = ftcOtherDefault;
    defaultChp.fontAsciiSet = defaultChp.fontEastAsiaSet = true;
    // Word's built-in defaults: Times New Roman 10 pt when the table says nothing.
    defaultChp.format.font = defaultChp.format.fontEastAsia = QStringLiteral("Times New Roman");
    resolveFonts(defaultChp, props);

    qint64 pos = 2 + cbStshi;
    styles.assign(size_t(std::clamp(cstd, 0, 4096)), Style());
    for (size_t i = 0; i < styles.size() && r.has(pos, 2); ++i) {
        const int cbStd = r.u16(pos);
        const qint64 start = pos + 2;
        pos = start + cbStd;
        if (cbStd < 10 || !r.has(start, cbStd))
            continue;
        const QByteArray stdBytes = r.mid(start, cbStd);
        const ByteReader d(stdBytes);
        Style& st = styles[i];
        st.present = true;
        st.stk = d.u16(2) & 0xF;
        st.istdBase = d.u16(2) >> 4;
        const int cupx = d.u16(4) & 0xF;
        qint64 p = cbBase;
        const int cch = d.u16(p);
        for (int k = 0; k < cch && d.has(p + 2 + k * 2, 2); ++k)
            st.name += QChar(d.u16(p + 2 + k * 2));
        p += 2 + (cch + 1) * 2;
        // Property lists, each padded to an even length.
        for (int u = 0; u < cupx && d.has(p, 2); ++u) {
            const int cb = d.u16(p);
            const QByteArray upx = d.mid(p + 2, cb);
            p += 2 + cb + (cb % 2);
            if (st.stk == 1) {
                if (u == 0)
                    st.papx = upx.mid(2); // after the istd
                else if (u == 1)
                    st.chpx = upx;
            } else if (st.stk == 2 && u == 0) {
                st.chpx = upx;
            }
        }
    }
}

void DocFile::resolve(int istd, int depth) {
    Style& st = styles[size_t(istd)];
    if (st.resolved || st.resolving)
        return;
    st.resolving = true;
    Pap basePap = defaultPap;
    Chp baseChp = defaultChp;
    if (st.istdBase != 0xFFF && st.istdBase < int(styles.size()) && st.istdBase != istd &&
        depth < 32 && styles[size_t(st.istdBase)].present) {
        resolve(st.istdBase, depth + 1);
        basePap = styles[size_t(st.istdBase)].pap;
        baseChp = styles[size_t(st.istdBase)].chp;
    }
    st.pap = basePap;
    st.pap.istd = istd;
    st.pap.format.styleName = st.name;
    applyPap(st.pap, st.papx, props);
    // Table properties belong to rows, never to styles.
    st.pap.tap = Tap();
    st.pap.inTable = false;
    st.pap.itap = 0;
    st.chp = baseChp;
    applyChp(st.chp, st.chpx, props, baseChp);
    st.resolving = false;
    st.resolved = true;
}

const Pap& DocFile::stylePap(int istd) {
    if (istd < 0 || istd >= int(styles.size()) || !styles[size_t(istd)].present)
        return istd == 0 || styles.empty() || !styles[0].present ? defaultPap : stylePap(0);
    resolve(istd, 0);
    return styles[size_t(istd)].pap;
}

const Chp& DocFile::styleChp(int istd) {
    if (istd < 0 || istd >= int(styles.size()) || !styles[size_t(istd)].present)
        return istd == 0 || styles.empty() || !styles[0].present ? defaultChp : styleChp(0);
    resolve(istd, 0);
    return styles[size_t(istd)].chp;
}

Chp DocFile::withCharStyle(const Chp& chp, int istd) const {
    // The chain from the style down to its first base, walked without
    // recursion and at most 32 deep (a looping chain stops there).
    std::vector<const Style*> chain;
    for (int at = istd; at >= 0 && at < int(styles.size()) && chain.size() < 32;) {
        const Style& st = styles[size_t(at)];
        if (!st.present || st.stk != 2)
            break;
        chain.push_back(&st);
        if (st.istdBase == 0xFFF || st.istdBase == at)
            break;
        at = st.istdBase;
    }
    Chp out = chp;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const Chp base = out;
        applyChp(out, (*it)->chpx, props, base);
    }
    return out;
}

QString DocFile::styleName(int istd) const {
    return istd >= 0 && istd < int(styles.size()) ? styles[size_t(istd)].name : QString();
}

} // namespace msdoc::rd
