#include "SearchPage.h"

#include "Prompter.h"
#include "TextConvert.h"
#include "TxEngine.h"
#include "TxFormatDialogs.h"
#include "uTxm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

QComboBox* makeTextBox(QWidget* parent, int i) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("cbFnd%1").arg(i));
    box->setEditable(true);
    // The page keeps the history itself (once per text, any letter case).
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(260);
    return box;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

SearchPage::SearchPage(uTxm* editor, QWidget* parent)
    : sbTxmPage(editor, parent), search_(editor->mTxt) {
    auto* root = new QVBoxLayout(this);
    srTab = new QTabBar(this);
    srTab->setObjectName(QStringLiteral("srTab"));
    for (const char* caption : {"検索", "置換", "書式付き置換"})
        srTab->addTab(QString::fromUtf8(caption));
    root->addWidget(srTab);
    frames_ = new QStackedWidget(this);
    root->addWidget(frames_);

    for (int t = 0; t < 3; ++t) {
        frFnd[t] = new QWidget(frames_);
        frFnd[t]->setObjectName(QStringLiteral("frFnd%1").arg(t));
        frames_->addWidget(frFnd[t]);
        auto* grid = new QGridLayout(frFnd[t]);
        grid->addWidget(new QLabel(QStringLiteral("検索文字"), frFnd[t]), 0, 0);
        cbFnd[t] = makeTextBox(frFnd[t], t);
        grid->addWidget(cbFnd[t], 0, 1, 1, 3);
        chMatch[t] = new QCheckBox(QStringLiteral("大文字･小文字を区別する"), frFnd[t]);
        chMatch[t]->setObjectName(QStringLiteral("chMatch%1").arg(t));
        grid->addWidget(chMatch[t], 3, 1, 1, 3);
    }

    // Find tab.
    {
        auto* row = new QHBoxLayout;
        const char* captions[3] = {"先頭から", "前を探す", "次を探す"};
        for (int i = 0; i < 3; ++i) {
            ssCom[i] = makeButton(frFnd[0], QStringLiteral("ssCom%1").arg(i),
                                  QString::fromUtf8(captions[i]));
            row->addWidget(ssCom[i]);
            connect(ssCom[i], &QPushButton::clicked, this, [this, i] { find(i); });
        }
        static_cast<QGridLayout*>(frFnd[0]->layout())->addLayout(row, 4, 1, 1, 3);
    }

    const QString undoTip = QStringLiteral("置換えを一つ元に戻します");
    const char* repCaptions[3] = {"置換", "全て置換", "次を探す"};

    // Replace tab, with the conversions from the search text into the
    // replacement.
    {
        auto* grid = static_cast<QGridLayout*>(frFnd[1]->layout());
        auto* conversions = new QHBoxLayout;
        for (int i = 0; i < TextConvert::kKinds; ++i) {
            cmStrCnv[i] =
                makeButton(frFnd[1], QStringLiteral("cmStrCnv%1").arg(i), TextConvert::Caption(i));
            conversions->addWidget(cmStrCnv[i]);
            connect(cmStrCnv[i], &QPushButton::clicked, this, [this, i] { convert(i); });
        }
        grid->addLayout(conversions, 1, 1, 1, 3);
        grid->addWidget(new QLabel(QStringLiteral("置換後の文字"), frFnd[1]), 2, 0);
        cbFnd[3] = makeTextBox(frFnd[1], 3);
        grid->addWidget(cbFnd[3], 2, 1, 1, 3);
        auto* row = new QHBoxLayout;
        for (int i = 0; i < 3; ++i) {
            ssRep[i] = makeButton(frFnd[1], QStringLiteral("ssRep%1").arg(i),
                                  QString::fromUtf8(repCaptions[i]));
            row->addWidget(ssRep[i]);
            connect(ssRep[i], &QPushButton::clicked, this, [this, i] { replace(1, i); });
        }
        ssUndo[0] = makeButton(frFnd[1], QStringLiteral("ssUndo0"), QStringLiteral("元に戻す"));
        ssUndo[0]->setToolTip(undoTip);
        row->addWidget(ssUndo[0]);
        grid->addLayout(row, 4, 1, 1, 3);
    }

    // Replace-with-format tab: the replacement is a small text of the
    // engine, with its own font, size and colours.
    {
        auto* grid = static_cast<QGridLayout*>(frFnd[2]->layout());
        grid->addWidget(new QLabel(QStringLiteral("置換後の文字"), frFnd[2]), 2, 0);
        txFndR = new TxEngine(frFnd[2]);
        txFndR->setObjectName(QStringLiteral("txFndR"));
        // One short line: a narrow page without margins, no scroll bars.
        txFndR->SetMarginLeft(0);
        txFndR->SetMarginRight(0);
        txFndR->SetPageWidth(3900);
        txFndR->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        txFndR->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        txFndR->setFixedHeight(48);
        grid->addWidget(txFndR, 2, 1, 1, 2);
        cmFmt = makeButton(frFnd[2], QStringLiteral("cmFmt"), QStringLiteral("ﾌｫﾝﾄ"));
        grid->addWidget(cmFmt, 2, 3);
        connect(cmFmt, &QPushButton::clicked, this, &SearchPage::fontOfReplacement);
        auto* row = new QHBoxLayout;
        for (int i = 0; i < 3; ++i) {
            ssRpf[i] = makeButton(frFnd[2], QStringLiteral("ssRpf%1").arg(i),
                                  QString::fromUtf8(repCaptions[i]));
            row->addWidget(ssRpf[i]);
            connect(ssRpf[i], &QPushButton::clicked, this, [this, i] { replace(2, i); });
        }
        ssUndo[1] = makeButton(frFnd[2], QStringLiteral("ssUndo1"), QStringLiteral("元に戻す"));
        ssUndo[1]->setToolTip(undoTip);
        row->addWidget(ssUndo[1]);
        grid->addLayout(row, 4, 1, 1, 3);
    }

    // Enter in a search text looks for the next occurrence, which changes
    // nothing in the document.
    for (int t = 0; t < 3; ++t)
        cbFnd[t]->lineEdit()->installEventFilter(this);
    for (int i = 0; i < 2; ++i)
        connect(ssUndo[i], &QPushButton::clicked, this, [this] { undo(); });
    connect(srTab, &QTabBar::currentChanged, this, &SearchPage::showTab);
}

void SearchPage::open(const QString& sJb, const QString&) {
    TxEngine* tx = editor()->mTxt;
    const QString selected = tx->SelText();
    if (!selected.isEmpty())
        for (int t = 0; t < 3; ++t)
            cbFnd[t]->setEditText(selected);

    // The formatted replacement starts empty, in the body text's look.
    const UsrFmt& body = editor()->usrFmt[TxStyle::kBody];
    txFndR->SetText(QString());
    txFndR->SetSelStart(0);
    TxStyle::CharLook look;
    look.font = body.sFont;
    look.size = body.iSize;
    look.fore = quint32(body.nFcr) & 0xFFFFFF;
    look.back = quint32(body.nBcr) & 0xFFFFFF;
    TxStyle::ApplyLook(*txFndR, look);

    search_.Reset();
    updateUndo();
    const int tab = sJb == QLatin1String("RP") ? 1 : 0;
    if (srTab->currentIndex() == tab)
        showTab(tab);
    else
        srTab->setCurrentIndex(tab); // shows it through currentChanged
}

void SearchPage::showTab(int index) {
    if (index < 0 || index > 2)
        return;
    frames_->setCurrentIndex(index);
    cbFnd[index]->setFocus();
    cbFnd[index]->lineEdit()->selectAll();
}

void SearchPage::AddHistory(QComboBox* box, const QString& text) {
    if (text.isEmpty())
        return;
    for (int i = 0; i < box->count(); ++i)
        if (box->itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            return;
    const QString shown = box->currentText();
    box->insertItem(0, text);
    box->setEditText(shown);
}

void SearchPage::find(int button) {
    const QString text = cbFnd[0]->currentText();
    AddHistory(cbFnd[0], text);
    const int flags = SearchReplace::Flags(chMatch[0]->isChecked(), button == 1);
    const int pos = search_.Find(text, button == 0 ? 0 : -1, flags);
    if (button == 0 && pos >= 0)
        ssCom[2]->setFocus();
}

void SearchPage::replace(int tab, int button) {
    const QString text = cbFnd[tab]->currentText();
    AddHistory(cbFnd[tab], text);
    if (tab == 1)
        AddHistory(cbFnd[3], cbFnd[3]->currentText());
    const int flags = SearchReplace::Flags(chMatch[tab]->isChecked());
    auto replacement = [this, tab] { replaceSelection(tab); };
    switch (button) {
    case 0:
        search_.Replace(text, flags, replacement);
        break;
    case 1:
        search_.ReplaceAll(text, flags, replacement);
        break;
    default:
        search_.Next(text, flags);
        break;
    }
    updateUndo();
}

// Replaces the engine's selection by the tab's replacement as one step the
// undo button takes back.
void SearchPage::replaceSelection(int tab) {
    TxEngine* tx = editor()->mTxt;
    QTextCursor step(tx->ActiveEdit()->document());
    step.beginEditBlock();
    if (tab == 1) {
        tx->SetSelText(cbFnd[3]->currentText());
    } else {
        // The replacement's text in the look of its first character.
        txFndR->SetSelStart(0);
        const TxStyle::CharLook look = TxStyle::ReadLook(*txFndR);
        const QString text = txFndR->Text();
        const int start = tx->SelStart();
        tx->SetSelText(text);
        tx->SetSelStart(start);
        tx->SetSelLength(int(text.size()));
        TxStyle::ApplyLook(*tx, look);
        tx->SetSelStart(start + int(text.size()));
    }
    step.endEditBlock();
}

void SearchPage::convert(int kind) {
    cbFnd[3]->setEditText(TextConvert::Convert(cbFnd[1]->currentText(), kind));
}

void SearchPage::fontOfReplacement() {
    txFndR->SetSelStart(0);
    txFndR->SetSelLength(-1);
    TxFontDialog dlg(TxStyle::ReadLook(*txFndR), this);
    if (Prompter::instance().exec(dlg))
        TxStyle::ApplyLook(*txFndR, dlg.look());
    txFndR->SetSelLength(0);
}

void SearchPage::undo() {
    editor()->rtAct(11);
    updateUndo();
}

void SearchPage::updateUndo() {
    const bool can = editor()->mTxt->CanUndo();
    for (QPushButton* b : ssUndo)
        b->setEnabled(can);
}

bool SearchPage::eventFilter(QObject* o, QEvent* e) {
    // Taken here, so it runs once and goes no further (to the combo box or
    // the dialog, which would act on it too).
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            QPushButton* next[3] = {ssCom[2], ssRep[2], ssRpf[2]};
            for (int t = 0; t < 3; ++t)
                if (o == cbFnd[t]->lineEdit()) {
                    next[t]->click();
                    return true;
                }
        }
    }
    return sbTxmPage::eventFilter(o, e);
}
