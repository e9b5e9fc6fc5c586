// Times the page tree on one level of many pages: loading it into an empty
// tree, opening a page whose children are that level, rebuilding with it
// expanded, and writing the order of that level back after a new page.
//   tree_bench [nodes=10000] [rounds=5]
// Prints the median and the slowest round of each in milliseconds.

#include "BenchArgs.h"
#include "Db.h"
#include "DbSchema.h"
#include "trView.h"
#include "uTrX.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTreeWidgetItem>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Fills the database through a connection of its own, in one transaction:
// `n` pages at the top level (every tenth with two children), and the same
// `n` pages again as links under page 1.
bool Fill(const QString& path, int n) {
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "fill");
        db.setDatabaseName(path);
        ok = db.open() && db.transaction();
        QSqlQuery doc(db), row(db);
        doc.prepare("Insert Into msDoc (noDoc, boUse, boCod, szDoc, dyUdt) Values (?, 1, 0, ?, "
                    "'2024-05-01')");
        row.prepare(
            "Insert Into tbTree (noLfP, noLfC, inSrt, szDoc, boLnk) Values (?, ?, ?, ?, ?)");
        auto add = [&](int p, int c, int srt, bool lnk) {
            row.addBindValue(p);
            row.addBindValue(c);
            row.addBindValue(srt);
            row.addBindValue(QStringLiteral("Page %1").arg(c));
            row.addBindValue(lnk ? 1 : 0);
            ok = ok && row.exec();
        };
        const int nAll = n + 2 * (n / 10);
        for (int i = 1; i <= nAll && ok; ++i) {
            doc.addBindValue(i);
            doc.addBindValue(QStringLiteral("Page %1").arg(i));
            ok = doc.exec();
        }
        int next = n + 1;
        for (int i = 1; i <= n && ok; ++i) {
            add(0, i, i, false);
            if (i > 1)
                add(1, i, i, true);
            if (i % 10 == 0) {
                add(i, next++, 1, false);
                add(i, next++, 2, false);
            }
        }
        ok = ok && db.commit();
        doc.finish();
        row.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("fill");
    return ok;
}

void Report(const char* what, QList<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s median %9.1f ms   max %9.1f ms\n", what, ms[ms.size() / 2], ms.last());
}

QList<double> Time(int rounds, const std::function<void()>& prepare,
                   const std::function<void()>& run) {
    QList<double> out;
    for (int r = 0; r < rounds; ++r) {
        prepare();
        QElapsedTimer t;
        t.start();
        run();
        out << t.nsecsElapsed() / 1e6;
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchArgs args(argc, argv);
    const int n = args.number(0, 10000, 10);
    const int rounds = args.number(1, 5);

    QTemporaryDir dir;
    const QString path = dir.filePath("bench.txdb");
    bool ok = false;
    Usr::DbCreate(path, ok);
    if (!ok || !Fill(path, n)) {
        std::fprintf(stderr, "could not build the database\n");
        return 1;
    }
    Usr::DbOpen(path, ok);
    if (!ok)
        return 1;
    std::printf("level of %d pages, %d rounds\n", n, rounds);

    uTrX x;
    x.resize(300, 600);
    x.show();
    const auto fresh = [&] { x.ClearItem(true); };
    Report("load the top level (SetNodes \"0\")", Time(rounds, fresh, [&] { x.SetNodes("0"); }));
    const auto top = [&] {
        x.ClearItem(true);
        x.SetNodes("0");
    };
    Report("open page 1: its level of links loads", Time(rounds, top, [&] {
               x.Tree()->Select(x.Tree()->Node(1));
               x.ChkSlcNd();
           }));
    const auto expanded = [&] { x.Tree()->Node(1)->setExpanded(true); };
    Report("RefreshTree with that level expanded",
           Time(rounds, expanded, [&] { x.RefreshTree(); }));
    std::printf("  (nodes after the rebuild: %d)\n", x.Tree()->Count());
    const auto placed = [&] {
        x.Tree()->Select(x.Tree()->Node(1));
        x.trNew(0, QString());
    };
    Report("trSort of the top level after a new page", Time(rounds, placed, [&] { x.trSort(); }));
    Usr::DbClose();
    return 0;
}
