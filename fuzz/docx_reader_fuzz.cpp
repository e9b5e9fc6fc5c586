// libFuzzer harness for the Word Open XML reader: reads the input as a
// .docx; a refusal must name its reason, a document read must survive a
// write and a second read. An input that is no zip archive is taken as the
// main text's XML and packed first, so mutations reach the XML readers
// instead of failing the zip checksums.

#include "Docx.h"
#include "Package.h"
#include "ReaderCheck.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!bytes.startsWith("PK")) {
        // The main text, with a styles and a numbering part made of the same
        // bytes, so their readers see it too.
        const QByteArray rels =
            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
            "<Relationship Id=\"a\" Type=\"x/styles\" Target=\"document.xml\"/>"
            "<Relationship Id=\"b\" Type=\"x/numbering\" Target=\"document.xml\"/>"
            "<Relationship Id=\"c\" Type=\"x/header\" Target=\"document.xml\"/></Relationships>";
        const auto pkg =
            docx::buildPackage({{"word/document.xml", QByteArray(bytes.constData(), bytes.size())},
                                {"word/_rels/document.xml.rels", rels}},
                               nullptr);
        if (!pkg)
            abort();
        bytes = *pkg;
    }
    return checkReader(
        bytes, size, [](const QByteArray& b, QString* e) { return docx::read(b, e); },
        // What we read, we can write and read again.
        [](const model::Document& d, QString* e) {
            const auto written = docx::write(d, e);
            return written && bool(docx::read(*written, e));
        });
}
