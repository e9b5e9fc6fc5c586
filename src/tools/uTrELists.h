#pragma once
// The folder list and the file list of the file pane. The folder list shows
// the current folder's ancestors from the root down, then its subfolders;
// one of them is highlighted, and the current folder changes only when the
// user opens an entry. The file list shows the current folder's files that
// match its pattern. Both read the disk synchronously, so what they show is
// what the folder held when they were last pointed at it or refreshed.

#include <QListWidget>
#include <QTreeWidget>

class uTrEDir : public QTreeWidget {
    Q_OBJECT
public:
    explicit uTrEDir(QWidget* parent = nullptr);

    // The current folder (no trailing "/" except for the root); empty before
    // the first setPath.
    QString path() const { return path_; }
    // Makes `folder` current; false (nothing changed) when it is no folder.
    bool setPath(const QString& folder);
    // Re-reads the subfolders, keeping the highlighted folder when it remains.
    void refresh();
    // The folder of the highlighted entry (the current folder when none).
    QString highlighted() const;
    static QString folderOf(const QTreeWidgetItem* item);

private:
    void rebuild(const QString& highlight);
    QString path_;
};

class uTrEFile : public QListWidget {
    Q_OBJECT
public:
    explicit uTrEFile(QWidget* parent = nullptr);

    QString path() const { return path_; }
    bool setPath(const QString& folder);
    QString pattern() const { return pattern_; }
    void setPattern(const QString& sFt);
    void refresh();

    QStringList names() const;
    // Index of the first file named `name` (ignoring case when asked), or -1.
    int indexOf(const QString& name, Qt::CaseSensitivity cs) const;
    // The current entry when it is also marked selected, else null.
    QListWidgetItem* selectedCurrent() const;
    // Makes row `index` current and the only selected one (-1: none).
    void selectOnly(int index);
    // Full path of a listed name.
    QString fullPath(const QString& name) const;

private:
    QString path_;
    QString pattern_ = QStringLiteral("*.*");
};
