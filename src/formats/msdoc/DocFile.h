#pragma once
// The structures of a Word 97-2003 file the reader needs: FIB, streams,
// piece table, property FKPs, style sheet and fonts. Every offset and count
// read from the file is checked before use.

#include "Budget.h"
#include "Properties.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace msdoc::rd {

struct Piece {
    int cpStart = 0, cpEnd = 0;
    quint32 fc = 0;
    bool compressed = false;
    QByteArray prmGrpprl; // properties the piece adds (fast-saved files)
};

struct PropRun {
    quint32 fcStart = 0, fcEnd = 0;
    int istd = 0; // paragraph runs
    QByteArray grpprl;
};

struct Style {
    bool present = false;
    int stk = 1; // 1 paragraph, 2 character, 3 table, 4 numbering
    int istdBase = 0xFFF;
    QString name;
    QByteArray papx; // grpprl
    QByteArray chpx;
    bool resolved = false;
    bool resolving = false;
    Pap pap;
    Chp chp;
};

class DocFile {
public:
    static std::optional<DocFile> open(const QByteArray& bytes, QString* error);

    // Text of the character positions [cpStart, cpEnd), one QChar per CP.
    const QString& text() const { return allText; }
    int ccpText = 0, ccpFtn = 0, ccpHdd = 0, ccpAtn = 0, ccpEdn = 0, ccpTxbx = 0, ccpHdrTxbx = 0;

    // Properties of the character at cp / of the paragraph whose mark is at cp.
    const PropRun* chpxAt(int cp) const;
    const PropRun* papxAt(int cp) const;
    const Piece* pieceAt(int cp) const;
    quint32 fcOf(const Piece& p, int cp) const {
        return p.fc + quint32(cp - p.cpStart) * (p.compressed ? 1 : 2);
    }

    // Resolved style properties (defaults for unknown styles).
    const Pap& stylePap(int istd);
    const Chp& styleChp(int istd);
    // `chp` with the character style `istd` laid over it: the properties of
    // the style and of the character styles it is based on, from the first
    // base on. A style that is missing or not a character style adds nothing.
    Chp withCharStyle(const Chp& chp, int istd) const;
    QString styleName(int istd) const;

    // The FibRgFcLcb97 entry `index`, as a slice of the table stream (empty
    // when absent or out of range).
    QByteArray tableSlice(int index) const;
    std::pair<quint32, quint32> fcLcb(int index) const;

    QByteArray wordDocument, table, data;
    QByteArray fieldKinds; // the editor's field kinds, when this program wrote the file
    PropertyContext props;
    int lid = 0;
    // What reading this file may still build (see Budget.h).
    Budget budget;

private:
    bool readPieces(QString* error);
    void readFkps(int binIndex, bool paragraphs, std::vector<PropRun>& out);
    void readStyles();
    void readFonts();
    void resolve(int istd, int depth);

    std::vector<Piece> pieces;
    std::vector<PropRun> chpxRuns, papxRuns;
    std::vector<Style> styles;
    std::vector<std::pair<quint32, quint32>> fcLcbs;
    QString allText;
    Chp defaultChp;
    Pap defaultPap;
    int ftcAsciiDefault = 0, ftcFeDefault = 0, ftcOtherDefault = 0;
};

} // namespace msdoc::rd
