// The tree panel: tabs and their frames, the find, the recent list and the
// code list of a code page.
#include "uTrX.h"

#include "PanelLayout.h"
#include "Prompter.h"
#include "TreeKeys.h"
#include "TreeStore.h"
#include "TreeText.h"
#include "Usr.h"
#include "trView.h"

#include <QComboBox>
#include <QDateTime>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

namespace {

constexpr int kDataRole = Qt::UserRole;

const QString kColTitle = QStringLiteral("szDoc");
const QString kColText = QStringLiteral("txDoc");

QString NewKey() {
    return QString::fromLatin1(TreeText::kCodNew);
}

QString CodKey(const QTreeWidgetItem* o) {
    return o ? o->data(0, kDataRole).toString() : QString();
}

} // namespace

QSize uTrX::minimumSizeHint() const {
    // The strip's own wish holds every tab at its full width.
    const QSize tabs = TabS_->sizeHint();
    return {tabs.width(), tabs.height()};
}

void uTrX::SetSize() {
    TabS_->setGeometry(0, 0, width(), TabS_->sizeHint().height());
}

void uTrX::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    SetSize();
    LayFrame(iTbShown_);
}

// Places and shows the frame of tab `iTb` in the tab strip's client area.
void uTrX::LayFrame(int iTb) {
    const int nTabH = TabS_->geometry().height();
    const QRect client(0, nTabH, width(), std::max(0, height() - nTabH));
    const PanelLayout::Box area = PanelLayout::ToTwips(client);
    const int W = area.nWid, H = area.nHgt;
    using PanelLayout::ToPixels;
    frTree_->hide();
    frFind_->hide();
    frRcnt_->hide();
    QWidget* fr = iTb == 1 ? frTree_ : iTb == 4 ? frRcnt_ : frFind_;
    fr->setGeometry(client);
    fr->raise();
    if (iTb == 1) {
        const PanelLayout::TreeTab t = PanelLayout::Tree(W, H, st_.bCdMode);
        trView_->setGeometry(ToPixels(t.trView));
        lsCod_->setGeometry(ToPixels(t.lsCod));
        lsCod_->setVisible(st_.bCdMode);
    } else if (iTb == 4) {
        const PanelLayout::RcntTab t = PanelLayout::Rcnt(W, H);
        lsRsnt_->setGeometry(ToPixels(t.lsRsnt));
        cmClrRsnt_->setGeometry(ToPixels(t.cmClrRsnt));
    } else {
        const int nCmbH = cmbFind_->sizeHint().height() * Usr::kTwipsPerPixel;
        const PanelLayout::FindTab t = PanelLayout::Find(W, H, nCmbH);
        cmbFind_->setGeometry(ToPixels(t.cmbFind));
        cmFind_->setGeometry(ToPixels(t.cmFind));
        lsFind_->setGeometry(ToPixels(t.lsFind));
    }
    fr->show();
}

void uTrX::SetFrame(int& iTb) {
    st_.bRefMd = iTb < 0;
    int t = iTb;
    if (iTb < 0) {
        if (bRcntTab_) {
            const QSignalBlocker b(TabS_);
            TabS_->removeTab(3);
            bRcntTab_ = false;
        }
        t = 1;
    } else if (iTb > 0) {
        st_.iLstTb = iTb;
    } else {
        t = st_.iLstTb > 0 ? st_.iLstTb : 1;
    }
    if (t > 4)
        t = 1;
    iTb = t;
    iTbShown_ = t;
    {
        const QSignalBlocker b(TabS_);
        if (t - 1 < TabS_->count())
            TabS_->setCurrentIndex(t - 1);
    }
    if (t == 1 && !st_.bCdMode)
        ClearCod();
    LayFrame(t);
    QString sMsg;
    if (t == 1) {
        sMsg = QString::fromUtf8(TreeText::kTabTreeMsg);
    } else if (t == 4) {
        if (st_.bLstLk) {
            lsRsnt_->setCurrentRow(lsRsnt_->count() - 1);
            st_.bLstLk = false;
        }
        sMsg = QString::fromUtf8(TreeText::kTabRcntMsg);
    } else {
        sMsg = QString::fromUtf8(t == 2 ? TreeText::kTabTitleMsg : TreeText::kTabFindMsg);
    }
    emit eFmMsg(sMsg);
    QWidget* focus = t == 1   ? static_cast<QWidget*>(trView_)
                     : t == 4 ? static_cast<QWidget*>(lsRsnt_)
                              : static_cast<QWidget*>(cmbFind_);
    focus->setFocus();
    if (t != 3)
        st_.sFndWd.clear();
}

int uTrX::CurrentTab() const {
    return iTbShown_;
}

void uTrX::FndDoc() {
    const QString w = cmbFind_->currentText();
    // Each word once in the history; blanks are no word to remember.
    if (!w.trimmed().isEmpty() && !st_.sFndHst.contains(w)) {
        const QSignalBlocker b(cmbFind_);
        cmbFind_->addItem(w);
        cmbFind_->setEditText(w);
        st_.sFndHst.append(w);
    }
    st_.sFndWd = w;
    const QList<TreeStore::DocRow> aRows =
        TreeStore::Find(w, CurrentTab() == 2 ? kColTitle : kColText);
    {
        const QSignalBlocker b(lsFind_);
        lsFind_->clear();
        for (const TreeStore::DocRow& r : aRows) {
            auto* it = new QListWidgetItem(r.sSz, lsFind_);
            it->setData(kDataRole, r.nNo);
        }
        lsFind_->setCurrentRow(-1);
    }
    emit eFmMsg(TreeKeys::FullWidth(aRows.size()) + QString::fromUtf8(TreeText::kFound));
}

// A list's choice is handed on once the list has finished changing its
// selection, so that a host may change the lists while it answers. The lock
// counts at the moment of the click.
void uTrX::OpenFound(int nRow) {
    QListWidgetItem* it = lsFind_->item(nRow);
    if (st_.bLstLk || !it)
        return;
    const QString sNo = it->data(kDataRole).toString(), sSz = it->text();
    QTimer::singleShot(0, this, [this, sNo, sSz] {
        emit eSetDoc(QString(), sNo, sSz, 2, false);
        emit eFndWd(st_.sFndWd);
    });
}

void uTrX::OpenRecent(int nRow) {
    QListWidgetItem* it = lsRsnt_->item(nRow);
    if (st_.bLstLk || !it)
        return;
    const QString sNo = it->data(kDataRole).toString(), sSz = it->text();
    QTimer::singleShot(0, this, [this, sNo, sSz] { emit eSetDoc(QString(), sNo, sSz, 2, false); });
}

void uTrX::SetRcnt(const QString& sNo, const QString& sTx) {
    const qint32 n = sNo.trimmed().toInt();
    const QSignalBlocker b(lsRsnt_);
    for (int i = 0; i < lsRsnt_->count(); ++i) {
        if (lsRsnt_->item(i)->data(kDataRole).toInt() == n) {
            delete lsRsnt_->takeItem(i);
            break;
        }
    }
    auto* it = new QListWidgetItem(sTx, lsRsnt_);
    it->setData(kDataRole, n);
}

bool uTrX::SetRcntLst(const QString& sCp, const QString& sTP, const QString& sQ) {
    if (!bRcntTab_)
        return false;
    cmClrRsnt_->hide();
    TabS_->setTabText(3, sCp);
    TabS_->setTabToolTip(3, sTP);
    const QList<TreeStore::DocRow> aRows = TreeStore::Query(sQ);
    const QSignalBlocker b(lsRsnt_);
    lsRsnt_->clear();
    for (const TreeStore::DocRow& r : aRows) {
        auto* it = new QListWidgetItem(r.sSz, lsRsnt_);
        it->setData(kDataRole, qint32(r.nNo));
    }
    return true;
}

QTreeWidgetItem* uTrX::CodEntry(const QString& sKy) const {
    for (int i = 0; i < lsCod_->topLevelItemCount(); ++i)
        if (CodKey(lsCod_->topLevelItem(i)) == sKy)
            return lsCod_->topLevelItem(i);
    return nullptr;
}

void uTrX::SelectCod(QTreeWidgetItem* oEnt) {
    if (!oEnt)
        return;
    const QSignalBlocker b(lsCod_);
    lsCod_->setCurrentItem(oEnt);
    oEnt->setSelected(true);
}

void uTrX::DropCodNew() {
    const QSignalBlocker b(lsCod_);
    delete CodEntry(NewKey());
    st_.bCdNew = false;
}

void uTrX::ClearCod() {
    const QSignalBlocker b(lsCod_);
    lsCod_->clear();
    st_.bCdNew = false; // the pending entry went with the list
}

void uTrX::SetCdLst(QTreeWidgetItem* o) {
    const QString sKy = trView_->Key(o);
    if (!TreeKeys::IsLoadableKy(sKy))
        return;
    const QList<TreeStore::CodRow> aRows = TreeStore::CodList(TreeKeys::KyNo(sKy));
    ClearCod();
    const QSignalBlocker b(lsCod_);
    for (const TreeStore::CodRow& r : aRows) {
        auto* it = new QTreeWidgetItem(lsCod_);
        it->setText(0, r.sSz);
        it->setText(1, r.dtUdt.isValid() ? r.dtUdt.toString(QLatin1String(TreeText::kCodDate))
                                         : QString());
        it->setData(0, kDataRole,
                    QChar::fromLatin1(TreeText::kCodKeyLetter) + QString::number(r.nNo));
    }
    lsCod_->setCurrentItem(nullptr);
}

void uTrX::OnCodCurrent(QTreeWidgetItem* oEnt) {
    if (!oEnt)
        return;
    // Choosing may remove the pending entry, which must wait until the list
    // has finished moving its selection.
    const QString sKy = CodKey(oEnt);
    QTimer::singleShot(0, this, [this, sKy] { ChooseCod(CodEntry(sKy)); });
}

void uTrX::ChooseCod(QTreeWidgetItem* oEnt) {
    if (!oEnt)
        return;
    const QString sKy = CodKey(oEnt);
    if (sKy == NewKey() && st_.bCdMode && st_.bCdNew)
        return;
    bool bCan = false;
    emit eChkMove(bCan);
    oEnt = CodEntry(sKy); // the host may have changed the list meanwhile
    if (bCan) {
        if (!st_.bCdMode)
            trView_->setFocus();
        else if (!st_.sLstCd.isEmpty())
            SelectCod(CodEntry(st_.sLstCd));
        return;
    }
    if (st_.bCdMode && st_.bCdNew) {
        emit eFmMsg(QString::fromUtf8(TreeText::kNewDiscarded));
        DropCodNew();
    }
    st_.sLstCd = sKy;
    if (oEnt && !sKy.isEmpty() && sKy != NewKey())
        emit eSetDoc(QString(), sKy.mid(1), oEnt->text(0), 0, false);
}

void uTrX::cdNew() {
    if (QTreeWidgetItem* oOld = st_.bCdNew ? CodEntry(NewKey()) : nullptr) {
        SelectCod(oOld); // one pending entry at a time
        return;
    }
    auto* it = new QTreeWidgetItem;
    it->setText(0, QString::fromUtf8(TreeText::kNewPage));
    it->setText(1, QDateTime::currentDateTime().toString(QLatin1String(TreeText::kCodDate)));
    it->setData(0, kDataRole, NewKey());
    {
        const QSignalBlocker b(lsCod_);
        lsCod_->insertTopLevelItem(0, it); // the newest entry, at the top
    }
    st_.bCdNew = true;
    SelectCod(it);
}

void uTrX::cdDel() {
    QTreeWidgetItem* oEnt = lsCod_->currentItem();
    if (!oEnt || !oEnt->isSelected())
        return;
    const bool bNew = CodKey(oEnt) == NewKey();
    // Only the pending entry goes without asking, whatever else is pending.
    if (!bNew && Prompter::instance().message(QString::fromUtf8(TreeText::kAskDelete),
                                              Prompter::Buttons::OkCancel,
                                              Prompter::Icon::Question) != Prompter::Answer::Ok)
        return;
    QTreeWidgetItem* oCode = trView_->Selected();
    if (!oCode)
        return;
    if (!bNew &&
        !TreeStore::Remove(TreeKeys::KyNo(trView_->Key(oCode)), CodKey(oEnt).mid(1).toLongLong()))
        return; // the row is still there, so is its entry
    const QSignalBlocker b(lsCod_);
    delete oEnt;
    lsCod_->setCurrentItem(nullptr);
    if (bNew)
        st_.bCdNew = false;
}

void uTrX::UdtCd(const QString& sSz, const QString& sSzB, qint64 nNo) {
    QTreeWidgetItem* oCode = trView_->Selected();
    if (st_.bCdNew && oCode) {
        if (QTreeWidgetItem* oEnt = CodEntry(NewKey())) {
            oEnt->setData(0, kDataRole,
                          QChar::fromLatin1(TreeText::kCodKeyLetter) + QString::number(nNo));
            oEnt->setText(0, sSz);
        }
        TreeStore::InsertCod(TreeKeys::KyNo(trView_->Key(oCode)), nNo, sSz);
        st_.bCdNew = false;
        return;
    }
    QTreeWidgetItem* oEnt = lsCod_->currentItem();
    if (oEnt && oEnt->text(0) == sSzB)
        oEnt->setText(0, sSz);
}
