#include "TxFormatBar.h"
#include "TxEngine.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace {
const int kSizes[] = {8, 9, 10, 10, 11, 12, 14, 16, 18, 20, 24, 28, 36, 48, 72};
}

TxFormatBar::TxFormatBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("vButton"));
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(1);

    font_ = new QComboBox(this);
    font_->setObjectName(QStringLiteral("fontName"));
    font_->setEditable(true);
    font_->setInsertPolicy(QComboBox::NoInsert);
    font_->setMinimumContentsLength(10);
    font_->addItems(QFontDatabase::families());
    size_ = new QComboBox(this);
    size_->setObjectName(QStringLiteral("fontSize"));
    size_->setEditable(true);
    size_->setInsertPolicy(QComboBox::NoInsert);
    for (int s : kSizes)
        if (size_->findText(QString::number(s)) < 0)
            size_->addItem(QString::number(s));
    lay->addWidget(font_);
    lay->addWidget(size_);

    bold_ = toggle(QStringLiteral("bold"), QStringLiteral("B"), QStringLiteral("太字"));
    italic_ = toggle(QStringLiteral("italic"), QStringLiteral("I"), QStringLiteral("斜体"));
    underline_ = toggle(QStringLiteral("underline"), QStringLiteral("U"), QStringLiteral("下線"));
    const QString alignText[3] = {QStringLiteral("左"), QStringLiteral("中"), QStringLiteral("右")};
    for (int i = 0; i < 3; ++i)
        align_[i] = toggle(QStringLiteral("align%1").arg(i), alignText[i], QString());
    for (QToolButton* b : {bold_, italic_, underline_, align_[0], align_[1], align_[2]})
        lay->addWidget(b);
    lay->addStretch(1);

    connect(font_->lineEdit(), &QLineEdit::editingFinished, this, &TxFormatBar::applyFont);
    connect(font_, &QComboBox::activated, this, &TxFormatBar::applyFont);
    connect(size_->lineEdit(), &QLineEdit::editingFinished, this, &TxFormatBar::applySize);
    connect(size_, &QComboBox::activated, this, &TxFormatBar::applySize);
    connect(bold_, &QToolButton::clicked, this, [this](bool on) {
        if (engine_ && !updating_)
            engine_->SetFontBold(on);
    });
    connect(italic_, &QToolButton::clicked, this, [this](bool on) {
        if (engine_ && !updating_)
            engine_->SetFontItalic(on);
    });
    connect(underline_, &QToolButton::clicked, this, [this](bool on) {
        if (engine_ && !updating_)
            engine_->SetFontUnderline(on);
    });
    for (int i = 0; i < 3; ++i)
        connect(align_[i], &QToolButton::clicked, this, [this, i] {
            if (engine_ && !updating_)
                engine_->SetParaAttr0(i);
            refresh();
        });
}

QToolButton* TxFormatBar::toggle(const QString& name, const QString& text, const QString& tip) {
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    b->setCheckable(true);
    b->setAutoRaise(true);
    return b;
}

void TxFormatBar::attach(TxEngine* engine) {
    engine_ = engine;
    refresh();
}

void TxFormatBar::applyFont() {
    const QString name = font_->currentText().trimmed();
    if (engine_ && !updating_ && !restricted_ && !name.isEmpty() && name != engine_->FontName())
        engine_->SetFontName(name);
}

void TxFormatBar::applySize() {
    bool ok = false;
    const double pt = size_->currentText().trimmed().toDouble(&ok);
    if (engine_ && !updating_ && !restricted_ && ok && pt >= 1 && pt <= 1638 &&
        pt != engine_->FontSize())
        engine_->SetFontSize(pt);
}

void TxFormatBar::refresh() {
    if (!engine_)
        return;
    updating_ = true;
    font_->setEditText(engine_->FontName());
    size_->setEditText(QString::number(engine_->FontSize()));
    bold_->setChecked(engine_->FontBold());
    italic_->setChecked(engine_->FontItalic());
    underline_->setChecked(engine_->FontUnderline());
    const int align = engine_->ParaAttr0();
    for (int i = 0; i < 3; ++i)
        align_[i]->setChecked(align == i);
    updating_ = false;
}

void TxFormatBar::setRestricted(bool restricted) {
    restricted_ = restricted;
    for (QWidget* w : std::initializer_list<QWidget*>{font_, size_, bold_, italic_, underline_})
        w->setEnabled(!restricted);
}
