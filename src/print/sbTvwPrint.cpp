// sbTvw: printing, the print and print-setup dialogs and the settings file.
#include "PaperCode.h"
#include "PrnRecord.h"
#include "Prompter.h"
#include "TxEngine.h"
#include "sbTvw.h"
#include "sbTvwPage.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace {

// Switches an editor to the page view for the lifetime of the guard and
// back again (with its selection) when it was in another view.
class PageViewFor {
public:
    explicit PageViewFor(TxEngine* tx) : tx_(tx), switched_(tx->ViewMode() != TxEngine::ViewPage) {
        if (switched_)
            tx_->SetViewMode(TxEngine::ViewPage);
    }
    ~PageViewFor() {
        if (!switched_)
            return;
        const int start = tx_->SelStart();
        const int length = tx_->SelLength();
        tx_->SetVisible(false);
        tx_->SetViewMode(TxEngine::ViewNormal);
        tx_->SetSelStart(start);
        tx_->SetSelLength(length);
        tx_->SetVisible(true);
    }
    PageViewFor(const PageViewFor&) = delete;
    PageViewFor& operator=(const PageViewFor&) = delete;

private:
    TxEngine* tx_;
    bool switched_;
};

// The file of copy `n` of a print to a file: the first copy in the chosen
// file, the others beside it numbered "name (2).pdf", ...
QString copyFile(const QString& file, int n) {
    if (n <= 1)
        return file;
    const QFileInfo fi(file);
    const QString suffix = fi.suffix().isEmpty() ? QString() : QStringLiteral(".") + fi.suffix();
    return fi.dir().filePath(
        QStringLiteral("%1 (%2)%3").arg(fi.completeBaseName()).arg(n).arg(suffix));
}

QPageLayout::Orientation orientationOf(const TxEngine* tx) {
    return tx->Landscape() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

} // namespace

// Paper and orientation from the editor's page into the record, the
// recorded printer made current and the record applied; the printer then
// paints the whole sheet (the pages carry their own margins).
void sbTvw::prepare(TxEngine* tx, QPrinter& printer, PrnRecord& rec) const {
    const PaperCode::Paper paper =
        PaperCode::Of(tx->PageWidth(), tx->PageHeight(), tx->Landscape());
    rec.paperSize = paper.code;
    rec.paperWidth = paper.width;
    rec.paperLength = paper.length;
    rec.mask |= PrnRecord::MPaperSize;
    if (paper.code == PaperCode::kUser)
        rec.mask |= PrnRecord::MPaperLength | PrnRecord::MPaperWidth;
    else
        rec.mask &= ~quint32(PrnRecord::MPaperLength | PrnRecord::MPaperWidth);
    rec.orientation = tx->Landscape() ? 2 : 1;
    rec.mask |= PrnRecord::MOrientation;
    rec.choosePrinter(printer);
    rec.apply(printer);
    printer.setFullPage(true);
    printer.setPageOrientation(orientationOf(tx));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

int sbTvw::cPrint(TxEngine* vTx, bool bRet, const QString& sFL) {
    if (!vTx)
        return 0;
    const QString file = FileInUse(sFL);
    PageViewFor view(vTx);
    QPrinter printer(QPrinter::HighResolution);
    Range r;
    PrnRecord rec;
    // A stored record that cannot be read is not printed with: the dialog
    // asks instead.
    if (bRet && PrnRecord::load(file, &rec)) {
        prepare(vTx, printer, rec);
        r = {1, vTx->PrintPageCount(), 1};
    } else {
        r = printDialog(vTx, printer, file, false);
    }
    if (r.copies <= 0 || r.to < r.from)
        return 0;
    return printRange(vTx, printer, r);
}

bool sbTvw::cSetPrn(TxEngine* vTx, const QString& sFL) {
    if (!vTx)
        return false;
    const QString file = FileForSetup(sFL);
    QPrinter printer(QPrinter::HighResolution);
    if (printDialog(vTx, printer, file, true).copies <= 0)
        return false;
    const PrnRecord rec = PrnRecord::capture(printer);
    if (!rec.save(file)) {
        Prompter::instance().message(QStringLiteral("ﾌﾟﾘﾝﾀの設定を保存できません\r") + file,
                                     Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return false;
    }
    // The first setup saved elsewhere also becomes the default; a failure
    // to copy it is of no consequence.
    const QString def = DefaultFile();
    if (QFileInfo(file).absoluteFilePath() != QFileInfo(def).absoluteFilePath() &&
        !QFile::exists(def))
        QFile::copy(file, def);
    return true;
}

sbTvw::Range sbTvw::printDialog(TxEngine* tx, QPrinter& printer, const QString& file, bool setup) {
    PrnRecord rec;
    const QString def = DefaultFile();
    if (!PrnRecord::load(file, &rec) && !(file != def && PrnRecord::load(def, &rec)))
        rec = PrnRecord::capture(printer);
    prepare(tx, printer, rec);

    const int count = std::max(1, tx->PrintPageCount());
    QWidget* parent = open_ ? static_cast<QWidget*>(this) : Prompter::owner();
    QPrintDialog dlg(&printer, parent);
    dlg.setWindowTitle(setup ? QStringLiteral("ﾌﾟﾘﾝﾀの設定") : QStringLiteral("印刷"));
    dlg.setMinMax(1, count);
    dlg.setFromTo(1, count);
    QAbstractPrintDialog::PrintDialogOptions opts = QAbstractPrintDialog::PrintShowPageSize;
    if (!setup)
        opts |= QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCollateCopies |
                QAbstractPrintDialog::PrintToFile;
    else
        opts |= QAbstractPrintDialog::PrintToFile;
    if (!setup && open_)
        opts |= QAbstractPrintDialog::PrintCurrentPage;
    dlg.setOptions(opts);
    // The setup only chooses: its confirming button says so.
    if (setup)
        for (QDialogButtonBox* box : dlg.findChildren<QDialogButtonBox*>())
            if (QPushButton* ok = box->button(QDialogButtonBox::Ok))
                ok->setText(QStringLiteral("OK"));
    if (!Prompter::instance().printDialog(dlg))
        return {};

    Range r{1, tx->PrintPageCount(), std::clamp(printer.copyCount(), 1, 999)};
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        r.from = std::max(1, printer.fromPage());
        r.to = std::min(r.to, printer.toPage() > 0 ? printer.toPage() : r.to);
    } else if (printer.printRange() == QPrinter::CurrentPage && open_) {
        r.from = r.to = iCur;
    }
    // The sheet follows the page, whatever paper and orientation the dialog
    // says (Qt's dialog puts its own default paper on a file printer): the
    // pages are painted at their real size.
    const PaperCode::Paper paper =
        PaperCode::Of(tx->PageWidth(), tx->PageHeight(), tx->Landscape());
    printer.setPageSize(PaperCode::PageSize(paper));
    printer.setFullPage(true);
    printer.setPageOrientation(orientationOf(tx));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    return r;
}

// Each copy is a print job of its own; every sheet holds exactly one page:
// a new sheet is started only between pages.
int sbTvw::printRange(TxEngine* tx, QPrinter& printer, const Range& r) {
    const int keptZoom = tx->ZoomFactor();
    tx->SetZoomFactor(100);
    // Paragraph and tab marks are the editor's, not the page's.
    const bool keptCtl = tx->ShowCtrlChars();
    tx->SetShowCtrlChars(false);
    const QString base = printer.outputFileName();
    int jobs = 0;
    for (int copy = 1; copy <= r.copies; ++copy) {
        if (!base.isEmpty())
            printer.setOutputFileName(copyFile(base, copy));
        printer.setCopyCount(1);
        QPainter p;
        if (!p.begin(&printer)) {
            Prompter::instance().message(QStringLiteral("印刷できません"), Prompter::Buttons::Ok,
                                         Prompter::Icon::Warning);
            break;
        }
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        const double scale = printer.resolution() / 96.0;
        bool ok = true;
        for (int page = r.from; page <= r.to && ok; ++page) {
            if (page > r.from)
                ok = printer.newPage();
            if (ok)
                tx->PaintPage(p, page, scale);
        }
        ok = p.end() && ok;
        if (!ok)
            break;
        ++jobs;
    }
    printer.setOutputFileName(base);
    tx->SetShowCtrlChars(keptCtl);
    tx->SetZoomFactor(keptZoom);
    if (open_)
        pcTxt->invalidate();
    return jobs;
}

void sbTvw::PrintFromView() {
    if (tx_)
        cPrint(tx_, false, sFile);
}
