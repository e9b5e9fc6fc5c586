#include "Frmt.h"

namespace Frmt {

void SplitMrk(const QString& sLnk, QString& sTyp, QString& sVal) {
    const QString prefix = sLnk.left(3).toUpper();
    if (prefix == QLatin1String("TG_")) {
        sTyp = QStringLiteral("TG");
        sVal = sLnk.mid(3);
        const qsizetype us = sVal.indexOf(u'_');
        if (us >= 0)
            sVal = sVal.mid(us + 1);
    } else if (prefix == QLatin1String("TP_") || prefix == QLatin1String("DX_")) {
        sTyp = prefix.left(2);
        sVal = sLnk.mid(3);
    } else {
        sTyp = QStringLiteral("LK");
        sVal = sLnk;
    }
}

} // namespace Frmt

#include "Converter.h"

#include <QFileInfo>

namespace Frmt {

QString ExtOf(const QString& sFile) {
    const QString name = QFileInfo(sFile).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return {};
    const QString ext = name.mid(dot + 1).toLower();
    return ext == QLatin1String("html") ? QStringLiteral("htm") : ext;
}

int ReadFormat(const QString& ext) {
    return formats::Converter::instance().openFormat(ext);
}

int WriteFormat(const QString& ext) {
    return formats::Converter::instance().saveFormat(ext);
}

} // namespace Frmt
