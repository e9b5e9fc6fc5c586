#include "Converter.h"

#include "Document.h"
#include "MsDoc.h"
#include "PlainText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace formats {

namespace {

void addBuiltins(Converter& c) {
    c.add({QStringLiteral("doc"),
           {QStringLiteral("doc")},
           9,
           [](const QByteArray& b, QString* e) { return msdoc::read(b, e); },
           [](const model::Document& d) { return msdoc::write(d); }});
    c.add({QStringLiteral("txt"),
           {QStringLiteral("txt")},
           1,
           [](const QByteArray& b, QString*) { return std::optional(textfmt::read(b)); },
           [](const model::Document& d) { return textfmt::write(d); }});
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
    if (const Format* f = byName(QFileInfo(path).suffix()))
        return f;
    if (bytes.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
        return byName(QStringLiteral("doc"));
    return nullptr;
}

std::optional<model::Document> Converter::load(const QByteArray& bytes, int engineFormat,
                                               QString* error) const {
    const Format* f = byEngineFormat(engineFormat);
    if (!f || !f->read) {
        if (error)
            *error = QStringLiteral("format %1 cannot be read").arg(engineFormat);
        return std::nullopt;
    }
    return f->read(bytes, error);
}

std::optional<QByteArray> Converter::save(const model::Document& doc, int engineFormat,
                                          QString* error) const {
    const Format* f = byEngineFormat(engineFormat);
    if (!f || !f->write) {
        if (error)
            *error = QStringLiteral("format %1 cannot be written").arg(engineFormat);
        return std::nullopt;
    }
    return f->write(doc);
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
        err << "folium: cannot convert to \"" << target << "\": unknown format\n";
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
            if (!from || !from->read)
                why = QStringLiteral("unknown input format");
            else if (!(doc = from->read(bytes, &why)) && why.isEmpty())
                why = QStringLiteral("cannot be read");
        }
        if (doc) {
            const QString dest =
                QDir(outDir).filePath(QFileInfo(path).completeBaseName() + u'.' + fmtName);
            QSaveFile file(dest);
            if (!file.open(QIODevice::WriteOnly) || file.write(out->write(*doc)) < 0 ||
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
