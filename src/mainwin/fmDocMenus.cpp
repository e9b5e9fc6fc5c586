// fmDoc: the main menu. Every menu is a named array of items indexed from 0
// (gaps hold nullptr); the function-key bar reaches the arrays by name. The
// enabled states follow the editor each time a menu opens.
#include "MenuActions.h"
#include "TxCompanion.h"
#include "fmDoc.h"
#include "sbMapi.h"
#include "uTrE.h"
#include "uTxm.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

enum Flags { None = 0, Off = 1, Checked = 2, Checkable = 4 };

struct ItemDef {
    int index;
    const char* caption; // "-" is a separator
    const char* shortcut = nullptr;
    int flags = None;
    const char* submenu = nullptr; // the array the item opens
};

struct MenuDef {
    const char* array;
    QList<ItemDef> items;
};

// Top-level menus (array "mnJb") with their item arrays.
struct TopDef {
    const char* caption;
    const char* array;
};

const TopDef kTop[] = {
    {"ﾌｧｲﾙ(&F)", "mnFile"},   {"編集(&E)", "mnEdit"},     {"表示(&V)", "mnDisp"},
    {"挿入(&I)", "mnLocal"},  {"書式(&S)", "mnSelc"},     {"表(&T)", "mnTbl"},
    {"ﾗﾍﾞﾙ枠(&W)", "mnTxFd"}, {"外部文書(&B)", "mnDxdb"}, {"ﾂｰﾙ(&L)", "mnTool"},
    {"設定(&U)", "mnUser"},
};

const QList<MenuDef> kMenus = {
    {"mnFile",
     {{0, "新規作成(&N)", "Ctrl+N"},
      {1, "上書き保存(&S)", "F8"},
      {2, "名を付けて保存(&A)", "Ctrl+F4"},
      {3, "-"},
      {4, "ﾍﾟｰｼﾞﾋﾞｭ-(&V)", "Ctrl+F2"},
      {5, "印刷(&P)", "Ctrl+F3"},
      {6, "ﾒｰﾙ", nullptr, None, "mnMail"},
      {7, "-"},
      {8, "現在のﾌｫﾙﾀﾞを開く", "Ctrl+F9"},
      {9, "文書ﾌｫﾙﾀﾞの指定(&F)", nullptr, None, "mnOpnFd"},
      {10, "-"},
      {11, "新しいﾌｫｰﾑで文書を開く", "Ctrl+F5"},
      {12, "-"},
      {13, "終了(&X)"}}},
    {"mnMail", {{0, "本文(Text) + 添付(pdf)"}, {1, "本文(Text) + 添付(doc)"}, {2, "本文(Text)"}}},
    {"mnOpnFd", {{0, "参照"}, {1, "My Documentを開く"}, {2, "Aplication Data Documnetを開く"}}},
    {"mnEdit",
     {{0, "元に戻す(&U)", "Ctrl+Z", Off},
      {1, "やり直し(&R)", "Ctrl+Y", Off},
      {2, "-"},
      {3, "切り取り(&T)", "Ctrl+X", Off},
      {4, "ｺﾋﾟｰ(&C)", "Ctrl+C", Off},
      {5, "貼り付け", nullptr, Off, "mnPast"},
      {6, "-"},
      {8, "初期化"},
      {9, "ｸﾘｱ(&A)", "Del"},
      {10, "全て選択(&L)", "Ctrl+A"},
      {11, "-"},
      {12, "検索(&F)", "Ctrl+F"},
      {13, "置換(&R)", "Ctrl+H"}}},
    {"mnPast", {{0, "ﾃｷｽﾄとして貼付"}, {1, "書式付ﾃｷｽﾄとして貼付"}, {2, "画像として貼り付け"}}},
    {"mnDisp",
     {{0, "ﾂﾘｰﾋﾞｭｰ", nullptr, Checkable | Checked},
      {1, "ﾌｧﾝｸｼｮﾝﾒﾆｭｰ", nullptr, Checkable | Checked},
      {2, "再表示"}}},
    {"mnLocal",
     {{0, "文書(&D)"},
      {1, "ﾃｷｽﾄ(&T)"},
      {2, "-"},
      {3, "画像(&P)", "Ctrl+P"},
      {4, "画像(ｻｲｽﾞを指定して取込)"},
      {5, "画像 WMF形式 (&W)"},
      {6, "-"},
      {7, "ｸﾞﾗﾌ･ﾁｬｰﾄ(&G)", nullptr, None, "mnChart"},
      {8, "ﾃｷｽﾄﾌﾚｰﾑ(&F)"},
      {9, "OLEｵﾌﾞｼﾞｪｸﾄ(&O)"},
      {10, "-"},
      {11, "ﾊｲﾊﾟｰﾘﾝｸ(&L)", "Ctrl+L"},
      {12, "-"},
      {13, "ﾍｯﾀﾞｰ", nullptr, None, "mnHeader"},
      {14, "ﾌｯﾀｰ", nullptr, None, "mnFooter"},
      {15, "改頁(&B)", "Ctrl+B"}}},
    {"mnChart", {{0, "ｸﾞﾗﾌ"}, {1, "ﾁｬｰﾄ"}}},
    {"mnHeader", {{0, "各頁", nullptr, Checkable}, {1, "先頭頁", nullptr, Checkable}}},
    {"mnFooter", {{0, "各頁", nullptr, Checkable}, {1, "先頭頁", nullptr, Checkable}}},
    {"mnSelc",
     {{0, "表題1 の書式", "F2"},
      {1, "表題2 の書式", "F3"},
      {2, "表題3 の書式", "F4"},
      {3, "本文 の書式", "F5"},
      {4, "本文強調の書式", "F6"},
      {5, "補足 の書式", "F7"},
      {6, "-"},
      {7, "ﾌｫﾝﾄ(&W)", "F9"},
      {8, "段落(&P)"},
      {9, "ﾘｽﾄ(&L)"},
      {11, "-"},
      {12, "書式のｺﾋﾟｰ", "Ctrl+F7"},
      {13, "書式の貼り付け", "Ctrl+F8"}}},
    {"mnTbl",
     {{0, "挿入", nullptr, None, "mnTins"},
      {1, "分割", nullptr, None, "mnTsp"},
      {2, "削除", nullptr, None, "mnTdel"},
      {3, "選択", nullptr, None, "mnTslc"},
      {4, "ﾌﾟﾛﾊﾟﾃｨ", nullptr, None, "mnProp"}}},
    {"mnTins",
     {{0, "表"},
      {1, "-"},
      {2, "左側に列"},
      {3, "右側に列"},
      {4, "-"},
      {5, "上に行"},
      {6, "下に行"}}},
    {"mnTsp", {{0, "現在行の上で分割"}, {1, "現在行の下で分割"}}},
    {"mnTdel", {{0, "表"}, {1, "列"}, {2, "行"}}},
    {"mnTslc", {{0, "表"}, {1, "行"}, {2, "ｾﾙ"}}},
    {"mnProp", {{0, "表"}, {1, "行"}, {2, "ｾﾙ"}}},
    {"mnTxFd",
     {{0, "挿入"},
      {1, "-"},
      {2, "初期化"},
      {3, "枠内の文書を保存"},
      {4, "枠内の文書に読込"},
      {5, "-"},
      {6, "枠内の文書の一括初期化"},
      {7, "枠内の文書に一括読込"}}},
    {"mnDxdb",
     {{0, "接続先を指定"},
      {1, "-"},
      {2, "参照", nullptr, Off},
      {3, "ｲﾝﾎﾟｰﾄ", nullptr, Off},
      {4, "ｲﾝｻｰﾄ", nullptr, Off},
      {5, "-"},
      {6, "ｴｸｽﾎﾟｰﾄ (時系列)", nullptr, Off, "mnCxd"},
      {7, "ｴｸｽﾎﾟｰﾄ (部章節)", nullptr, Off},
      {8, "-"},
      {9, "起動", nullptr, Off}}},
    {"mnCxd", {}},
    {"mnTool",
     {{0, "入力位置表示"},
      {1, "用紙縦2分割"},
      {2, "用紙縦3分割"},
      {3, "-"},
      {4, "ﾌｨｰﾙﾄﾞを挿入"},
      {5, "ﾌｨｰﾙﾄﾞを削除"}}},
    {"mnUser",
     {{0, "文書ﾍﾟｰｼﾞ(&P)", "Ctrl+F6"},
      {1, "ﾍﾟｰｼﾞ表示"},
      {2, "ﾕｰｻﾞｰｽﾀｲﾙ"},
      {3, "画像ﾚｲｱｳﾄの既定値"},
      {4, "IME･更新確認"},
      {5, "-"},
      {6, "既定のﾌﾞﾘﾝﾀ設定"},
      {7, "-"},
      {8, "「送る」にｼｮｰﾄｶｯﾄ作成"}}},
};

const MenuDef* findDef(const QString& sArray) {
    for (const MenuDef& m : kMenus)
        if (QLatin1String(m.array) == sArray)
            return &m;
    return nullptr;
}

} // namespace

void fmDoc::buildMenus() {
    QMenuBar* bar = menuBar();
    QList<QAction*>& jb = arrays_[QStringLiteral("mnJb")];
    // Menus are made depth first, so a submenu exists when its parent item does.
    std::function<QMenu*(const QString&, const QString&, QWidget*)> make =
        [&](const QString& sArray, const QString& sCaption, QWidget* parent) {
            auto* menu = new QMenu(sCaption, parent);
            menu->setObjectName(sArray);
            menus_[sArray] = menu;
            QList<QAction*>& items = arrays_[sArray];
            const MenuDef* def = findDef(sArray);
            for (const ItemDef& d : def ? def->items : QList<ItemDef>{}) {
                const QString caption = QString::fromUtf8(d.caption);
                QAction* a = nullptr;
                if (d.submenu) {
                    a = make(QLatin1String(d.submenu), caption, menu)->menuAction();
                    menu->addAction(a);
                } else if (caption == QLatin1String("-")) {
                    a = menu->addSeparator();
                } else {
                    a = menu->addAction(caption);
                    const int idx = d.index;
                    connect(a, &QAction::triggered, this,
                            [this, sArray, idx] { onItem(sArray, idx); });
                }
                if (d.shortcut) {
                    QList<QKeySequence> keys{QKeySequence(QLatin1String(d.shortcut))};
                    // Saving also answers the key every other program saves with.
                    if (sArray == QLatin1String("mnFile") && d.index == 1)
                        keys.append(QKeySequence(QKeySequence::Save));
                    a->setShortcuts(keys);
                    a->setShortcutContext(Qt::WindowShortcut);
                }
                a->setCheckable(d.flags & Checkable);
                a->setChecked(d.flags & Checked);
                a->setEnabled(!(d.flags & Off));
                while (items.size() <= d.index)
                    items.append(nullptr);
                items[d.index] = a;
            }
            return menu;
        };
    for (int i = 0; i < int(std::size(kTop)); ++i) {
        const QString sArray = QLatin1String(kTop[i].array);
        QMenu* menu = make(sArray, QString::fromUtf8(kTop[i].caption), this);
        bar->addMenu(menu);
        top_.append(menu);
        jb.append(menu->menuAction());
        connect(menu, &QMenu::aboutToShow, this, [this, i] { RefreshMenu(i); });
    }
    // The tool menu is there for its commands but not shown.
    top_[8]->menuAction()->setVisible(false);
}

QList<QAction*> fmDoc::MenuArray(const QString& sName) const {
    return arrays_.value(sName);
}

QMenu* fmDoc::TopMenu(int iJb) const {
    return iJb >= 0 && iJb < top_.size() ? top_[iJb] : nullptr;
}

QAction* fmDoc::item(const QString& sArray, int iNdx) const {
    const QList<QAction*> items = arrays_.value(sArray);
    return iNdx >= 0 && iNdx < items.size() ? items[iNdx] : nullptr;
}

void fmDoc::onItem(const QString& sArray, int iNdx) {
    static const QHash<QString, int> groups = {
        {QStringLiteral("mnFile"), 2},  {QStringLiteral("mnEdit"), 3},
        {QStringLiteral("mnSelc"), 5},  {QStringLiteral("mnLocal"), 6},
        {QStringLiteral("mnDisp"), 12}, {QStringLiteral("mnUser"), 15},
    };
    static const QHash<QString, QString> tables = {
        {QStringLiteral("mnTins"), QStringLiteral("表挿入")},
        {QStringLiteral("mnTsp"), QStringLiteral("表分割")},
        {QStringLiteral("mnTdel"), QStringLiteral("表削除")},
        {QStringLiteral("mnTslc"), QStringLiteral("表選択")},
        {QStringLiteral("mnProp"), QStringLiteral("表属性")},
    };
    QString sRet;
    if (const auto g = groups.constFind(sArray); g != groups.cend()) {
        // fnMenu toggles the check marks it keeps itself, as it does for a key
        // of the bar; undo the toggle Qt made on the click.
        if (QAction* a = item(sArray, iNdx); a && a->isCheckable())
            a->setChecked(!a->isChecked());
        fnMenu(*g, iNdx, sRet);
    } else if (const auto t = tables.constFind(sArray); t != tables.cend()) {
        sRet = *t;
        fnMenu(0, iNdx, sRet);
    } else if (sArray == QLatin1String("mnPast")) {
        static const char* const kinds[] = {"TXT", "RTX", "PIC"};
        if (iNdx >= 0 && iNdx < 3)
            txm_->rtAct(15, QString::fromLatin1(kinds[iNdx]));
    } else if (sArray == QLatin1String("mnChart")) {
        txm_->rtAct(iNdx == 0 ? 42 : 43);
    } else if (sArray == QLatin1String("mnHeader") || sArray == QLatin1String("mnFooter")) {
        toggleHeadFoot(sArray, iNdx);
    } else if (sArray == QLatin1String("mnTxFd")) {
        labelFrame(iNdx);
    } else if (sArray == QLatin1String("mnTool")) {
        toolItem(iNdx);
    } else if (sArray == QLatin1String("mnOpnFd")) {
        openFolderItem(iNdx);
    } else if (sArray == QLatin1String("mnDxdb")) {
        databaseItem(iNdx);
    } else if (sArray == QLatin1String("mnCxd")) {
        codePageItem(iNdx);
    } else if (sArray == QLatin1String("mnMail")) {
        sbMapi::MailItem(
            iNdx, trE_ ? trE_->GetFile() : QString(),
            [this](const QString& path) { return TxCompanion::SaveCopy(*txm_, path); },
            [this](QString& sTx, QString& sCp) { txm_->GetMTxt(sTx, sCp); });
    }
}

// --------------------------------------------------------------- states

namespace {
void enable(QAction* a, bool on) {
    if (a)
        a->setEnabled(on);
}
} // namespace

void fmDoc::refreshHeadFoot() {
    bool hdP = false, hdF = false, ftP = false, ftF = false;
    txm_->HeadFtMn(hdP, hdF, ftP, ftF);
    const bool marks[] = {hdP, hdF, ftP, ftF};
    for (int i = 0; i < 4; ++i)
        if (QAction* a =
                item(i < 2 ? QStringLiteral("mnHeader") : QStringLiteral("mnFooter"), i % 2))
            a->setChecked(marks[i]);
}

void fmDoc::RefreshMenu(int iJb) {
    if (!txm_)
        return;
    const QString file = QStringLiteral("mnFile"), edit = QStringLiteral("mnEdit");
    switch (iJb) {
    case 0: {
        bool exDoc = false, ovrw = false;
        txm_->ChkJbMn0(exDoc, ovrw);
        enable(item(file, 1), ovrw);
        for (int i : {2, 4, 5})
            enable(item(file, i), exDoc);
        enable(item(QStringLiteral("mnMail"), 0), exDoc);
        enable(item(QStringLiteral("mnMail"), 1), exDoc);
        break;
    }
    case 1: {
        bool undo = false, redo = false, copy = false, paste = false, exDoc = false, ovrw = false;
        bool tx = false, pc = false, mt = false, lk = false;
        int ret = 0;
        txm_->ChkJbMn1(undo, redo, copy, paste, exDoc, ovrw, tx, pc, mt, lk, ret);
        enable(item(edit, 0), undo);
        enable(item(edit, 1), redo);
        enable(item(edit, 3), copy);
        enable(item(edit, 4), copy);
        enable(item(edit, 5), paste);
        if (paste) {
            enable(item(QStringLiteral("mnPast"), 0), tx);
            enable(item(QStringLiteral("mnPast"), 1), tx);
            enable(item(QStringLiteral("mnPast"), 2), pc || mt || lk);
        }
        for (int i : {8, 9, 10, 12, 13})
            enable(item(edit, i), exDoc);
        break;
    }
    case 3: {
        refreshHeadFoot();
        bool inHd = false, inTf = false;
        txm_->ChkJbMn3(inHd, inTf);
        for (int i : {0, 1, 3, 4, 5, 7, 8, 9})
            enable(item(QStringLiteral("mnLocal"), i), !inHd && !inTf);
        break;
    }
    case 5: {
        bool grd = false, insTb = false, insCL = false, insRw = false, delCL = false, delRw = false,
             slcTb = false, splTb = false, inHd = false, inTf = false;
        txm_->ChkJbMn5(grd, insTb, insCL, insRw, delCL, delRw, slcTb, splTb, inHd, inTf);
        const QString tins = QStringLiteral("mnTins"), tbl = QStringLiteral("mnTbl");
        enable(item(tins, 0), insTb);
        enable(item(tins, 2), insCL);
        enable(item(tins, 3), insCL);
        enable(item(tins, 5), insRw);
        enable(item(tins, 6), insRw);
        enable(item(tbl, 0), (insTb || insCL || insRw) && !inHd);
        enable(item(tbl, 1), splTb);
        enable(item(tbl, 2), delCL || delRw);
        enable(item(QStringLiteral("mnTdel"), 0), delRw);
        enable(item(QStringLiteral("mnTdel"), 1), delCL);
        enable(item(QStringLiteral("mnTdel"), 2), delRw);
        enable(item(tbl, 3), slcTb);
        for (int i = 0; i < 3; ++i)
            enable(item(QStringLiteral("mnTslc"), i), slcTb);
        enable(item(tbl, 4), delRw);
        break;
    }
    case 6: {
        bool inTf = false;
        txm_->ChkJbMn6(inTf);
        for (int i : {2, 3, 4})
            enable(item(QStringLiteral("mnTxFd"), i), inTf);
        break;
    }
    default:
        break;
    }
}

void fmDoc::refreshMenusFor(const QKeySequence& keys) {
    // Only the menus holding an item with this shortcut are asked about: a
    // query may read the clipboard, which is not free on every keystroke.
    for (int iJb : {0, 1, 3}) {
        const QString sArray = QLatin1String(kTop[iJb].array);
        for (const QAction* a : arrays_.value(sArray))
            if (a && a->shortcuts().contains(keys)) {
                RefreshMenu(iJb);
                break;
            }
    }
}
