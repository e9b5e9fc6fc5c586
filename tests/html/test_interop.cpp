// Pages LibreOffice writes from a document: the reader gets the text a
// browser shows of them (LibreOffice's own text of the same document),
// Japanese, tables and links included.
#include "HtmlTestUtil.h"

#include "MsDoc.h"
#include "Peers.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

model::Paragraph para(const QString& text, bool bold = false) {
    model::Paragraph p;
    model::CharFormat f;
    f.bold = bold;
    p.addText(text, f);
    return p;
}

model::Document sample() {
    model::Document d;
    auto& blocks = d.lastSection().blocks;
    blocks.push_back(model::Block::makeParagraph(para(QString::fromUtf8("文書の見出し"), true)));
    blocks.push_back(model::Block::makeParagraph(
        para(QString::fromUtf8("本文の段落です。Latin text, 12 digits 1234."))));
    model::Table t;
    for (int r = 0; r < 2; ++r) {
        model::TableRow row;
        for (int c = 0; c < 3; ++c) {
            model::TableCell cell;
            cell.width = 2000;
            cell.blocks.push_back(model::Block::makeParagraph(
                para(QString::fromUtf8("セル%1-%2").arg(r + 1).arg(c + 1))));
            row.cells.push_back(cell);
        }
        t.rows.push_back(row);
    }
    blocks.push_back(model::Block::makeTable(t));
    model::Paragraph link = para(QString::fromUtf8("リンク: "));
    model::Field f;
    f.type = model::FieldType::Hyperlink;
    f.target = QStringLiteral("https://example.com/page");
    f.result.push_back(model::Inline::makeText(QString::fromUtf8("例のサイト")));
    link.content.push_back(model::Inline::makeField(f));
    blocks.push_back(model::Block::makeParagraph(link));
    blocks.push_back(model::Block::makeParagraph(para(QString::fromUtf8("最後の段落"))));
    return d;
}

} // namespace

TEST(HtmlInterop, LibreOfficePageReadsWithItsText) {
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) not installed";
    const QString dir = TestEnv::freshDir();
    const QString doc = dir + QStringLiteral("/sample.doc");
    TestEnv::writeFile(doc, msdoc::write(sample()));
    ASSERT_TRUE(peers::soffice({doc}, QStringLiteral("html"), dir));
    ASSERT_TRUE(peers::soffice({doc}, QStringLiteral("txt:Text (encoded):UTF8"), dir));
    const QByteArray page = TestEnv::readFile(dir + QStringLiteral("/sample.html"));
    ASSERT_FALSE(page.isEmpty());
    const QString shown = QString::fromUtf8(TestEnv::readFile(dir + QStringLiteral("/sample.txt")));
    ASSERT_FALSE(shown.isEmpty());

    QString why;
    const std::optional<model::Document> d = html::read(page, &why, dir);
    ASSERT_TRUE(d) << why.toStdString();
    EXPECT_EQ(peers::squeeze(model::plainText(*d)), peers::squeeze(shown));
    // The table and the link come through as such.
    int tables = 0;
    QString target;
    for (const model::Block& b : body(*d)) {
        if (b.kind == model::Block::Kind::Table) {
            ++tables;
            EXPECT_EQ(b.table.rows.size(), 2u);
            EXPECT_EQ(b.table.rows.at(0).cells.size(), 3u);
        }
        for (const model::Inline& in : b.paragraph.content)
            if (in.kind == model::Inline::Kind::Field)
                target = in.field.target;
    }
    EXPECT_EQ(tables, 1);
    EXPECT_EQ(target, QStringLiteral("https://example.com/page"));
    const model::Inline* heading = runWith(*d, QString::fromUtf8("文書の見出し"));
    ASSERT_TRUE(heading);
    EXPECT_TRUE(heading->format.bold);
}
