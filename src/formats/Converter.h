#pragma once
// The file formats the program reads and writes, by name, extension, engine
// format number and file-dialog filter, and the headless converter built on
// them:
//
//   folium --headless --convert-to FMT[:filter] [--outdir DIR] FILE...
//
// (the options of LibreOffice's converter, so that one can stand in for the
// other). Each FILE is written as DIR/NAME.FMT; a file that fails gives one
// line on standard error, and the exit status is non-zero when any failed.
//
// The registry is the one place that knows the formats: the engine's
// LoadBytes/SaveBytes, the editor's dialogs and the converter all ask it.

#include <QByteArray>
#include <QList>
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

using Reader = std::function<std::optional<model::Document>(const QByteArray&, QString*)>;
using Writer = std::function<std::optional<QByteArray>(const model::Document&, QString*)>;
// Readers of formats that refer to other files (the pictures of an HTML
// page) also take the folder those are relative to.
using FolderReader =
    std::function<std::optional<model::Document>(const QByteArray&, QString*, const QString&)>;
// Writers of formats that put other files beside theirs (the pictures of an
// HTML page) also take the path of the file being written.
using FileWriter =
    std::function<std::optional<QByteArray>(const model::Document&, QString*, const QString&)>;
// Writes the whole file `path` and whatever belongs beside it; the headless
// converter uses it instead of `write` when set.
using Exporter = std::function<bool(const model::Document&, const QString& path, QString*)>;

struct Format {
    QString name;           // "doc", "txt", ...
    QStringList extensions; // lower case, without the dot; the first is the one written
    int engineFormat = 0;   // 1 plain text, 9 Word 97-2003, ...
    QString title;          // for messages: "Word Open XML (.docx)"
    // The file-dialog filter part ("ﾜｰﾄﾞ文書 (*.docx)|*.docx"); saveFilter
    // when the save dialog words it differently.
    QString filter;
    QString saveFilter;
    // Whether the program opens / saves files of this format at all (some
    // through other paths than the model: PDF through the page painter,
    // HTML through its exporter).
    bool opens = true;
    bool saves = true;
    // Bytes <-> model; empty when this build has no such reader / writer.
    Reader read;
    Writer write;
    FolderReader readIn; // when set, used instead of `read` by load()
    FileWriter writeTo;  // when set, used instead of `write` by save() given a path
    Exporter exportTo;
};

class Converter {
public:
    // The process-wide registry, holding every built-in format.
    static Converter& instance();

    void add(const Format& format);
    const Format* byName(const QString& nameOrExtension) const;
    const Format* byEngineFormat(int engineFormat) const;
    // By the file's extension; a file without a known extension is
    // recognised by its first bytes (compound file: Word 97-2003; zip
    // package: Word Open XML; "{\rtf": RTF). load() itself reads a .doc
    // that holds RTF or Word Open XML by what it holds.
    const Format* forFile(const QString& path, const QByteArray& bytes) const;

    // Engine format numbers for opening / saving a file with extension
    // `ext` (lower or upper case, no dot); 0 when the program does not.
    int openFormat(const QString& ext) const;
    int saveFormat(const QString& ext) const;
    // A file dialog's filter: the formats' parts joined by "|" in the
    // order given (the save dialog's wording when `saving`).
    QString dialogFilter(const QList<int>& engineFormats, bool saving = false) const;

    // `folder`: where the file lies, for the files it refers to.
    std::optional<model::Document> load(const QByteArray& bytes, int engineFormat,
                                        QString* error = nullptr,
                                        const QString& folder = QString()) const;
    // `path`: the file the bytes are for, for the files written beside it.
    std::optional<QByteArray> save(const model::Document& doc, int engineFormat,
                                   QString* error = nullptr, const QString& path = QString()) const;

private:
    std::vector<Format> formats;
};

// True when the command line asks for the headless converter.
bool isHeadless(int argc, char** argv);
// Runs the converter on the arguments after the program name; messages go to `err`.
int runHeadless(const QStringList& args, QTextStream& err);

} // namespace formats
