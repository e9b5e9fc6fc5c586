#include "FontSubst.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>

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

// The face that draws a document's font name: the name itself when it is
// installed; for a Japanese name that is not, the Japanese face that fits
// (fontconfig would otherwise pick any face for it, often a Latin one);
// other names are left to fontconfig's substitution.
QString drawingFamily(const QString& name) {
    static QHash<QString, QString> cache;
    const auto it = cache.constFind(name);
    if (it != cache.cend())
        return *it;
    QString face = name;
    if (!QFontDatabase::hasFamily(name)) {
        bool japanese = false;
        for (QChar c : name)
            japanese = japanese || c.unicode() >= 0x3000;
        for (const char* word : {"Gothic", "Mincho", "Meiryo", "Yu ", "Osaka", "HG"})
            japanese = japanese || name.contains(QLatin1String(word), Qt::CaseInsensitive);
        if (japanese || isSerifName(name))
            face = isSerifName(name) ? kSerif : kSans;
    }
    cache.insert(name, face);
    return face;
}

QStringList families(const QString& latin, const QString& eastAsia) {
    QStringList out;
    if (!latin.isEmpty())
        out << drawingFamily(latin);
    if (!eastAsia.isEmpty() && !out.contains(drawingFamily(eastAsia)))
        out << drawingFamily(eastAsia);
    const QString& ea = eastAsia.isEmpty() ? latin : eastAsia;
    const QString fallback = isSerifName(ea) ? kSerif : kSans;
    if (!out.contains(fallback))
        out << fallback;
    return out;
}

bool isFallback(const QString& family) {
    return family == kSans || family == kSerif;
}

} // namespace fontsubst
