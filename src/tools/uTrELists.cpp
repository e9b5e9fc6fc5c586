#include "uTrELists.h"
#include "uTrEMatch.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>

namespace {

constexpr int kPathRole = Qt::UserRole;

QString cleanFolder(const QString& folder) {
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

QTreeWidgetItem* folderItem(QTreeWidget* tree, QTreeWidgetItem* parent, const QString& name,
                            const QString& path, const QIcon& icon) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setText(0, name);
    item->setIcon(0, icon);
    item->setData(0, kPathRole, path);
    item->setToolTip(0, path);
    return item;
}

} // namespace

// ------------------------------------------------------------------ folders

uTrEDir::uTrEDir(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(12);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

QString uTrEDir::folderOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, kPathRole).toString() : QString();
}

bool uTrEDir::setPath(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    path_ = cleanFolder(folder);
    rebuild(path_);
    return true;
}

void uTrEDir::refresh() {
    if (!path_.isEmpty())
        rebuild(highlighted());
}

QString uTrEDir::highlighted() const {
    const QString h = folderOf(currentItem());
    return h.isEmpty() ? path_ : h;
}

void uTrEDir::rebuild(const QString& highlight) {
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // Ancestors: "/", "/a", "/a/b", ... each below the previous one.
    QStringList chain;
    for (QString p = path_;; p = QFileInfo(p).path()) {
        chain.prepend(p);
        if (QDir(p).isRoot() || QFileInfo(p).path() == p)
            break;
    }
    QTreeWidgetItem* parent = nullptr;
    QTreeWidgetItem* toHighlight = nullptr;
    for (const QString& p : chain) {
        const QString name = QDir(p).isRoot() ? p : QFileInfo(p).fileName();
        QTreeWidgetItem* item = folderItem(this, parent, name, p, open);
        if (p == highlight)
            toHighlight = item;
        parent = item;
    }
    const QStringList subs =
        QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& s : subs) {
        const QString p = QDir(path_).filePath(s);
        QTreeWidgetItem* item = folderItem(this, parent, s, p, closed);
        if (p == highlight)
            toHighlight = item;
    }
    expandAll();
    setCurrentItem(toHighlight ? toHighlight : parent);
}

// -------------------------------------------------------------------- files

uTrEFile::uTrEFile(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
}

bool uTrEFile::setPath(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    path_ = cleanFolder(folder);
    refresh();
    return true;
}

void uTrEFile::setPattern(const QString& sFt) {
    pattern_ = sFt;
    if (!path_.isEmpty())
        refresh();
}

void uTrEFile::refresh() {
    clear();
    if (path_.isEmpty())
        return;
    QDir dir(path_);
    dir.setNameFilters(uTrEMatch::listFilters(pattern_));
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    addItems(dir.entryList());
}

QStringList uTrEFile::names() const {
    QStringList out;
    for (int i = 0; i < count(); ++i)
        out << item(i)->text();
    return out;
}

int uTrEFile::indexOf(const QString& name, Qt::CaseSensitivity cs) const {
    for (int i = 0; i < count(); ++i)
        if (item(i)->text().compare(name, cs) == 0)
            return i;
    return -1;
}

QListWidgetItem* uTrEFile::selectedCurrent() const {
    QListWidgetItem* cur = currentItem();
    return cur && cur->isSelected() ? cur : nullptr;
}

void uTrEFile::selectOnly(int index) {
    clearSelection();
    if (index < 0 || index >= count()) {
        setCurrentItem(nullptr);
        return;
    }
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

QString uTrEFile::fullPath(const QString& name) const {
    return QDir(path_).filePath(name);
}
