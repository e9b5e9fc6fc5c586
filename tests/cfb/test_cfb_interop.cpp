// Files written by cfb::Writer, read by other programs: Word documents from
// the corpus are repacked stream by stream into a container of our own
// layout, and antiword and LibreOffice must extract the same text from the
// repacked file as from the original. One of them carries an extra 8 MB
// stream, so its FAT needs DIFAT sectors.

#include "CompoundFile.h"
#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

void copyStorage(const cfb::Reader& r, cfb::Writer& w, const QString& path) {
    const QString prefix = path.isEmpty() ? QString() : path + QLatin1Char('/');
    ASSERT_TRUE(w.setClassId(path, r.classId(path)));
    for (const QString& name : r.streamNames(path)) {
        QString error;
        const auto bytes = r.stream(prefix + name, &error);
        ASSERT_TRUE(bytes) << error.toStdString();
        ASSERT_TRUE(w.addStream(prefix + name, *bytes));
    }
    for (const QString& name : r.storageNames(path))
        copyStorage(r, w, prefix + name);
}

QByteArray repack(const QByteArray& original, qsizetype padding) {
    QString error;
    const auto r = cfb::Reader::open(original, &error);
    EXPECT_TRUE(r) << error.toStdString();
    if (!r)
        return {};
    cfb::Writer w;
    copyStorage(*r, w, QString());
    if (padding > 0)
        w.addStream(QStringLiteral("Padding"), QByteArray(padding, 'p'));
    return w.toBytes();
}

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
};

ToolRun run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(180000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput()};
}

struct Sample {
    const char* path;
    qsizetype padding;
};
const Sample kSamples[] = {
    {"node-word-extractor/test01.doc", 0},
    {"b2xtranslator/word_with_embeded.doc", 0}, // ObjectPool storages
    {"chupatext/word_xp_ja.doc", 0},            // Japanese
    {"node-word-extractor/bigfile-01.doc", 8 * 1024 * 1024},
};

} // namespace

TEST(CfbInterop, RepackedWordFilesGiveTheSameTextInAntiwordAndLibreOffice) {
    const QString antiword = QStandardPaths::findExecutable(QStringLiteral("antiword"));
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    ASSERT_FALSE(antiword.isEmpty()) << "antiword is not installed";
    ASSERT_FALSE(soffice.isEmpty()) << "LibreOffice is not installed";

    const QString dir = TestEnv::freshDir(QStringLiteral("cfb-interop"));
    QStringList inputs;
    int antiwordCompared = 0;
    for (qsizetype i = 0; i < qsizetype(std::size(kSamples)); ++i) {
        const QByteArray original =
            TestEnv::readFile(TestEnv::sharedDir() + QStringLiteral("/corpus/doc/") +
                              QLatin1String(kSamples[i].path));
        ASSERT_FALSE(original.isEmpty()) << kSamples[i].path;
        const QByteArray repacked = repack(original, kSamples[i].padding);
        ASSERT_FALSE(repacked.isEmpty());
        EXPECT_NE(repacked, original);
        const QString orig = dir + QStringLiteral("/orig%1.doc").arg(i);
        const QString rep = dir + QStringLiteral("/rep%1.doc").arg(i);
        TestEnv::writeFile(orig, original);
        TestEnv::writeFile(rep, repacked);
        inputs << orig << rep;

        const ToolRun a = run(antiword, {QStringLiteral("-w"), QStringLiteral("0"), orig});
        const ToolRun b = run(antiword, {QStringLiteral("-w"), QStringLiteral("0"), rep});
        EXPECT_EQ(b.exitCode, a.exitCode) << kSamples[i].path;
        EXPECT_EQ(b.out, a.out) << kSamples[i].path;
        if (a.exitCode == 0 && !a.out.trimmed().isEmpty())
            ++antiwordCompared;
    }
    EXPECT_GE(antiwordCompared, 3);

    // One LibreOffice run converts them all; its own profile keeps it apart
    // from any other instance.
    const QString profile = QUrl::fromLocalFile(dir + QStringLiteral("/profile")).toString();
    QStringList args = {QStringLiteral("-env:UserInstallation=") + profile,
                        QStringLiteral("--headless"),
                        QStringLiteral("--convert-to"),
                        QStringLiteral("txt:Text"),
                        QStringLiteral("--outdir"),
                        dir + QStringLiteral("/txt")};
    const ToolRun lo = run(soffice, args + inputs);
    ASSERT_EQ(lo.exitCode, 0);
    for (qsizetype i = 0; i < qsizetype(std::size(kSamples)); ++i) {
        const QByteArray a = TestEnv::readFile(dir + QStringLiteral("/txt/orig%1.txt").arg(i));
        const QByteArray b = TestEnv::readFile(dir + QStringLiteral("/txt/rep%1.txt").arg(i));
        EXPECT_GT(a.trimmed().size(), 0) << kSamples[i].path;
        EXPECT_EQ(b, a) << kSamples[i].path;
    }
}
