#include "uFkyHost.h"
#include "MenuCode.h"

#include <QAction>

QAction* uFkyMenuItem(const uFkyHost* xFm, int iMn, int iNdx) {
    if (!xFm || iNdx < 0)
        return nullptr;
    const QString sArray = MenuCode::GroupArray(iMn);
    if (sArray.isEmpty())
        return nullptr;
    const QList<QAction*> items = xFm->MenuArray(sArray);
    if (iNdx >= items.size())
        return nullptr;
    QAction* item = items.at(iNdx);
    if (!item || item->isSeparator() || item->text() == QLatin1String("-"))
        return nullptr;
    return item;
}

QAction* uFkyMenuItem(const uFkyHost* xFm, const QString& sCode) {
    int iMn = 0, iNdx = 0;
    if (!MenuCode::Decode(sCode, iMn, iNdx))
        return nullptr;
    return uFkyMenuItem(xFm, iMn, iNdx);
}
