#include "Peers.h"

#include "TestEnv.h"

#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <optional>

namespace peers {

bool soffice(const QStringList& files, const QString& format, const QString& outDir) {
    const QString profile = TestEnv::freshDir(QStringLiteral("soffice-profile"));
    QStringList args{QStringLiteral("-env:UserInstallation=file://") + profile,
                     QStringLiteral("--headless"),
                     QStringLiteral("--convert-to"),
                     format,
                     QStringLiteral("--outdir"),
                     outDir};
    args += files;
    QProcess p;
    p.start(QStringLiteral("soffice"), args);
    return p.waitForFinished(180000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QString antiword(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("antiword"), {QStringLiteral("-m"), QStringLiteral("UTF-8.txt"),
                                         QStringLiteral("-w"), QStringLiteral("0"), file});
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString squeeze(const QString& s) {
    QString out = s;
    out.remove(QRegularExpression(QStringLiteral("\\s+")));
    return out;
}

namespace {

const QString kStyleNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString kTextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kFoNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QString kOfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");

struct OdfStyle {
    QString parent, display;
    bool automatic = false;
    QString size, weight, slant; // as written; empty when the style leaves them to its parent
};

class OdfStyles {
public:
    QHash<QString, OdfStyle> styles; // by family + '/' + name
    OdfStyle defaults;               // the paragraph family's default style

    // The chain of styles from `name` up to the last parent.
    std::vector<const OdfStyle*> chain(const QString& family, QString name) const {
        std::vector<const OdfStyle*> out;
        while (!name.isEmpty() && out.size() < 32) {
            const auto it = styles.find(family + u'/' + name);
            if (it == styles.end())
                break;
            out.push_back(&*it);
            name = it->parent;
        }
        return out;
    }
};

void readTextProperties(const QXmlStreamAttributes& a, OdfStyle& s) {
    if (a.hasAttribute(kFoNs, QStringLiteral("font-size")))
        s.size = a.value(kFoNs, QStringLiteral("font-size")).toString();
    if (a.hasAttribute(kFoNs, QStringLiteral("font-weight")))
        s.weight = a.value(kFoNs, QStringLiteral("font-weight")).toString();
    if (a.hasAttribute(kFoNs, QStringLiteral("font-style")))
        s.slant = a.value(kFoNs, QStringLiteral("font-style")).toString();
}

// Size, weight and slant from the most specific style that sets each;
// percentages scale what the more general styles give.
void resolve(const std::vector<const OdfStyle*>& specificFirst, ParagraphLook& look) {
    double points = 12; // LibreOffice's size when no style sets one
    for (auto it = specificFirst.rbegin(); it != specificFirst.rend(); ++it) {
        const QString& size = (*it)->size;
        if (size.endsWith(QLatin1String("pt")))
            points = size.chopped(2).toDouble();
        else if (size.endsWith(u'%'))
            points = points * size.chopped(1).toDouble() / 100;
    }
    look.points = points;
    look.bold = look.italic = false;
    for (const OdfStyle* s : specificFirst)
        if (!s->weight.isEmpty()) {
            look.bold = s->weight == QLatin1String("bold") || s->weight.toInt() >= 600;
            break;
        }
    for (const OdfStyle* s : specificFirst)
        if (!s->slant.isEmpty()) {
            look.italic =
                s->slant == QLatin1String("italic") || s->slant == QLatin1String("oblique");
            break;
        }
}

} // namespace

QList<ParagraphLook> paragraphLooks(const QString& fodt) {
    QXmlStreamReader x(fodt);
    OdfStyles st;
    OdfStyle* current = nullptr;
    bool automatic = false, inBody = false;
    // Open paragraphs (outermost first) with their index in `out`, and the
    // open spans' styles.
    struct Open {
        qsizetype index;
        QString style;
        QStringList spansAtFirst; // spans around the first character, innermost first
        bool seenText = false;
    };
    std::vector<Open> paras;
    QStringList spans;
    QList<ParagraphLook> out;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            const QXmlStreamAttributes a = x.attributes();
            if (x.namespaceUri() == kOfficeNs && x.name() == QLatin1String("automatic-styles"))
                automatic = true;
            else if (x.namespaceUri() == kOfficeNs && x.name() == QLatin1String("body"))
                inBody = true;
            else if (x.namespaceUri() == kStyleNs && x.name() == QLatin1String("style")) {
                const QString key = a.value(kStyleNs, QStringLiteral("family")).toString() + u'/' +
                                    a.value(kStyleNs, QStringLiteral("name")).toString();
                OdfStyle& s = st.styles[key];
                s.parent = a.value(kStyleNs, QStringLiteral("parent-style-name")).toString();
                s.display = a.hasAttribute(kStyleNs, QStringLiteral("display-name"))
                                ? a.value(kStyleNs, QStringLiteral("display-name")).toString()
                                : a.value(kStyleNs, QStringLiteral("name")).toString();
                s.automatic = automatic;
                current = &s;
            } else if (x.namespaceUri() == kStyleNs && x.name() == QLatin1String("default-style")) {
                current = a.value(kStyleNs, QStringLiteral("family")) == QLatin1String("paragraph")
                              ? &st.defaults
                              : nullptr;
            } else if (x.namespaceUri() == kStyleNs &&
                       x.name() == QLatin1String("text-properties") && current) {
                readTextProperties(a, *current);
            } else if (inBody && x.namespaceUri() == kTextNs &&
                       (x.name() == QLatin1String("p") || x.name() == QLatin1String("h"))) {
                paras.push_back({out.size(),
                                 a.value(kTextNs, QStringLiteral("style-name")).toString(),
                                 {},
                                 false});
                out.push_back({});
            } else if (inBody && x.namespaceUri() == kTextNs && x.name() == QLatin1String("span")) {
                spans.prepend(a.value(kTextNs, QStringLiteral("style-name")).toString());
            }
        } else if (x.isEndElement()) {
            if (x.namespaceUri() == kOfficeNs && x.name() == QLatin1String("automatic-styles"))
                automatic = false;
            else if (x.namespaceUri() == kStyleNs && (x.name() == QLatin1String("style") ||
                                                      x.name() == QLatin1String("default-style")))
                current = nullptr;
            else if (inBody && x.namespaceUri() == kTextNs && x.name() == QLatin1String("span") &&
                     !spans.isEmpty())
                spans.removeFirst();
            else if (inBody && x.namespaceUri() == kTextNs &&
                     (x.name() == QLatin1String("p") || x.name() == QLatin1String("h")) &&
                     !paras.empty()) {
                const Open o = paras.back();
                paras.pop_back();
                ParagraphLook& look = out[o.index];
                std::vector<const OdfStyle*> chain;
                for (const QString& span : o.spansAtFirst)
                    for (const OdfStyle* s : st.chain(QStringLiteral("text"), span))
                        chain.push_back(s);
                const std::vector<const OdfStyle*> para =
                    st.chain(QStringLiteral("paragraph"), o.style);
                chain.insert(chain.end(), para.begin(), para.end());
                chain.push_back(&st.defaults);
                resolve(chain, look);
                for (const OdfStyle* s : para)
                    if (!s->automatic) {
                        look.style = s->display;
                        break;
                    }
                look.text = look.text.trimmed();
            }
        } else if (x.isCharacters() && !paras.empty()) {
            Open& o = paras.back();
            const QString t = x.text().toString();
            if (!o.seenText && !t.trimmed().isEmpty()) {
                o.seenText = true;
                o.spansAtFirst = spans;
            }
            out[o.index].text += t;
        }
    }
    if (x.hasError())
        return {};
    return out;
}

QString describe(const QList<ParagraphLook>& looks) {
    QString s;
    for (const ParagraphLook& l : looks)
        s += QStringLiteral("  '%1' %2 %3pt%4%5\n")
                 .arg(l.text, l.style)
                 .arg(l.points)
                 .arg(l.bold ? QStringLiteral(" bold") : QString())
                 .arg(l.italic ? QStringLiteral(" italic") : QString());
    return s;
}

QString headingsNextToTables() {
    auto h = [](int level, const char* text) {
        return QStringLiteral(
                   "<text:h text:style-name=\"Heading_20_%1\" text:outline-level=\"%1\">%2"
                   "</text:h>")
            .arg(level)
            .arg(QString::fromUtf8(text));
    };
    auto p = [](const char* text) {
        return QStringLiteral("<text:p text:style-name=\"Standard\">%1</text:p>")
            .arg(QString::fromUtf8(text));
    };
    auto cell = [](const QString& content) {
        return QStringLiteral("<table:table-cell office:value-type=\"string\">") + content +
               QStringLiteral("</table:table-cell>");
    };
    auto table = [](const QString& name, int columns, const QString& rows) {
        return QStringLiteral("<table:table table:name=\"%1\"><table:table-column "
                              "table:number-columns-repeated=\"%2\"/>")
                   .arg(name)
                   .arg(columns) +
               rows + QStringLiteral("</table:table>");
    };
    auto row = [](const QString& cells) {
        return QStringLiteral("<table:table-row>") + cells + QStringLiteral("</table:table-row>");
    };
    const QString nested = table(QStringLiteral("Nested"), 1, row(cell(p("NestedCell"))));
    const QString body =
        h(1, "HeadBeforeTable") +
        table(QStringLiteral("First"), 2,
              row(cell(h(1, "HeadFirstInCell") + p("BodyInCell")) +
                  cell(p("PlainCell") + h(2, "HeadLastInCell"))) +
                  row(cell(h(2, "HeadBeforeNested") + nested + h(2, "HeadAfterNested")) +
                      cell(p("SecondRow")))) +
        h(1, "HeadAfterTable") + p("BodyBetween") + h(1, "表の前の見出し") +
        table(QStringLiteral("Second"), 1, row(cell(p("OnlyCell")))) + h(2, "HeadAfterSecond") +
        p("BodyBeforeThird") + h(2, "Head2BeforeTable") +
        table(QStringLiteral("Third"), 1, row(cell(h(1, "HeadOnlyInCell")))) + p("End");
    return QStringLiteral(
               R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
<office:styles>
<style:style style:name="Standard" style:family="paragraph"><style:text-properties fo:font-size="10pt"/></style:style>
<style:style style:name="Heading_20_1" style:display-name="Heading 1" style:family="paragraph" style:parent-style-name="Standard" style:next-style-name="Standard" style:default-outline-level="1"><style:text-properties fo:font-size="24pt" fo:font-weight="bold"/></style:style>
<style:style style:name="Heading_20_2" style:display-name="Heading 2" style:family="paragraph" style:parent-style-name="Standard" style:next-style-name="Standard" style:default-outline-level="2"><style:text-properties fo:font-size="16pt" fo:font-style="italic"/></style:style>
</office:styles>
<office:body><office:text>)") +
           body + QStringLiteral("</office:text></office:body></office:document>\n");
}

} // namespace peers
