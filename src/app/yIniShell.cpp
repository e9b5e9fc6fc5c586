// The shell integration of the settings class: opening paths and addresses
// with the desktop's associated program, the folder picker, the "Open With"
// desktop entry and the help/web links. Every failure is silent.
#include "DesktopFile.h"
#include "DesktopOpener.h"
#include "Prompter.h"
#include "Usr.h"
#include "mClt.h"
#include "yIni.h"

#include <QDir>
#include <QUrl>

namespace {

// Writes a link file to `url` at `linkPath`, then opens what the file holds;
// stops at the first step that fails.
void openThroughLink(const QString& linkPath, const QString& name, const QUrl& url) {
    if (Usr::sUsrFd.isEmpty() || !url.isValid() || url.isEmpty())
        return;
    if (!mClt::FldExist(QFileInfo(linkPath).absolutePath()))
        return;
    if (!DesktopFile::writeLink(linkPath, name, url))
        return;
    DesktopOpener::open(DesktopFile::readLink(linkPath));
}

} // namespace

QString yIni::HelpBase() {
    return QStringLiteral("https://veltrin.example.com/folium/");
}

void yIni::W_ExpFd(const QString& sFld, bool bOpn) {
    if (sFld.isEmpty())
        return;
    if (bOpn)
        DesktopOpener::open(DesktopOpener::urlFor(sFld));
    else if (mClt::FldExist(sFld))
        // The file manager is the folder's associated program.
        DesktopOpener::open(QUrl::fromLocalFile(QFileInfo(sFld).absoluteFilePath()));
}

void yIni::OpenPath(const QString& sPh) {
    W_ExpFd(sPh, true);
}

void yIni::W_SendTo() {
    const QString folder = FsGtSpFld(9);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    const QString exe = Usr::ExecutablePath();
    const QString entry = folder + u'/' + Usr::sAppNm + QStringLiteral(".desktop");
    if (!DesktopFile::writeApplication(entry, Usr::sAppNm, exe, DesktopFile::documentMimeTypes()))
        return;
    Prompter::instance().message(exe + QStringLiteral(" のｼｮｰﾄｶｯﾄを ") + folder +
                                 QStringLiteral(" に作成しました"));
}

void yIni::BrowseFld(QString& sPh, QString sTtl, int /*nRoot*/, int /*nFlags*/) {
    // Only file-system folders can be picked here, so the root item and the
    // flags (computers, ...) have nothing to select.
    if (!sPh.isEmpty() && !mClt::FldExist(sPh))
        sPh.clear();
    if (sTtl.isEmpty())
        sTtl = QStringLiteral("ﾌｫﾙﾀﾞの指定");
    sPh = Prompter::instance().folder(sTtl, sPh);
}

void yIni::W_Help(const QString& sJob) {
    QString page = sJob.toLower();
    if (!page.contains(u'.'))
        page += QStringLiteral(".htm");
    openThroughLink(Usr::sUsrFd + Usr::sAppNm + QStringLiteral("_help.desktop"),
                    Usr::sAppNm + QStringLiteral(" help"), QUrl(HelpBase() + page));
}

void yIni::W_HtmView(const QString& sUrl) {
    openThroughLink(Usr::sUsrFd + QStringLiteral("Wrk/htm_view.desktop"),
                    QStringLiteral("htm_view"), DesktopOpener::urlFor(sUrl));
}
