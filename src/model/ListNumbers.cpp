#include "ListNumbers.h"

namespace model {

namespace {

QString roman(int n, bool upper) {
    static const std::pair<int, const char*> parts[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString out;
    for (const auto& [value, letters] : parts)
        for (; n >= value; n -= value)
            out += QLatin1String(letters);
    return upper ? out.toUpper() : out;
}

// 1 .. 26 are A .. Z, then AA .. ZZ, AAA ... (the letter repeated).
QString letters(int n, bool upper) {
    const QChar c(char16_t((upper ? u'A' : u'a') + (n - 1) % 26));
    return QString((n - 1) / 26 + 1, c);
}

// The kana sequences counted through, in full-width katakana.
const QString kIroha =
    QStringLiteral("イロハニホヘトチリヌルヲワカヨタレソツネナラムウヰノオクヤマケ"
                   "フコエテアサキユメミシヱヒモセス");
const QString kAiueo = QStringLiteral("アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
                                      "マミムメモヤユヨラリルレロワヲン");

QString kana(int n, const QString& seq) {
    return QString(seq[(n - 1) % seq.size()]);
}

// Symbol-font bullets are stored in the private use area (U+F0B7); in plain
// text they are ordinary bullets.
QString bulletText(const QString& text) {
    if (text.isEmpty())
        return QString(QChar(0x2022));
    if (text.size() == 1 && text[0].unicode() >= 0xF000 && text[0].unicode() <= 0xF0FF)
        return QString(QChar(0x2022));
    return text;
}

} // namespace

QString formatListNumber(int n, NumberFormat format) {
    if (n < 1 && format != NumberFormat::Decimal && format != NumberFormat::DecimalFullWidth)
        n = 1;
    switch (format) {
    case NumberFormat::Decimal:
        return QString::number(n);
    case NumberFormat::DecimalFullWidth: {
        QString s = QString::number(n);
        for (QChar& c : s)
            if (c.isDigit())
                c = QChar(char16_t(0xFF10 + (c.unicode() - u'0')));
        return s;
    }
    case NumberFormat::UpperRoman:
    case NumberFormat::LowerRoman:
        // Past the numbers Roman letters write, the plain number.
        return n < 4000 ? roman(n, format == NumberFormat::UpperRoman) : QString::number(n);
    case NumberFormat::UpperLetter:
    case NumberFormat::LowerLetter:
        return letters(n, format == NumberFormat::UpperLetter);
    case NumberFormat::Iroha:
        return kana(n, kIroha);
    case NumberFormat::Aiueo:
        return kana(n, kAiueo);
    case NumberFormat::Bullet:
    case NumberFormat::None:
        break;
    }
    return {};
}

QString ListNumbering::next(const ParaFormat& format) {
    if (format.listId <= 0)
        return {};
    const ListDef* def = doc.list(format.listId);
    const int level = format.listLevel;
    if (!def || level < 0 || level >= int(def->levels.size()) || level >= 9)
        return {};
    const ListLevel& own = def->levels[size_t(level)];
    if (own.format == NumberFormat::Bullet)
        return bulletText(own.text);
    auto [it, fresh] = counters.try_emplace(format.listId);
    std::array<int, 9>& c = it->second;
    if (fresh)
        c.fill(0);
    c[size_t(level)] = c[size_t(level)] == 0 ? own.start : c[size_t(level)] + 1;
    for (size_t k = size_t(level) + 1; k < c.size(); ++k)
        c[k] = 0;
    QString out;
    const QString& text = own.text;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 1 < text.size() && text[i + 1] >= u'1' && text[i + 1] <= u'9') {
            const size_t k = size_t(text[i + 1].unicode() - u'1');
            ++i;
            if (k >= def->levels.size())
                continue;
            const ListLevel& named = def->levels[k];
            // A level above that has not begun counts as at its start.
            const int n = c[k] != 0 ? c[k] : named.start;
            out += formatListNumber(n, named.format);
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace model
