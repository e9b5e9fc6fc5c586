#pragma once
// The printer settings record kept in "Page.prndt": the printer chosen in
// the print or print-setup dialog and its settings, reused for the next
// print. The file is our own fixed-length binary record (little-endian):
//
//   0    device name, 128 bytes UTF-8, NUL-padded (empty: print to a file)
//   128  field mask (u32): 0x1 orientation, 0x2 paper size, 0x4 paper
//        length, 0x8 paper width, 0x10 scale, 0x100 copies, 0x200 paper
//        source, 0x400 print quality, 0x800 colour mode, 0x1000 duplex
//   132  "FPRN", version (u16), record size (u16)
//   140  orientation (1 portrait, 2 landscape), paper size code, paper
//        length and width (tenths of a millimetre, for code 256), scale
//        (percent), copies, paper source, print quality (dpi), colour mode
//        (1 monochrome, 2 colour), duplex (1 none, 2 long edge, 3 short
//        edge): ten i16
//   160  output file of a print to a file, 300 bytes UTF-8, NUL-padded
//   460  reserved (zero)
//   508  CRC-16 (ISO 3309) of bytes 0-507, as u32
//
// A file that is short, of another version or size, or whose check fails is
// no record: the caller asks the user again instead of printing with it.

#include <QByteArray>
#include <QString>

class QPrinter;

struct PrnRecord {
    enum Mask : quint32 {
        MOrientation = 0x1,
        MPaperSize = 0x2,
        MPaperLength = 0x4,
        MPaperWidth = 0x8,
        MScale = 0x10,
        MCopies = 0x100,
        MSource = 0x200,
        MQuality = 0x400,
        MColor = 0x800,
        MDuplex = 0x1000,
    };
    static constexpr int kSize = 512;
    static constexpr int kVersion = 1;

    QString device;
    quint32 mask = 0;
    int orientation = 1;
    int paperSize = 0;
    int paperLength = 0;
    int paperWidth = 0;
    int scale = 0;
    int copies = 1;
    int source = 0;
    int quality = 0;
    int color = 0;
    int duplex = 0;
    QString outputFile;

    bool operator==(const PrnRecord&) const = default;

    QByteArray toBytes() const;
    // False (and *out untouched) when `bytes` is no record of ours.
    static bool fromBytes(const QByteArray& bytes, PrnRecord* out);
    // Reads and checks the file; false when it is missing or no record.
    static bool load(const QString& path, PrnRecord* out);
    // Writes the file whole (replacing it); false when it cannot be written.
    bool save(const QString& path) const;

    // The current settings of `printer`: each property it reports adds its
    // mask bit.
    static PrnRecord capture(const QPrinter& printer);
    // Makes the recorded printer current: the installed printer whose name
    // matches (case-insensitive) or, for an empty name with an output file,
    // a print to that file; an unknown printer keeps the current one.
    void choosePrinter(QPrinter& printer) const;
    // Applies the recorded settings whose mask bit is set (paper, copies,
    // source, quality, colour, duplex); what the printer refuses is
    // skipped. The orientation is the caller's (the page's).
    void apply(QPrinter& printer) const;
};
