#pragma once
// Node keys, node identities, image keys and the dirty-parent list of the
// page tree: the plain text rules behind the tree control, free of widgets.
//
// A key is a kind letter, the key serial, "-" and the document number
// ("N2-57"); the pending new page has the key `NewNode`, the top level "0".

#include <QString>

namespace TreeKeys {

// Kind letters of node keys.
inline constexpr QChar kPage = u'N'; // a tree row with boLnk not 1
inline constexpr QChar kLink = u'L'; // a tree row with boLnk = 1
inline constexpr QChar kTag = u'X';  // a view-only tag reminder, never stored

// The key of the pending new page and of the top level.
inline constexpr char kNewNode[] = "NewNode";
inline constexpr char kTop[] = "0";

// Image keys of the ten node images.
inline constexpr char kNdLef[] = "ndlef";
inline constexpr char kNdCls[] = "ndcls";
inline constexpr char kNdOpn[] = "ndopn";
inline constexpr char kNdCod[] = "ndcod";
inline constexpr char kLkLef[] = "lklef";
inline constexpr char kLkCls[] = "lkcls";
inline constexpr char kLkOpn[] = "lkopn";
inline constexpr char kLkCod[] = "lkcod";
inline constexpr char kTgCls[] = "tgcls";
inline constexpr char kTgOpn[] = "tgopn";

// Kind letter + serial + "-" + document number.
QString MakeKy(const QString& sNo, QChar cKind, int nSer);
QString MakeKy(qint64 nNo, QChar cKind, int nSer);
// The text after the first "-"; a key without "-" (such as "0") is its own
// number part.
QString GetKyNo(const QString& sKy);
// The number part as a number, 0 when it is not one ("NewNode").
qint64 KyNo(const QString& sKy);
// Whether the number part is "0" or a nonzero number: the keys whose level
// can be loaded.
bool IsLoadableKy(const QString& sKy);
// Identity of a place that survives a rebuild: parent number "-" child
// number, the top level's parent being "0".
QString GetNdId(const QString& sParentKy, const QString& sKy);

// Image key by kind letter and state: 0 leaf, 1 collapsed, 2 expanded,
// 3 code page (tag nodes have no code image and take their collapsed one).
QString ImgKy(QChar cKind, int nState);
// A node is a link when its image key starts with "lk" (any case), and
// shows a code page when the key ends in "cod".
bool IsLinkImg(const QString& sImg);
bool IsCodeImg(const QString& sImg);

// The parent list of pending sort write-backs: "." followed by each
// parent's tree index and "." (-1 the top level); "." alone when empty.
// Adds `nIdx` once.
void SetDrty(QString& sDrty, int nIdx);
// The indices in the list, in order of entry.
QList<int> DrtyIdx(const QString& sDrty);
// Rewrites the indices after nodes left the tree: `aGone` are the old
// indices removed (ascending); an entry among them goes, later ones move
// down by the number of removed indices below them.
void DrtyAfterRemove(QString& sDrty, const QList<int>& aGone);

// A count in full-width digits ("１２").
QString FullWidth(qint64 n);

} // namespace TreeKeys
