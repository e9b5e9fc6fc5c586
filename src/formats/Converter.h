#pragma once
// The file formats the program reads and writes, by name, extension and
// engine format number, and the headless converter built on them:
//
//   folium --headless --convert-to FMT[:filter] [--outdir DIR] FILE...
//
// (the options of LibreOffice's converter, so that one can stand in for the
// other). Each FILE is written as DIR/NAME.FMT; a file that fails gives one
// line on standard error, and the exit status is non-zero when any failed.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QTextStream;

namespace model {
struct Document;
}

namespace formats {

struct Format {
    QString name;           // "doc", "txt", ...
    QStringList extensions; // lower case, without the dot
    int engineFormat = 0;   // 1 plain text, 9 Word 97-2003, ...
    std::function<std::optional<model::Document>(const QByteArray&, QString*)> read;
    std::function<QByteArray(const model::Document&)> write;
};

class Converter {
public:
    // The process-wide registry, holding every built-in format.
    static Converter& instance();

    void add(const Format& format);
    const Format* byName(const QString& nameOrExtension) const;
    const Format* byEngineFormat(int engineFormat) const;
    // By the file's extension; a file without a known extension is
    // recognised by its first bytes (compound file: Word 97-2003).
    const Format* forFile(const QString& path, const QByteArray& bytes) const;

    std::optional<model::Document> load(const QByteArray& bytes, int engineFormat,
                                        QString* error = nullptr) const;
    std::optional<QByteArray> save(const model::Document& doc, int engineFormat,
                                   QString* error = nullptr) const;

private:
    std::vector<Format> formats;
};

// True when the command line asks for the headless converter.
bool isHeadless(int argc, char** argv);
// Runs the converter on the arguments after the program name; messages go to `err`.
int runHeadless(const QStringList& args, QTextStream& err);

} // namespace formats
