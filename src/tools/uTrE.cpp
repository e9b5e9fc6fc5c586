#include "uTrE.h"
#include "Usr.h"
#include "spTrE.h"
#include "uTrELists.h"
#include "uTrEMatch.h"
#include "yIni.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QSplitter>
#include <QStorageInfo>
#include <QTimer>
#include <QVBoxLayout>
#include <numeric>

namespace {

constexpr int kPollMs = 1500;

// Sets the busy flag for a scope and restores what it was.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = was_; }

private:
    bool& flag_;
    bool was_;
};

qint64 nowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace

uTrE::uTrE(QWidget* parent) : QWidget(parent) {
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setChildrenCollapsible(false);

    auto* pDrive = new QWidget(splitter_);
    pDrive->setObjectName(QStringLiteral("pDrive"));
    auto* driveRow = new QHBoxLayout(pDrive);
    driveRow->setContentsMargins(0, 0, 0, 0);
    drive_ = new QComboBox(pDrive);
    drive_->setObjectName(QStringLiteral("Drive1"));
    cmRet_ = new QPushButton(QStringLiteral("..."), pDrive);
    cmRet_->setObjectName(QStringLiteral("cmRet"));
    cmRet_->setToolTip(QStringLiteral("ﾌｫﾙﾀﾞの指定"));
    cmRet_->setFixedWidth(cmRet_->fontMetrics().horizontalAdvance(cmRet_->text()) * 2 + 12);
    driveRow->addWidget(drive_, 1);
    driveRow->addWidget(cmRet_);
    pDrive->setFixedHeight(pDrive->sizeHint().height());

    dir_ = new uTrEDir(splitter_);
    dir_->setObjectName(QStringLiteral("pDir"));
    file_ = new uTrEFile(splitter_);
    file_->setObjectName(QStringLiteral("pFile"));
    splitter_->addWidget(pDrive);
    splitter_->addWidget(dir_);
    splitter_->addWidget(file_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setStretchFactor(2, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter_);

    menus_ = new spTrE(this);
    timer_ = new QTimer(this);
    timer_->setInterval(kPollMs);

    connect(drive_, &QComboBox::activated, this, &uTrE::Drive1_Change);
    connect(dir_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { Dir1_Change(uTrEDir::folderOf(item)); });
    connect(file_, &QListWidget::itemClicked, this, [this] { File1_Click(); });
    connect(file_, &QListWidget::itemDoubleClicked, this, [this] { File1_DblClick(); });
    connect(cmRet_, &QPushButton::clicked, this, &uTrE::cmRet_Click);
    connect(timer_, &QTimer::timeout, this, [this] { Refresh(false); });

    dir_->setContextMenuPolicy(Qt::CustomContextMenu);
    file_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(dir_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { FolderMenu(dir_->viewport()->mapToGlobal(p)); });
    connect(file_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { FileMenu(file_->viewport()->mapToGlobal(p)); });
    file_->installEventFilter(this);
}

uTrE::~uTrE() = default;

void uTrE::cOn(const QString& sPh, const QString& sFt, const QString& sFtS) {
    if (!sFt.isEmpty())
        file_->setPattern(sFt);
    docPatterns_ = uTrEMatch::docPatterns(sFtS);
    fillDrives();
    {
        BusyScope busy(busy_);
        QString folder = sPh;
        if (!folder.isEmpty()) {
            if (!dir_->setPath(folder)) {
                folder = Usr::sUsrFd;
                dir_->setPath(folder);
            }
            selectDrive(dir_->path());
            file_->setPath(dir_->path());
            // A dotted last part naming a listed file selects it; otherwise
            // the first file is current without being selected.
            const QString last = folder.mid(folder.lastIndexOf(u'/') + 1);
            const int idx = last.contains(u'.') ? file_->indexOf(last, Qt::CaseSensitive) : -1;
            if (idx >= 0)
                file_->selectOnly(idx);
            else if (file_->count() > 0) {
                file_->clearSelection();
                file_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
            }
        }
        lastRefresh_ = nowMs();
    }
    timer_->start();
}

void uTrE::cOff() {
    timer_->stop();
}

QString uTrE::GetPth(int iTyp) const {
    if (iTyp > 1)
        return dir_->highlighted();
    QString p = dir_->path();
    if (iTyp == 1 && !p.isEmpty() && !p.endsWith(u'/'))
        p += u'/';
    return p;
}

QString uTrE::GetFile() const {
    const QListWidgetItem* item = file_->selectedCurrent();
    return item ? file_->fullPath(item->text()) : QString();
}

void uTrE::SetFile(const QString& sFL) {
    const int idx = file_->indexOf(sFL, Qt::CaseInsensitive);
    if (idx < 0)
        return;
    file_->selectOnly(idx);
    file_->scrollToItem(file_->item(idx));
    File1_Click();
}

QString uTrE::sGetFls(bool bChk) const {
    if (bChk)
        return selectedPaths().join(u'\t');
    QStringList all;
    for (const QString& n : file_->names())
        all << file_->fullPath(n);
    return all.join(u'\t');
}

QStringList uTrE::selectedPaths() const {
    QStringList out;
    for (int i = 0; i < file_->count(); ++i)
        if (file_->item(i)->isSelected())
            out << file_->fullPath(file_->item(i)->text());
    return out;
}

void uTrE::SetPth(const QString& sPh) {
    BusyScope busy(busy_);
    if (dir_->setPath(sPh)) {
        selectDrive(dir_->path());
        file_->setPath(dir_->path());
    }
    lastRefresh_ = nowMs();
}

void uTrE::UdtFld(const QString& sFL) {
    Refresh(true, sFL);
}

int uTrE::DirHi() const {
    const QList<int> sizes = splitter_->sizes();
    if (isVisible() && sizes.value(1) > 0)
        return sizes[1] * Usr::kTwipsPerPixel;
    return dirHi_;
}

void uTrE::setDirHi(int nTwips) {
    if (nTwips <= 0)
        return;
    dirHi_ = nTwips;
    QList<int> sizes = splitter_->sizes();
    const int px = qMax(1, nTwips / Usr::kTwipsPerPixel);
    // The panes share what the handles leave; the file list takes the rest.
    const int total =
        qMax(std::accumulate(sizes.begin(), sizes.end(), 0), sizes.value(0) + px + px);
    sizes = {sizes.value(0), px, qMax(1, total - sizes.value(0) - px)};
    splitter_->setSizes(sizes);
}

void uTrE::NoSelc() {
    BusyScope busy(busy_);
    file_->selectOnly(-1);
}

bool uTrE::IsDoc(const QString& sName) const {
    return uTrEMatch::isDoc(sName, docPatterns_);
}

// ------------------------------------------------------------ drive list

void uTrE::fillDrives() {
    const QSignalBlocker block(drive_);
    drive_->clear();
    QStringList roots;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady() && QFileInfo(v.rootPath()).isDir())
            roots << v.rootPath();
    roots.sort();
    roots.removeDuplicates();
    for (const QString& r : roots)
        drive_->addItem(r, r);
}

void uTrE::selectDrive(const QString& sPh) {
    const QString root = QStorageInfo(sPh).rootPath();
    if (root.isEmpty())
        return;
    const QSignalBlocker block(drive_);
    int idx = drive_->findData(root);
    if (idx < 0) {
        fillDrives();
        idx = drive_->findData(root);
    }
    if (idx < 0) {
        drive_->addItem(root, root);
        idx = drive_->count() - 1;
    }
    drive_->setCurrentIndex(idx);
}

// ----------------------------------------------------------- user actions

void uTrE::Drive1_Change(int index) {
    if (busy_)
        return;
    const QString root = drive_->itemData(index).toString();
    const QString before = dir_->path();
    Dir1_Change(root);
    if (dir_->path() == before && !before.isEmpty())
        selectDrive(before); // not reachable: the lists stay, and so does the drive
}

void uTrE::Dir1_Change(const QString& sFolder) {
    if (busy_ || !dir_->setPath(sFolder))
        return;
    {
        BusyScope busy(busy_);
        selectDrive(dir_->path());
        file_->setPath(dir_->path());
        lastRefresh_ = nowMs();
    }
    // Let the lists paint before the host does its work.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    emit eCngDr(dir_->path());
}

void uTrE::File1_Click() {
    clickRaised_.clear();
    if (busy_)
        return;
    const QString path = GetFile();
    if (path.isEmpty() || !IsDoc(QFileInfo(path).fileName()))
        return;
    clickRaised_ = path;
    clickClock_.start();
    emit eStFile(path);
}

void uTrE::File1_DblClick() {
    if (busy_)
        return;
    const QString path = GetFile();
    // The click that began this double click has reported the document.
    const bool reported = path == clickRaised_ && clickClock_.isValid() &&
                          clickClock_.elapsed() <= QApplication::doubleClickInterval();
    clickRaised_.clear();
    if (path.isEmpty())
        return;
    if (!IsDoc(QFileInfo(path).fileName()))
        yIni::W_ExpFd(path, true);
    else if (!reported)
        emit eStFile(path);
}

void uTrE::cmRet_Click() {
    QString folder = GetPth(0);
    yIni::BrowseFld(folder);
    // A cancelled picker answers empty: nothing changes and nothing is reported.
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    SetPth(folder);
    emit eCngDr(GetPth(0));
}

// ------------------------------------------------------------- refreshing

void uTrE::Refresh(bool bForce, const QString& sFL) {
    if (busy_ || dir_->path().isEmpty())
        return;
    BusyScope busy(busy_);
    qint64 folderTime = 0;
    if (!bForce) {
        const QFileInfo fi(dir_->path());
        if (!fi.exists())
            return;
        folderTime = fi.lastModified().toMSecsSinceEpoch();
        if (folderTime <= lastRefresh_)
            return;
    }

    const QString before = file_->path();
    const int oldRow = file_->currentRow();
    const QListWidgetItem* cur = file_->currentItem();
    const QString curName = cur ? cur->text() : QString();
    const bool curSelected = cur && cur->isSelected();
    QStringList selectedNames;
    for (QListWidgetItem* it : file_->selectedItems())
        selectedNames << it->text();

    dir_->refresh();
    file_->setPath(dir_->path());

    if (file_->path() == before) {
        const QString wanted = sFL.mid(sFL.lastIndexOf(u'/') + 1);
        const int found = wanted.isEmpty() ? -1 : file_->indexOf(wanted, Qt::CaseInsensitive);
        if (found >= 0) {
            file_->selectOnly(found);
        } else {
            // The selection stays on the same names; a vanished current file
            // hands its place to the one now at its index.
            int row = file_->indexOf(curName, Qt::CaseSensitive);
            if (row < 0 && oldRow >= 0)
                row = qMin(oldRow, file_->count() - 1);
            file_->clearSelection();
            for (const QString& n : selectedNames) {
                const int i = file_->indexOf(n, Qt::CaseSensitive);
                if (i >= 0)
                    file_->item(i)->setSelected(true);
            }
            if (row >= 0) {
                file_->setCurrentRow(row, QItemSelectionModel::NoUpdate);
                if (curSelected)
                    file_->item(row)->setSelected(true);
            }
        }
    }
    lastRefresh_ = bForce ? 0 : folderTime;
}

// ---------------------------------------------------------------- keyboard

bool uTrE::eventFilter(QObject* watched, QEvent* event) {
    if (watched == file_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            clickRaised_.clear();
            File1_DblClick();
            return true;
        }
        if (key->matches(QKeySequence::Delete)) {
            DeleteFiles();
            return true;
        }
        if (key->key() == Qt::Key_F2) {
            RenameFile();
            return true;
        }
        if (key->matches(QKeySequence::Cut)) {
            CutFiles();
            return true;
        }
        if (key->matches(QKeySequence::Copy)) {
            CopyFiles();
            return true;
        }
        if (key->matches(QKeySequence::Paste)) {
            PasteFiles();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
