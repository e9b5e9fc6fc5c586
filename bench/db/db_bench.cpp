// Builds a document database of many pages (default 100,000: a title, about
// 2 KB of text and 20 KB of bytes each, in a page tree of depth 5 with one
// level of 1,000 children) and times the program's own statements on it:
// opening, loading the 1,000-child level, the title and full-text finds for
// two words, and the largest document number.
//   db_bench [pages] [--db PATH] [--keep] [--server UDL]
// With --db an existing database of that path is reused (and kept);
// otherwise it is built in the temporary folder and removed unless --keep.
// With --server the same database is copied (as --copy-db does, when the
// server database holds no pages yet) to the PostgreSQL database the .udl
// names, and the figures are taken on both, side by side.
#include "BenchArgs.h"
#include "BenchTree.h"
#include "ConsolePrompter.h"
#include "Db.h"
#include "DbCopy.h"
#include "DbFind.h"
#include "DbSchema.h"
#include "DbSql.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

struct Figure {
    double dFirst = 0, dMin = 0, dMedian = 0, dMax = 0;
};

// Runs `fn` `nRuns` times; milliseconds of the first run, min, median, max.
Figure Time(int nRuns, const std::function<void()>& fn) {
    std::vector<double> ms;
    for (int i = 0; i < nRuns; ++i) {
        QElapsedTimer t;
        t.start();
        fn();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    Figure f;
    f.dFirst = ms.front();
    std::sort(ms.begin(), ms.end());
    f.dMin = ms.front();
    f.dMedian = ms[ms.size() / 2];
    f.dMax = ms.back();
    return f;
}

void Print(const char* what, const Figure& f, qint64 nRows, int nRuns) {
    std::printf("%-28s median %9.2f ms  first %9.2f  min %9.2f  max %9.2f  (%d runs) -> %lld\n",
                what, f.dMedian, f.dFirst, f.dMin, f.dMax, nRuns, static_cast<long long>(nRows));
}

qint64 Rows(const QString& sql) {
    Usr::DbRows rows;
    qint64 n = 0;
    Usr::DbGetRows(sql, rows, n);
    return n;
}

qint64 Found(const QString& words, const QString& col) {
    bool ok = false;
    return Usr::DbFind(words, col, ok).size();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ConsolePrompter prompter;
    Prompter::install(&prompter);

    const BenchArgs args(argc, argv, {"--db", "--server"}, {"--keep"});
    bool argsOk = false;
    const int nPages = args.count(100000, argsOk);
    if (!argsOk)
        return BenchArgs::usage("db_bench [pages] [--db PATH] [--keep] [--server UDL]");
    QString path = args.value("--db");
    const bool keep = !path.isEmpty() || args.has("--keep");
    const QString server = args.value("--server");
    if (path.isEmpty())
        path = QDir::tempPath() + QStringLiteral("/folium-bench-%1.txdb").arg(nPages);

    if (!QFileInfo::exists(path)) {
        QElapsedTimer t;
        t.start();
        bool ok = false;
        Usr::DbCreate(path, ok);
        if (!ok || !BenchTree::Fill(path, nPages)) {
            std::fprintf(stderr, "could not build %s\n", qPrintable(path));
            QFile::remove(path);
            return 1;
        }
        std::printf("built %d pages in %.1f s\n", nPages, double(t.elapsed()) / 1000);
    }
    std::printf("database %s: %.2f GB\n", qPrintable(path),
                double(QFileInfo(path).size()) / (1024.0 * 1024 * 1024));

    struct Line {
        const char* what;
        int nRuns;
        Figure f;
        qint64 n;
    };
    // The figures on one database.
    const auto figures = [&](const QString& db) {
        QList<Line> out;
        bool ok = false;
        out.append({"open (DbOpen)", 10, Time(10, [&] { Usr::DbOpen(db, ok); }), 0});
        if (!ok) {
            std::fprintf(stderr, "could not open %s\n", qPrintable(db));
            return QList<Line>();
        }
        const qint64 nDocs =
            Usr::DbLookup(QStringLiteral("Select Count(*) From msDoc"), 0).toLongLong();
        QString level = QString::fromLatin1(DbSql::kLevel);
        DbSql::FillSql(level, {BenchTree::BigParent(BenchTree::Build(int(nDocs)))});
        qint64 n = 0;
        Figure f = Time(10, [&] { n = Rows(level); });
        out.append({"level of 1,000 (DbGetRows)", 10, f, n});
        const QString words = QString::fromUtf16(BenchTree::kTitleWord1) + u' ' +
                              QString::fromUtf16(BenchTree::kTitleWord2);
        f = Time(5, [&] { n = Found(words, QStringLiteral("szDoc")); });
        out.append({"title find, two words", 5, f, n});
        const QString textWords = QString::fromUtf16(BenchTree::kTextWord1) + u' ' +
                                  QString::fromUtf16(BenchTree::kTextWord2);
        f = Time(3, [&] { n = Found(textWords, QStringLiteral("txDoc")); });
        out.append({"full-text find, two words", 3, f, n});
        int next = 0;
        f = Time(10, [&] { next = Usr::DbNewDocNo(); });
        out.append({"Max(noDoc) (DbNewDocNo)", 10, f, next});
        out.append({"pages", 0, {}, nDocs});
        Usr::DbClose();
        return out;
    };

    const QList<Line> file = figures(path);
    if (file.isEmpty())
        return 1;
    if (server.isEmpty()) {
        for (const Line& l : file) {
            if (l.nRuns == 0)
                std::printf("pages in the database: %lld\n", static_cast<long long>(l.n));
            else
                Print(l.what, l.f, l.n, l.nRuns);
        }
    } else {
        // The server's copy of the same pages, made once.
        QString err;
        QElapsedTimer t;
        t.start();
        if (Usr::DbCopy(path, server, err))
            std::printf("copied to %s in %.1f s\n", qPrintable(server), double(t.elapsed()) / 1000);
        else if (!err.contains(QStringLiteral("already holds pages"))) {
            std::fprintf(stderr, "could not copy to %s: %s\n", qPrintable(server), qPrintable(err));
            return 1;
        }
        const QList<Line> srv = figures(server);
        if (srv.size() != file.size())
            return 1;
        std::printf("%-28s %12s %12s %9s %9s\n", "median ms", "SQLite", "PostgreSQL", "rows",
                    "rows");
        for (qsizetype i = 0; i < file.size(); ++i)
            std::printf("%-28s %12.2f %12.2f %9lld %9lld\n", file[i].what, file[i].f.dMedian,
                        srv[i].f.dMedian, static_cast<long long>(file[i].n),
                        static_cast<long long>(srv[i].n));
    }

    Usr::DbClose();
    if (!keep)
        QFile::remove(path);
    return 0;
}
