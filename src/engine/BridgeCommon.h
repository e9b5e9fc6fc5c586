#pragma once
// Value conversions shared by both directions of the model bridge.

#include "Document.h"
#include "TxDocument.h"

#include <QColor>
#include <QTextListFormat>
#include <QTextTableCellFormat>
#include <QVariantMap>

namespace bridge {

QColor toQColor(model::Color c);
model::Color fromQColor(const QColor& c);

QTextListFormat::Style listStyle(model::NumberFormat f);
// Whether listStyle(f) draws numbers in format `f` (decimal, roman, letters).
bool qtDrawsNumbers(model::NumberFormat f);

TxBorder toTx(const model::Border& b);
model::Border fromTx(const TxBorder& b);
TxPageSetup toTx(const model::PageSetup& p);
model::PageSetup fromTx(const TxPageSetup& p);
TxListDef toTx(const model::ListDef& l);
model::ListDef fromTx(const TxListDef& l);

// A cell's own properties (everything but its blocks) as a property map,
// and back.
QVariantMap cellProps(const model::TableCell& c);
model::TableCell cellFromProps(const QVariantMap& m);
// The Qt cell format showing a model cell, with its properties kept.
QTextTableCellFormat cellFormat(const model::TableCell& c);

} // namespace bridge
