#pragma once
// The order of one level of the page tree (the children of one parent),
// written so that it stays whole when several users change the same level
// at once: under the level's lock, merged with what the others stored.

#include <QList>
#include <QString>

namespace DbLevel {

// A child and the position the user's view gives it.
struct Pos {
    qint64 nC = 0;
    qint64 nSrt = 0;
    bool operator==(const Pos&) const = default;
};

// Writes the positions of the children of `nP`, in one transaction (or in
// the caller's) holding the level's lock. When the level holds exactly the
// children named, they get the positions given. When another user changed
// the level since it was read (a child added, moved away or removed), the
// order becomes the one given for the children still there, each child
// the view did not know placed after the sibling it followed in the stored
// order, numbered 0, 1, 2, ... so no two share a position. False, with the
// reason, when it could not be written (nothing is then changed).
bool SetOrder(qint64 nP, const QList<Pos>& aWanted, QString& sErr);

// Takes the lock of the level of `nP` for the rest of the open transaction
// (a server's; SQLite's write lock already covers it). False when it
// cannot be taken or no transaction is open.
bool Lock(qint64 nP, QString& sErr);

// Works out the order SetOrder writes: `aStored` the children as stored,
// in their order. Exposed for tests.
QList<Pos> Merge(const QList<qint64>& aStored, const QList<Pos>& aWanted);

} // namespace DbLevel
