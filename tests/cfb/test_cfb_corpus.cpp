// The .doc files of the corpus, written by Word and other programs:
// each one either opens or is refused with a reason, and every stream of an
// opened file reads or gives a reason. Word files hold a readable
// "WordDocument" stream, except the few damaged on purpose.

#include "CfbTestUtil.h"
#include "CompoundFile.h"
#include "TestEnv.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace cfbtest;

namespace {
// Files in the corpus that are not compound files, or whose container is
// damaged (fuzzer finds, a file that crashes Word, a broken header).
bool damagedOnPurpose(const QString& name) {
    static const QStringList marks = {QStringLiteral("fuzz"), QStringLiteral("crash"),
                                      QStringLiteral("bad"), QStringLiteral("wrong-ext"),
                                      QStringLiteral("is-an-rtf")};
    return name == QStringLiteral("word2.doc") || // Word 2: not a compound file
           std::any_of(marks.cbegin(), marks.cend(),
                       [&](const QString& m) { return name.contains(m, Qt::CaseInsensitive); });
}
} // namespace

TEST(CfbCorpus, EveryFileOpensOrIsRefused) {
    FOLIUM_REQUIRE_CORPUS();
    const QStringList files = corpusDocs();
    ASSERT_GT(files.size(), 100);
    int readable = 0;
    for (const QString& path : files) {
        const QString name = QFileInfo(path).fileName();
        QString error;
        const auto r = cfb::Reader::open(TestEnv::readFile(path), &error);
        const Contents c = r ? readEverything(*r) : Contents{};
        const auto word = r ? r->stream(QStringLiteral("WordDocument"), &error) : std::nullopt;
        if (!word) {
            EXPECT_FALSE(error.isEmpty()) << name.toStdString();
            EXPECT_TRUE(damagedOnPurpose(name))
                << name.toStdString() << ": " << error.toStdString();
            std::printf("%s: %s\n", qPrintable(name), qPrintable(error));
            continue;
        }
        ++readable;
        EXPECT_EQ(c.sizeMismatches, 0) << name.toStdString();
        EXPECT_FALSE(word->isEmpty()) << name.toStdString();
        if (!c.errors.isEmpty())
            std::printf("%s: %s\n", qPrintable(name), qPrintable(c.errors.join(u"; ")));
    }
    std::printf("%d of %lld corpus files have a readable WordDocument stream\n", readable,
                qlonglong(files.size()));
}
