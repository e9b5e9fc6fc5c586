#pragma once
// The function-key strip: twelve key buttons in a row, with a caption, tool
// tip and enabled state per key for each of the key groups "F" (plain
// function keys) and "C" (Ctrl + function key); one group is shown at a
// time. It reports presses of its buttons and of the real keys F1-F12 while
// its window is active, and changes of the Shift/Ctrl/Alt state.
//
// Keys are named by group letter and number: "F2", "C9", "F12".
// Shift states are bit masks: 1 Shift, 2 Ctrl, 4 Alt.

#include <QWidget>
#include <array>
#include <functional>

class QToolButton;

class uFkyStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kKeys = 12;

    explicit uFkyStrip(QWidget* parent = nullptr);
    ~uFkyStrip() override;

    bool HasKey(const QString& sKey) const;
    // Each setter returns false for a name that is no key of the strip.
    bool SetCaption(const QString& sKey, const QString& sCp);
    bool SetToolTip(const QString& sKey, const QString& sTip);
    bool SetKeyEnabled(const QString& sKey, bool bOn);
    QString Caption(const QString& sKey) const;
    QString ToolTip(const QString& sKey) const;
    bool KeyEnabled(const QString& sKey) const;

    // Shows key group 'F' or 'C'.
    void ShowGroup(QChar cGroup);
    QChar ShownGroup() const { return cShown_; }

    // Key counts per group of buttons separated by gaps ("4|4|4"); any other
    // text gives one even row.
    void SetLayoutString(const QString& sLayout);
    QString LayoutString() const { return sLayout_; }

    // The button of key number `nKey` (1-12).
    QToolButton* Button(int nKey) const;

    static int ShiftState(Qt::KeyboardModifiers mods);

signals:
    // A key button was clicked or a function key pressed. Set `bHandled` to
    // keep a real key from reaching the window's own shortcuts.
    void FkeyPress(int nKey, int nShift, bool& bHandled);
    void ShiftChange(int nShift);
    // The window lost the keyboard; no modifier is held any more.
    void KeysReleased();

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override;
    void resizeEvent(QResizeEvent* ev) override;

private:
    struct Key {
        QString caption;
        QString tip;
        bool enabled = true;
    };
    Key* find(const QString& sKey);
    const Key* find(const QString& sKey) const;
    // Applies `change` to the key's data and shows it; false for no key.
    bool update(const QString& sKey, const std::function<void(Key&)>& change);
    void refresh(int nKey);
    void place();
    void fitCaption(QToolButton* b) const;
    void pressed(int nKey, int nShift, bool& bHandled);

    std::array<Key, kKeys> keysF_;
    std::array<Key, kKeys> keysC_;
    std::array<QToolButton*, kKeys> buttons_{};
    QChar cShown_ = QLatin1Char('F');
    QString sLayout_;
    int nShift_ = 0;
    // The last function key offered at the shortcut stage, and whether it was
    // handled there, so its key press is eaten (or let through) once.
    int nOfferedKey_ = 0;
    bool bOfferedHandled_ = false;
};
