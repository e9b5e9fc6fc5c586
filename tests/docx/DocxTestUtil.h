#pragma once
// Helpers of the .docx tests: models to write, packages to read, and a
// comparison that shows where two models differ.

#include "Docx.h"
#include "ModelBuild.h"
#include "ModelDump.h"
#include "Package.h"
#include "Text.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

namespace docxtest {

using modelbuild::block;
using modelbuild::para;

inline QByteArray png(int w, int h, QColor c = Qt::red) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return out;
}

inline QString dumpDoc(const model::Document& d) {
    QString out;
    for (const model::Section& s : d.sections) {
        out += QString("SECTION %1x%2 o%3 m%4/%5/%6/%7 hd%8/%9 start%10 title%11\n")
                   .arg(s.page.width)
                   .arg(s.page.height)
                   .arg(int(s.page.orientation))
                   .arg(s.page.marginTop)
                   .arg(s.page.marginRight)
                   .arg(s.page.marginBottom)
                   .arg(s.page.marginLeft)
                   .arg(s.page.headerDistance)
                   .arg(s.page.footerDistance)
                   .arg(int(s.start))
                   .arg(s.titlePage);
        out += "HEADER\n" + dumpBlocks(s.header, 1) + "FOOTER\n" + dumpBlocks(s.footer, 1);
        out += "FIRST HEADER\n" + dumpBlocks(s.firstHeader, 1) + "FIRST FOOTER\n" +
               dumpBlocks(s.firstFooter, 1);
        out += "BODY\n" + dumpBlocks(s.blocks, 1);
    }
    out += QString("LISTS %1 tab %2\n").arg(d.lists.size()).arg(d.defaultTabStop);
    return out;
}

// Equal after both went into their normal form; a failure shows both dumps.
inline void expectSame(model::Document a, model::Document b) {
    model::normalize(a);
    model::normalize(b);
    EXPECT_TRUE(a == b) << "--- written\n"
                        << dumpDoc(a).toStdString() << "+++ read\n"
                        << dumpDoc(b).toStdString();
    EXPECT_TRUE(a.lists == b.lists);
}

inline model::Document roundTrip(const model::Document& d) {
    QString error;
    const auto bytes = docx::write(d, &error);
    EXPECT_TRUE(bytes.has_value()) << error.toStdString();
    if (!bytes)
        return {};
    const auto back = docx::read(*bytes, &error);
    EXPECT_TRUE(back.has_value()) << error.toStdString();
    return back.value_or(model::Document());
}

using modelbuild::oneSection;

// A package of WordprocessingML parts around `body` (the content of w:body).
inline QByteArray package(const QByteArray& body, docx::Parts extra = {},
                          const QByteArray& docRels = {}) {
    docx::Parts parts;
    parts.push_back({"[Content_Types].xml",
                     "<?xml version=\"1.0\"?><Types "
                     "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"});
    parts.push_back({"_rels/.rels",
                     "<?xml version=\"1.0\"?><Relationships "
                     "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                     "<Relationship Id=\"rId1\" "
                     "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                     "officeDocument\" Target=\"word/document.xml\"/></Relationships>"});
    parts.push_back({"word/document.xml",
                     "<?xml version=\"1.0\"?><w:document "
                     "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                     "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                     "relationships\" "
                     "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/"
                     "wordprocessingDrawing\" "
                     "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><w:body>" +
                         body + "</w:body></w:document>"});
    if (!docRels.isEmpty())
        parts.push_back({"word/_rels/document.xml.rels",
                         "<?xml version=\"1.0\"?><Relationships "
                         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
                             docRels + "</Relationships>"});
    for (auto& p : extra)
        parts.push_back(std::move(p));
    return docx::buildPackage(parts, nullptr).value_or(QByteArray());
}

inline QByteArray rel(const char* id, const char* type, const QByteArray& target,
                      bool external = false) {
    return QByteArray("<Relationship Id=\"") + id +
           "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + type +
           "\" Target=\"" + target + "\"" + (external ? " TargetMode=\"External\"" : "") + "/>";
}

constexpr char kW[] = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";

} // namespace docxtest
