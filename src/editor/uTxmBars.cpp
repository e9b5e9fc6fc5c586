// uTxm: its children, the persistent settings, the cool bar and its bands,
// the layout, the toolbar state and the colour lists.
#include "TxColors.h"
#include "TxCommands.h"
#include "TxCoolBar.h"
#include "TxEngine.h"
#include "TxFormatBar.h"
#include "TxIme.h"
#include "TxLayout.h"
#include "TxRuler.h"
#include "TxStatusBar.h"
#include "Usr.h"
#include "uTxm.h"
#include "yIni.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>

namespace {
constexpr int px(int twips) {
    return twips / Usr::kTwipsPerPixel;
}
QRect toPixels(const QRect& t) {
    return QRect(px(t.x()), px(t.y()), px(t.width()), px(t.height()));
}

QIcon swatch(const QColor& c) {
    QPixmap pm(14, 14);
    pm.fill(c);
    QPainter p(&pm);
    p.setPen(Qt::gray);
    p.drawRect(0, 0, 13, 13);
    return QIcon(pm);
}

// Short captions of the toolbar buttons, by key.
QString buttonText(const QString& key) {
    static const QHash<QString, QString> texts = {
        {QStringLiteral("New"), QStringLiteral("新規")},
        {QStringLiteral("Open"), QStringLiteral("開く")},
        {QStringLiteral("Save"), QStringLiteral("保存")},
        {QStringLiteral("Print"), QStringLiteral("印刷")},
        {QStringLiteral("Preview"), QStringLiteral("表示")},
        {QStringLiteral("Cut"), QStringLiteral("切取")},
        {QStringLiteral("Copy"), QStringLiteral("複写")},
        {QStringLiteral("Paste"), QStringLiteral("貼付")},
        {QStringLiteral("Undo"), QStringLiteral("戻す")},
        {QStringLiteral("Redo"), QStringLiteral("やり直し")},
        {QStringLiteral("Find"), QStringLiteral("検索")}};
    return texts.value(key, key);
}
} // namespace

// ------------------------------------------------------------ children

void uTxm::buildChildren() {
    vButton = new TxFormatBar(this);
    vRuler = new TxRuler(Qt::Horizontal, this);
    vRulerV = new TxRuler(Qt::Vertical, this);
    vStatus = new TxStatusBar(this);
    clBar = new TxCoolBar(this);
    buildToolbar();
    buildColorFrame();
    clBar->setChild(TxBand::ToolBar, tlBar);
    clBar->setChild(TxBand::FormatFrame, frFmt);
    clBar->setChild(TxBand::ButtonBar, vButton);
    clBar->setChild(TxBand::StatusBar, vStatus);
    // The designed layout gives every band its child's natural width.
    for (TxBand::Band& b : bands.band)
        if (QWidget* w = clBar->child(b.child))
            b.width = w->sizeHint().width() * Usr::kTwipsPerPixel;
    clBar->apply(bands);

    txTitle = new QLineEdit(this);
    txTitle->setObjectName(QStringLiteral("txTitle"));
    pnStatus = new QLabel(this);
    pnStatus->setObjectName(QStringLiteral("pnStatus"));
    pnStatus->setFrameShape(QFrame::Panel);
    pnStatus->setFrameShadow(QFrame::Sunken);
    pnStatus->setAlignment(Qt::AlignCenter);
    txTitle->hide();
    pnStatus->hide();
    vRuler->hide();
    vRulerV->hide();
}

void uTxm::buildToolbar() {
    tlBar = new QToolBar(this);
    tlBar->setObjectName(QStringLiteral("tlBar"));
    tlBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tlBar->setIconSize(QSize(16, 16));
    for (const QString& key : TxTool::ButtonKeys()) {
        QAction* a = tlBar->addAction(buttonText(key));
        a->setObjectName(key);
        a->setToolTip(buttonText(key));
        connect(a, &QAction::triggered, this, [this, key] { onButton(key); });
        if (key == QLatin1String("Print") || key == QLatin1String("Cut") ||
            key == QLatin1String("Undo") || key == QLatin1String("Find"))
            tlBar->addSeparator();
    }
}

void uTxm::buildColorFrame() {
    frFmt = new QFrame(this);
    frFmt->setObjectName(QStringLiteral("frFmt"));
    auto* lay = new QHBoxLayout(frFmt);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(2);
    auto makeList = [this](const QString& name, const QString& caption) {
        auto* list = new QComboBox(frFmt);
        list->setObjectName(name);
        list->setPlaceholderText(caption);
        list->setMinimumContentsLength(6);
        return list;
    };
    auto makeButton = [this](const QString& name, const QString& text) {
        auto* b = new QToolButton(frFmt);
        b->setObjectName(name);
        b->setText(text);
        b->setAutoRaise(true);
        return b;
    };
    imFcr = makeList(QStringLiteral("imFcr"), TxColor::ForeCaption());
    cmFcr = makeButton(QStringLiteral("cmFcr"), QStringLiteral("A"));
    imBcr = makeList(QStringLiteral("imBcr"), TxColor::BackCaption());
    cmBcr = makeButton(QStringLiteral("cmBcr"), QStringLiteral("■"));
    cmTfm = makeButton(QStringLiteral("cmTfm"), QStringLiteral("Aa"));
    cmFcr->setEnabled(false);
    cmBcr->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{imFcr, cmFcr, imBcr, cmBcr, cmTfm})
        lay->addWidget(w);

    connect(imFcr, &QComboBox::activated, this, [this] { applyColor(true); });
    connect(imBcr, &QComboBox::activated, this, [this] { applyColor(false); });
    connect(cmFcr, &QToolButton::clicked, this, [this] { applyColor(true); });
    connect(cmBcr, &QToolButton::clicked, this, [this] { applyColor(false); });
    connect(cmTfm, &QToolButton::clicked, this, [this] {
        if (!IsBusy())
            rtAct(71);
    });
}

void uTxm::fillColorLists() {
    for (QComboBox* list : {imFcr, imBcr}) {
        list->clear();
        for (const TxColor::Item& item : TxColor::Items())
            list->addItem(swatch(item.color), item.text, item.key);
        list->setCurrentIndex(-1);
    }
    listsFilled_ = true;
}

void uTxm::applyColor(bool fore) {
    QComboBox* list = fore ? imFcr : imBcr;
    QToolButton* button = fore ? cmFcr : cmBcr;
    const int index = list->currentIndex();
    if (IsBusy() || index < 0 || index >= int(TxColor::Items().size()))
        return;
    const TxColor::Item& item = TxColor::Items()[size_t(index)];
    button->setEnabled(true);
    button->setToolTip(fore ? TxColor::ForeTip(item.text) : TxColor::BackTip(item.text));
    SnapDoc(false);
    {
        Busy busy(*this);
        const quint32 value = quint32(TxColor::ToValue(item.color));
        if (fore)
            mTxt->SetForeColor(value);
        else
            mTxt->SetTextBkColor(value);
    }
    mTxt->SetFocus();
    SetDcEdt(true);
    SetTlBar();
}

// ------------------------------------------------------------ settings

void uTxm::applyPage(const TxSet::Page& p) {
    mTxt->SetPageWidth(qRound(p.width));
    mTxt->SetPageHeight(qRound(p.height));
    mTxt->SetMarginLeft(qRound(p.marginLeft));
    mTxt->SetMarginTop(qRound(p.marginTop));
    mTxt->SetMarginRight(qRound(p.marginRight));
    mTxt->SetMarginBottom(qRound(p.marginBottom));
}

void uTxm::applyDisp(const TxSet::Disp& d) {
    mTxt->SetViewMode(d.mode);
    // A damaged zoom would make the text vanish or explode; fall back.
    mTxt->SetZoomFactor(d.zoom >= 10 && d.zoom < 1000 ? d.zoom : 100);
    mTxt->SetShowCtrlChars(d.ctrlChars);
    mTxt->SetShowGrid(true);
    mTxt->SetEngineOption(9, 0);
}

void uTxm::LoadSet(int mode) {
    yIni& ini = settings();
    sTvImg.clear();
    if (mode != 2)
        applyPage(TxSet::ReadPage(ini));
    applyDisp(TxSet::ReadDisp(ini, sFmGrp));
    if (mode == 0) {
        const TxSet::Bar bar = TxSet::ReadBar(ini, sFmGrp);
        bRule = bar.rule;
        rulerMenuChecked = bRule;
        SetBandStr(bar.bands);
        const TxSet::Usr usr = TxSet::ReadUsr(ini, iFlw);
        sIme = usr.ime;
        sUdtChk = usr.udtChk;
        sWmfPh = usr.wmfPh;
        iFlw = usr.flw;
        iPcClr = usr.pcClr;
        bPastTx = usr.pastTx;
        pasteMenuChecked[0] = !bPastTx;
        pasteMenuChecked[1] = bPastTx;
    }
    txIME(sIme == QLatin1String("ON"));
}

void uTxm::SaveSet() {
    yIni& ini = settings();
    TxSet::WriteBar(ini, sFmGrp, {bRule, GetBandStr()});
    TxSet::WriteDisp(ini, sFmGrp, {mTxt->ViewMode(), mTxt->ZoomFactor(), mTxt->ShowCtrlChars()});
    TxSet::WriteUsr(ini, {sIme, sUdtChk, sWmfPh, iFlw, iPcClr, bPastTx});
}

// ------------------------------------------------------------ bars, layout

QString uTxm::GetBandStr() const {
    return TxBand::GetBandStr(bands);
}

void uTxm::SetBandStr(const QString& s) {
    TxBand::SetBandStr(bands, s);
    clBar->apply(bands);
}

void uTxm::ShowBars(int n) {
    TxCmd::ShowBars(n, bands, bRule);
    rulerMenuChecked = bRule;
    SetLayout(true);
}

void uTxm::SetLayout(bool updateBands) {
    TxLayout::Input in;
    in.width = width() * Usr::kTwipsPerPixel;
    in.height = height() * Usr::kTwipsPerPixel;
    if (in.width < TxLayout::kMinSize || in.height < TxLayout::kMinSize)
        return;
    bands.updateAny();
    if (updateBands)
        clBar->apply(bands);
    in.anyBand = bands.shown[0];
    in.coolBarHeight = clBar->heightTwips();
    in.rule = bRule;
    in.rulerHeight = TxRuler::kThickness;
    in.rulerWidth = TxRuler::kThickness;
    in.showTitle = bShwTt;
    const TxLayout::Geometry g = TxLayout::Compute(in);

    clBar->setVisible(g.coolBarVisible);
    if (g.coolBarVisible)
        clBar->setGeometry(toPixels(g.coolBar));
    vRuler->setVisible(g.rulersVisible);
    vRulerV->setVisible(g.rulersVisible);
    if (g.rulersVisible) {
        vRuler->setGeometry(toPixels(g.hRuler));
        vRulerV->setGeometry(toPixels(g.vRuler));
    }
    txTitle->setVisible(g.titleVisible);
    pnStatus->setVisible(g.titleVisible);
    if (g.titleVisible) {
        txTitle->setGeometry(toPixels(g.title));
        pnStatus->setGeometry(toPixels(g.status));
    }
    mTxt->setGeometry(toPixels(g.engine));
    laidOut_ = true;
    clBar->update();
}

// ------------------------------------------------------------ toolbar

void uTxm::SetTlBar() {
    TlState s;
    s.hasContent = !mTxt->document()->isEmpty() || mTxt->CurObject() != 0;
    s.canCopy = mTxt->CanCopy();
    s.canPaste = mTxt->CanPaste();
    s.canUndo = mTxt->CanUndo() || bSnap;
    s.canRedo = mTxt->CanRedo();
    s.canSave = bDcEdt_ && s.hasContent;
    s.inHeading = caretInHeading();
    if (s.inHeading != inHeadingShown_ || !tlStateValid_) {
        inHeadingShown_ = s.inHeading;
        vButton->setRestricted(s.inHeading);
    }
    if (tlStateValid_ && s == tlState)
        return;
    for (QAction* a : tlBar->actions()) {
        if (a->isSeparator())
            continue;
        const TxTool::ButtonState b = TxTool::StateOf(a->objectName(), s, iTy);
        a->setVisible(b.visible);
        a->setEnabled(b.enabled);
    }
    tlState = s;
    tlStateValid_ = true;
}

void uTxm::onButton(const QString& key) {
    if (IsBusy())
        return;
    if (const int code = TxTool::CommandOf(key))
        rtAct(code);
}

// ------------------------------------------------------------ caret look

TxStyle::ParaLook uTxm::caretLook() const {
    TxStyle::ParaLook p;
    p.fontName = mTxt->FontName();
    p.fontSize = mTxt->FontSize();
    p.foreColor = int(mTxt->ForeColor() & 0xFFFFFF);
    p.bold = mTxt->FontBold();
    p.leftIndent = mTxt->LeftIndent();
    p.listState = mTxt->ListState();
    return p;
}

int uTxm::caretStyle() const {
    return TxStyle::GetStl(caretLook(), usrFmt);
}

bool uTxm::caretInHeading() const {
    return TxStyle::IsHeading(caretLook(), usrFmt);
}

void uTxm::refreshStatus() {
    ShowStl();
    const TxEngine::Caret c = mTxt->CaretPos();
    vStatus->setCaret(c.page, c.line, c.column + 1, 1); // columns shown from 1
    vButton->refresh();
}
