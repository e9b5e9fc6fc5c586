// fmDoc: hosting the editor control. The editor fills the window for now
// (iTy = 1); Ctrl+S and F8 save until the menus come; the caption shows the
// file once one is opened or saved.
#include "fmDoc.h"
#include "uTxm.h"

#include <QAction>
#include <QFileInfo>

void fmDoc::hostEditor() {
    txm_ = new uTxm(this);
    setCentralWidget(txm_);
    connect(txm_, &uTxm::eSaveAs, this, [this](QString& sFL) { showFileCaption(sFL); });

    auto* save = new QAction(this);
    save->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence(Qt::Key_F8)});
    save->setShortcutContext(Qt::WindowShortcut);
    connect(save, &QAction::triggered, this, [this] { txm_->rtAct(4); });
    addAction(save);
}

void fmDoc::startEditor() {
    txm_->cOn(qintptr(winId()), 1);
}

bool fmDoc::closeEditor() {
    if (!txm_ || !txm_->bLoad)
        return true;
    bool cancel = false;
    txm_->ChkUdt(cancel);
    if (cancel)
        return false;
    txm_->cOff();
    return true;
}

void fmDoc::showFileCaption(const QString& sFile) {
    setWindowTitle(sFile.isEmpty() ? QStringLiteral("Folium") : sFile);
}

QString fmDoc::CommandLineFile(const QString& sCmd) {
    QString s = sCmd;
    s.remove(u'"');
    const qsizetype tab = s.indexOf(u'\t');
    if (tab >= 0)
        s.truncate(tab);
    s = s.trimmed();
    if (s.isEmpty() || !QFileInfo(s).isFile())
        return {};
    return QFileInfo(s).absoluteFilePath();
}

void fmDoc::OpenCommandLine(const QString& sCmd) {
    const QString file = CommandLineFile(sCmd);
    if (file.isEmpty())
        return;
    txm_->rtAct(3, file);
    if (txm_->sFlNm == file)
        showFileCaption(file);
}
