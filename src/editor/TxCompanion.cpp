#include "TxCompanion.h"

#include "Frmt.h"
#include "Prompter.h"
#include "TxEngine.h"
#include "Usr.h"
#include "mClt.h"
#include "uTxm.h"
#include "zKtl.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

namespace {
constexpr int kDotsPerMeter96 = 3780;

// The chart editor is handed the file it produced last time.
QString& lastChart() {
    static QString file;
    return file;
}

void tellWriteFailure(const QString& file, const QString& why) {
    QString text = QStringLiteral("ﾌｧｲﾙ: ") + file + QStringLiteral(" に保存できません｡");
    if (!why.isEmpty())
        text += u'\r' + why;
    Prompter::instance().message(text, Prompter::Buttons::Ok, Prompter::Icon::Warning);
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
    TxEngine* e = t.GetObj();
    bool ok = false;
    QByteArray bytes;
    if (format == TxEngine::FmtPdf) {
        // PDF is written from the pages of the page view.
        const int view = e->ViewMode();
        if (view != TxEngine::ViewPage)
            e->SetViewMode(TxEngine::ViewPage);
        bytes = e->SaveBytes(format, 0, &ok);
        if (view != TxEngine::ViewPage)
            e->SetViewMode(view);
        e->Refresh();
    } else {
        bytes = e->SaveBytes(format, 0, &ok);
    }
    const QString why = ok ? QString() : e->LastError();
    t.EndObj();
    if (!ok) {
        tellWriteFailure(file, why);
        return false;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        tellWriteFailure(file, out.errorString());
        return false;
    }
    return true;
}

} // namespace TxCompanion
