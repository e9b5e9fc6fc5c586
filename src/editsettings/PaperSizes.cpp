#include "PaperSizes.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace PaperSize {

const std::array<Paper, kPapers>& Papers() {
    static const std::array<Paper, kPapers> papers = {{
        {"A4   210 * 297 mm", 11900, 16838},
        {"A5   148 * 210 mm", 8300, 11900},
        {"B5   182 * 257 mm", 10318, 14581},
        {"A6   105 * 148 mm", 5949, 8380},
        {"ﾌｫﾄ  102 * 152 mm", 5779, 8612},
        {"ﾊｶﾞｷ 100 * 148 mm", 5666, 8386},
        {"往復   200*148 mm", 11332, 8386},
        {"ﾚﾀ-   8.5 * 11 in", 12240, 15840},
        {"ﾘ-ｶﾞﾙ 8.5 * 14 in", 12240, 20160},
        {"長形3号 120*235mm", 6799, 13315},
        {"長形4号  90*205mm", 5099, 11615},
        {"洋形1号 120*176mm", 6799, 9972},
        {"洋形2号 114*162mm", 6459, 9179},
        {"洋形3号  98*148mm", 5553, 8386},
        {"洋形4号 105*235mm", 5949, 13315},
    }};
    return papers;
}

QString ListText(int entry) {
    if (entry >= 0 && entry < kPapers)
        return QString::fromUtf8(Papers()[entry].listText);
    return QStringLiteral("ﾕｰｻﾞｰ定義");
}

namespace {

QString format2(double value) {
    // "###0.00": at least one integer digit, exactly two decimals.
    QString s = QString::number(value, 'f', 2);
    if (s == QLatin1String("-0.00"))
        s = QStringLiteral("0.00");
    return s;
}

// The leading number of a text: blanks skipped, an optional sign, digits
// with at most one decimal point. Full-width digits, signs and points read
// as their half-width forms; "," reads as ".".
std::optional<double> leadingNumber(const QString& text) {
    QString ascii;
    ascii.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFEE0));
        else if (u == 0x3000)
            c = QLatin1Char(' ');
        ascii.append(c == QLatin1Char(',') ? QLatin1Char('.') : c);
    }
    qsizetype i = 0;
    while (i < ascii.size() && (ascii[i] == QLatin1Char(' ') || ascii[i] == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    if (i < ascii.size() && (ascii[i] == QLatin1Char('+') || ascii[i] == QLatin1Char('-')))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < ascii.size(); ++i) {
        const QChar c = ascii[i];
        if (c.isDigit() && c.unicode() < 128)
            digits = true;
        else if (c == QLatin1Char('.') && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return 0.0;
    bool ok = false;
    const double v = ascii.mid(start, i - start).toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

QString sTwpsDlg(double twips) {
    return format2((twips + 0.0005) / kTwipsPerCm);
}

std::optional<int> nDlgTwps(const QString& text) {
    const std::optional<double> cm = leadingNumber(text);
    if (!cm)
        return std::nullopt;
    // std::nearbyint rounds halves to even in the default rounding mode.
    const double twips = std::nearbyint(*cm * kTwipsPerCm);
    if (std::abs(twips) > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(twips);
}

double FieldNumber(const QString& text) {
    return leadingNumber(text).value_or(0.0);
}

int MatchPaper(int width, int height, bool landscape) {
    if (landscape)
        std::swap(width, height);
    int best = kUserDefined;
    int bestDistance = kMatchTolerance + 1;
    for (int i = 0; i < kPapers; ++i) {
        const Paper& p = Papers()[i];
        const int distance = std::max(std::abs(p.width - width), std::abs(p.height - height));
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

Recognised Recognise(int width, int height) {
    const bool lying = height < width;
    for (bool landscape : {lying, !lying}) {
        const int entry = MatchPaper(width, height, landscape);
        if (entry != kUserDefined)
            return {entry, landscape};
    }
    return {kUserDefined, lying};
}

Texts PaperTexts(int entry, bool landscape) {
    const Paper& p = Papers()[entry];
    Texts t;
    t.width = sTwpsDlg(landscape ? p.height : p.width);
    t.height = sTwpsDlg(landscape ? p.width : p.height);
    t.left = t.right = format2((p.width + 0.0005) / kTwipsPerCm / 10);
    t.top = t.bottom = format2((p.height + 0.0005) / kTwipsPerCm / 10);
    return t;
}

Texts PageTexts(const Page& page) {
    return {sTwpsDlg(page.width), sTwpsDlg(page.height), sTwpsDlg(page.left),
            sTwpsDlg(page.top),   sTwpsDlg(page.right),  sTwpsDlg(page.bottom)};
}

std::optional<Page> ReadTexts(const Texts& t) {
    const auto w = nDlgTwps(t.width), h = nDlgTwps(t.height), l = nDlgTwps(t.left),
               tp = nDlgTwps(t.top), r = nDlgTwps(t.right), b = nDlgTwps(t.bottom);
    if (!w || !h || !l || !tp || !r || !b)
        return std::nullopt;
    return Page{*w, *h, *l, *tp, *r, *b};
}

bool Valid(const Page& p) {
    auto within = [](int v, int limit) { return v >= 0 && v <= limit; };
    // A page without width or height has no room for a single character.
    return p.width > 0 && p.height > 0 && p.width <= kMaxWidth && p.height <= kMaxHeight &&
           within(p.left, p.width) && within(p.right, p.width) && within(p.top, p.height) &&
           within(p.bottom, p.height);
}

QRect PreviewRect(double widthCm, double heightCm) {
    const int w = int(widthCm * 1000 / 37);
    const int h = int(heightCm * 1000 / 37);
    return QRect((kPreviewWidth - w) / 2, (kPreviewHeight - h) / 2, w, h);
}

} // namespace PaperSize
