#pragma once
// What a file operation shows while it runs. The desktop one is a progress
// dialog that appears only when the work lasts; tests install their own.

#include <QtGlobal>
#include <memory>

class QString;

class FileOpProgress {
public:
    virtual ~FileOpProgress();
    // The work starts: `total` units (bytes for copies and moves, items for
    // deletions).
    virtual void begin(const QString& caption, qint64 total) = 0;
    // `done` units are finished, `item` is the one at hand. Returns false
    // when the user asked to stop.
    virtual bool step(qint64 done, const QString& item) = 0;
    virtual void end() = 0;

    // A progress dialog owned by Prompter::owner(), shown once the work has
    // run for about a second; its cancel button stops the work.
    static std::unique_ptr<FileOpProgress> dialog();
};
