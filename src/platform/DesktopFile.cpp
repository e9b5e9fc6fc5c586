#include "DesktopFile.h"

#include <QFile>
#include <QSaveFile>
#include <QUrl>
#include <algorithm>
#include <iterator>
#include <utility>

namespace DesktopFile {
namespace {

bool writeEntry(const QString& path, const QStringList& lines) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = (lines.join(u'\n') + u'\n').toUtf8();
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

} // namespace

QStringList documentMimeTypes() {
    return {
        QStringLiteral("application/msword"),
        QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.document"),
        QStringLiteral("application/rtf"),
        QStringLiteral("text/rtf"),
        QStringLiteral("text/plain"),
        QStringLiteral("text/html")};
}

namespace {
// The escapes of desktop-entry string values: character and escape letter.
constexpr std::pair<char16_t, char16_t> kEscapes[] = {
    {u'\\', u'\\'}, {u'\n', u'n'}, {u'\t', u't'}, {u'\r', u'r'}};
} // namespace

QString escapeValue(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        const auto* e = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                     [c](const auto& p) { return p.first == c; });
        if (e != std::end(kEscapes))
            out += u'\\' + QChar(e->second);
        else if (c == u' ' && i == 0) // a leading space would be trimmed
            out += QStringLiteral("\\s");
        else
            out += c;
    }
    return out;
}

QString unescapeValue(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar n = value[++i];
        const auto* e = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                     [n](const auto& p) { return p.second == n; });
        if (e != std::end(kEscapes))
            out += QChar(e->first);
        else if (n == u's')
            out += u' ';
        else
            out += QStringLiteral("\\") + n; // unknown escapes stay as written
    }
    return out;
}

QString execArgument(const QString& arg) {
    QString out = QStringLiteral("\"");
    for (const QChar c : arg) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        if (c == u'%')
            out += u'%';
        out += c;
    }
    return out + u'"';
}

bool writeApplication(const QString& path, const QString& name, const QString& exe,
                      const QStringList& mimeTypes) {
    return writeEntry(
        path, {QStringLiteral("[Desktop Entry]"), QStringLiteral("Type=Application"),
               QStringLiteral("Version=1.0"), QStringLiteral("Name=") + escapeValue(name),
               QStringLiteral("Exec=") + escapeValue(execArgument(exe)) + QStringLiteral(" %f"),
               QStringLiteral("MimeType=") + mimeTypes.join(u';') + u';',
               QStringLiteral("Terminal=false")});
}

bool writeLink(const QString& path, const QString& name, const QUrl& url) {
    if (!url.isValid() || url.isEmpty())
        return false;
    return writeEntry(path,
                      {QStringLiteral("[Desktop Entry]"), QStringLiteral("Type=Link"),
                       QStringLiteral("Version=1.0"), QStringLiteral("Name=") + escapeValue(name),
                       QStringLiteral("URL=") + escapeValue(QString::fromUtf8(url.toEncoded()))});
}

QUrl readLink(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    bool inEntry = false;
    bool isLink = false;
    QString address;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inEntry)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = unescapeValue(line.mid(eq + 1).trimmed());
        if (key == QLatin1String("Type"))
            isLink = value == QLatin1String("Link");
        else if (key == QLatin1String("URL"))
            address = value;
    }
    if (!isLink || address.isEmpty())
        return {};
    return QUrl::fromEncoded(address.toUtf8());
}

} // namespace DesktopFile
