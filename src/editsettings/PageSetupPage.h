#pragma once
// The page setup page ("PG") of the settings dialog: paper list, portrait or
// landscape, page size and four margins in centimetres, a preview of the
// paper's shape, OK applying the values to the editor's page and
// "規定値として設定" storing them as the page of new documents.

#include "PaperSizes.h"
#include "sbTxm.h"

class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;

class PageSetupPage : public sbTxmPage {
    Q_OBJECT
public:
    PageSetupPage(uTxm* editor, QWidget* parent);

    void open(const QString& sJb, const QString& sArg) override;
    bool ok() override;

    // The controls, by the names the dialog's description uses.
    QComboBox* cbPage = nullptr;
    QRadioButton* OpVH[2] = {nullptr, nullptr}; // 0 portrait, 1 landscape
    QLineEdit* txPgWd = nullptr;
    QLineEdit* txPgHi = nullptr;
    QLineEdit* txLftMrg = nullptr;
    QLineEdit* txTopMrg = nullptr;
    QLineEdit* txRghMrg = nullptr;
    QLineEdit* txBtmMrg = nullptr;
    QFrame* Shape1 = nullptr; // the preview rectangle, in an area of its own
    QPushButton* cmDefault = nullptr;

    bool Landscape() const { return bLandscape; }
    // Whether the six values may be applied (the OK button's state).
    bool Acceptable() const { return bAcceptable; }
    // The values OK writes: the field values, except that a field still
    // showing what was read from the editor gives back the editor's exact
    // twips (the two-decimal text cannot hold every twip).
    std::optional<PaperSize::Page> Values() const;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    PaperSize::Texts texts() const;
    void setTexts(const PaperSize::Texts& t);
    // A typed size that is a standard paper (within 1 mm) takes that paper.
    void matchPaper();
    void choosePaper(int entry);
    void changeOrientation();
    void validate();
    void drawPreview();
    void storeDefault();

    bool bLoading = false;
    bool bLandscape = false;
    bool bAcceptable = true;
    // What the editor's page was when the page opened, and its texts.
    PaperSize::Page loaded_;
    PaperSize::Texts loadedTexts_;
};
