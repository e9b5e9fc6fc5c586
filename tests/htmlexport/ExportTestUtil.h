#pragma once
// Pages for the export tests: paragraphs in the editor's looks, links,
// pictures.

#include "Document.h"

#include <QBuffer>
#include <QColor>
#include <QImage>

namespace exporttest {

inline model::CharFormat look(int points, model::Color color = model::kAutoColor,
                              bool bold = false) {
    model::CharFormat f;
    f.font = f.fontEastAsia = QStringLiteral("ＭＳ Ｐゴシック");
    f.halfPoints = points * 2;
    f.color = color;
    f.bold = bold;
    return f;
}

// A paragraph of one run; `indent` in twips (the headings' 8 pt is 160).
inline model::Paragraph para(const QString& text, int points = 10, int indent = 60) {
    model::Paragraph p;
    p.format.leftIndent = indent;
    p.markFormat = look(points);
    p.content.push_back(model::Inline::makeText(text, look(points)));
    return p;
}

inline model::Inline link(const QString& caption, const QString& target, int kind = 1) {
    model::Field f;
    f.target = target;
    f.kind = kind;
    f.option = 149;
    f.result.push_back(model::Inline::makeText(caption, look(10, model::rgb(128, 128, 255))));
    return model::Inline::makeField(f, look(10));
}

inline QByteArray png(int w, int h, const QColor& color) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(color);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

inline model::Inline picture(const QByteArray& bytes, int w, int h) {
    model::Picture p;
    p.data = bytes;
    p.type = model::ImageType::Png;
    p.width = w * 15;
    p.height = h * 15;
    return model::Inline::makePicture(p);
}

inline model::Document document(const std::vector<model::Paragraph>& paragraphs) {
    model::Document d;
    for (const model::Paragraph& p : paragraphs)
        d.lastSection().blocks.push_back(model::Block::makeParagraph(p));
    return d;
}

} // namespace exporttest
