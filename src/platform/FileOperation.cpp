#include "FileOperation.h"
#include "FileOpProgress.h"
#include "Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

constexpr qint64 kChunk = 1 << 20;
constexpr int kMaxReportedErrors = 10;

fs::path toFs(const QString& p) {
    return fs::path(QFile::encodeName(p).toStdString());
}

QString joinPath(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// A link is handled as itself (never followed), so linked folders are
// neither descended into nor copied twice.
bool isRealDir(const QFileInfo& fi) {
    return fi.isDir() && !fi.isSymLink();
}
bool existsOrLink(const QFileInfo& fi) {
    return fi.exists() || fi.isSymLink();
}

QFileInfoList children(const QString& dir) {
    return QDir(dir).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                   QDir::NoDotAndDotDot);
}

qint64 sizeOf(const QFileInfo& fi) {
    if (!isRealDir(fi))
        return fi.isSymLink() ? 0 : fi.size();
    qint64 total = 0;
    for (const QFileInfo& c : children(fi.filePath()))
        total += sizeOf(c);
    return total;
}

// True when `inner` is `outer` or lies below it (both existing folders).
bool isWithin(const QString& inner, const QString& outer) {
    const QString a = QFileInfo(inner).canonicalFilePath();
    const QString b = QFileInfo(outer).canonicalFilePath();
    if (a.isEmpty() || b.isEmpty())
        return false;
    return a == b || a.startsWith(b.endsWith(u'/') ? b : b + u'/');
}

bool removeTree(const QFileInfo& fi) {
    if (isRealDir(fi))
        return QDir(fi.filePath()).removeRecursively();
    return QFile::remove(fi.filePath());
}

class Runner {
public:
    Runner(FileOpProgress& progress, bool move) : progress_(progress), move_(move) {}

    FileOperation::Result result;

    void transferAll(const QStringList& sources, const QString& destFolder) {
        qint64 total = 0;
        for (const QString& s : sources)
            total += sizeOf(QFileInfo(s));
        progress_.begin(move_ ? QStringLiteral("ﾌｧｲﾙを移動しています")
                              : QStringLiteral("ﾌｧｲﾙを複写しています"),
                        total);
        const QString dest = QDir::cleanPath(QFileInfo(destFolder).absoluteFilePath());
        for (const QString& s : sources) {
            if (result.bCancelled)
                break;
            transferTop(s, dest);
        }
        progress_.end();
    }

private:
    enum class Choice { Replace, Skip, Cancel };

    FileOpProgress& progress_;
    const bool move_;
    qint64 done_ = 0;

    void fail(const QString& path, const QString& why) {
        result.errors << path + QStringLiteral(": ") + why;
    }

    bool advance(qint64 bytes, const QString& item) {
        done_ += bytes;
        if (!progress_.step(done_, item))
            result.bCancelled = true;
        return !result.bCancelled;
    }

    Choice askConflict(const QString& target, bool folders) {
        const QString text =
            folders ? target + QStringLiteral(" ﾌｫﾙﾀﾞは既に存在します") + u'\r' +
                          QStringLiteral("中の項目を統合しますか?") + u'\r' +
                          QStringLiteral("(はい: 統合、いいえ: ｽｷｯﾌﾟ、キャンセル: 中止)")
                    : target + QStringLiteral(" は既に存在します") + u'\r' +
                          QStringLiteral("置き換えますか?") + u'\r' +
                          QStringLiteral("(はい: 置き換え、いいえ: ｽｷｯﾌﾟ、キャンセル: 中止)");
        switch (Prompter::instance().message(text, Prompter::Buttons::YesNoCancel,
                                             Prompter::Icon::Question)) {
        case Prompter::Answer::Yes:
            return Choice::Replace;
        case Prompter::Answer::No:
            return Choice::Skip;
        default:
            return Choice::Cancel;
        }
    }

    void transferTop(const QString& source, const QString& dest) {
        const QFileInfo si(source);
        if (!existsOrLink(si)) {
            fail(source, QStringLiteral("見つかりません"));
            return;
        }
        QString target = joinPath(dest, si.fileName());
        if (QFileInfo(si.absolutePath()).canonicalFilePath() ==
            QFileInfo(dest).canonicalFilePath()) {
            if (move_) { // already where it should go
                ++result.nDone;
                return;
            }
            target = joinPath(dest, FileOperation::copyName(dest, si.fileName()));
        }
        if (isRealDir(si) && isWithin(dest, si.filePath())) {
            fail(source, QStringLiteral("ﾌｫﾙﾀﾞをその中に移動・複写することはできません"));
            return;
        }
        if (transfer(si, target))
            result.targets << target;
    }

    // Copies or moves one item to `target`, asking when it exists. Returns
    // true when the item now stands at `target`.
    bool transfer(const QFileInfo& si, const QString& target) {
        const QFileInfo ti(target);
        if (existsOrLink(ti)) {
            const bool folders = isRealDir(si) && isRealDir(ti);
            if (!folders && isRealDir(si) != isRealDir(ti)) {
                fail(si.filePath(),
                     target + QStringLiteral(" と種類が異なるため置き換えられません"));
                return false;
            }
            switch (askConflict(target, folders)) {
            case Choice::Cancel:
                result.bCancelled = true;
                return false;
            case Choice::Skip:
                ++result.nSkipped;
                advance(sizeOf(si), si.fileName());
                return false;
            case Choice::Replace:
                break;
            }
            if (folders)
                return merge(si, target);
            if (ti.isSymLink() && !QFile::remove(target)) {
                fail(target, QStringLiteral("置き換えられません"));
                return false;
            }
        }
        if (move_) {
            // rename() replaces an existing file atomically; across file
            // systems the item is copied and the source removed afterwards.
            if (std::rename(QFile::encodeName(si.filePath()).constData(),
                            QFile::encodeName(target).constData()) == 0) {
                ++result.nDone;
                advance(sizeOf(QFileInfo(target)), si.fileName());
                return true;
            }
            if (errno != EXDEV) {
                fail(si.filePath(), QString::fromLocal8Bit(std::strerror(errno)));
                return false;
            }
        }
        return copyTree(si, target);
    }

    // Folder onto an existing folder: every child goes in, conflicts asked
    // one by one; a moved folder is removed once it is empty.
    bool merge(const QFileInfo& si, const QString& target) {
        const int errorsBefore = int(result.errors.size());
        const int skippedBefore = result.nSkipped;
        for (const QFileInfo& c : children(si.filePath())) {
            if (result.bCancelled)
                return false;
            transfer(c, joinPath(target, c.fileName()));
        }
        if (move_ && !result.bCancelled)
            QDir().rmdir(si.filePath());
        return !result.bCancelled && result.errors.size() == errorsBefore &&
               result.nSkipped == skippedBefore;
    }

    // Copies `si` to `target` (which is free, or a file the user agreed to
    // replace); with move_ the source is removed once all of it arrived.
    bool copyTree(const QFileInfo& si, const QString& target) {
        const int errorsBefore = int(result.errors.size());
        bool ok = false;
        if (si.isSymLink())
            ok = copyLink(si, target);
        else if (isRealDir(si)) {
            ok = QFileInfo(target).isDir() || QDir().mkdir(target);
            if (!ok)
                fail(target, QStringLiteral("ﾌｫﾙﾀﾞを作成できません"));
            for (const QFileInfo& c : children(si.filePath())) {
                if (!ok || result.bCancelled)
                    break;
                transfer(c, joinPath(target, c.fileName()));
            }
            ok = ok && !result.bCancelled && result.errors.size() == errorsBefore;
        } else
            ok = copyFile(si, target);
        if (ok && move_ && !removeTree(si)) {
            fail(si.filePath(), QStringLiteral("移動元を削除できません"));
            ok = false;
        }
        if (ok)
            ++result.nDone;
        return ok;
    }

    bool copyLink(const QFileInfo& si, const QString& target) {
        std::error_code ec;
        const fs::path linkTo = fs::read_symlink(toFs(si.filePath()), ec);
        if (!ec) {
            fs::remove(toFs(target), ec);
            fs::create_symlink(linkTo, toFs(target), ec);
        }
        if (ec)
            fail(si.filePath(), QString::fromStdString(ec.message()));
        return !ec;
    }

    // Written through a temporary file that replaces the target only when
    // complete, so a failed or cancelled copy leaves the old target intact.
    bool copyFile(const QFileInfo& si, const QString& target) {
        QFile in(si.filePath());
        if (!in.open(QIODevice::ReadOnly)) {
            fail(si.filePath(), in.errorString());
            return false;
        }
        QSaveFile out(target);
        if (!out.open(QIODevice::WriteOnly)) {
            fail(target, out.errorString());
            return false;
        }
        while (!in.atEnd()) {
            const QByteArray chunk = in.read(kChunk);
            if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
                fail(si.filePath(), in.errorString());
                out.cancelWriting();
                return false;
            }
            if (out.write(chunk) != chunk.size()) {
                fail(target, out.errorString());
                out.cancelWriting();
                return false;
            }
            if (!advance(chunk.size(), si.fileName())) {
                out.cancelWriting();
                return false;
            }
        }
        if (!out.commit()) {
            fail(target, out.errorString());
            return false;
        }
        QFile::setPermissions(target, in.permissions());
        std::error_code ec;
        fs::last_write_time(toFs(target), fs::last_write_time(toFs(si.filePath()), ec), ec);
        return true;
    }
};

void reportErrors(const QStringList& errors) {
    if (errors.isEmpty())
        return;
    QStringList lines = errors.mid(0, kMaxReportedErrors);
    if (errors.size() > kMaxReportedErrors)
        lines << QStringLiteral("ほか %1 件").arg(errors.size() - kMaxReportedErrors);
    Prompter::instance().message(QStringLiteral("次の項目を処理できませんでした") + u'\r' +
                                     lines.join(u'\r'),
                                 Prompter::Buttons::Ok, Prompter::Icon::Warning);
}

bool confirmTrash(const QStringList& sources) {
    const QString text =
        sources.size() == 1
            ? QFileInfo(sources.first()).fileName() + QStringLiteral(" をごみ箱に移動しますか?")
            : QStringLiteral("これらの %1 個の項目をごみ箱に移動しますか?").arg(sources.size());
    return Prompter::instance().message(text, Prompter::Buttons::YesNo, Prompter::Icon::Question) ==
           Prompter::Answer::Yes;
}

} // namespace

FileOperation::FileOperation(FileOpProgress* progress) : progress_(progress) {}

FileOperation::Result FileOperation::run(Kind kind, const QStringList& sources,
                                         const QString& destFolder) {
    Result r;
    if (sources.isEmpty())
        return r;
    std::unique_ptr<FileOpProgress> own;
    FileOpProgress* progress = progress_;
    if (!progress) {
        own = FileOpProgress::dialog();
        progress = own.get();
    }

    if (kind == Kind::Delete) {
        if (!confirmTrash(sources)) {
            r.bCancelled = true;
            return r;
        }
        // The trash lives in the user's data folder, which a fresh account
        // may not have yet.
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
        progress->begin(QStringLiteral("ごみ箱に移動しています"), sources.size());
        for (const QString& s : sources) {
            QFile file(s);
            if (file.moveToTrash())
                ++r.nDone;
            else
                r.errors << s + QStringLiteral(": ") + file.errorString();
            if (!progress->step(r.nDone + r.errors.size(), QFileInfo(s).fileName())) {
                r.bCancelled = true;
                break;
            }
        }
        progress->end();
    } else if (!QFileInfo(destFolder).isDir()) {
        r.errors << destFolder + QStringLiteral(": ﾌｫﾙﾀﾞが見つかりません");
    } else {
        Runner runner(*progress, kind == Kind::Move);
        runner.transferAll(sources, destFolder);
        r = runner.result;
    }
    reportErrors(r.errors);
    return r;
}

QString FileOperation::copyName(const QString& folder, const QString& name) {
    // The extension is what follows the last dot, unless the dot leads the name.
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString ext = dot > 0 ? name.mid(dot) : QString();
    for (int n = 1;; ++n) {
        const QString candidate = stem + QStringLiteral(" - コピー") +
                                  (n > 1 ? QStringLiteral(" (%1)").arg(n) : QString()) + ext;
        if (!existsOrLink(QFileInfo(joinPath(folder, candidate))))
            return candidate;
    }
}
