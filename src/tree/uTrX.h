#pragma once
// The page tree control: the tree of pages over the tbTree rows, loaded a
// level at a time, with tabs for finding documents, recent pages and the
// code list of a code page, and the editing of new pages, titles and order.
// It answers its host only through its signals; eChkMove passes its flag by
// reference, so it must be connected directly.

#include <QString>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QListWidget;
class QPushButton;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;
class trView;

// The view state of a control (what the host and the operations share).
struct uTrXState {
    QString sCurKy;                      // key of the page last fixed as the shown one
    int nNewIdx = 0;                     // tree index of the pending new node, 0 when none
    bool bCdMode = false;                // the selected page is a code page: code list shown
    bool bCdNew = false;                 // a new code-list entry is pending
    bool bRefMd = false;                 // reference mode (SetFrame with a negative tab)
    bool bLstLk = true;                  // clicks in the find and recent lists are ignored
    int nKySer = 0;                      // key serial since the tree was last emptied
    int nNewSrt = 100;                   // inSrt of the next new row
    QString sDrty = QStringLiteral("."); // parents whose order must be written
    QStringList sFndHst;                 // words already in the find history
    QString sFndWd;                      // last find text (find tab 3)
    QString sLstCd;                      // key of the last code-list entry chosen
    int iLstTb = 0;                      // last tab shown by number, 0 for none
};

class uTrX : public QWidget {
    Q_OBJECT
public:
    explicit uTrX(QWidget* parent = nullptr);
    ~uTrX() override;
    // As wide as the tab strip with every tab whole.
    QSize minimumSizeHint() const override;

    // --- the tree ---
    // Loads the children of the node `sKy` ("0" the top level into an empty
    // tree). `bShwRt` has no effect.
    void SetNodes(const QString& sKy, bool bShwRt = false);
    // `bRec` = the tree has nodes; if so the first one is opened through
    // the move check.
    void RootSelect(bool& bRec);
    // Empties the tree and the find and recent lists (writing the pending
    // order back first unless `bNsrt`).
    void ClearItem(bool bNsrt);
    // Rebuilds the tree, keeping expanded nodes and the selection.
    void RefreshTree();
    // Finds document `nDno` through its home places, expands the way to it
    // and opens it.
    void SetLeaf(qint64 nDno);
    // Adds (or selects) a tag reminder `sSz` of document `sNo` under the
    // selected node.
    void TagTree(const QString& sSz, const QString& sNo);
    // Numbers of the node `sNdKy` (the selected one when empty) and of its
    // parent, and whether it is a link; "0" and "0" without a node.
    void GetPrCdNo(QString& sNoP, QString& sNoC, bool& bLnk, const QString& sNdKy = {});
    QString SlctdKy() const;
    void SetTmpKy();
    void ChkSlcNd();

    // --- editing ---
    // Places the pending new page: 0 before, 1 after, 2 under the selected
    // node. False when nothing was added.
    bool trNew(int iJb, const QString& sSz);
    // After the host saved page `nNo`: writes the pending page's row, or
    // carries a title change from `sSzB` to `sSz`.
    void UdtNd(const QString& sSz, const QString& sSzB, qint64 nNo);
    // Writes the pending sibling order into inSrt.
    void trSort();
    // Marks the selected page as a code page (`bCod`) or unmarks it, and
    // shows every place of that document accordingly; the selected one is
    // opened again, so its code list shows or goes. False when no stored
    // page is selected or the document row cannot be written.
    bool SetCod(bool bCod);

    // --- the panel ---
    void SetSize();
    // Shows tab `iTb` (0 the last one, negative: reference mode without the
    // recent tab); `iTb` returns the tab shown.
    void SetFrame(int& iTb);
    void SetRcnt(const QString& sNo, const QString& sTx);
    // Turns tab 4 into the list of the query `sQ` (column 0 text, column 1
    // document number). False when tab 4 has been removed.
    bool SetRcntLst(const QString& sCp, const QString& sTP, const QString& sQ);
    // Runs the find over titles (tab 2) or texts (tab 3).
    void FndDoc();
    void cdNew();
    void cdDel();

    const uTrXState& State() const { return st_; }
    // The parts, for hosts that decorate them and for tests.
    trView* Tree() const { return trView_; }
    QTreeWidget* CodeList() const { return lsCod_; }
    QTabBar* Tabs() const { return TabS_; }
    QComboBox* FindBox() const { return cmbFind_; }
    QPushButton* FindButton() const { return cmFind_; }
    QListWidget* FindList() const { return lsFind_; }
    QListWidget* RecentList() const { return lsRsnt_; }
    QPushButton* ClearRecentButton() const { return cmClrRsnt_; }
    QWidget* TreeFrame() const { return frTree_; }
    QWidget* FindFrame() const { return frFind_; }
    QWidget* RecentFrame() const { return frRcnt_; }

signals:
    void eFmMsg(const QString& sMsg);
    // iJb: 0 a page from the tree or the code list, 1 a tag node, 2 a page
    // from the find or recent list, 3 nothing selected any more.
    void eSetDoc(const QString& sNoP, const QString& sNo, const QString& sSz, int iJb, bool bHg);
    void eSetFrame(int iTb);
    void eFndWd(const QString& sFnd);
    void eChkMove(bool& bCan);
    void eRightClick(bool bTrv);

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // tree (uTrXTree.cpp)
    QString MakeKy(const QString& sNo, QChar cKind);
    void LoadLevel(QTreeWidgetItem* oParent, qint64 nNo);
    void SetNdImg(QTreeWidgetItem* o, int nState);
    void SlcNd(QTreeWidgetItem* o);
    void OpnNd(QTreeWidgetItem* o);
    QString ParentNo(const QTreeWidgetItem* o) const;
    QString NodeId(const QTreeWidgetItem* o) const;
    void ExpandWithChildren(QTreeWidgetItem* o);
    void OnRelease(Qt::MouseButton button, bool bOnBranch);
    void OnEnter(bool bShift);
    // editing (uTrXEdit.cpp)
    void DelNd();
    void RemoveNode(QTreeWidgetItem* o);
    QTreeWidgetItem* DropPending(QTreeWidgetItem* oAnchor, int& iJb);
    void UdtTr(const QString& sSz, const QString& sSzB, qint64 nNo);
    void UdtCd(const QString& sSz, const QString& sSzB, qint64 nNo);
    void OnLabelEdit(QTreeWidgetItem* o, QString& sNew, bool& bCancel);
    // panel (uTrXPanel.cpp)
    void BuildPanel();
    void LayFrame(int iTb);
    void SetCdLst(QTreeWidgetItem* o);
    void OnCodCurrent(QTreeWidgetItem* oEnt);
    void ChooseCod(QTreeWidgetItem* oEnt);
    void SelectCod(QTreeWidgetItem* oEnt);
    QTreeWidgetItem* CodEntry(const QString& sKy) const;
    void DropCodNew();
    void ClearCod();
    void OpenFound(int nRow);
    void OpenRecent(int nRow);
    int CurrentTab() const;

    uTrXState st_;
    bool bShown_ = false;
    bool bRcntTab_ = true; // tab 4 is on the strip
    int iTbShown_ = 1;     // the tab SetFrame showed last

    QTabBar* TabS_ = nullptr;
    QWidget* frTree_ = nullptr;
    QWidget* frFind_ = nullptr;
    QWidget* frRcnt_ = nullptr;
    trView* trView_ = nullptr;
    QTreeWidget* lsCod_ = nullptr;
    QComboBox* cmbFind_ = nullptr;
    QPushButton* cmFind_ = nullptr;
    QListWidget* lsFind_ = nullptr;
    QListWidget* lsRsnt_ = nullptr;
    QPushButton* cmClrRsnt_ = nullptr;
};
