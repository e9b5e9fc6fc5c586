// yHtm: the export's steps in order, the page's head and style sheet, the
// picture folder, and the file written.
#include "yHtm.h"

#include "Converter.h"
#include "Document.h"
#include "HtmText.h"
#include "HtmlWriter.h"
#include "ModelBridge.h"
#include "TxEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QUuid>

#include <algorithm>

using namespace htmtext;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// A platform colour value 0x00BBGGRR as RRGGBB.
QString colorText(int value) {
    const QString hex = QString::number(uint(value) & 0xFFFFFFu, 16).rightJustified(6, u'0');
    return (hex.mid(4, 2) + hex.mid(2, 2) + hex.left(2)).toUpper();
}

// The path without its extension (up to the last "." of the file name).
QString withoutExtension(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > slash ? path.left(dot) : path;
}

// The picture folder the engine wrote beside `page` becomes "NAME_files". An existing
// "NAME_files" is moved aside first and removed only once the new folder has
// its place; when the rename fails it comes back.
void swapPictureFolder(const QString& page) {
    const QString b = withoutExtension(page);
    const QString images = b + QLatin1String("_images");
    const QString files = b + QLatin1String("_files");
    if (!QFileInfo(images).isDir())
        return; // no pictures: an older folder stays as it is
    QDir dir;
    const bool hadOld = QFileInfo(files).isDir();
    const QString aside = files + QStringLiteral(".old-") +
                          QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
    if (hadOld && !dir.rename(files, aside))
        return; // the old folder stays; the new pictures stay in "_images"
    if (dir.rename(images, files)) {
        if (hadOld)
            QDir(aside).removeRecursively();
    } else if (hadOld) {
        dir.rename(aside, files);
    }
}

bool fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

} // namespace

yHtm::yHtm(const TxStyle::UserFormats& formats) : fmt(formats) {}

QString yHtm::HsFName(const QString& sNoC) {
    QString name = sNoC.trimmed();
    if (name.size() <= 2)
        name = name.rightJustified(3, u'0');
    if (!name.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) &&
        !name.endsWith(QLatin1String(".html"), Qt::CaseInsensitive))
        name += QLatin1String(".htm");
    return name;
}

QString yHtm::PageLinks(const model::Document& doc) {
    QString list;
    // Depth-first over blocks, cells, frames and field results, without
    // recursion.
    std::vector<const std::vector<model::Block>*> pending;
    for (const model::Section& s : doc.sections)
        pending.push_back(&s.blocks);
    std::vector<const std::vector<model::Inline>*> runs;
    while (!pending.empty() || !runs.empty()) {
        if (!runs.empty()) {
            const std::vector<model::Inline>* r = runs.back();
            runs.pop_back();
            for (const model::Inline& in : *r) {
                if (in.kind != model::Inline::Kind::Field)
                    continue;
                if (in.field.target.startsWith(QLatin1String("TP_"), Qt::CaseInsensitive)) {
                    QString caption;
                    for (const model::Inline& c : in.field.result)
                        caption += c.text;
                    list += caption + u'\t' + in.field.target.mid(3) + u'\r';
                }
                runs.push_back(&in.field.result);
            }
            continue;
        }
        const std::vector<model::Block>* blocks = pending.back();
        pending.pop_back();
        for (auto b = blocks->rbegin(); b != blocks->rend(); ++b) {
            if (b->kind == model::Block::Kind::Paragraph)
                runs.push_back(&b->paragraph.content);
            else if (b->kind == model::Block::Kind::Frame)
                pending.push_back(&b->frame.blocks);
            else
                for (auto row = b->table.rows.rbegin(); row != b->table.rows.rend(); ++row)
                    for (auto cell = row->cells.rbegin(); cell != row->cells.rend(); ++cell)
                        pending.push_back(&cell->blocks);
        }
    }
    return list;
}

QString yHtm::convert(const QString& text, const QString& sFL, const QString& sTP, QString* css) {
    // The head: only its base reference is kept.
    const QString base = between(text, QStringLiteral("base href=\""), QStringLiteral("\""));
    const qsizetype headEnd = text.indexOf(QLatin1String("</head>"), 0, Qt::CaseInsensitive);
    qsizetype bodyAt =
        text.indexOf(QLatin1String("<body"), headEnd < 0 ? 0 : headEnd + 6, Qt::CaseInsensitive);
    QString body = bodyAt < 0 ? text : text.mid(bodyAt);

    const TxStyle::Table& t = fmt.usrFmt;
    const UsrFmt& bodyFmt = t[TxStyle::kBody];
    const QString look = QLatin1String("font-family:'") + bodyFmt.sFont +
                         QLatin1String("';font-size:") + QString::number(bodyFmt.iSize) +
                         QLatin1String("pt;color:#");
    linkStyle = look + colorText(0xFF8080) + u';';
    pageLinkStyle = look + colorText(0x404080) + u';';

    // Picture sources naming the engine's folder "NAME_images" (its blanks
    // as %20) are made relative to the page: "NAME_files/...".
    const QString b = withoutExtension(sFL);
    const QString n = b.mid(b.lastIndexOf(u'/') + 1);
    if (QFileInfo(b + QLatin1String("_images")).isDir()) {
        const QString encoded =
            QString(n).replace(u' ', QLatin1String("%20")) + QLatin1String("_images");
        const QString src = QStringLiteral("img src=\"");
        const qsizetype d = body.indexOf(encoded, 0, Qt::CaseInsensitive);
        const qsizetype f = d < 0 ? -1 : body.lastIndexOf(src, d, Qt::CaseInsensitive);
        if (f >= 0 && d - f > 8)
            body = replaceCi(body, body.mid(f, d + encoded.size() - f),
                             src + html::escaped(n) + QLatin1String("_files"));
    }

    tokenise(body);
    readTokens(base);
    links(sTP);
    attributesToStyles();
    dropEmpty();
    headings();
    classes();
    const QString out = writeBody();
    if (css)
        *css = styleSheet();
    return out;
}

QString yHtm::styleSheet() const {
    const TxStyle::Table& t = fmt.usrFmt;
    const UsrFmt& b = t[TxStyle::kBody];
    const QString size = b.iSize >= 14   ? QStringLiteral("large")
                         : b.iSize >= 12 ? QStringLiteral("medium")
                                         : QStringLiteral("small");
    QStringList lines;
    lines << QStringLiteral("<style type=\"text/css\">");
    lines << QStringLiteral("    body {padding-left: 10px;line-height:%1%;font-family:'%2';"
                            "font-size:%3;color:#%4;margin: 0px; background-color: #FFFFFF;}")
                 .arg(qRound(fmt.sgLsp * 100))
                 .arg(b.sFont, size, colorText(b.nFcr));
    lines << QStringLiteral("    a {") + linkStyle + u'}';
    lines << QStringLiteral("    a:link {text-decoration:underline;}");
    lines << QStringLiteral("    a:visited {color:#5689bf;text-decoration:underline;}");
    lines << QStringLiteral("    a:active {color:#009E7B;text-decoration:none;}");
    lines << QStringLiteral(
        "    a:hover {color:white;background-color:#666633;text-decoration:underline;}");
    static const char* heads[] = {"h1", "h3", "h5"};
    static const int margins[3][2] = {{7, 6}, {5, 4}, {3, 2}};
    for (int k = 0; k < 3; ++k) {
        const UsrFmt& h = t[size_t(k)];
        lines << QStringLiteral("    %1 {font-family:'%2';font-size:%3pt;color:#%4;"
                                "margin: %5px 0px %6px 0px;}")
                     .arg(QLatin1String(heads[k]), h.sFont)
                     .arg(h.iSize)
                     .arg(colorText(h.nFcr))
                     .arg(margins[k][0])
                     .arg(margins[k][1]);
    }
    lines << QStringLiteral("    div {margin: 4px 0px 2px 0px;}");
    lines << QStringLiteral("    table {border-collapse:collapse;}");
    lines << QStringLiteral("    tr {text-align:left;vertical-align:top;}");
    lines << QStringLiteral("    td {padding:3px;}");
    lines << QStringLiteral("    li {margin:4px 0px 2px 0px;}");
    lines << QStringLiteral("    img {border:0px;}");
    std::vector<ClassLine> sorted = classTable;
    std::stable_sort(sorted.begin(), sorted.end(), [](const ClassLine& x, const ClassLine& y) {
        return x.key != y.key ? x.key < y.key : x.number < y.number;
    });
    for (const ClassLine& l : sorted)
        lines << QStringLiteral("    %1%2 {%3}")
                     .arg(l.key)
                     .arg(l.number, 2, 10, QChar(u'0'))
                     .arg(trimBlanks(l.style));
    lines << QStringLiteral("</style>");
    return lines.join(kCrLf) + kCrLf;
}

QString yHtm::page(const QString& css, const QString& body, const QString& sTl) {
    return QStringLiteral(
               "<!DOCTYPE HTML PUBLIC '-//W3C//DTD HTML 4.01 Transitional//EN' "
               "'http://www.w3.org/TR/html4/loose.dtd'>\r\n"
               "<html>\r\n<head>\r\n"
               "<meta http-equiv='Content-Type' content='text/html; charset=UTF-8'>\r\n") +
           css + QLatin1String("<title>") + html::escaped(sTl) +
           QLatin1String("</title>\r\n</head>") + body;
}

bool yHtm::saveDocument(const model::Document& doc, bool bPng, const QString& sFL,
                        const QString& sTP, const QString& sTl, QString* error) {
    const QString file = QFileInfo(sFL).absoluteFilePath();
    QString why;
    html::WriteOptions options;
    options.allPng = bPng;
    const std::optional<QByteArray> raw = html::write(doc, file, &why, options);
    if (!raw)
        return fail(error, why);
    QString css;
    const QString body = convert(QString::fromUtf8(*raw), file, sTP, &css);
    aTag.clear();
    const QByteArray bytes = page(css, body, sTl).toUtf8();
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return fail(error, QStringLiteral("cannot write %1: %2").arg(file, out.errorString()));
    swapPictureFolder(file);
    return true;
}

// Every image of the main text and of each text frame gets the export
// setting of the choice (3 PNG, 4 as it is) and its second flag cleared; the
// part being edited is active again afterwards.
void yHtm::markImages(TxEngine& xTx, bool bPng) {
    auto mark = [&] {
        for (int id = xTx.NextImage(0); id != 0; id = xTx.NextImage(id)) {
            xTx.SetImageExport(id, bPng ? 3 : 4);
            if (xTx.ImageExportFlag(id) != 0)
                xTx.SetImageExportFlag(id, 0);
        }
    };
    const int active = xTx.TextFrameActive();
    if (active)
        xTx.TextFrameSelect(0);
    mark();
    for (int frame = xTx.NextTextFrame(0); frame != 0; frame = xTx.NextTextFrame(frame)) {
        if (xTx.TextFrameSelect(frame))
            mark();
    }
    xTx.TextFrameSelect(active);
}

bool yHtm::cSaveHtm(TxEngine& xTx, bool bPng, const QString& sFL, const QString& sTP,
                    const QString& sTl, QString* error) {
    markImages(xTx, bPng);
    return saveDocument(bridge::fromEngine(xTx.document2()), bPng, sFL, sTP, sTl, error);
}

bool yHtm::cGetHtm(TxEngine& xTx, const QString& sFL, const QString& sTP, const QString&,
                   QString& sCss, QString& sBd, QString* error) {
    markImages(xTx, false);
    const QString file = QFileInfo(sFL).absoluteFilePath();
    QString why;
    const std::optional<QByteArray> raw =
        html::write(bridge::fromEngine(xTx.document2()), file, &why);
    if (!raw)
        return fail(error, why);
    const QString body = convert(QString::fromUtf8(*raw), file, sTP, &sCss);
    aTag.clear();
    sBd = between(body, QStringLiteral("<body>"), QStringLiteral("</body>"));
    swapPictureFolder(file);
    return true;
}

void yHtm::install() {
    formats::Converter& registry = formats::Converter::instance();
    const formats::Format* known = registry.byName(QStringLiteral("htm"));
    if (!known)
        return;
    formats::Format f = *known;
    f.exportTo = [](const model::Document& doc, const QString& path, QString* error) {
        yHtm exporter;
        QString title;
        for (const model::Section& s : doc.sections)
            for (const model::Block& b : s.blocks)
                if (title.isEmpty() && b.kind == model::Block::Kind::Paragraph)
                    for (const model::Inline& in : b.paragraph.content)
                        title += in.text;
        return exporter.saveDocument(doc, false, path, PageLinks(doc), title.trimmed(), error);
    };
    registry.add(f);
}
