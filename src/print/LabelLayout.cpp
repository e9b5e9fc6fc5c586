#include "LabelLayout.h"

#include "mClt.h"
#include "yIni.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace LabelLayout {

namespace {

const QString kGroup = QStringLiteral("LABEL");
constexpr double kMaxMm = 300;
constexpr int kMaxCount = 99;

QString key(int n) {
    return QStringLiteral("LB_%1").arg(n);
}

// A count right-aligned in 2 characters, only its last two digits when longer.
QString count2(int n) {
    QString s = QString::number(n);
    if (s.size() > 2)
        s = s.right(2);
    return s.rightJustified(2, u' ');
}

QString measure4(double v) {
    return Format1(v).rightJustified(4, u' ');
}

// Reads a number as the dialog's "0.0" form gives it back.
double rounded1(double v) {
    return Format1(v).toDouble();
}

} // namespace

Page Page::FromTwips(int left, int top, int right, int bottom, int width, int height) {
    // To a thousandth of a millimetre (a twip is 0.018 mm): a margin of
    // 1134 twips is 20 mm exactly, not a hair more, so a sheet margin of
    // 20 mm is not "raised" to it.
    auto mm = [](int twips) { return std::round(twips / kTwipsPerMm * 1000) / 1000; };
    return {mm(left), mm(top), mm(right), mm(bottom), mm(width), mm(height)};
}

double NumberOf(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFEE0)); // full-width digits, signs, point
        if (c != u' ' && c != u'\t' && c.unicode() != 0x3000)
            s.append(c);
    }
    static const QRegularExpression re(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)"));
    const QRegularExpressionMatch m = re.match(s);
    return m.hasMatch() ? m.captured(0).toDouble() : 0.0;
}

Field Check(const Fields& f) {
    const std::pair<Field, double> measures[] = {{Field::Wd, f.W},   {Field::Hi, f.H},
                                                 {Field::Lft, f.L},  {Field::Top, f.T},
                                                 {Field::Hrz, f.Sx}, {Field::Vrt, f.Sy}};
    for (const auto& [field, v] : measures) {
        const bool size = field == Field::Wd || field == Field::Hi;
        if (v > kMaxMm || v < 0 || (size && v <= 0) || !std::isfinite(v))
            return field;
    }
    if (f.R < 1 || f.R > kMaxCount)
        return Field::Rws;
    if (f.C < 1 || f.C > kMaxCount)
        return Field::Cls;
    return Field::None;
}

QString Format1(double v) {
    const double r = std::round(v * 10) / 10; // std::round: halves away from zero
    QString s = QString::number(r, 'f', 1);
    if (s == QLatin1String("-0.0"))
        s = QStringLiteral("0.0");
    return s;
}

QString General(double v) {
    return QString::number(v, 'g', 15);
}

QString Line(const Fields& f) {
    return u'【' + count2(f.R * f.C) + QStringLiteral("面】") + count2(f.R) +
           QStringLiteral("行 *") + count2(f.C) + QStringLiteral("列 左") + measure4(f.L) +
           QStringLiteral(" 上") + measure4(f.T) + QStringLiteral(" 巾") + measure4(f.W) + u'(' +
           Format1(f.Sx) + QStringLiteral(") 高") + measure4(f.H) + u'(' + Format1(f.Sy) + u')';
}

std::optional<Fields> ParseLine(const QString& line) {
    static const QRegularExpression pieces(QStringLiteral(
        "^【 *\\d+面】 *(\\d+)行 \\* *(\\d+)列 左 *([\\d.]+) 上 *([\\d.]+) 巾 *([\\d.]+)"
        "\\(([\\d.]+)\\) 高 *([\\d.]+)\\(([\\d.]+)\\)$"));
    Fields f;
    if (const QRegularExpressionMatch m = pieces.match(line.trimmed()); m.hasMatch()) {
        f.R = m.captured(1).toInt();
        f.C = m.captured(2).toInt();
        f.L = m.captured(3).toDouble();
        f.T = m.captured(4).toDouble();
        f.W = m.captured(5).toDouble();
        f.Sx = m.captured(6).toDouble();
        f.H = m.captured(7).toDouble();
        f.Sy = m.captured(8).toDouble();
    } else {
        // The fixed character columns (1-based) of the line's template
        // "【??面】??行 *??列 左??.? 上??.? 巾??.?(?.?) 高??.?(?.?)".
        auto at = [&line](int from, int length) { return NumberOf(line.mid(from - 1, length)); };
        f.R = int(std::lround(at(6, 2)));
        f.C = int(std::lround(at(11, 2)));
        f.L = at(16, 4);
        f.T = at(22, 4);
        f.W = at(28, 4);
        f.Sx = at(33, 3);
        f.H = at(39, 4);
        f.Sy = at(44, 3);
    }
    if (f.R <= 0 || f.C <= 0)
        return std::nullopt;
    return f;
}

void SortLines(QStringList& lines) {
    // Binary comparison of the UTF-16 code units, lowest first.
    std::stable_sort(lines.begin(), lines.end(),
                     [](const QString& a, const QString& b) { return a < b; });
}

QStringList LoadList(yIni& ini) {
    ini.GetGtx(kGroup);
    QString joined;
    for (int n = 1; n <= kMaxLines; ++n) {
        const QString v = ini.vGtVal(key(n), QString());
        if (!v.isEmpty())
            joined += v + u',';
    }
    mClt::TrimSep(joined);
    QStringList lines;
    for (const QString& s : joined.split(u',', Qt::SkipEmptyParts))
        if (const QString t = s.trimmed(); !t.isEmpty())
            lines.append(t);
    SortLines(lines);
    return lines;
}

void SaveList(yIni& ini, const QStringList& lines) {
    ini.GetGtx(kGroup);
    int n = 0;
    for (const QString& line : lines)
        ini.SetVal(key(++n), line);
    // Keys no line fills now would bring old lines back at the next read.
    while (++n <= kMaxLines)
        if (!ini.vGtVal(key(n), QString()).isEmpty())
            ini.SetVal(key(n), QString());
    ini.SetGtx();
}

Fit FitToPage(const Fields& f, const Page& p) {
    Fit fit;
    fit.L2 = std::max(f.L, p.PL);
    fit.T2 = std::max(f.T, p.PT);
    fit.Wc = rounded1(((p.PW - p.PL - p.PR) - (f.C - 1) * f.Sx) / f.C);
    fit.Hc = rounded1(((p.PH - p.PT - p.PB) - f.Sy * (f.R - 1)) / f.R);
    QString tail;
    if (f.W > fit.Wc || f.H > fit.Hc) {
        fit.ask = Fit::Ask::Larger;
        tail =
            QStringLiteral(")より大きいです\r現在のプリンタの印字域に収まりませんが、変更しますか");
    } else if (fit.Wc > f.W || fit.Hc > f.H) {
        fit.ask = Fit::Ask::Smaller;
        tail = QStringLiteral(")より小さいですが\rこのままで良いですか");
    } else {
        return fit;
    }
    fit.question = QStringLiteral("ﾗﾍﾞﾙの巾(") + General(f.W) + QStringLiteral("と高さ(") +
                   General(f.H) + QStringLiteral(")は、\r印字域・行数・列数と間隔から計算した巾(") +
                   General(fit.Wc) + QStringLiteral(")・高さ(") + General(fit.Hc) + tail;
    return fit;
}

Fields Adjusted(const Fields& f, const Fit& fit, bool yes) {
    Fields out = f;
    out.L = fit.L2;
    out.T = fit.T2;
    const bool computed =
        (fit.ask == Fit::Ask::Larger && yes) || (fit.ask == Fit::Ask::Smaller && !yes);
    if (computed) {
        out.W = fit.Wc;
        out.H = fit.Hc;
    }
    return out;
}

bool NeedsNotice(const Fields& typed, const Fields& listed) {
    return typed.L != listed.L || typed.T != listed.T || typed.W != listed.W || typed.H != listed.H;
}

QString Notice(const Page& p) {
    QString s = QStringLiteral("現在の頁指定 左余白= ?mm 上余白= ?mm \r右余白= ?mm 下余白= ?mm "
                               "頁巾= ?mm 頁高= ?mm\rの中に納まるように調整されました");
    mClt::FillQ(s, {Format1(p.PL), Format1(p.PT), Format1(p.PR), Format1(p.PB), Format1(p.PW),
                    Format1(p.PH)});
    return s;
}

Sheet Arrange(const Fields& f, const Page& p) {
    Sheet sheet;
    for (int r = 1; r <= f.R; ++r) {
        for (int c = 1; c <= f.C; ++c) {
            double x = (f.Sx + f.W) * (c - 1) + f.L - p.PL;
            double y = (f.H + f.Sy) * (r - 1) + f.T - p.PT;
            double w = f.W;
            double h = f.H;
            bool clipped = false;
            if (x < 0) {
                w = x + f.W;
                x = 0;
                clipped = true;
            }
            if (y < 0) {
                h = y + f.H;
                y = 0;
                clipped = true;
            }
            if (const double e = (p.PW - p.PR) - (x + w + p.PL); e < 0) {
                w += e;
                clipped = true;
            }
            if (const double e = (p.PH - p.PB) - (y + h + p.PT); e < 0) {
                h += e;
                clipped = true;
            }
            sheet.adjusted = sheet.adjusted || clipped;
            const Frame fr{int(std::lround(x * kTwipsPerMm)), int(std::lround(y * kTwipsPerMm)),
                           int(std::lround(w * kTwipsPerMm)), int(std::lround(h * kTwipsPerMm))};
            // A label wholly outside the printable area has nothing left.
            if (fr.w <= 0 || fr.h <= 0) {
                ++sheet.skipped;
                continue;
            }
            sheet.frames.append(fr);
        }
    }
    return sheet;
}

} // namespace LabelLayout
