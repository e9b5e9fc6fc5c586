// Builds a document database of many pages (default 100,000: a title, about
// 2 KB of text and 20 KB of bytes each, in a page tree of depth 5 with one
// level of 1,000 children) and times the program's own statements on it:
// opening, loading the 1,000-child level, the title and full-text finds for
// two words, and the largest document number.
//   db_bench [pages] [--db PATH] [--keep]
// With --db an existing database of that path is reused (and kept);
// otherwise it is built in the temporary folder and removed unless --keep.
#include "BenchTree.h"
#include "ConsolePrompter.h"
#include "Db.h"
#include "DbDate.h"
#include "DbSchema.h"
#include "DbSql.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Fills the database through a connection of its own, in one transaction:
// building is not what is measured.
bool Fill(const QString& path, int nPages) {
    const QList<BenchTree::Place> tree = BenchTree::Build(nPages);
    std::mt19937_64 rng(20240501);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bench_fill");
        db.setDatabaseName(path);
        if (!db.open())
            return false;
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA synchronous=OFF"));
        db.transaction();
        QSqlQuery doc(db), place(db);
        doc.prepare(QStringLiteral("Insert Into msDoc (noDoc, boUse, boCod, szDoc, txDoc, obDoc,"
                                   " dyUdt, wkRnd) Values (?, 1, 0, ?, ?, ?, ?, ?)"));
        place.prepare(QStringLiteral("Insert Into tbTree (noLfP, noLfC, inSrt, szDoc, boUse, "
                                     "boLnk, dyUdt, dyUdt_P, boHide, boHogo) "
                                     "Values (?, ?, ?, ?, 1, 0, ?, ?, 0, 0)"));
        const QDate first(2015, 1, 1);
        ok = true;
        for (const BenchTree::Place& p : tree) {
            const QString title = BenchTree::Title(p.nNo, rng);
            const QString date = DbDate::Text(first.addDays(p.nNo % 3000));
            doc.addBindValue(p.nNo);
            doc.addBindValue(title);
            doc.addBindValue(BenchTree::Text(rng));
            doc.addBindValue(BenchTree::Bytes(rng));
            doc.addBindValue(date);
            doc.addBindValue(Usr::DbNewRnd());
            place.addBindValue(p.nParent);
            place.addBindValue(p.nNo);
            place.addBindValue(p.nSrt);
            place.addBindValue(title);
            place.addBindValue(date);
            place.addBindValue(date);
            if (!doc.exec() || !place.exec()) {
                std::fprintf(stderr, "build failed: %s %s\n", qPrintable(doc.lastError().text()),
                             qPrintable(place.lastError().text()));
                ok = false;
                break;
            }
        }
        ok = ok && db.commit();
        q.exec(QStringLiteral("Analyze"));
        doc.finish();
        place.finish();
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench_fill"));
    return ok;
}

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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ConsolePrompter prompter;
    Prompter::install(&prompter);

    int nPages = 100000;
    QString path;
    bool keep = false;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--db") && i + 1 < args.size()) {
            path = args[++i];
            keep = true;
        } else if (args[i] == QLatin1String("--keep")) {
            keep = true;
        } else if (args[i].toInt() > 0) {
            nPages = args[i].toInt();
        } else {
            std::fprintf(stderr, "usage: db_bench [pages] [--db PATH] [--keep]\n");
            return 2;
        }
    }
    if (path.isEmpty())
        path = QDir::tempPath() + QStringLiteral("/folium-bench-%1.txdb").arg(nPages);

    if (!QFileInfo::exists(path)) {
        QElapsedTimer t;
        t.start();
        bool ok = false;
        Usr::DbCreate(path, ok);
        if (!ok || !Fill(path, nPages)) {
            std::fprintf(stderr, "could not build %s\n", qPrintable(path));
            QFile::remove(path);
            return 1;
        }
        std::printf("built %d pages in %.1f s\n", nPages, double(t.elapsed()) / 1000);
    }
    std::printf("database %s: %.2f GB\n", qPrintable(path),
                double(QFileInfo(path).size()) / (1024.0 * 1024 * 1024));

    bool ok = false;
    const Figure open = Time(10, [&] { Usr::DbOpen(path, ok); });
    if (!ok) {
        std::fprintf(stderr, "could not open %s\n", qPrintable(path));
        return 1;
    }
    Print("open (DbOpen)", open, 0, 10);

    const qint64 nDocs =
        Usr::DbLookup(QStringLiteral("Select Count(*) From msDoc"), 0).toLongLong();
    std::printf("pages in the database: %lld\n", static_cast<long long>(nDocs));

    QString level = QString::fromLatin1(DbSql::kLevel);
    DbSql::FillSql(level, {BenchTree::BigParent(BenchTree::Build(int(nDocs)))});
    qint64 n = 0;
    Figure f = Time(10, [&] { n = Rows(level); });
    Print("level of 1,000 (DbGetRows)", f, n, 10);

    const QString words = QString::fromUtf16(BenchTree::kTitleWord1) + u' ' +
                          QString::fromUtf16(BenchTree::kTitleWord2);
    const QString titleFind = DbSql::FindSql(words, QStringLiteral("szDoc"));
    f = Time(5, [&] { n = Rows(titleFind); });
    Print("title find, two words", f, n, 5);

    const QString textWords = QString::fromUtf16(BenchTree::kTextWord1) + u' ' +
                              QString::fromUtf16(BenchTree::kTextWord2);
    const QString textFind = DbSql::FindSql(textWords, QStringLiteral("txDoc"));
    f = Time(3, [&] { n = Rows(textFind); });
    Print("full-text find, two words", f, n, 3);

    int next = 0;
    f = Time(10, [&] { next = Usr::DbNewDocNo(); });
    Print("Max(noDoc) (DbNewDocNo)", f, next, 10);

    Usr::DbClose();
    if (!keep)
        QFile::remove(path);
    return 0;
}
