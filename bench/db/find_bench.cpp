// The find on a large database, by scanning and through the full-text
// indexes, in one run: 100,000 pages by default (about 2 KB of text each),
// queries of one to three words of one to eight characters, medians. Also
// the indexes' build time and size on disk, and what they add to saving a
// page.
//   find_bench [pages] [--db PATH] [--queries-only] [--server UDL]
// The database is built once in the temporary folder (or at PATH) and kept;
// its indexes are dropped and built again on every run so their build is
// measured, unless --queries-only (then only the finds are timed). With
// --server the database is copied to the PostgreSQL database the .udl
// names (when it holds no pages yet) and each find is timed there too, its
// results compared with SQLite's: through the server's indexes, and by its
// scan (index scans switched off for the session). The server's character
// pair indexes (for words of two characters, marked "pair") are built again
// and timed, and the size of each find index is shown.
#include "BenchArgs.h"
#include "BenchTree.h"
#include "ConsolePrompter.h"
#include "Db.h"
#include "DbConn.h"
#include "DbCopy.h"
#include "DbFind.h"
#include "DbSchema.h"
#include "DbSql.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <vector>

namespace {

double Median(int nRuns, const std::function<void()>& fn) {
    std::vector<double> ms;
    for (int i = 0; i < nRuns; ++i) {
        QElapsedTimer t;
        t.start();
        fn();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

const char* const kDropIndexes[] = {
    "Drop Trigger If Exists msDocFts_i", "Drop Trigger If Exists msDocFts_d",
    "Drop Trigger If Exists msDocFts_u", "Drop Table If Exists msDocFts",
    "Drop Table If Exists msDocPairs",   "Drop Table If Exists msDocFtsQ",
};

// Removes the indexes through a connection of its own (filling is quicker
// without them, and their build is measured afterwards).
void DropIndexes(const QString& path) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bench_drop");
        db.setDatabaseName(path);
        // The pair index cannot even be dropped without its tokenizer.
        if (db.open() && Usr::FtsRegister(db)) {
            QSqlQuery q(db);
            for (const char* s : kDropIndexes)
                q.exec(QString::fromLatin1(s));
            q.exec(QStringLiteral("Vacuum"));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench_drop"));
}

// One page saved as the program saves it: its text and bytes replaced in
// a statement of its own, committed durably.
double SaveCost(QSqlDatabase& db, int nNo) {
    std::mt19937_64 rng(7);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("Update msDoc Set szDoc = ?, txDoc = ?, obDoc = ? Where noDoc = ?"));
    const double ms = Median(21, [&] {
        q.addBindValue(BenchTree::Title(nNo, rng));
        q.addBindValue(BenchTree::Text(rng));
        q.addBindValue(BenchTree::Bytes(rng));
        q.addBindValue(nNo);
        if (!q.exec())
            std::fprintf(stderr, "save failed: %s\n", qPrintable(q.lastError().text()));
    });
    q.finish();
    return ms;
}

qint64 IndexBytes(QSqlDatabase& db) {
    QSqlQuery q(db);
    q.exec(QStringLiteral("Select Sum(pgsize) From dbstat Where name Like 'msDocFts%'"
                          " Or name Like 'msDocPairs%'"));
    return q.next() ? q.value(0).toLongLong() : -1;
}

// Texts from a vocabulary of 30,000 generated words of two to four kanji
// and kana, drawn by Zipf's law between particles and the benchmark's own
// sentences: some words are on nearly every page, most on few.
const QStringList& Vocabulary() {
    static const QStringList words = [] {
        std::mt19937_64 rng(99);
        QStringList out;
        for (int i = 0; i < 30000; ++i) {
            QString w;
            const int len = 2 + int(rng() % 3);
            for (int c = 0; c < len; ++c)
                w += rng() % 3 ? QChar(char16_t(0x4E00 + rng() % 3000))
                               : QChar(char16_t(0x3041 + rng() % 83));
            out << w;
        }
        return out;
    }();
    return words;
}

QString VariedText(std::mt19937_64& rng, int nBytes) {
    static std::discrete_distribution<int> zipf = [] {
        std::vector<double> w(30000);
        for (size_t i = 0; i < w.size(); ++i)
            w[i] = 1.0 / double(i + 1);
        return std::discrete_distribution<int>(w.begin(), w.end());
    }();
    static const QStringList particles = {QStringLiteral("の"), QStringLiteral("を"),
                                          QStringLiteral("に"), QStringLiteral("は"),
                                          QStringLiteral("、"), QStringLiteral("。")};
    QString s = BenchTree::Text(rng, 200);
    while (s.size() * 3 < nBytes)
        s += Vocabulary()[zipf(rng)] + particles[rng() % particles.size()];
    return s;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ConsolePrompter prompter;
    Prompter::install(&prompter);

    const BenchArgs args(argc, argv, {"--db", "--server"}, {"--queries-only"});
    bool argsOk = false;
    const int nPages = args.count(100000, argsOk);
    if (!argsOk)
        return BenchArgs::usage("find_bench [pages] [--db PATH] [--queries-only] [--server UDL]");
    QString path = args.value("--db");
    const bool rebuild = !args.has("--queries-only");
    const QString server = args.value("--server");
    if (path.isEmpty())
        path = QDir::tempPath() + QStringLiteral("/folium-find-bench-%1.txdb").arg(nPages);
    if (!QFileInfo::exists(path)) {
        QElapsedTimer t;
        t.start();
        bool ok = false;
        Usr::DbCreate(path, ok);
        if (ok)
            DropIndexes(path);
        if (!ok || !BenchTree::Fill(path, nPages, 2048, 2048, VariedText)) {
            std::fprintf(stderr, "could not build %s\n", qPrintable(path));
            QFile::remove(path);
            return 1;
        }
        std::printf("built %d pages in %.1f s\n", nPages, double(t.elapsed()) / 1000);
    }

    // Without the indexes: saving; then their build, size, and saving again.
    if (rebuild)
        DropIndexes(path);
    if (rebuild) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bench_side");
        db.setDatabaseName(path);
        if (!db.open())
            return 1;
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
        q.finish();
        const qint64 before = QFileInfo(path).size();
        const double saveBare = SaveCost(db, 1000 + nPages / 2);

        QElapsedTimer t;
        t.start();
        const bool built =
            Usr::FtsRegister(db) && db.transaction() && Usr::FtsCreate(db) && db.commit();
        const double buildS = double(t.elapsed()) / 1000;
        if (!built) {
            std::fprintf(stderr, "index build failed: %s\n", qPrintable(db.lastError().text()));
            return 1;
        }
        const double saveIndexed = SaveCost(db, 1000 + nPages / 2);
        std::printf("database %s: %.2f GB without indexes\n", qPrintable(path),
                    double(before) / (1 << 30));
        std::printf("index build: %.1f s; indexes on disk: %.0f MB (file grew %.0f MB)\n", buildS,
                    double(IndexBytes(db)) / (1 << 20),
                    double(QFileInfo(path).size() - before) / (1 << 20));
        std::printf("saving one page (durable commit): %.2f ms without indexes, %.2f ms with\n",
                    saveBare, saveIndexed);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench_side"));

    bool ok = false;
    Usr::DbOpen(path, ok);
    if (!ok || !Usr::FtsPresent())
        return 1;
    struct Query {
        QString words;
        bool titles;
    };
    // Vocabulary words by rank: 1 is on nearly every page, 30,000 on few.
    const auto v = [](int rank) { return Vocabulary()[rank - 1]; };
    // One to three words, one to eight characters; words that are on many
    // pages, on few, and on none.
    const QString one = v(5000).left(1), one2 = v(20000).left(1);
    const QList<Query> queries = {
        {v(1), false},
        {v(10), false},
        {v(300), false},
        {v(3000), false},
        {v(29000), false},
        {v(300) + u' ' + v(3000), false},
        {v(10) + u' ' + v(29000), false},
        {v(3000) + u' ' + v(5000) + u' ' + v(7000), false},
        {v(5000).left(2), false},
        {v(20000).left(2), false},
        {v(20000).left(2) + u' ' + v(400).left(2), false},
        {QStringLiteral("議事録"), false},
        {QStringLiteral("quarterly budget"), false},
        {QStringLiteral("存在しない言葉"), false},
        {QStringLiteral("zz"), false},
        {one, false},
        {one + u' ' + one2, false},
        {one + u' ' + v(3000), false},
        {QStringLiteral("報告 Kyoto"), true},
        {QStringLiteral("第1234"), true},
        {QStringLiteral("計画"), true},
        {QStringLiteral("報告 計画"), true},
        {QStringLiteral("仙台"), true},
        {QStringLiteral("神戸 Plan"), true},
        {QStringLiteral("第"), true},
        {QStringLiteral("9 Memo"), true},
        {QStringLiteral("Summary 仙台 第99"), true},
    };
    struct Result {
        double scan = 0, index = 0, server = -1, serverScan = -1;
        QList<Usr::FoundDoc> found;
        bool same = true;
    };
    QList<Result> results;
    for (const Query& qy : queries) {
        const QString col = qy.titles ? QStringLiteral("szDoc") : QStringLiteral("txDoc");
        Result r;
        qint64 nScan = 0;
        r.scan = Median(3, [&] { nScan = Usr::DbFind(qy.words, col, ok, false).size(); });
        r.index = Median(11, [&] { r.found = Usr::DbFind(qy.words, col, ok); });
        r.same = nScan == r.found.size();
        results << r;
    }
    Usr::DbClose();
    // The same finds on the server's copy of the same pages.
    if (!server.isEmpty()) {
        QString err;
        QElapsedTimer t;
        t.start();
        if (Usr::DbCopy(path, server, err))
            std::printf("copied to %s in %.1f s\n", qPrintable(server), double(t.elapsed()) / 1000);
        else if (!err.contains(QStringLiteral("already holds pages"))) {
            std::fprintf(stderr, "could not copy to %s: %s\n", qPrintable(server), qPrintable(err));
            return 1;
        }
        Usr::DbOpen(server, ok);
        if (!ok)
            return 1;
        const auto exec = [](const QString& sql) {
            bool done = false;
            qint64 n = 0;
            Usr::DbExec(sql, done, n);
            if (!done)
                std::fprintf(stderr, "failed: %s\n", qPrintable(sql));
        };
        // The character-pair indexes built again over every page, timed;
        // then the size of each find index.
        exec(QStringLiteral("Set statement_timeout = 0"));
        t.restart();
        for (const char* ix : {"ixDocTitlePairs", "ixDocTextPairs"})
            exec(QStringLiteral("Drop Index If Exists %1").arg(QLatin1String(ix)));
        QSqlDatabase db = QSqlDatabase::database(Usr::DbConn::Name(), false);
        Usr::DbUpgradeSchema(db, DbSql::Engine::Postgres, std::numeric_limits<qint64>::max());
        std::printf("server pair indexes built in %.1f s\n", double(t.elapsed()) / 1000);
        exec(QStringLiteral("Analyze msDoc"));
        Usr::DbRows sizes;
        qint64 nSizes = 0;
        Usr::DbGetRows(QStringLiteral("Select indexrelname, pg_relation_size(indexrelid)"
                                      " From pg_stat_user_indexes Where relname = 'msdoc'"
                                      " Order By indexrelname"),
                       sizes, nSizes);
        for (qint64 i = 0; i < nSizes; ++i)
            std::printf("server index %s: %.0f MB\n", qPrintable(sizes[0][i].toString()),
                        sizes[1][i].toDouble() / (1 << 20));
        for (qsizetype i = 0; i < queries.size(); ++i) {
            const QString col =
                queries[i].titles ? QStringLiteral("szDoc") : QStringLiteral("txDoc");
            QList<Usr::FoundDoc> found;
            results[i].server = Median(5, [&] { found = Usr::DbFind(queries[i].words, col, ok); });
            results[i].same = results[i].same && ok && found == results[i].found;
        }
        // The server's scan: the same finds with its indexes out of use.
        exec(QStringLiteral("Set enable_indexscan = off"));
        exec(QStringLiteral("Set enable_bitmapscan = off"));
        for (qsizetype i = 0; i < queries.size(); ++i) {
            const QString col =
                queries[i].titles ? QStringLiteral("szDoc") : QStringLiteral("txDoc");
            results[i].serverScan = Median(3, [&] { Usr::DbFind(queries[i].words, col, ok); });
        }
        Usr::DbClose();
    }
    std::printf("%-28s %-6s %5s %10s %10s %10s %10s %8s %8s\n", "words", "column", "pair",
                "scan ms", "index ms", "srv scan", "server ms", "rows", "x");
    for (qsizetype i = 0; i < queries.size(); ++i) {
        const Result& r = results[i];
        // Queries with a word of two characters: the pair indexes' part.
        const QStringList words = queries[i].words.split(u' ');
        const bool pair = std::any_of(words.begin(), words.end(),
                                      [](const QString& w) { return w.toUcs4().size() == 2; });
        std::printf("%-28s %-6s %5s %10.2f %10.2f %10.2f %10.2f %8lld %8.1f%s\n",
                    qPrintable(queries[i].words), queries[i].titles ? "title" : "text",
                    pair ? "yes" : "", r.scan, r.index, r.serverScan, r.server,
                    static_cast<long long>(r.found.size()), r.scan / r.index,
                    r.same ? "" : "  RESULTS DIFFER");
    }
    return 0;
}
