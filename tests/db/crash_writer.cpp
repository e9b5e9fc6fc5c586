// Writes pages into a document database until it is killed: each page is a
// document row through an updatable recordset, then its tree row through an
// action statement, as the page store writes them. Prints the number of each
// page once both rows are written.
//   db_crash_writer <database> <pages> [txn]
// With "txn" each page's two rows are one transaction, as the page store
// writes them, and the number is printed once it is committed; a failed
// write ends the writer.
#include "ConsolePrompter.h"
#include "CrashPayload.h"
#include "Db.h"
#include "DbSchema.h"
#include "DbSql.h"
#include "DbTxn.h"
#include "Recordset.h"

#include <QCoreApplication>
#include <QDate>
#include <cstdio>
#include <optional>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    ConsolePrompter prompter; // no windows in this process
    Prompter::install(&prompter);
    bool ok = false;
    Usr::DbOpen(QString::fromLocal8Bit(argv[1]), ok);
    if (!ok)
        return 3;
    const int pages = QByteArray(argv[2]).toInt();
    const bool inTxn = argc > 3 && qstrcmp(argv[3], "txn") == 0;
    for (int i = 0; i < pages; ++i) {
        std::optional<Usr::DbTxn> txn;
        if (inTxn && !txn.emplace().Active())
            return 7;
        int no = 0;
        try {
            no = Usr::DbNewDocNo();
        } catch (const Usr::DbError&) {
            return 8;
        }
        Usr::Recordset rs;
        Usr::DbOpenRs(DbSql::WithNo(DbSql::kDocRow, no), rs, true, ok);
        if (!ok || !rs.AddNew())
            return 4;
        rs.SetField("noDoc", no);
        rs.SetField("wkRnd", Usr::DbNewRnd());
        rs.SetField("boUse", 1);
        rs.SetField("boCod", 0);
        rs.SetField("szDoc", CrashPayload::Title(no));
        rs.SetField("txDoc", CrashPayload::Text(no));
        rs.SetField("obDoc", CrashPayload::Bytes(no));
        rs.SetField("dyUdt", QDate::currentDate());
        if (!rs.Update())
            return 5;
        QString sql = QString::fromLatin1(DbSql::kTreeInsert);
        DbSql::FillSql(sql, {0, no, i, CrashPayload::Title(no)});
        qint64 n = 0;
        Usr::DbExec(sql, ok, n);
        if (!ok)
            return 6;
        if (txn && !txn->Commit())
            return 7;
        std::printf("%d\n", no);
        std::fflush(stdout);
    }
    return 0;
}
