#pragma once
// Formatted disk pages (FKPs) of character and paragraph properties and their
// bin tables.

#include <QByteArray>

#include <vector>

namespace msdoc::wr {

struct FcRun {
    quint32 fc;       // first byte of the run (characters) or the paragraph
    QByteArray props; // CHPX grpprl, or PAPX istd + grpprl
};

struct FkpResult {
    QByteArray pages;    // whole 512-byte pages, to be placed at a 512 boundary
    QByteArray binTable; // PlcBteChpx / PlcBtePapx, page numbers from firstPn
};

// `runs` are sorted and contiguous; `fcEnd` closes the last one.
FkpResult chpxFkps(const std::vector<FcRun>& runs, quint32 fcEnd, quint32 firstPn);
FkpResult papxFkps(const std::vector<FcRun>& paras, quint32 fcEnd, quint32 firstPn);

} // namespace msdoc::wr
