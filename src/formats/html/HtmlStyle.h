#pragma once
// Inside the HTML reader: inline CSS (style="...") and the presentational
// attributes of older pages (font, align, bgcolor) as model formats.

#include "Document.h"

#include <QHash>
#include <QString>

#include <optional>

namespace html::detail {

// "color: red; font-size: 12pt" -> {color: red, font-size: 12pt}; names
// lower case, values trimmed, "!important" dropped.
QHash<QString, QString> parseStyle(const QString& style);

// CSS colours: #rgb, #rrggbb, rgb(r, g, b), the named colours.
std::optional<model::Color> parseColor(const QString& value);
// A CSS font size (pt, px, em, %, keywords, larger/smaller) in half-points,
// relative to the surrounding text's size.
std::optional<int> parseFontSize(const QString& value, int parentHalfPoints);
// The size attribute of <font> (1..7, +n, -n) in half-points.
std::optional<int> fontTagSize(const QString& value);
// left, center, right, justify.
std::optional<model::Alignment> parseAlign(const QString& value);
// A length (px, pt, em, ...) in twips; em against `fontHalfPoints`.
std::optional<int> parseLength(const QString& value, int fontHalfPoints = 24);

// The character properties of `style` applied to `f`.
void applyCharStyle(const QHash<QString, QString>& style, model::CharFormat& f);

} // namespace html::detail
