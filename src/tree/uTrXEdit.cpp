// Editing the page tree: the pending new page, writing its row, carrying a
// title change, discarding it, renaming a place and writing the order back.
#include "uTrX.h"

#include "DbPage.h"
#include "TreeKeys.h"
#include "TreeStore.h"
#include "TreeText.h"
#include "trView.h"

#include <algorithm>

using namespace TreeKeys;

namespace {

// A key's number part as a document number; false for "NewNode".
bool NumberOf(const QString& sNo, qint64& nNo) {
    bool ok = false;
    nNo = sNo.toLongLong(&ok);
    return ok;
}

bool IsStored(const QString& sKy) {
    return sKy.startsWith(kPage) || sKy.startsWith(kLink);
}

} // namespace

void uTrX::RemoveNode(QTreeWidgetItem* o) {
    const bool bWasSel = [&] {
        for (QTreeWidgetItem* s = trView_->Selected(); s; s = s->parent())
            if (s == o)
                return true;
        return false;
    }();
    const QList<int> aGone = trView_->Remove(o);
    if (bWasSel) {
        trView_->clearSelection();
        trView_->setCurrentItem(nullptr);
    }
    // Later nodes moved down: keep the pending index and dirty parents on
    // the same nodes.
    DrtyAfterRemove(st_.sDrty, aGone);
    if (aGone.contains(st_.nNewIdx))
        st_.nNewIdx = 0;
    else
        st_.nNewIdx -=
            int(std::count_if(aGone.begin(), aGone.end(), [&](int n) { return n < st_.nNewIdx; }));
}

QTreeWidgetItem* uTrX::DropPending(QTreeWidgetItem* oAnchor, int& iJb) {
    QTreeWidgetItem* oNew = trView_->Node(st_.nNewIdx);
    if (!oNew)
        return oAnchor;
    bool bInside = false;
    for (QTreeWidgetItem* s = oAnchor; s && !bInside; s = s->parent())
        bInside = s == oNew;
    if (bInside) {
        // Placed relative to the pending page itself: the new one takes its
        // place.
        const QList<QTreeWidgetItem*> aSibs = trView_->Siblings(oNew);
        const qsizetype i = aSibs.indexOf(oNew);
        if (i > 0) {
            oAnchor = aSibs[i - 1];
            iJb = 1;
        } else if (i + 1 < aSibs.size()) {
            oAnchor = aSibs[i + 1];
            iJb = 0;
        } else {
            oAnchor = oNew->parent();
            iJb = 2;
        }
    }
    QTreeWidgetItem* oP = oNew->parent();
    if (oP && oP->childCount() == 1 && oP != oAnchor)
        SetNdImg(oP, 0);
    SetDrty(st_.sDrty, oP ? trView_->Index(oP) : -1);
    RemoveNode(oNew);
    st_.nNewIdx = 0;
    return oAnchor;
}

bool uTrX::trNew(int iJb, const QString& sSz) {
    if (iJb < 0 || iJb > 2)
        return false;
    const QString sTx = sSz.isEmpty() ? QString::fromUtf8(TreeText::kNewPage) : sSz;
    const trView::Spec spec{QString::fromLatin1(kNewNode), sTx, QString::fromLatin1(kNdLef)};
    QTreeWidgetItem* o = nullptr;
    if (trView_->Count() > 0) {
        QTreeWidgetItem* oSel = trView_->Selected();
        if (!oSel)
            return false;
        // A second new page replaces the pending one.
        if (st_.nNewIdx > 0)
            oSel = DropPending(oSel, iJb);
        if (!oSel) {
            o = trView_->Add(nullptr, trView::Rel::Last, spec);
        } else if (iJb == 2) {
            // Load the children first, so the new page joins them instead of
            // hiding them (a node with children is never loaded again).
            if (oSel->childCount() == 0 && !IsCodeImg(trView_->Img(oSel)))
                SetNodes(trView_->Key(oSel));
            o = trView_->Add(oSel, trView::Rel::Child, spec);
            if (o) {
                SetNdImg(oSel, 2);
                oSel->setExpanded(true);
            }
        } else {
            o = trView_->Add(oSel, iJb == 0 ? trView::Rel::Previous : trView::Rel::Next, spec);
        }
    } else {
        o = trView_->Add(nullptr, trView::Rel::Last, spec);
    }
    if (!o)
        return false;
    st_.bCdMode = false;
    int iTb = 1;
    SetFrame(iTb);
    st_.nNewIdx = trView_->Index(o);
    SetDrty(st_.sDrty, o->parent() ? trView_->Index(o->parent()) : -1);
    trView_->Select(o);
    return true;
}

void uTrX::DelNd() {
    QTreeWidgetItem* o = trView_->Node(st_.nNewIdx);
    if (!o)
        return;
    QTreeWidgetItem* oP = o->parent();
    if (oP && oP->childCount() == 1)
        SetNdImg(oP, 0);
    SetDrty(st_.sDrty, oP ? trView_->Index(oP) : -1);
    RemoveNode(o);
    QTreeWidgetItem* oSel = trView_->Selected();
    if (!oSel)
        emit eSetDoc(QString(), QString(), QString(), 3, false);
    else
        OpnNd(oSel);
}

void uTrX::UdtNd(const QString& sSz, const QString& sSzB, qint64 nNo) {
    if (st_.bCdMode)
        UdtCd(sSz, sSzB, nNo);
    else
        UdtTr(sSz, sSzB, nNo);
}

void uTrX::UdtTr(const QString& sSz, const QString& sSzB, qint64 nNo) {
    if (QTreeWidgetItem* o = st_.nNewIdx > 0 ? trView_->Node(st_.nNewIdx) : nullptr) {
        st_.sCurKy = MakeKy(QString::number(nNo), kPage);
        trView_->SetKey(o, st_.sCurKy);
        o->setText(0, sSz);
        qint64 nP = 0;
        const bool bParent = NumberOf(ParentNo(o), nP);
        const qint64 nSrt = st_.nNewSrt++;
        // A failed insert leaves the page pending for the next attempt.
        if (bParent && TreeStore::Insert(nP, nNo, nSrt, sSz))
            st_.nNewIdx = 0;
        return;
    }
    if (sSz == sSzB)
        return;
    for (int i = 1; i <= trView_->Count(); ++i) {
        QTreeWidgetItem* o = trView_->Node(i);
        const QString sKy = trView_->Key(o);
        if (KyNo(sKy) != nNo || o->text(0) != sSzB)
            continue;
        o->setText(0, sSz);
        // A tag reminder is no place of the document: its parent's row of
        // the same document, if any, keeps its own title.
        if (!IsStored(sKy))
            continue;
        qint64 nP = 0;
        if (!NumberOf(ParentNo(o), nP) || !TreeStore::Retitle(nP, nNo, sSz))
            break;
    }
}

void uTrX::OnLabelEdit(QTreeWidgetItem* o, QString& sNew, bool& bCancel) {
    const QString sTx = sNew.trimmed();
    if (sTx.isEmpty()) {
        bCancel = true; // blanks rename nothing
        return;
    }
    sNew = sTx;
    const QString sKy = trView_->Key(o);
    qint64 nP = 0;
    // Tag reminders and the pending page have no row: only the label changes.
    if (!IsStored(sKy))
        return;
    // The view keeps the stored title when the row cannot be written.
    bCancel = !NumberOf(ParentNo(o), nP) || !TreeStore::Rename(nP, KyNo(sKy), sTx);
}

void uTrX::trSort() {
    if (st_.sDrty == QLatin1String(".") || trView_->Count() == 0)
        return;
    QList<TreeStore::SortRow> aSorts;
    for (int nIdx : DrtyIdx(st_.sDrty)) {
        if (nIdx > trView_->Count())
            continue;
        qint64 nP = 0;
        QList<QTreeWidgetItem*> aSibs;
        if (nIdx == -1) {
            aSibs = trView_->TopLevel();
        } else {
            QTreeWidgetItem* oP = trView_->Node(nIdx);
            if (!oP || oP->childCount() == 0 || !NumberOf(GetKyNo(trView_->Key(oP)), nP))
                continue;
            aSibs = trView_->Siblings(oP->child(0));
        }
        for (int k = 0; k < aSibs.size(); ++k) {
            const QString sKy = trView_->Key(aSibs[k]);
            // Tag reminders and the pending page keep their position but
            // have no row.
            if (sKy.startsWith(kTag) || KyNo(sKy) <= 0)
                continue;
            aSorts.append({k, nP, KyNo(sKy)});
        }
    }
    TreeStore::SetSorts(aSorts);
    st_.sDrty = QStringLiteral(".");
}

bool uTrX::SetCod(bool bCod) {
    QTreeWidgetItem* oSel = trView_->Selected();
    const QString sSelKy = trView_->Key(oSel);
    const qint64 nNo = KyNo(sSelKy);
    QString sErr;
    if (!oSel || !IsStored(sSelKy) || nNo <= 0 || !DbPage::SetCode(nNo, bCod, sErr))
        return false;
    const qint64 nKids = bCod ? 0 : TreeStore::ChildCount(nNo);
    for (int i = 1; i <= trView_->Count(); ++i) {
        QTreeWidgetItem* o = trView_->Node(i);
        const QString sKy = trView_->Key(o);
        if (!IsStored(sKy) || KyNo(sKy) != nNo)
            continue;
        const int nState = bCod                  ? 3
                           : o->childCount() > 0 ? (o->isExpanded() ? 2 : 1)
                           : nKids > 0           ? 1
                                                 : 0;
        SetNdImg(o, nState);
    }
    OpnNd(oSel);
    return true;
}
