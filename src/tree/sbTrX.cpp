// The page-tree dialog: entries, preview, popup menus, buttons, zoom,
// geometry and layout.
#include "sbTrX.h"

#include "DbPage.h"
#include "DbSql.h"
#include "Prompter.h"
#include "TreeKeys.h"
#include "TxEngine.h"
#include "Usr.h"
#include "sbTrXLayout.h"
#include "sbTrXText.h"
#include "trView.h"
#include "uTrX.h"
#include "yIni.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidgetItem>

#include <algorithm>

namespace {

constexpr int kZoomDefault = 2;
constexpr int kZoomCount = 7;

std::function<void()>& CodeHook() {
    static std::function<void()> fn;
    return fn;
}

QString Text(const char* s) {
    return QString::fromUtf8(s);
}

// The selected node when it is a stored page (a place with a row).
QTreeWidgetItem* StoredSelection(const uTrX& x) {
    QTreeWidgetItem* o = x.Tree()->Selected();
    if (!o)
        return nullptr;
    const QString sKy = x.Tree()->Key(o);
    const bool bStored = sKy.startsWith(TreeKeys::kPage) || sKy.startsWith(TreeKeys::kLink);
    return bStored && TreeKeys::KyNo(sKy) > 0 ? o : nullptr;
}

} // namespace

sbTrX::sbTrX(QWidget* parent) : QDialog(parent ? parent : Prompter::owner()) {
    setObjectName(QStringLiteral("sbTrX"));
    setMinimumSize(sbTrXLayout::kMinWidth / Usr::kTwipsPerPixel,
                   sbTrXLayout::kMinHeight / Usr::kTwipsPerPixel);
    uTrX_ = new uTrX(this);
    // A tree panel widened for its tabs widens the dialog's least width.
    const int nTreeMore = std::max(0, uTrX_->minimumSizeHint().width() * Usr::kTwipsPerPixel -
                                          sbTrXLayout::kTreeWidth);
    setMinimumWidth((sbTrXLayout::kMinWidth + nTreeMore) / Usr::kTwipsPerPixel);
    txDoc_ = new TxEngine(this);
    txDoc_->setReadOnly(true);
    txDoc_->setContextMenuPolicy(Qt::NoContextMenu);
    txDoc_->viewport()->installEventFilter(this);
    lbZoom_ = new QLabel(Text(sbTrXText::kZoomLabel), this);
    cbZoom_ = new QComboBox(this);
    for (const char* z : sbTrXText::kZooms)
        cbZoom_->addItem(Text(z));
    cmOk_[0] = new QPushButton(Text(sbTrXText::kOk), this);
    cmOk_[1] = new QPushButton(Text(sbTrXText::kCancel), this);
    cmOk_[0]->setAutoDefault(false);
    cmOk_[1]->setAutoDefault(false);
    BuildMenus();

    connect(uTrX_, &uTrX::eSetDoc, this, &sbTrX::OnSetDoc);
    connect(uTrX_, &uTrX::eSetFrame, this, [this](int iTb) { uTrX_->SetFrame(iTb); });
    connect(uTrX_, &uTrX::eRightClick, this, &sbTrX::OnRightClick);
    connect(cbZoom_, &QComboBox::currentIndexChanged, this, &sbTrX::OnZoom);
    connect(cmOk_[0], &QPushButton::clicked, this, &sbTrX::OnOk);
    connect(cmOk_[1], &QPushButton::clicked, this, &sbTrX::OnCancel);
}

sbTrX::~sbTrX() = default;

void sbTrX::BuildMenus() {
    mnImp_ = new QMenu(Text(sbTrXText::kMnImp), this);
    for (int i = 0; i < 2; ++i)
        connect(mnImp_->addAction(Text(i == 0 ? sbTrXText::kMnImp0 : sbTrXText::kMnImp1)),
                &QAction::triggered, this, [this, i] { OnImportItem(i); });
    mnImp_->addSeparator();
    acCodI_ = mnImp_->addAction(Text(sbTrXText::kMnCodSet));
    connect(acCodI_, &QAction::triggered, this, &sbTrX::OnCodeItem);

    mnExp_ = new QMenu(Text(sbTrXText::kMnExp), this);
    for (int i = 0; i < 3; ++i)
        connect(mnExp_->addAction(Text(sbTrXText::kMnExpItems[i])), &QAction::triggered, this,
                [this, i] { OnExportItem(i); });
    mnExp_->addSeparator();
    acCodE_ = mnExp_->addAction(Text(sbTrXText::kMnCodSet));
    connect(acCodE_, &QAction::triggered, this, &sbTrX::OnCodeItem);

    mnCopy_ = new QMenu(this);
    for (int i = 0; i < 3; ++i)
        connect(mnCopy_->addAction(Text(sbTrXText::kMnCopy[i])), &QAction::triggered, this,
                [this, i] { OnCopyItem(i); });
}

// ------------------------------------------------------------------ entries

bool sbTrX::ActI(QString& sSz, QByteArray& yDt, bool& bApn, QWidget* parent) {
    sbTrX dlg(parent);
    dlg.Prepare(1);
    Prompter::instance().exec(dlg);
    const bool bOk = dlg.result() == QDialog::Accepted;
    sSz = bOk ? dlg.sChosen_ : QString();
    if (bOk) {
        yDt = dlg.yChosen_;
        bApn = dlg.bApn_;
    }
    return bOk;
}

void sbTrX::ActS(QWidget* parent) {
    sbTrX dlg(parent);
    dlg.Prepare(2);
    Prompter::instance().exec(dlg);
}

bool sbTrX::ActE(const QString& sSz, const NewDocFn& fnNew, QWidget* parent) {
    sbTrX dlg(parent);
    dlg.Prepare(3, sSz, fnNew);
    Prompter::instance().exec(dlg);
    return dlg.bWritten_;
}

void sbTrX::SetCodeHook(std::function<void()> fn) {
    CodeHook() = std::move(fn);
}

void sbTrX::Prepare(int nMode, const QString& sSz, NewDocFn fnNew) {
    bInit_ = true;
    nMode_ = std::clamp(nMode, 1, 3);
    sBase_ = Text(sbTrXText::kCaption[nMode_]);
    fnNew_ = std::move(fnNew);
    bWritten_ = false;
    bApn_ = false;
    yChosen_.clear();
    // The preview is never edited; in reference mode it is for selecting and
    // copying.
    txDoc_->setReadOnly(true);
    cmOk_[0]->setVisible(nMode_ != 2);
    cmOk_[0]->setEnabled(false);
    cmOk_[1]->setText(Text(nMode_ == 2 ? sbTrXText::kClose : sbTrXText::kCancel));
    sChosen_ = nMode_ == 3 ? sSz : QString();
    LoadGeometry();
    setWindowTitle(sBase_);
    ClearPreview();

    uTrX_->ClearItem(true);
    uTrX_->SetNodes(QString::fromLatin1(TreeKeys::kTop));
    bool bRec = false;
    uTrX_->RootSelect(bRec);
    uTrX_->SetRcntLst(Text(sbTrXText::kUnrefCaption), Text(sbTrXText::kUnrefTip),
                      QString::fromLatin1(DbSql::kUnref));
    int iTb = 0;
    uTrX_->SetFrame(iTb);
    bInit_ = false;
    Lay();
}

// ------------------------------------------------------------------ preview

void sbTrX::ClearPreview() {
    txDoc_->ClearAll();
    txDoc_->setReadOnly(true);
}

void sbTrX::ShowCaption(const QString& sNo) {
    setWindowTitle(sBase_ + Text(sbTrXText::kDocNo) + sNo);
}

void sbTrX::OnSetDoc(const QString& /*sNoP*/, const QString& sNo, const QString& sSz, int iJb,
                     bool /*bHg*/) {
    if (iJb == 3) {
        // Nothing chosen any more: nothing for OK to take either.
        ClearPreview();
        if (nMode_ == 1)
            cmOk_[0]->setEnabled(false);
        UpdateExportOk();
        return;
    }
    bool bNum = false;
    const qint64 nNo = sNo.toLongLong(&bNum);
    const DbPage::Page p = bNum ? DbPage::Read(nNo) : DbPage::Page{};
    // A document whose bytes do not load counts as unreadable too: OK must
    // not hand them on.
    const bool bLoaded = p.bOk && !p.bNull && txDoc_->LoadBytes(p.yDoc, TxEngine::FmtDoc);
    if (!p.bOk || (!p.bNull && !bLoaded)) {
        cmOk_[0]->setEnabled(false);
        if (p.bOk)
            ClearPreview();
        Prompter::instance().message(Text(sbTrXText::kReadErr) + sNo);
        UpdateExportOk();
        return;
    }
    txDoc_->setReadOnly(true);
    if (p.bNull) {
        ClearPreview();
        if (nMode_ == 1)
            cmOk_[0]->setEnabled(false);
    } else {
        txDoc_->SetZoomFactor(100 - 10 * std::max(0, cbZoom_->currentIndex()));
        if (nMode_ != 3) {
            sChosen_ = sSz;
            yChosen_ = p.yDoc;
        }
        if (nMode_ == 1)
            cmOk_[0]->setEnabled(true);
    }
    ShowCaption(sNo);
    UpdateExportOk();
}

void sbTrX::UpdateExportOk() {
    if (nMode_ == 3)
        cmOk_[0]->setEnabled(uTrX_->State().nNewIdx > 0);
}

// ------------------------------------------------------------------ popups

void sbTrX::OnRightClick(bool /*bTrv*/) {
    QMenu* m = nMode_ == 1 ? mnImp_ : nMode_ == 3 ? mnExp_ : nullptr;
    if (!m)
        return;
    if (nMode_ == 1) {
        // Importing acts as OK, so only what OK would take.
        for (int i = 0; i < 2; ++i)
            mnImp_->actions().at(i)->setEnabled(cmOk_[0]->isEnabled());
    }
    UpdateCodeAction(CodeAction(nMode_));
    m->popup(QCursor::pos());
}

void sbTrX::UpdateCodeAction(QAction* ac) const {
    QTreeWidgetItem* o = StoredSelection(*uTrX_);
    ac->setEnabled(o != nullptr);
    const bool bCod = o && TreeKeys::IsCodeImg(uTrX_->Tree()->Img(o));
    ac->setText(Text(bCod ? sbTrXText::kMnCodClr : sbTrXText::kMnCodSet));
}

void sbTrX::OnImportItem(int i) {
    if (nMode_ != 1 || !cmOk_[0]->isEnabled())
        return;
    bApn_ = i == 1;
    OnOk();
}

void sbTrX::OnExportItem(int i) {
    if (nMode_ != 3)
        return;
    if (uTrX_->trNew(i, sChosen_)) {
        // The new page has no content yet.
        ClearPreview();
        setWindowTitle(sBase_);
    }
    UpdateExportOk();
}

void sbTrX::OnCodeItem() {
    QTreeWidgetItem* o = StoredSelection(*uTrX_);
    if (!o)
        return;
    const bool bCod = !TreeKeys::IsCodeImg(uTrX_->Tree()->Img(o));
    if (!uTrX_->SetCod(bCod)) {
        Prompter::instance().message(QStringLiteral("文書DBに書き込めませんでした"),
                                     Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    if (CodeHook())
        CodeHook()();
}

void sbTrX::OnCopyItem(int i) {
    txDoc_->setFocus();
    if (i == 2) {
        QApplication::clipboard()->setText(txDoc_->toPlainText());
        return;
    }
    if (i == 1) {
        txDoc_->SetSelStart(0);
        txDoc_->SetSelLength(-1);
    }
    txDoc_->Clip(TxEngine::ClipCopy);
    if (i == 1)
        txDoc_->SetSelStart(0);
}

bool sbTrX::eventFilter(QObject* o, QEvent* e) {
    if (o != txDoc_->viewport())
        return QDialog::eventFilter(o, e);
    // A read-only preview: no double click into headers or frames.
    if (e->type() == QEvent::MouseButtonDblClick)
        return true;
    if (e->type() == QEvent::MouseButtonRelease && nMode_ == 2) {
        const auto* m = static_cast<QMouseEvent*>(e);
        if (m->button() == Qt::RightButton &&
            !(m->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
            mnCopy_->popup(m->globalPosition().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

// ------------------------------------------------------------------ buttons

void sbTrX::OnOk() {
    if (nMode_ == 2 || !cmOk_[0]->isEnabled())
        return;
    if (nMode_ == 3) {
        // Only a pending place can take the new page: otherwise the document
        // would be written without a place in the tree.
        if (uTrX_->State().nNewIdx <= 0 || !fnNew_) {
            UpdateExportOk();
            return;
        }
        if (!fnNew_(sChosen_, *uTrX_)) {
            UpdateExportOk(); // nothing written: the user may try again or cancel
            return;
        }
        bWritten_ = true;
    }
    SaveGeometry();
    accept();
}

void sbTrX::OnCancel() {
    SaveGeometry();
    reject();
}

void sbTrX::reject() {
    sChosen_.clear();
    QDialog::reject();
}

// ------------------------------------------------------------------ zoom

void sbTrX::OnZoom(int i) {
    if (bInit_ || i < 0)
        return;
    txDoc_->SetZoomFactor(100 - 10 * i);
    txDoc_->Refresh();
}

// ------------------------------------------------------------------ geometry

QString sbTrX::GeomGroup() const {
    return Text(sbTrXText::kGeomGroup) + QString::number(nMode_) + Text(sbTrXText::kGeomGroupEnd);
}

void sbTrX::LoadGeometry() {
    yIni& ini = settings();
    ini.GetGtx(GeomGroup());
    int nLft = int(ini.vGtVal(QStringLiteral("Left"), 0.0));
    int nTop = int(ini.vGtVal(QStringLiteral("Top"), 0.0));
    int nWid = int(ini.vGtVal(QStringLiteral("Width"), 0.0));
    int nHgt = int(ini.vGtVal(QStringLiteral("Height"), 0.0));
    int nZoom = ini.vGtVal(QStringLiteral("Zoom"), kZoomDefault);
    if (nZoom < 0 || nZoom >= kZoomCount)
        nZoom = kZoomDefault;
    const int px = Usr::kTwipsPerPixel;
    if (nWid > 0 && nHgt > 0) {
        Usr::FitWkArea(nLft, nTop, nWid, nHgt);
        setGeometry(nLft / px, nTop / px, std::max(nWid / px, minimumWidth()),
                    std::max(nHgt / px, minimumHeight()));
    } else {
        // First use: a comfortable size in the middle of the work area.
        nWid = std::max(sbTrXLayout::kMinWidth + 3000, Usr::nWaWid * 3 / 5);
        nHgt = std::max(sbTrXLayout::kMinHeight + 4500, Usr::nWaHgt * 3 / 5);
        nLft = Usr::nWaLft + std::max(0, (Usr::nWaWid - nWid) / 2);
        nTop = Usr::nWaTop + std::max(0, (Usr::nWaHgt - nHgt) / 2);
        setGeometry(nLft / px, nTop / px, nWid / px, nHgt / px);
    }
    cbZoom_->setCurrentIndex(nZoom);
    // The number at the start of the entry.
    txDoc_->SetZoomFactor(cbZoom_->itemText(nZoom).trimmed().chopped(1).toInt());
}

void sbTrX::SaveGeometry() {
    yIni& ini = settings();
    ini.GetGtx(GeomGroup());
    const int px = Usr::kTwipsPerPixel;
    const QRect g = geometry();
    ini.SetVal(QStringLiteral("Left"), double(g.left() * px));
    ini.SetVal(QStringLiteral("Top"), double(g.top() * px));
    ini.SetVal(QStringLiteral("Width"), double(g.width() * px));
    ini.SetVal(QStringLiteral("Height"), double(g.height() * px));
    ini.SetVal(QStringLiteral("Zoom"), std::max(0, cbZoom_->currentIndex()));
    try {
        ini.SetGtx();
    } catch (const yIni::DocumentError&) {
        // A damaged settings text: the main window starts it afresh when it
        // writes the file.
    }
}

// ------------------------------------------------------------------ layout

void sbTrX::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    Lay();
}

void sbTrX::Lay() {
    if (isMinimized() || nMode_ == 0)
        return;
    const int k = Usr::kTwipsPerPixel;
    const sbTrXLayout::Boxes b =
        sbTrXLayout::Lay(width() * k, height() * k, nMode_, cbZoom_->sizeHint().height() * k,
                         cbZoom_->sizeHint().width() * k, uTrX_->minimumSizeHint().width() * k);
    using PanelLayout::ToPixels;
    uTrX_->setGeometry(ToPixels(b.tree));
    txDoc_->setGeometry(ToPixels(b.preview));
    lbZoom_->setGeometry(ToPixels(b.lbZoom));
    cbZoom_->setGeometry(ToPixels(b.cbZoom));
    if (nMode_ != 2)
        cmOk_[0]->setGeometry(ToPixels(b.ok));
    cmOk_[1]->setGeometry(ToPixels(b.cancel));
    txDoc_->Refresh();
}
