#pragma once
// Starting the tool family's programs (and other helper programs) with their
// arguments as a list, never through a shell or a command line split at
// spaces. Waiting keeps the windows painted while every user input of the
// process is dropped, so no second command can start inside the first.

#include <QString>
#include <QStringList>

namespace ToolRun {

struct Result {
    bool started = false;  // the program could be started
    bool finished = false; // it ended within the wait
    int exitCode = -1;     // when it finished normally
    bool crashed = false;
};

// Starts `program` with `args` and waits until it ends (`timeoutMs` < 0: no
// limit). A program still running after the time-out is left running; it
// is not killed.
Result RunAndWait(const QString& program, const QStringList& args, int timeoutMs = -1);

// Runs a short query program and returns what it printed on its standard
// output (empty when it cannot start, fails or takes longer than
// `timeoutMs`, after which it is killed). It reads nothing from the
// terminal.
QString Output(const QString& program, const QStringList& args, int timeoutMs);

// Starts `program` with `args` without waiting. False when it cannot start.
bool Start(const QString& program, const QStringList& args);

// True while RunAndWait is waiting (user input is being dropped).
bool Waiting();

} // namespace ToolRun
