#pragma once
// The answer texts of the dialog's small pages, read and written, and the
// zoom rule of the display page. Plain values, no widgets.

#include "TxStyles.h"

#include <QString>
#include <optional>

namespace TxmAns {

// "IM": "ON" or "OFF", TAB, one of "確認", "上書", "無視". An empty answer or
// one without TAB reads as OFF and 確認; an unknown save word as 確認.
struct Ime {
    bool on = false;
    int save = 0; // 0 確認 (ask), 1 上書 (save), 2 無視 (neither)
    bool operator==(const Ime&) const = default;
};
Ime ReadIme(const QString& sAns);
QString ImeText(const Ime& im);

// "TF": two digits, the layout of inserted pictures (1..4) then the colour
// reduction of pasted pictures (0..2). One character is the layout alone; a
// layout outside 1..4 becomes 1, a reduction outside 0..2 becomes 0.
struct Layout {
    int flow = 1;
    int color = 0;
    bool operator==(const Layout&) const = default;
};
Layout ReadLayout(const QString& sAns);
QString LayoutText(const Layout& l);
// Whether an answer is one the page writes (two digits in range), so the
// caller does not read anything else into its settings.
bool IsLayoutText(const QString& sAns);

// "LK": caption, TAB, target. The caption loses every character 1 (the
// engine's object placeholder) and is trimmed; without a TAB the whole text
// is the caption.
struct Link {
    QString caption;
    QString target;
    bool operator==(const Link&) const = default;
};
Link ReadLink(const QString& sAns);
QString LinkText(const Link& l);

// "DP": zoom limits.
inline constexpr int kZoomMin = 10;
inline constexpr int kZoomMax = 400;
int ClampZoom(int percent);
// The zoom that fits the page into the editor: the whole page (the smaller
// of the width and height ratios) or the page width, each x 97 %. Sizes in
// twips. Nothing when a page size needed is not positive.
std::optional<int> FitZoom(double editorWidth, double editorHeight, double pageWidth,
                           double pageHeight, bool wholePage);

// "US": the heading sizes must fall from 見出１ to 見出３, 見出３ not below
// 本文 and 強調 nor below 10 points. When they do not, they are set again
// from 本文 and 強調 (both at most 12) and true is returned; the caller tells
// the user. In every case 補足 takes the font of 本文 and a white background.
bool FixHeadingSizes(TxStyle::Table& t);

} // namespace TxmAns
