#pragma once
// Label frames over the engine: the numbering lists of a fill phase (text
// frames and kind-1 fields in enumeration order), the numbered copy the
// page view previews, and the text frames that split a page into bands.

#include <QList>
#include <QRect>
#include <QString>

class TxEngine;

namespace TxLabel {

// The comma-separated ids of every kind-1 field (data-field placeholders
// and link markers) of the engine's active part, in enumeration order.
QString FieldList(const TxEngine& tx);
// The comma-separated ids of every text frame, each formatted "00000".
QString FrameList(const TxEngine& tx);
// The id at 1-based place `n` of such a list; 0 when there is none.
int IdAt(const QString& list, int n);

// Gives each data-field placeholder the caption "FD:" + its place in the
// field list and each text frame the text "TF:" + its place in the frame
// list: the numbers the fill calls take.
void Number(TxEngine& tx);

// The frames (page positions and sizes, twips) that split a page of the
// given size and margins into `bands` equal bands, each frame inside its
// own band's margins. Empty when a band leaves no room between the top and
// bottom margins, or the margins no width.
QList<QRect> Bands(int pageWidth, int pageHeight, int left, int top, int right, int bottom,
                   int bands);

} // namespace TxLabel
