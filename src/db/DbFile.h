#pragma once
// Which files are databases: SQLite files by their header (whatever the
// extension), and data-link (.udl) files by the OLE DB initialisation string
// they hold.

#include <QByteArray>
#include <QString>

namespace DbFile {

// True when the file begins with the SQLite 3 header.
bool IsSqlite(const QString& sPath);

// A path ends in "udl", in any case.
bool IsUdl(const QString& sPath);

// What a data-link file says. `sSource` is its "Data Source", made absolute
// against the .udl's folder; `bServable` is false when the provider is one we
// cannot stand in for (or the file holds no initialisation string).
//
// A provider naming PostgreSQL makes it a server database: `sSource` is then
// "HOST[:PORT]" or a "postgresql://" address as written, and the host, port,
// database ("Initial Catalog", or the address's path) and user ("User ID")
// are taken apart. A password is never taken from the file: the server's
// password comes from ~/.pgpass or PGPASSWORD.
struct Udl {
    QString sProvider;
    QString sSource;
    bool bServable = false;
    bool bServer = false; // PostgreSQL
    QString sHost;
    int nPort = 5432;
    QString sDatabase;
    QString sUser;
};
// Reads a .udl file (UTF-16LE with BOM, or UTF-8 / the ANSI code page).
Udl ReadUdl(const QString& sPath);
// Parses the file's bytes; `sFolder` is the folder relative sources start in.
Udl ParseUdl(const QByteArray& yBytes, const QString& sFolder);

} // namespace DbFile
