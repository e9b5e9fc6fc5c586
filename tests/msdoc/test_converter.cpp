// The headless converter: folium --headless --convert-to FMT [--outdir DIR] FILE...
#include "Converter.h"
#include "Document.h"
#include "MsDoc.h"
#include "TestEnv.h"
#include "Text.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

TEST(Converter, ConvertsBetweenTextAndWordAndReportsFailures) {
    const QString dir = TestEnv::freshDir(QStringLiteral("convert"));
    const QString out = dir + QStringLiteral("/out");
    TestEnv::writeFile(dir + QStringLiteral("/note.txt"),
                       QStringLiteral("一行目\n二行目\n").toUtf8());
    TestEnv::writeFile(dir + QStringLiteral("/broken.doc"), QByteArray("not a document"));
    // A .doc under a name without extension is recognised by its bytes.
    model::Document d;
    model::Paragraph p;
    p.addText(QStringLiteral("word text"), {});
    d.lastSection().blocks.push_back(model::Block::makeParagraph(p));
    TestEnv::writeFile(dir + QStringLiteral("/noext"), msdoc::write(d));

    QString messages;
    QTextStream err(&messages);
    // LibreOffice's "fmt:filter" form is accepted; the filter is ignored.
    int rc = formats::runHeadless(
        {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
         QStringLiteral("doc:MS Word 97"), QStringLiteral("--outdir"), out,
         dir + QStringLiteral("/note.txt"), dir + QStringLiteral("/noext"),
         dir + QStringLiteral("/broken.doc"), dir + QStringLiteral("/missing.txt")},
        err);
    EXPECT_EQ(rc, 1);
    // One line per failed file, naming it.
    const QStringList lines = messages.trimmed().split(u'\n');
    ASSERT_EQ(lines.size(), 2) << messages.toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("broken.doc")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("missing.txt")));
    const auto note = msdoc::read(TestEnv::readFile(out + QStringLiteral("/note.doc")));
    ASSERT_TRUE(note.has_value());
    EXPECT_EQ(model::plainText(*note), QStringLiteral("一行目\n二行目\n"));
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/noext.doc")));
    EXPECT_FALSE(QFile::exists(out + QStringLiteral("/broken.doc")));

    // Back to text; all succeed, exit status 0.
    messages.clear();
    rc = formats::runHeadless({QStringLiteral("--convert-to"), QStringLiteral("txt"),
                               QStringLiteral("--outdir"), out, out + QStringLiteral("/noext.doc")},
                              err);
    EXPECT_EQ(rc, 0) << messages.toStdString();
    EXPECT_EQ(TestEnv::readFile(out + QStringLiteral("/noext.txt")), QByteArray("word text\n"));

    // An unknown target format is refused before any file is touched.
    EXPECT_NE(formats::runHeadless({QStringLiteral("--convert-to"), QStringLiteral("xyz"),
                                    dir + QStringLiteral("/note.txt")},
                                   err),
              0);
    // The registry maps the engine's format numbers.
    EXPECT_EQ(formats::Converter::instance().byEngineFormat(9)->name, QStringLiteral("doc"));
    EXPECT_EQ(formats::Converter::instance().byEngineFormat(1)->name, QStringLiteral("txt"));
}
