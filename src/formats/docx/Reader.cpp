// A .docx package into the model: the main document found through the
// package's relationships, its styles, lists and theme, then every story.
#include "Reader.h"
#include "Docx.h"
#include "FieldKinds.h"
#include "Text.h"
#include "Vocab.h"

namespace docx {

namespace {

using namespace rd;

// Parts may together hold this much once inflated: room for any real
// document, while a small package inflating to gigabytes is refused.
qint64 partLimit(qint64 packageSize) {
    return std::min<qint64>((qint64(32) << 20) + 32 * packageSize, qint64(1) << 30);
}

// What the model built from one package may take.
qint64 modelLimit(qint64 packageSize) {
    return (qint64(64) << 20) + 256 * packageSize;
}

QString targetOf(const Rels& rels, const char* type, const QString& from) {
    for (const Rel& r : rels)
        if (!r.external && r.type == QLatin1String(type))
            return resolveTarget(from, r.target);
    return {};
}

} // namespace

std::optional<model::Document> read(const QByteArray& bytes, QString* error) {
    QString why;
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (bytes.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
        return fail(QStringLiteral("the file is encrypted or not a Word Open XML package"));
    Context ctx;
    ctx.budget = msdoc::Budget(modelLimit(bytes.size()));
    if (!ctx.pkg.open(bytes, partLimit(bytes.size()), &why))
        return fail(why);

    QString main = QStringLiteral("word/document.xml");
    if (const auto r = ctx.pkg.part(QStringLiteral("_rels/.rels")))
        if (const QString t = targetOf(readRels(*r), "officeDocument", QString()); !t.isEmpty())
            main = t;
    const std::optional<QByteArray> body = ctx.pkg.part(main);
    if (!body)
        return fail(ctx.pkg.exhausted() ? QStringLiteral("the document is too large")
                    : ctx.pkg.has(main) ? QStringLiteral("the main text is damaged")
                                        : QStringLiteral("the package has no main text"));
    Rels docRels;
    if (const auto r = ctx.pkg.part(relsPartOf(main)))
        docRels = readRels(*r);
    const auto partOf = [&](const char* type) -> std::optional<QByteArray> {
        const QString name = targetOf(docRels, type, main);
        return name.isEmpty() ? std::nullopt : ctx.pkg.part(name);
    };
    if (const auto t = partOf("theme"))
        ctx.theme = readTheme(*t);
    if (const auto s = partOf("styles"))
        ctx.styles.read(*s, ctx.theme);
    if (const auto n = partOf("numbering"))
        ctx.numbering.read(*n, ctx.theme);

    model::Document doc;
    if (const auto s = partOf("settings")) {
        Xml x(*s);
        if (x.child())
            while (x.child()) {
                if (x.is("defaultTabStop"))
                    doc.defaultTabStop = x.number("val", 1, 31680).value_or(doc.defaultTabStop);
                x.skip();
            }
    }

    // The notes first: the main text's references take their text.
    for (const char* type : {"footnotes", "endnotes"}) {
        const QString name = targetOf(docRels, type, main);
        if (const auto xml = name.isEmpty() ? std::nullopt : ctx.pkg.part(name)) {
            StoryReader reader(ctx, name, *xml);
            reader.notes(qstrcmp(type, "footnotes") == 0 ? ctx.footnotes : ctx.endnotes);
        }
    }
    std::vector<SectionEnd> ends;
    std::vector<std::vector<model::Block>> bodies;
    {
        StoryReader reader(ctx, main, *body);
        if (!reader.document(ends, bodies))
            return fail(reader.error);
    }

    // Headers and footers: a section without a reference of a kind keeps
    // the previous section's.
    QHash<QString, std::vector<model::Block>> stories;
    const auto storyOf = [&](const QString& name) -> const std::vector<model::Block>& {
        auto it = stories.find(name);
        if (it == stories.end()) {
            std::vector<model::Block> blocks;
            if (const auto xml = ctx.pkg.part(name)) {
                StoryReader reader(ctx, name, *xml);
                reader.story(blocks);
            }
            it = stories.insert(name, std::move(blocks));
        }
        return *it;
    };
    std::vector<model::Block> current[4];
    static const char* const kinds[4] = {
        "header:default:", "footer:default:", "header:first:", "footer:first:"};
    for (size_t i = 0; i < bodies.size() && !ctx.tooLarge; ++i) {
        model::Section s = i < ends.size() ? ends[i].section : model::Section();
        s.blocks = std::move(bodies[i]);
        const QStringList refs = i < ends.size() ? ends[i].refs : QStringList();
        for (int k = 0; k < 4; ++k)
            for (const QString& ref : refs)
                if (ref.startsWith(QLatin1String(kinds[k])))
                    current[k] = storyOf(ref.mid(qsizetype(qstrlen(kinds[k]))));
        s.header = current[0];
        s.footer = current[1];
        s.firstHeader = current[2];
        s.firstFooter = current[3];
        ctx.budget.spend(qint64(sizeof(model::Section)));
        doc.sections.push_back(std::move(s));
    }
    if (ctx.tooLarge || ctx.pkg.exhausted() || ctx.budget.exhausted())
        return fail(QStringLiteral("the document is too large"));
    doc.lists = ctx.numbering.lists;
    model::normalize(doc);
    if (const auto kinds = ctx.pkg.part(QLatin1String(kFieldKindPart)))
        msdoc::applyFieldKinds(doc, *kinds);
    return doc;
}

} // namespace docx
