// The context menus of the editor and how a chosen item becomes a job.
#include "sbTxmMenus.h"

#include "Prompter.h"
#include "TxEngine.h"
#include "sbTxm.h"
#include "sbTxmJobs.h"
#include "uTxm.h"

#include <QMenu>

namespace {

// Item data: the element number (for "画像") in the low byte region and an
// explicit sub-option above it.
struct ItemData {
    int element = -1;
    int opt = 0;
};

} // namespace

Q_DECLARE_METATYPE(ItemData)

sbTxmMenus::sbTxmMenus(sbTxm& dlg) : QObject(&dlg), dlg_(dlg) {
    mnEdit_ = add(nullptr, QStringLiteral("mnEdit"), QString());
    item(mnEdit_, QStringLiteral("元に戻す(&U)"));
    repeat_ = item(mnEdit_, QStringLiteral("やり直し(&R)"));
    mnEdit_->addSeparator();
    item(mnEdit_, QStringLiteral("切り取り(&T)"));
    item(mnEdit_, QStringLiteral("ｺﾋﾟｰ(&C)"));
    QMenu* past = add(mnEdit_, QStringLiteral("mnPast"), QStringLiteral("貼付(&P)"));
    item(past, QStringLiteral("貼り付け(&P)"));
    item(past, QStringLiteral("文書貼付(&D)"))->setCheckable(true);
    item(mnEdit_, QStringLiteral("ｸﾘｱ(&D)"));
    mnEdit_->addSeparator();
    item(mnEdit_, QStringLiteral("全て選択(&A)"));
    item(mnEdit_, QStringLiteral("検索(&F)"));
    item(mnEdit_, QStringLiteral("置換(&H)"));
    item(mnEdit_, QStringLiteral("整形(&K)"));
    mnEdit_->addSeparator();

    QMenu* selc = add(mnEdit_, QStringLiteral("mnSelc"), QStringLiteral("書式(&M)"));
    const char* styles[6] = {"見出１", "見出２", "見出３", "本文", "強調", "補足"};
    for (int i = 0; i < 6; ++i)
        item(selc, QStringLiteral("ｽﾀｲﾙ(&%1) %2").arg(i + 1).arg(QString::fromUtf8(styles[i])), -1,
             i);
    selc->addSeparator();
    item(selc, QStringLiteral("ﾌｫﾝﾄ(&F)"));
    item(selc, QStringLiteral("段落(&P)"));
    item(selc, QStringLiteral("ﾘｽﾄ(&L)"));
    item(selc, QStringLiteral("字下げ(&I)"));
    item(selc, QStringLiteral("文字数を指定して字下げ(&N)"));
    selc->addSeparator();
    item(selc, QStringLiteral("書式のｺﾋﾟｰ(&C)"));
    item(selc, QStringLiteral("書式の貼り付け(&V)"));

    QMenu* local = add(mnEdit_, QStringLiteral("mnLocal"), QStringLiteral("挿入(&I)"));
    item(local, QStringLiteral("ﾃｷｽﾄ(&T)"));
    item(local, QStringLiteral("画像(&P)"), 3);
    item(local, QStringLiteral("画像 WMF形式(&W)"));
    item(local, QStringLiteral("ﾃｷｽﾄﾌﾚｰﾑ(&F)"));
    item(local, QStringLiteral("改頁(&B)"));
    local->addSeparator();
    item(local, QStringLiteral("ﾊｲﾊﾟｰﾘﾝｸ(&L)"));
    item(local, QStringLiteral("ﾊｲﾊﾟｰﾘﾝｸの修正"));
    item(local, QStringLiteral("ﾊｲﾊﾟｰﾘﾝｸの削除"));
    item(local, QStringLiteral("ﾀｸﾞ(&G)"));
    item(local, QStringLiteral("ﾀｸﾞの修正"));
    item(local, QStringLiteral("ﾀｸﾞの削除"));

    QMenu* tbl = add(mnEdit_, QStringLiteral("mnTbl"), QStringLiteral("表(&B)"));
    for (const char* c : {"表挿入", "表分割", "表削除", "表選択", "ｸﾞﾘｯﾄﾞ", "表属性"})
        item(tbl, QString::fromUtf8(c));

    QMenu* disp = add(mnEdit_, QStringLiteral("mnDisp"), QStringLiteral("表示(&V)"));
    for (const char* c : {"ﾂｰﾙﾊﾞｰ", "文字色指定", "書式指定", "ｽﾃｰﾀｽﾊﾞｰ", "ﾙｰﾗｰ"})
        item(disp, QString::fromUtf8(c))->setCheckable(true);
    item(disp, QStringLiteral("全て表示"));
    item(disp, QStringLiteral("全て非表示"));
    disp->addSeparator();
    item(disp, QStringLiteral("ﾍﾟｰｼﾞ表示(&D)"));

    QMenu* user = add(mnEdit_, QStringLiteral("mnUser"), QStringLiteral("設定(&S)"));
    item(user, QStringLiteral("文書ﾍﾟｰｼﾞ(&P)"));
    item(user, QStringLiteral("ﾕｰｻﾞｰｽﾀｲﾙ(&U)"));
    item(user, QStringLiteral("画像ﾚｲｱｳﾄの既定値(&G)"));
    item(user, QStringLiteral("IME･更新確認(&I)"));
    item(user, QStringLiteral("既定のﾌﾞﾘﾝﾀ設定(&R)"));
    mnEdit_->addSeparator();
    item(mnEdit_, QStringLiteral("初期化(&N)"));

    mnObjct_ = add(nullptr, QStringLiteral("mnObjct"), QString());
    item(mnObjct_, QStringLiteral("切り取り(&T)"));
    item(mnObjct_, QStringLiteral("ｺﾋﾟｰ(&C)"));
    mnObjct_->addSeparator();
    editPicture_ = mnObjct_->addAction(QStringLiteral("画像の編集(&E)"));
    deletePicture_ = mnObjct_->addAction(QStringLiteral("画像の削除(&D)"));
}

// The two top-level menus own their submenus.
sbTxmMenus::~sbTxmMenus() {
    delete mnEdit_;
    delete mnObjct_;
}

QMenu* sbTxmMenus::add(QMenu* parent, const QString& name, const QString& title) {
    QMenu* m = parent ? parent->addMenu(title) : new QMenu(title);
    m->setObjectName(name);
    menus_.append(m);
    return m;
}

QAction* sbTxmMenus::item(QMenu* m, const QString& caption, int element, int data) {
    QAction* a = m->addAction(caption);
    a->setData(QVariant::fromValue(ItemData{element, data}));
    return a;
}

QMenu* sbTxmMenus::Menu(const QString& name) const {
    for (QMenu* m : menus_)
        if (m->objectName() == name)
            return m;
    return nullptr;
}

QAction* sbTxmMenus::Item(const QString& key) const {
    for (QMenu* m : menus_)
        for (QAction* a : m->actions())
            if (!a->menu() && !a->isSeparator() && TxmJob::Key(a->text()) == key)
                return a;
    return nullptr;
}

void sbTxmMenus::cTyp(int iTy) {
    // Styles and the picture defaults belong to editors that save files;
    // tags to other pages only to the page editor of the database tool.
    if (QMenu* selc = Menu(QStringLiteral("mnSelc")))
        for (QAction* a : selc->actions())
            if (TxmJob::Key(a->text()) == QStringLiteral("ｽﾀｲﾙ"))
                a->setVisible(iTy > 0);
    if (QAction* a = Item(QStringLiteral("画像ﾚｲｱｳﾄの既定値")))
        a->setVisible(iTy > 0);
    for (const char* c : {"ﾀｸﾞ", "ﾀｸﾞの修正", "ﾀｸﾞの削除"})
        if (QAction* a = Item(QString::fromUtf8(c)))
            a->setVisible(iTy == -2);
}

void sbTxmMenus::Update() {
    uTxm* ed = dlg_.editor();
    if (!ed)
        return;
    bool bUndo, bRedo, bCopy, bPaste, bExDoc, bOvrw, bTx, bPc, bMt, bLk;
    int iRet = 0;
    ed->ChkJbMn1(bUndo, bRedo, bCopy, bPaste, bExDoc, bOvrw, bTx, bPc, bMt, bLk, iRet);
    bool bShwGrd, bInsTb, bInsCL, bInsRw, bDelCL, bDelRw, bSlcTb, bSplTb, bInHd, bInTf;
    QString kind;
    ed->ChkJbMn5(bShwGrd, bInsTb, bInsCL, bInsRw, bDelCL, bDelRw, bSlcTb, bSplTb, bInHd, bInTf,
                 &kind);
    auto set = [this](const char* key, bool on) {
        if (QAction* a = Item(QString::fromUtf8(key)))
            a->setEnabled(on);
    };
    set("元に戻す", bUndo || ed->bSnap);
    // The second item: redo while it reads so, else the repeat item.
    const QString rep = dlg_.RepeatCaption();
    if (rep.isEmpty() || rep == QStringLiteral("やり直し(&R)")) {
        repeat_->setText(QStringLiteral("やり直し(&R)"));
        repeat_->setEnabled(bRedo);
    } else {
        repeat_->setText(rep);
        repeat_->setEnabled(dlg_.RepeatEnabled());
    }
    set("切り取り", bCopy);
    set("ｺﾋﾟｰ", bCopy);
    set("ｸﾘｱ", bCopy);
    set("貼り付け", bPaste);
    set("全て選択", bExDoc);
    set("整形", bExDoc);
    set("ﾊｲﾊﾟｰﾘﾝｸの修正", kind == QLatin1String("LK"));
    set("ﾊｲﾊﾟｰﾘﾝｸの削除", kind == QLatin1String("LK"));
    set("ﾀｸﾞの修正", kind == QLatin1String("TG"));
    set("ﾀｸﾞの削除", kind == QLatin1String("TG"));
    set("表挿入", bInsTb);
    set("表分割", bSplTb);
    set("表削除", bDelRw || bDelCL);
    set("表選択", bSlcTb);
    set("表属性", bSlcTb);
    if (QAction* a = Item(QStringLiteral("文書貼付")))
        a->setChecked(!ed->bPastTx);
    const char* bars[4] = {"ﾂｰﾙﾊﾞｰ", "文字色指定", "書式指定", "ｽﾃｰﾀｽﾊﾞｰ"};
    for (int i = 0; i < 4; ++i)
        if (QAction* a = Item(QString::fromUtf8(bars[i])))
            a->setChecked(ed->bands.shown[i + 1]);
    if (QAction* a = Item(QStringLiteral("ﾙｰﾗｰ")))
        a->setChecked(ed->bRule);
    if (QAction* a = Item(QStringLiteral("ｸﾞﾘｯﾄﾞ"))) {
        a->setCheckable(true);
        a->setChecked(bShwGrd);
    }
}

bool sbTxmMenus::Choose(QAction* a) {
    dlg_.iRJb = 0;
    dlg_.vOpt = 0;
    chosen_.clear();
    if (!a)
        return false;
    chosen_ = a->text();
    const ItemData d = a->data().value<ItemData>();
    if (!dlg_.SetJob(a->text(), d.element))
        return false;
    // Sub-options the caption alone does not tell.
    switch (dlg_.iRJb) {
    case 27: // a bar item switches its bar: off when it was shown
        if (a->isCheckable() && !a->isChecked())
            dlg_.vOpt = -std::abs(dlg_.vOpt.toInt());
        break;
    case 60: // the style of the item
        dlg_.vOpt = d.opt;
        break;
    case 72: // formatted paste on, or plain text when switched off
        dlg_.vOpt = a->isCheckable() && !a->isChecked() ? 3 : 2;
        break;
    case 80:
        dlg_.vOpt = QStringLiteral("表");
        break;
    default:
        break;
    }
    return dlg_.iRJb != 0;
}

bool sbTxmMenus::Popup(const QPoint& global) {
    Update();
    QAction* chosen = mnEdit_->exec(global);
    return Choose(chosen);
}

sbTxmMenus::ObjectChoice sbTxmMenus::PopupObject(const QPoint& global) {
    dlg_.iRJb = 0;
    dlg_.vOpt = 0;
    chosen_.clear();
    Update();
    QAction* chosen = mnObjct_->exec(global);
    if (!chosen)
        return ObjNone;
    if (chosen == editPicture_)
        return ObjEditPicture;
    if (chosen == deletePicture_)
        return ObjDeletePicture;
    return Choose(chosen) ? ObjJob : ObjNone;
}
