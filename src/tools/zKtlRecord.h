#pragma once
// The parameter record handed to the editors of the tool family: one binary
// record at offset 0 of the parameter file. Text fields are fixed width in
// the ANSI code page (CP932), left-aligned and padded with spaces; integers
// are little-endian. The image editor's record carries a requested size and
// two flags; the graph and chart editors' record has one flag. No widgets.

#include <QByteArray>
#include <QString>

#include <optional>

namespace zKtlRec {

inline constexpr int kPathWidth = 255;
inline constexpr int kPatternWidth = 10;
// Image editor: 255 + 10 + 255 + 4 + 4 + 2 + 2.
inline constexpr int kImageSize = 532;
// Graph and chart editors: 255 + 10 + 255 + 2.
inline constexpr int kChartSize = 522;

enum class Kind { Image, Chart };

struct Record {
    Kind kind = Kind::Image;
    QString sSrc;      // source path
    QString sPattern;  // file pattern ("*.png", "*.bmp")
    QString sResult;   // result path: in the caller's, out the tool's
    qint32 nWidth = 0; // image editor only
    qint32 nHeight = 0;
    qint16 iFlag1 = 0; // image editor: bGf; graph and chart: bOk
    qint16 iFlag2 = 0; // image editor: bOk
    bool operator==(const Record&) const = default;
};

inline int SizeOf(Kind k) {
    return k == Kind::Image ? kImageSize : kChartSize;
}

// The record's bytes. nullopt when a text field does not fit its width or
// holds a character CP932 cannot represent: a cut or altered path would
// send the tool to another file.
std::optional<QByteArray> Encode(const Record& r);

// Reads a record of kind `k` from the start of `bytes`. Text fields are cut
// at their first NUL and trimmed of spaces. nullopt when the bytes are
// shorter than the record.
std::optional<Record> Decode(const QByteArray& bytes, Kind k);

} // namespace zKtlRec
