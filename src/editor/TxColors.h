#pragma once
// The two colour lists of the format frame (font colour imFcr, text
// background imBcr): ten items with index, key, text and colour, and the
// tips of their apply buttons.

#include <QColor>
#include <QString>
#include <vector>

namespace TxColor {

struct Item {
    int index;   // 1-based, as the lists count
    QString key; // also the key of the item's image
    QString text;
    QColor color;
};

// The ten items, in list order.
const std::vector<Item>& Items();

// The list texts shown while no colour is chosen: "文字色" and "背景色".
QString ForeCaption();
QString BackCaption();

// Tips of cmFcr / cmBcr once an item is chosen.
QString ForeTip(const QString& itemText);
QString BackTip(const QString& itemText);

// A platform colour value (red + 256 green + 65536 blue).
int ToValue(const QColor& c);
QColor FromValue(int value);

} // namespace TxColor
