#include "BenchTree.h"

#include "Db.h"
#include "DbDate.h"
#include "DbSchema.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace BenchTree {

QList<Place> Build(int nPages) {
    QList<Place> tree;
    int next = 1000;
    QList<int> level{0}; // parents of the level being filled
    for (int depth = 1; depth <= 5 && tree.size() < nPages; ++depth) {
        QList<int> children;
        const int left = nPages - int(tree.size());
        for (int p = 0; p < level.size() && tree.size() < nPages; ++p) {
            const int nParents = int(level.size());
            int count = 10;
            if (depth == 3 && p == 0)
                count = 1000;
            else if (depth == 5) // the last level shares out the rest
                count = left / nParents + (p < left % nParents ? 1 : 0);
            count = std::min(count, nPages - int(tree.size()));
            for (int s = 0; s < count; ++s) {
                tree.append({next, level[p], s, depth});
                children.append(next++);
            }
        }
        level = children;
    }
    return tree;
}

int BigParent(const QList<Place>& aTree) {
    for (const Place& p : aTree) {
        if (p.nDepth == 2)
            return p.nNo;
    }
    return 0;
}

namespace {
const QStringList kJa = {
    QStringLiteral("本日の会議では来期の計画について話し合いました。"),
    QStringLiteral("資料は共有フォルダに保存してあります。"),
    QStringLiteral("次回までに各部署の意見をまとめてください。"),
    QStringLiteral("工程表の見直しが必要です。"),
    QStringLiteral("新しい製品の試作は順調に進んでいます。"),
    QStringLiteral("顧客からの問い合わせに回答しました。"),
    QStringLiteral("議事録を作成して関係者に配布しました。"),
    QStringLiteral("出張の日程を調整中です。"),
};
const QStringList kLatin = {
    QStringLiteral("The quarterly budget was approved without changes. "),
    QStringLiteral("Please review the attached draft before Friday. "),
    QStringLiteral("Shipping dates depend on the supplier. "),
    QStringLiteral("Meeting notes follow below. "),
    QStringLiteral("Travel to Osaka is planned for next month. "),
};
const QStringList kTopics = {
    QStringLiteral("報告"),  QStringLiteral("計画"),    QStringLiteral("議事"),
    QStringLiteral("設計"),  QStringLiteral("試験"),    QStringLiteral("予算"),
    QStringLiteral("Plan"),  QStringLiteral("Memo"),    QStringLiteral("Notes"),
    QStringLiteral("Draft"), QStringLiteral("Review"),  QStringLiteral("案内"),
    QStringLiteral("調査"),  QStringLiteral("連絡"),    QStringLiteral("手順"),
    QStringLiteral("仕様"),  QStringLiteral("記録"),    QStringLiteral("資料"),
    QStringLiteral("検討"),  QStringLiteral("Summary"),
};
const QStringList kPlaces = {
    QStringLiteral("Tokyo"),  QStringLiteral("Kyoto"),   QStringLiteral("Osaka"),
    QStringLiteral("Nagoya"), QStringLiteral("Sapporo"), QStringLiteral("福岡"),
    QStringLiteral("仙台"),   QStringLiteral("広島"),    QStringLiteral("神戸"),
    QStringLiteral("横浜"),
};
} // namespace

QString Title(int nNo, std::mt19937_64& rng) {
    return QStringLiteral("第%1 %2 %3")
        .arg(nNo)
        .arg(kTopics[rng() % kTopics.size()], kPlaces[rng() % kPlaces.size()]);
}

QString Text(std::mt19937_64& rng, int nBytes) {
    QString s;
    int bytes = 0;
    while (bytes < nBytes) {
        const bool ja = rng() % 3 != 0;
        const QString& piece = ja ? kJa[rng() % kJa.size()] : kLatin[rng() % kLatin.size()];
        s += piece;
        bytes += int(piece.toUtf8().size());
    }
    return s;
}

QByteArray Bytes(std::mt19937_64& rng, int nBytes) {
    QByteArray y(nBytes, Qt::Uninitialized);
    for (int i = 0; i + 8 <= nBytes; i += 8) {
        const quint64 v = rng();
        std::memcpy(y.data() + i, &v, 8);
    }
    return y;
}

bool Fill(const QString& path, int nPages, int nTextBytes, int nDocBytes, TextFn textFn) {
    if (!textFn)
        textFn = Text;
    const QList<Place> tree = Build(nPages);
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
        for (const Place& p : tree) {
            const QString title = Title(p.nNo, rng);
            const QString date = DbDate::Text(first.addDays(p.nNo % 3000));
            doc.addBindValue(p.nNo);
            doc.addBindValue(title);
            doc.addBindValue(textFn(rng, nTextBytes));
            doc.addBindValue(Bytes(rng, nDocBytes));
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

} // namespace BenchTree
