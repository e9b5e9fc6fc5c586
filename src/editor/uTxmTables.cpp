// uTxm: the table commands 80 to 85 and the table formatting dialog.
#include "BridgeCommon.h"
#include "Prompter.h"
#include "TxEngine.h"
#include "TxProps.h"
#include "TxTableDialog.h"
#include "TxTableRules.h"
#include "sbTxm.h"
#include "uTxm.h"

#include <QKeyEvent>
#include <QTextCursor>
#include <QTextTable>

namespace {

// Lines round the cells of a new table: 0.5 point.
constexpr int kNewTableBorder = 10;

int textWidthOf(const TxEngine& tx) {
    return std::max(1, tx.PageWidth() - tx.MarginLeft() - tx.MarginRight());
}

int countTables(const TxEngine& tx) {
    int n = 0;
    for (int id = tx.NextTable(0); id; id = tx.NextTable(id))
        ++n;
    return n;
}

// The cells a format part covers, from the caret cell.
struct CellRange {
    int row0 = 0, rows = 0, col0 = 0, cols = 0;
};

CellRange rangeOf(const QTextTable* t, const QTextTableCell& caret, int part) {
    switch (part) {
    case TxEngine::SelTable:
        return {0, t->rows(), 0, t->columns()};
    case TxEngine::SelRow:
        return {caret.row(), caret.rowSpan(), 0, t->columns()};
    default:
        return {caret.row(), caret.rowSpan(), caret.column(), caret.columnSpan()};
    }
}

// The width of column `c` in twips, from the table's column widths.
int columnTwips(const QTextTable* t, int c, int textWidth) {
    const QList<QTextLength> widths = t->format().columnWidthConstraints();
    if (c < widths.size()) {
        const QTextLength& l = widths[c];
        if (l.type() == QTextLength::FixedLength)
            return txp::twips(l.rawValue());
        if (l.type() == QTextLength::PercentageLength)
            return qRound(textWidth * l.rawValue() / 100.0);
    }
    return textWidth / std::max(1, t->columns());
}

// A cell's properties as the Word writer sees them: its own, or the ones the
// writer derives for a cell that has none.
model::TableCell cellModel(const QTextTable* t, const QTextTableCell& cell, int textWidth) {
    const QTextCharFormat f = cell.format();
    if (f.hasProperty(txp::CellProps))
        return bridge::cellFromProps(f.property(txp::CellProps).toMap());
    model::TableCell m;
    m.width = columnTwips(t, cell.column(), textWidth);
    if (cell.columnSpan() > 1)
        m.horizontalMerge = model::Merge::Restart;
    if (cell.rowSpan() > 1)
        m.verticalMerge = model::Merge::Restart;
    const QTextTableFormat tf = t->format();
    if (tf.border() > 0 && tf.borderStyle() != QTextFrameFormat::BorderStyle_None) {
        model::Border b;
        b.style = model::BorderStyle::Single;
        b.width = std::max(1, txp::twips(tf.border()));
        m.top = m.left = m.bottom = m.right = b;
    }
    return m;
}

TxTableLook lookOf(const QTextTable* t, const QTextTableCell& cell, int textWidth) {
    const model::TableCell m = cellModel(t, cell, textWidth);
    TxTableLook l;
    l.border = m.top.isNone() ? 0 : m.top.width;
    l.width = m.width > 0 ? m.width : columnTwips(t, cell.column(), textWidth);
    const QTextTableFormat tf = t->format();
    l.margin = tf.hasProperty(txp::TableCellMargin) ? tf.intProperty(txp::TableCellMargin)
                                                    : txp::twips(tf.cellPadding());
    if (m.shading != model::kAutoColor)
        l.shading = m.shading;
    return l;
}

// Gives the cells of `r` the values of `l` that differ from `before` (all of
// them without `before`): values the user left as the dialog showed them
// keep each cell's own, so confirming a dialog over cells of different
// widths or lines does not make them all alike. A width of 0 leaves the
// widths alone.
void applyTableLook(QTextTable* t, const CellRange& r, int part, const TxTableLook& l,
                    int textWidth, const TxTableLook* before = nullptr) {
    const bool border = !before || before->border != l.border;
    const bool shading = !before || before->shading != l.shading;
    const bool width = l.width > 0 && (!before || before->width != l.width);
    const bool margin = !before || before->margin != l.margin;
    QTextCursor edit = t->firstCursorPosition();
    edit.beginEditBlock();
    for (int row = r.row0; row < r.row0 + r.rows; ++row)
        for (int col = r.col0; col < r.col0 + r.cols; ++col) {
            QTextTableCell cell = t->cellAt(row, col);
            if (cell.row() != row || cell.column() != col)
                continue; // covered by a merged cell
            model::TableCell m = cellModel(t, cell, textWidth);
            if (border) {
                model::Border b;
                if (l.border > 0) {
                    b.style = model::BorderStyle::Single;
                    b.width = l.border;
                }
                m.top = m.left = m.bottom = m.right = b;
            }
            if (shading)
                m.shading = l.shading.value_or(model::kAutoColor);
            if (width)
                m.width = l.width;
            else if (m.width <= 0)
                m.width = columnTwips(t, col, textWidth);
            QTextTableCellFormat f = cell.format().toTableCellFormat();
            f.setBorder(0);
            f.clearBackground();
            f.merge(bridge::cellFormat(m));
            cell.setFormat(f);
        }
    QTextTableFormat tf = t->format();
    if (width) {
        QList<QTextLength> widths = tf.columnWidthConstraints();
        while (widths.size() < t->columns())
            widths << QTextLength(QTextLength::PercentageLength, 100.0 / t->columns());
        for (int col = r.col0; col < r.col0 + r.cols; ++col)
            widths[col] = QTextLength(QTextLength::FixedLength, txp::px(l.width));
        tf.setColumnWidthConstraints(widths);
        // Columns of fixed widths make the table as wide as they are.
        bool allFixed = true;
        for (const QTextLength& w : widths)
            allFixed = allFixed && w.type() == QTextLength::FixedLength;
        if (allFixed)
            tf.setWidth(QTextLength());
    }
    if (margin) {
        tf.setProperty(txp::TableCellMargin, l.margin);
        tf.setCellPadding(txp::px(l.margin));
    }
    // The whole table's lines are the cells' own from now on.
    if (part == TxEngine::SelTable && border)
        tf.setBorder(l.border > 0 ? std::max(0.75, txp::px(l.border)) : 0);
    t->setFormat(tf);
    edit.endEditBlock();
}

} // namespace

bool uTxm::tableCommand(int iJb, const QVariant& vArg) {
    const QString w = vArg.toString().trimmed();
    const bool up = w == QStringLiteral("上"), down = w == QStringLiteral("下");
    switch (iJb) {
    case 80:
        if (w == QStringLiteral("表")) {
            const int before = countTables(*mTxt);
            QString ans;
            dlg_->Act(QStringLiteral("TB"), ans);
            if (countTables(*mTxt) == before)
                return false;
            lineNewTable();
            return true;
        }
        if (w == QStringLiteral("左") || w == QStringLiteral("右"))
            return mTxt->TableInsertColumn(w == QStringLiteral("右"));
        if (up || down)
            return mTxt->TableInsertRows(down, 1);
        return false;
    case 81: {
        // Splitting changes the page as much as inserting does.
        const bool done = (up || down) && mTxt->TableSplit(down);
        if (done)
            SetDcEdt(true);
        return done;
    }
    case 82:
        if (w == QStringLiteral("表"))
            return mTxt->TableSelect(TxEngine::SelTable) && mTxt->TableDeleteRows();
        if (w == QStringLiteral("列"))
            return mTxt->TableDeleteColumn();
        if (w == QStringLiteral("行"))
            return mTxt->TableDeleteRows();
        return false;
    case 83: {
        const int part = TxTable::PartOf(w);
        return part >= 0 && mTxt->TableSelect(part);
    }
    case 84:
        mTxt->SetShowGrid(!mTxt->ShowGrid());
        mTxt->Refresh();
        return true;
    case 85: {
        const int part = TxTable::PartOf(w);
        return part >= 0 && mTxt->TableSelect(part) && tableFormat(part, w);
    }
    default:
        return false;
    }
}

// A table from the table page gets thin single lines round every cell, as
// cell borders of its own: they show on screen and in print and are kept in
// the saved document (the formatting dialog takes them away again).
void uTxm::lineNewTable() {
    QTextTable* t = mTxt->ActiveEdit()->textCursor().currentTable();
    if (!t)
        return;
    TxTableLook l;
    l.border = kNewTableBorder;
    l.width = 0; // the widths stay shares of the text width
    const QTextTableFormat tf = t->format();
    l.margin = tf.hasProperty(txp::TableCellMargin) ? tf.intProperty(txp::TableCellMargin)
                                                    : txp::twips(tf.cellPadding());
    applyTableLook(t, {0, t->rows(), 0, t->columns()}, TxEngine::SelTable, l, textWidthOf(*mTxt));
}

// The table formatting dialog on the part just selected; true when it was
// confirmed and applied.
bool uTxm::tableFormat(int part, const QString& sWhat) {
    const QTextCursor c = mTxt->ActiveEdit()->textCursor();
    QTextTable* t = c.currentTable();
    if (!t)
        return false;
    const QTextTableCell caret = t->cellAt(c.selectionStart());
    if (!caret.isValid())
        return false;
    const int textWidth = textWidthOf(*mTxt);
    const CellRange r = rangeOf(t, caret, part);
    const TxTableLook before = lookOf(t, t->cellAt(r.row0, r.col0), textWidth);
    TxTableDialog dlg(before, sWhat, this);
    if (!Prompter::instance().exec(dlg))
        return false;
    applyTableLook(t, r, part, dlg.look(), textWidth, &before);
    return true;
}

// Tab in a table cell goes to the next cell and Shift+Tab to the one before,
// with the cell's text selected; Tab in the last cell adds a row. Returns
// whether the key was taken.
bool uTxm::tableKey(QKeyEvent* k) {
    const bool back = k->key() == Qt::Key_Backtab ||
                      (k->key() == Qt::Key_Tab && (k->modifiers() & Qt::ShiftModifier));
    if ((k->key() != Qt::Key_Tab && k->key() != Qt::Key_Backtab) ||
        (k->modifiers() & ~Qt::ShiftModifier))
        return false;
    QTextEdit* ed = mTxt->ActiveEdit();
    QTextCursor c = ed->textCursor();
    QTextTable* t = c.currentTable();
    if (!t)
        return false;
    const QTextTableCell cell = t->cellAt(c);
    int row = cell.row(), col = cell.column();
    if (back) {
        if (col > 0) {
            col = t->cellAt(row, col - 1).column();
        } else if (row > 0) {
            --row;
            col = t->columns() - 1;
        } else {
            return true; // the first cell: nowhere to go
        }
    } else {
        col += cell.columnSpan();
        if (col >= t->columns()) {
            col = 0;
            row += cell.rowSpan();
        }
        if (row >= t->rows()) {
            t->appendRows(1);
            SetDcEdt(true);
        }
    }
    const QTextTableCell to = t->cellAt(row, col);
    c.setPosition(to.firstPosition());
    c.setPosition(to.lastPosition(), QTextCursor::KeepAnchor);
    ed->setTextCursor(c);
    return true;
}
