#include "PageSetupPage.h"

#include "TxDocument.h"
#include "TxEngine.h"
#include "TxSettings.h"
#include "uTxm.h"
#include "yIni.h"

#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace PaperSize;

namespace {

// 15 twips to a pixel.
constexpr int kTwipsPerPixel = 15;

QLineEdit* makeField(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setAlignment(Qt::AlignRight);
    e->setMaximumWidth(80);
    return e;
}

} // namespace

PageSetupPage::PageSetupPage(uTxm* editor, QWidget* parent) : sbTxmPage(editor, parent) {
    auto* grid = new QGridLayout(this);

    grid->addWidget(new QLabel(QStringLiteral("用紙"), this), 0, 0);
    cbPage = new QComboBox(this);
    cbPage->setObjectName(QStringLiteral("cbPage"));
    for (int i = 0; i <= kUserDefined; ++i)
        cbPage->addItem(ListText(i));
    // The list texts align their sizes with blanks, which needs a font whose
    // half-width characters are all one width (and full-width ones two).
    QFont fixed = cbPage->font();
    fixed.setFamilies({QStringLiteral("Noto Sans Mono CJK JP")});
    fixed.setStyleHint(QFont::TypeWriter);
    cbPage->setFont(fixed);
    grid->addWidget(cbPage, 0, 1, 1, 3);

    auto* orientation = new QGroupBox(QStringLiteral("向き"), this);
    auto* ol = new QHBoxLayout(orientation);
    const char* captions[2] = {"縦", "横"};
    for (int i = 0; i < 2; ++i) {
        OpVH[i] = new QRadioButton(QString::fromUtf8(captions[i]), orientation);
        OpVH[i]->setObjectName(QStringLiteral("OpVH%1").arg(i));
        ol->addWidget(OpVH[i]);
    }
    OpVH[0]->setChecked(true);
    grid->addWidget(orientation, 0, 4, 1, 2);

    txPgWd = makeField(this, "txPgWd");
    txPgHi = makeField(this, "txPgHi");
    txLftMrg = makeField(this, "txLftMrg");
    txTopMrg = makeField(this, "txTopMrg");
    txRghMrg = makeField(this, "txRghMrg");
    txBtmMrg = makeField(this, "txBtmMrg");
    struct Row {
        const char* label;
        QLineEdit* field;
        int row, column;
    };
    const Row rows[] = {
        {"幅", txPgWd, 1, 0},       {"高さ", txPgHi, 1, 3},     {"左余白", txLftMrg, 2, 0},
        {"上余白", txTopMrg, 2, 3}, {"右余白", txRghMrg, 3, 0}, {"下余白", txBtmMrg, 3, 3},
    };
    for (const Row& r : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(r.label), this), r.row, r.column);
        grid->addWidget(r.field, r.row, r.column + 1);
        grid->addWidget(new QLabel(QStringLiteral("cm"), this), r.row, r.column + 2);
        r.field->installEventFilter(this);
        connect(r.field, &QLineEdit::textChanged, this, [this] {
            if (bLoading)
                return;
            validate();
            drawPreview();
        });
    }
    for (QLineEdit* size : {txPgWd, txPgHi})
        connect(size, &QLineEdit::editingFinished, this, [this] {
            if (!bLoading)
                matchPaper();
        });

    // The preview: the paper's shape at a small scale, centred in its area.
    auto* area = new QFrame(this);
    area->setObjectName(QStringLiteral("frPreview"));
    area->setFixedSize(kPreviewWidth / kTwipsPerPixel, kPreviewHeight / kTwipsPerPixel);
    Shape1 = new QFrame(area);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setAutoFillBackground(true);
    Shape1->setBackgroundRole(QPalette::Base);
    grid->addWidget(area, 4, 0, 1, 6, Qt::AlignHCenter);

    cmDefault = new QPushButton(QStringLiteral("規定値として設定"), this);
    cmDefault->setObjectName(QStringLiteral("cmDefault"));
    cmDefault->setAutoDefault(false);
    grid->addWidget(cmDefault, 5, 4, 1, 2);

    connect(cbPage, &QComboBox::activated, this, [this](int entry) {
        if (!bLoading)
            choosePaper(entry);
    });
    connect(OpVH[1], &QRadioButton::toggled, this, [this] {
        if (!bLoading)
            changeOrientation();
    });
    connect(cmDefault, &QPushButton::clicked, this, &PageSetupPage::storeDefault);
}

PaperSize::Texts PageSetupPage::texts() const {
    return {txPgWd->text(),   txPgHi->text(),   txLftMrg->text(),
            txTopMrg->text(), txRghMrg->text(), txBtmMrg->text()};
}

void PageSetupPage::setTexts(const PaperSize::Texts& t) {
    txPgWd->setText(t.width);
    txPgHi->setText(t.height);
    txLftMrg->setText(t.left);
    txTopMrg->setText(t.top);
    txRghMrg->setText(t.right);
    txBtmMrg->setText(t.bottom);
}

void PageSetupPage::open(const QString&, const QString&) {
    bLoading = true;
    const TxEngine* tx = editor()->mTxt;
    loaded_ = {tx->PageWidth(), tx->PageHeight(),  tx->MarginLeft(),
               tx->MarginTop(), tx->MarginRight(), tx->MarginBottom()};
    loadedTexts_ = PageTexts(loaded_);
    setTexts(loadedTexts_);
    const Recognised paper = Recognise(nDlgTwps(loadedTexts_.width).value_or(0),
                                       nDlgTwps(loadedTexts_.height).value_or(0));
    bLandscape = paper.landscape;
    OpVH[bLandscape ? 1 : 0]->setChecked(true);
    for (QLineEdit* e : {txPgWd, txPgHi, txLftMrg, txTopMrg, txRghMrg, txBtmMrg})
        e->setSelection(0, 6);
    cbPage->setCurrentIndex(paper.entry);
    bLoading = false;
    bAcceptable = true;
    emit okEnabled(true);
    drawPreview();
    txPgWd->setFocus();
}

void PageSetupPage::matchPaper() {
    const auto w = nDlgTwps(txPgWd->text());
    const auto h = nDlgTwps(txPgHi->text());
    const int entry = w && h ? MatchPaper(*w, *h, bLandscape) : kUserDefined;
    if (entry == cbPage->currentIndex())
        return;
    cbPage->setCurrentIndex(entry);
    choosePaper(entry);
}

void PageSetupPage::choosePaper(int entry) {
    if (entry >= 0 && entry < kPapers)
        setTexts(PaperTexts(entry, bLandscape));
    drawPreview();
}

void PageSetupPage::changeOrientation() {
    const QString width = txPgWd->text();
    txPgWd->setText(txPgHi->text());
    txPgHi->setText(width);
    bLandscape = OpVH[1]->isChecked();
    choosePaper(cbPage->currentIndex());
}

void PageSetupPage::validate() {
    const std::optional<Page> p = ReadTexts(texts());
    const bool acceptable = p && Valid(*p);
    if (acceptable == bAcceptable)
        return;
    bAcceptable = acceptable;
    emit okEnabled(acceptable);
}

void PageSetupPage::drawPreview() {
    const QRect r = PreviewRect(FieldNumber(txPgWd->text()), FieldNumber(txPgHi->text()));
    Shape1->setGeometry(r.x() / kTwipsPerPixel, r.y() / kTwipsPerPixel,
                        std::max(1, r.width() / kTwipsPerPixel),
                        std::max(1, r.height() / kTwipsPerPixel));
}

std::optional<PaperSize::Page> PageSetupPage::Values() const {
    const Texts t = texts();
    std::optional<Page> p = ReadTexts(t);
    if (!p)
        return p;
    auto keep = [](int& value, const QString& now, const QString& shown, int exact) {
        if (now == shown)
            value = exact;
    };
    keep(p->width, t.width, loadedTexts_.width, loaded_.width);
    keep(p->height, t.height, loadedTexts_.height, loaded_.height);
    keep(p->left, t.left, loadedTexts_.left, loaded_.left);
    keep(p->top, t.top, loadedTexts_.top, loaded_.top);
    keep(p->right, t.right, loadedTexts_.right, loaded_.right);
    keep(p->bottom, t.bottom, loadedTexts_.bottom, loaded_.bottom);
    return p;
}

bool PageSetupPage::ok() {
    const std::optional<Page> p = Values();
    if (!p || !Valid(*p))
        return false; // OK is disabled then; a key press must not apply it either
    TxEngine* tx = editor()->mTxt;
    const Page before{tx->PageWidth(), tx->PageHeight(),  tx->MarginLeft(),
                      tx->MarginTop(), tx->MarginRight(), tx->MarginBottom()};
    tx->SetMarginLeft(p->left);
    tx->SetMarginTop(p->top);
    tx->SetMarginRight(p->right);
    tx->SetMarginBottom(p->bottom);
    tx->SetPageWidth(p->width);
    tx->SetPageHeight(p->height);
    // The orientation the user chose is what the document files say.
    tx->document2().page.landscape = bLandscape;
    tx->Refresh();
    // A new page setup is part of the document: it must not be lost
    // without the question to save it.
    if (*p != before)
        editor()->SetDcEdt(true);
    return true;
}

void PageSetupPage::storeDefault() {
    const std::optional<Page> p = Values();
    if (!p)
        return;
    try {
        yIni& ini = settings();
        ini.GetGtx(TxSet::PageGroup());
        ini.SetVal(QStringLiteral("WIDTH"), p->width);
        ini.SetVal(QStringLiteral("HEIGHT"), p->height);
        ini.SetVal(QStringLiteral("M_LFT"), p->left);
        ini.SetVal(QStringLiteral("M_TOP"), p->top);
        ini.SetVal(QStringLiteral("M_RGH"), p->right);
        ini.SetVal(QStringLiteral("M_BTM"), p->bottom);
        ini.SetGtx();
    } catch (const std::exception&) {
        // A settings text that cannot take the group: the command ends.
    }
}

bool PageSetupPage::eventFilter(QObject* o, QEvent* e) {
    // A margin field that gets the focus has its whole text selected (after
    // the click that gave the focus has placed the caret).
    if (e->type() == QEvent::FocusIn) {
        auto* field = qobject_cast<QLineEdit*>(o);
        if (field && field != txPgWd && field != txPgHi)
            QTimer::singleShot(0, field, [field] { field->selectAll(); });
    }
    return sbTxmPage::eventFilter(o, e);
}
