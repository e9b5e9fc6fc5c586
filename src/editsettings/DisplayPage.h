#pragma once
// "DP": the display page: view mode (normal or page centring) and zoom
// (five fixed values, whole page, page width, or a typed percentage).

#include "sbTxm.h"

class QButtonGroup;
class QLineEdit;

class DisplayPage : public sbTxmPage {
    Q_OBJECT
public:
    DisplayPage(uTxm* editor, QWidget* parent);
    void open(const QString& sJb, const QString& sArg) override;
    bool ok() override;

    // The zoom the chosen options give for the editor's current size and
    // page; nothing when it cannot be worked out (a page without size).
    std::optional<int> ChosenZoom() const;

    QButtonGroup* opDP = nullptr;
    QButtonGroup* opZoom = nullptr;
    QLineEdit* txZoom = nullptr;
};
