// TxEngine: tables. A table's id is its place (from 1) among the tables of
// the active part, outer tables before the tables nested in them.
#include "TxEngine.h"

#include "QuickLayout.h"
#include "TextMap.h"
#include "TxEngineState.h"
#include "TxProps.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <functional>

namespace {

void collectTables(QTextFrame* frame, std::vector<QTextTable*>& out) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* t = qobject_cast<QTextTable*>(child))
            out.push_back(t);
        collectTables(child, out);
    }
}

std::vector<QTextTable*> tablesOf(const QTextDocument* doc) {
    std::vector<QTextTable*> out;
    collectTables(doc->rootFrame(), out);
    return out;
}

QTextTable* tableById(const QTextDocument* doc, int id) {
    const auto all = tablesOf(doc);
    return id >= 1 && id <= int(all.size()) ? all[id - 1] : nullptr;
}

int idOf(const QTextDocument* doc, const QTextTable* t) {
    const auto all = tablesOf(doc);
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i] == t)
            return int(i) + 1;
    return 0;
}

// Per-row properties live in a list on the table format; keep it in step
// with inserted and removed rows.
void editRowProps(QTextTable* t, const std::function<void(QVariantList&)>& change) {
    QTextTableFormat f = t->format();
    if (!f.hasProperty(txp::RowProps))
        return;
    QVariantList rows = f.property(txp::RowProps).toList();
    change(rows);
    f.setProperty(txp::RowProps, rows);
    t->setFormat(f);
}

// Scales a table's column widths down so they take no more than `room`
// (layout units): percentages to 100 at most, fixed widths to what the
// percentages leave.
void fitColumns(QTextTable* t, double room) {
    QTextTableFormat f = t->format();
    QList<QTextLength> widths = f.columnWidthConstraints();
    double percent = 0, fixed = 0;
    for (const QTextLength& l : widths) {
        if (l.type() == QTextLength::PercentageLength)
            percent += l.rawValue();
        else if (l.type() == QTextLength::FixedLength)
            fixed += l.rawValue();
    }
    const double percentScale = percent > 100 ? 100 / percent : 1;
    const double fixedRoom = room * (1 - std::min(percent, 100.0) / 100);
    const double fixedScale = fixed > fixedRoom && fixed > 0 ? fixedRoom / fixed : 1;
    if (percentScale == 1 && fixedScale == 1)
        return;
    for (QTextLength& l : widths) {
        if (l.type() == QTextLength::PercentageLength)
            l = QTextLength(l.type(), l.rawValue() * percentScale);
        else if (l.type() == QTextLength::FixedLength)
            l = QTextLength(l.type(), l.rawValue() * fixedScale);
    }
    f.setColumnWidthConstraints(widths);
    t->setFormat(f);
}

// The width a table of the active part may take: the page's text width in
// the main text and the headers and footers, the frame's inside a text
// frame; 0 for a table inside another table (its room is the cell's).
double tableRoom(const TxEngineState& s, const QTextTable* t) {
    if (t->parentFrame() != s.adoc()->rootFrame())
        return 0;
    if (s.activeFrame) {
        const TxFrame* f = s.doc.frame(s.activeFrame);
        return f ? std::max(0.0, txp::px(f->width) - 2 * s.adoc()->documentMargin()) : 0;
    }
    return txp::px(s.doc.page.textWidth());
}

} // namespace

bool TxEngine::TableInsert(int rows, int columns) {
    if (rows < 1 || columns < 1 || rows > 1000 || columns > 63)
        return false;
    QTextCursor c = d->ed()->textCursor();
    c.clearSelection();
    QTextTableFormat f;
    f.setBorder(0.75);
    f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    f.setBorderCollapse(true);
    f.setCellSpacing(0);
    f.setCellPadding(txp::px(108));
    f.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QList<QTextLength> widths;
    for (int i = 0; i < columns; ++i)
        widths << QTextLength(QTextLength::PercentageLength, 100.0 / columns);
    f.setColumnWidthConstraints(widths);
    c.insertTable(rows, columns, f);
    d->ed()->setTextCursor(c);
    return true;
}

bool TxEngine::TableInsertColumn(bool right) {
    const QTextCursor c = d->ed()->textCursor();
    QTextTable* t = c.currentTable();
    if (!t || t->columns() >= 63)
        return false;
    const QTextTableCell cell = t->cellAt(c);
    // Qt gives the new column its neighbour's width: with fixed widths the
    // table would grow past the page, so the columns share the room.
    QTextCursor edit(c);
    edit.beginEditBlock();
    t->insertColumns(cell.column() + (right ? cell.columnSpan() : 0), 1);
    if (const double room = tableRoom(*d, t); room > 0)
        fitColumns(t, room);
    edit.endEditBlock();
    return true;
}

bool TxEngine::TableInsertRows(bool below, int count) {
    const QTextCursor c = d->ed()->textCursor();
    QTextTable* t = c.currentTable();
    if (!t || count < 1)
        return false;
    const QTextTableCell cell = t->cellAt(c);
    const int at = cell.row() + (below ? cell.rowSpan() : 0);
    t->insertRows(at, count);
    editRowProps(t, [&](QVariantList& rows) {
        const QVariant model = rows.value(cell.row());
        for (int i = 0; i < count; ++i)
            rows.insert(std::min<qsizetype>(at, rows.size()), model);
    });
    return true;
}

bool TxEngine::TableSplit(bool below) {
    QTextCursor c = d->ed()->textCursor();
    QTextTable* t = c.currentTable();
    if (!t)
        return false;
    const QTextTableCell cell = t->cellAt(c);
    const int first = below ? cell.row() + cell.rowSpan() : cell.row();
    const int rows = t->rows();
    if (first <= 0 || first >= rows)
        return false;
    const int cols = t->columns();
    c.beginEditBlock();
    // Copy the rows from `first` on into a new table after this one, then
    // drop them here. A paragraph keeps the two tables apart.
    std::vector<QTextDocumentFragment> parts;
    std::vector<QTextTableCellFormat> formats;
    for (int r = first; r < rows; ++r)
        for (int col = 0; col < cols; ++col) {
            const QTextTableCell src = t->cellAt(r, col);
            QTextCursor sc = src.firstCursorPosition();
            sc.setPosition(src.lastPosition(), QTextCursor::KeepAnchor);
            const bool own = src.row() == r && src.column() == col;
            parts.push_back(own ? sc.selection() : QTextDocumentFragment());
            formats.push_back(src.format().toTableCellFormat());
        }
    QTextTableFormat tf = t->format();
    QVariantList rowProps = tf.property(txp::RowProps).toList();
    if (tf.hasProperty(txp::RowProps)) {
        QVariantList keep = rowProps.mid(0, first), moved = rowProps.mid(first);
        tf.setProperty(txp::RowProps, moved);
        editRowProps(t, [&](QVariantList& r) { r = keep; });
    }
    // A table put at the start of the paragraph after this one gets an
    // empty paragraph of its own before it.
    QTextCursor after(d->adoc());
    after.setPosition(t->lastPosition() + 1);
    QTextTable* nt = after.insertTable(rows - first, cols, tf);
    for (int r = 0; r < rows - first; ++r)
        for (int col = 0; col < cols; ++col) {
            const size_t k = size_t(r * cols + col);
            QTextTableCell dst = nt->cellAt(r, col);
            dst.setFormat(formats[k]);
            if (!parts[k].isEmpty())
                dst.firstCursorPosition().insertFragment(parts[k]);
        }
    t->removeRows(first, rows - first);
    c.endEditBlock();
    return true;
}

bool TxEngine::TableDeleteColumn() {
    const QTextCursor c = d->ed()->textCursor();
    QTextTable* t = c.currentTable();
    if (!t)
        return false;
    const QTextTableCell cell = t->cellAt(c);
    if (t->columns() <= 1) {
        t->removeRows(0, t->rows());
        return true;
    }
    t->removeColumns(cell.column(), 1);
    return true;
}

bool TxEngine::TableDeleteRows() {
    const QTextCursor c = d->ed()->textCursor();
    QTextTable* t = c.currentTable();
    if (!t)
        return false;
    int firstRow = -1, numRows = 0, firstCol = 0, numCols = 0;
    c.selectedTableCells(&firstRow, &numRows, &firstCol, &numCols);
    if (firstRow < 0) {
        const QTextTableCell cell = t->cellAt(c);
        firstRow = cell.row();
        numRows = 1;
        if (c.hasSelection()) {
            const QTextTableCell last = t->cellAt(c.selectionEnd());
            if (last.isValid())
                numRows = std::max(1, last.row() - firstRow + 1);
        }
    }
    if (firstRow == 0 && numRows >= t->rows()) {
        t->removeRows(0, t->rows());
        return true;
    }
    editRowProps(t, [&](QVariantList& rows) {
        for (int i = 0; i < numRows && firstRow < rows.size(); ++i)
            rows.removeAt(firstRow);
    });
    t->removeRows(firstRow, numRows);
    return true;
}

bool TxEngine::TableSelect(int part) {
    QTextCursor c = d->ed()->textCursor();
    QTextTable* t = c.currentTable();
    if (!t)
        return false;
    const QTextTableCell cell = t->cellAt(c);
    switch (part) {
    case SelTable:
        c.setPosition(t->cellAt(0, 0).firstPosition());
        c.setPosition(t->cellAt(t->rows() - 1, t->columns() - 1).lastPosition(),
                      QTextCursor::KeepAnchor);
        break;
    case SelRow:
        c.setPosition(t->cellAt(cell.row(), 0).firstPosition());
        c.setPosition(t->cellAt(cell.row(), t->columns() - 1).lastPosition(),
                      QTextCursor::KeepAnchor);
        break;
    case SelCell:
        c.setPosition(cell.firstPosition());
        c.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
        break;
    default:
        return false;
    }
    d->ed()->setTextCursor(c);
    return true;
}

int TxEngine::TableAtCaret() const {
    const QTextTable* t = d->ed()->textCursor().currentTable();
    return t ? idOf(d->adoc(), t) : 0;
}

int TxEngine::TableRowAtCaret() const {
    const QTextCursor c = d->ed()->textCursor();
    const QTextTable* t = c.currentTable();
    return t ? t->cellAt(c).row() + 1 : 0;
}

int TxEngine::TableColumnAtCaret() const {
    const QTextCursor c = d->ed()->textCursor();
    const QTextTable* t = c.currentTable();
    return t ? t->cellAt(c).column() + 1 : 0;
}

int TxEngine::TableRows(int id) const {
    const QTextTable* t = tableById(d->adoc(), id);
    return t ? t->rows() : 0;
}

int TxEngine::TableColumns(int id) const {
    const QTextTable* t = tableById(d->adoc(), id);
    return t ? t->columns() : 0;
}

int TxEngine::TableCellStart(int row, int column, int id) const {
    const QTextTable* t = tableById(d->adoc(), id);
    if (!t || row < 1 || column < 1 || row > t->rows() || column > t->columns())
        return -1;
    return t->cellAt(row - 1, column - 1).firstPosition();
}

QString TxEngine::TableCellText(int row, int column, int id) const {
    const QTextTable* t = tableById(d->adoc(), id);
    if (!t || row < 1 || column < 1 || row > t->rows() || column > t->columns())
        return {};
    const QTextTableCell cell = t->cellAt(row - 1, column - 1);
    return textmap::text(d->adoc(), cell.firstPosition(), cell.lastPosition());
}

bool TxEngine::SetTableCellText(int row, int column, int id, const QString& text) {
    const QTextTable* t = tableById(d->adoc(), id);
    if (!t || row < 1 || column < 1 || row > t->rows() || column > t->columns())
        return false;
    const QTextTableCell cell = t->cellAt(row - 1, column - 1);
    QTextCursor c(d->adoc());
    c.beginEditBlock();
    c.setPosition(cell.firstPosition());
    c.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
    c.removeSelectedText();
    textmap::insert(c, text);
    c.endEditBlock();
    return true;
}

int TxEngine::NextTable(int id) const {
    const auto all = tablesOf(d->adoc());
    return id >= 0 && id < int(all.size()) ? id + 1 : 0;
}

TxEngine::TablePossible TxEngine::TablePossibilities() const {
    TablePossible p;
    const QTextCursor c = d->ed()->textCursor();
    const QTextTable* t = c.currentTable();
    int firstRow = -1, numRows = 0, firstCol = 0, numCols = 0;
    c.selectedTableCells(&firstRow, &numRows, &firstCol, &numCols);
    p.inTable = t != nullptr;
    // A table goes in at a caret or a selection inside one paragraph.
    p.insertTable =
        firstRow < 0 && (!c.hasSelection() || d->adoc()->findBlock(c.selectionStart()) ==
                                                  d->adoc()->findBlock(c.selectionEnd()));
    if (t) {
        p.insertColumn = t->columns() < 63;
        p.insertRow = true;
        p.deleteColumn = true;
        p.deleteRow = true;
        p.split = t->rows() > 1;
    }
    return p;
}

// Grid lines of tables drawn without borders (not printed). Only the tables
// in the painted area are looked at, and only through their cells' blocks:
// asking Qt for a table's rectangle would lay out the whole document.
void TxEngineState::paintGrid(QPainter& p, const QRectF& area) const {
    QTextDocument* body = doc.body();
    QAbstractTextDocumentLayout* layout = body->documentLayout();
    // A table's place is that of its first and last cells' blocks (tables
    // come in text order, so the first one below the area ends the walk);
    // hit-testing the area's corners instead walks the layout from its start
    // on every repaint.
    p.save();
    p.setPen(QPen(QColor(170, 170, 200), 1, Qt::DotLine));
    const int unplaced = quicklayout::unplacedFrom(body);
    for (QTextTable* t : tablesOf(body)) {
        if (t->firstPosition() >= unplaced)
            break; // below the area, still to be placed
        const QTextBlock first = t->cellAt(0, 0).firstCursorPosition().block();
        if (layout->blockBoundingRect(first).top() > area.bottom()) {
            if (t->parentFrame() == body->rootFrame())
                break;
            continue;
        }
        double bottom = 0;
        for (int c = 0; c < t->columns(); ++c) {
            const QTextBlock last = t->cellAt(t->rows() - 1, c).lastCursorPosition().block();
            bottom = std::max(bottom, layout->blockBoundingRect(last).bottom());
        }
        if (bottom + t->format().cellPadding() < area.top())
            continue;
        const QTextTableFormat f = t->format();
        if (f.border() > 0 && f.borderStyle() != QTextFrameFormat::BorderStyle_None)
            continue;
        const double pad = f.cellPadding();
        auto cellRect = [&](const QTextTableCell& cell) {
            QRectF r;
            for (auto it = cell.begin(); !it.atEnd(); ++it)
                if (it.currentBlock().isValid())
                    r |= layout->blockBoundingRect(it.currentBlock());
            return r.adjusted(-pad, -pad, pad, pad);
        };
        for (int r = 0; r < t->rows(); ++r)
            for (int c = 0; c < t->columns(); ++c) {
                const QTextTableCell cell = t->cellAt(r, c);
                if (cell.row() == r && cell.column() == c)
                    p.drawRect(cellRect(cell));
            }
    }
    p.restore();
}
