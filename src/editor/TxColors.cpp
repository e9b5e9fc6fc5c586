#include "TxColors.h"
#include "Format.h"

namespace TxColor {

const std::vector<Item>& Items() {
    static const std::vector<Item> items = {
        {1, QStringLiteral("Bk"), QStringLiteral("Black"), QColor(0, 0, 0)},
        {2, QStringLiteral("Gy"), QStringLiteral("Gray"), QColor(128, 128, 128)},
        {3, QStringLiteral("Br"), QStringLiteral("Brown"), QColor(128, 0, 0)},
        {4, QStringLiteral("Nv"), QStringLiteral("Navy"), QColor(0, 0, 128)},
        {5, QStringLiteral("Bl"), QStringLiteral("Blue"), QColor(0, 0, 255)},
        {6, QStringLiteral("Rd"), QStringLiteral("Red"), QColor(255, 0, 0)},
        {7, QStringLiteral("Gr"), QStringLiteral("Green"), QColor(0, 255, 0)},
        {8, QStringLiteral("Yw"), QStringLiteral("Yellow"), QColor(255, 255, 0)},
        {9, QStringLiteral("Pr"), QStringLiteral("Purple"), QColor(128, 0, 128)},
        {10, QStringLiteral("Wh"), QStringLiteral("White"), QColor(255, 255, 255)},
    };
    return items;
}

QString ForeCaption() {
    return QStringLiteral("文字色");
}
QString BackCaption() {
    return QStringLiteral("背景色");
}

QString ForeTip(const QString& itemText) {
    return QStringLiteral("文字色(") + itemText + QStringLiteral(")を設定します");
}
QString BackTip(const QString& itemText) {
    return QStringLiteral("文字背景色(") + itemText + QStringLiteral(")を設定します");
}

int ToValue(const QColor& c) {
    return int(model::rgb(c.red(), c.green(), c.blue()));
}
QColor FromValue(int value) {
    const auto v = model::Color(value);
    return QColor(model::red(v), model::green(v), model::blue(v));
}

} // namespace TxColor
