#include "PdfExport.h"

#include "Converter.h"
#include "Document.h"
#include "FontSubst.h"
#include "ModelBridge.h"
#include "NativeFormat.h"
#include "Pager.h"
#include "PdfText.h"
#include "TxDocument.h"
#include "TxEngine.h"
#include "TxEngineState.h"
#include "TxFieldOps.h"
#include "TxProps.h"

#include <QBuffer>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

#include <optional>

namespace pdfexport {

namespace {

// Painter units per inch: fine enough that glyph positions keep the
// layout's sub-pixel places.
constexpr int kResolution = 1200;

void fail(QString* error, const QString& why) {
    if (error)
        *error = why;
}

// Field runs with a target outside the program become anchors: Qt's PDF
// engine writes a link annotation over every text item carrying one.
void markLinks(TxDocument& doc) {
    for (QTextDocument* d : doc.allDocuments())
        txfield::editRuns(d, 0, d->characterCount(), [](QTextCharFormat& f) {
            if (!f.hasProperty(txp::FieldTarget))
                return;
            const QString url = linkTarget(f.stringProperty(txp::FieldTarget));
            if (url.isEmpty())
                return;
            f.setAnchor(true);
            f.setAnchorHref(url);
        });
}

// Every character the pages show, and the font families they ask for.
void collectText(const TxDocument& doc, QString* text, QStringList* families) {
    QSet<QString> seen;
    for (QTextDocument* d : doc.allDocuments()) {
        for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
            *text += b.text();
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QStringList fams = it.fragment().charFormat().fontFamilies().toStringList();
                for (const QString& f : fams)
                    if (!seen.contains(f) && seen.size() < 32) {
                        seen.insert(f);
                        *families << f;
                    }
            }
        }
    }
    // The faces Japanese text falls back to when a family lacks a glyph.
    for (const char* name : {"ＭＳ ゴシック", "ＭＳ 明朝"})
        for (const QString& f : fontsubst::families(QString(), QString::fromUtf8(name)))
            if (!seen.contains(f)) {
                seen.insert(f);
                *families << f;
            }
}

QString titleOf(const TxDocument& doc) {
    for (QTextBlock b = doc.body()->begin(); b.isValid(); b = b.next()) {
        const QString t = b.text().trimmed();
        if (!t.isEmpty())
            return t.left(200);
    }
    return QString();
}

// The page size of the document as a PDF page (points, no margins: the
// pager paints the whole page, margins included).
QPageLayout pageLayout(const TxPageSetup& pg) {
    const double w = std::max(1, pg.width) / 20.0;
    const double h = std::max(1, pg.height) / 20.0;
    const bool wide = w > h;
    const QPageSize size(wide ? QSizeF(h, w) : QSizeF(w, h), QPageSize::Point, QString(),
                         QPageSize::ExactMatch);
    return QPageLayout(size, wide ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

// Paints every page of `doc` (a copy of its own: links are marked on it).
bool paint(TxDocument& doc, QByteArray* out, QString* error) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        fail(error, QStringLiteral("PDF needs a GUI application (the offscreen platform will do)"));
        return false;
    }
    fontsubst::install();
    markLinks(doc);
    Pager pager;
    pager.setView(TxEngine::ViewPage, 100);
    pager.apply(doc, nullptr);
    const int pages = pager.paperPageCount(doc);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Folium"));
        writer.setTitle(titleOf(doc));
        writer.setResolution(kResolution);
        if (!writer.setPageLayout(pageLayout(doc.page))) {
            fail(error, QStringLiteral("the page size cannot be set"));
            return false;
        }
        QPainter p;
        if (!p.begin(&writer)) {
            fail(error, QStringLiteral("the PDF cannot be started"));
            return false;
        }
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        const double scale = kResolution / 96.0;
        for (int page = 1; page <= pages; ++page) {
            if (page > 1 && !writer.newPage()) {
                fail(error, QStringLiteral("page %1 cannot be started").arg(page));
                return false;
            }
            pager.paintPage(doc, p, page, scale);
        }
        p.end();
    }
    buffer.close();
    QString text;
    QStringList families;
    collectText(doc, &text, &families);
    // Page-number fields show numbers the stored text does not hold.
    text += QStringLiteral("0123456789\uFF10\uFF11\uFF12\uFF13\uFF14\uFF15\uFF16\uFF17\uFF18\uFF19"
                           "ivxlcdmIVXLCDM-");
    pdftext::repair(bytes, text, families);
    *out = std::move(bytes);
    return true;
}

} // namespace

QString linkTarget(const QString& target) {
    const QString t = target.trimmed();
    if (t.isEmpty() || t == QLatin1String("@"))
        return QString();
    for (const char* marker : {"TP_", "TG_", "DX_"})
        if (t.startsWith(QLatin1String(marker)))
            return QString();
    if (t.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QStringLiteral("http://") + t;
    const QUrl url(t);
    const QString scheme = url.scheme().toLower();
    // One letter is a drive ("C:\...") rather than a scheme.
    if (url.isValid() && scheme.size() > 1 && !url.isRelative())
        return url.toString(QUrl::FullyEncoded);
    if (QDir::isAbsolutePath(t))
        return QUrl::fromLocalFile(t).toString(QUrl::FullyEncoded);
    return QString();
}

bool write(const TxDocument& doc, QByteArray* out, QString* error) {
    // A copy of the document, so marking links never touches the one shown
    // (its undo history and modified state stay as they are).
    TxDocument copy;
    if (!native::load(native::save(doc), copy, error))
        return false;
    return paint(copy, out, error);
}

bool write(const model::Document& doc, QByteArray* out, QString* error) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        fail(error, QStringLiteral("PDF needs a GUI application (the offscreen platform will do)"));
        return false;
    }
    fontsubst::install();
    TxDocument engineDoc;
    bridge::toEngine(doc, engineDoc);
    return paint(engineDoc, out, error);
}

void install() {
    formats::Converter& registry = formats::Converter::instance();
    const formats::Format* known = registry.byName(QStringLiteral("pdf"));
    if (!known || known->write)
        return;
    formats::Format f = *known;
    f.write = [](const model::Document& doc, QString* error) -> std::optional<QByteArray> {
        QByteArray bytes;
        if (!write(doc, &bytes, error))
            return std::nullopt;
        return bytes;
    };
    registry.add(f);
}

} // namespace pdfexport

bool TxEngine::SavePdf(const QString& path, QString* error) const {
    QByteArray bytes;
    QString why;
    bool ok = pdfexport::write(d->doc, &bytes, &why);
    if (ok) {
        // Written beside the target and renamed over it: a failure never
        // leaves half a file where the old one was.
        QSaveFile f(path);
        ok = f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit();
        if (!ok)
            why = f.errorString();
    }
    d->lastError = ok ? QString() : why;
    if (error)
        *error = why;
    return ok;
}
