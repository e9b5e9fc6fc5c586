#pragma once
// The function-key bar: a strip of function keys linked to the host
// window's menu items, a message panel and a progress bar that takes the
// panel's place while a long job runs. Pressing a linked key calls the
// host's fnMenu with the item's menu group and index; enabling or hiding menu
// items through SetEnb switches the linked keys along.

#include <QWidget>

class QAction;
class QFrame;
class QLabel;
class QProgressBar;
class uFkyHost;
class uFkyStrip;

class uFky : public QWidget {
    Q_OBJECT
public:
    explicit uFky(QWidget* parent = nullptr);
    ~uFky() override;

    // Binds the host window (not owned) and clears the links; with
    // `bFullGrp` the keys are laid out as three groups of four and the panel
    // is never shown.
    void cOn(uFkyHost* xFm, bool bFullGrp);
    void cOff();
    // Links key `sFkY` ("F2", "C3") to menu item (`iMn`, `iNdx`). The key
    // shows `sFkY` + " " + `sCp`; an empty `sTP` takes the item's caption up
    // to its first "(". A missing item links nothing.
    void cKey(const QString& sFkY, int iMn, int iNdx, const QString& sCp, QString sTP);
    // New caption for a key and its linked menu item.
    void cCap(const QString& sFkY, const QString& sCp);
    // Builds the keys per menu group from the host window's key set.
    void cKyS();
    // Enables (or, with `bVsbl`, shows) items "i.j.k" of menu group `iMnu`
    // and switches their keys and the keys of the groups they head.
    void SetEnb(int iMnu, const QString& sNdx, bool bCan, bool bVsbl);
    void SetEnbByMenu();
    // Enables or disables the keys of a comma-separated list ("F2,c3,").
    void SetEnbKy(const QString& sFmn, bool bCan);
    void SetDef();
    // Shows a message; `fOpt` picks the icon and colour (1, 2, 4, or other).
    void PanelTx(const QString& sTx, int fOpt);
    // nCn > 0 starts the progress display with that maximum; 0 ends it.
    void pbMax(int nCn);
    void pbVAL(int nCn);
    // Lays out keys and panel for the current size and ends any progress display.
    void StSize();

    QString KeyMap() const { return sKeyMap; }
    QString GrpKeys() const { return sGrpKeys; }
    int PnlKind() const { return nPnlKind; }
    uFkyStrip* Keys() const { return fkey_; }
    QWidget* Panel() const;
    QString PanelText() const;
    QColor PanelColor() const;
    QProgressBar* ProgressBar() const { return bar_; }

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* ev) override;

private:
    void mFky_FkeyPress(int nKey, int nShift, bool& bHandled);
    void ApplyLayout();

    uFkyHost* xFm = nullptr;
    QString sKeyMap;
    QString sGrpKeys;
    qint16 nPnlKind = -1;

    uFkyStrip* fkey_;
    QFrame* panel_;
    QLabel* pnlIcon_;
    QLabel* pnlText_;
    QProgressBar* bar_;
    bool bPanelOn_ = false;  // the layout gives the panel a place
    bool bProgress_ = false; // the bar stands in the panel's place
};
