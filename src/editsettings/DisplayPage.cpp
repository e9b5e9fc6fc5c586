// The display page: view mode and zoom, applied to the editor and stored.
#include "DisplayPage.h"
#include "Prompter.h"

#include "TxEngine.h"
#include "TxSettings.h"
#include "Usr.h"
#include "sbTxmAnswers.h"
#include "uTxm.h"
#include "yIni.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The fixed percentages of opZoom(0) to opZoom(4).
constexpr int kFixed[5] = {150, 125, 100, 75, 50};
constexpr int kWhole = 5, kWidth = 6, kTyped = 7;

} // namespace

DisplayPage::DisplayPage(uTxm* editor, QWidget* parent) : sbTxmPage(editor, parent) {
    auto* lay = new QHBoxLayout(this);

    auto* view = new QGroupBox(QStringLiteral("表示"), this);
    auto* vl = new QVBoxLayout(view);
    opDP = new QButtonGroup(this);
    const QString views[2] = {QStringLiteral("ﾉｰﾏﾙ (境界線無し)"), QStringLiteral("ﾍﾟｰｼﾞ･ｾﾝﾀﾘﾝｸﾞ")};
    for (int i = 0; i < 2; ++i) {
        auto* op = new QRadioButton(views[i], view);
        op->setObjectName(QStringLiteral("opDP%1").arg(i));
        opDP->addButton(op, i);
        vl->addWidget(op);
    }
    lay->addWidget(view);

    auto* zoom = new QGroupBox(QStringLiteral("ｽﾞｰﾑ"), this);
    auto* zl = new QGridLayout(zoom);
    opZoom = new QButtonGroup(this);
    QStringList captions;
    for (int z : kFixed)
        captions << QStringLiteral("%1 %").arg(z);
    captions << QStringLiteral("ﾍﾟ-ｼﾞ合せ") << QStringLiteral("巾合せ") << QStringLiteral("指定");
    for (int i = 0; i < captions.size(); ++i) {
        auto* op = new QRadioButton(captions[i], zoom);
        op->setObjectName(QStringLiteral("opZoom%1").arg(i));
        opZoom->addButton(op, i);
        zl->addWidget(op, i % 4, i / 4);
    }
    txZoom = new QLineEdit(zoom);
    txZoom->setObjectName(QStringLiteral("txZoom"));
    txZoom->setMaximumWidth(60);
    zl->addWidget(txZoom, 4, 1);
    lay->addWidget(zoom);

    connect(txZoom, &QLineEdit::textEdited, this,
            [this] { opZoom->button(kTyped)->setChecked(true); });
}

void DisplayPage::open(const QString&, const QString&) {
    TxEngine* e = editor_->mTxt;
    opDP->button(e->ViewMode() != 0 ? 1 : 0)->setChecked(true);
    const int z = e->ZoomFactor();
    int id = kTyped;
    for (int i = 0; i < 5; ++i)
        if (kFixed[i] == z)
            id = i;
    opZoom->button(id)->setChecked(true);
    txZoom->setText(id == kTyped ? QString::number(z) : QString());
}

std::optional<int> DisplayPage::ChosenZoom() const {
    const int id = opZoom->checkedId();
    if (id >= 0 && id < 5)
        return kFixed[id];
    if (id == kWhole || id == kWidth) {
        const TxEngine* e = editor_->mTxt;
        return TxmAns::FitZoom(double(e->width()) * Usr::kTwipsPerPixel,
                               double(e->height()) * Usr::kTwipsPerPixel, e->PageWidth(),
                               e->PageHeight(), id == kWhole);
    }
    // A typed value: its leading number, in full-width digits too.
    const QString typed = txZoom->text().trimmed();
    QString digits;
    for (QChar c : typed) {
        if (!c.isDigit())
            break;
        digits += QChar(u'0' + c.digitValue());
    }
    if (digits.isEmpty())
        return std::nullopt;
    bool isNumber = false;
    const long long n = digits.left(9).toLongLong(&isNumber);
    if (!isNumber)
        return std::nullopt;
    return TxmAns::ClampZoom(int(std::min<long long>(n, TxmAns::kZoomMax)));
}

bool DisplayPage::ok() {
    TxEngine* e = editor_->mTxt;
    // A typed zoom that holds no number is refused, not quietly dropped: the
    // dialog stays open on the box so the user can correct it.
    if (opZoom->checkedId() == kTyped && !ChosenZoom()) {
        Prompter::instance().message(QStringLiteral("ｽﾞｰﾑは%1から%2までの数値で指定して下さい")
                                         .arg(TxmAns::kZoomMin)
                                         .arg(TxmAns::kZoomMax));
        txZoom->setFocus();
        txZoom->selectAll();
        return false;
    }
    const int mode = opDP->checkedId() == 1 ? 2 : 0;
    e->SetViewMode(mode);
    // A zoom that cannot be worked out keeps the current one.
    const int zoom = TxmAns::ClampZoom(ChosenZoom().value_or(e->ZoomFactor()));
    // The engine shows zooms above 10 % only: the smallest stored value is
    // shown as close as it can.
    e->SetZoomFactor(std::max(zoom, TxmAns::kZoomMin + 1));
    TxSet::Disp d = TxSet::ReadDisp(settings(), editor_->FmGrp());
    d.mode = mode;
    d.zoom = zoom;
    TxSet::WriteDisp(settings(), editor_->FmGrp(), d);
    return true;
}
