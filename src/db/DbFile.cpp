#include "DbFile.h"
#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

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
    for (const auto& [key, val] : SplitInitString(init)) {
        if (key == u"provider")
            u.sProvider = val;
        else if (key == u"data source")
            u.sSource = val;
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
