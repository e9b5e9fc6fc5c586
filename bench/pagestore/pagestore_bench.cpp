// Moving pages between the editor and the document database, on a database
// of 10,000 pages (a title, about 2 KB of text and 20 KB of bytes each):
//   export  the editor's 100-page document as a new page of the tree
//           (NewDocRow: the document out of the editor, the document row,
//           the tree row, the siblings' order, one durable commit),
//           and its database part alone;
//   file    the same document under a code page (SaveToCode's writes);
//   import  a stored 100-page document back (the read and SetData);
// and the page-tree dialog opened in import mode on a top level of 1,000
// pages (building the dialog, loading the level, previewing the first page,
// the list of unreferenced documents, showing it), with a small first page
// and with the 100-page document as the first page.
//   pagestore_bench [rounds=20]
// Prints the median and the slowest round of each in milliseconds.
#include "BenchArgs.h"
#include "BenchTree.h"
#include "ConsolePrompter.h"
#include "Db.h"
#include "DbPage.h"
#include "DbSchema.h"
#include "DbTxn.h"
#include "PageStore.h"
#include "TxEngine.h"
#include "Usr.h"
#include "sbTrX.h"
#include "trView.h"
#include "uTrX.h"
#include "uTxm.h"
#include "yIni.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTreeWidgetItem>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// The text of `nPages` pages: a first line and 30 paragraphs each, pages
// ending in a page break (character 12).
QString PagesText(int nPages) {
    const QString sLine = QStringLiteral("日本語の本文と English words が混ざった段落です。"
                                         "頁の書き出しを測るための行。");
    QString s;
    for (int p = 0; p < nPages; ++p) {
        s += QStringLiteral("第%1頁\n").arg(p + 1);
        for (int i = 0; i < 30; ++i)
            s += sLine + QString::number(i) + (i == 29 ? QChar(12) : QChar(u'\n'));
    }
    return s;
}

// `n` top-level pages, every tenth with two children, through a connection
// of its own in one transaction.
bool FillTopLevel(const QString& sPath, int n) {
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "fill_top");
        db.setDatabaseName(sPath);
        ok = db.open() && db.transaction();
        QSqlQuery doc(db), row(db);
        doc.prepare("Insert Into msDoc (noDoc, boUse, boCod, szDoc, dyUdt) Values (?, 1, 0, ?,"
                    " '2024-05-01')");
        row.prepare(
            "Insert Into tbTree (noLfP, noLfC, inSrt, szDoc, boLnk) Values (?, ?, ?, ?, 0)");
        int nNo = 1000;
        auto add = [&](int nP, int nSrt) {
            const int nC = nNo++;
            const QString sSz = QStringLiteral("頁 %1").arg(nC);
            doc.addBindValue(nC);
            doc.addBindValue(sSz);
            row.addBindValue(nP);
            row.addBindValue(nC);
            row.addBindValue(nSrt);
            row.addBindValue(sSz);
            ok = ok && doc.exec() && row.exec();
            return nC;
        };
        for (int i = 0; i < n && ok; ++i) {
            const int nTop = add(0, i);
            if (i % 10 == 0) {
                add(nTop, 0);
                add(nTop, 1);
            }
        }
        ok = ok && db.commit();
        doc.finish();
        row.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("fill_top");
    return ok;
}

struct Figures {
    double dMedian = 0, dMax = 0;
};

Figures Time(int nRounds, const std::function<void()>& fnSetUp, const std::function<void()>& fn) {
    std::vector<double> v;
    for (int i = 0; i < nRounds; ++i) {
        if (fnSetUp)
            fnSetUp();
        QElapsedTimer t;
        t.start();
        fn();
        v.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.back()};
}

void Print(const char* sWhat, const Figures& f) {
    std::printf("%-58s median %8.2f ms   max %8.2f ms\n", sWhat, f.dMedian, f.dMax);
}

bool Open(const QString& sPath) {
    bool ok = false;
    Usr::DbOpen(sPath, ok);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int nRounds = BenchArgs(argc, argv).number(0, 20);
    ConsolePrompter prompter;
    Prompter::install(&prompter);
    QTemporaryDir tmp;
    Usr::sUsrFd = tmp.path() + QStringLiteral("/usr/");
    Usr::sWrkFd = Usr::sUsrFd + QStringLiteral("Wrk/");
    QDir().mkpath(Usr::sWrkFd);
    settings().sXml = yIni::MakeTag(0, QString::fromUtf16(kIniRoot), QStringLiteral("\r\n"));
    Usr::GetWkArea();

    // The database of 10,000 pages.
    const QString sBig = tmp.path() + QStringLiteral("/big.txdb");
    bool ok = false;
    Usr::DbCreate(sBig, ok);
    if (!ok || !BenchTree::Fill(sBig, 10000) || !Open(sBig)) {
        std::fprintf(stderr, "cannot build the database\n");
        return 1;
    }
    std::printf("database: 10,000 pages, %lld KB; rounds: %d\n", QFileInfo(sBig).size() / 1024,
                nRounds);

    uTxm ed;
    ed.resize(900, 700);
    ed.show();
    ed.cOn(0, 1);
    ed.mTxt->SetText(PagesText(100));
    QByteArray yDoc;
    QString sTx, sTtl;
    ed.GetData(yDoc, sTx, sTtl, ok);
    std::printf("document: 100 pages, %lld KB as Word 97-2003, %lld characters\n",
                qint64(yDoc.size() / 1024), qint64(sTx.size()));
    PageStore store(ed, {});

    // Export as a new page after the first top-level page.
    uTrX tree;
    const auto placeNew = [&] {
        tree.ClearItem(true);
        tree.SetNodes(QStringLiteral("0"));
        tree.Tree()->Select(tree.Tree()->Node(1));
        tree.trNew(1, QStringLiteral("新しい頁"));
    };
    Print("export: NewDocRow (editor bytes + rows + order + commit)",
          Time(nRounds, placeNew, [&] { store.NewDocRow(QStringLiteral("新しい頁"), tree); }));
    Print("  editor: GetData of the 100 pages", Time(nRounds, {}, [&] {
              QByteArray y;
              QString s, t;
              bool b = false;
              ed.GetData(y, s, t, b);
          }));
    Print("  database: document row + tree row + commit", Time(nRounds, {}, [&] {
              Usr::DbTxn txn;
              const qint64 nNo = Usr::DbNewDocNo();
              bool bNew = false;
              QString sErr;
              DbPage::WriteDoc(nNo, QStringLiteral("頁"), sTx, yDoc, bNew, sErr);
              DbPage::WriteTreeRow(1000, nNo, QStringLiteral("頁"), sErr);
              txn.Commit();
          }));

    // Import the stored document back, replacing the editor's.
    const qint64 nStored = Usr::DbNewDocNo() - 1;
    Print("import: read + SetData of the 100 pages", Time(nRounds, {}, [&] {
              const DbPage::Page p = DbPage::Read(nStored);
              bool b = false;
              ed.SetData(p.yDoc, b, true);
          }));
    Print("  database: read of the page", Time(nRounds, {}, [&] { DbPage::Read(nStored); }));
    Usr::DbClose();

    // The dialog on a top level of 1,000 pages.
    const QString sTop = tmp.path() + QStringLiteral("/top.txdb");
    Usr::DbCreate(sTop, ok);
    if (!ok || !FillTopLevel(sTop, 1000) || !Open(sTop)) {
        std::fprintf(stderr, "cannot build the second database\n");
        return 1;
    }
    const auto openDialog = [] {
        sbTrX d;
        d.Prepare(1);
        d.show();
        QApplication::processEvents();
    };
    Print("dialog: open in import mode on 1,000 top-level pages", Time(nRounds, {}, openDialog));
    {
        bool bNew = false;
        QString sErr;
        DbPage::WriteDoc(1000, QStringLiteral("頁 1000"), sTx, yDoc, bNew, sErr);
    }
    Print("  the same, the first page previewed a 100-page document",
          Time(nRounds, {}, openDialog));
    Print("  tree: top level of 1,000 pages loaded", Time(nRounds, {}, [] {
              uTrX x;
              x.ClearItem(true);
              x.SetNodes(QStringLiteral("0"));
          }));
    Usr::DbClose();
    ed.SetDcEdt(false);
    ed.cOff();
    return 0;
}
