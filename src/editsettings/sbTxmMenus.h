#pragma once
// The editor's context menus, owned by the settings dialog: the right-click
// menu of the text and the object menu of a clicked picture. Items are
// identified by their captions (see sbTxmJobs.h); choosing one sets the
// dialog's iRJb / vOpt.

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QPoint;
class QWidget;
class sbTxm;

class sbTxmMenus : public QObject {
    Q_OBJECT
public:
    explicit sbTxmMenus(sbTxm& dlg);
    ~sbTxmMenus() override;

    // Shows the right-click menu at `global` after bringing the items up to
    // date with the editor; returns whether an item was chosen (iRJb set).
    bool Popup(const QPoint& global);
    // Shows the object menu of picture `id`; returns the chosen action's
    // kind: 0 none, else the job in iRJb, or one of the picture commands
    // below.
    // ObjMarker: a link or tag item on the picture (iRJb 50 or 51, vOpt the
    // mode), with ObjectField() the marker to copy onto it (0 none).
    enum ObjectChoice { ObjNone = 0, ObjJob, ObjEditPicture, ObjDeletePicture, ObjMarker };
    ObjectChoice PopupObject(const QPoint& global);

    // Brings the enabled and checked states up to date (also done by Popup).
    void Update();
    // Adapts the menus to the editor kind.
    void cTyp(int iTy);
    // Sets iRJb / vOpt from an item, as a chosen item does; returns whether
    // it named a job. Public so hosts and tests can drive the menu.
    bool Choose(QAction* a);

    // Menus by name (mnEdit, mnDisp, mnLocal, mnTbl, mnUser, mnSelc, mnPast,
    // mnObjct); null for an unknown name.
    QMenu* Menu(const QString& name) const;
    // The action with that caption key in a menu, searched through its
    // submenus; null when there is none.
    QAction* Item(const QString& key) const;
    QMenu* Edit() const { return mnEdit_; }
    QMenu* Object() const { return mnObjct_; }
    // The second item of the edit menu: redo or the repeat item.
    QAction* RepeatItem() const { return repeat_; }
    // The caption of the item chosen last (empty when none was).
    QString Chosen() const { return chosen_; }
    // The object menu's marker items: new / edit / remove link, the same
    // for tags, then the copies of the markers before and after the picture.
    QAction* ObjectMarkerItem(int i) const { return objMarker_[i]; }
    QAction* CopyBeforeItem() const { return copyMarker_[0]; }
    QAction* CopyAfterItem() const { return copyMarker_[1]; }
    // The marker the chosen copy item copies (0 for the other items).
    int ObjectField() const { return objField_; }

private:
    QMenu* add(QMenu* parent, const QString& name, const QString& title);
    QAction* item(QMenu* m, const QString& caption, int element = -1, int data = 0);

    sbTxm& dlg_;
    QMenu* mnEdit_ = nullptr;
    QMenu* mnObjct_ = nullptr;
    QAction* repeat_ = nullptr;
    QAction* editPicture_ = nullptr;
    QAction* deletePicture_ = nullptr;
    QAction* objMarker_[6] = {};
    QAction* copyMarker_[2] = {};
    int copyField_[2] = {0, 0};
    int objField_ = 0;
    void updateObjectMarkers();
    QList<QMenu*> menus_;
    QString chosen_;
};
