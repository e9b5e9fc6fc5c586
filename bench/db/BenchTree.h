#pragma once
// The benchmark's database content: a page tree of depth 5 over a given
// number of pages, one node of which has 1,000 children, and the titles,
// texts and bytes of its pages.

#include <QByteArray>
#include <QList>
#include <QString>
#include <random>

namespace BenchTree {

struct Place {
    int nNo;     // document number
    int nParent; // 0 for the top level
    int nSrt;    // position among its siblings
    int nDepth;  // 1 for the top level
};

// Places for `nPages` pages numbered from 1000: 10 top-level pages, 10
// children per page below them, except that the first page of the second
// level has 1,000 children; the fifth level shares out what is left.
QList<Place> Build(int nPages);
// The page with 1,000 children (0 when there are too few pages).
int BigParent(const QList<Place>& aTree);

// The two words of the find queries and how their pages are made.
inline constexpr char16_t kTitleWord1[] = u"報告";
inline constexpr char16_t kTitleWord2[] = u"Kyoto";
inline constexpr char16_t kTextWord1[] = u"議事録";
inline constexpr char16_t kTextWord2[] = u"budget";

QString Title(int nNo, std::mt19937_64& rng);
// About `nBytes` bytes of UTF-8: Japanese and Latin sentences.
QString Text(std::mt19937_64& rng, int nBytes = 2048);
QByteArray Bytes(std::mt19937_64& rng, int nBytes = 20 * 1024);

// Fills the document database at `path` with the tree of Build(nPages)
// through a connection of its own, in one transaction (building is not what
// is measured): texts of about `nTextBytes`, document bytes of `nDocBytes`.
// `textFn` makes the texts (Text unless given).
using TextFn = QString (*)(std::mt19937_64& rng, int nBytes);
bool Fill(const QString& path, int nPages, int nTextBytes = 2048, int nDocBytes = 20 * 1024,
          TextFn textFn = nullptr);

} // namespace BenchTree
