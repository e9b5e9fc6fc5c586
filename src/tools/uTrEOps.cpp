// The file pane's popup menus and what they do: cut, copy and paste through
// the clipboard's file lists, delete to the trash and rename, each through
// the file-operation service and followed by a refresh.
#include "FileClipboard.h"
#include "FileOperation.h"
#include "Prompter.h"
#include "spTrE.h"
#include "uTrE.h"
#include "uTrELists.h"
#include "yIni.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kMove = QStringLiteral("移動");
const QString kCopy = QStringLiteral("複写");
const QString kDelete = QStringLiteral("削除");

// Why `name` cannot be a file name here, or empty when it can.
QString invalidNameReason(const QString& name) {
    if (name.contains(u'/') || name.contains(QChar(0)) || name == QLatin1String(".") ||
        name == QLatin1String(".."))
        return name + QStringLiteral(" は使用できない名前です");
    return {};
}

void renameFailed(const QString& reason) {
    Prompter::instance().message(QStringLiteral("ﾌｧｲﾙ名を変更できませんでした") + u'\r' + reason,
                                 Prompter::Buttons::Ok, Prompter::Icon::Warning);
}

} // namespace

void uTrE::FolderMenu(const QPoint& globalPos) {
    DoFolderMenu(menus_->PopUp(0, globalPos));
}

void uTrE::DoFolderMenu(int nIdx) {
    if (nIdx == 0)
        yIni::W_ExpFd(dir_->highlighted(), false);
}

void uTrE::FileMenu(const QPoint& globalPos) {
    menus_->SetFmnu(file_->selectedCurrent() != nullptr, FileClipboard::holdsFiles());
    DoFileMenu(menus_->PopUp(1, globalPos));
}

void uTrE::DoFileMenu(int nIdx) {
    switch (nIdx) {
    case 0:
        CutFiles();
        break;
    case 1:
        CopyFiles();
        break;
    case 2:
        PasteFiles();
        break;
    case 4:
        DeleteFiles();
        break;
    case 5:
        RenameFile();
        break;
    default:
        break; // "新規ﾌｧｲﾙ" and dismissed menus do nothing
    }
}

void uTrE::CutFiles() {
    FileClipboard::put(selectedPaths(), FileClipboard::kCut);
}

void uTrE::CopyFiles() {
    FileClipboard::put(selectedPaths(), FileClipboard::kCopy);
}

void uTrE::PasteFiles() {
    const FileClipboard::Content c = FileClipboard::read();
    if (c.paths.isEmpty() || GetPth(0).isEmpty())
        return;
    QString op;
    if (c.effect & 1)
        op = kCopy;
    else if (c.effect & 2)
        op = kMove;
    else
        return; // nobody said whether to copy or move
    const bool all = ShellFileOp(op, c.paths, GetPth(0));
    // Moved files are gone from where the clipboard points: a second paste
    // would only fail, so the list is dropped (as file managers do).
    if (op == kMove && all && FileClipboard::read().paths == c.paths)
        FileClipboard::clear();
}

void uTrE::DeleteFiles() {
    const QStringList paths = selectedPaths();
    if (paths.isEmpty())
        return;
    ShellFileOp(kDelete, paths, {});
    if (file_->selectedCurrent())
        File1_Click();
}

void uTrE::RenameFile() {
    const QListWidgetItem* item = file_->selectedCurrent();
    if (!item)
        return;
    const QString oldName = item->text();
    const std::optional<QString> answer =
        Prompter::instance().input(QStringLiteral("ﾌｧｲﾙ名の変更"), QString(), oldName);
    if (!answer)
        return;
    const QString newName = *answer;
    if (newName.trimmed().isEmpty() || newName == oldName)
        return;
    if (const QString why = invalidNameReason(newName); !why.isEmpty()) {
        renameFailed(why);
        return;
    }
    const QString from = file_->fullPath(oldName);
    const QString to = file_->fullPath(newName);
    const QFileInfo target(to);
    // A name that differs only in case may name the same file (on file
    // systems that ignore case); anything else already there is kept.
    if ((target.exists() || target.isSymLink()) &&
        (newName.compare(oldName, Qt::CaseInsensitive) != 0 ||
         target.canonicalFilePath() != QFileInfo(from).canonicalFilePath())) {
        renameFailed(newName + QStringLiteral(" は既に存在します"));
        return;
    }
    QFile file(from);
    if (!file.rename(to)) {
        renameFailed(file.errorString());
        return;
    }
    Refresh(true, newName);
}

bool uTrE::ShellFileOp(const QString& sOp, const QStringList& aSrc, const QString& sDst) {
    FileOperation::Kind kind;
    if (sOp == kMove)
        kind = FileOperation::Kind::Move;
    else if (sOp == kCopy)
        kind = FileOperation::Kind::Copy;
    else if (sOp == kDelete)
        kind = FileOperation::Kind::Delete;
    else
        return false;
    const FileOperation::Result r = FileOperation().run(kind, aSrc, sDst);
    emit eStFile(QString());
    Refresh(true);
    return r.ok();
}
