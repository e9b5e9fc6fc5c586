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

TEST(Converter, ReadsADocByWhatItHolds) {
    model::Document d;
    model::Paragraph p;
    p.addText(QStringLiteral("中身 content"), {});
    d.lastSection().blocks.push_back(model::Block::makeParagraph(p));
    const auto& c = formats::Converter::instance();
    QString error;
    const QByteArray rtfBytes = *c.save(d, 5, &error);
    const QByteArray docxBytes = *c.save(d, 13, &error);
    const QByteArray docBytes = *c.save(d, 9, &error);
    // Asked as .doc (9): RTF and Word Open XML read too.
    for (const QByteArray& bytes : {rtfBytes, docxBytes, docBytes}) {
        const auto back = c.load(bytes, 9, &error);
        ASSERT_TRUE(back.has_value()) << error.toStdString();
        EXPECT_EQ(model::plainText(*back), QStringLiteral("中身 content\n"));
    }
    // The newer formats are taken as named: RTF is no package.
    EXPECT_FALSE(c.load(rtfBytes, 13, &error).has_value());
    // A text file is its text, whatever it looks like.
    const auto text = c.load(QByteArray("{\\rtf1 not read as rtf}"), 1, &error);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(model::plainText(*text), QStringLiteral("{\\rtf1 not read as rtf}\n"));
    // A damaged package is still reported, by the reader of what it claims to be.
    EXPECT_FALSE(c.load(QByteArray("PK\x03\x04junk", 8), 9, &error).has_value());

    // The converter too: an RTF file named .doc converts.
    const QString dir = TestEnv::freshDir(QStringLiteral("convert-sniff"));
    TestEnv::writeFile(dir + QStringLiteral("/really-rtf.doc"), rtfBytes);
    TestEnv::writeFile(dir + QStringLiteral("/rtf-noext"), rtfBytes);
    QString messages;
    QTextStream err(&messages);
    EXPECT_EQ(formats::runHeadless({QStringLiteral("--convert-to"), QStringLiteral("txt"),
                                    QStringLiteral("--outdir"), dir,
                                    dir + QStringLiteral("/really-rtf.doc"),
                                    dir + QStringLiteral("/rtf-noext")},
                                   err),
              0)
        << messages.toStdString();
    EXPECT_EQ(QString::fromUtf8(TestEnv::readFile(dir + QStringLiteral("/really-rtf.txt"))),
              QStringLiteral("中身 content\n"));
    EXPECT_EQ(QString::fromUtf8(TestEnv::readFile(dir + QStringLiteral("/rtf-noext.txt"))),
              QStringLiteral("中身 content\n"));
}
