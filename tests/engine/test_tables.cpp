// Table operations: insertion, rows and columns, split, delete, selection,
// cell access by row/column/table, and the menu possibilities.
#include "EngineTestUtil.h"

#include <gtest/gtest.h>

namespace {

// A 3 x 3 table after "intro", cells named r<row>c<column>.
void makeTable(TxEngine& e) {
    e.SetText(ctl("intro|"));
    e.SetSelStart(6);
    ASSERT_TRUE(e.TableInsert(3, 3));
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c)
            ASSERT_TRUE(e.SetTableCellText(r, c, 1, QString("r%1c%2").arg(r).arg(c)));
}

QString row(TxEngine& e, int r, int id = 1) {
    QStringList cells;
    for (int c = 1; c <= e.TableColumns(id); ++c)
        cells << e.TableCellText(r, c, id);
    return cells.join(',');
}

} // namespace

TEST(EngineTables, InsertRowsAndColumns) {
    TxEngine e;
    makeTable(e);
    EXPECT_EQ(e.TableRows(1), 3);
    EXPECT_EQ(e.TableColumns(1), 3);
    e.SetSelStart(e.TableCellStart(2, 2, 1));
    EXPECT_TRUE(e.TableInsertColumn(true));
    EXPECT_EQ(row(e, 2), "r2c1,r2c2,,r2c3");
    e.SetSelStart(e.TableCellStart(2, 2, 1));
    EXPECT_TRUE(e.TableInsertColumn(false));
    EXPECT_EQ(row(e, 1), "r1c1,,r1c2,,r1c3");
    e.SetSelStart(e.TableCellStart(2, 1, 1));
    EXPECT_TRUE(e.TableInsertRows(false));
    EXPECT_EQ(row(e, 2), ",,,,");
    EXPECT_EQ(row(e, 3), "r2c1,,r2c2,,r2c3");
    e.SetSelStart(e.TableCellStart(4, 1, 1));
    EXPECT_TRUE(e.TableInsertRows(true, 2));
    EXPECT_EQ(e.TableRows(1), 6);
    EXPECT_EQ(row(e, 4), "r3c1,,r3c2,,r3c3");
    // Outside a table nothing happens.
    e.SetSelStart(0);
    EXPECT_FALSE(e.TableInsertRows(true));
    EXPECT_FALSE(e.TableInsertColumn(true));
    EXPECT_FALSE(e.TableDeleteRows());
    EXPECT_FALSE(e.TableSelect(TxEngine::SelRow));
    EXPECT_FALSE(e.TableInsert(0, 3));
}

TEST(EngineTables, DeleteAndSelect) {
    TxEngine e;
    makeTable(e);
    e.SetSelStart(e.TableCellStart(2, 3, 1) + 1);
    EXPECT_TRUE(e.TableSelect(TxEngine::SelCell));
    EXPECT_EQ(e.SelText(), "r2c3");
    EXPECT_TRUE(e.TableSelect(TxEngine::SelRow));
    EXPECT_EQ(shown(e.SelText()), "r2c1~r2c2~r2c3");
    e.SetSelStart(e.TableCellStart(2, 3, 1));
    EXPECT_TRUE(e.TableSelect(TxEngine::SelTable));
    EXPECT_EQ(shown(e.SelText()), "r1c1~r1c2~r1c3|r2c1~r2c2~r2c3|r3c1~r3c2~r3c3");
    // Delete the caret column, then the selected rows.
    e.SetSelStart(e.TableCellStart(1, 2, 1));
    EXPECT_TRUE(e.TableDeleteColumn());
    EXPECT_EQ(row(e, 1), "r1c1,r1c3");
    e.SetSelStart(e.TableCellStart(1, 1, 1));
    e.SetSelLength(e.TableCellStart(2, 1, 1) - e.SelStart() + 1); // rows 1 to 2
    EXPECT_TRUE(e.TableDeleteRows());
    EXPECT_EQ(e.TableRows(1), 1);
    EXPECT_EQ(row(e, 1), "r3c1,r3c3");
    // Deleting every row removes the table.
    e.SetSelStart(e.TableCellStart(1, 1, 1));
    EXPECT_TRUE(e.TableDeleteRows());
    EXPECT_EQ(e.TableRows(1), 0);
    EXPECT_EQ(e.NextTable(0), 0);
    EXPECT_EQ(shown(e.Text()), "intro|");
}

TEST(EngineTables, SplitAboveAndBelow) {
    TxEngine e;
    makeTable(e);
    e.SetSelStart(e.TableCellStart(2, 1, 1));
    EXPECT_TRUE(e.TableSplit(true)); // rows after row 2 become a table of their own
    EXPECT_EQ(e.NextTable(0), 1);
    EXPECT_EQ(e.NextTable(1), 2);
    EXPECT_EQ(e.TableRows(1), 2);
    EXPECT_EQ(e.TableRows(2), 1);
    EXPECT_EQ(row(e, 1, 2), "r3c1,r3c2,r3c3");
    e.SetSelStart(e.TableCellStart(2, 1, 1));
    EXPECT_TRUE(e.TableSplit(false)); // row 2 and after move out
    EXPECT_EQ(e.TableRows(1), 1);
    EXPECT_EQ(e.TableRows(2), 1);
    EXPECT_EQ(row(e, 1, 2), "r2c1,r2c2,r2c3");
    EXPECT_EQ(row(e, 1, 3), "r3c1,r3c2,r3c3");
    // A one-row table cannot be split.
    e.SetSelStart(e.TableCellStart(1, 1, 1));
    EXPECT_FALSE(e.TableSplit(false));
    EXPECT_FALSE(e.TableSplit(true));
    // Tables stay apart: each has its paragraph between.
    EXPECT_EQ(shown(e.Text()), "intro||r1c1~r1c2~r1c3||r2c1~r2c2~r2c3||r3c1~r3c2~r3c3|");
}

TEST(EngineTables, Possibilities) {
    TxEngine e;
    makeTable(e);
    e.SetSelStart(2);
    TxEngine::TablePossible p = e.TablePossibilities();
    EXPECT_TRUE(p.insertTable);
    EXPECT_FALSE(p.inTable);
    EXPECT_FALSE(p.insertRow);
    EXPECT_FALSE(p.deleteColumn);
    EXPECT_FALSE(p.split);
    e.SetSelLength(-1); // across paragraphs and into the table
    EXPECT_FALSE(e.TablePossibilities().insertTable);
    e.SetSelStart(e.TableCellStart(1, 1, 1));
    p = e.TablePossibilities();
    EXPECT_TRUE(p.inTable);
    EXPECT_TRUE(p.insertColumn);
    EXPECT_TRUE(p.insertRow);
    EXPECT_TRUE(p.deleteColumn);
    EXPECT_TRUE(p.deleteRow);
    EXPECT_TRUE(p.split);
    // Grid lines are a view setting.
    EXPECT_TRUE(e.ShowGrid());
    e.SetShowGrid(false);
    EXPECT_FALSE(e.ShowGrid());
}

TEST(EngineTables, BadCellAddressesChangeNothing) {
    TxEngine e;
    makeTable(e);
    const QString before = e.Text();
    EXPECT_EQ(e.TableCellStart(0, 1, 1), -1);
    EXPECT_EQ(e.TableCellStart(1, 4, 1), -1);
    EXPECT_EQ(e.TableCellStart(1, 1, 2), -1);
    EXPECT_EQ(e.TableCellText(4, 1, 1), "");
    EXPECT_FALSE(e.SetTableCellText(1, 1, 5, "x"));
    EXPECT_EQ(e.Text(), before);
    EXPECT_EQ(e.TableRows(7), 0);
}
