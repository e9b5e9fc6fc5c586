#include "TxTableDialog.h"

#include "Prompter.h"
#include "TxTableRules.h"

#include <QCheckBox>
#include <QColor>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QColor qcolor(quint32 bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

quint32 bgr(const QColor& c) {
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

QLineEdit* twipsField(QWidget* parent, const QString& name, int value) {
    auto* e = new QLineEdit(QString::number(value), parent);
    e->setObjectName(name);
    return e;
}

} // namespace

TxTableDialog::TxTableDialog(const TxTableLook& look, const QString& what, QWidget* parent)
    : QDialog(parent), look_(look) {
    setWindowTitle(QStringLiteral("表の書式 (%1)").arg(what));
    auto* lay = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    lay->addLayout(form);
    txBorder = twipsField(this, QStringLiteral("txBorder"), look.border);
    txWidth = twipsField(this, QStringLiteral("txWidth"), look.width);
    txMargin = twipsField(this, QStringLiteral("txMargin"), look.margin);
    form->addRow(QStringLiteral("罫線の太さ (twip, 0=なし)"), txBorder);
    form->addRow(QStringLiteral("ｾﾙの幅 (twip)"), txWidth);
    form->addRow(QStringLiteral("ｾﾙ内の余白 (twip)"), txMargin);

    auto* shadeRow = new QHBoxLayout;
    chShade = new QCheckBox(QStringLiteral("背景色"), this);
    chShade->setObjectName(QStringLiteral("chShade"));
    cmShade = new QToolButton(this);
    cmShade->setObjectName(QStringLiteral("cmShade"));
    shadeRow->addWidget(chShade);
    shadeRow->addWidget(cmShade);
    shadeRow->addStretch();
    lay->addLayout(shadeRow);
    chShade->setChecked(look.shading.has_value());
    shade_ = look.shading.value_or(0xFFFFFF);
    showShade();
    connect(cmShade, &QToolButton::clicked, this, [this] {
        if (const std::optional<QColor> c =
                Prompter::instance().pickColor(qcolor(shade_), QStringLiteral("背景色"))) {
            shade_ = bgr(*c);
            chShade->setChecked(true);
            showShade();
        }
    });

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(box, &QDialogButtonBox::accepted, this, &TxTableDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    lay->addWidget(box);
}

void TxTableDialog::showShade() {
    QPixmap swatch(16, 16);
    swatch.fill(qcolor(shade_));
    cmShade->setIcon(swatch);
}

// Every measure is checked before anything is taken: a negative, missing or
// oversized value is refused with its field focused and the dialog stays.
void TxTableDialog::accept() {
    const struct {
        QLineEdit* field;
        TxTable::Number n;
    } fields[] = {
        {txBorder, TxTable::ReadMeasure(txBorder->text(), QStringLiteral("罫線の太さ"), 0,
                                        TxTable::kMaxBorder)},
        {txWidth,
         TxTable::ReadMeasure(txWidth->text(), QStringLiteral("ｾﾙの幅"), 1, TxTable::kMaxMeasure)},
        {txMargin, TxTable::ReadMeasure(txMargin->text(), QStringLiteral("ｾﾙ内の余白"), 0,
                                        TxTable::kMaxMeasure)},
    };
    for (const auto& f : fields)
        if (!f.n.ok) {
            Prompter::instance().message(f.n.message, Prompter::Buttons::Ok,
                                         Prompter::Icon::Warning);
            f.field->setFocus();
            f.field->selectAll();
            return;
        }
    look_.border = fields[0].n.value;
    look_.width = fields[1].n.value;
    look_.margin = fields[2].n.value;
    look_.shading = chShade->isChecked() ? std::optional<quint32>(shade_) : std::nullopt;
    QDialog::accept();
}
