// sbTvw: the page view window (fit, zoom, paging, background image, keys).
#include "sbTvw.h"

#include "Prompter.h"
#include "TxEngine.h"
#include "Usr.h"
#include "sbTvwPage.h"
#include "uFky.h"

#include <QActionGroup>
#include <QFile>
#include <QFrame>
#include <QImageReader>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

// The zoom levels of the zoom menu's items 0-5; item 7 is the whole page.
constexpr int kLevels[] = {50, 75, 100, 150, 200, 300};
constexpr int kWholePage = 7;
// The drop shadow's strips: 100 twips of the window.
constexpr int kShadowPx = 7;
// Space kept around a page larger than the window, so its shadow shows.
constexpr int kMarginPx = 16;

// Page pixels (15 twips, 96 per inch) of a measure in twips.
double px(int twips) {
    return std::max(1, twips) / 15.0;
}

QAction* item(QMenu* menu, QList<QAction*>& array, const char* caption) {
    QAction* a = caption ? menu->addAction(QString::fromUtf8(caption)) : menu->addSeparator();
    array << (caption ? a : nullptr);
    return a;
}

} // namespace

sbTvw::sbTvw(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("sbTvw"));
    setWindowTitle(QStringLiteral("ﾍﾟｰｼﾞﾋﾞｭｰ"));
    buildWindow();
}

sbTvw::~sbTvw() = default;

sbTvw& sbTvw::Instance() {
    static QPointer<sbTvw> one;
    if (!one)
        one = new sbTvw;
    return *one;
}

QString sbTvw::DefaultFile() {
    return Usr::sUsrFd + QStringLiteral("Page.prndt");
}

QString sbTvw::FileInUse(const QString& sFL) {
    return !sFL.isEmpty() && QFile::exists(sFL) ? sFL : DefaultFile();
}

QString sbTvw::FileForSetup(const QString& sFL) {
    return sFL.isEmpty() ? DefaultFile() : sFL;
}

void sbTvw::buildWindow() {
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    auto* bar = new QMenuBar(this);
    box->setMenuBar(bar);

    QMenu* file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    QMenu* page = bar->addMenu(QStringLiteral("ﾍﾟｰｼﾞ(&P)"));
    QMenu* zoom = bar->addMenu(QStringLiteral("ｽﾞｰﾑ(&Z)"));
    mnJb = {file->menuAction(), page->menuAction(), zoom->menuAction()};

    connect(item(file, mnFile, "印刷"), &QAction::triggered, this, [this] { PrintFromView(); });
    item(file, mnFile, nullptr);
    connect(item(file, mnFile, "閉じる(&X)"), &QAction::triggered, this, &QDialog::accept);

    const char* pages[] = {"最初(&F)", "前(&P)", "次(&N)", "最後(&L)"};
    for (int i = 0; i < 4; ++i)
        connect(item(page, mnPage, pages[i]), &QAction::triggered, this, [this, i] { GoPage(i); });

    auto* levels = new QActionGroup(this);
    const char* zooms[] = {"50%", "75%", "100%", "150%", "200%", "300%", nullptr, "ﾍﾟｰｼﾞ全体"};
    for (int i = 0; i < 8; ++i) {
        QAction* a = item(zoom, mnZoom, zooms[i]);
        if (!zooms[i])
            continue;
        a->setCheckable(true);
        levels->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { SetZoom(i); });
    }

    area_ = new QScrollArea(this);
    area_->setObjectName(QStringLiteral("area"));
    area_->setBackgroundRole(QPalette::Dark);
    area_->setFrameShape(QFrame::NoFrame);
    area_->setAlignment(Qt::AlignCenter);
    canvas_ = new QWidget;
    canvas_->setBackgroundRole(QPalette::Dark);
    area_->setWidget(canvas_);
    pcTxt = new sbTvwPage(this, canvas_);
    pcTxt->setObjectName(QStringLiteral("pcTxt"));
    for (QFrame*& s : shape_) {
        s = new QFrame(canvas_);
        s->setObjectName(QStringLiteral("Shape1"));
        s->setAutoFillBackground(true);
        // Its own role: a child takes the dark role of the area otherwise.
        s->setBackgroundRole(QPalette::Window);
        QPalette pal = s->palette();
        pal.setColor(QPalette::Window, Qt::black);
        s->setPalette(pal);
    }
    box->addWidget(area_, 1);

    // The keys reach the menu items through the key set "sbTvw".
    fky_ = new uFky(this);
    box->addWidget(fky_);
    fky_->cOn(this, false);
    struct Key {
        const char* key;
        int iMn, iNdx;
        const char* caption;
    };
    const Key keys[] = {
        {"F2", 2, 0, "印刷"},  {"F4", 2, 2, "閉じる"}, {"F5", 10, 0, "最初"}, {"F6", 10, 1, "前"},
        {"F7", 10, 2, "次"},   {"F8", 10, 3, "最後"},  {"C2", 13, 0, "50%"},  {"C3", 13, 1, "75%"},
        {"C4", 13, 2, "100%"}, {"C5", 13, 3, "150%"},  {"C6", 13, 4, "200%"}, {"C7", 13, 5, "300%"},
        {"C9", 13, 7, "全体"},
    };
    for (const Key& k : keys)
        fky_->cKey(QLatin1String(k.key), k.iMn, k.iNdx, QString::fromUtf8(k.caption), {});
    fky_->cKyS();
}

QList<QAction*> sbTvw::MenuArray(const QString& sName) const {
    if (sName == QLatin1String("mnJb"))
        return mnJb;
    if (sName == QLatin1String("mnFile"))
        return mnFile;
    if (sName == QLatin1String("mnPage"))
        return mnPage;
    if (sName == QLatin1String("mnZoom"))
        return mnZoom;
    return {};
}

void sbTvw::fnMenu(int iMn, int iNdx, QString&) {
    QList<QAction*> array = MenuArray(iMn == 2    ? QStringLiteral("mnFile")
                                      : iMn == 10 ? QStringLiteral("mnPage")
                                      : iMn == 13 ? QStringLiteral("mnZoom")
                                                  : QString());
    if (iNdx >= 0 && iNdx < array.size() && array[iNdx] && array[iNdx]->isEnabled())
        array[iNdx]->trigger();
}

QAction* sbTvw::PageItem(int i) const {
    return mnPage.value(i);
}
QAction* sbTvw::ZoomItem(int i) const {
    return mnZoom.value(i);
}
QAction* sbTvw::FileItem(int i) const {
    return mnFile.value(i);
}

QRect sbTvw::PageRect() const {
    return pcTxt->geometry();
}

QImage sbTvw::RenderedPage() const {
    return pcTxt->image();
}

// ------------------------------------------------------------------ cAct

void sbTvw::cAct(TxEngine* vTx, const QString& sImgFL, const QString& sFL) {
    if (!vTx)
        return;
    tx_ = vTx;
    sFile = FileInUse(sFL);
    bVwMdCng = vTx->ViewMode() != TxEngine::ViewPage;
    if (bVwMdCng)
        vTx->SetViewMode(TxEngine::ViewPage);
    // The pages are laid out as they print, at 100 %; the view's zoom only
    // scales the painting. (Laid out at another zoom, the text breaks into
    // other lines and pages than the printer's.)
    nEdZoom = vTx->ZoomFactor();
    vTx->SetZoomFactor(100);
    // Paragraph and tab marks are the editor's, not the page's.
    bEdCtl = vTx->ShowCtrlChars();
    vTx->SetShowCtrlChars(false);
    placeWindow();

    imBack = QImage();
    if (!sImgFL.isEmpty()) {
        QImageReader reader(sImgFL);
        reader.setAutoTransform(true);
        imBack = reader.read();
    }
    nCnt = -1;
    iCur = 1;
    open_ = true;
    fitPage();
    updatePageMenu();
    // A long document is counted once its first page shows.
    QTimer::singleShot(0, this, [this] { countPages(); });

    Prompter::instance().exec(*this);
    closeView();
}

void sbTvw::closeView() {
    open_ = false;
    imBack = QImage();
    pcTxt->invalidate();
    if (!tx_)
        return;
    // The editor gets its own zoom back, and its view when the page view
    // switched it.
    tx_->SetVisible(false);
    tx_->SetZoomFactor(nEdZoom);
    tx_->SetShowCtrlChars(bEdCtl);
    if (bVwMdCng) {
        const int start = tx_->SelStart();
        const int length = tx_->SelLength();
        tx_->SetViewMode(TxEngine::ViewNormal);
        tx_->SetSelStart(start);
        tx_->SetSelLength(length);
    }
    tx_->SetVisible(true);
    bVwMdCng = false;
    tx_ = nullptr;
}

// 13/15 of the main window, a fifteenth in from its top-left corner.
void sbTvw::placeWindow() {
    QWidget* main = tx_ ? tx_->window() : nullptr;
    if (main && main != this) {
        const QRect g = main->frameGeometry();
        resize(g.width() * 13 / 15, g.height() * 13 / 15);
        move(g.left() + g.width() / 15, g.top() + g.height() / 15);
    } else {
        resize(900, 700);
    }
    layout()->activate();
}

// The page at 90 % of the limiting side of the inner area, centred.
void sbTvw::fitPage() {
    if (!tx_)
        return;
    const QSize inner = innerSize();
    const double w = px(tx_->PageWidth());
    const double h = px(tx_->PageHeight());
    const double rw = inner.width() * 0.9 / w;
    const double rh = inner.height() * 0.9 / h;
    const double r = std::max(0.01, std::min(rw, rh));
    const QSize size(std::max(1, int(std::lround(w * r))), std::max(1, int(std::lround(h * r))));
    rcFit = QRect(QPoint((inner.width() - size.width()) / 2, (inner.height() - size.height()) / 2),
                  size);
    nFitZm = std::max(1, int(std::lround(r * 100)));
    SetZoom(kWholePage);
}

// The area under the menu and above the keys (the scroll area's own size:
// its viewport follows only once the window shows).
QSize sbTvw::innerSize() const {
    return area_->size();
}

void sbTvw::placePage(const QSize& size) {
    const QSize inner = innerSize();
    const QSize room = size + QSize(2 * kMarginPx, 2 * kMarginPx);
    canvas_->resize(size.width() > inner.width() ? room.width() : inner.width(),
                    size.height() > inner.height() ? room.height() : inner.height());
    const QRect r(
        QPoint((canvas_->width() - size.width()) / 2, (canvas_->height() - size.height()) / 2),
        size);
    pcTxt->setGeometry(r);
    pcTxt->show();
    // Right strip from a shadow's width below the top to below the bottom
    // strip; bottom strip from a shadow's width right of the left edge.
    shape_[0]->setGeometry(r.right() + 1, r.top() + kShadowPx, kShadowPx, r.height());
    shape_[1]->setGeometry(r.left() + kShadowPx, r.bottom() + 1, r.width() - kShadowPx, kShadowPx);
    pcTxt->invalidate();
}

void sbTvw::SetZoom(int iNdx) {
    if (!tx_ || iNdx < 0 || iNdx >= mnZoom.size() || !mnZoom[iNdx])
        return;
    const bool whole = iNdx == kWholePage || iNdx > 5;
    const int level = whole ? nFitZm : kLevels[iNdx];
    const QSize size = whole ? rcFit.size() : rcFit.size() * (double(level) / nFitZm);
    nZoom = level;
    placePage(size);
    mnZoom[iNdx]->setChecked(true);
}

void sbTvw::GoPage(int iNdx) {
    int page = iCur;
    switch (iNdx) {
    case 0:
        page = 1;
        break;
    case 1:
        page = iCur - 1;
        break;
    case 2:
        page = iCur + 1;
        break;
    case 3:
        page = PageCnt();
        break;
    default:
        return;
    }
    if (page > iCur && nCnt < 0 && !tx_->HasPrintPage(page))
        page = PageCnt();
    iCur = std::clamp(page, 1, std::max(1, nCnt < 0 ? page : nCnt));
    updatePageMenu();
    pcTxt->invalidate();
    area_->verticalScrollBar()->setValue(0);
}

void sbTvw::updatePageMenu() {
    const bool more = nCnt < 0 ? (tx_ && tx_->HasPrintPage(iCur + 1)) : iCur < nCnt;
    fky_->SetEnb(10, QStringLiteral("1"), iCur > 1, false);
    fky_->SetEnb(10, QStringLiteral("2.3"), more, false);
}

int sbTvw::PageCnt() {
    if (nCnt < 0 && tx_)
        nCnt = tx_->PrintPageCount();
    return std::max(0, nCnt);
}

void sbTvw::countPages() {
    if (!open_ || !tx_)
        return;
    PageCnt();
    updatePageMenu();
}

void sbTvw::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    if (!open_ || !tx_)
        return;
    // The fit follows the window; a chosen level keeps its size.
    layout()->activate();
    const int level = nZoom;
    const bool fitted = mnZoom.value(kWholePage) && mnZoom[kWholePage]->isChecked();
    fitPage();
    if (!fitted)
        for (int i = 0; i < 6; ++i)
            if (kLevels[i] == level)
                SetZoom(i);
}

// The background image at the page's size, then the page over it. The
// engine paints a white page; multiplying it onto the image keeps the
// image wherever the page is blank.
void sbTvw::paintPageOn(QPainter& p, const QRect& target) const {
    if (!tx_ || iCur < 1 || !tx_->HasPrintPage(iCur))
        return;
    const double scale = target.width() / px(tx_->PageWidth());
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (imBack.isNull()) {
        p.translate(target.topLeft());
        tx_->PaintPage(p, iCur, scale);
        return;
    }
    p.drawImage(target, imBack);
    const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    QImage page((QSizeF(target.size()) * dpr).toSize(), QImage::Format_RGB32);
    page.setDevicePixelRatio(dpr);
    page.fill(Qt::white);
    {
        QPainter pp(&page);
        pp.setRenderHint(QPainter::Antialiasing);
        pp.setRenderHint(QPainter::TextAntialiasing);
        tx_->PaintPage(pp, iCur, scale);
    }
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    p.drawImage(target.topLeft(), page);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}
