// The control's parts and how user actions reach the operations.
#include "uTrX.h"

#include "TreeText.h"
#include "trView.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>

namespace {

// Reports right-button releases over the code list and keeps a right-button
// press from moving its selection (the host's menu acts on the chosen page).
class RightClickFilter : public QObject {
public:
    RightClickFilter(QObject* parent, std::function<void()> onRelease)
        : QObject(parent), onRelease_(std::move(onRelease)) {}

protected:
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick ||
            e->type() == QEvent::MouseButtonRelease) {
            if (static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) {
                if (e->type() == QEvent::MouseButtonRelease)
                    onRelease_();
                return true;
            }
        }
        return QObject::eventFilter(obj, e);
    }

private:
    std::function<void()> onRelease_;
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
    cmbFind_ = new QComboBox(frFind_);
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

    connect(lsCod_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* o) { ChooseCod(o); });
    lsCod_->viewport()->installEventFilter(
        new RightClickFilter(this, [this] { emit eRightClick(false); }));

    // Enter in the box and the button both run the find; choosing a word
    // from the drop-down list runs it with that word.
    connect(cmbFind_->lineEdit(), &QLineEdit::returnPressed, this, &uTrX::FndDoc);
    connect(cmbFind_, &QComboBox::activated, this, [this] {
        if (cmbFind_->view()->isVisible() || !cmbFind_->lineEdit()->hasFocus())
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
