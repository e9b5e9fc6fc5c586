#pragma once
// "LK" / "LK_OBJ": the link target page. The answer is caption, TAB,
// target; on a picture ("LK_OBJ") there is no caption to edit.

#include "sbTxm.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class LinkPage : public sbTxmPage {
    Q_OBJECT
public:
    LinkPage(uTxm* editor, QWidget* parent);
    void open(const QString& sJb, const QString& sArg) override;
    bool ok() override;
    void cancel() override;

    // The three buttons: a file, a favourite's address, the browser.
    void BrowseFile();
    void BrowseFavorite();
    void OpenBrowser();

    // The address the browser button opens.
    static QString SearchPage();
    // The address of an internet shortcut file: the text after "URL=" on
    // the line that starts with it; empty when there is none.
    static QString ReadUrlFile(const QString& sFile);

    QLineEdit* txLnk[2] = {nullptr, nullptr}; // target, caption
    QCheckBox* chLnkHg = nullptr;
    QPushButton* cmLnk[3] = {nullptr, nullptr, nullptr};
    QLabel* lbMsg = nullptr;

private:
    void showCaption();

    QString sCap_;    // the caption passed in
    QString sDocNm_;  // the name of the document last chosen
    QString sLastFl_; // the file last chosen with the file button
    bool bObj_ = false;
};
