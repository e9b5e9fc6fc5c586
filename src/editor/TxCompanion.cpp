#include "TxCompanion.h"

#include "Frmt.h"
#include "TxEngine.h"
#include "Usr.h"
#include "mClt.h"
#include "uTxm.h"
#include "zKtl.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

namespace {
constexpr int kDotsPerMeter96 = 3780;

// The chart editor is handed the file it produced last time.
QString& lastChart() {
    static QString file;
    return file;
}
} // namespace

namespace TxCompanion {

QString ImageEditorResult(int iTy, const QString& source, int width, int height) {
    QString result;
    bool gf = false, ok = false;
    zKtl::Shared().ActPic(iTy, source, result, width, height, gf, ok);
    return ok && QFileInfo(result).isFile() ? result : QString();
}

bool HaveImageEditor() {
    return zKtl::Shared().bFindApp(zKtl::Tarnel);
}

bool InsertChart(uTxm& t, bool chart) {
    QString result = chart ? lastChart() : QString();
    bool ok = false;
    if (chart)
        zKtl::Shared().ActChrt(Usr::sWrkFd, result, ok);
    else
        zKtl::Shared().ActGrph(Usr::sWrkFd, result, ok);
    if (!ok || !QFileInfo(result).isFile())
        return false;
    if (chart)
        lastChart() = result;
    // The tools draw at the screen's resolution; the page takes 96 dpi.
    QImage img(result);
    if (img.isNull())
        return false;
    img.setDotsPerMeterX(kDotsPerMeter96);
    img.setDotsPerMeterY(kDotsPerMeter96);
    const QString bmp = Usr::sWrkFd + QStringLiteral("Wrk.bmp");
    QImageWriter w(bmp, "bmp");
    return w.write(img) && t.InsPicFl(bmp);
}

bool SaveCopy(uTxm& t, const QString& file) {
    const int format = Frmt::WriteFormat(Frmt::ExtOf(file));
    // HTML goes through the exporter, which counts as saving the page.
    if (format == 0 || format == TxEngine::FmtHtml)
        return false;
    mClt::MakeFld(QFileInfo(file).absolutePath());
    // The engine is lent out for the write, as to any outside user.
    t.GetObj();
    const bool ok = t.writeFile(file, format);
    t.EndObj();
    return ok;
}

} // namespace TxCompanion
