#include "DbFile.h"
#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>
#include <QUrl>

namespace DbFile {

bool IsSqlite(const QString& sPath) {
    static constexpr char kMagic[] = "SQLite format 3"; // 15 characters and a NUL
    // Only regular files: reading a pipe or a device could block.
    QFile f(sPath);
    if (!QFileInfo(sPath).isFile() || !f.open(QIODevice::ReadOnly))
        return false;
    return f.read(16) == QByteArray(kMagic, 16);
}

bool IsUdl(const QString& sPath) {
    return sPath.right(3).compare(u"udl", Qt::CaseInsensitive) == 0;
}

namespace {

QString DecodeUdl(const QByteArray& y) {
    if (y.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(y.mid(2));
    if (y.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(y.mid(2));
    return TextCodec::fromUtf8OrCp932(y);
}

// Splits "k1=v1;k2='v;2'" into pairs. A value may be quoted with " or ',
// a doubled quote standing for itself. Keys are trimmed and lower-cased.
QList<QPair<QString, QString>> SplitInitString(const QString& s) {
    QList<QPair<QString, QString>> out;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const qsizetype eq = s.indexOf(u'=', i);
        if (eq < 0)
            break;
        const QString key = s.mid(i, eq - i).trimmed().toLower();
        i = eq + 1;
        while (i < n && s[i] == u' ')
            ++i;
        QString val;
        if (i < n && (s[i] == u'"' || s[i] == u'\'')) {
            const QChar q = s[i++];
            while (i < n) {
                if (s[i] == q) {
                    if (i + 1 < n && s[i + 1] == q) {
                        val += q;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                val += s[i++];
            }
            const qsizetype semi = s.indexOf(u';', i);
            i = semi < 0 ? n : semi + 1;
        } else {
            const qsizetype semi = s.indexOf(u';', i);
            val = s.mid(i, (semi < 0 ? n : semi) - i).trimmed();
            i = semi < 0 ? n : semi + 1;
        }
        if (!key.isEmpty())
            out.append({key, val});
    }
    return out;
}

// Providers whose files are served by our SQLite stand-in.
bool Servable(const QString& sProvider) {
    const QString p = sProvider.trimmed().toLower();
    return p.startsWith(u"microsoft.jet.oledb") || p.startsWith(u"microsoft.ace.oledb") ||
           p.contains(u"sqlite");
}

bool PostgresProvider(const QString& sProvider) {
    const QString p = sProvider.trimmed().toLower();
    return p.contains(u"postgres") || p == u"pgnp" || p.startsWith(u"pgnp.");
}

// "HOST[:PORT]", "[v6]:PORT", or "postgresql://[USER@]HOST[:PORT][/DB]".
// False when the text names no host or a port that is not a number.
bool ParseServer(const QString& sSource, Udl& u) {
    QString src = sSource.trimmed();
    if (src.startsWith(u"postgresql://", Qt::CaseInsensitive) ||
        src.startsWith(u"postgres://", Qt::CaseInsensitive)) {
        const QUrl url(src, QUrl::StrictMode);
        if (!url.isValid() || url.host().isEmpty())
            return false;
        u.sHost = url.host();
        u.nPort = url.port(5432);
        const QString db = url.path().mid(1);
        if (!db.isEmpty())
            u.sDatabase = QUrl::fromPercentEncoding(db.toUtf8());
        if (!url.userName().isEmpty())
            u.sUser = url.userName();
        return u.nPort > 0;
    }
    QString host = src;
    QString port;
    if (host.startsWith(u'[')) {
        const qsizetype close = host.indexOf(u']');
        if (close < 0)
            return false;
        port = host.mid(close + 1);
        host = host.mid(1, close - 1);
        if (!port.isEmpty() && !port.startsWith(u':'))
            return false;
        port = port.mid(1);
    } else if (host.count(u':') == 1) {
        port = host.section(u':', 1);
        host = host.section(u':', 0, 0);
    }
    if (host.trimmed().isEmpty())
        return false;
    u.sHost = host.trimmed();
    if (!port.isEmpty()) {
        bool ok = false;
        u.nPort = port.toInt(&ok);
        if (!ok || u.nPort <= 0 || u.nPort > 65535)
            return false;
    }
    return true;
}

} // namespace

Udl ParseUdl(const QByteArray& yBytes, const QString& sFolder) {
    Udl u;
    QString init;
    // "[oledb]", then a comment line, then the initialisation string.
    for (QString line : DecodeUdl(yBytes).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'[') || line.startsWith(u';'))
            continue;
        init = line;
        break;
    }
    QString catalog, user;
    for (const auto& [key, val] : SplitInitString(init)) {
        if (key == u"provider")
            u.sProvider = val;
        else if (key == u"data source")
            u.sSource = val;
        else if (key == u"initial catalog")
            catalog = val;
        else if (key == u"user id")
            user = val;
    }
    if (PostgresProvider(u.sProvider)) {
        u.bServer = true;
        u.sUser = user;
        u.sDatabase = catalog;
        // The address may name the database and user; the keys win.
        u.bServable = ParseServer(u.sSource, u);
        if (!catalog.isEmpty())
            u.sDatabase = catalog;
        if (!user.isEmpty())
            u.sUser = user;
        u.bServable = u.bServable && !u.sDatabase.isEmpty();
        return u;
    }
    if (!u.sSource.isEmpty()) {
        // Data links come from Windows: folders are separated by "\".
        QString src = u.sSource;
        src.replace(u'\\', u'/');
        if (QDir::isRelativePath(src))
            src = QDir(sFolder).filePath(src);
        u.sSource = QDir::cleanPath(src);
    }
    u.bServable = Servable(u.sProvider) && !u.sSource.isEmpty();
    return u;
}

Udl ReadUdl(const QString& sPath) {
    QFile f(sPath);
    if (!QFileInfo(sPath).isFile() || !f.open(QIODevice::ReadOnly))
        return {};
    // A data link is a few hundred bytes; anything far larger is not one.
    return ParseUdl(f.read(64 * 1024), QFileInfo(sPath).absolutePath());
}

} // namespace DbFile
