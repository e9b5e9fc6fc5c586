#include "mClt.h"
#include "Prompter.h"
#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace mClt {

void FillQ(QString& sTxt, const QVariantList& aVals) {
    for (const QVariant& v : aVals) {
        QString text;
        if (!v.isNull())
            text = v.toString().remove(u'?');
        const qsizetype at = sTxt.indexOf(u'?');
        if (at < 0)
            return;
        sTxt.replace(at, 1, text);
    }
}

bool FileExist(const QString& sPh, bool bWild) {
    if (sPh.isEmpty())
        return false;
    const bool hasWild = sPh.contains(u'?') || sPh.contains(u'*');
    if (!hasWild || !bWild) {
        const QFileInfo fi(sPh);
        return fi.exists() && !fi.isDir();
    }
    const QFileInfo fi(sPh);
    const QDir dir = fi.dir();
    if (!dir.exists())
        return false;
    return !dir.entryList({fi.fileName()}, QDir::Files | QDir::Hidden | QDir::System).isEmpty();
}

bool FldExist(const QString& sPh) {
    return !sPh.isEmpty() && QFileInfo(sPh).isDir();
}

void CreateFolderWalk(const QString& sFd) {
    if (sFd.isEmpty() || FldExist(sFd))
        return;
    QString path = sFd;
    if (!path.endsWith(u'/'))
        path += u'/';
    // The first separator follows the root and is skipped.
    for (qsizetype i = path.indexOf(u'/', 1); i >= 0; i = path.indexOf(u'/', i + 1)) {
        const QString level = path.left(i);
        if (!level.isEmpty() && !FldExist(level))
            QDir().mkdir(level);
    }
}

bool MakeFld(const QString& sPh) {
    CreateFolderWalk(sPh);
    return FldExist(sPh);
}

QString ReadUtf8(const QString& sPh) {
    QFile f(sPh);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray data = f.readAll();
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    return QString::fromUtf8(data);
}

bool WriteUtf8(const QString& sPh, const QString& sTxt) {
    QSaveFile f(sPh);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write("\xEF\xBB\xBF");
    f.write(sTxt.toUtf8());
    return f.commit();
}

QString ReadText(const QString& sPh) {
    QFile f(sPh);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return TextCodec::fromUtf8OrCp932(f.readAll());
}

void TrimSep(QString& sTxt, QString sSep) {
    if (sSep.isEmpty())
        sSep = QStringLiteral(",");
    if (sSep == QLatin1String(",")) {
        sTxt.replace(QLatin1String(", "), QLatin1String(","));
        sTxt.replace(QLatin1String(" ,"), QLatin1String(","));
    }
    while (sTxt.endsWith(sSep))
        sTxt.chop(sSep.size());
}

QString TrimBlanks(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.mid(b, e - b);
}

void SplitAt(const QString& sTxt, const QString& sSep, QString& sL, QString& sR) {
    const qsizetype at = sSep.isEmpty() ? -1 : sTxt.indexOf(sSep, 0, Qt::CaseInsensitive);
    if (at < 0) {
        sL = TrimBlanks(sTxt);
        sR.clear();
        return;
    }
    sL = TrimBlanks(sTxt.left(at));
    sR = TrimBlanks(sTxt.mid(at + sSep.size()));
}

bool InStrAt(const QString& sTxt, const QString& sFnd, int& nPos) {
    if (sFnd.isEmpty()) {
        nPos = sTxt.isEmpty() ? 0 : 1;
        return false;
    }
    nPos = static_cast<int>(sTxt.indexOf(sFnd, 0, Qt::CaseInsensitive) + 1);
    return nPos > 0;
}

QString GetBetween(const QString& sTxt, const QString& sBeg, const QString& sEnd) {
    QString work = sTxt;
    if (!sEnd.isEmpty() && !work.endsWith(sEnd))
        work += sEnd;
    qsizetype p = 0;
    if (!sBeg.isEmpty()) {
        const qsizetype b = work.indexOf(sBeg, 0, Qt::CaseInsensitive);
        if (b < 0)
            return {};
        p = b + sBeg.size();
    }
    if (sEnd.isEmpty())
        return work.mid(p);
    const qsizetype e = work.indexOf(sEnd, p, Qt::CaseInsensitive);
    if (e < 0)
        return {};
    return work.mid(p, e - p);
}

QString ShowOpenDlg(const QString& sTtl, const QString& sFile, const QString& sFilter,
                    const QString& sDir) {
    const bool useDir = !sDir.isEmpty() && !sFile.contains(u'/');
    return Prompter::instance().openFile(sTtl, sFile, sFilter, useDir ? sDir : QString());
}

} // namespace mClt
