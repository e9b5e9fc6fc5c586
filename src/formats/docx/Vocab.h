#pragma once
// The words of WordprocessingML for the model's enumerations, shared by the
// reader and the writer, and the units it measures in.

#include "Document.h"

#include <QString>

#include <span>
#include <utility>

namespace docx {

constexpr char kW[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr char kR[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr char kWp[] = "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
constexpr char kA[] = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr char kPic[] = "http://schemas.openxmlformats.org/drawingml/2006/picture";
constexpr char kRelNs[] = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr char kRelBase[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// The part that keeps the editor's field kinds (one line "kind option" per
// field, in writing order).
constexpr char kFieldKindPart[] = "folium/fields.txt";

// English Metric Units: 914400 per inch, 635 per twip.
constexpr qint64 kEmuPerTwip = 635;

template <typename E> using Words = std::span<const std::pair<E, const char*>>;

template <typename E> const char* wordOf(Words<E> words, E value) {
    for (const auto& [v, w] : words)
        if (v == value)
            return w;
    return words.begin()->second;
}

template <typename E> E valueOf(Words<E> words, const QString& word, E fallback) {
    for (const auto& [v, w] : words)
        if (word == QLatin1String(w))
            return v;
    return fallback;
}

inline Words<model::Alignment> alignments() {
    using A = model::Alignment;
    static constexpr std::pair<model::Alignment, const char*> t[] = {
        {A::Left, "left"},    {A::Center, "center"},         {A::Right, "right"},
        {A::Justify, "both"}, {A::Distribute, "distribute"}, {A::Left, "start"},
        {A::Right, "end"}};
    return t;
}

inline Words<model::Underline> underlines() {
    using U = model::Underline;
    static constexpr std::pair<model::Underline, const char*> t[] = {
        {U::None, "none"},     {U::Single, "single"}, {U::Words, "words"}, {U::Double, "double"},
        {U::Dotted, "dotted"}, {U::Thick, "thick"},   {U::Dash, "dash"},   {U::Wave, "wave"}};
    return t;
}

inline Words<model::TabAlign> tabAligns() {
    using T = model::TabAlign;
    static constexpr std::pair<model::TabAlign, const char*> t[] = {
        {T::Left, "left"}, {T::Center, "center"}, {T::Right, "right"}, {T::Decimal, "decimal"},
        {T::Bar, "bar"},   {T::Left, "start"},    {T::Right, "end"}};
    return t;
}

inline Words<model::TabLeader> tabLeaders() {
    using L = model::TabLeader;
    static constexpr std::pair<model::TabLeader, const char*> t[] = {
        {L::None, "none"},      {L::Dots, "dot"},
        {L::Hyphens, "hyphen"}, {L::Underscore, "underscore"},
        {L::Heavy, "heavy"},    {L::MiddleDot, "middleDot"}};
    return t;
}

inline Words<model::BorderStyle> borderStyles() {
    using B = model::BorderStyle;
    static constexpr std::pair<model::BorderStyle, const char*> t[] = {
        {B::None, "nil"},      {B::Single, "single"}, {B::Thick, "thick"}, {B::Double, "double"},
        {B::Dotted, "dotted"}, {B::Dashed, "dashed"}, {B::None, "none"}};
    return t;
}

inline Words<model::NumberFormat> numberFormats() {
    using N = model::NumberFormat;
    static constexpr std::pair<model::NumberFormat, const char*> t[] = {
        {N::Bullet, "bullet"},
        {N::Decimal, "decimal"},
        {N::UpperRoman, "upperRoman"},
        {N::LowerRoman, "lowerRoman"},
        {N::UpperLetter, "upperLetter"},
        {N::LowerLetter, "lowerLetter"},
        {N::DecimalFullWidth, "decimalFullWidth"},
        {N::Iroha, "iroha"},
        {N::Aiueo, "aiueo"},
        {N::None, "none"},
        {N::Iroha, "irohaFullWidth"},
        {N::Aiueo, "aiueoFullWidth"},
        {N::DecimalFullWidth, "decimalFullWidth2"},
        {N::DecimalEnclosedCircle, "decimalEnclosedCircle"},
        {N::JapaneseCounting, "japaneseCounting"},
        {N::IdeographDigital, "ideographDigital"},
        {N::JapaneseLegal, "japaneseLegal"},
        {N::JapaneseCounting, "japaneseDigitalTenThousand"},
        {N::DecimalEnclosedCircle, "decimalEnclosedCircleChinese"}};
    return t;
}

inline Words<model::SectionStart> sectionStarts() {
    using S = model::SectionStart;
    static constexpr std::pair<model::SectionStart, const char*> t[] = {
        {S::NewPage, "nextPage"},
        {S::Continuous, "continuous"},
        {S::NewColumn, "nextColumn"},
        {S::EvenPage, "evenPage"},
        {S::OddPage, "oddPage"}};
    return t;
}

inline Words<model::HorizontalRelation> horizontalRelations() {
    using H = model::HorizontalRelation;
    static constexpr std::pair<model::HorizontalRelation, const char*> t[] = {
        {H::Column, "column"},
        {H::Page, "page"},
        {H::Margin, "margin"},
        {H::Character, "character"}};
    return t;
}

inline Words<model::VerticalRelation> verticalRelations() {
    using V = model::VerticalRelation;
    static constexpr std::pair<model::VerticalRelation, const char*> t[] = {
        {V::Paragraph, "paragraph"}, {V::Page, "page"}, {V::Margin, "margin"}, {V::Line, "line"}};
    return t;
}

inline Words<model::CellVerticalAlign> cellAligns() {
    using C = model::CellVerticalAlign;
    static constexpr std::pair<model::CellVerticalAlign, const char*> t[] = {
        {C::Top, "top"}, {C::Center, "center"}, {C::Bottom, "bottom"}};
    return t;
}

// "RRGGBB" for a model colour; "auto" for the automatic one.
inline QString hexColor(model::Color c) {
    if (c == model::kAutoColor)
        return QStringLiteral("auto");
    return QStringLiteral("%1%2%3")
        .arg(model::red(c), 2, 16, QChar(u'0'))
        .arg(model::green(c), 2, 16, QChar(u'0'))
        .arg(model::blue(c), 2, 16, QChar(u'0'))
        .toUpper();
}

inline model::Color colorOf(const QString& hex) {
    if (hex.size() != 6)
        return model::kAutoColor;
    bool ok = false;
    const uint v = hex.toUInt(&ok, 16);
    if (!ok)
        return model::kAutoColor;
    return model::rgb(int(v >> 16), int(v >> 8), int(v));
}

} // namespace docx
