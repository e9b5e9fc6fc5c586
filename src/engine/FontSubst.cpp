#include "FontSubst.h"

#include <QFont>

namespace fontsubst {

namespace {

const QString kSans = QStringLiteral("Noto Sans CJK JP");
const QString kSerif = QStringLiteral("Noto Serif CJK JP");

// Mincho (明朝) faces are serif; everything else Japanese is drawn sans.
bool isSerifName(const QString& name) {
    return name.contains(QStringLiteral("明朝")) || name.contains(u"Mincho", Qt::CaseInsensitive) ||
           name.contains(QStringLiteral("ﾐﾝﾁｮｳ")) || name.contains(u"Serif", Qt::CaseInsensitive);
}

} // namespace

void install() {
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList sans = {QStringLiteral("ＭＳ Ｐゴシック"),
                              QStringLiteral("ＭＳ ゴシック"),
                              QStringLiteral("ＭＳ UI Gothic"),
                              QStringLiteral("MS PGothic"),
                              QStringLiteral("MS Gothic"),
                              QStringLiteral("MS UI Gothic"),
                              QStringLiteral("メイリオ"),
                              QStringLiteral("Meiryo"),
                              QStringLiteral("Meiryo UI"),
                              QStringLiteral("游ゴシック"),
                              QStringLiteral("Yu Gothic"),
                              QStringLiteral("HGｺﾞｼｯｸM"),
                              QStringLiteral("HGｺﾞｼｯｸE"),
                              QStringLiteral("HG丸ｺﾞｼｯｸM-PRO"),
                              QStringLiteral("Osaka")};
    const QStringList serif = {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("ＭＳ 明朝"),
                               QStringLiteral("MS PMincho"),  QStringLiteral("MS Mincho"),
                               QStringLiteral("游明朝"),      QStringLiteral("Yu Mincho"),
                               QStringLiteral("HG明朝B"),     QStringLiteral("HG明朝E")};
    for (const QString& n : sans)
        QFont::insertSubstitution(n, kSans);
    for (const QString& n : serif)
        QFont::insertSubstitution(n, kSerif);
}

QStringList families(const QString& latin, const QString& eastAsia) {
    QStringList out;
    if (!latin.isEmpty())
        out << latin;
    if (!eastAsia.isEmpty() && eastAsia != latin)
        out << eastAsia;
    const QString& ea = eastAsia.isEmpty() ? latin : eastAsia;
    out << (isSerifName(ea) ? kSerif : kSans);
    return out;
}

bool isFallback(const QString& family) {
    return family == kSans || family == kSerif;
}

} // namespace fontsubst
