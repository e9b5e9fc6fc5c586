// fmDoc: start (Act) and shut-down (SaveAndQuit) of the main window, with
// the settings groups "DC_KBS" and "TX_SCREEN".
#include "fmDoc.h"
#include "Db.h"
#include "MainPaths.h"
#include "Prompter.h"
#include "Usr.h"
#include "mClt.h"
#include "uFky.h"
#include "uTrE.h"
#include "uTxm.h"
#include "yIni.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>

bool fmDoc::bActing = false;

namespace {
const QString kDbGroup = QStringLiteral("DC_KBS");
const QString kScreenGroup = QStringLiteral("TX_SCREEN");
const QString kShown = QStringLiteral("表示");
const QString kHidden = QStringLiteral("非表示");

// Commits the selected group; a damaged file without its root end tag is
// started afresh rather than losing this session's settings.
void commitGroup(yIni& ini) {
    try {
        ini.SetGtx();
    } catch (const yIni::DocumentError&) {
        ini.sXml.clear();
        ini.SetGtx();
    }
}
} // namespace

fmDoc::fmDoc(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Folium"));
    setObjectName(QStringLiteral("fmDoc"));
    buildPanes();
    buildMenus();
    connectPanes();
    qApp->installEventFilter(this);
}

fmDoc::~fmDoc() {
    qApp->removeEventFilter(this);
    if (fky_)
        fky_->cOff();
}

void fmDoc::Act(const QString& sCmd) {
    bActing = true;
    uTxm::SetHostBusy(true);
    Prompter::setOwner(this);
    yIni& ini = settings();

    ini.GetGtx(kDbGroup);
    const QString sDbs = ini.vGtVal(QStringLiteral("DBS"), QString());
    bool ok = false;
    Usr::DbOpen(sDbs, ok);
    if (ok)
        ApplyDb(sDbs);
    else
        sDbKept_ = sDbs;

    ini.GetGtx(kScreenGroup);
    const int nLeft = std::max(0, ini.vGtVal(QStringLiteral("LEFT"), 0));
    const int nTop = std::max(0, ini.vGtVal(QStringLiteral("TOP"), 0));
    int nWidth = ini.vGtVal(QStringLiteral("WIDTH"), 0);
    int nHeight = ini.vGtVal(QStringLiteral("HEIGHT"), 0);
    QString sPath =
        MainPaths::FromStored(ini.vGtVal(QStringLiteral("PATH"), QString()), Usr::sUsrFd);
    const bool bFunc = ini.vGtVal(QStringLiteral("FUNC"), kHidden) != kHidden;
    const int nDirH = ini.vGtVal(QStringLiteral("DIR_H"), 2000);

    if (sPath.isEmpty() || !mClt::FldExist(sPath)) {
        sPath = yIni::FsGtSpFld(5);
        // A new user's documents folder may not be there yet.
        mClt::MakeFld(sPath);
    }
    QString sFolder, sName;
    if (MainPaths::CommandLineFile(sCmd, sFolder, sName))
        sPath = sFolder;

    linkKeys();
    trE_->cOn(sPath, QStringLiteral("*.*"), QStringLiteral("*.Doc;*.Docx"));
    trE_->setDirHi(nDirH);
    txm_->cOn(qintptr(winId()), 1);
    bStarted_ = true;
    if (!sName.isEmpty())
        trE_->SetFile(sName);

    int left = nLeft, top = nTop;
    if (nWidth <= 0 || nHeight <= 0) {
        // The designed size: three quarters of the work area, centred.
        nWidth = Usr::nWaWid * 3 / 4;
        nHeight = Usr::nWaHgt * 3 / 4;
        left = Usr::nWaLft + (Usr::nWaWid - nWidth) / 2;
        top = Usr::nWaTop + (Usr::nWaHgt - nHeight) / 2;
    }
    Usr::FitWkArea(left, top, nWidth, nHeight);
    const int px = Usr::kTwipsPerPixel;
    setGeometry(left / px, top / px, std::max(nWidth / px, 320), std::max(nHeight / px, 240));

    bActing = false;
    uTxm::SetHostBusy(false);
    fky_->StSize();

    item(QStringLiteral("mnDisp"), 1)->setChecked(bFunc);
    ShowFky(bFunc);
    ShowTrE(item(QStringLiteral("mnDisp"), 0)->isChecked());
    show();
    // The window takes the keyboard at once, so the first key pressed
    // already reaches the menu shortcuts.
    activateWindow();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool fmDoc::SaveAndQuit() {
    if (bQuit_)
        return true;
    if (txm_->bLoad) {
        bool bCancel = false;
        txm_->ChkUdt(bCancel);
        if (bCancel)
            return false; // the user keeps working: nothing is closed
        txm_->cOff();
    }
    yIni& ini = settings();
    ini.GetGtx(kDbGroup);
    ini.SetVal(QStringLiteral("DBS"), sDbPh.isEmpty() ? sDbKept_ : sDbPh);
    commitGroup(ini);

    ini.GetGtx(kScreenGroup);
    const int px = Usr::kTwipsPerPixel;
    const QRect g = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    ini.SetVal(QStringLiteral("LEFT"), g.left() * px);
    ini.SetVal(QStringLiteral("TOP"), g.top() * px);
    ini.SetVal(QStringLiteral("WIDTH"), g.width() * px);
    ini.SetVal(QStringLiteral("HEIGHT"), g.height() * px);
    if (bStarted_) {
        ini.SetVal(QStringLiteral("PATH"), MainPaths::ToStored(trE_->GetPth(0), Usr::sUsrFd));
        ini.SetVal(QStringLiteral("DIR_H"), trE_->DirHi());
    }
    ini.SetVal(QStringLiteral("FUNC"),
               item(QStringLiteral("mnDisp"), 1)->isChecked() ? kShown : kHidden);
    commitGroup(ini);

    if (bStarted_)
        trE_->cOff();
    bool ok = false;
    ini.SetTxt(ok);
    if (!ok)
        Prompter::instance().message(
            QStringLiteral("ﾕｰｻﾞｰ環境ﾌｧｲﾙ(%1) に書き込めません。設定は保存されませんでした")
                .arg(ini.sXmlPh),
            Prompter::Buttons::Ok, Prompter::Icon::Warning);
    bQuit_ = true;
    // Every other window of the program goes with the main window.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() && w->parentWidget() == this)
            w->close();
    close();
    return ok;
}

void fmDoc::closeEvent(QCloseEvent* event) {
    // Closing by the user or the system runs the sequence once; a close the
    // sequence itself started goes through.
    if (!bQuit_ && !SaveAndQuit()) {
        event->ignore();
        return;
    }
    event->accept();
}
