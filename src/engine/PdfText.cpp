#include "PdfText.h"

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QRegularExpression>
#include <QSet>
#include <QTextLayout>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace pdftext {

namespace {

// Glyphs are compared at this size (pixels per em).
constexpr int kPx = 48;

// ---- hex strings of a CMap ----

std::optional<uint> hexValue(QByteArrayView hex) {
    bool ok = false;
    const uint v = QByteArray(hex.data(), hex.size()).toUInt(&ok, 16);
    return ok ? std::optional(v) : std::nullopt;
}

// UTF-16BE hex ("00660069") -> "fi".
QString hexText(QByteArrayView hex) {
    QString out;
    for (qsizetype i = 0; i + 4 <= hex.size(); i += 4)
        if (const auto v = hexValue(hex.sliced(i, 4)))
            out += QChar(char16_t(*v));
    return out;
}

QByteArray textHex(const QString& s) {
    QByteArray out;
    for (QChar c : s)
        out += QByteArray::number(c.unicode(), 16).toUpper().rightJustified(4, '0');
    return out;
}

QByteArray codeHex(uint code) {
    return QByteArray::number(code, 16).toUpper().rightJustified(4, '0');
}

// The <...> tokens of one line, and whether an array opened before each.
struct Token {
    QByteArrayView hex;
    bool inArray = false;
};

std::vector<Token> tokens(QByteArrayView line) {
    std::vector<Token> out;
    bool array = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '[')
            array = true;
        if (line[i] != '<')
            continue;
        const qsizetype close = line.indexOf('>', i);
        if (close < 0)
            break;
        out.push_back({line.sliced(i + 1, close - i - 1), array});
        i = close;
    }
    return out;
}

// ---- the objects of a PDF through its cross-reference table ----

struct Xref {
    qsizetype start = -1; // of "xref"
    std::vector<qint64> offsets;
    std::vector<QByteArray> kinds; // "n" or "f"
    std::vector<int> generations;
    QByteArray trailer; // the dictionary after "trailer"
};

std::optional<Xref> readXref(const QByteArray& pdf) {
    const qsizetype sx = pdf.lastIndexOf("startxref");
    if (sx < 0)
        return std::nullopt;
    bool ok = false;
    const qsizetype at =
        pdf.mid(sx + 9, 24).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok || at < 0 || at >= sx || !pdf.mid(at).startsWith("xref"))
        return std::nullopt;
    Xref x;
    x.start = at;
    const qsizetype trailer = pdf.indexOf("trailer", at);
    if (trailer < 0 || trailer > sx)
        return std::nullopt;
    const QList<QByteArray> lines = pdf.mid(at, trailer - at).split('\n');
    const QList<QByteArray> head = lines.value(1).simplified().split(' ');
    if (head.size() != 2 || head[0] != "0")
        return std::nullopt; // one subsection from 0, as QPdfWriter writes
    const int count = head[1].toInt(&ok);
    if (!ok || count <= 0 || lines.size() < count + 2)
        return std::nullopt;
    for (int i = 0; i < count; ++i) {
        const QList<QByteArray> e = lines[i + 2].simplified().split(' ');
        if (e.size() != 3)
            return std::nullopt;
        x.offsets.push_back(e[0].toLongLong(&ok));
        if (!ok || x.offsets.back() < 0 || x.offsets.back() >= at)
            return std::nullopt;
        x.generations.push_back(e[1].toInt());
        x.kinds.push_back(e[2]);
    }
    x.trailer = pdf.mid(trailer + 7, sx - trailer - 7).trimmed();
    return x;
}

class Objects {
public:
    Objects(const QByteArray& pdf, const Xref& x) : pdf(pdf), x(x) {}

    // "n 0 obj ... endobj" as [start, end).
    std::pair<qsizetype, qsizetype> span(int n) const {
        if (n <= 0 || size_t(n) >= x.offsets.size() || x.kinds[n] != "n")
            return {-1, -1};
        const qsizetype start = x.offsets[n];
        const qsizetype end = pdf.indexOf("endobj", start);
        return {start, end < 0 ? -1 : end + 6};
    }
    QByteArray text(int n) const {
        const auto [s, e] = span(n);
        return s < 0 || e < 0 ? QByteArray() : pdf.mid(s, e - s);
    }
    // The dictionary part (before any stream data).
    QByteArray dict(int n) const {
        const QByteArray t = text(n);
        const qsizetype s = t.indexOf("stream");
        return s < 0 ? t : t.left(s);
    }
    // The object a key of `dict` refers to ("/Key 12 0 R"), 0 when none.
    static int ref(const QByteArray& dict, const char* key) {
        const QRegularExpression re(
            QStringLiteral("%1\\s*\\[?\\s*(\\d+)\\s+0\\s+R").arg(QLatin1String(key)));
        const auto m = re.match(QString::fromLatin1(dict));
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    }
    // The stream of object n, decompressed.
    std::optional<QByteArray> stream(int n) const {
        const QByteArray t = text(n);
        const qsizetype s = t.indexOf("stream");
        if (s < 0)
            return std::nullopt;
        const QByteArray d = t.left(s);
        static const QRegularExpression lengthRe(QStringLiteral("/Length\\s+(\\d+)(\\s+0\\s+R)?"));
        const auto m = lengthRe.match(QString::fromLatin1(d));
        if (!m.hasMatch())
            return std::nullopt;
        qint64 length = m.captured(1).toLongLong();
        if (!m.captured(2).isEmpty()) {
            const QByteArray lt = text(int(length));
            static const QRegularExpression valueRe(QStringLiteral("obj\\s+(\\d+)"));
            const auto v = valueRe.match(QString::fromLatin1(lt));
            if (!v.hasMatch())
                return std::nullopt;
            length = v.captured(1).toLongLong();
        }
        qsizetype data = s + 6;
        if (t.mid(data, 2) == "\r\n")
            data += 2;
        else if (t.mid(data, 1) == "\n")
            data += 1;
        if (length < 0 || data + length > t.size())
            return std::nullopt;
        QByteArray bytes = t.mid(data, length);
        if (!d.contains("/FlateDecode"))
            return bytes;
        // zlib data; qUncompress wants the expected size in front.
        static const QRegularExpression rawRe(QStringLiteral("/Length1\\s+(\\d+)"));
        const auto r = rawRe.match(QString::fromLatin1(d));
        const quint32 hint = quint32(std::clamp<qint64>(
            r.hasMatch() ? r.captured(1).toLongLong() : length * 4, 1, 64 << 20));
        QByteArray z(4, '\0');
        z[0] = char(hint >> 24);
        z[1] = char(hint >> 16);
        z[2] = char(hint >> 8);
        z[3] = char(hint);
        bytes = qUncompress(z + bytes);
        if (bytes.isEmpty())
            return std::nullopt;
        return bytes;
    }

private:
    const QByteArray& pdf;
    const Xref& x;
};

// ---- glyphs ----

QImage glyphImage(const QRawFont& font, quint32 glyph) {
    QImage img(kPx * 2, kPx * 2, QImage::Format_Grayscale8);
    img.fill(0);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(kPx / 2.0, kPx * 1.5);
    p.fillPath(font.pathForGlyph(glyph), Qt::white);
    return img;
}

// 0 for the same shape, 1 for shapes that share no ink.
double difference(const QImage& a, const QImage& b) {
    qint64 diff = 0, ink = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar* pa = a.constScanLine(y);
        const uchar* pb = b.constScanLine(y);
        for (int x = 0; x < a.width(); ++x) {
            diff += std::abs(int(pa[x]) - int(pb[x]));
            ink += pa[x] + pb[x];
        }
    }
    return ink == 0 ? 0.0 : 2.0 * diff / double(ink);
}

double advance(const QRawFont& font, quint32 glyph) {
    const QList<QPointF> a = font.advancesForGlyphIndexes(QList<quint32>{glyph});
    return a.isEmpty() ? 0.0 : a[0].x();
}

// A glyph the text shaping draws for `text` that the font's character map
// does not give for it.
struct Shaped {
    QString text;
    double advance = 0;
    QImage image;
};

std::vector<Shaped> shapedGlyphs(const QString& text, const QStringList& families) {
    QSet<QString> units;
    for (QChar c : text)
        if (c.unicode() >= 0x20 && !c.isSurrogate())
            units.insert(QString(c));
    for (const char* lig : {"ffi", "ffl", "ff", "fi", "fl", "ft", "st"})
        if (text.contains(QLatin1String(lig)))
            units.insert(QLatin1String(lig));
    std::vector<Shaped> out;
    QSet<QString> seen; // font + glyph
    for (const QString& family : families) {
        QFont font(family);
        font.setPixelSize(kPx);
        for (const QString& unit : units) {
            // The glyph can depend on the script around it (the CJK faces
            // draw digits after Latin letters with glyphs of their own):
            // shaped alone, after a Latin letter and after kana.
            for (const QString& before : {QString(), QStringLiteral("a"), QStringLiteral("あ")}) {
                QTextLayout layout(before + unit, font);
                layout.beginLayout();
                layout.createLine();
                layout.endLayout();
                const QList<QGlyphRun> runs =
                    layout.glyphRuns(int(before.size()), int(unit.size()));
                if (runs.size() != 1 || runs[0].glyphIndexes().size() != 1)
                    continue;
                QRawFont raw = runs[0].rawFont();
                raw.setPixelSize(kPx);
                const quint32 glyph = runs[0].glyphIndexes()[0];
                const QList<quint32> mapped = raw.glyphIndexesForString(unit);
                if (unit.size() == 1 && mapped.value(0) == glyph)
                    continue; // Qt finds this one itself
                const QString key = raw.familyName() + raw.styleName() + QString::number(glyph);
                if (seen.contains(key))
                    continue;
                seen.insert(key);
                out.push_back({unit, advance(raw, glyph), glyphImage(raw, glyph)});
            }
        }
    }
    return out;
}

int glyphCount(const QRawFont& font) {
    const QByteArray maxp = font.fontTable("maxp");
    if (maxp.size() < 6)
        return 0;
    return (uchar(maxp[4]) << 8) | uchar(maxp[5]);
}

struct Edit {
    qsizetype start = 0;
    qsizetype end = 0;
    QByteArray text;
};

} // namespace

QHash<char16_t, char16_t> radicalMap(const QString& text, const QStringList& families) {
    QHash<char16_t, char16_t> out;
    QSet<char16_t> ideographs;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3400 && u < 0xA000) || (u >= 0xF900 && u < 0xFB00))
            ideographs.insert(u);
    }
    if (ideographs.isEmpty())
        return out;
    // A text holding both a radical and its ideograph reads back as the
    // ideograph (one glyph has one meaning), the far more common of the two.
    QString radicalChars;
    for (char16_t r = 0x2E80; r < 0x2FE0; ++r)
        radicalChars += QChar(r);
    QString ideographChars;
    for (char16_t u : ideographs)
        ideographChars += QChar(u);
    for (const QString& family : families) {
        const QRawFont font = QRawFont::fromFont(QFont(family));
        if (!font.isValid())
            continue;
        QHash<quint32, char16_t> byGlyph;
        const QList<quint32> rg = font.glyphIndexesForString(radicalChars);
        for (qsizetype i = 0; i < rg.size() && i < radicalChars.size(); ++i)
            if (rg[i] != 0)
                byGlyph.insert(rg[i], radicalChars[i].unicode());
        const QList<quint32> ig = font.glyphIndexesForString(ideographChars);
        for (qsizetype i = 0; i < ig.size() && i < ideographChars.size(); ++i)
            if (const auto it = byGlyph.constFind(ig[i]); ig[i] != 0 && it != byGlyph.cend())
                if (!out.contains(*it)) // the first family wins
                    out.insert(*it, ideographChars[i].unicode());
    }
    return out;
}

QHash<uint, QString> parseMap(const QByteArray& cmap) {
    QHash<uint, QString> out;
    for (const bool range : {true, false}) {
        const QByteArray begin = range ? "beginbfrange" : "beginbfchar";
        const QByteArray stop = range ? "endbfrange" : "endbfchar";
        qsizetype from = 0;
        while ((from = cmap.indexOf(begin, from)) >= 0) {
            const qsizetype to = cmap.indexOf(stop, from);
            if (to < 0)
                break;
            const QByteArray body = cmap.mid(from + begin.size(), to - from - begin.size());
            for (const QByteArray& line : body.split('\n')) {
                const std::vector<Token> t = tokens(line);
                if (!range && t.size() >= 2) {
                    if (const auto code = hexValue(t[0].hex))
                        out.insert(*code, hexText(t[1].hex));
                } else if (range && t.size() >= 3) {
                    const auto lo = hexValue(t[0].hex), hi = hexValue(t[1].hex);
                    if (!lo || !hi || *hi < *lo || *hi - *lo > 0xFFFF)
                        continue;
                    if (t[2].inArray) {
                        for (uint c = *lo; c <= *hi && size_t(c - *lo + 2) < t.size(); ++c)
                            out.insert(c, hexText(t[c - *lo + 2].hex));
                    } else {
                        // Consecutive codes from the first destination on.
                        QString dest = hexText(t[2].hex);
                        for (uint c = *lo; c <= *hi && !dest.isEmpty(); ++c) {
                            out.insert(c, dest);
                            dest.back() = QChar(char16_t(dest.back().unicode() + 1));
                        }
                    }
                }
            }
            from = to;
        }
    }
    return out;
}

QByteArray writeMap(const QHash<uint, QString>& map) {
    std::map<uint, QString> sorted;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        sorted.emplace(it.key(), it.value());
    QByteArray out = "/CIDInit /ProcSet findresource begin\n"
                     "12 dict begin\n"
                     "begincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                     "/CMapName /Adobe-Identity-UCS def\n"
                     "/CMapType 2 def\n"
                     "1 begincodespacerange\n"
                     "<0000> <FFFF>\n"
                     "endcodespacerange\n";
    // At most 100 mappings per section.
    std::vector<std::pair<uint, QString>> entries(sorted.begin(), sorted.end());
    for (size_t i = 0; i < entries.size(); i += 100) {
        const size_t n = std::min<size_t>(100, entries.size() - i);
        out += QByteArray::number(qulonglong(n)) + " beginbfchar\n";
        for (size_t k = i; k < i + n; ++k)
            out += '<' + codeHex(entries[k].first) + "> <" + textHex(entries[k].second) + ">\n";
        out += "endbfchar\n";
    }
    out += "endcmap\n"
           "CMapName currentdict /CMap defineresource pop\n"
           "end\n"
           "end\n";
    return out;
}

bool repair(QByteArray& pdf, const QString& text, const QStringList& families) {
    const std::optional<Xref> xref = readXref(pdf);
    if (!xref)
        return false;
    const Objects objects(pdf, *xref);
    const QHash<char16_t, char16_t> radicals = radicalMap(text, families);
    std::optional<std::vector<Shaped>> shaped; // made when first needed
    std::vector<Edit> edits;
    for (int n = 1; n < int(xref->offsets.size()); ++n) {
        const QByteArray dict = objects.dict(n);
        if (!dict.contains("/Type0") || !dict.contains("/ToUnicode"))
            continue;
        const int toUnicode = Objects::ref(dict, "/ToUnicode");
        const int descendant = Objects::ref(dict, "/DescendantFonts");
        const int descriptor = Objects::ref(objects.dict(descendant), "/FontDescriptor");
        const int file = Objects::ref(objects.dict(descriptor), "/FontFile2");
        const std::optional<QByteArray> cmap = objects.stream(toUnicode);
        if (!cmap)
            continue;
        QHash<uint, QString> map = parseMap(*cmap);
        bool changed = false;
        for (auto it = map.begin(); it != map.end(); ++it) {
            if (it->size() != 1)
                continue;
            const char16_t c = it->at(0).unicode();
            if (c == u'\t') {
                // The space glyph, which the font also maps the tab to.
                *it = QStringLiteral(" ");
                changed = true;
            } else if (radicals.contains(c)) {
                *it = QString(QChar(radicals.value(c)));
                changed = true;
            } else if (c >= 0xFB00 && c <= 0xFB06 && !text.contains(it->at(0))) {
                // A Latin ligature glyph ("ﬁ") stands for its letters.
                *it = it->normalized(QString::NormalizationForm_KC);
                changed = true;
            }
        }
        // Glyphs of the subset that no character maps to.
        const std::optional<QByteArray> fontBytes = objects.stream(file);
        const QRawFont subset = fontBytes ? QRawFont(*fontBytes, kPx) : QRawFont();
        const int glyphs = subset.isValid() ? glyphCount(subset) : 0;
        for (int g = 1; g < glyphs && g <= 0xFFFF; ++g) {
            if (map.contains(uint(g)))
                continue;
            if (!shaped)
                shaped = shapedGlyphs(text, families);
            const QImage img = glyphImage(subset, quint32(g));
            const double adv = advance(subset, quint32(g));
            const Shaped* best = nullptr;
            double bestDiff = 0.12; // beyond this the shapes are different glyphs
            for (const Shaped& s : *shaped) {
                if (std::abs(s.advance - adv) > std::max(0.5, adv * 0.02))
                    continue;
                const double d = difference(img, s.image);
                if (d < bestDiff) {
                    bestDiff = d;
                    best = &s;
                }
            }
            if (best) {
                map.insert(uint(g), best->text);
                changed = true;
            }
        }
        if (!changed)
            continue;
        const auto [start, end] = objects.span(toUnicode);
        if (start < 0 || end < 0)
            continue;
        const QByteArray body = writeMap(map);
        edits.push_back({start, end,
                         QByteArray::number(toUnicode) + " 0 obj\n<< /Length " +
                             QByteArray::number(body.size()) + " >>\nstream\n" + body +
                             "endstream\nendobj"});
    }
    if (edits.empty())
        return false;
    // Later edits first, so the places of earlier ones stay valid; every
    // object after an edit moves by its change in length.
    std::sort(edits.begin(), edits.end(),
              [](const Edit& a, const Edit& b) { return a.start > b.start; });
    std::vector<qint64> offsets = xref->offsets;
    QByteArray out = pdf.left(xref->start);
    for (const Edit& e : edits) {
        const qint64 delta = e.text.size() - (e.end - e.start);
        out.replace(e.start, e.end - e.start, e.text);
        for (size_t i = 0; i < offsets.size(); ++i)
            if (xref->kinds[i] == "n" && offsets[i] > e.start)
                offsets[i] += delta;
    }
    const qsizetype xrefAt = out.size();
    out += "xref\n0 " + QByteArray::number(qulonglong(offsets.size())) + '\n';
    for (size_t i = 0; i < offsets.size(); ++i)
        out += QByteArray::number(offsets[i]).rightJustified(10, '0') + ' ' +
               QByteArray::number(xref->generations[i]).rightJustified(5, '0') + ' ' +
               xref->kinds[i] + " \n";
    out += "trailer\n" + xref->trailer + "\nstartxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    pdf = std::move(out);
    return true;
}

} // namespace pdftext
