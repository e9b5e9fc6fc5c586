#include "TestHostWindow.h"
#include "MenuCode.h"
#include "uFky.h"

#include <QAction>
#include <QVBoxLayout>
#include <stdexcept>

namespace {

struct MenuRow {
    const char* array;
    QList<std::pair<int, const char*>> items;
};

const QList<MenuRow> kMainMenus = {
    {"mnFile",
     {{0, "新規作成(&N)"},
      {1, "上書き保存(&S)"},
      {2, "名を付けて保存(&A)"},
      {3, "-"},
      {4, "ﾍﾟｰｼﾞﾋﾞｭ-(&V)"},
      {5, "印刷(&P)"},
      {6, "ﾒｰﾙ"},
      {7, "-"},
      {8, "現在のﾌｫﾙﾀﾞを開く"},
      {9, "文書ﾌｫﾙﾀﾞの指定(&F)"},
      {10, "-"},
      {11, "新しいﾌｫｰﾑで文書を開く"},
      {12, "-"},
      {13, "終了(&X)"}}},
    {"mnSelc",
     {{0, "表題1 の書式"},
      {1, "表題2 の書式"},
      {2, "表題3 の書式"},
      {3, "本文 の書式"},
      {4, "本文強調の書式"},
      {5, "補足 の書式"},
      {6, "-"},
      {7, "ﾌｫﾝﾄ(&W)"},
      {8, "段落(&P)"},
      {9, "ﾘｽﾄ(&L)"},
      {11, "-"},
      {12, "書式のｺﾋﾟｰ"},
      {13, "書式の貼り付け"}}},
    {"mnUser",
     {{0, "文書ﾍﾟｰｼﾞ(&P)"},
      {1, "ﾍﾟｰｼﾞ表示"},
      {2, "ﾕｰｻﾞｰｽﾀｲﾙ"},
      {3, "画像ﾚｲｱｳﾄの既定値"},
      {4, "IME･更新確認"},
      {5, "-"},
      {6, "既定のﾌﾞﾘﾝﾀ設定"},
      {7, "-"},
      {8, "「送る」にｼｮｰﾄｶｯﾄ作成"}}},
};

struct KeyRow {
    const char* key;
    const char* caption;
    const char* tip;
    const char* item;
};

const KeyRow kMainKeys[] = {
    {"F2", "表題1", "指定範囲の書式を表題1のｽﾀｲﾙにします", "表題1 の書式"},
    {"F3", "表題2", "指定範囲の書式を表題2のｽﾀｲﾙにします", "表題2 の書式"},
    {"F4", "表題3", "指定範囲の書式を表題3のｽﾀｲﾙにします", "表題3 の書式"},
    {"F5", "本文", "指定範囲の書式を本文のｽﾀｲﾙにします", "本文 の書式"},
    {"F6", "強調", "指定範囲の書式を強調のｽﾀｲﾙにします", "本文強調の書式"},
    {"F7", "補足", "指定範囲の書式を補足のｽﾀｲﾙにします", "補足 の書式"},
    {"F8", "上書", "現在の文書を更新します", "上書き保存(&S)"},
    {"F9", "ﾌｫﾝﾄ", "指定範囲のﾌｫﾝﾄ･ｻｲｽﾞ･文字色を設定します", "ﾌｫﾝﾄ(&W)"},
    {"C2", "Page", "ﾍﾟｰｼﾞﾋﾞｭ-(&V)", "ﾍﾟｰｼﾞﾋﾞｭ-(&V)"},
    {"C3", "印刷", "現在の文書を印刷します", "印刷(&P)"},
    {"C4", "保存", "外部文書に名前を付けて保存します", "名を付けて保存(&A)"},
    {"C5", "参照", "新しいﾌｫｰﾑで文書を開きます", "新しいﾌｫｰﾑで文書を開く"},
    {"C6", "文書", "文書書式(印刷ﾍﾟｰｼﾞの設定)をします", "文書ﾍﾟｰｼﾞ(&P)"},
    {"C7", "書式ｺﾋﾟｰ", "指定範囲の書式を記憶します", "書式のｺﾋﾟｰ"},
    {"C8", "書式貼付", "現在の書式を指定範囲にセットします", "書式の貼り付け"},
    {"C9", "ﾌｫﾙﾀﾞ", "現在の文書ﾌｫﾙﾀﾞをｴｸｽﾌﾟﾛｰﾗｰで開きます", "現在のﾌｫﾙﾀﾞを開く"},
};

} // namespace

TestHostWindow::TestHostWindow(const QString& sNameIn) : sName(sNameIn) {
    setObjectName(sName);
    auto* col = new QVBoxLayout(this);
    col->setContentsMargins(0, 0, 0, 0);
    col->addStretch(1);
    fky = new uFky(this);
    fky->setFixedHeight(20);
    col->addWidget(fky);
    resize(800, 200);
}

void TestHostWindow::fnMenu(int iMn, int iNdx, QString& sRet) {
    calls.append({iMn, iNdx, sRet});
    if (bThrow)
        throw std::runtime_error("command failed");
}

QAction* TestHostWindow::AddItem(const QString& sArray, int iNdx, const QString& sCaption) {
    auto* a = new QAction(sCaption, this);
    if (sCaption == QLatin1String("-"))
        a->setSeparator(true);
    QList<QAction*>& items = arrays[sArray];
    while (items.size() <= iNdx)
        items.append(nullptr);
    items[iNdx] = a;
    return a;
}

void TestHostWindow::AddItems(const QString& sArray, int n) {
    for (int i = 0; i < n; ++i)
        AddItem(sArray, i, QStringLiteral("%1 %2").arg(sArray).arg(i));
}

void TestHostWindow::AddMainMenus() {
    for (const MenuRow& row : kMainMenus)
        for (const auto& [i, caption] : row.items)
            AddItem(QString::fromLatin1(row.array), i, QString::fromUtf8(caption));
}

QAction* TestHostWindow::FindItem(const QString& sCaption, int& iMn, int& iNdx) const {
    for (int g = 1; g <= MenuCode::kMaxValue; ++g) {
        const QList<QAction*> items = arrays.value(MenuCode::GroupArray(g));
        for (int i = 0; i < items.size(); ++i)
            if (items[i] && items[i]->text() == sCaption) {
                iMn = g;
                iNdx = i;
                return items[i];
            }
    }
    return nullptr;
}

void TestHostWindow::LinkMainKeys() {
    for (const KeyRow& k : kMainKeys) {
        int iMn = 0, iNdx = 0;
        if (FindItem(QString::fromUtf8(k.item), iMn, iNdx))
            fky->cKey(QString::fromLatin1(k.key), iMn, iNdx, QString::fromUtf8(k.caption),
                      QString::fromUtf8(k.tip));
    }
}

HookRecorder::HookRecorder() {
    MenuCode::SetErrorHook([this](const QString& p, const QString&) { procs.append(p); });
}

HookRecorder::~HookRecorder() {
    MenuCode::SetErrorHook({});
}
