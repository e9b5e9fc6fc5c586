// sbTxm: the dialog frame. Shows one page at a time, keeps the answer slot,
// hides instead of closing, and is centred on the main window.
#include "sbTxm.h"

#include "Prompter.h"
#include "sbTxmJobs.h"
#include "sbTxmMenus.h"
#include "sbTxmPages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// The dialog's smallest size: 7300 x 2700 twips at 15 twips a pixel.
constexpr int kMinWidth = 7300 / 15;
constexpr int kMinHeight = 2700 / 15;

struct PageInfo {
    const char* code;
    const char* caption;
};

// The page table: code and caption. "LK_OBJ" and "RP" share the page of
// "LK" and "FD".
constexpr PageInfo kPages[] = {
    {"TB", "表の設定"},           {"PG", "ﾍﾟｰｼﾞ設定"},   {"US", "ﾕｰｻﾞｰ定義書式"},
    {"DP", "表示設定"},           {"LK", "ﾘﾝｸ先の設定"}, {"LK_OBJ", "ﾘﾝｸ先の設定"},
    {"IM", "IME･更新保存の設定"}, {"FD", "検索･置換"},   {"RP", "検索･置換"},
    {"TF", "画像ﾚｲｱｳﾄの既定値"},
};

// The code a page is kept under.
QString KeptCode(const QString& sJb) {
    if (sJb == QLatin1String("LK_OBJ"))
        return QStringLiteral("LK");
    if (sJb == QLatin1String("RP"))
        return QStringLiteral("FD");
    return sJb;
}

} // namespace

sbTxm::sbTxm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("sbTxm"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setPalette(QApplication::palette());
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    auto* root = new QVBoxLayout(this);
    pageArea_ = new QWidget(this);
    pageArea_->setObjectName(QStringLiteral("pageArea"));
    pageLayout_ = new QVBoxLayout(pageArea_);
    pageLayout_->setContentsMargins(0, 0, 0, 0);
    root->addWidget(pageArea_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const char* texts[2] = {"OK", "ｷｬﾝｾﾙ"};
    for (int i = 0; i < 2; ++i) {
        cmOk_[i] = new QPushButton(QString::fromUtf8(texts[i]), this);
        cmOk_[i]->setObjectName(QStringLiteral("cmOk%1").arg(i));
        cmOk_[i]->setAutoDefault(false);
        buttons->addWidget(cmOk_[i]);
    }
    root->addLayout(buttons);
    // Enter in a page's fields presses OK (when it is shown and enabled).
    cmOk_[0]->setDefault(true);
    connect(cmOk_[0], &QPushButton::clicked, this, &sbTxm::onOk);
    connect(cmOk_[1], &QPushButton::clicked, this, &sbTxm::reject);
}

sbTxm::~sbTxm() = default;

void sbTxm::cOn(uTxm* vTx) {
    if (editor_ != vTx) {
        // Pages are bound to their editor: a new editor gets new pages.
        for (auto& [code, page] : pages_)
            delete page;
        pages_.clear();
        current_ = nullptr;
    }
    editor_ = vTx;
}

void sbTxm::cOff() {
    hide();
    sJb_.clear();
    editor_ = nullptr;
    for (auto& [code, page] : pages_)
        delete page;
    pages_.clear();
    current_ = nullptr;
}

QString sbTxm::Caption(const QString& sJb) {
    for (const PageInfo& p : kPages)
        if (sJb == QLatin1String(p.code))
            return QString::fromUtf8(p.caption);
    return {};
}

sbTxmPage* sbTxm::Page(const QString& sJb) {
    const QString code = KeptCode(sJb);
    if (auto it = pages_.find(code); it != pages_.end())
        return it->second;
    sbTxmPage* page = editor_ ? MakePage(code, editor_, pageArea_) : nullptr;
    if (!page)
        return nullptr;
    page->setObjectName(QStringLiteral("fr") + code);
    page->hide();
    connect(page, &sbTxmPage::answered, this, [this](const QString& s) { sAns_ = s; });
    connect(page, &sbTxmPage::closeRequested, this, [this] { accept(); });
    connect(page, &sbTxmPage::okEnabled, this, [this](bool on) { cmOk_[0]->setEnabled(on); });
    pages_[code] = page;
    return page;
}

// Only the page shown is in the layout, so the dialog takes its size alone.
void sbTxm::setPage(sbTxmPage* page) {
    for (auto& [code, p] : pages_) {
        if (p == page)
            continue;
        pageLayout_->removeWidget(p);
        p->hide();
    }
    if (pageLayout_->indexOf(page) < 0)
        pageLayout_->addWidget(page);
    page->show();
    current_ = page;
}

bool sbTxm::Act(const QString& sJb, QString& sAns) {
    const QString caption = Caption(sJb);
    if (caption.isEmpty() || !editor_)
        return false;
    sbTxmPage* page = Page(sJb);
    if (!page)
        return false; // a page not built into this program
    sJb_ = KeptCode(sJb);
    sAns_ = sAns;
    setWindowTitle(caption);
    const bool search = sJb_ == QLatin1String("FD");
    for (QPushButton* b : cmOk_) {
        b->setEnabled(true);
        b->setVisible(!search);
    }
    setPage(page);
    page->open(sJb, sAns);

    // Size: at least the designed window, more when the page needs it;
    // centred on the main window (or the screen without one).
    // The size of this page alone: the layouts forget the page shown before.
    pageLayout_->invalidate();
    pageArea_->updateGeometry();
    layout()->invalidate();
    layout()->activate();
    const QSize sz = sizeHint().expandedTo(QSize(kMinWidth, kMinHeight));
    resize(sz);
    QWidget* main = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
    QRect over = main && main != this ? main->frameGeometry() : QRect();
    if (!over.isValid())
        if (QScreen* s = QApplication::primaryScreen())
            over = s->availableGeometry();
    if (over.isValid())
        move(over.left() + (over.width() - sz.width()) / 2,
             over.top() + (over.height() - sz.height()) / 2);

    const bool confirmed = Prompter::instance().exec(*this);
    hide();
    sAns = sAns_;
    return confirmed;
}

void sbTxm::onOk() {
    if (current_ && !current_->ok())
        return;
    accept();
}

void sbTxm::reject() {
    if (current_)
        current_->cancel();
    QDialog::reject();
}

// The close box hides the dialog like Cancel; the dialog stays for the next
// use.
void sbTxm::closeEvent(QCloseEvent* e) {
    e->ignore();
    reject();
}

// ------------------------------------------------------------ menus and jobs

sbTxmMenus& sbTxm::Menus() {
    if (!menus_) {
        menus_ = new sbTxmMenus(*this);
        menus_->cTyp(iTy_);
    }
    return *menus_;
}

void sbTxm::cTyp(int iTy) {
    iTy_ = iTy;
    if (menus_)
        menus_->cTyp(iTy);
}

bool sbTxm::SetJob(const QString& sCaption, int iElement) {
    const TxmJob::Job job = TxmJob::Of(sCaption, iElement);
    iRJb = 0;
    vOpt = 0;
    if (!job.iRJb)
        return false;
    if (job.ask &&
        Prompter::instance().message(TxmJob::ClearQuestion(), Prompter::Buttons::OkCancel,
                                     Prompter::Icon::Question) != Prompter::Answer::Ok)
        return false;
    iRJb = job.iRJb;
    vOpt = job.vOpt;
    return true;
}

namespace {
QString RedoCaption() {
    return QStringLiteral("やり直し(&R)");
}
} // namespace

void sbTxm::Remember(const QString& sCaption, const QVariant& opt, bool bCanRedo) {
    const TxmJob::Job job = TxmJob::Of(sCaption);
    if (!job.iRJb)
        return;
    if (job.iRJb == 11) {
        sRepeat_ = RedoCaption();
    } else if (job.iRJb == 12) {
        if (!bCanRedo)
            sRepeat_ = TxmJob::NoRedo();
    } else {
        sRepeat_ = TxmJob::RepeatPrefix() + TxmJob::Key(TxmJob::Repeated(sCaption));
        repeatOpt_ = opt;
    }
}

bool sbTxm::RepeatEnabled() const {
    if (sRepeat_.isEmpty() || sRepeat_ == RedoCaption())
        return true;
    return !sRepeat_.contains(QStringLiteral("できません"));
}

bool sbTxm::RepertJb() {
    iRJb = 0;
    vOpt = 0;
    if (!RepeatEnabled())
        return false;
    if (sRepeat_.isEmpty() || sRepeat_ == RedoCaption()) {
        iRJb = 12;
        return true;
    }
    if (!SetJob(sRepeat_))
        return false;
    vOpt = repeatOpt_;
    return true;
}
