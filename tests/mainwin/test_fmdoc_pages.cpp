// The database menu's page commands in the real window: each opens the
// page-tree dialog in its mode, the code-page submenu files under the page
// chosen (whatever its number), and marking a code page in the dialog
// rebuilds that submenu.
#include "../tree/sbTrXScript.h"
#include "Db.h"
#include "DbSchema.h"
#include "MainWindowFixture.h"
#include "TxEngine.h"
#include "sbTrX.h"
#include "trView.h"
#include "uFky.h"
#include "uTrX.h"
#include "uTxm.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

void Exec(const QString& sql) {
    bool ok = false;
    qint64 n = 0;
    Usr::DbExec(sql, ok, n);
    ASSERT_TRUE(ok) << sql.toStdString();
}

// A page at the top level of the tree; `cod` marks it as a code page.
void TopPage(int no, const QString& title, int cod = 0) {
    Exec(QStringLiteral("Insert Into msDoc (noDoc, boUse, boCod, szDoc, wkRnd) Values (%1, 1, %2,"
                        " '%3', 0.5)")
             .arg(no)
             .arg(cod)
             .arg(title));
    Exec(QStringLiteral("Insert Into tbTree (noLfP, noLfC, inSrt, szDoc) Values (0, %1, %1, '%2')")
             .arg(no)
             .arg(title));
}

} // namespace

class PagesMenuTest : public MainWindowTest {
protected:
    fmDoc& startWithDb() {
        const QString db = dir + QStringLiteral("/pages.txdb");
        bool ok = false;
        Usr::DbCreate(db, ok);
        EXPECT_TRUE(ok);
        store(QStringLiteral("DC_KBS"), QStringLiteral("DBS"), db);
        return start();
    }
    void onDialog(std::function<void(sbTrX&)> fn) { AnswerTreeDialog(prompter, std::move(fn)); }
    void typeText(const QString& s) {
        w->editor()->mTxt->setFocus();
        QTest::keyClicks(w->editor()->mTxt, s);
    }
};

TEST_F(PagesMenuTest, MenuItemsOpenTheDialogInTheirModes) {
    fmDoc& m = startWithDb();
    TopPage(1000, QStringLiteral("first"));
    QList<int> modes;
    for (int n = 0; n < 3; ++n)
        onDialog([&](sbTrX& d) {
            modes << d.Mode();
            d.CancelButton()->click();
        });
    item(QStringLiteral("mnDxdb"), 2)->trigger(); // 参照
    item(QStringLiteral("mnDxdb"), 3)->trigger(); // ｲﾝﾎﾟｰﾄ
    item(QStringLiteral("mnDxdb"), 4)->trigger(); // ｲﾝｻｰﾄ
    EXPECT_EQ(modes, (QList<int>{2, 1, 1}));

    // ｴｸｽﾎﾟｰﾄ (部章節): the typed page goes after the first one.
    typeText(QStringLiteral("exported text"));
    prompter.answerInput(QStringLiteral("second"));
    onDialog([](sbTrX& d) {
        EXPECT_EQ(d.Mode(), 3);
        QTest::mouseClick(d.Tree()->Tree()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        d.ExportMenu()->actions().at(1)->trigger();
        d.OkButton()->click();
    });
    item(QStringLiteral("mnDxdb"), 7)->trigger();
    EXPECT_EQ(Usr::DbLookup(QStringLiteral("Select szDoc From msDoc Where noDoc=1001"), QVariant())
                  .toString(),
              QStringLiteral("second"));
    EXPECT_EQ(m.keyBar()->PanelText().trimmed(), QStringLiteral("second を追加しました"));
}

TEST_F(PagesMenuTest, CodePageSubmenuFilesUnderLargeNumbers) {
    fmDoc& m = startWithDb();
    TopPage(7, QStringLiteral("small"), 1);
    TopPage(123456, QStringLiteral("large"), 1);
    m.SetCodeMenu();
    ASSERT_EQ(item(QStringLiteral("mnCxd"), 1)->text(), QStringLiteral("large"));
    typeText(QStringLiteral("dated page"));
    prompter.answerInput(QStringLiteral("today"));
    item(QStringLiteral("mnCxd"), 1)->trigger();
    EXPECT_EQ(
        Usr::DbLookup(QStringLiteral("Select noLfP From tbTree Where szDoc='today'"), QVariant())
            .toInt(),
        123456);
    EXPECT_EQ(m.keyBar()->PanelText().trimmed(), QStringLiteral("large / today を追加しました"));
}

TEST_F(PagesMenuTest, MarkingACodePageRebuildsTheSubmenu) {
    startWithDb();
    TopPage(1000, QStringLiteral("diary"));
    EXPECT_FALSE(item(QStringLiteral("mnDxdb"), 6)->isEnabled());
    onDialog([](sbTrX& d) {
        QTest::mouseClick(d.Tree()->Tree()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        d.CodeAction(1)->trigger();
        d.CancelButton()->click();
    });
    item(QStringLiteral("mnDxdb"), 3)->trigger();
    EXPECT_TRUE(item(QStringLiteral("mnDxdb"), 6)->isEnabled());
    EXPECT_EQ(item(QStringLiteral("mnCxd"), 0)->text(), QStringLiteral("diary"));
}
