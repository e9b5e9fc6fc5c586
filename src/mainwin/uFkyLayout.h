#pragma once
// Where the function-key bar puts its keys and message panel, in twips, for
// the bar's inner size W x H and the key strip's layout string.

#include <QRect>
#include <QString>

struct uFkyLayout {
    bool bPanel = false; // whether the message panel is shown
    QRect rcKeys;
    QRect rcPanel; // empty when the panel is hidden
};

// The layout string of a strip of three groups of four keys; with it the bar
// has no message panel.
inline const QString kFullGroupLayout = QStringLiteral("4|4|4");

// Keys above the panel when the bar is at least 500 twips high; keys in the
// left 72 % beside it when it is wider than 10000 twips; keys only otherwise.
uFkyLayout uFkyLayoutFor(int W, int H, const QString& sLayout);
