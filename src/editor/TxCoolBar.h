#pragma once
// The cool bar clBar: four bands in rows, each holding one child (toolbar,
// colour frame, format buttons, status bar) at its band width.

#include "TxBands.h"

#include <QWidget>
#include <array>

class QVBoxLayout;

class TxCoolBar : public QWidget {
    Q_OBJECT
public:
    explicit TxCoolBar(QWidget* parent = nullptr);

    // The widget of each child (index = TxBand::Child); reparented here.
    void setChild(int child, QWidget* w);
    QWidget* child(int child) const { return children_[child]; }

    // Lays the bands out: band order, rows, widths and visibility.
    void apply(const TxBand::Bands& b);
    // The height the shown rows need, in twips.
    int heightTwips() const;

private:
    std::array<QWidget*, TxBand::kBands + 1> children_{};
    QVBoxLayout* rows_ = nullptr;
};
