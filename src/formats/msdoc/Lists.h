#pragma once
// Bulleted and numbered lists: the list definitions (PlfLst with their
// levels) and the list overrides (PlfLfo) paragraphs refer to by number.

#include "Budget.h"
#include "Document.h"

#include <QByteArray>

#include <vector>

namespace msdoc {

struct ListTables {
    QByteArray plfLst; // PlfLst followed by the levels
    QByteArray plfLfo;
};

// One definition and one override per model list; a paragraph of list
// `lists[i]` refers to override i + 1.
ListTables writeLists(const std::vector<model::ListDef>& lists);

struct ReadList {
    model::ListDef def;                // id = the override's number (1-based)
    std::vector<QByteArray> levelPapx; // paragraph properties of each level
};

// Reads the overrides and the definitions they use. `table` is the table
// stream; the positions come from the FIB.
// Every override read counts against `budget`.
std::vector<ReadList> readLists(const QByteArray& table, quint32 fcLst, quint32 lcbLst,
                                quint32 fcLfo, quint32 lcbLfo, Budget& budget);

} // namespace msdoc
