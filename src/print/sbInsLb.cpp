#include "sbInsLb.h"

#include "Prompter.h"
#include "TxEngine.h"
#include "uTxm.h"
#include "yIni.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace LabelLayout;

namespace {

const QString kMeasureHint = QStringLiteral("0～300 mm の数を入れてください");
const QString kSizeHint = QStringLiteral("0より大きく300 mm までの数を入れてください");
const QString kCountHint = QStringLiteral("1～99 の数を入れてください");
const QString kNoRoom = QStringLiteral("行数・列数と間隔が印字域に収まりません");
const QString kListFull =
    QStringLiteral("ﾚｲｱｳﾄは20件まで登録できます。不要な行を選んで修正してください");

// A group of two labelled fields.
QGroupBox* pair(QWidget* parent, const QString& title, const QString& first, QLineEdit*& a,
                const QString& second, QLineEdit*& b) {
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    a = new QLineEdit(box);
    b = new QLineEdit(box);
    for (QLineEdit* e : {a, b}) {
        e->setAlignment(Qt::AlignRight);
        e->setMaximumWidth(70);
    }
    grid->addWidget(new QLabel(first, box), 0, 0);
    grid->addWidget(a, 0, 1);
    grid->addWidget(new QLabel(second, box), 1, 0);
    grid->addWidget(b, 1, 1);
    return box;
}

} // namespace

sbInsLb::sbInsLb(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("sbInsLb"));
    setWindowTitle(QStringLiteral("Insert Label Group"));
    build();
}

void sbInsLb::build() {
    auto* top = new QVBoxLayout(this);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(pair(this, QStringLiteral("ﾗﾍﾞﾙｻｲｽﾞ"), QStringLiteral("巾"), txWd,
                          QStringLiteral("高さ"), txHi));
    boxes->addWidget(pair(this, QStringLiteral("ﾗﾍﾞﾙ間隔"), QStringLiteral("横"), txHrz,
                          QStringLiteral("縦"), txVrt));
    boxes->addWidget(pair(this, QStringLiteral("ﾍﾟｰｼﾞ余白"), QStringLiteral("上"), txTop,
                          QStringLiteral("左"), txLft));
    boxes->addWidget(pair(this, QStringLiteral("ﾗﾍﾞﾙ数"), QStringLiteral("行数"), txRws,
                          QStringLiteral("列数"), txCls));
    top->addLayout(boxes);

    auto* middle = new QHBoxLayout;
    List1 = new QListWidget(this);
    List1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    List1->setMinimumWidth(420);
    middle->addWidget(List1, 1);
    auto* listButtons = new QVBoxLayout;
    cmRet[0] = new QPushButton(QStringLiteral("追加"), this);
    cmRet[1] = new QPushButton(QStringLiteral("修正"), this);
    listButtons->addWidget(cmRet[0]);
    listButtons->addWidget(cmRet[1]);
    listButtons->addStretch();
    middle->addLayout(listButtons);
    top->addLayout(middle);

    lbHint = new QLabel(this);
    top->addWidget(lbHint);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cmOk[0] = new QPushButton(QStringLiteral("OK"), this);
    cmOk[1] = new QPushButton(QStringLiteral("Cancel"), this);
    cmOk[0]->setDefault(true);
    buttons->addWidget(cmOk[0]);
    buttons->addWidget(cmOk[1]);
    top->addLayout(buttons);

    connect(cmRet[0], &QPushButton::clicked, this, [this] { addLine(false); });
    connect(cmRet[1], &QPushButton::clicked, this, [this] { addLine(true); });
    connect(cmOk[0], &QPushButton::clicked, this, &sbInsLb::layOut);
    connect(cmOk[1], &QPushButton::clicked, this, &QDialog::reject);
    connect(List1, &QListWidget::currentRowChanged, this, &sbInsLb::onListRow);
    setFields(Fields{});
}

void sbInsLb::setFields(const Fields& f) {
    txWd->setText(General(f.W));
    txHi->setText(General(f.H));
    txHrz->setText(General(f.Sx));
    txVrt->setText(General(f.Sy));
    txTop->setText(General(f.T));
    txLft->setText(General(f.L));
    txRws->setText(QString::number(f.R));
    txCls->setText(QString::number(f.C));
}

int sbInsLb::Act(uTxm* xTx, QString& sMsg) {
    tx_ = xTx;
    sMsg.clear();
    notice_.clear();
    laidOut_ = 0;
    listChanged_ = false;
    preparing_ = true;
    const TxEngine* e = xTx->mTxt;
    page = Page::FromTwips(e->MarginLeft(), e->MarginTop(), e->MarginRight(), e->MarginBottom(),
                           e->PageWidth(), e->PageHeight());
    xTx->SetText(QString());
    setFields(Fields{});
    List1->clear();
    List1->addItems(LoadList(settings()));
    lbHint->clear();

    adjustSize();
    if (const QWidget* main = xTx->window(); main && main != this) {
        const QRect g = main->frameGeometry();
        move(g.left() + int(std::lround((g.width() - width()) / 2.0)),
             g.top() + int(std::lround((g.height() - height()) / 2.0)));
    }
    preparing_ = false;
    if (List1->count() > 0)
        List1->setCurrentRow(0);

    Prompter::instance().exec(*this);

    if (listChanged_) {
        QStringList lines;
        for (int i = 0; i < List1->count(); ++i)
            lines.append(List1->item(i)->text());
        yIni& ini = settings();
        SaveList(ini, lines);
        bool ok = false;
        ini.SetTxt(ok); // written again at shut-down when this fails
    }
    sMsg = notice_;
    tx_ = nullptr;
    return laidOut_;
}

void sbInsLb::onListRow(int row) {
    if (preparing_ || row < 0)
        return;
    if (const std::optional<Fields> f = ParseLine(List1->item(row)->text()))
        setFields(*f);
}

std::optional<Fields> sbInsLb::readFields() {
    Fields f;
    f.W = NumberOf(txWd->text());
    f.H = NumberOf(txHi->text());
    f.Sx = NumberOf(txHrz->text());
    f.Sy = NumberOf(txVrt->text());
    f.T = NumberOf(txTop->text());
    f.L = NumberOf(txLft->text());
    // Counts far outside the allowed ones stay outside when made integers.
    auto count = [](const QLineEdit* e) {
        return int(std::lround(std::clamp(NumberOf(e->text()), -1000.0, 1000.0)));
    };
    f.R = count(txRws);
    f.C = count(txCls);
    const Field failed = Check(f);
    if (failed == Field::None) {
        lbHint->clear();
        return f;
    }
    QLineEdit* const fields[] = {nullptr, txWd, txHi, txLft, txTop, txHrz, txVrt, txRws, txCls};
    QLineEdit* bad = fields[int(failed)];
    QString hint = kMeasureHint;
    if (failed == Field::Wd || failed == Field::Hi)
        hint = kSizeHint;
    else if (failed == Field::Rws || failed == Field::Cls)
        hint = kCountHint;
    lbHint->setText(hint);
    bad->setFocus();
    bad->selectAll();
    return std::nullopt;
}

void sbInsLb::addLine(bool replace) {
    const std::optional<Fields> typed = readFields();
    if (!typed)
        return;
    // A line past the last stored key would be gone the next time.
    if (List1->count() >= kMaxLines && !(replace && List1->currentItem())) {
        Prompter::instance().message(kListFull, Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    const Fit fit = FitToPage(*typed, page);
    // Rows, columns and gaps that leave no room for a label would list a
    // layout of no size.
    if (fit.Wc <= 0 || fit.Hc <= 0) {
        Prompter::instance().message(kNoRoom, Prompter::Buttons::Ok, Prompter::Icon::Warning);
        QLineEdit* field = fit.Wc <= 0 ? txCls : txRws;
        field->setFocus();
        field->selectAll();
        return;
    }
    if (replace) {
        if (QListWidgetItem* it = List1->currentItem())
            delete List1->takeItem(List1->row(it));
    }
    bool yes = false;
    if (fit.ask != Fit::Ask::Nothing)
        yes = Prompter::instance().message(fit.question, Prompter::Buttons::YesNo,
                                           Prompter::Icon::Question) == Prompter::Answer::Yes;
    const Fields listed = Adjusted(*typed, fit, yes);
    if (NeedsNotice(*typed, listed))
        Prompter::instance().message(Notice(page), Prompter::Buttons::Ok,
                                     Prompter::Icon::Information);
    preparing_ = true;
    List1->addItem(Line(listed));
    List1->setCurrentRow(List1->count() - 1);
    preparing_ = false;
    listChanged_ = true;
}

void sbInsLb::layOut() {
    const std::optional<Fields> f = readFields();
    if (!f)
        return;
    const Sheet sheet = Arrange(*f, page);
    TxEngine* e = tx_->mTxt;
    tx_->SetText(QString());
    const int left = e->MarginLeft();
    const int top = e->MarginTop();
    bool failed = false;
    for (const LabelLayout::Frame& fr : sheet.frames) {
        if (!e->TextFrameInsert(left + fr.x, top + fr.y, fr.w, fr.h)) {
            failed = true; // frames inserted so far stay
            break;
        }
        ++laidOut_;
    }
    if (sheet.adjusted && !failed)
        notice_ = Notice(page);
    if (laidOut_ > 0)
        tx_->SetDcEdt(true);
    accept();
}
