// Every RTF file of the corpus is read without a crash or hang, with the
// text LibreOffice gives it (white space aside). The outcome of each file is
// printed and the counts are pinned, so a file that stops being read or
// stops matching fails the test.
#include "Corpus.h"
#include "Peers.h"
#include "RtfTestUtil.h"
#include "TestEnv.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <cstdio>

namespace {

// Text without any white space (no-break and ideographic spaces included).
QString bare(const QString& s) {
    QString out;
    for (QChar c : s)
        if (!c.isSpace() && c != QChar(0x00A0) && c != QChar(0x3000))
            out += c;
    return out;
}

TEST(RtfCorpus, EveryFileReadsWithLibreOfficesText) {
    FOLIUM_REQUIRE_CORPUS();
    const QStringList files =
        Corpus::files(QStringLiteral("rtf"), {QStringLiteral("*.rtf"), QStringLiteral("*.RTF")});
    ASSERT_FALSE(files.isEmpty()) << "no RTF files below " << Corpus::dir().toStdString();
    const QString dir = TestEnv::freshDir(QStringLiteral("rtf-corpus"));
    // One LibreOffice run for all files; names are unique in the folder.
    ASSERT_TRUE(peers::soffice(files, QStringLiteral("txt:Text (encoded):UTF8"), dir));
    int read = 0, same = 0, close = 0;
    for (const QString& path : files) {
        QString error;
        const auto doc = rtf::read(TestEnv::readFile(path), &error);
        const QString name = QFileInfo(path).fileName();
        if (!doc) {
            std::printf("refused  %s: %s\n", qPrintable(name), qPrintable(error));
            continue;
        }
        ++read;
        const QString theirs = bare(QString::fromUtf8(
            TestEnv::readFile(dir + u'/' + QFileInfo(path).completeBaseName() + ".txt")));
        const QString ours = bare(model::plainText(*doc));
        const bool match = theirs == ours;
        same += match;
        // LibreOffice's text holds the numbers and bullets of lists, which
        // the model keeps as list properties: nearly all of its characters
        // are ours all the same.
        const double share = Corpus::overlap(ours, theirs);
        close += share >= 0.97;
        std::printf("%s %s (%lld chars, %.3f of theirs)\n", match ? "same    " : "differs ",
                    qPrintable(name), qlonglong(ours.size()), share);
        if (!match) {
            qsizetype at = 0;
            while (at < ours.size() && at < theirs.size() && ours[at] == theirs[at])
                ++at;
            std::printf("  from %lld ours:   %s\n  theirs: %s\n", qlonglong(at),
                        qPrintable(ours.mid(at, 80)), qPrintable(theirs.mid(at, 80)));
        }
    }
    EXPECT_EQ(files.size(), 24);
    EXPECT_EQ(read, 24);
    EXPECT_EQ(same, 21);
    // sample.rtf holds hidden text, which LibreOffice's text export keeps and
    // the plain text (what finds search) leaves out.
    EXPECT_EQ(close, 23);
}

TEST(RtfCorpus, JapaneseSingleAndDoubleByteText) {
    FOLIUM_REQUIRE_CORPUS();
    const QString path = Corpus::path(QStringLiteral("rtf/rtf.js/japanese-single-double-byte.rtf"));
    const model::Document d = rtftest::readRtf(TestEnv::readFile(path));
    const QString t = model::plainText(d);
    EXPECT_FALSE(t.contains(QChar(0xFFFD)));
    // Double-byte characters whose trail byte is a backslash, a brace or
    // another character RTF gives a meaning of its own, and the edges of the
    // code page.
    for (const char* line :
         {"漾 (0xe040 for DBCS boundary cases testing)",
          "黑 (0xfc4b for DBCS boundary cases testing)", "祇 (8b5f)", "藹 (e55c)",
          "ａｂｃ（ｄｏｕｂｌｅ－ｂｙｔｅ Ro-maji starting with a lower case"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(line))) << line;
    ASSERT_FALSE(d.sections.empty());
    // The Japanese runs keep their East Asian font, the Latin ones theirs.
    bool eastAsian = false;
    for (const model::Block& b : d.sections[0].blocks)
        for (const model::Inline& in : b.paragraph.content)
            if (in.text.contains(QStringLiteral("祇")))
                eastAsian = in.format.fontEastAsia == QStringLiteral("ＭＳ 明朝");
    EXPECT_TRUE(eastAsian);
}

} // namespace
