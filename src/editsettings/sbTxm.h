#pragma once
// sbTxm: the editor settings dialog. One modal dialog shows one page at a
// time, chosen by a page code ("TB" table, "PG" page setup, "US" user styles,
// "DP" display, "LK"/"LK_OBJ" link target, "IM" input method and saving,
// "FD"/"RP" search and replace, "TF" image layout). The dialog keeps one
// answer slot that Act hands in and out. It also owns the editor's context
// menus: a chosen menu item is turned into a job code (iRJb, vOpt) that the
// editor performs.

#include <QDialog>
#include <QString>
#include <QVariant>

#include <map>

class uTxm;
class QAction;
class QMenu;
class QPushButton;
class QVBoxLayout;
class sbTxmMenus;

// A page of the dialog. Each page is a widget constructed with the editor it
// works on and its parent (the dialog's page area):
//     MyPage(uTxm* editor, QWidget* parent);
// The dialog calls open() every time it shows the page, with the page code
// ("RP" reaches the search page as "RP" so it can pick its tab) and the
// answer text passed to Act. When the user presses OK the dialog calls ok();
// a page that returns false keeps the dialog open (after telling the user
// why). A page reports its answer with answered(), may close the dialog
// itself with closeRequested() (as after its own command buttons), and
// enables or disables the dialog's OK button with okEnabled().
class sbTxmPage : public QWidget {
    Q_OBJECT
public:
    sbTxmPage(uTxm* editor, QWidget* parent) : QWidget(parent), editor_(editor) {}

    virtual void open(const QString& sJb, const QString& sArg) = 0;
    // The OK action. Default: nothing to do, the dialog closes.
    virtual bool ok() { return true; }
    // Cancel or the close box: the dialog hides afterwards. Default: nothing.
    virtual void cancel() {}

    uTxm* editor() const { return editor_; }

signals:
    void answered(const QString& sAns);
    void closeRequested();
    void okEnabled(bool enabled);

protected:
    uTxm* editor_;
};

class sbTxm : public QDialog {
    Q_OBJECT
public:
    explicit sbTxm(QWidget* parent = nullptr);
    ~sbTxm() override;

    // Binds the editor the pages and menus work on; cOff releases it and
    // forgets the page code.
    void cOn(uTxm* vTx);
    void cOff();
    uTxm* editor() const { return editor_; }
    // Adapts the context menus to the kind of editor (see uTxm's types).
    void cTyp(int iTy);
    int Type() const { return iTy_; }

    // Opens the dialog modally on page sJb. sAns passes the current value in
    // and receives the answer slot's content when the dialog closes.
    // Returns whether the user confirmed it with OK.
    bool Act(const QString& sJb, QString& sAns);
    // The page code of the page shown last ("LK_OBJ" is kept as "LK", "RP"
    // as "FD"); empty after cOff.
    QString PageCode() const { return sJb_; }
    // The answer slot.
    QString Answer() const { return sAns_; }
    void SetAnswer(const QString& s) { sAns_ = s; }
    // The caption of a page code; empty for an unknown code.
    static QString Caption(const QString& sJb);

    // Job of the context menus: set by a chosen menu item, read by the editor.
    int iRJb = 0;
    QVariant vOpt = 0;
    // Turns a menu caption into iRJb / vOpt (see sbTxmJobs.h). Returns false
    // when the caption names no job, or "初期化" was not confirmed (iRJb is
    // then 0).
    bool SetJob(const QString& sCaption, int iElement = 0);
    // The repeat item: after a command other than undo it repeats that
    // command; the caption the edit menu's second item shows.
    QString RepeatCaption() const { return sRepeat_; }
    bool RepeatEnabled() const;
    // Records the menu command just run (its caption and the sub-option it
    // ran with), for the repeat item. bCanRedo: the editor can still redo
    // (after a redo command).
    void Remember(const QString& sCaption, const QVariant& opt, bool bCanRedo);
    // Repeats the last menu command: sets iRJb / vOpt again. False when the
    // repeat item is disabled.
    bool RepertJb();

    // The context menus (sbTxmMenus.cpp).
    sbTxmMenus& Menus();

    // The page widget of a code, created on first use (null when none).
    sbTxmPage* Page(const QString& sJb);

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void onOk();
    void setPage(sbTxmPage* page);

    uTxm* editor_ = nullptr;
    int iTy_ = 1;
    QString sJb_;
    QString sAns_;
    QString sRepeat_;
    QVariant repeatOpt_ = 0; // the sub-option of the command the repeat item repeats
    std::map<QString, sbTxmPage*> pages_;
    sbTxmPage* current_ = nullptr;
    QWidget* pageArea_ = nullptr;
    QVBoxLayout* pageLayout_ = nullptr;
    QPushButton* cmOk_[2] = {nullptr, nullptr};
    sbTxmMenus* menus_ = nullptr;
};
