// uTxm: construction, lifecycle, the busy guard and the engine's events.
#include "uTxm.h"
#include "Frmt.h"
#include "TxCoolBar.h"
#include "TxEngine.h"
#include "TxFormatBar.h"
#include "TxIme.h"
#include "TxRuler.h"
#include "TxStatusBar.h"
#include "Usr.h"
#include "sbTxm.h"
#include "yIni.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

bool uTxm::sHostBusy = false;

uTxm::uTxm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("uTxm"));
    // Engine element 1, the only one used.
    mTxt = new TxEngine(this);
    mTxt->setObjectName(QStringLiteral("mTxt"));
    buildChildren();

    mTxt->installEventFilter(this);
    mTxt->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mTxt, &QTextEdit::textChanged, this, &uTxm::onUserEdit);
    connect(mTxt, &QTextEdit::cursorPositionChanged, this, &uTxm::onCaretMoved);
    connect(mTxt, &QTextEdit::selectionChanged, this, &uTxm::onCaretMoved);
    connect(mTxt, &TxEngine::fieldClicked, this, &uTxm::onFieldClicked);
    // A click on an inline picture selects it, so that the right button
    // then gives the picture's own menu.
    connect(mTxt, &TxEngine::objectClicked, this, [this](int id) {
        if (!IsBusy() && !mTxt->CurObject())
            mTxt->SetCurObject(id);
    });
    connect(mTxt, &TxEngine::textFrameActivated, this, &uTxm::syncFrame);
    connect(mTxt, &TxEngine::headFootActivated, this, &uTxm::onHeadFootActivated);
    connect(mTxt, &QWidget::customContextMenuRequested, this, &uTxm::showContextMenu);
    connect(txTitle, &QLineEdit::textEdited, this, &uTxm::onUserEdit);
    connect(txTitle, &QLineEdit::returnPressed, this, &uTxm::onTitleEnter);
    txTitle->installEventFilter(this);

    // The settings dialog, with the context menus; Ctrl+Y repeats its last
    // menu command.
    dlg_ = new sbTxm(this);
    RepeatJob = [this](int& iJb, QVariant& vArg) {
        if (!dlg_->RepertJb())
            return false;
        iJb = dlg_->iRJb;
        vArg = dlg_->vOpt;
        return true;
    };
}

uTxm::~uTxm() {
    if (bLoad)
        cOff();
}

void uTxm::SetHostBusy(bool busy) {
    sHostBusy = busy;
}

bool uTxm::IsBusy() const {
    return bBusy || sHostBusy || objOut_;
}

void uTxm::cOn(qintptr nHnd_, int iTy_, const QVariant& vShwTt, const QVariant& vFmGrp) {
    bLoad = true;
    nHnd = nHnd_;
    iTy = iTy_;
    iFlw = iTy >= 0 ? 2 : 1;
    bShwTt = vShwTt.isValid() ? vShwTt.toBool() : false;
    sFmGrp = vFmGrp.isValid() ? vFmGrp.toString() : QString();
    tlStateValid_ = false;
    dlg_->cTyp(iTy);
    dlg_->cOn(this);

    Busy busy(*this);
    LoadSet(0);
    vButton->attach(mTxt);
    vRuler->attach(mTxt);
    vRulerV->attach(mTxt);
    mTxt->SetEngineOption(34, 1);
    if (listsFilled_)
        return; // the rest is done once per instance
    fillColorLists();
    SetLayout(false);
    if (TxStyle::LoadUsrFmt(settings(), TxStyle::Shared()))
        copyFormat(true);
    SetTlBar();
    QCoreApplication::processEvents();
}

void uTxm::cOff() {
    bLoad = false;
    ySnap.clear();
    bSnap = false;
    // Image work files of this session; failures do not matter.
    if (!Usr::sWrkFd.isEmpty()) {
        QDir wrk(Usr::sWrkFd);
        for (const QString& f : wrk.entryList({QStringLiteral("*.png")}, QDir::Files))
            wrk.remove(f);
    }
    dlg_->cOff();
    SaveSet();
    sFlNm.clear();
}

void uTxm::cTyp(int iTy_) {
    iTy = iTy_;
    dlg_->cTyp(iTy);
    tlStateValid_ = false; // the buttons shown depend on the type
    SetTlBar();
}

void uTxm::SetDcEdt(bool bEd) {
    // The host hears the new value first and may change it.
    bool edit = bEd;
    emit eEdtCng(edit);
    bDcEdt_ = edit;
}

TxEngine* uTxm::GetObj() {
    objOut_ = true;
    return mTxt;
}

void uTxm::EndObj() {
    objOut_ = false;
}

void uTxm::txIME(bool bIME) {
    TxIme::SetOpen(bIME);
}

bool uTxm::ImeIsOpen() const {
    return TxIme::IsOpen();
}

// ------------------------------------------------------------ engine events

// Any edit by the user, in the text or the title line.
void uTxm::onUserEdit() {
    if (IsBusy())
        return;
    bSnap = false;
    SetDcEdt(true);
    SetTlBar();
}

void uTxm::onCaretMoved() {
    if (IsBusy())
        return;
    iCurStl = caretStyle();
    refreshStatus();
    SetTlBar();
}

void uTxm::onFieldClicked(int id) {
    if (IsBusy())
        return;
    const int keep = mTxt->CurField();
    mTxt->SetCurField(id);
    QString caption = mTxt->FieldText();
    const QString target = mTxt->FieldTarget(id);
    mTxt->SetCurField(keep);
    caption.remove(QChar(1));
    caption.remove(QChar(11));
    caption = caption.trimmed();
    if (caption.isEmpty())
        return;
    QString sTyp, sVal;
    Frmt::SplitMrk(target, sTyp, sVal);
    if (sVal.isEmpty() || sTyp == QLatin1String("TP") || sTyp == QLatin1String("DX"))
        return;
    emit eClckLink(sTyp, caption, sVal);
}

// Enter in the title line of an empty page makes the title its page heading.
void uTxm::onTitleEnter() {
    if (IsBusy())
        return;
    const QString title = txTitle->text();
    if (autoHeadingOn() && mTxt->Text().isEmpty() && !title.isEmpty()) {
        {
            Busy busy(*this);
            mTxt->SetSelStart(0);
            SetStl(0, 0, true);
            mTxt->SetSelText(title);
        }
        bSnap = false;
        SetDcEdt(true);
    }
    SetTlBar();
}

void uTxm::onEngineFocus() {
    if (IsBusy())
        return;
    if (sIme == QLatin1String("ON"))
        txIME(true);
    autoHeadingOnFocus();
    SetTlBar();
}

bool uTxm::onEngineKey(QKeyEvent* k) {
    if (IsBusy())
        return false;
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)
        return onEnterDown(k);
    if (tableKey(k))
        return true;
    if (k->matches(QKeySequence::Paste)) {
        const QByteArray keptSnap = ySnap;
        const bool keptBSnap = bSnap;
        SnapDoc(false);
        if (!txPaste(QString())) {
            ySnap = keptSnap;
            bSnap = keptBSnap;
        }
        return true;
    }
    if (k->matches(QKeySequence::Undo)) {
        rtAct(11);
        return true;
    }
    if (k->key() == Qt::Key_Y && k->modifiers() == Qt::ControlModifier) {
        int iJb = 12;
        QVariant vArg;
        if (RepeatJob && !RepeatJob(iJb, vArg))
            return true;
        rtAct(iJb, vArg);
        return true;
    }
    return false;
}

bool uTxm::eventFilter(QObject* o, QEvent* e) {
    if (o == mTxt) {
        if (e->type() == QEvent::KeyPress)
            return onEngineKey(static_cast<QKeyEvent*>(e));
        if (e->type() == QEvent::KeyRelease && !IsBusy()) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                onEnterUp();
        }
        if (e->type() == QEvent::ShortcutOverride) {
            // Keep these keys for the control, even inside a window with shortcuts.
            auto* k = static_cast<QKeyEvent*>(e);
            if (!IsBusy() && (k->matches(QKeySequence::Paste) || k->matches(QKeySequence::Undo)))
                e->accept();
        }
        if (e->type() == QEvent::FocusIn)
            onEngineFocus();
    } else if (o == txTitle && e->type() == QEvent::FocusIn && !IsBusy() &&
               sIme == QLatin1String("ON")) {
        txIME(true);
    }
    return QWidget::eventFilter(o, e);
}

void uTxm::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (laidOut_)
        SetLayout(false);
}
