#pragma once
// A PostgreSQL server of the tests' own: a cluster made by initdb in a
// temporary folder, listening on a free local port, run as an ordinary
// user (nobody when the tests run as root), stopped when the tests end;
// one per test process. The cluster's locale is C.UTF-8 where the system
// has it (as servers are usually set up: Unicode character classes), else
// C. Clients log in as the user "folium" with a password given through
// PGPASSWORD; each test gets a database of its own.

#include <QString>
#include <memory>

class QProcess;
class QTemporaryDir;

class PgServer {
public:
    // The one server of this test process, started on first use. Null when
    // it cannot run here (why() says why).
    static PgServer* instance();
    static QString why();

    static constexpr char kUser[] = "folium";
    static constexpr char kPassword[] = "folium-secret";

    int port() const { return port_; }
    // A new, empty database owned by kUser; with `sLocale`, of that locale
    // instead of the cluster's.
    QString newDatabase(const QString& sLocale = QString());
    // A new document database (the tables of DbCreate, no pages) owned by
    // kUser, copied from a template made once: quicker than making the
    // schema for every test.
    QString newDocDatabase();
    // The locale the cluster was made with.
    QString locale() const { return locale_; }
    // A data link naming `sDb` on this server as `sUser`.
    QString udlText(const QString& sDb, const QString& sUser = QString::fromLatin1(kUser)) const;
    // Runs statements as the cluster's owner on `sDb`; false on the first
    // failure.
    bool admin(const QString& sDb, const QStringList& aSql);
    // The same as another user (kUser unless given).
    bool run(const QString& sDb, const QStringList& aSql,
             const QString& sUser = QString::fromLatin1(kUser));

    // Kills the server outright (no shutdown), as a crash or power loss
    // would; start() runs it again on the same data.
    void kill();
    bool start();
    bool running() const;

    ~PgServer();

private:
    PgServer() = default;
    bool init();
    QStringList asUser(const QString& program, const QStringList& args) const;

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QProcess> proc_;
    QString bin_;
    QString data_;
    QString socket_;
    QString locale_;
    bool template_ = false;
    int port_ = 0;
    int nDb_ = 0;
    bool root_ = false;
};

// Skips the test when no server can be run here; under continuous
// integration (CI=true) fails it instead, so the server tests never stop
// running unnoticed.
// Whether the tests run against the server instead of SQLite files: the
// suites whose fixtures take their database from DbFixtureEngine() run once
// as they are and once more with FOLIUM_DB_ENGINE=postgres (a CTest entry
// of their own).
bool DbFixtureOnServer();

// A new, empty document database for a fixture in the folder `sDir`: a
// SQLite file "doc.txdb", or on the server (DbFixtureOnServer) a data link
// "doc.udl" naming a database of its own. Empty when it cannot be made.
QString DbFixtureDatabase(const QString& sDir);

// A data-link file as Windows writes one: UTF-16LE with its header lines.
void WriteUdl(const QString& path, const QString& init);

#define FOLIUM_REQUIRE_PG()                                                                        \
    do {                                                                                           \
        if (!PgServer::instance()) {                                                               \
            if (qgetenv("CI") == "true")                                                           \
                FAIL() << PgServer::why().toStdString();                                           \
            GTEST_SKIP() << PgServer::why().toStdString();                                         \
        }                                                                                          \
    } while (false)
