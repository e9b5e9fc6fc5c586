// The table, input-method and image-layout pages.
#include "sbTxmChoicePages.h"

#include "Prompter.h"
#include "TxEngine.h"
#include "TxTableRules.h"
#include "sbTxmAnswers.h"
#include "uTxm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Radio buttons opName(0..n-1) in a group box, numbered 0..n-1 in `group`.
QGroupBox* Options(QWidget* parent, const QString& title, const QString& name,
                   const QStringList& captions, QButtonGroup* group) {
    auto* box = new QGroupBox(title, parent);
    auto* lay = new QVBoxLayout(box);
    for (int i = 0; i < captions.size(); ++i) {
        auto* op = new QRadioButton(captions[i], box);
        op->setObjectName(name + QString::number(i));
        group->addButton(op, i);
        lay->addWidget(op);
    }
    return box;
}

void Check(QButtonGroup* group, int id) {
    if (QAbstractButton* b = group->button(id))
        b->setChecked(true);
}

} // namespace

// ------------------------------------------------------------ "TB"

TablePage::TablePage(uTxm* editor, QWidget* parent) : sbTxmPage(editor, parent) {
    auto* form = new QFormLayout(this);
    cbRows = new QComboBox(this);
    cbRows->setObjectName(QStringLiteral("cbRows"));
    cbCols = new QComboBox(this);
    cbCols->setObjectName(QStringLiteral("cbCols"));
    for (int i = 1; i <= 30; ++i)
        cbRows->addItem(QString::number(i));
    for (int i = 2; i <= 10; ++i)
        cbCols->addItem(QString::number(i));
    cbRows->setEditable(true);
    cbCols->setEditable(true);
    form->addRow(QStringLiteral("行数"), cbRows);
    form->addRow(QStringLiteral("列数"), cbCols);
}

void TablePage::open(const QString&, const QString&) {
    cbRows->setCurrentIndex(4);
    cbCols->setCurrentIndex(0);
}

bool TablePage::ok() {
    // A count that is no number, 0 or less, or more than a table holds is
    // refused with its field focused; the dialog stays open.
    const TxTable::Number rows = TxTable::ReadRows(cbRows->currentText());
    const TxTable::Number cols = TxTable::ReadColumns(cbCols->currentText());
    for (const auto& [n, field] : {std::pair{rows, cbRows}, std::pair{cols, cbCols}})
        if (!n.ok) {
            Prompter::instance().message(n.message, Prompter::Buttons::Ok,
                                         Prompter::Icon::Warning);
            field->setFocus();
            if (field->lineEdit())
                field->lineEdit()->selectAll();
            return false;
        }
    editor_->mTxt->TableInsert(rows.value, cols.value);
    return true;
}

// ------------------------------------------------------------ "IM"

ImePage::ImePage(uTxm* editor, QWidget* parent) : sbTxmPage(editor, parent) {
    auto* lay = new QVBoxLayout(this);
    chIME = new QCheckBox(QStringLiteral("文書を開いた時は､自動的にIMEを全角にする"), this);
    chIME->setObjectName(QStringLiteral("chIME"));
    lay->addWidget(chIME);
    opSave = new QButtonGroup(this);
    lay->addWidget(Options(this, QStringLiteral("文書が修正された後に､別文書を開く場合"),
                           QStringLiteral("opSave"),
                           {QStringLiteral("更新 (上書き保存) の確認をする"),
                            QStringLiteral("自動的に更新 (上書き保存) する"),
                            QStringLiteral("何もしない (確認無し･自動更新無し)")},
                           opSave));
}

void ImePage::open(const QString&, const QString& sArg) {
    const TxmAns::Ime im = TxmAns::ReadIme(sArg);
    chIME->setChecked(im.on);
    Check(opSave, im.save);
}

bool ImePage::ok() {
    TxmAns::Ime im;
    im.on = chIME->isChecked();
    im.save = std::max(0, opSave->checkedId());
    emit answered(TxmAns::ImeText(im));
    return true;
}

void ImePage::cancel() {
    emit answered(QString());
}

// ------------------------------------------------------------ "TF"

ImageLayoutPage::ImageLayoutPage(uTxm* editor, QWidget* parent) : sbTxmPage(editor, parent) {
    auto* lay = new QHBoxLayout(this);
    opTxf = new QButtonGroup(this);
    opImg = new QButtonGroup(this);
    lay->addWidget(Options(this, QStringLiteral("画像のﾚｲｱｳﾄ"), QStringLiteral("opTxf"),
                           {QStringLiteral("文字位置"), QStringLiteral("左寄せ"),
                            QStringLiteral("右寄せ"), QStringLiteral("ﾌﾛｰﾄ")},
                           opTxf));
    auto* right = new QVBoxLayout;
    right->addWidget(Options(
        this, QStringLiteral("貼付時の減色"), QStringLiteral("opImg"),
        {QStringLiteral("減色無し"), QStringLiteral("256色"), QStringLiteral("8ﾋﾞｯﾄｸﾞﾚｲ")}, opImg));
    right->addWidget(new QLabel(QStringLiteral("Ctrl+Vで画像を貼付た時の処理です"), this));
    lay->addLayout(right);
}

void ImageLayoutPage::open(const QString&, const QString& sArg) {
    const TxmAns::Layout l = TxmAns::ReadLayout(sArg);
    sIn_ = TxmAns::LayoutText(l);
    Check(opTxf, l.flow - 1);
    Check(opImg, l.color);
}

bool ImageLayoutPage::ok() {
    TxmAns::Layout l;
    l.flow = std::max(0, opTxf->checkedId()) + 1;
    l.color = std::max(0, opImg->checkedId());
    emit answered(TxmAns::LayoutText(l));
    return true;
}

// Cancel hands back what came in (read in range), never what another page
// left in the answer slot.
void ImageLayoutPage::cancel() {
    emit answered(sIn_);
}
