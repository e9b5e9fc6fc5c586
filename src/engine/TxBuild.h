#pragma once
// Building a QTextDocument container (the body, a part, a frame or a table
// cell) block by block, as the model bridge and the native format do.
// Qt keeps a paragraph before and after every table; where the source had
// none, such blocks are marked as placeholders so they go back out as
// nothing.

#include <QHash>
#include <QTextCursor>

class QTextBlockFormat;
class QTextCharFormat;
class QTextList;
class QTextListFormat;
class QTextTable;
class QTextTableFormat;

class BlockSink {
public:
    // `c` stands in the container's first (empty) block; `cell` when the
    // container is a table cell.
    explicit BlockSink(const QTextCursor& c, bool cell = false);
    // The next paragraph is the first of a table cell.
    bool firstInCell() const { return cell_ && fresh_ && first_; }

    // Starts a paragraph with these formats; text goes in at cursor().
    void paragraph(const QTextBlockFormat& bf, const QTextCharFormat& mark);
    QTextCursor& cursor() { return c_; }
    // Inserts a table after what came before; fill its cells, then call
    // afterTable().
    QTextTable* table(int rows, int columns, const QTextTableFormat& f);
    void afterTable(QTextTable* t);
    // Makes sure the cursor stands in an unused block (adding an empty one
    // when the last paragraph is taken): objects anchored there stand before
    // whatever comes next.
    void ensureFresh();
    int position() const { return c_.position(); }
    // Marks a block left unused at the end as a placeholder.
    void finish();

private:
    void markPlaceholder();
    QTextCursor c_;
    bool fresh_ = true;
    bool cell_ = false;
    bool first_ = true;
};

// Lists of one document by list and level: the first block makes the list,
// the others join it. A paragraph ends the runs of its list's deeper levels,
// so they count from their start again after it, as Word's do.
class ListJoiner {
public:
    void add(QTextCursor& c, int listId, int level, const QTextListFormat& f);

private:
    QHash<int, QTextList*> lists_;
};
