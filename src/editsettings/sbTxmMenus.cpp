// The context menus of the editor and how a chosen item becomes a job.
#include "sbTxmMenus.h"

#include "Prompter.h"
#include "TxEngine.h"
#include "sbTxm.h"
#include "sbTxmJobs.h"
#include "uTxm.h"

#include <QMenu>

#include <tuple>

namespace {

// Item data: the element number (for "画像") in the low byte region and an
// explicit sub-option above it.
struct ItemData {
    int element = -1;
    int opt = 0;
};

// Table items: the caption of the command they belong to and their word.
constexpr const char* kTableJob = "tableJob";
constexpr const char* kTableWord = "tableWord";
// Header and footer items: their bit of the header/footer mask.
constexpr const char* kHeadFoot = "headFoot";

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
    // Headers and footers, checked while the page has them.
    for (const auto& [name, caption, each] : {std::tuple{"mnHeader", "ﾍｯﾀﾞｰ", TxEngine::Header},
                                              std::tuple{"mnFooter", "ﾌｯﾀｰ", TxEngine::Footer}}) {
        QMenu* sub = add(local, QString::fromLatin1(name), QString::fromUtf8(caption));
        for (const auto& [where, bit] :
             {std::pair{"各頁", int(each)}, std::pair{"先頭頁", int(each) * 2}}) {
            QAction* a = item(sub, QString::fromUtf8(where));
            a->setCheckable(true);
            a->setProperty(kHeadFoot, int(bit));
        }
    }
    local->addSeparator();
    item(local, QStringLiteral("ﾊｲﾊﾟｰﾘﾝｸ(&L)"));
    item(local, QStringLiteral("ﾊｲﾊﾟｰﾘﾝｸの修正"));
    item(local, QStringLiteral("ﾊｲﾊﾟｰﾘﾝｸの削除"));
    item(local, QStringLiteral("ﾀｸﾞ(&G)"));
    item(local, QStringLiteral("ﾀｸﾞの修正"));
    item(local, QStringLiteral("ﾀｸﾞの削除"));

    // The table menu: one submenu per command, its items the command's
    // option words (an empty word is a separator).
    QMenu* tbl = add(mnEdit_, QStringLiteral("mnTbl"), QStringLiteral("表(&B)"));
    struct TableItem {
        const char* caption;
        const char* word;
    };
    const struct {
        const char* caption;
        const char* name;
        std::initializer_list<TableItem> items;
    } tableMenus[] = {
        {"表挿入",
         "mnTins",
         {{"表", "表"},
          {"", ""},
          {"左側に列", "左"},
          {"右側に列", "右"},
          {"", ""},
          {"上に行", "上"},
          {"下に行", "下"}}},
        {"表分割", "mnTsp", {{"現在行の上で分割", "上"}, {"現在行の下で分割", "下"}}},
        {"表削除", "mnTdel", {{"表", "表"}, {"列", "列"}, {"行", "行"}}},
        {"表選択", "mnTslc", {{"表", "表"}, {"行", "行"}, {"ｾﾙ", "ｾﾙ"}}},
        {"ｸﾞﾘｯﾄﾞ", nullptr, {}},
        {"表属性", "mnProp", {{"表", "表"}, {"行", "行"}, {"ｾﾙ", "ｾﾙ"}}},
    };
    for (const auto& m : tableMenus) {
        const QString caption = QString::fromUtf8(m.caption);
        if (!m.name) {
            item(tbl, caption);
            continue;
        }
        QMenu* sub = add(tbl, QString::fromLatin1(m.name), caption);
        for (const TableItem& i : m.items) {
            if (!*i.word) {
                sub->addSeparator();
                continue;
            }
            QAction* a = item(sub, QString::fromUtf8(i.caption));
            a->setProperty(kTableJob, caption);
            a->setProperty(kTableWord, QString::fromUtf8(i.word));
        }
    }

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
    mnObjct_->addSeparator();
    int n = 0;
    for (const char* c :
         {"ﾊｲﾊﾟｰﾘﾝｸ(&L)", "ﾊｲﾊﾟｰﾘﾝｸの修正", "ﾊｲﾊﾟｰﾘﾝｸの削除", "ﾀｸﾞ(&G)", "ﾀｸﾞの修正", "ﾀｸﾞの削除"})
        objMarker_[n++] = item(mnObjct_, QString::fromUtf8(c));
    copyMarker_[0] = mnObjct_->addAction(QString());
    copyMarker_[1] = mnObjct_->addAction(QString());
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
    // The table submenus, as the main window's table menu.
    auto setMenu = [this](const char* name, bool on) {
        if (QMenu* m = Menu(QString::fromLatin1(name)))
            m->menuAction()->setEnabled(on);
    };
    auto setItems = [this](const char* name, std::initializer_list<bool> states) {
        QMenu* m = Menu(QString::fromLatin1(name));
        if (!m)
            return;
        auto state = states.begin();
        for (QAction* a : m->actions())
            if (!a->isSeparator() && state != states.end())
                a->setEnabled(*state++);
    };
    setMenu("mnTins", (bInsTb || bInsCL || bInsRw) && !bInHd);
    setItems("mnTins", {bInsTb, bInsCL, bInsCL, bInsRw, bInsRw});
    setMenu("mnTsp", bSplTb);
    setMenu("mnTdel", bDelCL || bDelRw);
    setItems("mnTdel", {bDelRw, bDelCL, bDelRw});
    setMenu("mnTslc", bSlcTb);
    setMenu("mnProp", bDelRw);
    bool bHd[4] = {};
    ed->HeadFtMn(bHd[0], bHd[1], bHd[2], bHd[3]);
    for (const char* name : {"mnHeader", "mnFooter"})
        if (QMenu* m = Menu(QString::fromLatin1(name)))
            for (QAction* a : m->actions())
                if (const int bit = a->property(kHeadFoot).toInt(); bit > 0)
                    a->setChecked(bHd[bit == 1 ? 0 : bit == 2 ? 1 : bit == 4 ? 2 : 3]);
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
    updateObjectMarkers();
}

// Markers on the selected picture: only an inline picture (a character of
// the text) can carry one; tags only in the page editor of the database.
void sbTxmMenus::updateObjectMarkers() {
    uTxm* ed = dlg_.editor();
    const bool inlinePicture = ed && ed->mTxt->CurObject() != 0 && ed->mTxt->SelLength() == 1;
    const bool tags = ed && ed->Type() == -2;
    QString kind, value;
    if (inlinePicture)
        ed->GetMrk(ed->FldAtSel(), kind, value);
    const bool none = kind.isEmpty();
    const bool on[6] = {none, kind == QLatin1String("LK"), kind == QLatin1String("LK"),
                        none, kind == QLatin1String("TG"), kind == QLatin1String("TG")};
    for (int i = 0; i < 6; ++i) {
        objMarker_[i]->setVisible(i < 3 || tags);
        objMarker_[i]->setEnabled(inlinePicture && on[i]);
    }
    const uTxm::NearMarkers near =
        inlinePicture && none ? ed->MarkersAroundObject() : uTxm::NearMarkers{};
    copyField_[0] = near.before;
    copyField_[1] = near.after;
    for (int i = 0; i < 2; ++i) {
        QString k;
        if (copyField_[i])
            ed->GetMrk(copyField_[i], k, value);
        const bool tag = k == QLatin1String("TG");
        copyMarker_[i]->setText((i == 0 ? QStringLiteral("直前の") : QStringLiteral("直後の")) +
                                (tag ? QStringLiteral("ﾀｸﾞ") : QStringLiteral("ﾘﾝｸ")) +
                                QStringLiteral("を複写"));
        copyMarker_[i]->setVisible(copyField_[i] != 0 && (!tag || tags));
    }
}

bool sbTxmMenus::Choose(QAction* a) {
    dlg_.iRJb = 0;
    dlg_.vOpt = 0;
    chosen_.clear();
    if (!a)
        return false;
    chosen_ = a->text();
    // A table item runs its submenu's command with its word; the command's
    // caption is what the repeat item repeats.
    if (const QVariant job = a->property(kTableJob); job.isValid()) {
        if (!dlg_.SetJob(job.toString()))
            return false;
        chosen_ = job.toString();
        dlg_.vOpt = a->property(kTableWord).toString();
        return true;
    }
    // A header or footer item adds its part when it was unchecked, else
    // removes it (the menu has toggled the check already).
    if (const int bit = a->property(kHeadFoot).toInt(); bit > 0) {
        dlg_.iRJb = 57;
        dlg_.vOpt = a->isChecked() ? bit : -bit;
        return true;
    }
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
    objField_ = 0;
    Update();
    QAction* chosen = mnObjct_->exec(global);
    if (!chosen)
        return ObjNone;
    if (chosen == editPicture_)
        return ObjEditPicture;
    if (chosen == deletePicture_)
        return ObjDeletePicture;
    for (int i = 0; i < 2; ++i) {
        if (chosen == copyMarker_[i]) {
            QString kind, value;
            dlg_.editor()->GetMrk(copyField_[i], kind, value);
            dlg_.iRJb = kind == QLatin1String("TG") ? 51 : 50;
            objField_ = copyField_[i];
            chosen_ = chosen->text();
            return ObjMarker;
        }
    }
    for (QAction* a : objMarker_)
        if (chosen == a)
            return Choose(chosen) ? ObjMarker : ObjNone;
    return Choose(chosen) ? ObjJob : ObjNone;
}
