#include "PgServer.h"
#include "DbSchema.h"
#include "DbSql.h"
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QThread>
#include <QVersionNumber>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

constexpr char kAdmin[] = "folium_admin";
QString g_why;
bool g_tried = false;

// The newest server binaries Debian installed.
QString FindBin() {
    const QDir root(QStringLiteral("/usr/lib/postgresql"));
    QString best;
    QVersionNumber bestV;
    for (const QString& v : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString bin = root.filePath(v) + QStringLiteral("/bin");
        const QVersionNumber n = QVersionNumber::fromString(v);
        if (QFile::exists(bin + QStringLiteral("/initdb")) &&
            QFile::exists(bin + QStringLiteral("/postgres")) && (best.isEmpty() || n > bestV)) {
            best = bin;
            bestV = n;
        }
    }
    return best;
}

// A port nothing listens on now: the one the system gives a socket bound
// to port 0.
int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return 0;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(fd);
    return port;
}

bool RunOk(const QStringList& cmd, QString* out = nullptr) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(cmd.first(), cmd.mid(1));
    const bool ok =
        p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (out)
        *out = QString::fromLocal8Bit(p.readAll());
    return ok;
}

} // namespace

PgServer* PgServer::instance() {
    static std::unique_ptr<PgServer> server;
    if (!g_tried) {
        g_tried = true;
        std::unique_ptr<PgServer> s(new PgServer);
        if (s->init())
            server = std::move(s);
    }
    return server.get();
}

QString PgServer::why() {
    return g_why;
}

QStringList PgServer::asUser(const QString& program, const QStringList& args) const {
    // setpriv runs the program itself under the other user (no process in
    // between), so killing it kills the server.
    if (root_)
        return QStringList{QStringLiteral("setpriv"),         QStringLiteral("--reuid=nobody"),
                           QStringLiteral("--regid=nogroup"), QStringLiteral("--clear-groups"),
                           QStringLiteral("--reset-env"),     program} +
               args;
    return QStringList{program} + args;
}

bool PgServer::init() {
    bin_ = FindBin();
    if (bin_.isEmpty()) {
        g_why = "the PostgreSQL server is not installed (Debian package postgresql); "
                "the tests against a server are skipped";
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        g_why = "Qt's PostgreSQL driver is not installed (Debian package libqt6sql6-psql)";
        return false;
    }
    root_ = ::geteuid() == 0;
    dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/folium-pg-XXXXXX"));
    if (!dir_->isValid()) {
        g_why = "no temporary folder for the server";
        return false;
    }
    if (root_) {
        const passwd* pw = ::getpwnam("nobody");
        if (!pw || ::chown(QFile::encodeName(dir_->path()).constData(), pw->pw_uid, pw->pw_gid)) {
            g_why = "the folder of the server cannot be given to the user nobody";
            return false;
        }
    }
    data_ = dir_->path() + QStringLiteral("/data");
    socket_ = dir_->path();
    QString out;
    for (const QString& locale : {QStringLiteral("C.UTF-8"), QStringLiteral("C")}) {
        QDir(data_).removeRecursively();
        if (RunOk(asUser(bin_ + QStringLiteral("/initdb"),
                         {QStringLiteral("-D"), data_, QStringLiteral("-U"),
                          QString::fromLatin1(kAdmin), QStringLiteral("--auth-local=trust"),
                          QStringLiteral("--auth-host=scram-sha-256"), QStringLiteral("-E"),
                          QStringLiteral("UTF8"), QStringLiteral("--locale=") + locale,
                          QStringLiteral("--no-instructions"), QStringLiteral("--no-sync")}),
                  &out)) {
            locale_ = locale;
            break;
        }
    }
    if (locale_.isEmpty()) {
        g_why = QStringLiteral("initdb failed: ") + out;
        return false;
    }
    port_ = FreePort();
    if (!start()) {
        g_why = QStringLiteral("the test server did not start");
        return false;
    }
    const QString create =
        QStringLiteral("Create Role %1 Login Password '%2'").arg(kUser, kPassword);
    if (!admin(QStringLiteral("postgres"), {create})) {
        g_why = QStringLiteral("the test server's user could not be made");
        return false;
    }
    qputenv("PGPASSWORD", kPassword);
    return true;
}

bool PgServer::start() {
    proc_ = std::make_unique<QProcess>();
    proc_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    proc_->setStandardOutputFile(QProcess::nullDevice());
    const QStringList cmd =
        asUser(bin_ + QStringLiteral("/postgres"),
               {QStringLiteral("-D"), data_, QStringLiteral("-p"), QString::number(port_),
                QStringLiteral("-k"), socket_, QStringLiteral("-c"),
                QStringLiteral("listen_addresses=127.0.0.1"), QStringLiteral("-c"),
                QStringLiteral("max_connections=60"), QStringLiteral("-c"),
                // A killed server keeps what it wrote (the system has it);
                // only a lost machine would need the flushes.
                QStringLiteral("fsync=off"), QStringLiteral("-c"),
                QStringLiteral("log_min_messages=fatal"), QStringLiteral("-c"),
                QStringLiteral("logging_collector=off")});
    proc_->setProcessChannelMode(QProcess::SeparateChannels);
    proc_->setStandardErrorFile(dir_->path() + QStringLiteral("/server.log"), QIODevice::Append);
    proc_->start(cmd.first(), cmd.mid(1));
    if (!proc_->waitForStarted(10000))
        return false;
    // Ready when the owner can log in through the socket.
    for (int i = 0; i < 300; ++i) {
        if (proc_->state() != QProcess::Running)
            return false;
        if (admin(QStringLiteral("postgres"), {QStringLiteral("Select 1")}))
            return true;
        QThread::msleep(100);
    }
    return false;
}

bool PgServer::running() const {
    return proc_ && proc_->state() == QProcess::Running;
}

void PgServer::kill() {
    if (!proc_)
        return;
    proc_->kill();
    proc_->waitForFinished(10000);
    // The server's own processes end when they see it gone; a new one
    // refuses to start while any of them still holds the data.
    for (int i = 0; i < 100; ++i) {
        QProcess p;
        p.start(QStringLiteral("pgrep"), {QStringLiteral("-f"), data_});
        p.waitForFinished(5000);
        if (p.readAll().trimmed().isEmpty())
            break;
        QThread::msleep(100);
    }
}

bool PgServer::admin(const QString& sDb, const QStringList& aSql) {
    return run(sDb, aSql, QString::fromLatin1(kAdmin));
}

bool PgServer::run(const QString& sDb, const QStringList& aSql, const QString& sUser) {
    static int serial = 0;
    const QString name = QStringLiteral("pg_admin_%1").arg(++serial);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(socket_);
        db.setPort(port_);
        db.setUserName(sUser);
        db.setDatabaseName(sDb);
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
        if (db.open()) {
            ok = true;
            QSqlQuery q(db);
            for (const QString& s : aSql)
                ok = ok && q.exec(s);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QString PgServer::newDatabase(const QString& sLocale) {
    const QString name = QStringLiteral("doc%1").arg(++nDb_);
    QString create = QStringLiteral("Create Database %1 Owner %2").arg(name, kUser);
    if (!sLocale.isEmpty())
        create += QStringLiteral(" Template template0 Locale '%1'").arg(sLocale);
    admin(QStringLiteral("postgres"), {create});
    return name;
}

QString PgServer::newDocDatabase() {
    constexpr char kTemplate[] = "folium_template";
    if (!template_) {
        admin(QStringLiteral("postgres"),
              {QStringLiteral("Create Database %1 Owner %2").arg(kTemplate, kUser)});
        QStringList schema;
        const DbSql::Dialect& d = DbSql::DialectOf(DbSql::Engine::Postgres);
        for (int i = 0; i < d.nSchema; ++i)
            schema << QString::fromLatin1(d.aSchema[i]);
        template_ = run(QString::fromLatin1(kTemplate), schema);
    }
    const QString name = QStringLiteral("doc%1").arg(++nDb_);
    admin(QStringLiteral("postgres"),
          {QStringLiteral("Create Database %1 Owner %2 Template %3 Strategy file_copy")
               .arg(name, kUser, kTemplate)});
    return name;
}

bool DbFixtureOnServer() {
    return qgetenv("FOLIUM_DB_ENGINE") == "postgres";
}

QString DbFixtureDatabase(const QString& sDir) {
    bool ok = false;
    if (!DbFixtureOnServer()) {
        const QString path = sDir + QStringLiteral("/doc.txdb");
        Usr::DbCreate(path, ok);
        return ok ? path : QString();
    }
    PgServer* pg = PgServer::instance();
    if (!pg)
        return QString();
    const QString udl = sDir + QStringLiteral("/doc.udl");
    WriteUdl(udl, pg->udlText(pg->newDocDatabase()));
    return udl;
}

void WriteUdl(const QString& path, const QString& init) {
    const QString text = QStringLiteral("[oledb]\r\n; Everything after this line is an OLE DB "
                                        "initstring\r\n") +
                         init + QStringLiteral("\r\n");
    TestEnv::writeFile(path, QByteArray("\xFF\xFE", 2) +
                                 QStringEncoder(QStringEncoder::Utf16LE).encode(text));
}

QString PgServer::udlText(const QString& sDb, const QString& sUser) const {
    return QStringLiteral("Provider=PostgreSQL;Data Source=127.0.0.1:%1;Initial Catalog=%2;"
                          "User ID=%3")
        .arg(port_)
        .arg(sDb, sUser);
}

PgServer::~PgServer() {
    if (proc_ && proc_->state() == QProcess::Running) {
        // A fast shutdown: SIGINT.
        ::kill(pid_t(proc_->processId()), SIGINT);
        if (!proc_->waitForFinished(20000))
            kill();
    }
}
