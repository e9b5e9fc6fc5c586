#pragma once
// The tree widget under the page tree: a QTreeWidget whose nodes carry a
// unique string key, a text and an image key, and are numbered by a 1-based
// index in the order they were added (removing nodes renumbers the ones
// after them, so an index stays valid while only nodes are added). It
// reports mouse releases, Enter and finished label edits; a right-button
// press does not move the selection.

#include <QHash>
#include <QList>
#include <QTreeWidget>

class trView : public QTreeWidget {
    Q_OBJECT
public:
    // Where Add puts a node relative to another one.
    enum class Rel { Last, Previous, Next, Child };
    // A node to add.
    struct Spec {
        QString sKy;
        QString sTx;
        QString sImg;
    };

    explicit trView(QWidget* parent = nullptr);

    int Count() const { return int(aNodes_.size()); }
    // Node by 1-based index or by key; null when there is none.
    QTreeWidgetItem* Node(int nIdx) const;
    QTreeWidgetItem* Node(const QString& sKy) const { return hKeys_.value(sKy); }
    int Index(const QTreeWidgetItem* o) const;
    QString Key(const QTreeWidgetItem* o) const;
    // Gives a node another key; false when the key belongs to another node.
    bool SetKey(QTreeWidgetItem* o, const QString& sKy);
    QString Img(const QTreeWidgetItem* o) const;
    void SetImg(QTreeWidgetItem* o, const QString& sImg);

    // Adds one node `eRel` to `oRel` (Last with no `oRel`: a top-level
    // node). Null when the key is taken, or a relative is needed and absent.
    QTreeWidgetItem* Add(QTreeWidgetItem* oRel, Rel eRel, const Spec& spec);
    // Appends nodes as the last children of `oParent` (top level when null)
    // in one step; nodes whose key is taken are left out.
    QList<QTreeWidgetItem*> AddLevel(QTreeWidgetItem* oParent, const QList<Spec>& aSpecs);
    // Removes a node with its descendants; returns their former indices,
    // ascending.
    QList<int> Remove(QTreeWidgetItem* o);
    void Clear();

    QTreeWidgetItem* Selected() const;
    void Select(QTreeWidgetItem* o);

    // The siblings of a node (the top level for a top-level node), in order.
    QList<QTreeWidgetItem*> Siblings(const QTreeWidgetItem* o) const;
    QList<QTreeWidgetItem*> TopLevel() const;

signals:
    // A mouse button was released over the view; `bOnBranch` when over an
    // item's expand/collapse area, not over its label.
    void eRelease(Qt::MouseButton button, bool bOnBranch);
    // Enter or Return, with or without Shift.
    void eEnter(bool bShift);
    // A label edit ended. The handler may change `sNew` or set `bCancel`
    // to keep the old text.
    void eAfterLabelEdit(QTreeWidgetItem* o, QString& sNew, bool& bCancel);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    friend class trViewDelegate;
    void Register(QTreeWidgetItem* o, const Spec& spec);
    void Renumber(int nFrom);

    QList<QTreeWidgetItem*> aNodes_; // in index order
    QHash<QString, QTreeWidgetItem*> hKeys_;
};
