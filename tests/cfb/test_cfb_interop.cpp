// Files written by cfb::Writer, read by other programs: Word documents are
// repacked stream by stream into a container of our own layout, and
// antiword and LibreOffice must extract the same text from the repacked file
// as from the original. One of them carries an extra 8 MB stream, so its FAT
// needs DIFAT sectors. The documents are made by LibreOffice from text the
// test chooses, and taken from the corpus when it is there.

#include "CompoundFile.h"
#include "Corpus.h"
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
    QString name;
    QByteArray bytes;
    qsizetype padding = 0;
};

// Repacks every sample; antiword and LibreOffice give the same text for the
// repacked file as for the original.
void expectSameTextWhenRepacked(const std::vector<Sample>& samples) {
    const QString antiword = QStandardPaths::findExecutable(QStringLiteral("antiword"));
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    ASSERT_FALSE(antiword.isEmpty()) << "antiword is not installed";
    ASSERT_FALSE(soffice.isEmpty()) << "LibreOffice is not installed";

    const QString dir = TestEnv::freshDir(QStringLiteral("cfb-interop"));
    QStringList inputs;
    int antiwordCompared = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        const Sample& s = samples[i];
        ASSERT_FALSE(s.bytes.isEmpty()) << s.name.toStdString();
        const QByteArray repacked = repack(s.bytes, s.padding);
        ASSERT_FALSE(repacked.isEmpty());
        EXPECT_NE(repacked, s.bytes);
        const QString orig = dir + QStringLiteral("/orig%1.doc").arg(i);
        const QString rep = dir + QStringLiteral("/rep%1.doc").arg(i);
        TestEnv::writeFile(orig, s.bytes);
        TestEnv::writeFile(rep, repacked);
        inputs << orig << rep;

        const ToolRun a = run(antiword, {QStringLiteral("-w"), QStringLiteral("0"), orig});
        const ToolRun b = run(antiword, {QStringLiteral("-w"), QStringLiteral("0"), rep});
        EXPECT_EQ(b.exitCode, a.exitCode) << s.name.toStdString();
        EXPECT_EQ(b.out, a.out) << s.name.toStdString();
        if (a.exitCode == 0 && !a.out.trimmed().isEmpty())
            ++antiwordCompared;
    }
    EXPECT_GE(antiwordCompared, int(samples.size()) - 1);

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
    for (size_t i = 0; i < samples.size(); ++i) {
        const QByteArray a = TestEnv::readFile(dir + QStringLiteral("/txt/orig%1.txt").arg(i));
        const QByteArray b = TestEnv::readFile(dir + QStringLiteral("/txt/rep%1.txt").arg(i));
        EXPECT_GT(a.trimmed().size(), 0) << samples[i].name.toStdString();
        EXPECT_EQ(b, a) << samples[i].name.toStdString();
    }
}

} // namespace

TEST(CfbInterop, RepackedLibreOfficeFilesGiveTheSameText) {
    // Word files LibreOffice makes from pages of our choosing: Latin and
    // Japanese text, tables, a long document (antiword wants more than a
    // few lines of text).
    const QString dir = TestEnv::freshDir(QStringLiteral("cfb-made"));
    const QString latin =
        QStringLiteral("<p>Plain Latin text in a compound file, a page of it.</p>");
    const QString japanese = QStringLiteral("<p>日本語の文章と English text。</p><table border=1>"
                                            "<tr><td>セル</td><td>cell</td></tr></table>");
    QString longText;
    for (int i = 0; i < 400; ++i)
        longText +=
            QStringLiteral("<p>Paragraph %1 of a long document, 長い文書の段落です。</p>").arg(i);
    const QStringList pages = {latin.repeated(40), japanese.repeated(20), longText};
    QStringList html;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        html << dir + QStringLiteral("/made%1.html").arg(i);
        TestEnv::writeFile(html.last(), "<html><head><meta charset=\"utf-8\"></head><body>" +
                                            pages[i].toUtf8() + "</body></html>");
    }
    const QString profile = QUrl::fromLocalFile(dir + QStringLiteral("/profile")).toString();
    const ToolRun made =
        run(QStringLiteral("soffice"),
            QStringList{QStringLiteral("-env:UserInstallation=") + profile,
                        QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                        QStringLiteral("doc:MS Word 97"), QStringLiteral("--outdir"), dir} +
                html);
    ASSERT_EQ(made.exitCode, 0);
    std::vector<Sample> samples;
    for (qsizetype i = 0; i < pages.size(); ++i)
        samples.push_back({QStringLiteral("made%1.doc").arg(i),
                           TestEnv::readFile(dir + QStringLiteral("/made%1.doc").arg(i)),
                           i == 2 ? 8 * 1024 * 1024 : 0});
    expectSameTextWhenRepacked(samples);
}

TEST(CfbInterop, RepackedCorpusFilesGiveTheSameText) {
    FOLIUM_REQUIRE_CORPUS();
    const std::pair<const char*, qsizetype> files[] = {
        {"node-word-extractor/test01.doc", 0},
        {"b2xtranslator/word_with_embeded.doc", 0}, // ObjectPool storages
        {"chupatext/word_xp_ja.doc", 0},            // Japanese
        {"node-word-extractor/bigfile-01.doc", 8 * 1024 * 1024},
    };
    std::vector<Sample> samples;
    for (const auto& [path, padding] : files)
        samples.push_back({QLatin1String(path),
                           Corpus::bytes(QStringLiteral("doc/") + QLatin1String(path)), padding});
    expectSameTextWhenRepacked(samples);
}
