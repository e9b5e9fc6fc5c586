#pragma once
// The engine's rulers vRuler (horizontal) and vRulerV (vertical): the page's
// text area between the margins, with a tick every centimetre, at the
// engine's zoom and scroll position.

#include <QWidget>

class TxEngine;

class TxRuler : public QWidget {
    Q_OBJECT
public:
    TxRuler(Qt::Orientation o, QWidget* parent = nullptr);
    void attach(TxEngine* engine);
    // Thickness of a ruler, twips.
    static constexpr int kThickness = 300;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    Qt::Orientation orientation_;
    TxEngine* engine_ = nullptr;
};
