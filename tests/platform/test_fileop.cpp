// The file-operation service on real folders: conflicts are asked, never
// overwritten silently; copies are complete or absent; deletions go to the
// trash of the (temporary) home.
#include "FileOpProgress.h"
#include "FileOperation.h"
#include "ScriptedPrompter.h"
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Kind = FileOperation::Kind;
using A = Prompter::Answer;

// Records progress and can stop the work after a number of steps.
struct Recorder : FileOpProgress {
    QList<qint64> steps;
    qint64 total = -1;
    int stopAfter = -1;
    bool ended = false;
    void begin(const QString&, qint64 t) override { total = t; }
    bool step(qint64 done, const QString&) override {
        steps << done;
        return stopAfter < 0 || steps.size() < stopAfter;
    }
    void end() override { ended = true; }
};

struct Dirs {
    QString src = TestEnv::freshDir(QStringLiteral("src"));
    QString dst = TestEnv::freshDir(QStringLiteral("dst"));
    QString s(const QString& n) const { return src + u'/' + n; }
    QString d(const QString& n) const { return dst + u'/' + n; }
};

QByteArray bytes(const QString& p) {
    return TestEnv::readFile(p);
}

} // namespace

TEST(FileOperation, CopiesFilesAndFoldersKeepingTimesAndModes) {
    Dirs t;
    ScriptedPrompter ask;
    ask.setStrict(true);
    TestEnv::writeFile(t.s("a.doc"), "alpha");
    QDir().mkpath(t.s("sub/deeper"));
    TestEnv::writeFile(t.s("sub/deeper/.hidden"), "h");
    QFile::setPermissions(t.s("a.doc"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile f(t.s("a.doc"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QDateTime old = QDateTime::currentDateTime().addDays(-3);
    ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    f.close();

    Recorder rec;
    const auto r = FileOperation(&rec).run(Kind::Copy, {t.s("a.doc"), t.s("sub")}, t.dst);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.targets, QStringList({t.d("a.doc"), t.d("sub")}));
    EXPECT_EQ(bytes(t.d("a.doc")), "alpha");
    EXPECT_EQ(bytes(t.d("sub/deeper/.hidden")), "h");
    EXPECT_EQ(bytes(t.s("a.doc")), "alpha"); // the source stays
    EXPECT_EQ(QFileInfo(t.d("a.doc")).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
    EXPECT_TRUE(QFileInfo(t.d("a.doc")).permissions() & QFile::ExeOwner);
    EXPECT_EQ(rec.total, 6);
    ASSERT_FALSE(rec.steps.isEmpty());
    EXPECT_EQ(rec.steps.last(), 6);
    EXPECT_TRUE(std::is_sorted(rec.steps.begin(), rec.steps.end()));
    EXPECT_TRUE(rec.ended);
}

TEST(FileOperation, ConflictsAreAskedPerItem) {
    Dirs t;
    for (const char* n : {"1.txt", "2.txt", "3.txt", "4.txt"}) {
        TestEnv::writeFile(t.s(QString::fromLatin1(n)), "new");
        TestEnv::writeFile(t.d(QString::fromLatin1(n)), "old");
    }
    ScriptedPrompter ask;
    ask.answerMessage(A::Yes);    // replace 1
    ask.answerMessage(A::No);     // skip 2
    ask.answerMessage(A::Cancel); // stop at 3
    Recorder rec;
    const auto r = FileOperation(&rec).run(
        Kind::Copy, {t.s("1.txt"), t.s("2.txt"), t.s("3.txt"), t.s("4.txt")}, t.dst);
    EXPECT_TRUE(r.bCancelled);
    EXPECT_EQ(r.nSkipped, 1);
    EXPECT_EQ(bytes(t.d("1.txt")), "new");
    EXPECT_EQ(bytes(t.d("2.txt")), "old");
    EXPECT_EQ(bytes(t.d("3.txt")), "old");
    EXPECT_EQ(bytes(t.d("4.txt")), "old"); // never reached
    ASSERT_EQ(ask.calls.size(), 3);
    EXPECT_TRUE(ask.calls[0].text.startsWith(t.d("1.txt") + QStringLiteral(" は既に存在します")));
    EXPECT_EQ(ask.calls[0].buttons, Prompter::Buttons::YesNoCancel);
}

TEST(FileOperation, CopyIntoTheSameFolderMakesNumberedCopies) {
    Dirs t;
    ScriptedPrompter ask;
    ask.setStrict(true);
    TestEnv::writeFile(t.s("a.b.doc"), "x");
    TestEnv::writeFile(t.s(".rc"), "y");
    Recorder rec;
    FileOperation op(&rec);
    op.run(Kind::Copy, {t.s("a.b.doc"), t.s(".rc")}, t.src);
    op.run(Kind::Copy, {t.s("a.b.doc")}, t.src);
    EXPECT_EQ(bytes(t.s("a.b - コピー.doc")), "x");
    EXPECT_EQ(bytes(t.s("a.b - コピー (2).doc")), "x");
    EXPECT_EQ(bytes(t.s(".rc - コピー")), "y");
    // Moving into its own folder is nothing to do.
    EXPECT_TRUE(op.run(Kind::Move, {t.s("a.b.doc")}, t.src).ok());
    EXPECT_EQ(bytes(t.s("a.b.doc")), "x");
}

TEST(FileOperation, MovesReplaceOnlyWhenAllowed) {
    Dirs t;
    TestEnv::writeFile(t.s("m.doc"), "moved");
    TestEnv::writeFile(t.s("k.doc"), "kept");
    TestEnv::writeFile(t.d("m.doc"), "old");
    TestEnv::writeFile(t.d("k.doc"), "old");
    QDir().mkpath(t.s("folder/inner"));
    TestEnv::writeFile(t.s("folder/inner/f.txt"), "f");
    ScriptedPrompter ask;
    ask.answerMessage(A::Yes);
    ask.answerMessage(A::No);
    Recorder rec;
    const auto r =
        FileOperation(&rec).run(Kind::Move, {t.s("m.doc"), t.s("k.doc"), t.s("folder")}, t.dst);
    EXPECT_FALSE(r.ok()); // one skipped
    EXPECT_EQ(bytes(t.d("m.doc")), "moved");
    EXPECT_FALSE(QFile::exists(t.s("m.doc")));
    EXPECT_EQ(bytes(t.d("k.doc")), "old");
    EXPECT_EQ(bytes(t.s("k.doc")), "kept");
    EXPECT_EQ(bytes(t.d("folder/inner/f.txt")), "f");
    EXPECT_FALSE(QFileInfo::exists(t.s("folder")));
}

TEST(FileOperation, FoldersMergeOnConflictAndNeverEnterThemselves) {
    Dirs t;
    QDir().mkpath(t.s("f/g"));
    QDir().mkpath(t.d("f"));
    TestEnv::writeFile(t.s("f/new.txt"), "n");
    TestEnv::writeFile(t.s("f/same.txt"), "src");
    TestEnv::writeFile(t.d("f/same.txt"), "dst");
    TestEnv::writeFile(t.d("f/own.txt"), "o");
    ScriptedPrompter ask;
    ask.answerMessage(A::Yes); // merge the folder
    ask.answerMessage(A::No);  // keep same.txt
    Recorder rec;
    FileOperation(&rec).run(Kind::Copy, {t.s("f")}, t.dst);
    EXPECT_EQ(bytes(t.d("f/new.txt")), "n");
    EXPECT_EQ(bytes(t.d("f/same.txt")), "dst");
    EXPECT_EQ(bytes(t.d("f/own.txt")), "o");
    EXPECT_TRUE(QFileInfo(t.d("f/g")).isDir());
    ASSERT_EQ(ask.calls.size(), 2);
    EXPECT_TRUE(ask.calls[0].text.contains(QStringLiteral("ﾌｫﾙﾀﾞは既に存在します")));

    // Into itself: refused and reported, nothing created.
    const auto r = FileOperation(&rec).run(Kind::Copy, {t.s("f")}, t.s("f/g"));
    EXPECT_EQ(r.errors.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(t.s("f/g/f")));
    EXPECT_TRUE(ask.messages().last().startsWith(QStringLiteral("次の項目を処理できませんでした")));
}

TEST(FileOperation, ReportsMissingSourcesAndTypeClashes) {
    Dirs t;
    QDir().mkpath(t.d("clash"));
    TestEnv::writeFile(t.s("clash"), "file where a folder is");
    TestEnv::writeFile(t.s("ok.txt"), "ok");
    ScriptedPrompter ask;
    Recorder rec;
    const auto r = FileOperation(&rec).run(
        Kind::Copy, {t.s("missing.txt"), t.s("clash"), t.s("ok.txt")}, t.dst);
    EXPECT_EQ(r.errors.size(), 2);
    EXPECT_EQ(bytes(t.d("ok.txt")), "ok");
    EXPECT_TRUE(QFileInfo(t.d("clash")).isDir());
    ASSERT_EQ(ask.messages().size(), 1); // one report for all failures
    EXPECT_TRUE(ask.messages()[0].contains(t.s("missing.txt")));
}

TEST(FileOperation, CancelledCopyLeavesTheOldTargetWhole) {
    Dirs t;
    TestEnv::writeFile(t.s("big.bin"), QByteArray(3 << 20, 'n'));
    TestEnv::writeFile(t.d("big.bin"), "old");
    ScriptedPrompter ask;
    ask.answerMessage(A::Yes);
    Recorder rec;
    rec.stopAfter = 2; // stop during the second megabyte
    const auto r = FileOperation(&rec).run(Kind::Copy, {t.s("big.bin")}, t.dst);
    EXPECT_TRUE(r.bCancelled);
    EXPECT_EQ(bytes(t.d("big.bin")), "old");
    EXPECT_EQ(QDir(t.dst).entryList(QDir::Files | QDir::Hidden), QStringList({"big.bin"}));
}

TEST(FileOperation, LinksAreCopiedAsLinks) {
    Dirs t;
    ScriptedPrompter ask;
    ask.setStrict(true);
    QDir().mkpath(t.s("target"));
    ASSERT_TRUE(QFile::link(QStringLiteral("target"), t.s("lnk")));
    Recorder rec;
    EXPECT_TRUE(FileOperation(&rec).run(Kind::Copy, {t.s("lnk")}, t.dst).ok());
    EXPECT_TRUE(QFileInfo(t.d("lnk")).isSymLink());
    EXPECT_EQ(QFile::symLinkTarget(t.d("lnk")), t.d("target"));
}

TEST(FileOperation, MovesAcrossFileSystemsCopyThenRemove) {
    QTemporaryDir shm(QStringLiteral("/dev/shm/folium-XXXXXX"));
    Dirs t;
    if (!shm.isValid() || QStorageInfo(shm.path()).device() == QStorageInfo(t.dst).device())
        GTEST_SKIP() << "no second file system at hand";
    QDir().mkpath(shm.path() + QStringLiteral("/d"));
    TestEnv::writeFile(shm.path() + QStringLiteral("/d/x.txt"), "x");
    ScriptedPrompter ask;
    ask.setStrict(true);
    Recorder rec;
    EXPECT_TRUE(
        FileOperation(&rec).run(Kind::Move, {shm.path() + QStringLiteral("/d")}, t.dst).ok());
    EXPECT_EQ(bytes(t.d("d/x.txt")), "x");
    EXPECT_FALSE(QFileInfo::exists(shm.path() + QStringLiteral("/d")));
}

TEST(FileOperation, DeleteMovesToTheTrashAfterConfirmation) {
    Dirs t;
    TestEnv::writeFile(t.s("gone.doc"), "g");
    TestEnv::writeFile(t.s("stays.doc"), "s");
    // A fresh account: no data folder yet, so no trash either.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    ASSERT_TRUE(data.startsWith(TestEnv::home()));
    QDir(data).removeRecursively();
    const QString trash = data + QStringLiteral("/Trash/files/");
    ScriptedPrompter ask;
    ask.answerMessage(A::No);
    ask.answerMessage(A::Yes);
    Recorder rec;
    FileOperation op(&rec);
    EXPECT_TRUE(op.run(Kind::Delete, {t.s("stays.doc")}).bCancelled);
    EXPECT_TRUE(QFile::exists(t.s("stays.doc")));
    EXPECT_TRUE(op.run(Kind::Delete, {t.s("gone.doc")}).ok());
    EXPECT_FALSE(QFile::exists(t.s("gone.doc")));
    EXPECT_EQ(bytes(trash + QStringLiteral("gone.doc")), "g");
    EXPECT_EQ(ask.calls[1].text, QStringLiteral("gone.doc をごみ箱に移動しますか?"));
    EXPECT_EQ(ask.calls[1].buttons, Prompter::Buttons::YesNo);
}
