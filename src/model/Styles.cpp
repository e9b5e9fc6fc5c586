// Names shared by the model: the editor's paragraph styles and the default font.
#include "Styles.h"

#include "Format.h"

#include <QStringList>

namespace model {

QString defaultFontName() {
    return QStringLiteral("ＭＳ Ｐゴシック");
}

const QStringList& editorStyleNames() {
    static const QStringList names{QStringLiteral("見出１(頁見出)"), QStringLiteral("見出２"),
                                   QStringLiteral("見出３"),         QStringLiteral("本文"),
                                   QStringLiteral("強調"),           QStringLiteral("補足")};
    return names;
}

QString editorStyleName(int number) {
    const QStringList& names = editorStyleNames();
    return number >= 0 && number < names.size() ? names[number] : QString();
}

int editorStyleNumber(const QString& name) {
    return int(editorStyleNames().indexOf(name));
}

} // namespace model
