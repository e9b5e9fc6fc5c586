#pragma once
// The sizes and places of the picture-size window (sbWmf), in twips: the
// picture's size for the text width with the shrink message, where the
// window opens, and where its picture and buttons go on a resize. Plain
// values, no widgets.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace sbWmfLayout {

inline constexpr int kExtraWidth = 500;  // window width beyond the picture
inline constexpr int kExtraHeight = 920; // window height beyond the picture
inline constexpr int kMinSide = 15;      // one pixel

struct Fit {
    QSize size; // the picture's size to show (twips)
    bool shrunk = false;
    QString message; // the message telling the user, when shrunk
};

// A picture of `natural` twips fitted to `nMaxWd` (below 1: no limit). A
// narrower picture is never enlarged.
Fit FitWidth(QSize natural, int nMaxWd);

// `ratio` with the pattern "#.0%": 0.4 -> "40.0%", 0.004 -> ".4%".
QString Percent(double ratio);

// The window's rectangle for a picture of `pic` twips opened at the mouse
// position `mouse`: centred on the mouse, moved left or up so that it does
// not pass the main window's right and bottom edges, then fitted into the
// work area `workArea` (never outside it, never of negative size).
QRect Place(QSize pic, QPoint mouse, const QRect& mainWindow, const QRect& workArea);

struct Arrangement {
    QRect image;
    QRect ok;
    QRect cancel;
};
// Where the picture and the two buttons go in a window whose inside is
// `inner` twips, for buttons of `button` twips.
Arrangement Arrange(QSize inner, QSize button);

} // namespace sbWmfLayout
