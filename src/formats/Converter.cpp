#include "Converter.h"

#include "Document.h"
#include "Docx.h"
#include "Html.h"
#include "HtmlWriter.h"
#include "MsDoc.h"
#include "PlainText.h"
#include "Rtf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace formats {

namespace {

Format entry(const char* name, QStringList extensions, int engineFormat, const char* title,
             const char* filter, const char* saveFilter = "", Reader read = {}, Writer write = {}) {
    Format f;
    f.name = QString::fromLatin1(name);
    f.extensions = std::move(extensions);
    f.engineFormat = engineFormat;
    f.title = QString::fromLatin1(title);
    f.filter = QString::fromUtf8(filter);
    f.saveFilter = QString::fromUtf8(saveFilter);
    f.read = std::move(read);
    f.write = std::move(write);
    return f;
}

void addBuiltins(Converter& c) {
    c.add(entry(
        "doc", {QStringLiteral("doc")}, 9, "Word 97-2003 (.doc)", "ﾜｰﾄﾞ文書 97-2003(*.doc)|*.doc",
        "", [](const QByteArray& b, QString* e) { return msdoc::read(b, e); },
        [](const model::Document& d, QString*) { return std::optional(msdoc::write(d)); }));
    c.add(entry(
        "docx", {QStringLiteral("docx")}, 13, "Word Open XML (.docx)", "ﾜｰﾄﾞ文書 (*.docx)|*.docx",
        "", [](const QByteArray& b, QString* e) { return docx::read(b, e); },
        [](const model::Document& d, QString* e) { return docx::write(d, e); }));
    c.add(entry(
        "rtf", {QStringLiteral("rtf")}, 5, "RTF", "ﾘｯﾁﾃｷｽﾄ (*.rtf)|*.rtf", "",
        [](const QByteArray& b, QString* e) { return rtf::read(b, e); },
        [](const model::Document& d, QString* e) { return rtf::write(d, e); }));
    c.add(entry(
        "txt", {QStringLiteral("txt")}, 1, "plain text", "ﾃｷｽﾄﾌｧｲﾙ (*.txt)|*.txt", "",
        [](const QByteArray& b, QString*) { return std::optional(textfmt::read(b)); },
        [](const model::Document& d, QString*) { return std::optional(textfmt::write(d)); }));
    // Saved through the HTML exporter, never through the engine.
    Format htm =
        entry("htm", {QStringLiteral("htm"), QStringLiteral("html")}, 4, "HTML",
              "HTML Document(*.htm;*.html)|*.htm;*.html", "HTML (*.htm;*.html)|*.htm;*.html",
              [](const QByteArray& b, QString* e) { return html::read(b, e); });
    htm.readIn = [](const QByteArray& b, QString* e, const QString& folder) {
        return html::read(b, e, folder);
    };
    // The engine's own HTML: inline styles, pictures in the page's "_images"
    // folder (embedded when there is no file); the exporter post-processes it.
    htm.write = [](const model::Document& d, QString* e) { return html::write(d, {}, e); };
    htm.writeTo = [](const model::Document& d, QString* e, const QString& path) {
        return html::write(d, path, e);
    };
    c.add(htm);
    // Written from the engine's pages, never read.
    Format pdf = entry("pdf", {QStringLiteral("pdf")}, 12, "PDF", "ｱｸﾛﾊﾞｯﾄPDF(*.pdf)|*.pdf");
    pdf.opens = false;
    c.add(pdf);
}

// The word-processor format the first bytes plainly show, by name: a
// compound file is Word 97-2003, a zip package Word Open XML, "{\rtf" RTF.
const char* signatureFormat(const QByteArray& bytes) {
    if (bytes.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
        return "doc";
    if (bytes.startsWith(QByteArray("PK\x03\x04", 4)))
        return "docx";
    if (bytes.startsWith("{\\rtf"))
        return "rtf";
    return nullptr;
}

// A format the program names but cannot read (PDF) or write.
QString notSupported(const Format* f, int engineFormat) {
    return f ? QStringLiteral("%1 is not supported in this direction").arg(f->title)
             : QStringLiteral("unknown format %1").arg(engineFormat);
}

} // namespace

Converter& Converter::instance() {
    static Converter c = [] {
        Converter r;
        addBuiltins(r);
        return r;
    }();
    return c;
}

void Converter::add(const Format& format) {
    std::erase_if(formats, [&](const Format& f) { return f.name == format.name; });
    formats.push_back(format);
}

const Format* Converter::byName(const QString& nameOrExtension) const {
    const QString n = nameOrExtension.toLower();
    for (const Format& f : formats)
        if (f.name == n || f.extensions.contains(n))
            return &f;
    return nullptr;
}

const Format* Converter::byEngineFormat(int engineFormat) const {
    for (const Format& f : formats)
        if (f.engineFormat == engineFormat)
            return &f;
    return nullptr;
}

const Format* Converter::forFile(const QString& path, const QByteArray& bytes) const {
    if (const Format* f = byName(QFileInfo(path).suffix()); f && f->read)
        return f;
    if (const char* name = signatureFormat(bytes))
        return byName(QLatin1String(name));
    return byName(QFileInfo(path).suffix());
}

int Converter::openFormat(const QString& ext) const {
    const Format* f = ext.isEmpty() ? nullptr : byName(ext);
    return f && f->opens ? f->engineFormat : 0;
}

int Converter::saveFormat(const QString& ext) const {
    const Format* f = ext.isEmpty() ? nullptr : byName(ext);
    return f && f->saves ? f->engineFormat : 0;
}

QString Converter::dialogFilter(const QList<int>& engineFormats, bool saving) const {
    QStringList parts;
    for (int n : engineFormats)
        if (const Format* f = byEngineFormat(n))
            parts << (saving && !f->saveFilter.isEmpty() ? f->saveFilter : f->filter);
    return parts.join(u'|');
}

std::optional<model::Document> Converter::load(const QByteArray& bytes, int engineFormat,
                                               QString* error, const QString& folder) const {
    const Format* f = byEngineFormat(engineFormat);
    if (!f || !f->read) {
        if (error)
            *error = notSupported(f, engineFormat);
        return std::nullopt;
    }
    // A file named .doc that holds RTF or Word Open XML (Word itself saves
    // such files) is read by what it holds, as Word does; the other formats
    // are taken as they are named.
    if (const char* held = signatureFormat(bytes); held && f->name == QLatin1String("doc"))
        if (const Format* g = byName(QLatin1String(held)); g && g->read)
            f = g;
    QString why;
    std::optional<model::Document> doc =
        f->readIn ? f->readIn(bytes, &why, folder) : f->read(bytes, &why);
    if (!doc && error)
        *error = why.isEmpty() ? QStringLiteral("the %1 file cannot be read").arg(f->title) : why;
    return doc;
}

std::optional<QByteArray> Converter::save(const model::Document& doc, int engineFormat,
                                          QString* error, const QString& path) const {
    const Format* f = byEngineFormat(engineFormat);
    if (!f || !f->write) {
        if (error)
            *error = notSupported(f, engineFormat);
        return std::nullopt;
    }
    QString why;
    std::optional<QByteArray> bytes =
        f->writeTo && !path.isEmpty() ? f->writeTo(doc, &why, path) : f->write(doc, &why);
    if (!bytes && error)
        *error = why.isEmpty() ? QStringLiteral("%1 cannot be written").arg(f->title) : why;
    return bytes;
}

bool isHeadless(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray a = argv[i];
        if (a == "--headless" || a == "--convert-to" || a.startsWith("--convert-to="))
            return true;
    }
    return false;
}

int runHeadless(const QStringList& args, QTextStream& err) {
    QString target, outDir = QDir::currentPath();
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--convert-to") && i + 1 < args.size())
            target = args[++i];
        else if (a.startsWith(QLatin1String("--convert-to=")))
            target = a.mid(13);
        else if (a == QLatin1String("--outdir") && i + 1 < args.size())
            outDir = args[++i];
        else if (a.startsWith(QLatin1String("--outdir=")))
            outDir = a.mid(9);
        else if (a.startsWith(QLatin1String("-")))
            continue; // --headless and LibreOffice options without meaning here
        else
            files << a;
    }
    const Converter& c = Converter::instance();
    // "txt:Text" names the format and a LibreOffice filter; the filter is ignored.
    const QString fmtName = target.section(u':', 0, 0);
    const Format* out = c.byName(fmtName);
    if (!out || !out->write) {
        err << "folium: cannot convert to \"" << target << "\": "
            << (out ? notSupported(out, out->engineFormat) : QStringLiteral("unknown format"))
            << "\n";
        return 2;
    }
    if (files.isEmpty()) {
        err << "folium: no files to convert\n";
        return 2;
    }
    if (!QDir().mkpath(outDir)) {
        err << "folium: cannot create the folder " << outDir << "\n";
        return 1;
    }
    int failed = 0;
    for (const QString& path : files) {
        QFile in(path);
        QString why;
        std::optional<model::Document> doc;
        if (!in.open(QIODevice::ReadOnly)) {
            why = in.errorString();
        } else {
            const QByteArray bytes = in.readAll();
            const Format* from = c.forFile(path, bytes);
            if (!from)
                why = QStringLiteral("unknown input format");
            else
                doc = c.load(bytes, from->engineFormat, &why, QFileInfo(path).absolutePath());
        }
        if (doc) {
            const QString dest = QDir(outDir).filePath(QFileInfo(path).completeBaseName() + u'.' +
                                                       out->extensions.value(0, fmtName));
            // A format with an exporter writes the file (and what goes
            // beside it) itself.
            const std::optional<QByteArray> bytes =
                out->exportTo ? std::nullopt : c.save(*doc, out->engineFormat, &why, dest);
            QSaveFile file(dest);
            if (out->exportTo) {
                if (out->exportTo(*doc, dest, &why))
                    continue;
            } else if (!bytes)
                ; // why says it
            else if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() ||
                     !file.commit())
                why = QStringLiteral("cannot write %1: %2").arg(dest, file.errorString());
            else
                continue;
        }
        err << "folium: " << path << ": " << why << "\n";
        ++failed;
    }
    err.flush();
    return failed ? 1 : 0;
}

} // namespace formats
