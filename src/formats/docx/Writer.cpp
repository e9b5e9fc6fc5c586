// The package as a whole: the main text, one part per header and footer,
// the fixed parts and the media, zipped.
#include "Writer.h"
#include "Docx.h"
#include "FieldKinds.h"
#include "Vocab.h"

#include "Document.h"

namespace docx {

namespace {

using namespace wr;

void collectStyles(const std::vector<model::Block>& blocks, QStringList& names) {
    for (const model::Block& b : blocks) {
        switch (b.kind) {
        case model::Block::Kind::Paragraph:
            if (!b.paragraph.format.styleName.isEmpty() &&
                !names.contains(b.paragraph.format.styleName))
                names << b.paragraph.format.styleName;
            break;
        case model::Block::Kind::Table:
            for (const model::TableRow& r : b.table.rows)
                for (const model::TableCell& c : r.cells)
                    collectStyles(c.blocks, names);
            break;
        case model::Block::Kind::Frame:
            collectStyles(b.frame.blocks, names);
            break;
        }
    }
}

// Style ids are names without spaces or other characters; names that give
// no id of their own (Japanese names) are numbered.
QHash<QString, QString> styleIdsOf(const model::Document& doc) {
    QStringList names;
    for (const model::Section& s : doc.sections)
        for (const auto* story : {&s.blocks, &s.header, &s.footer, &s.firstHeader, &s.firstFooter})
            collectStyles(*story, names);
    QHash<QString, QString> ids;
    QStringList used;
    for (const QString& n : names) {
        QString id;
        for (QChar c : n)
            if (c.unicode() < 128 && c.isLetterOrNumber())
                id += c;
        if (!id.isEmpty())
            id[0] = id[0].toUpper();
        if (id.isEmpty() || used.contains(id, Qt::CaseInsensitive))
            id = QStringLiteral("FoliumStyle%1").arg(used.size() + 1);
        used << id;
        ids.insert(n, id);
    }
    return ids;
}

QByteArray rootRels() {
    PartRels r;
    r.add(QStringLiteral("officeDocument"), QStringLiteral("word/document.xml"));
    return r.xml();
}

} // namespace

std::optional<QByteArray> write(const model::Document& doc, QString* error) {
    wr::Package pkg;
    pkg.styleIds = styleIdsOf(doc);
    PartRels docRels;
    docRels.add(QStringLiteral("styles"), QStringLiteral("styles.xml"));
    docRels.add(QStringLiteral("settings"), QStringLiteral("settings.xml"));
    const bool numbering = !doc.lists.empty();
    if (numbering)
        docRels.add(QStringLiteral("numbering"), QStringLiteral("numbering.xml"));

    // Every header and footer gets its part and relationship first, so the
    // section properties of the main text can name them.
    struct Story {
        const std::vector<model::Block>* blocks;
        QString part;
        const char* root;
    };
    std::vector<Story> stories;
    std::vector<QStringList> refs(doc.sections.size());
    QStringList headerParts, footerParts;
    // A section without a header of a kind would show the previous
    // section's: it names an empty one instead.
    static const std::vector<model::Block> none{model::Block::makeParagraph({})};
    bool had[4] = {false, false, false, false};
    for (size_t i = 0; i < doc.sections.size(); ++i) {
        const model::Section& s = doc.sections[i];
        const struct {
            const std::vector<model::Block>* blocks;
            bool header;
            const char* type;
        } kinds[] = {{&s.header, true, "default"},
                     {&s.footer, false, "default"},
                     {&s.firstHeader, true, "first"},
                     {&s.firstFooter, false, "first"}};
        for (int n = 0; n < 4; ++n) {
            const auto& k = kinds[n];
            if (k.blocks->empty() && !had[n])
                continue;
            had[n] = true;
            const std::vector<model::Block>* blocks = k.blocks->empty() ? &none : k.blocks;
            QStringList& list = k.header ? headerParts : footerParts;
            const QString name =
                QStringLiteral("%1%2.xml")
                    .arg(k.header ? QStringLiteral("header") : QStringLiteral("footer"))
                    .arg(list.size() + 1);
            list << QStringLiteral("word/") + name;
            const QString rid =
                docRels.add(k.header ? QStringLiteral("header") : QStringLiteral("footer"), name);
            refs[i] << QStringLiteral("%1:%2:%3")
                           .arg(k.header ? QStringLiteral("header") : QStringLiteral("footer"),
                                QLatin1String(k.type), rid);
            stories.push_back({blocks, QStringLiteral("word/") + name, k.header ? "hdr" : "ftr"});
        }
    }

    QByteArray body;
    {
        StoryWriter w(pkg, docRels, &body);
        pkg.mainText = true;
        w.begin("document");
        w.beginBody();
        for (size_t i = 0; i < doc.sections.size(); ++i) {
            const bool last = i + 1 == doc.sections.size();
            if (last)
                w.blocks(doc.sections[i].blocks);
            else
                w.blocks(doc.sections[i].blocks, &doc.sections[i], refs[i]);
        }
        if (doc.sections.empty())
            w.sectionProperties(model::Section(), {});
        else
            w.sectionProperties(doc.sections.back(), refs.back());
        w.endBody();
        w.end();
    }

    Parts parts;
    for (const Story& s : stories) {
        PartRels rels;
        QByteArray xml;
        StoryWriter w(pkg, rels, &xml);
        w.begin(s.root);
        w.blocks(*s.blocks);
        w.end();
        parts.push_back({s.part, xml});
        if (!rels.rels.empty()) {
            const qsizetype slash = s.part.lastIndexOf(u'/');
            parts.push_back({s.part.left(slash) + QStringLiteral("/_rels/") +
                                 s.part.mid(slash + 1) + QStringLiteral(".rels"),
                             rels.xml()});
        }
    }

    // Footnotes and endnotes, after the headers and footers (the order the
    // field kinds are kept in).
    QStringList noteParts;
    for (const auto kind : {model::NoteKind::Foot, model::NoteKind::End}) {
        const auto& list = kind == model::NoteKind::Foot ? pkg.footnotes : pkg.endnotes;
        if (list.empty())
            continue;
        const QString name = kind == model::NoteKind::Foot ? QStringLiteral("footnotes")
                                                           : QStringLiteral("endnotes");
        noteParts << name;
        docRels.add(name, name + QStringLiteral(".xml"));
        PartRels rels;
        QByteArray xml;
        StoryWriter w(pkg, rels, &xml);
        w.begin(kind == model::NoteKind::Foot ? "footnotes" : "endnotes");
        w.notes(kind, list);
        w.end();
        const QString part = QStringLiteral("word/") + name + QStringLiteral(".xml");
        parts.push_back({part, xml});
        if (!rels.rels.empty())
            parts.push_back(
                {QStringLiteral("word/_rels/") + name + QStringLiteral(".xml.rels"), rels.xml()});
    }
    Parts out;
    out.push_back({QStringLiteral("[Content_Types].xml"),
                   contentTypesXml(pkg, headerParts, footerParts, numbering, noteParts)});
    out.push_back({QStringLiteral("_rels/.rels"), rootRels()});
    out.push_back({QStringLiteral("word/document.xml"), body});
    out.push_back({QStringLiteral("word/_rels/document.xml.rels"), docRels.xml()});
    out.push_back({QStringLiteral("word/styles.xml"), stylesXml(pkg)});
    out.push_back({QStringLiteral("word/settings.xml"), settingsXml(doc)});
    if (numbering)
        out.push_back({QStringLiteral("word/numbering.xml"), numberingXml(doc)});
    for (auto& p : parts)
        out.push_back(std::move(p));
    for (auto& m : pkg.media)
        out.push_back(std::move(m));
    // The editor's field kinds, which WordprocessingML has no place for:
    // a part no relationship names, which other programs leave alone.
    if (!pkg.fieldKinds.empty())
        out.push_back({QLatin1String(kFieldKindPart), msdoc::fieldKindStream(pkg.fieldKinds)});
    return buildPackage(out, error);
}

} // namespace docx
