#pragma once
// The popup menus of the file pane: mnJb(0) "ﾌｫﾙﾀﾞ" with its one entry mnFld,
// mnJb(1) "ﾌｧｲﾙ" with the entries mnFile(0..7). Showing a menu only records
// the chosen index in nAns (-1 when the menu was dismissed).

#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QPoint;
class QWidget;

class spTrE : public QObject {
    Q_OBJECT
public:
    explicit spTrE(QWidget* parent = nullptr);
    ~spTrE() override;

    QMenu* mnJb(int nIdx) const;
    QAction* mnFld(int nIdx) const;
    QAction* mnFile(int nIdx) const; // entries 3 and 6 are separators

    // Enables the file entries that need a selected file (0, 1, 4, 5) by bFL
    // and the paste entry (2) by bCp.
    void SetFmnu(bool bFL, bool bCp);

    // Shows menu mnJb(nMenu) at `globalPos`; returns the chosen index (also
    // kept in nAns), -1 when dismissed or the entry is disabled.
    int PopUp(int nMenu, const QPoint& globalPos);
    int nAns = -1;

    // Replaces the real popup (tests): the function gets the menu about to be
    // shown and answers with an entry index. An empty function restores the
    // popup.
    using Chooser = std::function<int(QMenu* menu)>;
    static void setChooser(Chooser chooser);

private:
    QMenu* menus_[2];
};
