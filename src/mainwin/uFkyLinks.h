#pragma once
// The two link strings of the function-key bar and the key-set grammar.
//
// sKeyMap:  key name + "=" + menu code + "," per linked key ("F2=50,C3=25,").
// sGrpKeys: group code + "=" + key names each followed by "," + "/" per menu
//           group that has linked keys ("10=F2,F3,/11=C2,/").
//
// Entries are parsed, not searched for as substrings, so a key name or code
// can never match across entry boundaries.

#include <QString>
#include <QStringList>

namespace uFkyLinks {

// The code linked to `sKey`, or empty.
QString LinkedCode(const QString& sKeyMap, const QString& sKey);
// Every key linked to `sCode`, in the order of the map.
QStringList LinkedKeys(const QString& sKeyMap, const QString& sCode);
// Links `sKey` to `sCode`: an earlier entry of the key is removed and the new
// one appended.
void Link(QString& sKeyMap, const QString& sKey, const QString& sCode);
// The (key, code) entries of the map.
QList<std::pair<QString, QString>> Entries(const QString& sKeyMap);

// The key list ("F2,F3,") of every entry of `sGrpKeys` for group `sCode`.
QString GroupKeyList(const QString& sGrpKeys, const QString& sCode);

// Builds sGrpKeys from a key set: for every group (a code followed by a
// parenthesised member list) the keys linked to its members. A nested
// group's members count for the outer group too and the nested group gets
// its own entry; a group left unclosed takes every code to the end.
QString GroupKeys(const QString& sKeySet, const QString& sKeyMap);

} // namespace uFkyLinks
