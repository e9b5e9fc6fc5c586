#pragma once
// The pages of the settings dialog by page code.

#include <QString>

class QWidget;
class sbTxmPage;
class uTxm;

// Creates the page kept under `sJb` ("TB", "PG", "US", "DP", "LK", "IM",
// "FD", "TF"); null for a code without a page in this program.
sbTxmPage* MakePage(const QString& sJb, uTxm* editor, QWidget* parent);
