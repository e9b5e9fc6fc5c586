#pragma once
// The file-operation service: copy, move and delete-to-trash for a list of
// paths, with the confirmations a desktop file manager gives. An existing
// target is never overwritten without asking (replace / skip / cancel, per
// item), long copies show progress, and the items that failed are reported
// together at the end. Questions and reports go through the Prompter.

#include <QStringList>

class FileOpProgress;

class FileOperation {
public:
    enum class Kind { Move = 1, Copy = 2, Delete = 3 };

    struct Result {
        int nDone = 0;    // items finished (top-level or inside merged folders)
        int nSkipped = 0; // items the user chose to skip
        bool bCancelled = false;
        QStringList errors;  // one line per item that failed
        QStringList targets; // top-level paths created or replaced by copy/move
        bool ok() const { return !bCancelled && errors.isEmpty() && nSkipped == 0; }
    };

    // `progress` (not owned) is shown during the work; null uses the desktop
    // progress dialog.
    explicit FileOperation(FileOpProgress* progress = nullptr);

    // Copies or moves every source into `destFolder`, or moves them to the
    // trash (`destFolder` unused) after the user confirmed. A copy into the
    // source's own folder gets a new name ("name - コピー.ext").
    Result run(Kind kind, const QStringList& sources, const QString& destFolder = {});

    // The name a copy of `name` gets inside `folder` when `name` is taken
    // there: "a - コピー.doc", then "a - コピー (2).doc", ...
    static QString copyName(const QString& folder, const QString& name);

private:
    FileOpProgress* progress_;
};
