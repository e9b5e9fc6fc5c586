#include "FontSubst.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>

#include <fontconfig/fontconfig.h>

namespace fontsubst {

namespace {

const QString kSans = QStringLiteral("Noto Sans CJK JP");
const QString kSerif = QStringLiteral("Noto Serif CJK JP");

// Mincho (明朝) faces are serif; everything else Japanese is drawn sans.
bool isSerifName(const QString& name) {
    return name.contains(QStringLiteral("明朝")) || name.contains(u"Mincho", Qt::CaseInsensitive) ||
           name.contains(QStringLiteral("ﾐﾝﾁｮｳ")) || name.contains(u"Serif", Qt::CaseInsensitive);
}

// Latin faces of Word documents that fontconfig has no alias for, drawn
// with a serif face (fontconfig would give its default sans).
bool isLatinSerif(const QString& name) {
    static const QStringList names = {QStringLiteral("Century"),
                                      QStringLiteral("Century Schoolbook"),
                                      QStringLiteral("Book Antiqua"),
                                      QStringLiteral("Palatino Linotype"),
                                      QStringLiteral("Bookman Old Style"),
                                      QStringLiteral("Garamond"),
                                      QStringLiteral("Times")};
    return names.contains(name, Qt::CaseInsensitive);
}

// The installed face fontconfig substitutes for `name`: metric-compatible
// faces for the common Windows fonts (Arial, Times New Roman, Courier New,
// Calibri, Cambria), its default sans for names it does not know.
QString configuredFace(const QString& name) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return {};
    const QByteArray utf8 = name.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    QString face;
    FcChar8* family = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch)
        face = QString::fromUtf8(reinterpret_cast<const char*>(family));
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return QFontDatabase::hasFamily(face) ? face : QString();
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
// for other names, the face fontconfig substitutes. Qt itself would not ask
// fontconfig while a later family of the list (the Japanese fallback) is
// installed, so Times New Roman came out in the Japanese sans.
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
        if (japanese)
            face = isSerifName(name) ? kSerif : kSans;
        else if (const QString c =
                     configuredFace(isLatinSerif(name) ? QStringLiteral("serif") : name);
                 !c.isEmpty())
            face = c;
        else if (isSerifName(name))
            face = kSerif;
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
