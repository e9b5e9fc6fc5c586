#pragma once
// Start-up and the process-wide values it fixes: the program's base name, the
// user data folder, the work folder and the screen's work area in twips.

#include <QString>
#include <functional>

namespace Usr {

extern QString sAppNm;
extern QString sUsrFd; // ends in "/"
extern QString sWrkFd; // sUsrFd + "Wrk/"
extern int nWaLft, nWaTop, nWaWid, nWaHgt;

inline constexpr int kTwipsPerPixel = 15;

// The executable's folder (ending in "/") and file name. Taken from the
// running program unless a test sets them.
QString ProgramFolder();
QString ExecutableName();
void SetProgramPath(const QString& folder, const QString& exeName);
// The executable's full path as registered for the tool family.
QString ExecutablePath();

// The base name: the file name without extension, a trailing "_dv" (any
// case) removed.
QString AppNameFrom(const QString& exeFileName);

void GetWkArea();
void FitWkArea(int& nLft, int& nTop, int& nWid, int& nHgt);

// The start procedure up to (not including) the main window: base name, user
// data folder, "Wrk" and "Doc", work folder, "User.xml", work area. Returns
// false, after telling the user, when a required folder cannot be created.
bool StartUp();

// Runs the whole start procedure, then `showMainWindow`. Returns the process
// exit status to use when start-up fails, or 0.
int Main(const std::function<void()>& showMainWindow);

} // namespace Usr
