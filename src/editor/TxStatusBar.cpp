#include "TxStatusBar.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {
const char* const kPanels[4] = {"Page", "Line", "Col", "Section"};
}

TxStatusBar::TxStatusBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("vStatus"));
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QString::fromLatin1(kPanels[i]));
        panels_[i]->setFrameShape(QFrame::Panel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        lay->addWidget(panels_[i], 1);
    }
    setCaret(1, 1, 1, 1);
}

void TxStatusBar::setCaret(int page, int line, int column, int section) {
    const int values[4] = {page, line, column, section};
    for (int i = 0; i < 4; ++i)
        panels_[i]->setText(QStringLiteral("%1 %2").arg(QLatin1String(kPanels[i])).arg(values[i]));
}

QString TxStatusBar::panelText(const QString& name) const {
    for (int i = 0; i < 4; ++i)
        if (name == QLatin1String(kPanels[i]))
            return panels_[i]->text();
    return {};
}
