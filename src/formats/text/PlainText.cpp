#include "PlainText.h"

#include "Document.h"
#include "Text.h"
#include "TextCodec.h"

namespace textfmt {

namespace {

#ifdef Q_OS_WIN
const QString kLineEnd = QStringLiteral("\r\n");
#else
const QString kLineEnd = QStringLiteral("\n");
#endif

} // namespace

model::Document read(const QByteArray& bytes) {
    const QString text = TextCodec::fromUtf8OrCp932(bytes);
    model::Document doc;
    model::Section& section = doc.lastSection();
    model::Paragraph para;
    bool pageBreakNext = false;
    auto endParagraph = [&] {
        section.blocks.push_back(model::Block::makeParagraph(para));
        para = model::Paragraph();
        para.format.pageBreakBefore = pageBreakNext;
        pageBreakNext = false;
    };
    QString run;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n' || c == model::kPageBreak) {
            para.addText(run, {});
            run.clear();
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            if (c == model::kPageBreak) {
                // A form feed right after a line end starts the next page
                // without an extra empty paragraph.
                if (para.content.empty() && !section.blocks.empty()) {
                    para.format.pageBreakBefore = true;
                    continue;
                }
                pageBreakNext = true;
            }
            endParagraph();
        } else {
            run += c;
        }
    }
    para.addText(run, {});
    // A final line end does not open one more paragraph, but an empty file is
    // one empty paragraph.
    if (!para.content.empty() || section.blocks.empty() || para.format.pageBreakBefore)
        section.blocks.push_back(model::Block::makeParagraph(para));
    return doc;
}

QByteArray write(const model::Document& doc) {
    QString text = model::plainText(doc, model::ListLabels::Include);
    if (kLineEnd != QLatin1String("\n"))
        text.replace(u'\n', kLineEnd);
    return text.toUtf8();
}

} // namespace textfmt
