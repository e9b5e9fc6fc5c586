#include "TxFonts.h"

#include "FontSubst.h"
#include "TxProps.h"

#include <QTextCharFormat>

namespace txfont {

void setNames(QTextCharFormat& f, const QString& latin, const QString& eastAsia) {
    f.setProperty(txp::FontLatin, latin);
    f.setProperty(txp::FontEastAsia, eastAsia);
    f.setFontFamilies(fontsubst::families(latin, eastAsia));
}

QString latin(const QTextCharFormat& f) {
    if (f.hasProperty(txp::FontLatin))
        return f.stringProperty(txp::FontLatin);
    const QStringList fams = f.fontFamilies().toStringList();
    return fams.isEmpty() ? defaultName() : fams.first();
}

QString eastAsia(const QTextCharFormat& f) {
    if (f.hasProperty(txp::FontEastAsia))
        return f.stringProperty(txp::FontEastAsia);
    return latin(f);
}

QString defaultName() {
    return QStringLiteral("ＭＳ Ｐゴシック");
}

} // namespace txfont
