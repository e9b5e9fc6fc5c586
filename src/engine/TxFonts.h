#pragma once
// Font names on character formats: the document's own Latin and East Asian
// names are kept as properties, the families list adds the drawing fallback.

#include <QString>

class QTextCharFormat;

namespace txfont {

void setNames(QTextCharFormat& f, const QString& latin, const QString& eastAsia);
QString latin(const QTextCharFormat& f);
QString eastAsia(const QTextCharFormat& f);

// The program's default face and size for new text.
QString defaultName();
constexpr double kDefaultPoints = 10.0;

} // namespace txfont
