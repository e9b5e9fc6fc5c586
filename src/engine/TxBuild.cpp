#include "TxBuild.h"

#include "TxProps.h"

#include <QTextBlock>
#include <QTextList>
#include <QTextTable>

BlockSink::BlockSink(const QTextCursor& c, bool cell) : c_(c), cell_(cell) {}

void BlockSink::paragraph(const QTextBlockFormat& bf, const QTextCharFormat& mark) {
    const bool first = first_;
    first_ = false;
    if (fresh_ && first && cell_) {
        // Qt keeps the cell's format where the mark's would go.
        c_.setBlockFormat(bf);
        fresh_ = false;
    } else if (fresh_) {
        c_.setBlockFormat(bf);
        c_.setBlockCharFormat(mark);
        fresh_ = false;
    } else {
        c_.insertBlock(bf, mark);
    }
}

void BlockSink::ensureFresh() {
    first_ = false;
    if (fresh_)
        return;
    QTextBlockFormat bf;
    bf.setProperty(txp::Placeholder, true);
    c_.insertBlock(bf, QTextCharFormat());
    fresh_ = true;
}

void BlockSink::markPlaceholder() {
    QTextBlockFormat bf;
    bf.setProperty(txp::Placeholder, true);
    c_.setBlockFormat(bf);
}

QTextTable* BlockSink::table(int rows, int columns, const QTextTableFormat& f) {
    first_ = false;
    if (fresh_)
        markPlaceholder();
    fresh_ = false;
    return c_.insertTable(rows, columns, f);
}

void BlockSink::afterTable(QTextTable* t) {
    c_.setPosition(t->lastPosition() + 1);
    fresh_ = true;
    markPlaceholder();
}

void BlockSink::finish() {
    if (fresh_)
        markPlaceholder();
}

void ListJoiner::add(QTextCursor& c, int listId, int level, const QTextListFormat& f) {
    const int key = listId * 16 + level;
    for (int deeper = level + 1; deeper < 16; ++deeper)
        lists_.remove(listId * 16 + deeper);
    if (QTextList* l = lists_.value(key))
        l->add(c.block());
    else
        lists_.insert(key, c.createList(f));
}
