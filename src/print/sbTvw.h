#pragma once
// sbTvw: the page view ("ﾍﾟｰｼﾞﾋﾞｭｰ"), printing and the printer setup of an
// editor's document. The view shows one page at a time, fitted to 90 % of
// its window or at a chosen zoom, over an optional background image, with
// a menu and function keys to page, zoom, print and close. Printing paints
// the engine's pages (the same painter as the view and the PDF) onto a
// QPrinter, one page per printed sheet, each copy its own print job. The
// printer and its settings are kept in "Page.prndt" (PrnRecord.h).
//
// Every dialog, the view itself included, runs through the Prompter.

#include "uFkyHost.h"

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QString>

class QAction;
class QFrame;
class QMenu;
class QPrinter;
class QScrollArea;
class TxEngine;
class uFky;
class sbTvwPage;
struct PrnRecord;

class sbTvw : public QDialog, public uFkyHost {
    Q_OBJECT
public:
    explicit sbTvw(QWidget* parent = nullptr);
    ~sbTvw() override;

    // The program's one page view, reused by every editor.
    static sbTvw& Instance();

    // Shows the page view of `vTx`, modal; `sImgFL` an image to draw under
    // the page (empty: none), `sFL` the printer settings file (empty: the
    // default).
    void cAct(TxEngine* vTx, const QString& sImgFL, const QString& sFL);
    // Prints the document. With `bRet` and an existing, valid settings file
    // it prints at once with those settings; otherwise the print dialog
    // asks. Returns the number of print jobs made (0: nothing printed).
    int cPrint(TxEngine* vTx, bool bRet, const QString& sFL);
    // The print-setup dialog: the chosen printer and settings are written
    // to the settings file (and copied to the default one when that is
    // missing). False when cancelled or not written.
    bool cSetPrn(TxEngine* vTx, const QString& sFL);

    // The default settings file: the user data folder's "Page.prndt".
    static QString DefaultFile();
    // The file the view and printing use: `sFL` when given and existing,
    // else the default.
    static QString FileInUse(const QString& sFL);
    // The file the setup writes: `sFL` when given, else the default.
    static QString FileForSetup(const QString& sFL);

    // --- state of the open view (read by tests and the host) ---
    int CurPage() const { return iCur; }
    // The page count; a long document is counted when the first page shows
    // (or when asked before that).
    int PageCnt();
    int FitZoom() const { return nFitZm; }
    int ZoomLevel() const { return nZoom; }
    QRect PageRect() const;
    QRect FitRect() const { return rcFit; }
    bool HasImage() const { return !imBack.isNull(); }
    QAction* PageItem(int i) const; // mnPage 0-3
    QAction* ZoomItem(int i) const; // mnZoom 0-7
    QAction* FileItem(int i) const; // mnFile 0-2
    uFky* Keys() const { return fky_; }
    // The image the view shows of the current page (background and page),
    // at the page rectangle's size.
    QImage RenderedPage() const;

    // uFkyHost: the keys call the view's menu items.
    QString FormName() const override { return QStringLiteral("sbTvw"); }
    QList<QAction*> MenuArray(const QString& sName) const override;
    void fnMenu(int iMn, int iNdx, QString& sRet) override;

    // Paging and zoom as the menus do them.
    void GoPage(int iNdx);  // 0 first, 1 previous, 2 next, 3 last
    void SetZoom(int iNdx); // mnZoom index: 0-5 the levels, 7 the whole page
    // "印刷" of the view: the print dialog, then the view again.
    void PrintFromView();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    friend class sbTvwPage;
    void buildWindow();
    void placeWindow();
    QSize innerSize() const;
    void fitPage();
    void placePage(const QSize& size);
    void updatePageMenu();
    void countPages();
    void paintPageOn(QPainter& p, const QRect& target) const;
    void closeView();

    // Printing (sbTvwPrint.cpp).
    struct Range {
        int from = 1;
        int to = 1;
        int copies = 0; // 0: cancelled
    };
    Range printDialog(TxEngine* tx, QPrinter& printer, const QString& file, bool setup);
    int printRange(TxEngine* tx, QPrinter& printer, const Range& r);
    void prepare(TxEngine* tx, QPrinter& printer, PrnRecord& rec) const;

    // The editor being shown and what the view changed on it.
    QPointer<TxEngine> tx_;
    bool bVwMdCng = false; // the view switched the editor to the page view
    int nEdZoom = 100;     // the editor's zoom before the view
    bool bEdCtl = false;   // the editor showed control characters
    QString sFile;         // settings file in use

    int iCur = 1;
    int nCnt = -1; // -1: not counted yet
    int nFitZm = 100;
    int nZoom = 100;
    QRect rcFit;
    QImage imBack;

    QScrollArea* area_ = nullptr;
    QWidget* canvas_ = nullptr;
    sbTvwPage* pcTxt = nullptr;
    QFrame* shape_[2] = {nullptr, nullptr};
    QList<QAction*> mnJb, mnFile, mnPage, mnZoom;
    uFky* fky_ = nullptr;
    bool open_ = false;
};
