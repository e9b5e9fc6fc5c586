#pragma once
// The page-tree dialog: the page tree panel on the left and a read-only
// preview of the chosen page on the right, in one of three modes:
//   1 (ActI) pick a page to bring into the editor,
//   2 (ActS) look at other pages (copy from the preview),
//   3 (ActE) pick the place where the edited document becomes a new page.
// Each entry builds the dialog afresh, shows it modally and removes it.
// Its geometry and zoom are kept per mode in the settings group
// "TXR<mode>_位置".

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <functional>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class TxEngine;
class uTrX;

class sbTrX : public QDialog {
    Q_OBJECT
public:
    // Writes the edited document as the new page `sTitle` at the pending
    // place of `tree`; false (after telling the user) when nothing was
    // written, which keeps the dialog open.
    using NewDocFn = std::function<bool(const QString& sTitle, uTrX& tree)>;

    explicit sbTrX(QWidget* parent = nullptr);
    ~sbTrX() override;

    // Mode 1. True when a page was chosen: its title in `sSz`, its document
    // in `yDt`, and whether to append it (`bApn`) rather than overwrite.
    // When cancelled `sSz` is emptied and `yDt` and `bApn` are untouched.
    static bool ActI(QString& sSz, QByteArray& yDt, bool& bApn, QWidget* parent = nullptr);
    // Mode 2.
    static void ActS(QWidget* parent = nullptr);
    // Mode 3: the new page is titled `sSz`; OK runs `fnNew`. True when the
    // page was written.
    static bool ActE(const QString& sSz, const NewDocFn& fnNew, QWidget* parent = nullptr);
    // Told when a page was marked as a code page or unmarked, so the host can
    // rebuild what lists code pages.
    static void SetCodeHook(std::function<void()> fn);

    // Prepares mode `nMode` without showing it (the entries call it; tests
    // drive the dialog through it).
    void Prepare(int nMode, const QString& sSz = {}, NewDocFn fnNew = {});

    int Mode() const { return nMode_; }
    QString ChosenTitle() const { return sChosen_; }
    QByteArray ChosenData() const { return yChosen_; }
    bool Append() const { return bApn_; }
    // The parts, for tests.
    uTrX* Tree() const { return uTrX_; }
    TxEngine* Preview() const { return txDoc_; }
    QPushButton* OkButton() const { return cmOk_[0]; }
    QPushButton* CancelButton() const { return cmOk_[1]; }
    QComboBox* ZoomBox() const { return cbZoom_; }
    QMenu* ImportMenu() const { return mnImp_; }
    QMenu* ExportMenu() const { return mnExp_; }
    QMenu* CopyMenu() const { return mnCopy_; }
    QAction* CodeAction(int nMode) const { return nMode == 1 ? acCodI_ : acCodE_; }

    void reject() override; // the close box and Esc: as Cancel, without a choice

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void BuildMenus();
    void OnSetDoc(const QString& sNoP, const QString& sNo, const QString& sSz, int iJb, bool bHg);
    void OnRightClick(bool bTrv);
    void OnImportItem(int i);
    void OnExportItem(int i);
    void OnCodeItem();
    void OnCopyItem(int i);
    void OnOk();
    void OnCancel();
    void OnZoom(int i);
    void ClearPreview();
    void ShowCaption(const QString& sNo);
    // In mode 3 OK goes with the pending new page; elsewhere it is set by
    // the preview.
    void UpdateExportOk();
    void UpdateCodeAction(QAction* ac) const;
    void LoadGeometry();
    void SaveGeometry();
    void Lay();
    QString GeomGroup() const;

    int nMode_ = 0;
    QString sBase_;         // the mode's caption
    QString sChosen_;       // chosen title ("" nothing); in mode 3 the caller's title
    QByteArray yChosen_;    // the document of the chosen page, as stored
    bool bApn_ = false;     // mode 1: append instead of overwrite
    bool bInit_ = false;    // while preparing: zoom changes are not applied
    bool bWritten_ = false; // mode 3: the new page was written
    NewDocFn fnNew_;

    uTrX* uTrX_ = nullptr;
    TxEngine* txDoc_ = nullptr;
    QLabel* lbZoom_ = nullptr;
    QComboBox* cbZoom_ = nullptr;
    QPushButton* cmOk_[2] = {nullptr, nullptr};
    QMenu* mnImp_ = nullptr;
    QMenu* mnExp_ = nullptr;
    QMenu* mnCopy_ = nullptr;
    QAction* acCodI_ = nullptr; // code-page item of the import menu
    QAction* acCodE_ = nullptr; // and of the export menu
};
