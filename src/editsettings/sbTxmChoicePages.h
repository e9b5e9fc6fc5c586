#pragma once
// The small pages of the settings dialog: table insertion ("TB"), input
// method and saving ("IM") and the image layout defaults ("TF").

#include "sbTxm.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;

// "TB": rows and columns; OK inserts the table at the caret.
class TablePage : public sbTxmPage {
    Q_OBJECT
public:
    TablePage(uTxm* editor, QWidget* parent);
    void open(const QString& sJb, const QString& sArg) override;
    bool ok() override;

    QComboBox* cbRows = nullptr;
    QComboBox* cbCols = nullptr;
};

// "IM": open the input method with a document, and what to do with a
// modified document when another one is opened.
class ImePage : public sbTxmPage {
    Q_OBJECT
public:
    ImePage(uTxm* editor, QWidget* parent);
    void open(const QString& sJb, const QString& sArg) override;
    bool ok() override;
    void cancel() override;

    QCheckBox* chIME = nullptr;
    QButtonGroup* opSave = nullptr;
};

// "TF": the layout of inserted pictures and the colour reduction of pasted
// ones.
class ImageLayoutPage : public sbTxmPage {
    Q_OBJECT
public:
    ImageLayoutPage(uTxm* editor, QWidget* parent);
    void open(const QString& sJb, const QString& sArg) override;
    bool ok() override;
    void cancel() override;

    QButtonGroup* opTxf = nullptr;
    QButtonGroup* opImg = nullptr;

private:
    QString sIn_;
};
