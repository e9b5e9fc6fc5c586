#pragma once
// Paper size codes of the printer settings: the sizes the page setup offers
// are sent as the printer's own paper, any other page as a user-defined
// paper (code 256) of the page's size. Sizes are twips; a page matches a
// paper when both its width and height are within 2 % of the paper's.

#include <QPageSize>

namespace PaperCode {

constexpr int kA4 = 9;
constexpr int kA5 = 11;
constexpr int kB5 = 13;
constexpr int kPostcard = 43;
constexpr int kLetter = 1;
constexpr int kUser = 256;

struct Paper {
    int code = kUser;
    // For code 256: the page's size in tenths of a millimetre (the unit of
    // the settings record); 0 for the named papers.
    int width = 0;
    int length = 0;
};

// The paper of a page `widthTw` x `heightTw` twips; a landscape page is
// compared with its sides exchanged.
Paper Of(int widthTw, int heightTw, bool landscape);

// The page size a paper stands for: the named size for a known code, else
// `width` x `length` tenths of a millimetre (portrait).
QPageSize PageSize(const Paper& paper);

// The code of a printer's page size (256 when it is none of ours), with the
// size in tenths of a millimetre for 256.
Paper FromPageSize(const QPageSize& size);

} // namespace PaperCode
