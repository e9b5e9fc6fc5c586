#pragma once
// The page setup's plain logic: the table of standard papers, the
// conversions between twips and the centimetre texts the dialog shows, the
// recognition of a paper from a page size, the default margins of a paper,
// the preview rectangle and the check of the six values before they are
// applied. No widgets here.

#include <QRect>
#include <QString>

#include <array>
#include <optional>

namespace PaperSize {

// Twips per centimetre in the page setup dialog.
inline constexpr double kTwipsPerCm = 567.0;

// One standard paper, portrait, in twips.
struct Paper {
    const char* listText; // UTF-8, exactly as the list shows it
    int width;
    int height;
};

inline constexpr int kPapers = 15;
// The list entry for any other size, after the standard papers.
inline constexpr int kUserDefined = kPapers;
const std::array<Paper, kPapers>& Papers();
// The list's sixteen texts: the papers in order, then "ﾕｰｻﾞｰ定義".
QString ListText(int entry);

// Largest page the dialog accepts, twips (29.70 cm by 59.40 cm).
inline constexpr int kMaxWidth = 16840;
inline constexpr int kMaxHeight = 33680;
// A page within this distance of a standard paper, in each dimension, is
// that paper: 1 mm. Documents written elsewhere give A4 as 11906 x 16838.
inline constexpr int kMatchTolerance = 56;

// Twips to the dialog's text: centimetres with two decimals ("21.00").
QString sTwpsDlg(double twips);
// The dialog's text to twips: "," reads as ".", the leading number of the
// text is taken (none reads as 0), times 567, rounded half to even.
// Full-width digits, as the input method types them, read as digits.
// nullopt when the number does not fit a page measure.
std::optional<int> nDlgTwps(const QString& text);

// The standard paper (0..14) a page of `width` x `height` twips is, taking
// the paper turned sideways in landscape (the width then is the paper's
// height); kUserDefined when none is within kMatchTolerance. The nearest
// paper wins.
int MatchPaper(int width, int height, bool landscape);

// The paper of a page being opened and its orientation: landscape when the
// page is lower than wide, unless it is a standard paper the other way round
// (the return postcard is wider than high upright, so a page of it lying
// wide is that paper upright, and one standing tall is it sideways).
struct Recognised {
    int entry = kUserDefined;
    bool landscape = false;
    bool operator==(const Recognised&) const = default;
};
Recognised Recognise(int width, int height);

// The six values of the dialog, twips.
struct Page {
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Page&) const = default;
};

// The six field texts of the dialog.
struct Texts {
    QString width, height, left, top, right, bottom;
    bool operator==(const Texts&) const = default;
};

// The texts for standard paper `entry` in that orientation: its size, and
// margins of a tenth of the paper (left and right a tenth of its portrait
// width, top and bottom a tenth of its portrait height, in both
// orientations).
Texts PaperTexts(int entry, bool landscape);

// The texts of a page, each through sTwpsDlg.
Texts PageTexts(const Page& page);

// Reads the six texts; nullopt when one does not convert.
std::optional<Page> ReadTexts(const Texts& texts);

// Whether the values may be applied: each margin between 0 and its
// dimension, the size above 0 and at most kMaxWidth x kMaxHeight.
bool Valid(const Page& page);

// The preview rectangle, twips, for a paper of `widthCm` x `heightCm`:
// (w x 1000 / 37) x (h x 1000 / 37), centred in an area of
// kPreviewWidth x kPreviewHeight twips (so it may reach outside it).
QRect PreviewRect(double widthCm, double heightCm);
inline constexpr int kPreviewWidth = 3500;
inline constexpr int kPreviewHeight = 1000;

// The number a field shows, for the preview and the orientation test
// (same reading as nDlgTwps, in centimetres; 0 when none).
double FieldNumber(const QString& text);

} // namespace PaperSize
