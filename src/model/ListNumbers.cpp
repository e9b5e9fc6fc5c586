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

// Japanese numerals: units of ten, hundred and thousand within a group of
// four digits, and the ten-thousands written as groups before 万 (萬).
struct Numerals {
    const char16_t* digits; // 1 .. 9
    const char16_t* units;  // 十 百 千
    char16_t myriad;        // 万
    bool writeOne;          // 1 before a unit ("壱拾" rather than "十")
};

QString group(int n, const Numerals& nm) {
    QString out;
    static const int scale[] = {1000, 100, 10};
    for (int k = 0; k < 3; ++k) {
        const int d = n / scale[k] % 10;
        if (d == 0)
            continue;
        if (d > 1 || nm.writeOne)
            out += QChar(nm.digits[d - 1]);
        out += QChar(nm.units[2 - k]);
    }
    if (n % 10)
        out += QChar(nm.digits[n % 10 - 1]);
    return out;
}

QString japanese(int n, const Numerals& nm) {
    QString out;
    // The ten-thousands are a group of their own before 万 ("一万", "十二万").
    if (n >= 10000)
        out = group(n / 10000, nm) + QChar(nm.myriad);
    return out + group(n % 10000, nm);
}

const Numerals kCounting{u"一二三四五六七八九", u"十百千", u'万', false};
const Numerals kLegal{u"壱弐参四伍六七八九", u"拾百阡", u'萬', true};

} // namespace

QString bulletCharacter(const ListLevel& level) {
    const QString& text = level.text;
    const QChar bullet(0x2022);
    if (text.isEmpty())
        return QString(bullet);
    const char16_t c = text[0].unicode();
    if (text.size() != 1 || c < 0xF000 || c > 0xF0FF)
        return text;
    // A symbol font's character, stored in the private use area at 0xF000
    // plus its code in the font: the common ones of Word's bullet menu.
    if (level.font.contains(QLatin1String("Wingdings"), Qt::CaseInsensitive)) {
        switch (c - 0xF000) {
        case 0x6C:
            return QStringLiteral("\u25CF"); // ●
        case 0x6E:
            return QStringLiteral("\u25A0"); // ■
        case 0x71:
            return QStringLiteral("\u2751"); // ❑
        case 0x76:
            return QStringLiteral("\u2756"); // ❖
        case 0xA7:
            return QStringLiteral("\u25AA"); // ▪
        case 0xD8:
            return QStringLiteral("\u27A2"); // ➢
        case 0xFC:
            return QStringLiteral("\u2713"); // ✓
        default:
            break;
        }
    }
    if (level.font.contains(QLatin1String("Symbol"), Qt::CaseInsensitive) && c == 0xF0A8)
        return QStringLiteral("\u2666"); // ♦
    return QString(bullet);
}

QString formatListNumber(int n, NumberFormat format) {
    if (n < 1 && format != NumberFormat::Decimal && format != NumberFormat::DecimalFullWidth &&
        format != NumberFormat::IdeographDigital)
        n = 1;
    switch (format) {
    case NumberFormat::DecimalEnclosedCircle:
        // Numbers past the circled ones are plain, as in Word.
        return n <= 20 ? QString(QChar(char16_t(0x2460 + n - 1))) : QString::number(n);
    case NumberFormat::JapaneseCounting:
        return n < 100000000 ? japanese(n, kCounting) : QString::number(n);
    case NumberFormat::JapaneseLegal:
        return n < 100000000 ? japanese(n, kLegal) : QString::number(n);
    case NumberFormat::IdeographDigital: {
        QString s = QString::number(n);
        static const char16_t digits[] = u"〇一二三四五六七八九";
        for (QChar& c : s)
            if (c.isDigit())
                c = QChar(digits[c.unicode() - u'0']);
        return s;
    }
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

int wordNumberCode(NumberFormat format) {
    switch (format) {
    case NumberFormat::Decimal:
        return 0;
    case NumberFormat::UpperRoman:
        return 1;
    case NumberFormat::LowerRoman:
        return 2;
    case NumberFormat::UpperLetter:
        return 3;
    case NumberFormat::LowerLetter:
        return 4;
    case NumberFormat::IdeographDigital:
        return 10;
    case NumberFormat::JapaneseCounting:
        return 11;
    case NumberFormat::Aiueo:
        return 12;
    case NumberFormat::Iroha:
        return 13;
    case NumberFormat::DecimalFullWidth:
        return 14;
    case NumberFormat::JapaneseLegal:
        return 16;
    case NumberFormat::DecimalEnclosedCircle:
        return 18;
    case NumberFormat::Bullet:
        return 23;
    case NumberFormat::None:
        return 255;
    }
    return 0;
}

NumberFormat numberFormatOfWordCode(int code) {
    switch (code) {
    case 1:
        return NumberFormat::UpperRoman;
    case 2:
        return NumberFormat::LowerRoman;
    case 3:
        return NumberFormat::UpperLetter;
    case 4:
        return NumberFormat::LowerLetter;
    case 10:
        return NumberFormat::IdeographDigital;
    case 11:
    case 17: // counting with the ten-thousands as digits: nearest is counting
        return NumberFormat::JapaneseCounting;
    case 12:
    case 20:
        return NumberFormat::Aiueo;
    case 13:
    case 21:
        return NumberFormat::Iroha;
    case 14:
    case 19:
        return NumberFormat::DecimalFullWidth;
    case 16:
        return NumberFormat::JapaneseLegal;
    case 18:
    case 28: // the same circled digits in the Chinese set
        return NumberFormat::DecimalEnclosedCircle;
    case 23:
        return NumberFormat::Bullet;
    case 255:
        return NumberFormat::None;
    default:
        return NumberFormat::Decimal;
    }
}

QString ListNumbering::next(const ParaFormat& format) {
    const ListLabel l = nextLabel(format);
    return l.prefix + l.number + l.suffix;
}

ListLabel ListNumbering::nextLabel(const ParaFormat& format) {
    if (format.listId <= 0)
        return {};
    const ListDef* def = doc.list(format.listId);
    const int level = format.listLevel;
    if (!def || level < 0 || level >= int(def->levels.size()) || level >= 9)
        return {};
    const ListLevel& own = def->levels[size_t(level)];
    if (own.format == NumberFormat::Bullet)
        return {{}, bulletCharacter(own), {}, true};
    auto [it, fresh] = counters.try_emplace(format.listId);
    std::array<int, 9>& c = it->second;
    if (fresh)
        c.fill(0);
    c[size_t(level)] = c[size_t(level)] == 0 ? own.start : c[size_t(level)] + 1;
    for (size_t k = size_t(level) + 1; k < c.size(); ++k)
        c[k] = 0;
    ListLabel out;
    QString* part = &out.prefix;
    const QString& text = own.text;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 1 < text.size() && text[i + 1] >= u'1' && text[i + 1] <= u'9') {
            const size_t k = size_t(text[i + 1].unicode() - u'1');
            ++i;
            if (k >= def->levels.size())
                continue;
            const ListLevel& named = def->levels[k];
            // A level above that has not begun counts as at its start.
            const QString n = formatListNumber(c[k] != 0 ? c[k] : named.start, named.format);
            if (k == size_t(level) && part == &out.prefix) {
                out.number = n;
                out.numbered = true;
                part = &out.suffix;
            } else {
                *part += n;
            }
        } else {
            *part += text[i];
        }
    }
    return out;
}

} // namespace model
