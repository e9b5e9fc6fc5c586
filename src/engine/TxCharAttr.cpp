#include "TxCharAttr.h"

#include "TxProps.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>

namespace txattr {

int underlineKind(const QTextCharFormat& f) {
    if (f.hasProperty(txp::UnderlineKind))
        return f.intProperty(txp::UnderlineKind);
    switch (f.underlineStyle()) {
    case QTextCharFormat::NoUnderline:
        return f.fontUnderline() ? 1 : 0;
    case QTextCharFormat::DotLine:
        return 4;
    case QTextCharFormat::DashUnderline:
    case QTextCharFormat::DashDotLine:
    case QTextCharFormat::DashDotDotLine:
        return 6;
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline:
        return 7;
    default:
        return 1;
    }
}

void setUnderlineKind(QTextCharFormat& f, int kind) {
    kind = std::clamp(kind, 0, 7);
    f.setProperty(txp::UnderlineKind, kind);
    switch (kind) {
    case 0:
        f.setUnderlineStyle(QTextCharFormat::NoUnderline);
        break;
    case 4:
        f.setUnderlineStyle(QTextCharFormat::DotLine);
        break;
    case 6:
        f.setUnderlineStyle(QTextCharFormat::DashUnderline);
        break;
    case 7:
        f.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        break;
    default:
        f.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    }
}

int get(const QTextCharFormat& f, int n) {
    switch (n) {
    case 1:
        return underlineKind(f);
    case 2:
        switch (f.verticalAlignment()) {
        case QTextCharFormat::AlignSuperScript:
            return 1;
        case QTextCharFormat::AlignSubScript:
            return 2;
        default:
            return 0;
        }
    case 3:
        return f.intProperty(txp::Spacing);
    case 4:
        return f.intProperty(txp::Kerning);
    default:
        return 0;
    }
}

bool set(QTextCharFormat& f, int n, int value) {
    switch (n) {
    case 1:
        setUnderlineKind(f, value);
        return true;
    case 2:
        f.setVerticalAlignment(value == 1   ? QTextCharFormat::AlignSuperScript
                               : value == 2 ? QTextCharFormat::AlignSubScript
                                            : QTextCharFormat::AlignNormal);
        return true;
    case 3:
        f.setProperty(txp::Spacing, value);
        f.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        f.setFontLetterSpacing(txp::px(value));
        return true;
    case 4:
        // Kept for the files; Qt kerns by the font's own tables.
        f.setProperty(txp::Kerning, value);
        return true;
    default:
        return false;
    }
}

int alignmentValue(const QTextBlockFormat& b) {
    const Qt::Alignment a = b.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        return 1;
    if (a & Qt::AlignRight)
        return 2;
    if (a & Qt::AlignJustify)
        return b.boolProperty(txp::Distribute) ? 4 : 3;
    return 0;
}

void setAlignmentValue(QTextBlockFormat& b, int value) {
    static const Qt::Alignment kAlign[] = {Qt::AlignLeft | Qt::AlignAbsolute, Qt::AlignHCenter,
                                           Qt::AlignRight | Qt::AlignAbsolute, Qt::AlignJustify,
                                           Qt::AlignJustify};
    value = std::clamp(value, 0, 4);
    b.setAlignment(kAlign[value]);
    b.setProperty(txp::Distribute, value == 4);
}

int lineRule(const QTextBlockFormat& b) {
    if (b.hasProperty(txp::LineRule))
        return b.intProperty(txp::LineRule);
    switch (b.lineHeightType()) {
    case QTextBlockFormat::MinimumHeight:
        return 1;
    case QTextBlockFormat::FixedHeight:
        return 2;
    default:
        return 0;
    }
}

int lineValue(const QTextBlockFormat& b) {
    if (b.hasProperty(txp::LineValue))
        return b.intProperty(txp::LineValue);
    switch (b.lineHeightType()) {
    case QTextBlockFormat::MinimumHeight:
    case QTextBlockFormat::FixedHeight:
        return txp::twips(b.lineHeight());
    case QTextBlockFormat::ProportionalHeight:
        return qRound(b.lineHeight() * 2.4);
    default:
        return 240;
    }
}

void setLineSpacing(QTextBlockFormat& b, int rule, int value) {
    b.setProperty(txp::LineRule, rule);
    b.setProperty(txp::LineValue, value);
    switch (rule) {
    case 1:
        b.setLineHeight(txp::px(value), QTextBlockFormat::MinimumHeight);
        break;
    case 2:
        b.setLineHeight(txp::px(value), QTextBlockFormat::FixedHeight);
        break;
    default:
        if (value == 240 || value <= 0)
            b.setLineHeight(0, QTextBlockFormat::SingleHeight);
        else
            b.setLineHeight(value / 2.4, QTextBlockFormat::ProportionalHeight);
    }
}

void setTabs(QTextBlockFormat& b, const QVariantList& stops) {
    QList<QTextOption::Tab> qtabs;
    for (const QVariant& v : stops) {
        const QVariantList t = v.toList();
        if (t.size() != 3)
            continue;
        QTextOption::TabType type = QTextOption::LeftTab;
        switch (t[1].toInt()) {
        case 1:
            type = QTextOption::CenterTab;
            break;
        case 2:
            type = QTextOption::RightTab;
            break;
        case 3:
            type = QTextOption::DelimiterTab;
            break;
        default:
            break;
        }
        qtabs << QTextOption::Tab(txp::px(t[0].toInt()), type, QChar(u'.'));
    }
    b.setProperty(txp::TabStops, stops);
    b.setTabPositions(qtabs);
}

QVariantList tabs(QTextBlockFormat& b, bool take) {
    QVariantList stops = b.property(txp::TabStops).toList();
    if (!b.hasProperty(txp::TabStops)) {
        for (const QTextOption::Tab& t : b.tabPositions()) {
            const int align = t.type == QTextOption::CenterTab      ? 1
                              : t.type == QTextOption::RightTab     ? 2
                              : t.type == QTextOption::DelimiterTab ? 3
                                                                    : 0;
            stops << QVariant(QVariantList{txp::twips(t.position), align, 0});
        }
    }
    if (take)
        b.clearProperty(QTextFormat::TabPositions);
    return stops;
}

} // namespace txattr
