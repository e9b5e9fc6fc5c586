// fmDoc: the document database of the window: connecting (or creating a new
// one), the items of the menu "外部文書(&B)" and its code-page submenu.
#include "Db.h"
#include "DbSchema.h"
#include "DbSql.h"
#include "Prompter.h"
#include "fmDoc.h"
#include "mClt.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {
const QString kDxdb = QStringLiteral("mnDxdb");
const QString kCxd = QStringLiteral("mnCxd");
const QString kDbFilter = QStringLiteral("文書ﾃﾞｰﾀｰﾍﾞｰｽ(*.txdb)|*.txdb|ｱｸｾｽﾃﾞｰﾀｰﾍﾞｰｽ (*.mdb)|*.mdb|"
                                         "ﾃﾞ-ﾀﾘﾝｸ (*.udl)|*.udl|");
} // namespace

void fmDoc::ApplyDb(const QString& sPh) {
    sDbPh = mClt::FileExist(sPh) ? sPh : QString();
    sDbKept_.clear();
    const bool on = !sDbPh.isEmpty();
    for (int i : {2, 3, 4, 6, 7, 9})
        if (QAction* a = item(kDxdb, i))
            a->setEnabled(on);
    const QString base = QFileInfo(sDbPh).fileName().section(u'.', 0, 0);
    item(kDxdb, 0)->setText(on ? QStringLiteral("接続先(%1)を変更").arg(base)
                               : QStringLiteral("接続先を指定"));
    item(kDxdb, 9)->setText(on ? QStringLiteral("起動(%1)").arg(base) : QStringLiteral("起動"));
    if (on)
        SetCodeMenu();
}

void fmDoc::SetCodeMenu() {
    Usr::DbRows rows;
    qint64 n = 0;
    if (!sDbPh.isEmpty())
        Usr::DbGetRows(QString::fromLatin1(DbSql::kCodePages), rows, n);
    if (rows.size() < 2)
        n = 0;
    item(kDxdb, 6)->setEnabled(!sDbPh.isEmpty() && n > 0);

    QMenu* menu = menus_.value(kCxd);
    QList<QAction*>& items = arrays_[kCxd];
    const auto at = [&](int i) {
        while (items.size() <= i) {
            QAction* a = menu->addAction(QString());
            const int idx = int(items.size());
            connect(a, &QAction::triggered, this, [this, idx] { onItem(kCxd, idx); });
            items.append(a);
        }
        QAction* a = items[i];
        a->setVisible(true);
        a->setSeparator(false);
        return a;
    };
    sCodNos.clear();
    codeNos_.clear();
    for (int i = 0; i < int(n); ++i) {
        at(i)->setText(rows[1][i].toString());
        codeNos_.append(rows[0][i].toLongLong());
        sCodNos += QStringLiteral("%1").arg(codeNos_.last(), 5, 10, QLatin1Char('0'));
    }
    QAction* sep = at(int(n));
    sep->setText(QString());
    sep->setSeparator(true);
    at(int(n) + 1)->setText(QStringLiteral("再表示"));
    for (int i = int(n) + 2; i < items.size(); ++i)
        items[i]->setVisible(false);
}

void fmDoc::ChooseDb() {
    Prompter& p = Prompter::instance();
    QString path =
        p.openOrNewFile(QStringLiteral("文書DBの接続先を指定"), QString(), kDbFilter, sDbDir);
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        // A name of a file that is not there: offer a new, empty database.
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".txdb");
        if (!QFileInfo::exists(path)) {
            if (p.message(QStringLiteral("%1 はありません。\r新しい文書DBを作成しますか").arg(path),
                          Prompter::Buttons::YesNo,
                          Prompter::Icon::Question) != Prompter::Answer::Yes)
                return;
            bool created = false;
            Usr::DbCreate(path, created);
            if (!created) {
                p.message(QStringLiteral("文書DBを作成できません : %1").arg(path),
                          Prompter::Buttons::Ok, Prompter::Icon::Warning);
                return;
            }
        }
    }
    sDbDir = path.left(path.lastIndexOf(u'/') + 1);
    SetStatus(QStringLiteral("文書DB : ") + path);
    bool ok = false;
    Usr::DbOpen(path, ok);
    if (ok) {
        ApplyDb(path);
        return;
    }
    // The previous connection was closed for the new one: take it up again,
    // so a wrong pick does not cost the database the window had.
    bool back = false;
    if (!sDbPh.isEmpty() && sDbPh != path)
        Usr::DbOpen(sDbPh, back);
    ApplyDb(back ? sDbPh : QString());
}
