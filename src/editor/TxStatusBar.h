#pragma once
// The engine's status bar vStatus: the panels "Page", "Line", "Col" and
// "Section" showing where the caret is.

#include <QWidget>

class QLabel;

class TxStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit TxStatusBar(QWidget* parent = nullptr);
    void setCaret(int page, int line, int column, int section);
    // The text of panel "Page", "Line", "Col" or "Section".
    QString panelText(const QString& name) const;

private:
    QLabel* panels_[4] = {};
};
