#include "TreeKeys.h"

#include <QList>
#include <QStringList>
#include <algorithm>

namespace TreeKeys {

QString MakeKy(const QString& sNo, QChar cKind, int nSer) {
    return cKind + QString::number(nSer) + u'-' + sNo;
}

QString MakeKy(qint64 nNo, QChar cKind, int nSer) {
    return MakeKy(QString::number(nNo), cKind, nSer);
}

QString GetKyNo(const QString& sKy) {
    const qsizetype at = sKy.indexOf(u'-');
    return at < 0 ? sKy : sKy.mid(at + 1);
}

qint64 KyNo(const QString& sKy) {
    bool ok = false;
    const qint64 n = GetKyNo(sKy).toLongLong(&ok);
    return ok ? n : 0;
}

bool IsLoadableKy(const QString& sKy) {
    return GetKyNo(sKy) == QLatin1String(kTop) || KyNo(sKy) != 0;
}

QString GetNdId(const QString& sParentKy, const QString& sKy) {
    const QString sP = sParentKy.isEmpty() ? QString::fromLatin1(kTop) : GetKyNo(sParentKy);
    return sP + u'-' + GetKyNo(sKy);
}

QString ImgKy(QChar cKind, int nState) {
    static const char* const kPageImg[] = {kNdLef, kNdCls, kNdOpn, kNdCod};
    static const char* const kLinkImg[] = {kLkLef, kLkCls, kLkOpn, kLkCod};
    static const char* const kTagImg[] = {kTgCls, kTgCls, kTgOpn, kTgCls};
    const int i = std::clamp(nState, 0, 3);
    if (cKind == kLink)
        return QString::fromLatin1(kLinkImg[i]);
    if (cKind == kTag)
        return QString::fromLatin1(kTagImg[i]);
    return QString::fromLatin1(kPageImg[i]);
}

bool IsLinkImg(const QString& sImg) {
    return sImg.left(2).compare(QLatin1String("lk"), Qt::CaseInsensitive) == 0;
}

bool IsCodeImg(const QString& sImg) {
    return sImg.endsWith(QLatin1String("cod"));
}

void SetDrty(QString& sDrty, int nIdx) {
    if (sDrty.isEmpty())
        sDrty = QStringLiteral(".");
    const QString sItem = QString::number(nIdx) + u'.';
    if (!sDrty.contains(u'.' + sItem))
        sDrty += sItem;
}

QList<int> DrtyIdx(const QString& sDrty) {
    QList<int> out;
    for (const QString& s : sDrty.split(u'.', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = s.toInt(&ok);
        if (ok)
            out << n;
    }
    return out;
}

void DrtyAfterRemove(QString& sDrty, const QList<int>& aGone) {
    QString out = QStringLiteral(".");
    for (int n : DrtyIdx(sDrty)) {
        if (n > 0) {
            const auto below = std::lower_bound(aGone.begin(), aGone.end(), n);
            if (below != aGone.end() && *below == n)
                continue;
            n -= int(below - aGone.begin());
        }
        SetDrty(out, n);
    }
    sDrty = out;
}

QString FullWidth(qint64 n) {
    QString s = QString::number(n);
    for (QChar& c : s) {
        if (c.isDigit())
            c = QChar(c.unicode() - u'0' + 0xFF10);
        else if (c == u'-')
            c = QChar(0xFF0D);
    }
    return s;
}

} // namespace TreeKeys
