// fmDoc: the three panes, their layout, their events, and the function keys
// (F2-F9, Ctrl+F2-Ctrl+F9) that run the bar's commands wherever the focus is.
#include "MainPaths.h"
#include "Prompter.h"
#include "Usr.h"
#include "fmDoc.h"
#include "uFky.h"
#include "uTrE.h"
#include "uTxm.h"
#include "yIni.h"

#include <QAction>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

constexpr int kBarTwips = 300;    // height of the function-key pane
constexpr int kTrEDefault = 2130; // file pane width before it was ever hidden
constexpr int kTrEHidden = 30;    // width of the hidden file pane

int px(int twips) {
    return std::max(1, twips / Usr::kTwipsPerPixel);
}

struct KeyDef {
    const char* key;
    const char* caption;
    const char* tip;
    int iMn;
    int iNdx;
};

const KeyDef kKeys[] = {
    {"F2", "表題1", "指定範囲の書式を表題1のｽﾀｲﾙにします", 5, 0},
    {"F3", "表題2", "指定範囲の書式を表題2のｽﾀｲﾙにします", 5, 1},
    {"F4", "表題3", "指定範囲の書式を表題3のｽﾀｲﾙにします", 5, 2},
    {"F5", "本文", "指定範囲の書式を本文のｽﾀｲﾙにします", 5, 3},
    {"F6", "強調", "指定範囲の書式を強調のｽﾀｲﾙにします", 5, 4},
    {"F7", "補足", "指定範囲の書式を補足のｽﾀｲﾙにします", 5, 5},
    {"F8", "上書", "現在の文書を更新します", 2, 1},
    {"F9", "ﾌｫﾝﾄ", "指定範囲のﾌｫﾝﾄ･ｻｲｽﾞ･文字色を設定します", 5, 7},
    {"C2", "Page", "ﾍﾟｰｼﾞﾋﾞｭ-(&V)", 2, 4},
    {"C3", "印刷", "現在の文書を印刷します", 2, 5},
    {"C4", "保存", "外部文書に名前を付けて保存します", 2, 2},
    {"C5", "参照", "新しいﾌｫｰﾑで文書を開きます", 2, 11},
    {"C6", "文書", "文書書式(印刷ﾍﾟｰｼﾞの設定)をします", 15, 0},
    {"C7", "書式ｺﾋﾟｰ", "指定範囲の書式を記憶します", 5, 12},
    {"C8", "書式貼付", "現在の書式を指定範囲にセットします", 5, 13},
    {"C9", "ﾌｫﾙﾀﾞ", "現在の文書ﾌｫﾙﾀﾞをｴｸｽﾌﾟﾛｰﾗｰで開きます", 2, 8},
};

// F2-F9, plain or with Ctrl only: the keys of the bar.
bool isBarKey(const QKeyEvent* k) {
    const Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
    return k->key() >= Qt::Key_F2 && k->key() <= Qt::Key_F9 &&
           (mods == Qt::NoModifier || mods == Qt::ControlModifier);
}

// Keys the file pane acts on itself (delete, cut, copy, paste, open); they
// stay with it rather than with the window's menu shortcuts.
bool isFilePaneKey(const QKeyEvent* k) {
    return k->matches(QKeySequence::Delete) || k->matches(QKeySequence::Cut) ||
           k->matches(QKeySequence::Copy) || k->matches(QKeySequence::Paste) ||
           k->matches(QKeySequence::SelectAll) || k->key() == Qt::Key_Return ||
           k->key() == Qt::Key_Enter;
}

bool isInside(const QWidget* w, const QWidget* ancestor) {
    return ancestor && w && (w == ancestor || ancestor->isAncestorOf(w));
}

} // namespace

void fmDoc::buildPanes() {
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->setChildrenCollapsible(false);

    pTrE_ = new QWidget(splitter_);
    pTrE_->setObjectName(QStringLiteral("pTrE"));
    auto* left = new QVBoxLayout(pTrE_);
    left->setContentsMargins(0, 0, 0, 0);
    trE_ = new uTrE(pTrE_);
    left->addWidget(trE_);

    pTxm_ = new QWidget(splitter_);
    pTxm_->setObjectName(QStringLiteral("pTxm"));
    auto* right = new QVBoxLayout(pTxm_);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    txm_ = new uTxm(pTxm_);
    right->addWidget(txm_, 1);
    fky_ = new uFky(pTxm_);
    fky_->setFixedHeight(px(kBarTwips));
    right->addWidget(fky_);

    splitter_->addWidget(pTrE_);
    splitter_->addWidget(pTxm_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({px(kTrEDefault), 1000});
    setCentralWidget(splitter_);
}

void fmDoc::connectPanes() {
    // A tag leads to a page of the database, anything else outside.
    connect(
        txm_, &uTxm::eClckLink, this,
        [this](QString& sTyp, QString&, QString& sVal) {
            if (sTyp == QLatin1String("TG"))
                OpenTag(sVal);
            else
                onLink(sVal);
        },
        Qt::DirectConnection);
    connect(
        txm_, &uTxm::eAskTag, this, [this](QString& sNo, QString& sCap) { AskTag(sNo, sCap); },
        Qt::DirectConnection);
    connect(
        txm_, &uTxm::eAskSavePh, this, [this](QString& sPh) { sPh = trE_->GetPth(1); },
        Qt::DirectConnection);
    connect(
        txm_, &uTxm::eRtAct, this,
        [this](int& iJb) {
            if (iJb == 2)
                trE_->NoSelc();
        },
        Qt::DirectConnection);
    connect(
        txm_, &uTxm::eSaveAs, this, [this](QString& sFL) { onSaveAs(sFL); }, Qt::DirectConnection);
    connect(trE_, &uTrE::eStFile, this, &fmDoc::onPickFile);
}

void fmDoc::linkKeys() {
    fky_->cOn(this, false);
    for (const KeyDef& k : kKeys)
        fky_->cKey(QLatin1String(k.key), k.iMn, k.iNdx, QString::fromUtf8(k.caption),
                   QString::fromUtf8(k.tip));
    fky_->cKyS();
}

void fmDoc::ShowFky(bool bShow) {
    fky_->setVisible(bShow);
    if (bShow)
        fky_->StSize();
}

void fmDoc::ShowTrE(bool bShow) {
    QList<int> sizes = splitter_->sizes();
    const int total = std::max(sizes.value(0) + sizes.value(1), 1000);
    trE_->setVisible(bShow);
    if (bShow) {
        const int w = px(nTrEWid > 0 ? nTrEWid : kTrEDefault);
        splitter_->setSizes({w, total - w});
    } else {
        // A pane that was never laid out has no width worth remembering.
        if (trE_->width() > px(kTrEHidden) && sizes.value(0) > px(kTrEHidden))
            nTrEWid = sizes[0] * Usr::kTwipsPerPixel;
        splitter_->setSizes({px(kTrEHidden), total - px(kTrEHidden)});
    }
}

int fmDoc::TrEWidth() const {
    return splitter_->sizes().value(0) * Usr::kTwipsPerPixel;
}

void fmDoc::SetStatus(const QString& sMsg, int nKind) {
    fky_->PanelTx(sMsg, nKind);
}

void fmDoc::showFileCaption(const QString& sFile) {
    setWindowTitle(sFile.isEmpty() ? QStringLiteral("Folium") : sFile);
}

QString fmDoc::CommandLineFile(const QString& sCmd) {
    QString sFolder, sName;
    if (!MainPaths::CommandLineFile(sCmd, sFolder, sName))
        return {};
    return sFolder + u'/' + sName;
}

void fmDoc::OpenCommandLine(const QString& sCmd) {
    QString sFolder, sName;
    if (!MainPaths::CommandLineFile(sCmd, sFolder, sName))
        return;
    trE_->SetPth(sFolder);
    trE_->SetFile(sName);
}

void fmDoc::onPickFile(const QString& sFile) {
    // An empty path only says the pane's earlier choice is void.
    if (sFile.isEmpty())
        return;
    txm_->rtAct(3, sFile);
    // A file that could not be read leaves the editor, and the caption, as
    // they were.
    if (txm_->sFlNm == sFile)
        showFileCaption(sFile);
}

void fmDoc::onSaveAs(const QString& sFile) {
    // A text frame saved as a file of its own leaves the document where it
    // was: the caption keeps naming the document.
    if (!txm_->SavingFrame())
        showFileCaption(sFile);
    const QString folder = trE_->GetPth(1);
    if (!folder.isEmpty() && QFileInfo(sFile).absolutePath() + u'/' == folder)
        trE_->UdtFld(QFileInfo(sFile).fileName());
}

void fmDoc::onLink(const QString& sTarget) {
    QString base;
    if (!txm_->sFlNm.isEmpty())
        base = QFileInfo(txm_->sFlNm).absolutePath();
    QString resolved;
    if (!MainPaths::OpensWithoutAsking(sTarget, base, resolved)) {
        // Anything that might start a program is named and confirmed first.
        const auto answer = Prompter::instance().message(
            QStringLiteral(
                "次のﾘﾝｸ先を開きます。ﾌﾟﾛｸﾞﾗﾑが起動する場合があります。\r%1\r開いて良いですか")
                .arg(resolved),
            Prompter::Buttons::YesNo, Prompter::Icon::Warning);
        if (answer != Prompter::Answer::Yes)
            return;
    }
    yIni::W_ExpFd(resolved, true);
}

// ------------------------------------------------------------- keyboard

bool fmDoc::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)
        return routeKey(watched, event);
    return QMainWindow::eventFilter(watched, event);
}

bool fmDoc::routeKey(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType())
        return false;
    auto* w = static_cast<QWidget*>(watched);
    if (w == this || w->window() != this)
        return false;
    auto* k = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::ShortcutOverride) {
        if (isInside(w, trE_) && isFilePaneKey(k)) {
            k->accept();
            return true;
        }
        // The menu items' states decide whether their shortcuts fire: bring
        // them up to date with the editor first.
        if (k->modifiers() & Qt::ControlModifier || isBarKey(k) || k->key() == Qt::Key_Delete) {
            refreshMenusFor(QKeySequence(k->keyCombination()));
        }
        return false;
    }
    // A function key no command took (its item is disabled) is not left to
    // a pane: the file pane's rename, for one, must not run on F2.
    return isBarKey(k);
}
