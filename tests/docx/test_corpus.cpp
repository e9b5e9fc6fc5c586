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
    Corpus::Tally tally;
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
            tally.refused(name, error);
            continue;
        }
        const QString txt =
            out + u'/' + QFileInfo(path).completeBaseName() + QStringLiteral(".txt");
        if (!QFile::exists(txt)) {
            tally.withoutReference(name, QStringLiteral("LibreOffice gave no text"));
            continue;
        }
        const QString theirs =
            peers::squeeze(QString::fromUtf8(TestEnv::readFile(txt))).remove(QChar(0xFEFF));
        const QString ours = ourText(*doc);
        if (ours == theirs) {
            tally.matched(name);
            continue;
        }
        const double o = std::min(Corpus::overlap(ours, theirs), Corpus::overlap(theirs, ours));
        if (!tally.differs(name, o, ours.size(), theirs.size()))
            std::printf("  ours:   %s\n  theirs: %s\n", qPrintable(ours.left(300)),
                        qPrintable(theirs.left(300)));
    }
    std::printf("corpus: %d read (%d same text, %d close, %d unchecked), %lld refused\n",
                tally.read, tally.same, tally.close, tally.unchecked, qlonglong(refused.size()));
    EXPECT_TRUE(refused.isEmpty()) << refused.join(u'\n').toStdString();
    EXPECT_EQ(tally.read, 73);
    // The files that differ today: list numbers and chapter numbers that
    // LibreOffice's text spells out (the model keeps the list, not its
    // numbers), and deleted text of tracked changes that its text keeps.
    // Fewer than today is a regression.
    EXPECT_GE(tally.same, 52);
    EXPECT_GE(tally.same + tally.close, 54);
}
