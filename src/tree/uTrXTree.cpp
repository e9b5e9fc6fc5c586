// The page tree proper: loading levels, the move check, opening nodes,
// rebuilding, locating a document and tag reminders.
#include "uTrX.h"

#include "TreeKeys.h"
#include "TreeStore.h"
#include "TreeText.h"
#include "trView.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QSet>

using namespace TreeKeys;

namespace {

// Lets pending window messages run, as the tree does after loading.
void LetEventsRun() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

QList<QTreeWidgetItem*> Children(const QTreeWidgetItem* o) {
    QList<QTreeWidgetItem*> out;
    for (int i = 0; i < o->childCount(); ++i)
        out.append(o->child(i));
    return out;
}

// The highlight colour a host may give a node's text.
const QColor kHighlight(192, 0, 0);

} // namespace

QString uTrX::MakeKy(const QString& sNo, QChar cKind) {
    return TreeKeys::MakeKy(sNo, cKind, st_.nKySer++);
}

void uTrX::SetNodes(const QString& sKy, bool /*bShwRt*/) {
    if (!IsLoadableKy(sKy))
        return;
    QTreeWidgetItem* oParent = nullptr;
    if (trView_->Count() > 0) {
        oParent = trView_->Node(sKy);
        if (!oParent)
            return; // no such node ("0" on a filled tree): nothing to load into
    } else {
        st_.nKySer = 0;
    }
    LoadLevel(oParent, KyNo(sKy));
}

void uTrX::LoadLevel(QTreeWidgetItem* oParent, qint64 nNo) {
    const QList<TreeStore::LevelRow> aRows = TreeStore::Level(nNo);
    QList<trView::Spec> aSpecs;
    aSpecs.reserve(aRows.size());
    for (const TreeStore::LevelRow& r : aRows) {
        const QChar cKind = r.bLnk ? kLink : kPage;
        // GetImgKy: a code page, else leaf or collapsed by the rows under it
        // (a count that cannot be read counts as none).
        const int nState = r.bCod ? 3 : r.nKids < 1 ? 0 : 1;
        aSpecs.append({MakeKy(QString::number(r.nNo), cKind), r.sSz, ImgKy(cKind, nState)});
    }
    trView_->AddLevel(oParent, aSpecs);
}

void uTrX::SetNdImg(QTreeWidgetItem* o, int nState) {
    const QString sKy = trView_->Key(o);
    if (!sKy.isEmpty())
        trView_->SetImg(o, ImgKy(sKy.front(), nState));
}

QString uTrX::ParentNo(const QTreeWidgetItem* o) const {
    return o && o->parent() ? GetKyNo(trView_->Key(o->parent())) : QString::fromLatin1(kTop);
}

QString uTrX::NodeId(const QTreeWidgetItem* o) const {
    return GetNdId(o->parent() ? trView_->Key(o->parent()) : QString(), trView_->Key(o));
}

void uTrX::RootSelect(bool& bRec) {
    bRec = trView_->topLevelItemCount() > 0;
    if (bRec)
        SlcNd(trView_->topLevelItem(0));
}

void uTrX::ClearItem(bool bNsrt) {
    if (!bNsrt)
        trSort();
    trView_->Clear();
    const QSignalBlocker b1(lsFind_), b2(lsRsnt_);
    lsFind_->clear();
    lsRsnt_->clear();
    st_.sDrty = QStringLiteral(".");
    st_.sFndHst.clear();
    st_.nNewIdx = 0;
}

void uTrX::SlcNd(QTreeWidgetItem* o) {
    if (!o)
        return;
    QTreeWidgetItem* oNew = st_.nNewIdx > 0 ? trView_->Node(st_.nNewIdx) : nullptr;
    // Choosing the pending new page itself is no move: leaving it would
    // discard the place the host is about to save into.
    if (o == oNew)
        return;
    const QString sKy = trView_->Key(o);
    bool bCan = false;
    emit eChkMove(bCan);
    // The host may have saved or rebuilt while it answered: find the nodes
    // again.
    oNew = st_.nNewIdx > 0 ? trView_->Node(st_.nNewIdx) : nullptr;
    if (!st_.bCdMode) {
        if (bCan) {
            trView_->Select(oNew ? oNew : trView_->Node(st_.sCurKy));
            return;
        }
        if (oNew) {
            emit eFmMsg(QString::fromUtf8(TreeText::kNewDiscarded));
            DelNd();
            st_.nNewIdx = 0;
        }
        OpnNd(trView_->Node(sKy)); // gone when it hung under the pending page
        return;
    }
    o = trView_->Node(sKy);
    if (bCan) {
        emit eFmMsg(QString::fromUtf8(TreeText::kNewEdit));
        lsCod_->setFocus();
        return;
    }
    if (st_.bCdNew) {
        emit eFmMsg(QString::fromUtf8(TreeText::kNewDiscarded));
        DropCodNew();
    }
    OpnNd(o);
}

void uTrX::OpnNd(QTreeWidgetItem* o) {
    if (!o)
        return;
    trView_->Select(o);
    const QString sKy = trView_->Key(o);
    const QString sNo = GetKyNo(sKy);
    const QString sNoP = ParentNo(o);
    const QBrush fore = o->foreground(0);
    const bool bHg = fore.style() != Qt::NoBrush && fore.color() == kHighlight;
    const int iJb = sKy.startsWith(kTag) ? 1 : 0;
    const bool bCod = IsCodeImg(trView_->Img(o));
    if (bCod != st_.bCdMode) {
        st_.bCdMode = bCod;
        if (!st_.bRefMd) {
            int iTb = 1;
            SetFrame(iTb);
        }
    }
    if (st_.bCdMode) {
        if (!st_.bRefMd)
            SetCdLst(o);
    } else if (o->childCount() == 0) {
        SetNodes(sKy);
        LetEventsRun();
    }
    emit eSetDoc(sNoP, sNo, o->text(0), iJb, bHg);
}

void uTrX::RefreshTree() {
    st_.bLstLk = true;
    QTreeWidgetItem* oSel = trView_->Selected();
    const QString sSelId = oSel ? NodeId(oSel) : QString();
    // The identities of the expanded nodes, found through expanded nodes only.
    QSet<QString> aOpen;
    QList<QTreeWidgetItem*> walk = trView_->TopLevel();
    while (!walk.isEmpty()) {
        QTreeWidgetItem* o = walk.takeFirst();
        if (o->isExpanded()) {
            aOpen.insert(NodeId(o));
            walk << Children(o);
        }
    }
    trSort();
    st_.sDrty = QStringLiteral(".");
    trView_->Clear();
    st_.nNewIdx = 0; // a pending page does not survive the rebuild
    SetNodes(QString::fromLatin1(kTop));
    // Each identity is opened once, so a loop in the rows cannot open
    // levels without end.
    walk = trView_->TopLevel();
    while (!walk.isEmpty()) {
        QTreeWidgetItem* o = walk.takeFirst();
        if (!aOpen.remove(NodeId(o)))
            continue;
        SetNodes(trView_->Key(o));
        if (o->childCount() > 0) {
            o->setExpanded(true);
            LetEventsRun();
            walk = Children(o) + walk;
        }
    }
    if (oSel) {
        for (int i = 1; i <= trView_->Count(); ++i) {
            if (NodeId(trView_->Node(i)) == sSelId) {
                trView_->Select(trView_->Node(i));
                break;
            }
        }
    }
    st_.bLstLk = false;
}

void uTrX::SetLeaf(qint64 nDno) {
    if (trView_->Count() == 0)
        return;
    // The way up through home places (never links), at most 51 steps.
    QList<qint64> aPath{nDno};
    qint64 nCur = nDno;
    for (int i = 0; i < 51; ++i) {
        const qint64 nP = TreeStore::ParentOf(nCur);
        if (nP == -1 || (nP != 0 && aPath.contains(nP)))
            return; // not filed, unreadable, or a loop
        if (nP == 0)
            break;
        aPath.append(nP);
        nCur = nP;
    }
    // Down again from the top level, loading and expanding the way.
    QList<QTreeWidgetItem*> aSibs = trView_->TopLevel();
    QTreeWidgetItem* oEnd = nullptr;
    for (auto it = aPath.crbegin(); it != aPath.crend(); ++it) {
        QTreeWidgetItem* oHit = nullptr;
        for (QTreeWidgetItem* s : aSibs) {
            oEnd = s;
            const QString sKy = trView_->Key(s);
            if (!sKy.startsWith(kTag) && KyNo(sKy) == *it) {
                oHit = s;
                break;
            }
        }
        if (!oHit)
            break;
        oEnd = oHit;
        if (*it == nDno)
            break;
        if (oHit->childCount() == 0)
            SetNodes(trView_->Key(oHit));
        if (oHit->childCount() == 0)
            break;
        oHit->setExpanded(true);
        aSibs = Children(oHit);
    }
    OpnNd(oEnd);
}

void uTrX::TagTree(const QString& sSz, const QString& sNo) {
    QTreeWidgetItem* o = trView_->Selected();
    if (!o)
        return;
    const QString sKy = trView_->Key(o);
    // The reminder itself is selected (a second call for the same tag).
    if (sKy.startsWith(kTag) && o->text(0) == sSz && GetKyNo(sKy) == sNo)
        return;
    if (!o->isExpanded()) {
        if (o->childCount() == 0)
            SetNodes(sKy);
        o->setExpanded(true);
    }
    for (QTreeWidgetItem* c : Children(o)) {
        if (c->text(0) != sSz)
            continue;
        if (GetKyNo(trView_->Key(c)) == sNo) {
            trView_->Select(c);
            return;
        }
        break; // a same-titled page of another number does not count
    }
    QTreeWidgetItem* oTag =
        trView_->Add(o, trView::Rel::Child, {MakeKy(sNo, kTag), sSz, QString::fromLatin1(kTgCls)});
    if (!oTag)
        return;
    emit eFmMsg(QString::fromUtf8(TreeText::kTagAdded));
    trView_->Select(oTag);
    LetEventsRun();
}

void uTrX::GetPrCdNo(QString& sNoP, QString& sNoC, bool& bLnk, const QString& sNdKy) {
    QTreeWidgetItem* o = sNdKy.isEmpty() ? trView_->Selected() : trView_->Node(sNdKy);
    if (!o) {
        sNoP = sNoC = QString::fromLatin1(kTop);
        return;
    }
    sNoC = GetKyNo(trView_->Key(o));
    sNoP = ParentNo(o);
    bLnk = IsLinkImg(trView_->Img(o));
}

QString uTrX::SlctdKy() const {
    return trView_->Key(trView_->Selected());
}

void uTrX::SetTmpKy() {
    QTreeWidgetItem* o = trView_->Selected();
    if (!o)
        o = trView_->Node(1);
    if (o)
        st_.sCurKy = trView_->Key(o);
}

void uTrX::ChkSlcNd() {
    QTreeWidgetItem* o = trView_->Selected();
    if (!o)
        trView_->Select(trView_->Node(st_.sCurKy));
    else if (trView_->Key(o) != st_.sCurKy)
        SlcNd(o);
    trView_->setFocus();
}

void uTrX::OnRelease(Qt::MouseButton button, bool bOnBranch) {
    if (button == Qt::RightButton) {
        emit eRightClick(true);
        return;
    }
    if (bOnBranch)
        return; // an expand/collapse click chooses nothing
    LetEventsRun();
    SlcNd(trView_->Selected());
}

void uTrX::OnEnter(bool bShift) {
    if (!bShift)
        SlcNd(trView_->Selected());
}
