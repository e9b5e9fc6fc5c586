#pragma once
// The label layout without its dialog: the label sheet's fields, their
// checks, the one-line form a layout is listed and stored in, the size the
// page's printable area allows, and the frames a sheet is laid out as.
//
// Measures are millimetres; the editor's twips are 56.7 to the millimetre.

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

class yIni;

namespace LabelLayout {

constexpr double kTwipsPerMm = 56.7;

// The dialog's fields, with the values it opens with.
struct Fields {
    double W = 50; // label width
    double H = 40; // label height
    double Sx = 5; // horizontal gap between labels
    double Sy = 5; // vertical gap
    double T = 20; // top edge of the first row on the sheet
    double L = 20; // left edge of the first column on the sheet
    int R = 5;     // rows
    int C = 3;     // columns
    bool operator==(const Fields&) const = default;
};

// The editor's page in millimetres: margins, width and height.
struct Page {
    double PL = 0, PT = 0, PR = 0, PB = 0, PW = 0, PH = 0;
    static Page FromTwips(int left, int top, int right, int bottom, int width, int height);
};

// The fields in the order they are checked (the dialog indexes its fields
// by this order); None when all are good.
enum class Field { None, Wd, Hi, Lft, Top, Hrz, Vrt, Rws, Cls };

// The number a field's text holds: blanks skipped, full-width digits read as
// digits, the leading number taken (0 when there is none).
double NumberOf(const QString& text);

// The first field whose value cannot be laid out: a measure above 300 mm or
// below 0, a label width or height of 0, rows or columns outside 1..99 (the
// listed line holds two digits of each).
Field Check(const Fields& f);

// "0.0", rounded half away from zero, never "-0.0".
QString Format1(double v);
// A number in its shortest general form (50, 62.5).
QString General(double v);

// The listed and stored form of a layout:
// "【" count "面】" rows "行 *" columns "列 左" left " 上" top " 巾" width "(" gap-x
// ") 高" height "(" gap-y ")", counts right-aligned in 2 characters (the last
// two digits of a longer count), measures "0.0" right-aligned in 4, the gaps
// "0.0" unpadded. Layouts whose pieces fit keep fixed character columns; a
// wider piece (a gap of 10 mm or more, a measure of 100 mm or more) shifts
// the pieces after it, and ParseLine still reads it.
QString Line(const Fields& f);
// Reads a layout line back: by its pieces, or (a line that is not in the
// piece form) by the fixed character columns. nullopt when no rows and
// columns can be read from it.
std::optional<Fields> ParseLine(const QString& line);

// The stored layouts: group "LABEL", keys "LB_1".."LB_20", empty ones
// skipped, sorted ascending by binary comparison. Only that many are read
// back, so the list holds no more.
constexpr int kMaxLines = 20;
QStringList LoadList(yIni& ini);
// Writes `lines` in order to "LB_1", "LB_2", ... and empties the keys up to
// "LB_20" that no line fills now.
void SaveList(yIni& ini, const QStringList& lines);
void SortLines(QStringList& lines);

// What adding a layout makes of the fields.
struct Fit {
    enum class Ask { Nothing, Larger, Smaller };
    double L2 = 0, T2 = 0; // sheet margins raised to the page margins
    double Wc = 0, Hc = 0; // the size the printable area allows, "0.0"
    Ask ask = Ask::Nothing;
    QString question; // the question to ask (Yes/No), empty for Nothing
};
Fit FitToPage(const Fields& f, const Page& p);
// The fields as listed after the question's answer: for Larger, Yes takes
// the computed size; for Smaller, Yes keeps the fields' own size.
Fields Adjusted(const Fields& f, const Fit& fit, bool yes);
// Whether the listed layout differs from the fields as typed.
bool NeedsNotice(const Fields& typed, const Fields& listed);
// "現在の頁指定 左余白= ?mm ..." filled with the page values.
QString Notice(const Page& p);

// One label frame: position relative to the text area and size, twips.
struct Frame {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Frame&) const = default;
};
struct Sheet {
    QList<Frame> frames;   // row by row
    bool adjusted = false; // some label was clipped to the printable area
    int skipped = 0;       // labels wholly outside it, left out
};
// The label frames of a sheet, each clipped to the printable area.
Sheet Arrange(const Fields& f, const Page& p);

} // namespace LabelLayout
