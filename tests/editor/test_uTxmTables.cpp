// The table commands 80 to 85 with their option words, the menu flags of
// ChkJbMn5, the table page's size checks and the table formatting dialog.
#include "EditorFixture.h"
#include "TxTableDialog.h"
#include "TxTableRules.h"
#include "sbTxmChoicePages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextTable>

namespace {

// A page "before|<table>|after" with a rows x cols table whose cells read
// "r,c" (from 1), the caret in cell (row, col).
void tablePage(uTxm& t, int rows, int cols, int row, int col) {
    t.mTxt->SetText(ctl(QStringLiteral("before|after")));
    t.mTxt->SetSelStart(7);
    ASSERT_TRUE(t.mTxt->TableInsert(rows, cols));
    const int id = t.mTxt->TableAtCaret();
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c)
            t.mTxt->SetTableCellText(r, c, id, QStringLiteral("%1,%2").arg(r).arg(c));
    t.mTxt->SetSelStart(t.mTxt->TableCellStart(row, col, id));
    t.SetDcEdt(false);
}

QStringList column(const TxEngine& e, int id, int col) {
    QStringList out;
    for (int r = 1; r <= e.TableRows(id); ++r)
        out << e.TableCellText(r, col, id);
    return out;
}

int tableCount(const TxEngine& e) {
    int n = 0;
    for (int id = e.NextTable(0); id; id = e.NextTable(id))
        ++n;
    return n;
}

// Answers the next table page: sets rows and columns and presses OK; tells
// whether the page closed.
void answerTablePage(ScriptedPrompter& p, const QString& rows, const QString& cols, bool* closed) {
    p.answerDialog([=](QDialog& d) {
        auto* page = d.findChild<TablePage*>();
        EXPECT_NE(page, nullptr);
        if (!page)
            return false;
        page->cbRows->setCurrentText(rows);
        page->cbCols->setCurrentText(cols);
        d.setResult(0);
        d.findChild<QPushButton*>(QStringLiteral("cmOk0"))->click();
        *closed = d.result() == QDialog::Accepted;
        return *closed;
    });
}

} // namespace

TEST_F(EditorTest, RowsAndColumnsGoInAndOutAroundTheCaretCell) {
    ScriptedPrompter p;
    uTxm& t = open();
    tablePage(t, 2, 2, 2, 1);
    TxEngine& e = *t.mTxt;
    t.rtAct(80, QStringLiteral("右"));
    EXPECT_EQ(e.TableColumns(1), 3);
    EXPECT_EQ(e.TableCellText(2, 2, 1), QString()); // new column right of column 1
    EXPECT_EQ(e.TableCellText(2, 3, 1), QStringLiteral("2,2"));
    EXPECT_TRUE(t.bDcEdt());
    t.rtAct(80, QStringLiteral("左"));
    EXPECT_EQ(e.TableColumns(1), 4);
    EXPECT_EQ(e.TableCellText(1, 2, 1), QStringLiteral("1,1"));

    t.rtAct(80, QStringLiteral("上"));
    EXPECT_EQ(column(e, 1, 2), (QStringList{"1,1", "", "2,1"}));
    t.rtAct(80, QStringLiteral("下"));
    EXPECT_EQ(column(e, 1, 2), (QStringList{"1,1", "", "2,1", ""}));
    EXPECT_EQ(e.TableRowAtCaret(), 3);

    // The caret column and row go again.
    t.rtAct(82, QStringLiteral("列"));
    EXPECT_EQ(e.TableColumns(1), 3);
    EXPECT_EQ(e.TableCellText(3, 1, 1), QString());
    t.rtAct(82, QStringLiteral("行"));
    EXPECT_EQ(e.TableRows(1), 3);
    EXPECT_EQ(column(e, 1, 2), (QStringList{"", "", ""}));
    EXPECT_EQ(column(e, 1, 3), (QStringList{"1,2", "", ""}));
}

TEST_F(EditorTest, SplittingSelectingAndDeletingTables) {
    ScriptedPrompter p;
    uTxm& t = open();
    TxEngine& e = *t.mTxt;
    // Split above row 2 of three: rows 2 and 3 make a second table. The
    // page changed, so it is marked.
    tablePage(t, 3, 2, 2, 2);
    t.rtAct(81, QStringLiteral("上"));
    ASSERT_EQ(tableCount(e), 2);
    EXPECT_EQ(column(e, 1, 1), (QStringList{"1,1"}));
    EXPECT_EQ(column(e, 2, 1), (QStringList{"2,1", "3,1"}));
    EXPECT_TRUE(t.bDcEdt());
    // Below the last row there is nothing to split off.
    tablePage(t, 3, 2, 3, 1);
    t.rtAct(81, QStringLiteral("下"));
    EXPECT_EQ(tableCount(e), 1);
    EXPECT_FALSE(t.bDcEdt());
    t.rtAct(81, QStringLiteral("下"));
    e.SetSelStart(e.TableCellStart(1, 1, 1));
    t.rtAct(81, QStringLiteral("下"));
    EXPECT_EQ(column(e, 2, 2), (QStringList{"2,2", "3,2"}));

    // Selecting: the table, the caret row, the caret cell.
    tablePage(t, 2, 2, 2, 2);
    t.rtAct(83, QStringLiteral("ｾﾙ"));
    EXPECT_EQ(e.SelText(), QStringLiteral("2,2"));
    t.rtAct(83, QStringLiteral("行"));
    EXPECT_TRUE(e.SelText().contains(QStringLiteral("2,1")));
    EXPECT_FALSE(e.SelText().contains(QStringLiteral("1,2")));
    t.rtAct(83, QStringLiteral("表"));
    EXPECT_TRUE(e.SelText().contains(QStringLiteral("1,1")));
    EXPECT_TRUE(e.SelText().contains(QStringLiteral("2,2")));
    EXPECT_FALSE(t.bDcEdt());

    // Deleting the table takes all of it and leaves the text around it.
    t.rtAct(82, QStringLiteral("表"));
    EXPECT_EQ(tableCount(e), 0);
    EXPECT_TRUE(e.Text().startsWith(QStringLiteral("before")));
    EXPECT_TRUE(e.Text().endsWith(QStringLiteral("after")));
    EXPECT_TRUE(t.bDcEdt());
}

TEST_F(EditorTest, TableCommandsIgnoreOtherWordsAndPlacesOutsideTables) {
    ScriptedPrompter p;
    p.setStrict(true);
    uTxm& t = open();
    TxEngine& e = *t.mTxt;
    tablePage(t, 2, 2, 1, 1);
    const QByteArray before = e.SaveBytes(TxEngine::FmtNative);
    for (int code : {80, 81, 82, 83, 85})
        for (const QVariant& arg : {QVariant(QStringLiteral("斜め")), QVariant(), QVariant(1)})
            t.rtAct(code, arg);
    EXPECT_EQ(e.SaveBytes(TxEngine::FmtNative), before);
    EXPECT_FALSE(t.bDcEdt());
    // Outside a table the words that need one do nothing either.
    e.SetSelStart(0);
    for (const char* w : {"左", "上"})
        t.rtAct(80, QString::fromUtf8(w));
    t.rtAct(82, QStringLiteral("行"));
    t.rtAct(85, QStringLiteral("表"));
    EXPECT_EQ(e.SaveBytes(TxEngine::FmtNative), before);
    EXPECT_FALSE(t.bDcEdt());
    EXPECT_TRUE(p.calls.isEmpty());
    // The grid toggles without touching the page.
    const bool grid = e.ShowGrid();
    t.rtAct(84);
    EXPECT_NE(e.ShowGrid(), grid);
    t.rtAct(84);
    EXPECT_EQ(e.ShowGrid(), grid);
    EXPECT_FALSE(t.bDcEdt());
}

TEST_F(EditorTest, TableFlagsFollowTheCaretAndAreOffWhileAFrameIsEdited) {
    ScriptedPrompter p;
    uTxm& t = open();
    bool grid, insTb, insCl, insRw, delCl, delRw, slcTb, splTb, inHd, inTf;
    auto flags = [&] {
        t.ChkJbMn5(grid, insTb, insCl, insRw, delCl, delRw, slcTb, splTb, inHd, inTf);
    };
    tablePage(t, 2, 3, 1, 2);
    flags();
    EXPECT_TRUE(insCl && insRw && delCl && delRw && slcTb && splTb);
    EXPECT_FALSE(inHd || inTf);
    // Outside the table only a new table can go in.
    t.mTxt->SetSelStart(1);
    flags();
    EXPECT_TRUE(insTb);
    EXPECT_FALSE(insCl || insRw || delCl || delRw || slcTb || splTb);
    // A one-row table cannot be split.
    tablePage(t, 1, 2, 1, 1);
    flags();
    EXPECT_TRUE(slcTb);
    EXPECT_FALSE(splTb);
    // While a label frame is being edited every flag is off, in a table too.
    tablePage(t, 2, 2, 1, 1);
    t.iTf = 3;
    flags();
    EXPECT_TRUE(inTf);
    EXPECT_FALSE(grid || insTb || insCl || insRw || delCl || delRw || slcTb || splTb);
    t.iTf = 0;
}

TEST_F(EditorTest, TablePageRefusesCountsATableCannotHave) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(QStringLiteral("text"));
    t.SetDcEdt(false);
    bool closed = true;
    struct Case {
        const char* rows;
        const char* cols;
        const char* message;
    };
    const Case bad[] = {
        {"0", "2", "行数には1以上の値を入力して下さい"},
        {"-3", "2", "行数には1以上の値を入力して下さい"},
        {"3", "0", "列数には1以上の値を入力して下さい"},
        {"3", "-1", "列数には1以上の値を入力して下さい"},
        {"3", "64", "列数には63以下の値を入力して下さい"},
        {"1001", "2", "行数には1000以下の値を入力して下さい"},
        {"", "2", "行数には数値を入力して下さい"},
    };
    for (const Case& c : bad) {
        p.calls.clear();
        answerTablePage(p, QString::fromUtf8(c.rows), QString::fromUtf8(c.cols), &closed);
        t.rtAct(80, QStringLiteral("表"));
        EXPECT_FALSE(closed) << c.rows << " x " << c.cols;
        ASSERT_FALSE(p.messages().isEmpty());
        EXPECT_EQ(p.messages().last(), QString::fromUtf8(c.message));
        // The refused field has the focus.
        auto* page = t.Dialog()->findChild<TablePage*>();
        const bool rowsBad = QString::fromUtf8(c.message).startsWith(QStringLiteral("行数"));
        const QWidget* focus = t.Dialog()->focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_EQ(focus == page->cbRows || focus->parent() == page->cbRows, rowsBad);
        EXPECT_EQ(focus == page->cbCols || focus->parent() == page->cbCols, !rowsBad);
        EXPECT_EQ(tableCount(*t.mTxt), 0);
        EXPECT_FALSE(t.bDcEdt());
    }
    answerTablePage(p, QStringLiteral(" 4 "), QStringLiteral("63"), &closed);
    t.rtAct(80, QStringLiteral("表"));
    EXPECT_TRUE(closed);
    ASSERT_EQ(tableCount(*t.mTxt), 1);
    EXPECT_EQ(t.mTxt->TableRows(1), 4);
    EXPECT_EQ(t.mTxt->TableColumns(1), 63);
    EXPECT_TRUE(t.bDcEdt());
    // Every cell of the new table has lines of its own, its width a share
    // of the text width.
    QTextTable* table = t.mTxt->ActiveEdit()->textCursor().currentTable();
    ASSERT_NE(table, nullptr);
    for (int r = 0; r < 4; ++r)
        for (int c : {0, 62}) {
            const QTextTableCellFormat f = table->cellAt(r, c).format().toTableCellFormat();
            EXPECT_GT(f.topBorder(), 0) << r << "," << c;
            EXPECT_GT(f.rightBorder(), 0) << r << "," << c;
        }
    EXPECT_EQ(table->format().columnWidthConstraints().value(0).type(),
              QTextLength::PercentageLength);
}

TEST_F(EditorTest, TableFormatDialogSetsTheSelectedCellsAndRefusesBadMeasures) {
    ScriptedPrompter p;
    uTxm& t = open();
    TxEngine& e = *t.mTxt;
    tablePage(t, 2, 2, 2, 1);
    // Cancel: nothing changes, nothing is marked.
    const QByteArray before = e.SaveBytes(TxEngine::FmtNative);
    p.answerDialog([](QDialog&) { return false; });
    t.rtAct(85, QStringLiteral("行"));
    EXPECT_EQ(e.SaveBytes(TxEngine::FmtNative), before);
    EXPECT_FALSE(t.bDcEdt());

    // Negative or missing measures keep the dialog open with the field
    // focused; good ones apply to the caret row.
    QStringList focused;
    bool accepted = false;
    p.answerDialog([&](QDialog& d) {
        auto& dlg = dynamic_cast<TxTableDialog&>(d);
        for (QLineEdit* f : {dlg.txBorder, dlg.txWidth, dlg.txMargin}) {
            const QString kept = f->text();
            f->setText(f == dlg.txWidth ? QStringLiteral("0") : QStringLiteral("-5"));
            dlg.accept();
            focused << (d.focusWidget() ? d.focusWidget()->objectName() : QString());
            f->setText(kept);
        }
        dlg.txBorder->setText(QStringLiteral("30"));
        dlg.txWidth->setText(QStringLiteral("2000"));
        dlg.txMargin->setText(QStringLiteral("60"));
        dlg.chShade->setChecked(true);
        dlg.accept();
        accepted = d.result() == QDialog::Accepted;
        return accepted;
    });
    t.rtAct(85, QStringLiteral("行"));
    EXPECT_EQ(focused, (QStringList{"txBorder", "txWidth", "txMargin"}));
    EXPECT_EQ(p.messages().mid(0, 3), (QStringList{"罫線の太さには0以上の値を入力して下さい",
                                                   "ｾﾙの幅には1以上の値を入力して下さい",
                                                   "ｾﾙ内の余白には0以上の値を入力して下さい"}));
    EXPECT_TRUE(accepted);
    EXPECT_TRUE(t.bDcEdt());

    // The dialog opens on the values it set: the row's cells have them,
    // the first row does not.
    auto lookAt = [&](int row, const QString& part) {
        TxTableLook seen;
        e.SetSelStart(e.TableCellStart(row, 1, 1));
        p.answerDialog([&](QDialog& d) {
            seen = TxTableLook{};
            auto& dlg = dynamic_cast<TxTableDialog&>(d);
            seen.border = dlg.txBorder->text().toInt();
            seen.width = dlg.txWidth->text().toInt();
            seen.margin = dlg.txMargin->text().toInt();
            if (dlg.chShade->isChecked())
                seen.shading = 0;
            return false;
        });
        t.rtAct(85, part);
        return seen;
    };
    const TxTableLook row2 = lookAt(2, QStringLiteral("ｾﾙ"));
    EXPECT_EQ(row2.border, 30);
    EXPECT_EQ(row2.width, 2000);
    EXPECT_EQ(row2.margin, 60);
    EXPECT_TRUE(row2.shading.has_value());
    const TxTableLook row1 = lookAt(1, QStringLiteral("ｾﾙ"));
    EXPECT_EQ(row1.width, 2000); // the column's width
    EXPECT_FALSE(row1.shading.has_value());
    EXPECT_EQ(row1.margin, 60); // the table's

    // Over the whole table only what the user changed is applied: the two
    // columns keep their different widths and the second row its background.
    e.SetSelStart(e.TableCellStart(1, 2, 1));
    p.answerDialog([](QDialog& d) {
        auto& dlg = dynamic_cast<TxTableDialog&>(d);
        dlg.txWidth->setText(QStringLiteral("3000"));
        dlg.accept();
        return true;
    });
    t.rtAct(85, QStringLiteral("ｾﾙ"));
    p.answerDialog([](QDialog& d) {
        auto& dlg = dynamic_cast<TxTableDialog&>(d);
        dlg.txBorder->setText(QStringLiteral("0"));
        dlg.accept();
        return true;
    });
    t.rtAct(85, QStringLiteral("表"));
    QTextTable* table = e.ActiveEdit()->textCursor().currentTable();
    ASSERT_NE(table, nullptr);
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_EQ(qRound(widths[0].rawValue() * 15), 2000);
    EXPECT_EQ(qRound(widths[1].rawValue() * 15), 3000);
    EXPECT_EQ(table->cellAt(0, 0).format().toTableCellFormat().topBorder(), 0);
    EXPECT_EQ(table->cellAt(1, 1).format().background().style(), Qt::SolidPattern);
    EXPECT_EQ(table->cellAt(0, 1).format().background().style(), Qt::NoBrush);
}

TEST(TableRules, WordsAndMeasures) {
    EXPECT_EQ(TxTable::PartOf(QStringLiteral("表")), 0);
    EXPECT_EQ(TxTable::PartOf(QStringLiteral(" 行 ")), 1);
    EXPECT_EQ(TxTable::PartOf(QStringLiteral("ｾﾙ")), 2);
    EXPECT_EQ(TxTable::PartOf(QStringLiteral("セル")), -1); // full-width is not the word
    EXPECT_EQ(TxTable::PartOf(QString()), -1);
    // An empty measure takes its default only where one is given.
    EXPECT_EQ(TxTable::ReadMeasure(QString(), QStringLiteral("幅"), 1, 10, 5).value, 5);
    EXPECT_FALSE(TxTable::ReadMeasure(QString(), QStringLiteral("幅"), 1, 10).ok);
    EXPECT_FALSE(TxTable::ReadMeasure(QStringLiteral("1.5"), QStringLiteral("幅"), 1, 10).ok);
    EXPECT_TRUE(TxTable::ReadMeasure(QStringLiteral("10"), QStringLiteral("幅"), 1, 10).ok);
    EXPECT_FALSE(TxTable::ReadMeasure(QStringLiteral("11"), QStringLiteral("幅"), 1, 10).ok);
}

TEST_F(EditorTest, TabMovesFromCellToCellAndAddsARowAtTheEnd) {
    ScriptedPrompter p;
    uTxm& t = open();
    TxEngine& e = *t.mTxt;
    tablePage(t, 2, 2, 1, 2);
    t.mTxt->setFocus();
    QTest::keyClick(t.mTxt, Qt::Key_Tab);
    EXPECT_EQ(e.TableRowAtCaret(), 2);
    EXPECT_EQ(e.TableColumnAtCaret(), 1);
    EXPECT_EQ(e.SelText(), QStringLiteral("2,1")); // the cell's text, to type over
    QTest::keyClick(t.mTxt, Qt::Key_Tab);
    QTest::keyClick(t.mTxt, Qt::Key_Tab);
    EXPECT_EQ(e.TableRows(1), 3);
    EXPECT_EQ(e.TableRowAtCaret(), 3);
    EXPECT_TRUE(t.bDcEdt());
    QTest::keyClicks(t.mTxt, QStringLiteral("new"));
    EXPECT_EQ(e.TableCellText(3, 1, 1), QStringLiteral("new"));
    QTest::keyClick(t.mTxt, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(e.TableRowAtCaret(), 2);
    EXPECT_EQ(e.TableColumnAtCaret(), 2);
    // No tab character went into any cell.
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 2; ++c)
            EXPECT_FALSE(e.TableCellText(r, c, 1).contains(u'\t')) << r << "," << c;
    // Outside tables Tab is a tab.
    e.SetSelStart(0);
    QTest::keyClick(t.mTxt, Qt::Key_Tab);
    EXPECT_TRUE(e.Text().startsWith(u'\t'));
}
