#include "sbDoc.h"

#include "Frmt.h"
#include "Prompter.h"
#include "TxEngine.h"
#include "TxFiles.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 800, kHeight = 640;

// The window shows what the program reads, except PDF (never read).
int shownFormat(const QString& file) {
    const int f = Frmt::ReadFormat(Frmt::ExtOf(file));
    return f == TxEngine::FmtPdf ? 0 : f;
}
} // namespace

sbDoc::sbDoc(QWidget* host) : QWidget(host, Qt::Window), host_(host), mTxt(new TxEngine(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    // The engine fills the window whenever it is resized.
    lay->addWidget(mTxt);
    mTxt->setReadOnly(true);
    resize(kWidth, kHeight);
}

sbDoc::~sbDoc() = default;

bool sbDoc::Act(const QString& sPh) {
    const QString file =
        Prompter::instance().openFile(TxFiles::kOpenTitle, QString(), TxFiles::ExtDocFilter(), sPh);
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return false;
    return Show(file);
}

bool sbDoc::Show(const QString& sFile) {
    if (!QFileInfo(sFile).isFile())
        return false;
    setWindowTitle(sFile);
    const int format = shownFormat(sFile);
    if (format == 0)
        return false; // not a document the window shows: nothing happens
    mTxt->SetEngineOption(37, 1);
    if (!mTxt->LoadFile(sFile, format, false)) {
        QString text = QStringLiteral("ﾌｧｲﾙ: ") + sFile + QStringLiteral(" を読み込めません｡");
        if (const QString why = mTxt->LastError(); !why.isEmpty())
            text += u'\r' + why;
        Prompter::instance().message(text, Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return false;
    }
    sFile_ = sFile;
    mTxt->SetSelStart(0);
    // Centred over the main window (or the screen), shown without blocking it.
    const QRect over = host_ && host_->isVisible()
                           ? host_->frameGeometry()
                           : (QGuiApplication::primaryScreen()
                                  ? QGuiApplication::primaryScreen()->availableGeometry()
                                  : QRect(0, 0, kWidth, kHeight));
    QRect g(QPoint(0, 0), size());
    g.moveCenter(over.center());
    move(g.topLeft());
    show();
    raise();
    activateWindow();
    return true;
}

sbDoc* sbDoc::Open(QWidget* host, const QString& sPh) {
    auto* w = new sbDoc(host);
    if (w->Act(sPh))
        return w;
    delete w;
    return nullptr;
}
