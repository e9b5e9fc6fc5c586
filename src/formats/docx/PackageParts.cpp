// The package's fixed parts: styles, numbering, settings, content types.
#include "Vocab.h"
#include "Writer.h"

namespace docx::wr {

namespace {

void start(QXmlStreamWriter& x, const char* root) {
    x.writeStartDocument(QStringLiteral("1.0"), true);
    x.writeNamespace(QLatin1String(kW), QStringLiteral("w"));
    x.writeStartElement(QLatin1String(kW), QLatin1String(root));
}

void val(QXmlStreamWriter& x, const char* name, const QString& v) {
    x.writeEmptyElement(QLatin1String(kW), QLatin1String(name));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("val"), v);
}

void fonts(QXmlStreamWriter& x, const QString& latin, const QString& eastAsia) {
    x.writeEmptyElement(QLatin1String(kW), QStringLiteral("rFonts"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("ascii"), xmlSafe(latin));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("hAnsi"), xmlSafe(latin));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("eastAsia"), xmlSafe(eastAsia));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("cs"), xmlSafe(latin));
}

} // namespace

QByteArray stylesXml(const Package& pkg) {
    QByteArray out;
    QXmlStreamWriter x(&out);
    start(x, "styles");
    // The model's defaults: a run or paragraph writes only what differs.
    const model::CharFormat c;
    x.writeStartElement(QLatin1String(kW), QStringLiteral("docDefaults"));
    x.writeStartElement(QLatin1String(kW), QStringLiteral("rPrDefault"));
    x.writeStartElement(QLatin1String(kW), QStringLiteral("rPr"));
    fonts(x, c.font, c.fontEastAsia);
    val(x, "kern", QStringLiteral("0"));
    val(x, "sz", QString::number(c.halfPoints));
    val(x, "szCs", QString::number(c.halfPoints));
    x.writeEmptyElement(QLatin1String(kW), QStringLiteral("lang"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("val"), QStringLiteral("en-US"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("eastAsia"), QStringLiteral("ja-JP"));
    x.writeEndElement();
    x.writeEndElement();
    x.writeStartElement(QLatin1String(kW), QStringLiteral("pPrDefault"));
    x.writeStartElement(QLatin1String(kW), QStringLiteral("pPr"));
    x.writeEmptyElement(QLatin1String(kW), QStringLiteral("spacing"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("before"), QStringLiteral("0"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("after"), QStringLiteral("0"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("line"), QStringLiteral("240"));
    x.writeAttribute(QLatin1String(kW), QStringLiteral("lineRule"), QStringLiteral("auto"));
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndElement(); // docDefaults

    const auto style = [&](const QString& id, const QString& name, bool isDefault) {
        x.writeStartElement(QLatin1String(kW), QStringLiteral("style"));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("type"), QStringLiteral("paragraph"));
        if (isDefault)
            x.writeAttribute(QLatin1String(kW), QStringLiteral("default"), QStringLiteral("1"));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("styleId"), id);
        val(x, "name", xmlSafe(name));
        if (!isDefault)
            val(x, "basedOn", QStringLiteral("Normal"));
        val(x, "qFormat", QStringLiteral("1"));
        x.writeEndElement();
    };
    style(QStringLiteral("Normal"), QStringLiteral("Normal"), true);
    // The styles by name only: the paragraphs carry their formatting
    // themselves, resolved.
    QStringList names = pkg.styleIds.keys();
    names.sort();
    for (const QString& n : names)
        if (pkg.styleIds.value(n) != QLatin1String("Normal"))
            style(pkg.styleIds.value(n), n, false);
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

QByteArray numberingXml(const model::Document& doc) {
    QByteArray out;
    QXmlStreamWriter x(&out);
    start(x, "numbering");
    for (size_t i = 0; i < doc.lists.size(); ++i) {
        const model::ListDef& l = doc.lists[i];
        x.writeStartElement(QLatin1String(kW), QStringLiteral("abstractNum"));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("abstractNumId"), QString::number(i));
        val(x, "multiLevelType",
            l.levels.size() > 1 ? QStringLiteral("multilevel") : QStringLiteral("singleLevel"));
        for (size_t k = 0; k < l.levels.size() && k < 9; ++k) {
            const model::ListLevel& lv = l.levels[k];
            x.writeStartElement(QLatin1String(kW), QStringLiteral("lvl"));
            x.writeAttribute(QLatin1String(kW), QStringLiteral("ilvl"), QString::number(k));
            val(x, "start", QString::number(lv.start));
            val(x, "numFmt", QLatin1String(wordOf(numberFormats(), lv.format)));
            val(x, "lvlText", xmlSafe(lv.text));
            val(x, "lvlJc", QStringLiteral("left"));
            x.writeStartElement(QLatin1String(kW), QStringLiteral("pPr"));
            x.writeEmptyElement(QLatin1String(kW), QStringLiteral("ind"));
            x.writeAttribute(QLatin1String(kW), QStringLiteral("left"), QString::number(lv.indent));
            x.writeAttribute(QLatin1String(kW), QStringLiteral("hanging"),
                             QString::number(lv.hanging));
            x.writeEndElement();
            if (!lv.font.isEmpty()) {
                x.writeStartElement(QLatin1String(kW), QStringLiteral("rPr"));
                fonts(x, lv.font, lv.font);
                x.writeEndElement();
            }
            x.writeEndElement();
        }
        x.writeEndElement();
    }
    for (size_t i = 0; i < doc.lists.size(); ++i) {
        x.writeStartElement(QLatin1String(kW), QStringLiteral("num"));
        x.writeAttribute(QLatin1String(kW), QStringLiteral("numId"),
                         QString::number(doc.lists[i].id));
        val(x, "abstractNumId", QString::number(i));
        x.writeEndElement();
    }
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

QByteArray settingsXml(const model::Document& doc) {
    QByteArray out;
    QXmlStreamWriter x(&out);
    start(x, "settings");
    val(x, "defaultTabStop", QString::number(doc.defaultTabStop));
    val(x, "characterSpacingControl", QStringLiteral("doNotCompress"));
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

QByteArray contentTypesXml(const Package& pkg, const QStringList& headers,
                           const QStringList& footers, bool numbering, const QStringList& notes) {
    static const char ns[] = "http://schemas.openxmlformats.org/package/2006/content-types";
    static const QString wml =
        QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.");
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.writeStartDocument(QStringLiteral("1.0"), true);
    x.writeDefaultNamespace(QLatin1String(ns));
    x.writeStartElement(QLatin1String(ns), QStringLiteral("Types"));
    const auto def = [&](const QString& ext, const QString& type) {
        x.writeEmptyElement(QLatin1String(ns), QStringLiteral("Default"));
        x.writeAttribute(QStringLiteral("Extension"), ext);
        x.writeAttribute(QStringLiteral("ContentType"), type);
    };
    const auto over = [&](const QString& part, const QString& type) {
        x.writeEmptyElement(QLatin1String(ns), QStringLiteral("Override"));
        x.writeAttribute(QStringLiteral("PartName"), u'/' + part);
        x.writeAttribute(QStringLiteral("ContentType"), wml + type);
    };
    def(QStringLiteral("rels"),
        QStringLiteral("application/vnd.openxmlformats-package.relationships+xml"));
    def(QStringLiteral("xml"), QStringLiteral("application/xml"));
    def(QStringLiteral("txt"), QStringLiteral("text/plain"));
    for (const QString& ext : pkg.mediaExtensions) {
        const QString type = ext == QLatin1String("emf")   ? QStringLiteral("image/x-emf")
                             : ext == QLatin1String("wmf") ? QStringLiteral("image/x-wmf")
                             : ext == QLatin1String("bin")
                                 ? QStringLiteral("application/octet-stream")
                                 : QStringLiteral("image/") + ext;
        def(ext, type);
    }
    over(QStringLiteral("word/document.xml"), QStringLiteral("document.main+xml"));
    over(QStringLiteral("word/styles.xml"), QStringLiteral("styles+xml"));
    over(QStringLiteral("word/settings.xml"), QStringLiteral("settings+xml"));
    if (numbering)
        over(QStringLiteral("word/numbering.xml"), QStringLiteral("numbering+xml"));
    for (const QString& h : headers)
        over(h, QStringLiteral("header+xml"));
    for (const QString& f : footers)
        over(f, QStringLiteral("footer+xml"));
    for (const QString& n : notes)
        over(QStringLiteral("word/%1.xml").arg(n), n + QStringLiteral("+xml"));
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

} // namespace docx::wr
