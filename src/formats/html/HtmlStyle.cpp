#include "HtmlStyle.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace html::detail {

namespace {

int clampHalfPoints(double hp) {
    return std::clamp(int(std::lround(hp)), 2, 3276);
}

// Browsers' keyword sizes in pixels (16 px, 12 pt, is medium).
std::optional<double> keywordPx(const QString& v) {
    static const QHash<QString, double> px{
        {QStringLiteral("xx-small"), 9},  {QStringLiteral("x-small"), 10},
        {QStringLiteral("small"), 13},    {QStringLiteral("medium"), 16},
        {QStringLiteral("large"), 18},    {QStringLiteral("x-large"), 24},
        {QStringLiteral("xx-large"), 32}, {QStringLiteral("xxx-large"), 48}};
    const auto it = px.constFind(v);
    return it == px.cend() ? std::nullopt : std::optional(*it);
}

} // namespace

QHash<QString, QString> parseStyle(const QString& style) {
    QHash<QString, QString> out;
    for (const QString& decl : style.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype colon = decl.indexOf(u':');
        if (colon <= 0)
            continue;
        QString value = decl.mid(colon + 1).trimmed();
        value.remove(QRegularExpression(QStringLiteral("\\s*!\\s*important\\s*$"),
                                        QRegularExpression::CaseInsensitiveOption));
        out.insert(decl.left(colon).trimmed().toLower(), value);
    }
    return out;
}

std::optional<model::Color> parseColor(const QString& value) {
    const QString v = value.trimmed().toLower();
    static const QHash<QString, model::Color> named{
        {QStringLiteral("black"), model::rgb(0, 0, 0)},
        {QStringLiteral("white"), model::rgb(255, 255, 255)},
        {QStringLiteral("red"), model::rgb(255, 0, 0)},
        {QStringLiteral("lime"), model::rgb(0, 255, 0)},
        {QStringLiteral("green"), model::rgb(0, 128, 0)},
        {QStringLiteral("blue"), model::rgb(0, 0, 255)},
        {QStringLiteral("yellow"), model::rgb(255, 255, 0)},
        {QStringLiteral("cyan"), model::rgb(0, 255, 255)},
        {QStringLiteral("aqua"), model::rgb(0, 255, 255)},
        {QStringLiteral("magenta"), model::rgb(255, 0, 255)},
        {QStringLiteral("fuchsia"), model::rgb(255, 0, 255)},
        {QStringLiteral("gray"), model::rgb(128, 128, 128)},
        {QStringLiteral("grey"), model::rgb(128, 128, 128)},
        {QStringLiteral("silver"), model::rgb(192, 192, 192)},
        {QStringLiteral("maroon"), model::rgb(128, 0, 0)},
        {QStringLiteral("olive"), model::rgb(128, 128, 0)},
        {QStringLiteral("navy"), model::rgb(0, 0, 128)},
        {QStringLiteral("purple"), model::rgb(128, 0, 128)},
        {QStringLiteral("teal"), model::rgb(0, 128, 128)},
        {QStringLiteral("orange"), model::rgb(255, 165, 0)},
        {QStringLiteral("brown"), model::rgb(165, 42, 42)},
        {QStringLiteral("pink"), model::rgb(255, 192, 203)},
        {QStringLiteral("darkred"), model::rgb(139, 0, 0)},
        {QStringLiteral("darkblue"), model::rgb(0, 0, 139)},
        {QStringLiteral("darkgreen"), model::rgb(0, 100, 0)}};
    if (const auto it = named.constFind(v); it != named.cend())
        return *it;
    static const QRegularExpression hex(QStringLiteral("^#?([0-9a-f]{3}|[0-9a-f]{6})$"));
    if (const auto m = hex.match(v); m.hasMatch()) {
        QString h = m.captured(1);
        if (h.size() == 3)
            h = QString(h[0]) + h[0] + h[1] + h[1] + h[2] + h[2];
        return model::rgb(h.mid(0, 2).toInt(nullptr, 16), h.mid(2, 2).toInt(nullptr, 16),
                          h.mid(4, 2).toInt(nullptr, 16));
    }
    static const QRegularExpression fn(
        QStringLiteral("^rgba?\\(\\s*(\\d+)(%?)\\s*[, ]\\s*(\\d+)(%?)\\s*[, ]\\s*(\\d+)(%?)"));
    if (const auto m = fn.match(v); m.hasMatch()) {
        auto part = [&](int i) {
            const int n = std::min(100000, m.captured(i).left(6).toInt());
            return std::clamp(m.captured(i + 1).isEmpty() ? n : n * 255 / 100, 0, 255);
        };
        return model::rgb(part(1), part(3), part(5));
    }
    return std::nullopt;
}

std::optional<int> parseLength(const QString& value, int fontHalfPoints) {
    static const QRegularExpression re(QStringLiteral(
        "^([+-]?\\d{1,6}(?:\\.\\d{1,6})?|[+-]?\\.\\d{1,6})\\s*(px|pt|em|rem|mm|cm|in|pc|)$"));
    const auto m = re.match(value.trimmed().toLower());
    if (!m.hasMatch())
        return std::nullopt;
    const double n = m.captured(1).toDouble();
    const QString u = m.captured(2);
    double twips = n * 15; // px, and plain numbers
    if (u == QLatin1String("pt"))
        twips = n * 20;
    else if (u == QLatin1String("em"))
        twips = n * fontHalfPoints * 10;
    else if (u == QLatin1String("rem"))
        twips = n * 240;
    else if (u == QLatin1String("mm"))
        twips = n * 56.7;
    else if (u == QLatin1String("cm"))
        twips = n * 567;
    else if (u == QLatin1String("in"))
        twips = n * 1440;
    else if (u == QLatin1String("pc"))
        twips = n * 240;
    return int(std::clamp(twips, -1e7, 1e7));
}

std::optional<int> parseFontSize(const QString& value, int parent) {
    const QString v = value.trimmed().toLower();
    if (const auto px = keywordPx(v))
        return clampHalfPoints(*px * 1.5);
    if (v == QLatin1String("larger"))
        return clampHalfPoints(parent * 1.2);
    if (v == QLatin1String("smaller"))
        return clampHalfPoints(parent / 1.2);
    if (v.endsWith(u'%')) {
        bool ok = false;
        const double pc = v.chopped(1).trimmed().left(10).toDouble(&ok);
        return ok && pc > 0 ? std::optional(clampHalfPoints(parent * pc / 100)) : std::nullopt;
    }
    if (v.endsWith(QLatin1String("em")) && !v.endsWith(QLatin1String("rem"))) {
        bool ok = false;
        const double em = v.chopped(2).trimmed().left(10).toDouble(&ok);
        return ok && em > 0 ? std::optional(clampHalfPoints(parent * em)) : std::nullopt;
    }
    const std::optional<int> twips = parseLength(v, parent);
    if (!twips || *twips <= 0)
        return std::nullopt;
    return clampHalfPoints(*twips / 10.0);
}

std::optional<int> fontTagSize(const QString& value) {
    const QString v = value.trimmed();
    bool ok = false;
    int n = v.left(4).toInt(&ok);
    if (!ok)
        return std::nullopt;
    if (v.startsWith(u'+') || v.startsWith(u'-'))
        n += 3;
    static const double px[] = {10, 13, 16, 18, 24, 32, 48};
    return clampHalfPoints(px[std::clamp(n, 1, 7) - 1] * 1.5);
}

std::optional<model::Alignment> parseAlign(const QString& value) {
    const QString v = value.trimmed().toLower();
    if (v == QLatin1String("left") || v == QLatin1String("start"))
        return model::Alignment::Left;
    if (v == QLatin1String("center") || v == QLatin1String("middle"))
        return model::Alignment::Center;
    if (v == QLatin1String("right") || v == QLatin1String("end"))
        return model::Alignment::Right;
    if (v == QLatin1String("justify"))
        return model::Alignment::Justify;
    return std::nullopt;
}

void applyCharStyle(const QHash<QString, QString>& style, model::CharFormat& f) {
    for (auto it = style.cbegin(); it != style.cend(); ++it) {
        const QString& name = it.key();
        const QString v = it.value().toLower();
        if (name == QLatin1String("color")) {
            if (const auto c = parseColor(v))
                f.color = *c;
        } else if (name == QLatin1String("background-color") ||
                   name == QLatin1String("background")) {
            if (const auto c = parseColor(v.section(u' ', 0, 0)))
                f.background = *c;
        } else if (name == QLatin1String("font-size")) {
            if (const auto hp = parseFontSize(v, f.halfPoints))
                f.halfPoints = *hp;
        } else if (name == QLatin1String("font-weight")) {
            bool numeric = false;
            const int w = v.toInt(&numeric);
            f.bold =
                numeric ? w >= 600 : (v == QLatin1String("bold") || v == QLatin1String("bolder"));
        } else if (name == QLatin1String("font-style")) {
            f.italic = v == QLatin1String("italic") || v == QLatin1String("oblique");
        } else if (name == QLatin1String("text-decoration") ||
                   name == QLatin1String("text-decoration-line")) {
            if (v.contains(QLatin1String("none"))) {
                f.underline = model::Underline::None;
                f.strike = false;
            }
            if (v.contains(QLatin1String("underline")))
                f.underline = model::Underline::Single;
            if (v.contains(QLatin1String("line-through")))
                f.strike = true;
        } else if (name == QLatin1String("vertical-align")) {
            if (v == QLatin1String("super"))
                f.valign = model::VerticalAlign::Superscript;
            else if (v == QLatin1String("sub"))
                f.valign = model::VerticalAlign::Subscript;
            else if (v == QLatin1String("baseline"))
                f.valign = model::VerticalAlign::Baseline;
        } else if (name == QLatin1String("font-family")) {
            QString family = it.value().section(u',', 0, 0).trimmed();
            family.remove(u'"').remove(u'\'');
            // The generic families as the Japanese faces a page means by them.
            static const QHash<QString, QString> generic{
                {QStringLiteral("monospace"), QStringLiteral("ＭＳ ゴシック")},
                {QStringLiteral("serif"), QStringLiteral("ＭＳ 明朝")},
                {QStringLiteral("sans-serif"), QStringLiteral("ＭＳ Ｐゴシック")}};
            family = generic.value(family.toLower(), family);
            if (!family.isEmpty() && family.size() < 64) {
                f.font = family;
                f.fontEastAsia = family;
            }
        }
    }
}

} // namespace html::detail
