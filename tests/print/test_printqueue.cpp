// Printing through a real CUPS queue: a scheduler of the test's own, on a
// private socket, with a PostScript queue writing into a file.
#include "PrintFixture.h"
#include "PrnRecord.h"
#include "sbTvw.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <unistd.h>

namespace {

const char* const kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

QString tool(const QString& name) {
    for (const char* d : {"/usr/sbin/", "/usr/bin/", "/sbin/", "/bin/"})
        if (QFileInfo(QString::fromLatin1(d) + name).isExecutable())
            return QString::fromLatin1(d) + name;
    return {};
}

// A CUPS scheduler in a folder of its own; stopped when destroyed.
class Scheduler {
public:
    explicit Scheduler(const QString& root) : root_(root) {}
    ~Scheduler() {
        if (proc_.state() != QProcess::NotRunning) {
            proc_.terminate();
            if (!proc_.waitForFinished(10000))
                proc_.kill();
        }
    }
    QString socket() const { return root_ + QStringLiteral("/cups.sock"); }

    // Starts it; false with the reason in *why.
    bool start(QString* why) {
        for (const char* sub : {"etc", "state", "cache", "spool", "tmp", "log"}) {
            const QString d = root_ + u'/' + QLatin1String(sub);
            QDir().mkpath(d);
            QFile::setPermissions(d, QFileDevice::Permissions(0x7777));
        }
        const QString conf = root_ + QStringLiteral("/etc/cupsd.conf");
        TestEnv::writeFile(conf, QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\n"
                                                "Browsing No\n<Location />\n  Order allow,deny\n"
                                                "  Allow all\n</Location>\n<Policy default>\n"
                                                "  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                                                "</Policy>\n")
                                     .arg(socket())
                                     .toUtf8());
        QString files = QStringLiteral("ServerRoot %1/etc\nStateDir %1/state\nCacheDir %1/cache\n"
                                       "RequestRoot %1/spool\nTempDir %1/tmp\n"
                                       "ErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                                       "PageLog %1/log/page_log\nFileDevice Yes\n")
                            .arg(root_);
        // The scheduler refuses to run its filters as root.
        if (geteuid() == 0)
            files += QStringLiteral("User lp\nGroup lp\n");
        TestEnv::writeFile(root_ + QStringLiteral("/etc/cups-files.conf"), files.toUtf8());
        proc_.setProcessChannelMode(QProcess::MergedChannels);
        proc_.start(tool(QStringLiteral("cupsd")),
                    {QStringLiteral("-f"), QStringLiteral("-c"), conf, QStringLiteral("-s"),
                     root_ + QStringLiteral("/etc/cups-files.conf")});
        for (int i = 0; i < 100 && !QFileInfo::exists(socket()); ++i) {
            if (proc_.state() == QProcess::NotRunning)
                break;
            QThread::msleep(100);
        }
        if (!QFileInfo::exists(socket())) {
            *why = QStringLiteral("the CUPS scheduler did not start: ") +
                   QString::fromUtf8(proc_.readAll()) +
                   QString::fromUtf8(TestEnv::readFile(root_ + QStringLiteral("/log/error_log")));
            return false;
        }
        return true;
    }

    // Adds a PostScript queue writing every job into `file`.
    bool addQueue(const QString& name, const QString& file, QString* why) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(tool(QStringLiteral("lpadmin")),
                {QStringLiteral("-h"), socket(), QStringLiteral("-p"), name, QStringLiteral("-E"),
                 QStringLiteral("-v"), QStringLiteral("file://") + file, QStringLiteral("-P"),
                 QString::fromLatin1(kPpd)});
        if (!p.waitForFinished(30000) || p.exitCode() != 0) {
            *why = QStringLiteral("lpadmin failed: ") + QString::fromUtf8(p.readAll());
            return false;
        }
        return true;
    }

private:
    QString root_;
    QProcess proc_;
};

// Whether the scheduler has no job left to do.
bool idle(const QString& socket) {
    QProcess p;
    p.start(tool(QStringLiteral("lpstat")), {QStringLiteral("-h"), socket, QStringLiteral("-o")});
    return p.waitForFinished(30000) && p.exitCode() == 0 &&
           p.readAllStandardOutput().trimmed().isEmpty();
}

// The pages of a PostScript job (its page comments).
int psPages(const QString& file) {
    return int(TestEnv::readFile(file).count("\n%%Page:"));
}

// Page `page` of a PostScript file rendered at 20 dpi (Ghostscript).
QImage psPage(const QString& file, int page) {
    const QString png = file + QStringLiteral(".%1.png").arg(page);
    QProcess p;
    p.start(tool(QStringLiteral("gs")),
            {QStringLiteral("-q"), QStringLiteral("-dBATCH"), QStringLiteral("-dNOPAUSE"),
             QStringLiteral("-sDEVICE=png16m"), QStringLiteral("-r20"),
             QStringLiteral("-dFirstPage=%1").arg(page), QStringLiteral("-dLastPage=%1").arg(page),
             QStringLiteral("-sOutputFile=") + png, file});
    p.waitForFinished(60000);
    return QImage(png);
}

} // namespace

class PrintQueue : public PrintTest {};

TEST_F(PrintQueue, AStoredPrinterPrintsThroughItsCupsQueue) {
    if (qEnvironmentVariable("FOLIUM_PRINT_QUEUE") != QLatin1String("1"))
        GTEST_SKIP() << "the CUPS print runs as its own test entry (test_print_cups)";
    if (tool(QStringLiteral("cupsd")).isEmpty() || tool(QStringLiteral("lpadmin")).isEmpty() ||
        tool(QStringLiteral("lpstat")).isEmpty() || tool(QStringLiteral("gs")).isEmpty() ||
        !QFileInfo::exists(QString::fromLatin1(kPpd)))
        GTEST_SKIP() << "CUPS is not installed here (packages cups, printer-driver-cups-pdf)";

    // The scheduler's own user reads and writes here: a folder open to it.
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/folium-cups-XXXXXX"));
    ASSERT_TRUE(root.isValid());
    QFile::setPermissions(root.path(), QFileDevice::Permissions(0x7777));
    Scheduler cups(root.path());
    QString why;
    if (!cups.start(&why))
        GTEST_SKIP() << why.toStdString();
    const QString out = root.path() + QStringLiteral("/job.ps");
    ASSERT_TRUE(cups.addQueue(QStringLiteral("FoliumTest"), out, &why)) << why.toStdString();
    qputenv("CUPS_SERVER", cups.socket().toUtf8());
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().contains(QStringLiteral("FoliumTest")));

    makePages(3);
    // The stored printer is found whatever the case of its name.
    PrnRecord rec;
    rec.device = QStringLiteral("foliumtest");
    rec.mask = PrnRecord::MPaperSize | PrnRecord::MOrientation;
    rec.paperSize = 9;
    const QString file = dir + QStringLiteral("/queue.prndt");
    ASSERT_TRUE(rec.save(file));
    sbTvw view;
    ASSERT_EQ(view.cPrint(tx, true, file), 1);

    // The job is done when the queue is empty and its file written.
    bool done = false;
    for (int i = 0; i < 600 && !done; ++i) {
        QThread::msleep(100);
        done = QFileInfo::exists(out) && idle(cups.socket());
    }
    ASSERT_TRUE(done) << "the job did not finish";
    ASSERT_EQ(psPages(out), 3)
        << TestEnv::readFile(root.path() + QStringLiteral("/log/error_log")).toStdString();
    for (int page = 1; page <= 3; ++page) {
        const QImage sheet = psPage(out, page);
        ASSERT_FALSE(sheet.isNull());
        // An A4 sheet, upright, with the page's text on it.
        EXPECT_NEAR(sheet.width(), 165, 3);
        EXPECT_NEAR(sheet.height(), 234, 3);
        EXPECT_GT(ink(sheet), 0.001) << "blank sheet " << page;
    }
}
