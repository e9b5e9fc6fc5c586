#pragma once
// The key-set table: for a host window's name, the string telling which menu
// groups and items of that screen belong together (grammar in uFkyLinks.h).

#include <QString>
#include <QStringList>

namespace uFkyKeySets {

// The key set of the window named `sFormName`; empty for a name without a
// row (such as the main window "fmDoc").
QString KeySet(const QString& sFormName);
// Every row name, in table order.
QStringList Names();

} // namespace uFkyKeySets
