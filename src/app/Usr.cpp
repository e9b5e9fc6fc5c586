#include "Usr.h"
#include "Prompter.h"
#include "mClt.h"
#include "yIni.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace Usr {

QString sAppNm;
QString sUsrFd;
QString sWrkFd;
int nWaLft = 0, nWaTop = 0, nWaWid = 0, nWaHgt = 0;

namespace {
QString g_programFolder;
QString g_exeName;
} // namespace

QString ProgramFolder() {
    QString f =
        g_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_programFolder;
    if (!f.endsWith(u'/'))
        f += u'/';
    return f;
}

QString ExecutableName() {
    return g_exeName.isEmpty() ? QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                               : g_exeName;
}

void SetProgramPath(const QString& folder, const QString& exeName) {
    g_programFolder = folder;
    g_exeName = exeName;
}

QString ExecutablePath() {
    // Executables carry the platform's suffix: none here.
    return ProgramFolder() + sAppNm;
}

QString AppNameFrom(const QString& exeFileName) {
    const QFileInfo fi(exeFileName);
    QString name = fi.suffix().isEmpty() ? fi.fileName() : fi.completeBaseName();
    if (name.right(3).compare(QLatin1String("_dv"), Qt::CaseInsensitive) == 0)
        name.chop(3);
    return name;
}

void GetWkArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect r = screen->availableGeometry();
    const auto twips = [](double px) { return static_cast<int>(std::lround(px * kTwipsPerPixel)); };
    nWaLft = twips(r.left());
    nWaTop = twips(r.top());
    nWaWid = twips(r.width());
    nWaHgt = twips(r.height());
}

void FitWkArea(int& nLft, int& nTop, int& nWid, int& nHgt) {
    if (nLft < nWaLft)
        nLft = nWaLft;
    if (nTop < nWaTop)
        nTop = nWaTop;
    // Compared with the work area's width and height, not its right and bottom.
    if (nLft + nWid > nWaWid) {
        nLft = nWaLft;
        if (nWid > nWaWid)
            nWid = nWaWid;
    }
    if (nTop + nHgt > nWaHgt) {
        nTop = nWaTop;
        if (nHgt > nWaHgt)
            nHgt = nWaHgt;
    }
}

bool StartUp() {
    sAppNm = AppNameFrom(ExecutableName());
    yIni& ini = settings();
    ini.W_UserData(0);
    yIni::F_ChkSb(sUsrFd, {QStringLiteral("Wrk"), QStringLiteral("Doc")});
    // A folder that cannot be created would end the program with an error
    // report; tell the user which one instead and stop cleanly.
    for (const QString& sub : {QStringLiteral("Wrk"), QStringLiteral("Doc")}) {
        if (!mClt::FldExist(sUsrFd + sub)) {
            Prompter::instance().message(
                QStringLiteral("ﾌｫﾙﾀﾞ %1 を作成できません").arg(sUsrFd + sub),
                Prompter::Buttons::Ok, Prompter::Icon::Critical);
            return false;
        }
    }
    sWrkFd = sUsrFd + QStringLiteral("Wrk/");
    bool ok = false;
    ini.GetTxt(sUsrFd + QStringLiteral("User.xml"), ok);
    GetWkArea();
    return true;
}

int Main(const std::function<void()>& showMainWindow) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    const bool ok = StartUp();
    if (ok && showMainWindow)
        showMainWindow();
    QGuiApplication::restoreOverrideCursor();
    return ok ? 0 : 1;
}

} // namespace Usr
