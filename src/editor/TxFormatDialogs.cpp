#include "TxFormatDialogs.h"
#include "Prompter.h"
#include "TxColors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr double kTwipsPerPoint = 20.0;

// OK and Cancel with Japanese captions, wired to the dialog.
void addButtons(QDialog* d, QVBoxLayout* lay) {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QObject::connect(box, &QDialogButtonBox::accepted, d, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, d, &QDialog::reject);
    lay->addWidget(box);
}

QDoubleSpinBox* points(QWidget* parent, double min, double max, int twips) {
    auto* s = new QDoubleSpinBox(parent);
    s->setRange(min, max);
    s->setDecimals(1);
    s->setSingleStep(0.5);
    s->setSuffix(QStringLiteral(" pt"));
    s->setValue(twips / kTwipsPerPoint);
    return s;
}

int twipsOf(const QDoubleSpinBox* s) {
    return int(std::lround(s->value() * kTwipsPerPoint));
}

} // namespace

// ------------------------------------------------------------ font

TxFontDialog::TxFontDialog(const TxStyle::CharLook& look, QWidget* parent)
    : QDialog(parent), look_(look) {
    setWindowTitle(QStringLiteral("フォント"));
    auto* lay = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    lay->addLayout(form);

    name = new QComboBox(this);
    name->setEditable(true);
    name->addItems(QFontDatabase::families());
    // Stored names (Windows faces among them) stay selectable even when the
    // face is drawn by a substitute here.
    if (name->findText(look.font) < 0)
        name->insertItem(0, look.font);
    name->setCurrentText(look.font);
    form->addRow(QStringLiteral("フォント名"), name);

    size = new QDoubleSpinBox(this);
    size->setRange(1, 1638);
    size->setDecimals(1);
    size->setSuffix(QStringLiteral(" pt"));
    size->setValue(look.size);
    form->addRow(QStringLiteral("サイズ"), size);

    bold = new QCheckBox(QStringLiteral("太字"), this);
    italic = new QCheckBox(QStringLiteral("斜体"), this);
    underline = new QCheckBox(QStringLiteral("下線"), this);
    strike = new QCheckBox(QStringLiteral("取り消し線"), this);
    bold->setChecked(look.bold);
    italic->setChecked(look.italic);
    underline->setChecked(look.underline);
    strike->setChecked(look.strike);
    for (QCheckBox* b : {bold, italic, underline, strike})
        form->addRow(QString(), b);

    color = new QToolButton(this);
    color->setText(QStringLiteral("文字色..."));
    color->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(color, &QToolButton::clicked, this, [this] {
        if (const std::optional<QColor> c =
                Prompter::instance().color(TxColor::FromValue(int(look_.fore)))) {
            look_.fore = quint32(TxColor::ToValue(*c));
            showColor();
        }
    });
    showColor();
    form->addRow(QStringLiteral("色"), color);
    addButtons(this, lay);
}

void TxFontDialog::showColor() {
    QPixmap pm(16, 16);
    pm.fill(TxColor::FromValue(int(look_.fore)));
    QPainter p(&pm);
    p.setPen(Qt::gray);
    p.drawRect(0, 0, 15, 15);
    color->setIcon(QIcon(pm));
}

TxStyle::CharLook TxFontDialog::look() const {
    TxStyle::CharLook out = look_;
    out.font = name->currentText().trimmed();
    out.size = size->value();
    out.bold = bold->isChecked();
    out.italic = italic->isChecked();
    out.underline = underline->isChecked();
    out.strike = strike->isChecked();
    return out;
}

// ------------------------------------------------------------ paragraph

TxParaDialog::TxParaDialog(const TxParaLook& look, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("段落"));
    auto* lay = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    lay->addLayout(form);
    align = new QComboBox(this);
    align->addItems({QStringLiteral("左揃え"), QStringLiteral("中央揃え"), QStringLiteral("右揃え"),
                     QStringLiteral("両端揃え"), QStringLiteral("均等割り付け")});
    align->setCurrentIndex(std::clamp(look.align, 0, 4));
    form->addRow(QStringLiteral("配置"), align);
    leftIndent = points(this, 0, 1584, look.leftIndent);
    rightIndent = points(this, 0, 1584, look.rightIndent);
    firstLine = points(this, -1584, 1584, look.firstLine);
    spaceBefore = points(this, 0, 1584, look.spaceBefore);
    spaceAfter = points(this, 0, 1584, look.spaceAfter);
    lineSpacing = points(this, 0, 1584, look.lineSpacing);
    lineSpacing->setSpecialValueText(QStringLiteral("標準"));
    form->addRow(QStringLiteral("左インデント"), leftIndent);
    form->addRow(QStringLiteral("右インデント"), rightIndent);
    form->addRow(QStringLiteral("1行目のインデント"), firstLine);
    form->addRow(QStringLiteral("段落前の間隔"), spaceBefore);
    form->addRow(QStringLiteral("段落後の間隔"), spaceAfter);
    form->addRow(QStringLiteral("行間(最小値)"), lineSpacing);
    addButtons(this, lay);
}

TxParaLook TxParaDialog::look() const {
    TxParaLook out;
    out.align = align->currentIndex();
    out.leftIndent = twipsOf(leftIndent);
    out.rightIndent = twipsOf(rightIndent);
    out.firstLine = twipsOf(firstLine);
    out.spaceBefore = twipsOf(spaceBefore);
    out.spaceAfter = twipsOf(spaceAfter);
    out.lineSpacing = twipsOf(lineSpacing);
    return out;
}

// ------------------------------------------------------------ lists

TxListDialog::TxListDialog(const TxListLook& look, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("箇条書きと段落番号"));
    auto* lay = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    lay->addLayout(form);
    kind = new QComboBox(this);
    kind->addItems(
        {QStringLiteral("なし"), QStringLiteral("箇条書き"), QStringLiteral("段落番号")});
    kind->setCurrentIndex(std::clamp(look.kind, 1, 3) - 1);
    form->addRow(QStringLiteral("種類"), kind);
    level = new QSpinBox(this);
    level->setRange(1, 9);
    level->setValue(std::clamp(look.level, 1, 9));
    form->addRow(QStringLiteral("レベル"), level);
    addButtons(this, lay);
}

TxListLook TxListDialog::look() const {
    return {kind->currentIndex() + 1, level->value()};
}
