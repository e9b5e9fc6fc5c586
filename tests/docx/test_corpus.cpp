// Every .docx of the corpus is read without a crash or hang, and with the
// text LibreOffice gives (white space aside). The outcome of each file is
// printed, and the counts are pinned: a file that stops being read, or
// stops matching, fails the test.
#include "Corpus.h"
#include "Document.h"
#include "Docx.h"
#include "Peers.h"
#include "TestEnv.h"
#include "Text.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

QString ourText(const model::Document& d) {
    QString t = model::plainText(d);
    t.replace(QChar(model::kNoBreakHyphen), u'-');
    t.remove(QChar(model::kSoftHyphen));
    return peers::squeeze(t);
}

// Share of `expected`'s characters (as a multiset) found in `actual`.
double overlap(const QString& actual, const QString& expected) {
    if (expected.isEmpty())
        return actual.isEmpty() ? 1.0 : 0.0;
    QHash<QChar, int> have;
    for (QChar c : actual)
        ++have[c];
    int found = 0;
    for (QChar c : expected)
        if (have[c]-- > 0)
            ++found;
    return double(found) / double(expected.size());
}

} // namespace

TEST(DocxCorpus, EveryFileReadsWithLibreOfficesText) {
    FOLIUM_REQUIRE_CORPUS();
    const QString root = Corpus::path(QStringLiteral("docx"));
    const QStringList files = Corpus::files(QStringLiteral("docx"), {QStringLiteral("*.docx")});
    // The corpus as it is today; a file added or removed changes every count.
    ASSERT_EQ(files.size(), 73);
    // LibreOffice's text of every file, in one run; the names are unique
    // across the subfolders.
    const QString out = TestEnv::freshDir(QStringLiteral("docx-corpus"));
    ASSERT_TRUE(peers::soffice(files, QStringLiteral("txt:Text (encoded):UTF8"), out));
    int read = 0, same = 0, close = 0, unchecked = 0;
    QStringList refused;
    for (const QString& path : files) {
        const QString name = path.mid(root.size() + 1);
        QString error;
        QElapsedTimer timer;
        timer.start();
        const auto doc = docx::read(TestEnv::readFile(path), &error);
        EXPECT_LT(timer.elapsed(), 20000) << name.toStdString();
        if (!doc) {
            refused << name + QStringLiteral(": ") + error;
            std::printf("refused  %s: %s\n", qPrintable(name), qPrintable(error));
            continue;
        }
        ++read;
        const QString txt =
            out + u'/' + QFileInfo(path).completeBaseName() + QStringLiteral(".txt");
        if (!QFile::exists(txt)) {
            ++unchecked;
            std::printf("unchecked %s (LibreOffice gave no text)\n", qPrintable(name));
            continue;
        }
        const QString theirs =
            peers::squeeze(QString::fromUtf8(TestEnv::readFile(txt))).remove(QChar(0xFEFF));
        const QString ours = ourText(*doc);
        if (ours == theirs) {
            ++same;
            std::printf("same     %s\n", qPrintable(name));
            continue;
        }
        const double o = std::min(overlap(ours, theirs), overlap(theirs, ours));
        if (o >= 0.9)
            ++close;
        std::printf("differs  %s (overlap %.3f, %lld vs %lld chars)\n", qPrintable(name), o,
                    qlonglong(ours.size()), qlonglong(theirs.size()));
        if (o < 0.9)
            std::printf("  ours:   %s\n  theirs: %s\n", qPrintable(ours.left(300)),
                        qPrintable(theirs.left(300)));
    }
    std::printf("corpus: %d read (%d same text, %d close, %d unchecked), %lld refused\n", read,
                same, close, unchecked, qlonglong(refused.size()));
    EXPECT_TRUE(refused.isEmpty()) << refused.join(u'\n').toStdString();
    EXPECT_EQ(read, 73);
    // The files that differ today: list numbers and chapter numbers that
    // LibreOffice's text spells out (the model keeps the list, not its
    // numbers), and deleted text of tracked changes that its text keeps.
    // Fewer than today is a regression.
    EXPECT_GE(same, 52);
    EXPECT_GE(same + close, 54);
}
