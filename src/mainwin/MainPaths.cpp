#include "MainPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace MainPaths {

QString FromStored(const QString& sStored, const QString& sUsrFd) {
    if (sStored.isEmpty())
        return {};
    if (sStored.startsWith(u'/'))
        return QDir::cleanPath(sStored);
    return QDir::cleanPath(sUsrFd + sStored);
}

QString ToStored(const QString& sFolder, const QString& sUsrFd) {
    if (sFolder.isEmpty() || sUsrFd.isEmpty())
        return sFolder;
    QString base = sUsrFd;
    if (!base.endsWith(u'/'))
        base += u'/';
    const QString folder = QDir::cleanPath(sFolder);
    if (folder + u'/' == base)
        return QStringLiteral(".");
    // "/home/a/data2" is not below "/home/a/data/": the prefix ends at a "/".
    if (folder.startsWith(base))
        return folder.mid(base.size());
    return folder;
}

bool CommandLineFile(const QString& sCmd, QString& sFolder, QString& sName) {
    QString s = sCmd;
    s.remove(u'"');
    const qsizetype tab = s.indexOf(u'\t');
    if (tab >= 0)
        s.truncate(tab);
    s = s.trimmed();
    if (s.isEmpty())
        return false;
    const QFileInfo fi(s);
    if (!fi.isFile())
        return false;
    sFolder = fi.absolutePath();
    sName = fi.fileName();
    return true;
}

bool OpensWithoutAsking(const QString& sTarget, const QString& sBase, QString& sResolved) {
    static const QStringList kSafeSchemes = {QStringLiteral("http"), QStringLiteral("https"),
                                             QStringLiteral("mailto")};
    static const QStringList kSafeTypes = {
        QStringLiteral("doc"),  QStringLiteral("docx"), QStringLiteral("rtf"),
        QStringLiteral("txt"),  QStringLiteral("htm"),  QStringLiteral("html"),
        QStringLiteral("pdf"),  QStringLiteral("png"),  QStringLiteral("jpg"),
        QStringLiteral("jpeg"), QStringLiteral("gif"),  QStringLiteral("bmp")};
    const QString t = sTarget.trimmed();
    sResolved = t;
    if (t.startsWith(QLatin1String("www."), Qt::CaseInsensitive)) {
        sResolved = QStringLiteral("http://") + t;
        return true;
    }
    const QUrl url(t);
    QString file = t;
    if (url.isValid() && url.scheme().size() > 1) {
        if (kSafeSchemes.contains(url.scheme().toLower()))
            return !url.host().isEmpty() ||
                   url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0;
        if (!url.isLocalFile())
            return false;
        file = url.toLocalFile();
    }
    if (file.isEmpty())
        return false;
    if (!file.startsWith(u'/') && !sBase.isEmpty())
        file = QDir(sBase).filePath(file);
    sResolved = QDir::cleanPath(file);
    const QFileInfo fi(sResolved);
    return fi.isFile() && !fi.isExecutable() && kSafeTypes.contains(fi.suffix().toLower());
}

} // namespace MainPaths
