// A column inserted into a table shares the table's room: columns of fixed
// widths are scaled down to the text width of the page (or of the text
// frame), percentages to 100, and a table with room to spare keeps its
// widths.
#include "EngineTestUtil.h"
#include "TxDocument.h"
#include "TxProps.h"

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

namespace {

QTextTable* tableOf(QTextDocument* doc) {
    for (QTextFrame* f : doc->rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f))
            return t;
    return nullptr;
}

// Gives every column of `t` a fixed width of `twips`.
void setFixed(QTextTable* t, int twips) {
    QTextTableFormat f = t->format();
    QList<QTextLength> widths;
    for (int i = 0; i < t->columns(); ++i)
        widths << QTextLength(QTextLength::FixedLength, txp::px(twips));
    f.setColumnWidthConstraints(widths);
    f.setWidth(QTextLength());
    t->setFormat(f);
}

double total(const QTextTable* t, QTextLength::Type type) {
    double sum = 0;
    for (const QTextLength& l : t->format().columnWidthConstraints())
        if (l.type() == type)
            sum += l.rawValue();
    return sum;
}

double laidWidth(TxEngine& e, QTextTable* t) {
    QTextDocument* doc = e.document2().body();
    doc->adjustSize();
    return doc->documentLayout()->frameBoundingRect(t).width();
}

// A one-row table of `columns` after "intro", the caret in its first cell.
QTextTable* makeTable(TxEngine& e, int columns) {
    e.SetText(ctl("intro|"));
    e.SetSelStart(6);
    EXPECT_TRUE(e.TableInsert(1, columns));
    return tableOf(e.document2().body());
}

} // namespace

TEST(EngineTableWidths, InsertedColumnKeepsFixedColumnsWithinThePage) {
    TxEngine e;
    const int text = e.PageWidth() - e.MarginLeft() - e.MarginRight();
    QTextTable* t = makeTable(e, 3);
    ASSERT_NE(t, nullptr);
    setFixed(t, text / 3); // as wide as the page's text
    const double before = laidWidth(e, t);
    e.SetSelStart(e.TableCellStart(1, 2, 1));
    ASSERT_TRUE(e.TableInsertColumn(true));
    ASSERT_EQ(t->columns(), 4);
    const QList<QTextLength> widths = t->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 4);
    EXPECT_LE(total(t, QTextLength::FixedLength), txp::px(text) + 0.01);
    EXPECT_GT(total(t, QTextLength::FixedLength), txp::px(text) - 1);
    // Equal columns stay equal; none is wider than before.
    for (const QTextLength& l : widths) {
        EXPECT_EQ(l.type(), QTextLength::FixedLength);
        EXPECT_NEAR(l.rawValue(), txp::px(text) / 4, 0.01);
    }
    // Laid out, the table is no wider than it was before the column came.
    EXPECT_LE(laidWidth(e, t), before + 0.5);

    // One undo takes the column and its widths back.
    e.Undo();
    EXPECT_EQ(t->columns(), 3);
    EXPECT_NEAR(total(t, QTextLength::FixedLength), 3 * txp::px(text / 3), 0.01);
}

TEST(EngineTableWidths, TablesWithRoomAndPercentagesAndFrames) {
    TxEngine e;
    // Narrow fixed columns with room to spare keep their widths.
    QTextTable* t = makeTable(e, 2);
    setFixed(t, 1000);
    ASSERT_TRUE(e.TableInsertColumn(false));
    for (const QTextLength& l : t->format().columnWidthConstraints())
        EXPECT_DOUBLE_EQ(l.rawValue(), txp::px(1000));

    // A new table's percentages still add up to the whole width.
    TxEngine p;
    QTextTable* pt = makeTable(p, 3);
    ASSERT_TRUE(p.TableInsertColumn(true));
    EXPECT_NEAR(total(pt, QTextLength::PercentageLength), 100, 0.01);
    EXPECT_EQ(pt->format().columnWidthConstraints().size(), 4);

    // Inside a text frame the frame's width is the room.
    TxEngine f;
    const int frame = f.TextFrameInsert(1440, 1440, 2880, 2000);
    ASSERT_TRUE(f.TextFrameSelect(frame));
    f.SetText(ctl("x|"));
    f.SetSelStart(2);
    ASSERT_TRUE(f.TableInsert(1, 2));
    QTextDocument* fd = f.document2().frame(frame)->doc.get();
    QTextTable* ft = tableOf(fd);
    ASSERT_NE(ft, nullptr);
    setFixed(ft, 1440);
    ASSERT_TRUE(f.TableInsertColumn(true));
    const double room = txp::px(2880) - 2 * fd->documentMargin();
    EXPECT_LE(total(ft, QTextLength::FixedLength), room + 0.01);
    EXPECT_GT(total(ft, QTextLength::FixedLength), room - 1);
}
