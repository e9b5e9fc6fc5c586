#pragma once
// The engine's own formatting dialogs, opened by commands 61 (font), 63
// (paragraph) and 64 (lists). Each dialog starts from the values of the
// selection and hands back what the user set; the control runs them through
// the Prompter, so tests answer them like any other dialog.

#include "TxStyles.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;
class QToolButton;

// Paragraph values of the paragraph dialog, twips and engine codes.
struct TxParaLook {
    int align = 0; // ParaAttr0: 0 left, 1 centre, 2 right, 3 justify, 4 distributed
    int leftIndent = 0;
    int rightIndent = 0;
    int firstLine = 0; // relative to the left indent, signed
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0; // minimum line height; 0 the font's own
    bool operator==(const TxParaLook&) const = default;
};

// List values of the list dialog.
struct TxListLook {
    int kind = 1;  // ListState: 1 none, 2 bullets, 3 numbering
    int level = 1; // 1..9
    bool operator==(const TxListLook&) const = default;
};

class TxFontDialog : public QDialog {
    Q_OBJECT
public:
    explicit TxFontDialog(const TxStyle::CharLook& look, QWidget* parent = nullptr);
    TxStyle::CharLook look() const;

    QComboBox* name = nullptr;
    QDoubleSpinBox* size = nullptr;
    QCheckBox* bold = nullptr;
    QCheckBox* italic = nullptr;
    QCheckBox* underline = nullptr;
    QCheckBox* strike = nullptr;
    QToolButton* color = nullptr; // opens the colour dialog

private:
    void showColor();
    TxStyle::CharLook look_;
};

class TxParaDialog : public QDialog {
    Q_OBJECT
public:
    explicit TxParaDialog(const TxParaLook& look, QWidget* parent = nullptr);
    TxParaLook look() const;

    QComboBox* align = nullptr;
    // Measures are shown in points (20 twips each).
    QDoubleSpinBox* leftIndent = nullptr;
    QDoubleSpinBox* rightIndent = nullptr;
    QDoubleSpinBox* firstLine = nullptr;
    QDoubleSpinBox* spaceBefore = nullptr;
    QDoubleSpinBox* spaceAfter = nullptr;
    QDoubleSpinBox* lineSpacing = nullptr;
};

class TxListDialog : public QDialog {
    Q_OBJECT
public:
    explicit TxListDialog(const TxListLook& look, QWidget* parent = nullptr);
    TxListLook look() const;

    QComboBox* kind = nullptr;
    QSpinBox* level = nullptr;
};
