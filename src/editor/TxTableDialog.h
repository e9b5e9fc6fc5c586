#pragma once
// The table formatting dialog of command 85: the border lines, background
// and width of the selected cells (the whole table, a row or one cell) and
// the table's cell margin. It starts from the values of the first selected
// cell; OK checks every measure and refuses a bad one with its field
// focused. The control runs it through the Prompter.

#include <QDialog>

#include <optional>

class QCheckBox;
class QLineEdit;
class QToolButton;

// What the dialog edits, in twips and 0x00BBGGRR colours.
struct TxTableLook {
    int border = 0;                 // line width of the cells' four sides; 0 none
    int width = 0;                  // width of each selected cell (its column)
    int margin = 108;               // left and right padding inside the cells
    std::optional<quint32> shading; // background of the cells; none: transparent
    bool operator==(const TxTableLook&) const = default;
};

class TxTableDialog : public QDialog {
    Q_OBJECT
public:
    // `what` is the part the dialog formats ("表", "行" or "ｾﾙ"), shown in
    // its title.
    TxTableDialog(const TxTableLook& look, const QString& what, QWidget* parent = nullptr);
    // The values set; valid after the dialog was accepted.
    TxTableLook look() const { return look_; }

    QLineEdit* txBorder = nullptr;
    QLineEdit* txWidth = nullptr;
    QLineEdit* txMargin = nullptr;
    QCheckBox* chShade = nullptr;
    QToolButton* cmShade = nullptr;

    void accept() override;

private:
    void showShade();
    TxTableLook look_;
    quint32 shade_ = 0xFFFFFF;
};
