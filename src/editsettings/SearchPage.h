#pragma once
// The search and replace page ("FD", "RP") of the settings dialog: three
// tabs (find; replace, with the five conversion buttons; replace with
// formatted text), each with its search text, case option and buttons.
// "RP" opens on the replace tab.

#include "SearchReplace.h"
#include "TxStyles.h"
#include "sbTxm.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QStackedWidget;
class QTabBar;
class TxEngine;

class SearchPage : public sbTxmPage {
    Q_OBJECT
public:
    SearchPage(uTxm* editor, QWidget* parent);

    void open(const QString& sJb, const QString& sArg) override;

    // The controls, by the names the dialog's description uses.
    QTabBar* srTab = nullptr;
    QWidget* frFnd[3] = {};
    QComboBox* cbFnd[4] = {}; // 0..2 search text of each tab, 3 the replacement
    QCheckBox* chMatch[3] = {};
    QPushButton* ssCom[3] = {}; // find tab: from the top, previous, next
    QPushButton* ssRep[3] = {}; // replace tab: replace, replace all, next
    QPushButton* ssRpf[3] = {}; // replace-with-format tab: the same
    QPushButton* ssUndo[2] = {};
    QPushButton* cmStrCnv[5] = {};
    QPushButton* cmFmt = nullptr;
    TxEngine* txFndR = nullptr; // the formatted replacement

    const SearchReplace& State() const { return search_; }

    // Puts `text` at the top of the combo box's list unless the list holds
    // it already in any letter case. The box keeps showing its text.
    static void AddHistory(QComboBox* box, const QString& text);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void showTab(int index);
    void find(int button);
    void replace(int tab, int button);
    void convert(int kind);
    void fontOfReplacement();
    void undo();
    void updateUndo();
    void replaceSelection(int tab);

    SearchReplace search_;
    QStackedWidget* frames_ = nullptr;
};
