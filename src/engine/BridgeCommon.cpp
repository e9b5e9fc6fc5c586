#include "BridgeCommon.h"

#include "TxProps.h"

namespace bridge {

QColor toQColor(model::Color c) {
    return QColor(model::red(c), model::green(c), model::blue(c));
}

model::Color fromQColor(const QColor& c) {
    return model::rgb(c.red(), c.green(), c.blue());
}

QTextListFormat::Style listStyle(model::NumberFormat f) {
    switch (f) {
    case model::NumberFormat::Bullet:
        return QTextListFormat::ListDisc;
    case model::NumberFormat::UpperRoman:
        return QTextListFormat::ListUpperRoman;
    case model::NumberFormat::LowerRoman:
        return QTextListFormat::ListLowerRoman;
    case model::NumberFormat::UpperLetter:
        return QTextListFormat::ListUpperAlpha;
    case model::NumberFormat::LowerLetter:
        return QTextListFormat::ListLowerAlpha;
    default:
        return QTextListFormat::ListDecimal;
    }
}

bool qtDrawsNumbers(model::NumberFormat f) {
    return f == model::NumberFormat::Decimal ||
           (f != model::NumberFormat::Bullet && listStyle(f) != QTextListFormat::ListDecimal);
}

TxBorder toTx(const model::Border& b) {
    return TxBorder{int(b.style), b.width, b.color, b.space};
}

model::Border fromTx(const TxBorder& b) {
    model::Border out;
    out.style = model::BorderStyle(b.style);
    out.width = b.width;
    out.color = b.color;
    out.space = b.space;
    return out;
}

TxPageSetup toTx(const model::PageSetup& p) {
    TxPageSetup t;
    t.width = p.width;
    t.height = p.height;
    t.marginLeft = p.marginLeft;
    t.marginTop = p.marginTop;
    t.marginRight = p.marginRight;
    t.marginBottom = p.marginBottom;
    t.headerDistance = p.headerDistance;
    t.footerDistance = p.footerDistance;
    t.landscape = p.orientation == model::Orientation::Landscape;
    return t;
}

model::PageSetup fromTx(const TxPageSetup& t) {
    model::PageSetup p;
    p.width = t.width;
    p.height = t.height;
    p.marginLeft = t.marginLeft;
    p.marginTop = t.marginTop;
    p.marginRight = t.marginRight;
    p.marginBottom = t.marginBottom;
    p.headerDistance = t.headerDistance;
    p.footerDistance = t.footerDistance;
    p.orientation = t.landscape ? model::Orientation::Landscape : model::Orientation::Portrait;
    return p;
}

TxListDef toTx(const model::ListDef& l) {
    TxListDef t;
    t.id = l.id;
    for (const model::ListLevel& lv : l.levels)
        t.levels.push_back({int(lv.format), lv.text, lv.start, lv.indent, lv.hanging, lv.font});
    return t;
}

model::ListDef fromTx(const TxListDef& t) {
    model::ListDef l;
    l.id = t.id;
    for (const TxListLevel& lv : t.levels) {
        model::ListLevel m;
        m.format = model::NumberFormat(lv.format);
        m.text = lv.text;
        m.start = lv.start;
        m.indent = lv.indent;
        m.hanging = lv.hanging;
        m.font = lv.font;
        l.levels.push_back(m);
    }
    return l;
}

namespace {

QVariantList borderList(const model::Border& b) {
    return {int(b.style), b.width, b.color, b.space};
}

model::Border borderFrom(const QVariant& v) {
    const QVariantList l = v.toList();
    model::Border b;
    if (l.size() == 4) {
        b.style = model::BorderStyle(l[0].toInt());
        b.width = l[1].toInt();
        b.color = l[2].toUInt();
        b.space = l[3].toInt();
    }
    return b;
}

} // namespace

QVariantMap cellProps(const model::TableCell& c) {
    QVariantMap m;
    m.insert(QStringLiteral("w"), c.width);
    m.insert(QStringLiteral("hm"), int(c.horizontalMerge));
    m.insert(QStringLiteral("vm"), int(c.verticalMerge));
    m.insert(QStringLiteral("bt"), borderList(c.top));
    m.insert(QStringLiteral("bl"), borderList(c.left));
    m.insert(QStringLiteral("bb"), borderList(c.bottom));
    m.insert(QStringLiteral("br"), borderList(c.right));
    m.insert(QStringLiteral("sh"), c.shading);
    m.insert(QStringLiteral("va"), int(c.valign));
    return m;
}

model::TableCell cellFromProps(const QVariantMap& m) {
    model::TableCell c;
    c.width = m.value(QStringLiteral("w")).toInt();
    c.horizontalMerge = model::Merge(m.value(QStringLiteral("hm")).toInt());
    c.verticalMerge = model::Merge(m.value(QStringLiteral("vm")).toInt());
    c.top = borderFrom(m.value(QStringLiteral("bt")));
    c.left = borderFrom(m.value(QStringLiteral("bl")));
    c.bottom = borderFrom(m.value(QStringLiteral("bb")));
    c.right = borderFrom(m.value(QStringLiteral("br")));
    c.shading = m.value(QStringLiteral("sh"), model::kAutoColor).toUInt();
    c.valign = model::CellVerticalAlign(m.value(QStringLiteral("va")).toInt());
    return c;
}

QTextTableCellFormat cellFormat(const model::TableCell& c) {
    QTextTableCellFormat f;
    f.setProperty(txp::CellProps, cellProps(c));
    if (c.shading != model::kAutoColor)
        f.setBackground(toQColor(c.shading));
    if (c.valign == model::CellVerticalAlign::Center)
        f.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    else if (c.valign == model::CellVerticalAlign::Bottom)
        f.setVerticalAlignment(QTextCharFormat::AlignBottom);
    auto side = [&](const model::Border& b, auto setWidth, auto setStyle, auto setBrush) {
        if (b.isNone())
            return;
        (f.*setWidth)(std::max(0.75, txp::px(b.width)));
        (f.*setStyle)(b.style == model::BorderStyle::Dotted   ? QTextFrameFormat::BorderStyle_Dotted
                      : b.style == model::BorderStyle::Dashed ? QTextFrameFormat::BorderStyle_Dashed
                      : b.style == model::BorderStyle::Double
                          ? QTextFrameFormat::BorderStyle_Double
                          : QTextFrameFormat::BorderStyle_Solid);
        (f.*setBrush)(b.color == model::kAutoColor ? QBrush(Qt::black) : QBrush(toQColor(b.color)));
    };
    side(c.top, &QTextTableCellFormat::setTopBorder, &QTextTableCellFormat::setTopBorderStyle,
         &QTextTableCellFormat::setTopBorderBrush);
    side(c.left, &QTextTableCellFormat::setLeftBorder, &QTextTableCellFormat::setLeftBorderStyle,
         &QTextTableCellFormat::setLeftBorderBrush);
    side(c.bottom, &QTextTableCellFormat::setBottomBorder,
         &QTextTableCellFormat::setBottomBorderStyle, &QTextTableCellFormat::setBottomBorderBrush);
    side(c.right, &QTextTableCellFormat::setRightBorder, &QTextTableCellFormat::setRightBorderStyle,
         &QTextTableCellFormat::setRightBorderBrush);
    return f;
}

} // namespace bridge
