#include "spTrE.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace {
spTrE::Chooser& chooser() {
    static spTrE::Chooser c;
    return c;
}
} // namespace

spTrE::spTrE(QWidget* parent) : QObject(parent) {
    menus_[0] = new QMenu(QStringLiteral("ﾌｫﾙﾀﾞ"), parent);
    menus_[0]->addAction(QStringLiteral("ｴｸｽﾌﾟﾛｰﾗｰ"));

    menus_[1] = new QMenu(QStringLiteral("ﾌｧｲﾙ"), parent);
    QMenu* f = menus_[1];
    f->addAction(QStringLiteral("切り取り"));
    f->addAction(QStringLiteral("ｺﾋﾟｰ"));
    f->addAction(QStringLiteral("貼り付け"));
    f->addSeparator();
    f->addAction(QStringLiteral("削除"));
    f->addAction(QStringLiteral("名前の変更"));
    f->addSeparator();
    f->addAction(QStringLiteral("新規ﾌｧｲﾙ"));
}

spTrE::~spTrE() = default;

QMenu* spTrE::mnJb(int nIdx) const {
    return (nIdx == 0 || nIdx == 1) ? menus_[nIdx] : nullptr;
}

QAction* spTrE::mnFld(int nIdx) const {
    return menus_[0]->actions().value(nIdx);
}

QAction* spTrE::mnFile(int nIdx) const {
    return menus_[1]->actions().value(nIdx);
}

void spTrE::SetFmnu(bool bFL, bool bCp) {
    for (int i : {0, 1, 4, 5})
        mnFile(i)->setEnabled(bFL);
    mnFile(2)->setEnabled(bCp);
}

int spTrE::PopUp(int nMenu, const QPoint& globalPos) {
    nAns = -1;
    QMenu* menu = mnJb(nMenu);
    if (!menu)
        return nAns;
    const QList<QAction*> entries = menu->actions();
    QAction* chosen = nullptr;
    if (chooser())
        chosen = entries.value(chooser()(menu));
    else
        chosen = menu->exec(globalPos);
    if (chosen && chosen->isEnabled() && !chosen->isSeparator())
        nAns = int(entries.indexOf(chosen));
    return nAns;
}

void spTrE::setChooser(Chooser c) {
    chooser() = std::move(c);
}
