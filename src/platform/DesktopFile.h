#pragma once
// freedesktop desktop entries: the stand-in for shortcut files. An
// application entry lets the file manager offer the program under "Open
// With" for the document types it reads; a link entry holds an address.

#include <QStringList>

class QUrl;

namespace DesktopFile {

// The MIME types of the documents the program opens (.doc, .docx, .rtf,
// .txt, .htm/.html).
QStringList documentMimeTypes();

// A string value escaped for a desktop entry (\\, \n, \t, \r, leading \s).
QString escapeValue(const QString& value);
QString unescapeValue(const QString& value);
// One argument of an Exec line, quoted (and % doubled) so any path survives.
QString execArgument(const QString& arg);

// Writes (or overwrites) an application entry starting `exe` with the file.
// Returns false when the file could not be written.
bool writeApplication(const QString& path, const QString& name, const QString& exe,
                      const QStringList& mimeTypes);
// Writes (or overwrites) a link entry to `url`.
bool writeLink(const QString& path, const QString& name, const QUrl& url);
// The address of a link entry; empty when the file is missing or no link.
QUrl readLink(const QString& path);

} // namespace DesktopFile
