#include "TxCoolBar.h"
#include "Usr.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

TxCoolBar::TxCoolBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("clBar"));
    rows_ = new QVBoxLayout(this);
    rows_->setContentsMargins(2, 2, 2, 2);
    rows_->setSpacing(2);
}

void TxCoolBar::setChild(int child, QWidget* w) {
    if (child < 1 || child > TxBand::kBands)
        return;
    children_[child] = w;
    w->setParent(this);
}

void TxCoolBar::apply(const TxBand::Bands& b) {
    // Empty the rows; the children stay with the bar.
    while (QLayoutItem* item = rows_->takeAt(0)) {
        if (QLayout* row = item->layout()) {
            while (QLayoutItem* inner = row->takeAt(0))
                delete inner;
        }
        delete item;
    }
    QHBoxLayout* row = nullptr;
    for (int i = 0; i < TxBand::kBands; ++i) {
        const TxBand::Band& band = b.band[i];
        QWidget* w = band.child ? children_[band.child] : nullptr;
        if (!w)
            continue;
        const bool shown = b.shown[band.child];
        w->setVisible(shown);
        if (!shown)
            continue;
        if (!row || (i > 0 && band.newRow)) {
            if (row)
                row->addStretch(1);
            row = new QHBoxLayout;
            row->setSpacing(6);
            rows_->addLayout(row);
        }
        w->setFixedWidth(std::max(1, band.width / Usr::kTwipsPerPixel));
        row->addWidget(w);
    }
    if (row)
        row->addStretch(1);
    rows_->activate();
}

int TxCoolBar::heightTwips() const {
    return rows_->count() == 0 ? 0 : sizeHint().height() * Usr::kTwipsPerPixel;
}
