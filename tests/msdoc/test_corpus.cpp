// Every .doc of the shared corpus is read with the text antiword gives
// (white space, table rules and picture marks aside), or refused with a
// reason; none crashes or hangs. The outcome of each file is printed.
#include "Document.h"
#include "MsDoc.h"
#include "Peers.h"
#include "TestEnv.h"
#include "Text.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

namespace {

QString antiwordText(const QString& path) {
    QString a = peers::antiword(path);
    static const QRegularExpression marks(QStringLiteral("\\[pic\\]|\\|-{3,}\\||\\||^-{3,}$"),
                                          QRegularExpression::MultilineOption);
    a.remove(marks);
    return peers::squeeze(a);
}

QString ourText(const model::Document& d) {
    QString t = peers::squeeze(model::plainText(d));
    t.replace(QChar(model::kNoBreakHyphen), u'-');
    t.remove(QChar(model::kSoftHyphen));
    return t;
}

// Share of `expected`'s characters (as a multiset) found in `actual`.
double overlap(const QString& actual, const QString& expected) {
    if (expected.isEmpty())
        return actual.isEmpty() ? 1.0 : 0.0;
    std::map<char16_t, int> counts;
    for (QChar c : actual)
        ++counts[c.unicode()];
    int found = 0;
    for (QChar c : expected)
        if (counts[c.unicode()]-- > 0)
            ++found;
    return double(found) / double(expected.size());
}

} // namespace

TEST(DocCorpus, EveryFileReadsLikeAntiwordOrIsRefused) {
    const QString root = TestEnv::sharedDir() + QStringLiteral("/corpus/doc");
    QDirIterator it(root, {QStringLiteral("*.doc")}, QDir::Files, QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext())
        files << it.next();
    files.sort();
    ASSERT_GT(files.size(), 100);
    int same = 0, close = 0, refused = 0, read = 0;
    for (const QString& path : files) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QString error;
        const auto doc = msdoc::read(f.readAll(), &error);
        const QString name = path.mid(root.size() + 1);
        if (!doc) {
            ++refused;
            EXPECT_FALSE(error.isEmpty()) << name.toStdString();
            std::printf("refused  %s: %s\n", qPrintable(name), qPrintable(error));
            continue;
        }
        ++read;
        const QString ours = ourText(*doc);
        const QString theirs = antiwordText(path);
        QString expected;
        const QString expFile = path.left(path.size() - 4) + QStringLiteral(".expected.txt");
        if (QFile::exists(expFile))
            expected = peers::squeeze(QString::fromUtf8(TestEnv::readFile(expFile)));
        if (ours == theirs || (!expected.isEmpty() && ours == expected)) {
            ++same;
            std::printf("same     %s\n", qPrintable(name));
            continue;
        }
        // antiword gives nothing for some files it cannot parse; then the
        // other extraction is the reference.
        const QString ref = theirs.isEmpty() ? expected : theirs;
        // Without antiword's text, the other extraction may hold footnotes
        // and comments: then only our text has to be found in it.
        const double o = theirs.isEmpty() ? overlap(ref, ours)
                                          : std::min(overlap(ours, ref), overlap(ref, ours));
        std::printf("differs  %s (overlap %.3f, %lld vs %lld chars)\n", qPrintable(name), o,
                    qlonglong(ours.size()), qlonglong(ref.size()));
        if (o >= 0.9 || ref.isEmpty())
            ++close;
    }
    std::printf("corpus: %d read (%d same text, %d close), %d refused\n", read, same, close,
                refused);
    // Most files give exactly antiword's text; nearly all the rest differ in
    // generated text (list numbers) or stories read apart (footnotes, text
    // boxes) only.
    EXPECT_GT(same, read * 6 / 10);
    EXPECT_GE(same + close, read * 95 / 100);
}
