#include "trView.h"

#include "NodeImages.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {
constexpr int kKeyRole = Qt::UserRole;
constexpr int kImgRole = Qt::UserRole + 1;
constexpr int kIdxRole = Qt::UserRole + 2;
} // namespace

// Hands a finished label edit to the view's handler before the text is
// stored, so the handler can trim it or refuse it.
class trViewDelegate : public QStyledItemDelegate {
public:
    explicit trViewDelegate(trView* view) : QStyledItemDelegate(view), view_(view) {}

    // The line editor of a rename has no text menu of its own: the right
    // button ends the rename, keeping the text typed, and opens the tree's
    // menu as it does over the tree.
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor) {
            editor->setContextMenuPolicy(Qt::NoContextMenu);
            editor->installEventFilter(const_cast<trViewDelegate*>(this));
        }
        return editor;
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        const bool press =
            e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
        if ((press || e->type() == QEvent::MouseButtonRelease) &&
            static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) {
            if (auto* editor = qobject_cast<QWidget*>(o); editor && !press) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                emit view_->eRelease(Qt::RightButton, false);
            }
            return true;
        }
        return QStyledItemDelegate::eventFilter(o, e);
    }

public:
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        QTreeWidgetItem* o = view_->itemFromIndex(index);
        if (!line || !o) {
            QStyledItemDelegate::setModelData(editor, model, index);
            return;
        }
        QString sNew = line->text();
        bool bCancel = false;
        emit view_->eAfterLabelEdit(o, sNew, bCancel);
        if (!bCancel)
            o->setText(0, sNew);
    }

private:
    trView* view_;
};

trView::trView(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A rename starts with F2 only, as the dialog's other commands come from
    // keys: a click on the page already chosen shows it again.
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setUniformRowHeights(true); // keeps large levels fast
    setItemDelegate(new trViewDelegate(this));
}

QTreeWidgetItem* trView::Node(int nIdx) const {
    return nIdx >= 1 && nIdx <= aNodes_.size() ? aNodes_[nIdx - 1] : nullptr;
}

int trView::Index(const QTreeWidgetItem* o) const {
    return o ? o->data(0, kIdxRole).toInt() : 0;
}

QString trView::Key(const QTreeWidgetItem* o) const {
    return o ? o->data(0, kKeyRole).toString() : QString();
}

bool trView::SetKey(QTreeWidgetItem* o, const QString& sKy) {
    QTreeWidgetItem* owner = hKeys_.value(sKy);
    if (!o || (owner && owner != o))
        return false;
    hKeys_.remove(Key(o));
    hKeys_.insert(sKy, o);
    o->setData(0, kKeyRole, sKy);
    return true;
}

QString trView::Img(const QTreeWidgetItem* o) const {
    return o ? o->data(0, kImgRole).toString() : QString();
}

void trView::SetImg(QTreeWidgetItem* o, const QString& sImg) {
    if (!o || Img(o) == sImg)
        return;
    o->setData(0, kImgRole, sImg);
    o->setIcon(0, NodeImages::Icon(sImg));
}

void trView::Register(QTreeWidgetItem* o, const Spec& spec) {
    o->setFlags(o->flags() | Qt::ItemIsEditable);
    o->setText(0, spec.sTx);
    o->setData(0, kKeyRole, spec.sKy);
    o->setData(0, kImgRole, spec.sImg);
    o->setIcon(0, NodeImages::Icon(spec.sImg));
    aNodes_.append(o);
    o->setData(0, kIdxRole, int(aNodes_.size()));
    hKeys_.insert(spec.sKy, o);
}

QTreeWidgetItem* trView::Add(QTreeWidgetItem* oRel, Rel eRel, const Spec& spec) {
    if (hKeys_.contains(spec.sKy) || (!oRel && eRel != Rel::Last))
        return nullptr;
    auto* o = new QTreeWidgetItem;
    Register(o, spec);
    QTreeWidgetItem* oParent = eRel == Rel::Child || eRel == Rel::Last ? oRel : oRel->parent();
    if (eRel == Rel::Child || eRel == Rel::Last) {
        if (oParent)
            oParent->addChild(o);
        else
            addTopLevelItem(o);
    } else {
        const int nAt = (oParent ? oParent->indexOfChild(oRel) : indexOfTopLevelItem(oRel)) +
                        (eRel == Rel::Next ? 1 : 0);
        if (oParent)
            oParent->insertChild(nAt, o);
        else
            insertTopLevelItem(nAt, o);
    }
    return o;
}

QList<QTreeWidgetItem*> trView::AddLevel(QTreeWidgetItem* oParent, const QList<Spec>& aSpecs) {
    QList<QTreeWidgetItem*> out;
    out.reserve(aSpecs.size());
    for (const Spec& spec : aSpecs) {
        if (hKeys_.contains(spec.sKy))
            continue;
        auto* o = new QTreeWidgetItem;
        Register(o, spec);
        out.append(o);
    }
    if (oParent)
        oParent->addChildren(out);
    else
        addTopLevelItems(out);
    return out;
}

QList<int> trView::Remove(QTreeWidgetItem* o) {
    QList<int> gone;
    if (!o)
        return gone;
    QList<QTreeWidgetItem*> stack{o};
    while (!stack.isEmpty()) {
        QTreeWidgetItem* n = stack.takeLast();
        gone.append(Index(n));
        hKeys_.remove(Key(n));
        for (int i = 0; i < n->childCount(); ++i)
            stack.append(n->child(i));
    }
    std::sort(gone.begin(), gone.end());
    // Drop the removed nodes from the index list, last first, then number
    // the rest again from the first gap.
    for (auto it = gone.crbegin(); it != gone.crend(); ++it)
        aNodes_.removeAt(*it - 1);
    delete o; // detaches it from its parent or the top level
    Renumber(gone.first());
    return gone;
}

void trView::Renumber(int nFrom) {
    for (int i = std::max(nFrom, 1); i <= aNodes_.size(); ++i)
        aNodes_[i - 1]->setData(0, kIdxRole, i);
}

void trView::Clear() {
    clear();
    aNodes_.clear();
    hKeys_.clear();
}

QTreeWidgetItem* trView::Selected() const {
    const QList<QTreeWidgetItem*> sel = selectedItems();
    return sel.isEmpty() ? nullptr : sel.first();
}

void trView::Select(QTreeWidgetItem* o) {
    if (!o)
        return;
    setCurrentItem(o);
    o->setSelected(true);
    scrollToItem(o);
}

QList<QTreeWidgetItem*> trView::Siblings(const QTreeWidgetItem* o) const {
    if (!o)
        return {};
    if (!o->parent())
        return TopLevel();
    QList<QTreeWidgetItem*> out;
    for (int i = 0; i < o->parent()->childCount(); ++i)
        out.append(o->parent()->child(i));
    return out;
}

QList<QTreeWidgetItem*> trView::TopLevel() const {
    QList<QTreeWidgetItem*> out;
    out.reserve(topLevelItemCount());
    for (int i = 0; i < topLevelItemCount(); ++i)
        out.append(topLevelItem(i));
    return out;
}

void trView::mousePressEvent(QMouseEvent* e) {
    // The right button opens the host's menu for the page already chosen.
    if (e->button() == Qt::RightButton) {
        e->accept();
        return;
    }
    QTreeWidget::mousePressEvent(e);
}

void trView::mouseReleaseEvent(QMouseEvent* e) {
    QTreeWidget::mouseReleaseEvent(e);
    const QPoint pos = e->position().toPoint();
    QTreeWidgetItem* o = itemAt(pos);
    const bool bOnBranch = o && pos.x() < visualItemRect(o).left();
    emit eRelease(e->button(), bOnBranch);
}

void trView::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && state() != EditingState) {
        emit eEnter(e->modifiers() & Qt::ShiftModifier);
        e->accept();
        return;
    }
    QTreeWidget::keyPressEvent(e);
}
