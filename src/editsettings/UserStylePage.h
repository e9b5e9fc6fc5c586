#pragma once
// "US": the user styles page. The six style names stand in a sample text,
// each in its style; the font and paragraph buttons change one style, the
// header and footer formats have their own sample lines, and OK writes the
// table, the line spacing and the two options back into the settings.
// The header and footer records keep their alignment (0 left, 1 centre,
// 2 right) in iPa4, which they do not use as a right indent.

#include "TxStyles.h"
#include "sbTxm.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class TxEngine;

class UserStylePage : public sbTxmPage {
    Q_OBJECT
public:
    UserStylePage(uTxm* editor, QWidget* parent);
    void open(const QString& sJb, const QString& sArg) override;
    bool ok() override;

    // The sample text: the style names, the first three on lines of their
    // own, the last three on one line.
    static QString SampleText();
    // The character range of style i's name in the sample.
    static std::pair<int, int> NameRange(int i);

    // The buttons: font of style i (0..5), paragraph of style i (0..3),
    // font of the header (6) or footer (7).
    void EditFont(int i);
    void EditParagraph(int i);

    // The formats being edited.
    const TxStyle::UserFormats& Work() const { return work_; }

    TxEngine* tTxt = nullptr;
    QPushButton* cmFont[6] = {};
    QPushButton* cmPrg[4] = {};
    QLineEdit* tHead = nullptr;
    QLineEdit* tFoot = nullptr;
    QComboBox* cbHead = nullptr;
    QComboBox* cbFoot = nullptr;
    QPushButton* cmHead = nullptr;
    QPushButton* cmFoot = nullptr;
    QComboBox* cbLine = nullptr;
    QCheckBox* ckLF[2] = {};

private:
    void showSample();
    void showHeadFoot(QLineEdit* line, const UsrFmt& f);

    TxStyle::UserFormats work_;
};
