// The control's parts and how user actions reach the operations.
#include "uTrX.h"

#include "TreeText.h"
#include "trView.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

#include <functional>

namespace {

// Hands the events of a watched object to a function, which returns true
// for those it has dealt with.
class EventHook : public QObject {
public:
    EventHook(QObject* parent, std::function<bool(QEvent*)> fn)
        : QObject(parent), fn_(std::move(fn)) {}

protected:
    bool eventFilter(QObject* obj, QEvent* e) override {
        return fn_(e) || QObject::eventFilter(obj, e);
    }

private:
    std::function<bool(QEvent*)> fn_;
};

bool IsRightButton(QEvent* e) {
    return (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick ||
            e->type() == QEvent::MouseButtonRelease) &&
           static_cast<QMouseEvent*>(e)->button() == Qt::RightButton;
}

bool IsEnter(QEvent* e) {
    if (e->type() != QEvent::KeyPress)
        return false;
    const int k = static_cast<QKeyEvent*>(e)->key();
    return k == Qt::Key_Return || k == Qt::Key_Enter;
}

// The find box: remembers whether its drop-down list was opened, so that a
// choice from the list can be told from the box's own activations (it also
// activates an entry when focus leaves with that entry's text typed).
class FindCombo : public QComboBox {
public:
    using QComboBox::QComboBox;
    bool bFromList = false;

    void showPopup() override {
        bFromList = true;
        QComboBox::showPopup();
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        // A choice is reported right after the list closes; later
        // activations are the box's own.
        QTimer::singleShot(0, this, [this] { bFromList = false; });
    }
};

} // namespace

uTrX::uTrX(QWidget* parent) : QWidget(parent) {
    BuildPanel();
}

uTrX::~uTrX() = default;

void uTrX::BuildPanel() {
    TabS_ = new QTabBar(this);
    TabS_->setDrawBase(true);
    for (const TreeText::Tab& t : TreeText::kTabs) {
        const int i = TabS_->addTab(QString::fromUtf8(t.sCaption));
        TabS_->setTabToolTip(i, QString::fromUtf8(t.sTip));
        TabS_->setTabData(i, QString::fromLatin1(t.sKey));
    }
    // A click only tells the host, which answers with SetFrame.
    connect(TabS_, &QTabBar::tabBarClicked, this, [this](int i) {
        if (i >= 0)
            emit eSetFrame(i + 1);
    });

    frTree_ = new QWidget(this);
    trView_ = new trView(frTree_);
    lsCod_ = new QTreeWidget(frTree_);
    lsCod_->setColumnCount(2);
    lsCod_->setHeaderHidden(true);
    lsCod_->setRootIsDecorated(false);
    lsCod_->setSelectionMode(QAbstractItemView::SingleSelection);
    lsCod_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lsCod_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    lsCod_->header()->setStretchLastSection(false);
    lsCod_->hide();

    frFind_ = new QWidget(this);
    auto* findCombo = new FindCombo(frFind_);
    cmbFind_ = findCombo;
    cmbFind_->setEditable(true);
    cmbFind_->setInsertPolicy(QComboBox::NoInsert);
    cmFind_ = new QPushButton(QString::fromUtf8(TreeText::kFindButton), frFind_);
    lsFind_ = new QListWidget(frFind_);

    frRcnt_ = new QWidget(this);
    lsRsnt_ = new QListWidget(frRcnt_);
    cmClrRsnt_ = new QPushButton(QString::fromUtf8(TreeText::kClearRecent), frRcnt_);

    connect(trView_, &trView::eRelease, this, &uTrX::OnRelease);
    connect(trView_, &trView::eEnter, this, &uTrX::OnEnter);
    connect(trView_, &trView::eAfterLabelEdit, this, &uTrX::OnLabelEdit, Qt::DirectConnection);
    // Expanding or collapsing only changes the image; children load on opening.
    connect(trView_, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* o) { SetNdImg(o, 2); });
    connect(trView_, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* o) { SetNdImg(o, 1); });

    connect(lsCod_, &QTreeWidget::currentItemChanged, this, &uTrX::OnCodCurrent);
    // The right button over the code list tells the host and leaves the
    // selection alone (the host's menu acts on the chosen page).
    lsCod_->viewport()->installEventFilter(new EventHook(this, [this](QEvent* e) {
        if (!IsRightButton(e))
            return false;
        if (e->type() == QEvent::MouseButtonRelease)
            emit eRightClick(false);
        return true;
    }));

    // Enter in the box and the button both run the find; choosing a word
    // from the drop-down list runs it with that word.
    cmbFind_->lineEdit()->installEventFilter(new EventHook(this, [this](QEvent* e) {
        if (!IsEnter(e))
            return false;
        FndDoc();
        return true;
    }));
    connect(cmbFind_, &QComboBox::activated, this, [this, findCombo] {
        if (findCombo->bFromList)
            FndDoc();
    });
    connect(cmFind_, &QPushButton::clicked, this, &uTrX::FndDoc);
    connect(lsFind_, &QListWidget::currentRowChanged, this, &uTrX::OpenFound);
    connect(lsRsnt_, &QListWidget::currentRowChanged, this, &uTrX::OpenRecent);
    connect(cmClrRsnt_, &QPushButton::clicked, this, [this] {
        const QSignalBlocker b(lsRsnt_);
        lsRsnt_->clear();
    });

    frFind_->hide();
    frRcnt_->hide();
    SetSize();
}

void uTrX::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!bShown_) {
        bShown_ = true;
        st_.bLstLk = false;
    }
}
