#pragma once
// sbInsLb: the label layout dialog ("Insert Label Group"). Turns the page
// being edited into a sheet of labels: rows x columns of equal text frames
// of the given size, gaps and sheet margins, each clipped to the printable
// area. Layouts are kept as lines in a list (settings group "LABEL"); adding
// one checks the size against what the printable area allows.

#include "LabelLayout.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class uTxm;

class sbInsLb : public QDialog {
    Q_OBJECT
public:
    explicit sbInsLb(QWidget* parent = nullptr);

    // Runs the dialog over editor `xTx`, modal: reads its page, empties its
    // text, loads the layout list. On return `sMsg` holds the adjustment
    // notice when some label had to be clipped, else "". Returns the number
    // of label frames laid out (0: none, e.g. cancelled).
    int Act(uTxm* xTx, QString& sMsg);

    // Fields and buttons by the names the program and its tests use.
    QLineEdit* txWd = nullptr;
    QLineEdit* txHi = nullptr;
    QLineEdit* txHrz = nullptr;
    QLineEdit* txVrt = nullptr;
    QLineEdit* txTop = nullptr;
    QLineEdit* txLft = nullptr;
    QLineEdit* txRws = nullptr;
    QLineEdit* txCls = nullptr;
    QPushButton* cmRet[2] = {nullptr, nullptr}; // "追加", "修正"
    QPushButton* cmOk[2] = {nullptr, nullptr};  // "OK", "Cancel"
    QListWidget* List1 = nullptr;
    QLabel* lbHint = nullptr; // what a refused field needs

    // The page the layouts are fitted to (millimetres).
    LabelLayout::Page page;

private:
    void build();
    void setFields(const LabelLayout::Fields& f);
    // The fields as numbers; nullopt (the offending field focused) when one
    // cannot be laid out.
    std::optional<LabelLayout::Fields> readFields();
    void onListRow(int row);
    void addLine(bool replace);
    void layOut();

    uTxm* tx_ = nullptr;
    bool preparing_ = false; // list changes do not fill the fields
    bool listChanged_ = false;
    int laidOut_ = 0;
    QString notice_;
};
