#include "MenuActions.h"

#include <QHash>

namespace MenuActions {

QString Stem(const QString& sCaption) {
    const qsizetype p = sCaption.indexOf(u'(');
    return (p < 0 ? sCaption : sCaption.left(p)).trimmed();
}

QString TableWord(const QString& sCmd, int iNdx) {
    static const QHash<QString, QStringList> words = {
        {QStringLiteral("表挿入"),
         {QStringLiteral("表"),
          {},
          QStringLiteral("左"),
          QStringLiteral("右"),
          {},
          QStringLiteral("上"),
          QStringLiteral("下")}},
        {QStringLiteral("表分割"), {QStringLiteral("上"), QStringLiteral("下")}},
        {QStringLiteral("表削除"),
         {QStringLiteral("表"), QStringLiteral("列"), QStringLiteral("行")}},
        {QStringLiteral("表選択"),
         {QStringLiteral("表"), QStringLiteral("行"), QStringLiteral("ｾﾙ")}},
        {QStringLiteral("表属性"),
         {QStringLiteral("表"), QStringLiteral("行"), QStringLiteral("ｾﾙ")}},
    };
    const QStringList list = words.value(sCmd);
    return iNdx >= 0 && iNdx < list.size() ? list[iNdx] : QString();
}

int ActionOf(const QString& sText, int iMn, int iNdx) {
    if (sText == QStringLiteral("画像"))
        return iMn == 6 && iNdx == 3 ? 33 : 34;
    static const QHash<QString, int> table = {
        {QStringLiteral("新規作成"), 2},       {QStringLiteral("上書き保存"), 4},
        {QStringLiteral("名を付けて保存"), 5}, {QStringLiteral("印刷"), 6},
        {QStringLiteral("ﾍﾟｰｼﾞﾋﾞｭ-"), 7},      {QStringLiteral("元に戻す"), 11},
        {QStringLiteral("やり直し"), 12},      {QStringLiteral("切り取り"), 13},
        {QStringLiteral("ｺﾋﾟｰ"), 14},          {QStringLiteral("初期化"), 2},
        {QStringLiteral("ｸﾘｱ"), 20},           {QStringLiteral("全て選択"), 21},
        {QStringLiteral("検索"), 22},          {QStringLiteral("置換"), 23},
        {QStringLiteral("ﾍﾟｰｼﾞ表示"), 26},     {QStringLiteral("文書"), 30},
        {QStringLiteral("ﾃｷｽﾄ"), 32},          {QStringLiteral("画像 WMF形式"), 35},
        {QStringLiteral("ﾃｷｽﾄﾌﾚｰﾑ"), 40},      {QStringLiteral("OLEｵﾌﾞｼﾞｪｸﾄ"), 41},
        {QStringLiteral("ﾊｲﾊﾟｰﾘﾝｸ"), 50},      {QStringLiteral("改頁"), 54},
        {QStringLiteral("ﾌｨｰﾙﾄﾞ"), 56},        {QStringLiteral("ｽﾀｲﾙ"), 60},
        {QStringLiteral("ﾌｫﾝﾄ"), 61},          {QStringLiteral("段落"), 63},
        {QStringLiteral("ﾘｽﾄ"), 64},           {QStringLiteral("文書ﾍﾟｰｼﾞ"), 65},
        {QStringLiteral("ﾕｰｻﾞｰｽﾀｲﾙ"), 66},     {QStringLiteral("画像ﾚｲｱｳﾄの既定値"), 67},
        {QStringLiteral("IME･更新確認"), 68},  {QStringLiteral("既定のﾌﾞﾘﾝﾀ設定"), 69},
        {QStringLiteral("書式のｺﾋﾟｰ"), 70},    {QStringLiteral("書式の貼り付け"), 71},
        {QStringLiteral("表挿入"), 80},        {QStringLiteral("表分割"), 81},
        {QStringLiteral("表削除"), 82},        {QStringLiteral("表選択"), 83},
        {QStringLiteral("ｸﾞﾘｯﾄﾞ"), 84},        {QStringLiteral("表属性"), 85},
        {QStringLiteral("Refresh"), 88},
    };
    return table.value(sText, 0);
}

} // namespace MenuActions
