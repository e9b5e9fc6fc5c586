// The caption -> job code table of the editor's context menus.
#include "sbTxmJobs.h"

#include <QStringList>

namespace TxmJob {

QString RepeatPrefix() {
    return QStringLiteral("繰り返し(&R)　");
}

QString NoRedo() {
    return QStringLiteral("やり直しできません");
}

QString ClearQuestion() {
    return QStringLiteral("文書全体を初期化して良いですか");
}

QString Key(const QString& sCaption) {
    QString s = sCaption;
    qsizetype cut = s.indexOf(u'(');
    const qsizetype wide = s.indexOf(QChar(0xFF08)); // full-width "("
    if (wide >= 0 && (cut < 0 || wide < cut))
        cut = wide;
    if (cut >= 0)
        s.truncate(cut);
    s.remove(u'&');
    return s.trimmed();
}

QString Repeated(const QString& sCaption) {
    const QString prefix = RepeatPrefix();
    if (sCaption.startsWith(prefix))
        return sCaption.mid(prefix.size());
    return sCaption;
}

namespace {

struct Entry {
    const char* caption;
    int iRJb;
    int vOpt;
};

// Captions with a fixed job. The bar items of 27 carry the bar they switch
// (1..4 bands, 5 rulers, 7 all shown, -8 all hidden); the menus turn that
// into a hide request when the bar is shown. The paste-mode item of 72
// carries 2 (formatted); the menus give 3 when it is switched off.
constexpr Entry kJobs[] = {
    {"元に戻す", 11, 0},
    {"やり直し", 12, 0},
    {"切り取り", 13, 0},
    {"ｺﾋﾟｰ", 14, 0},
    {"貼付", 15, 0},
    {"貼り付け", 15, 0},
    {"ｸﾘｱ", 20, 0},
    {"全て選択", 21, 0},
    {"検索", 22, 0},
    {"置換", 23, 0},
    {"整形", 24, 0},
    {"他のﾍﾟｰｼﾞを参照", 25, 0},
    {"ﾍﾟｰｼﾞ表示", 26, 0},
    {"ﾂｰﾙﾊﾞｰ", 27, 1},
    {"文字色指定", 27, 2},
    {"書式指定", 27, 3},
    {"ｽﾃｰﾀｽﾊﾞｰ", 27, 4},
    {"ﾙｰﾗｰ", 27, 5},
    {"全て表示", 27, 7},
    {"全て非表示", 27, -8},
    {"文書を更新", 4, 0},
    {"ﾃｷｽﾄ", 32, 0},
    {"画像 WMF形式", 35, 0},
    {"ﾃｷｽﾄﾌﾚｰﾑ", 40, 0},
    {"OLEｵﾌﾞｼﾞｪｸﾄ", 41, 0},
    {"ｸﾞﾗﾌ", 42, 0},
    {"ﾁｬｰﾄ", 43, 0},
    {"ｲﾝﾗｲﾝﾌﾚｰﾑ", 44, 0},
    {"javascript", 45, 0},
    {"改頁", 54, 0},
    {"字下げ", 55, 0},
    {"文字数を指定して字下げ", 55, 1},
    {"ｽﾀｲﾙ", 60, 0},
    {"ﾌｫﾝﾄ", 61, 0},
    {"段落", 63, 0},
    {"ﾘｽﾄ", 64, 0},
    {"文書ﾍﾟｰｼﾞ", 65, 0},
    {"ﾕｰｻﾞｰｽﾀｲﾙ", 66, 0},
    {"画像ﾚｲｱｳﾄの既定値", 67, 0},
    {"IME･更新確認", 68, 0},
    {"既定のﾌﾞﾘﾝﾀ設定", 69, 0},
    {"書式のｺﾋﾟｰ", 70, 0},
    {"書式の貼り付け", 71, 0},
    {"文書貼付", 72, 2},
    {"表挿入", 80, 0},
    {"表分割", 81, 0},
    {"表削除", 82, 0},
    {"表選択", 83, 0},
    {"ｸﾞﾘｯﾄﾞ", 84, 0},
    {"表属性", 85, 0},
};

// Marker items: the name alone inserts (0), "...の修正" edits (1) and
// "...の削除" removes (2).
struct Marker {
    const char* name;
    int iRJb;
};
constexpr Marker kMarkers[] = {
    {"ﾊｲﾊﾟｰﾘﾝｸ", 50},
    {"ﾀｸﾞ", 51},
    {"dxml参照", 52},
    {"ﾂｰﾙﾁｯﾌﾟ", 53},
};

} // namespace

Job Of(const QString& sCaption, int iElement) {
    const QString key = Key(Repeated(sCaption));
    Job job;
    if (key.isEmpty())
        return job;
    if (key == QStringLiteral("初期化")) {
        job.iRJb = 2;
        job.ask = true;
        return job;
    }
    if (key == QStringLiteral("画像")) {
        job.iRJb = iElement == 3 ? 33 : 34;
        return job;
    }
    for (const Entry& e : kJobs) {
        if (key == QString::fromUtf8(e.caption)) {
            job.iRJb = e.iRJb;
            job.vOpt = e.vOpt;
            return job;
        }
    }
    for (const Marker& m : kMarkers) {
        const QString name = QString::fromUtf8(m.name);
        if (key == name) {
            job.iRJb = m.iRJb;
        } else if (key == name + QStringLiteral("の修正")) {
            job.iRJb = m.iRJb;
            job.vOpt = 1;
        } else if (key == name + QStringLiteral("の削除")) {
            job.iRJb = m.iRJb;
            job.vOpt = 2;
        }
        if (job.iRJb)
            return job;
    }
    return job;
}

} // namespace TxmJob
