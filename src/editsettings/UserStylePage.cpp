// The user styles page: the sample, the style buttons and writing the
// formats back.
#include "UserStylePage.h"

#include "Prompter.h"
#include "TxColors.h"
#include "TxEngine.h"
#include "TxFormatDialogs.h"
#include "sbTxmAnswers.h"
#include "uTxm.h"
#include "yIni.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kNames[6] = {"見出１", "見出２", "見出３", "本文", "強調", "補足"};

QString Name(int i) {
    return QString::fromUtf8(kNames[i]);
}

QStringList Alignments() {
    return {QStringLiteral("左寄せ"), QStringLiteral("中央合わせ"), QStringLiteral("右寄せ")};
}

TxStyle::CharLook LookOf(const UsrFmt& f) {
    TxStyle::CharLook l;
    l.font = f.sFont;
    l.size = f.iSize;
    l.bold = f.iBold == 1;
    l.underline = f.iAt1 != 0;
    l.fore = quint32(f.nFcr);
    l.back = quint32(f.nBcr);
    return l;
}

} // namespace

UserStylePage::UserStylePage(uTxm* editor, QWidget* parent) : sbTxmPage(editor, parent) {
    auto* lay = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    tTxt = new TxEngine(this);
    tTxt->setObjectName(QStringLiteral("tTxt"));
    tTxt->setMinimumSize(330, 200);
    // A narrow page without margins, so the sample fits the box.
    tTxt->SetPageWidth(4200);
    for (auto set : {&TxEngine::SetMarginLeft, &TxEngine::SetMarginTop, &TxEngine::SetMarginRight,
                     &TxEngine::SetMarginBottom})
        (tTxt->*set)(120);
    left->addWidget(tTxt, 1);
    auto* grid = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        grid->addWidget(new QLabel(Name(i), this), i, 0);
        cmFont[i] = new QPushButton(QStringLiteral("ﾌｫﾝﾄ"), this);
        cmFont[i]->setObjectName(QStringLiteral("cmFont%1").arg(i));
        grid->addWidget(cmFont[i], i, 1);
        connect(cmFont[i], &QPushButton::clicked, this, [this, i] { EditFont(i); });
        if (i < 4) {
            cmPrg[i] = new QPushButton(QStringLiteral("段落"), this);
            cmPrg[i]->setObjectName(QStringLiteral("cmPrg%1").arg(i));
            grid->addWidget(cmPrg[i], i, 2);
            connect(cmPrg[i], &QPushButton::clicked, this, [this, i] { EditParagraph(i); });
        }
    }
    for (QPushButton* b : cmFont)
        b->setAutoDefault(false);
    for (QPushButton* b : cmPrg)
        b->setAutoDefault(false);
    left->addLayout(grid);
    lay->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto headFoot = [this, right](const QString& title, const QString& sample, QLineEdit*& line,
                                  QComboBox*& align, QPushButton*& font, const QString& suffix,
                                  int record) {
        auto* box = new QGroupBox(title, this);
        auto* bl = new QHBoxLayout(box);
        line = new QLineEdit(sample, box);
        line->setObjectName(QStringLiteral("t") + suffix);
        line->setReadOnly(true);
        align = new QComboBox(box);
        align->setObjectName(QStringLiteral("cb") + suffix);
        align->addItems(Alignments());
        font = new QPushButton(QStringLiteral("ﾌｫﾝﾄ"), box);
        font->setObjectName(QStringLiteral("cm") + suffix);
        font->setAutoDefault(false);
        bl->addWidget(line, 1);
        bl->addWidget(align);
        bl->addWidget(font);
        right->addWidget(box);
        connect(font, &QPushButton::clicked, this, [this, record] { EditFont(record); });
        connect(align, &QComboBox::currentIndexChanged, this, [this, record, line](int a) {
            work_.usrFmt[record].iPa4 = std::max(0, a);
            showHeadFoot(line, work_.usrFmt[record]);
        });
    };
    headFoot(QStringLiteral("ﾍｯﾀﾞｰ"), QStringLiteral("ﾍｯﾀﾞｰ"), tHead, cbHead, cmHead,
             QStringLiteral("Head"), 6);
    headFoot(QStringLiteral("ﾌｯﾀｰ"), QStringLiteral("ﾌｯﾀｰ"), tFoot, cbFoot, cmFoot,
             QStringLiteral("Foot"), 7);

    auto* spacing = new QHBoxLayout;
    spacing->addWidget(new QLabel(QStringLiteral("行間"), this));
    cbLine = new QComboBox(this);
    cbLine->setObjectName(QStringLiteral("cbLine"));
    cbLine->setEditable(true);
    for (const char* s : {"1.0", "1.2", "1.5", "1.7", "1.9", "2.0"})
        cbLine->addItem(QString::fromLatin1(s));
    spacing->addWidget(cbLine);
    spacing->addStretch(1);
    right->addLayout(spacing);
    ckLF[0] = new QCheckBox(QStringLiteral("最初は見出1"), this);
    ckLF[1] = new QCheckBox(QStringLiteral("本文はEnter= <br>"), this);
    for (int i = 0; i < 2; ++i) {
        ckLF[i]->setObjectName(QStringLiteral("ckLF%1").arg(i));
        right->addWidget(ckLF[i]);
    }
    right->addStretch(1);
    lay->addLayout(right);
}

QString UserStylePage::SampleText() {
    QString s = QStringLiteral("見出１.見出２.見出３.本文 強調 補足");
    s.replace(u'.', QChar(10));
    return s;
}

std::pair<int, int> UserStylePage::NameRange(int i) {
    int from = 0;
    for (int k = 0; k < i; ++k)
        from += int(Name(k).size()) + 1; // a line end or a blank after each
    return {from, int(Name(i).size())};
}

void UserStylePage::open(const QString&, const QString&) {
    work_ = TxStyle::Shared();
    {
        const QSignalBlocker b1(cbHead), b2(cbFoot);
        cbHead->setCurrentIndex(std::clamp(work_.usrFmt[6].iPa4, 0, 2));
        cbFoot->setCurrentIndex(std::clamp(work_.usrFmt[7].iPa4, 0, 2));
    }
    cbLine->setCurrentText(QString::number(double(work_.sgLsp), 'g', 3));
    ckLF[0]->setChecked(work_.bDtp);
    ckLF[1]->setChecked(work_.bEntSh);
    showSample();
}

// Each style name in its style: character look for all six, paragraph
// values for 見出１ to 本文 (the last line is a body paragraph).
void UserStylePage::showSample() {
    tTxt->ClearAll();
    tTxt->SetText(SampleText());
    for (int i = 5; i >= 0; --i) {
        const UsrFmt& f = work_.usrFmt[i];
        const auto [from, len] = NameRange(i);
        tTxt->SetSelStart(from);
        tTxt->SetSelLength(len);
        if (i <= 3) {
            tTxt->SetLeftIndent(f.iLIdt);
            for (int n = 1; n <= 4; ++n)
                tTxt->SetParaValue(n, n == 1 ? f.iPa1 : n == 2 ? f.iPa2 : n == 3 ? f.iPa3 : f.iPa4);
        }
        tTxt->SetFontName(f.sFont);
        tTxt->SetFontSize(f.iSize);
        tTxt->SetForeColor(quint32(f.nFcr));
        tTxt->SetTextBkColor(quint32(f.nBcr));
        tTxt->SetFontBold(f.iBold == 1);
        tTxt->SetCharAttr(1, i <= 2 ? f.iAt1 : 0);
    }
    tTxt->SetSelStart(0);
    showHeadFoot(tHead, work_.usrFmt[6]);
    showHeadFoot(tFoot, work_.usrFmt[7]);
}

void UserStylePage::showHeadFoot(QLineEdit* line, const UsrFmt& f) {
    QFont font(f.sFont);
    font.setPointSize(std::max(1, f.iSize));
    font.setBold(f.iBold == 1);
    line->setFont(font);
    const QColor fore = TxColor::FromValue(f.nFcr);
    const QColor back = TxColor::FromValue(f.nBcr);
    line->setStyleSheet(
        QStringLiteral("QLineEdit { color: %1; background: %2; }").arg(fore.name(), back.name()));
    const int a = std::clamp(f.iPa4, 0, 2);
    line->setAlignment(a == 1 ? Qt::AlignHCenter : a == 2 ? Qt::AlignRight : Qt::AlignLeft);
}

void UserStylePage::EditFont(int i) {
    if (i < 0 || i >= TxStyle::kRecords)
        return;
    UsrFmt& f = work_.usrFmt[i];
    TxFontDialog dlg(LookOf(f), this);
    if (!Prompter::instance().exec(dlg))
        return;
    const TxStyle::CharLook l = dlg.look();
    if (!l.font.isEmpty())
        f.sFont = l.font;
    if (l.size >= 1)
        f.iSize = int(std::lround(l.size));
    f.iBold = l.bold ? 1 : 0;
    f.nFcr = int(l.fore);
    f.nBcr = int(l.back);
    if (i <= 2 || i >= 6)
        f.iAt1 = l.underline ? 1 : 0;
    showSample();
}

void UserStylePage::EditParagraph(int i) {
    if (i < 0 || i > 3)
        return;
    UsrFmt& f = work_.usrFmt[i];
    TxParaLook p;
    p.leftIndent = f.iLIdt;
    p.spaceBefore = f.iPa1;
    p.spaceAfter = f.iPa2;
    p.firstLine = f.iPa3;
    p.rightIndent = f.iPa4;
    TxParaDialog dlg(p, this);
    if (!Prompter::instance().exec(dlg))
        return;
    const TxParaLook n = dlg.look();
    f.iLIdt = n.leftIndent;
    f.iPa1 = n.spaceBefore;
    f.iPa2 = n.spaceAfter;
    f.iPa3 = n.firstLine;
    f.iPa4 = n.rightIndent;
    showSample();
}

bool UserStylePage::ok() {
    TxStyle::UserFormats u = work_;
    // 本文, 強調 and 補足 carry no character attributes of their own.
    for (int i = 3; i <= 5; ++i) {
        u.usrFmt[i].iAt1 = u.usrFmt[i].iAt2 = u.usrFmt[i].iAt3 = 0;
        u.usrFmt[i].iAt4 = 7936;
    }
    u.usrFmt[6].iPa4 = std::max(0, cbHead->currentIndex());
    u.usrFmt[7].iPa4 = std::max(0, cbFoot->currentIndex());
    u.bDtp = ckLF[0]->isChecked();
    u.bEntSh = ckLF[1]->isChecked();
    QString line = cbLine->currentText().trimmed();
    line.replace(u',', u'.');
    bool isNumber = false;
    const double lsp = line.toDouble(&isNumber);
    u.sgLsp = isNumber && lsp >= 1 && lsp <= 2 ? float(lsp) : 1.2f;
    if (TxmAns::FixHeadingSizes(u.usrFmt))
        Prompter::instance().message(QStringLiteral("見出しのﾌｫﾝﾄｻｲｽﾞ順に変えます"));
    TxStyle::Shared() = u;
    TxStyle::SaveUsrFmt(settings(), u);
    return true;
}
