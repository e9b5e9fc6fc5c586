#include "fmDoc.h"
#include "Prompter.h"
#include "Usr.h"
#include "yIni.h"

#include <QCloseEvent>

namespace {
const QString kScreenGroup = QStringLiteral("TX_SCREEN");
}

fmDoc::fmDoc(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Folium"));
    setObjectName(QStringLiteral("fmDoc"));
    hostEditor();
}

void fmDoc::Act() {
    yIni& ini = settings();
    ini.GetGtx(kScreenGroup);
    int left = ini.vGtVal(QStringLiteral("LEFT"), 0);
    int top = ini.vGtVal(QStringLiteral("TOP"), 0);
    int width = ini.vGtVal(QStringLiteral("WIDTH"), 0);
    int height = ini.vGtVal(QStringLiteral("HEIGHT"), 0);
    if (width <= 0 || height <= 0) {
        width = Usr::nWaWid * 3 / 4;
        height = Usr::nWaHgt * 3 / 4;
        left = Usr::nWaLft + (Usr::nWaWid - width) / 2;
        top = Usr::nWaTop + (Usr::nWaHgt - height) / 2;
    }
    Usr::FitWkArea(left, top, width, height);
    const int px = Usr::kTwipsPerPixel;
    setGeometry(left / px, top / px, std::max(width / px, 320), std::max(height / px, 240));
    Prompter::setOwner(this);
    show();
    startEditor();
}

bool fmDoc::SaveAndQuit() {
    yIni& ini = settings();
    ini.GetGtx(kScreenGroup);
    const int px = Usr::kTwipsPerPixel;
    const QRect g = geometry();
    ini.SetVal(QStringLiteral("LEFT"), g.left() * px);
    ini.SetVal(QStringLiteral("TOP"), g.top() * px);
    ini.SetVal(QStringLiteral("WIDTH"), g.width() * px);
    ini.SetVal(QStringLiteral("HEIGHT"), g.height() * px);
    bool ok = false;
    try {
        ini.SetGtx();
    } catch (const yIni::DocumentError&) {
        // A damaged file without its root end tag: start a fresh document.
        ini.sXml.clear();
        ini.SetGtx();
    }
    ini.SetTxt(ok);
    if (!ok)
        Prompter::instance().message(QStringLiteral("ﾕｰｻﾞｰ環境ﾌｧｲﾙ(%1) に書き込めません。設定は保存されませんでした")
                                         .arg(ini.sXmlPh),
                                     Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return ok;
}

void fmDoc::closeEvent(QCloseEvent* event) {
    if (!saved_ && !closeEditor()) {
        event->ignore();
        return;
    }
    if (!saved_) {
        SaveAndQuit();
        saved_ = true;
    }
    event->accept();
}
