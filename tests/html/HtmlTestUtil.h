#pragma once
// Shared helpers of the HTML reader tests.

#include "Document.h"
#include "Html.h"
#include "TestEnv.h"
#include "Text.h"

#include <QStringList>

#include <gtest/gtest.h>

// The page read from `html`; fails the test when it is not read.
inline model::Document readHtml(const QString& html, const QString& baseDir = {}) {
    QString why;
    std::optional<model::Document> doc = html::read(html.toUtf8(), &why, baseDir);
    EXPECT_TRUE(doc.has_value()) << why.toStdString();
    return doc ? *doc : model::Document{};
}

inline const std::vector<model::Block>& body(const model::Document& d) {
    static const std::vector<model::Block> none;
    return d.sections.empty() ? none : d.sections[0].blocks;
}

// The text of the paragraph blocks, one line each (tables as one "[table]").
inline QStringList paragraphs(const model::Document& d) {
    QStringList out;
    for (const model::Block& b : body(d)) {
        QString t = model::plainText(std::vector<model::Block>{b});
        if (t.endsWith(u'\n'))
            t.chop(1);
        out << (b.kind == model::Block::Kind::Paragraph ? t : QStringLiteral("[table]"));
    }
    return out;
}

// The text runs of the first paragraph holding `text`.
inline const model::Inline* runWith(const model::Document& d, const QString& text) {
    for (const model::Block& b : body(d))
        if (b.kind == model::Block::Kind::Paragraph)
            for (const model::Inline& in : b.paragraph.content)
                if (in.kind == model::Inline::Kind::Text && in.text.contains(text))
                    return &in;
    return nullptr;
}
