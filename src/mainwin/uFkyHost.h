#pragma once
// What the function-key bar needs of the window hosting it: the window's
// name (it picks the key set), its menu arrays by name, and the command
// dispatcher the linked keys call. The main window implements it.

#include <QList>
#include <QString>

class QAction;

class uFkyHost {
public:
    virtual ~uFkyHost() = default;

    // The window's name, e.g. "fmDoc"; it keys the key-set table.
    virtual QString FormName() const = 0;
    // The menu array `sName` ("mnFile", ...) indexed from 0; an index with no
    // item holds nullptr. Empty when the window has no such array.
    virtual QList<QAction*> MenuArray(const QString& sName) const = 0;
    // Runs the command of item `iNdx` of menu group `iMn`.
    virtual void fnMenu(int iMn, int iNdx, QString& sRet) = 0;
};

// The menu item (`iMn`, `iNdx`) of the host, or nullptr when the group is
// not in the table, the host lacks the array or the item, or the item is a
// separator.
QAction* uFkyMenuItem(const uFkyHost* xFm, int iMn, int iNdx);
// The same for a two-character menu code.
QAction* uFkyMenuItem(const uFkyHost* xFm, const QString& sCode);
