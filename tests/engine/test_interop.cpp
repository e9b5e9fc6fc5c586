// Real Word files by other programs (the corpus) through the engine:
// Word bytes -> engine -> Word bytes keeps the text and the formatting, and
// every readable file lays out and paints. LibreOffice reads what the engine
// writes.
#include "Corpus.h"
#include "EngineTestUtil.h"
#include "ModelDump.h"

#include "Document.h"
#include "ModelBridge.h"
#include "MsDoc.h"
#include "Peers.h"
#include "Text.h"
#include "TxDocument.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

QStringList corpusDocs() {
    return Corpus::files(QStringLiteral("doc"), {QStringLiteral("*.doc")});
}

// The text with the formatting of every run: what a trip through Word must
// keep.
QString fingerprint(const TxEngine& e) {
    QString out;
    const QTextDocument* doc = e.document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            out += QString("[%1%2%3%4 %5]")
                       .arg(f.fontWeight() >= QFont::DemiBold ? "b" : "")
                       .arg(f.fontItalic() ? "i" : "")
                       .arg(f.fontUnderline() || f.underlineStyle() != 0 ? "u" : "")
                       .arg(f.fontStrikeOut() ? "s" : "")
                       .arg(f.fontPointSize()) +
                   it.fragment().text();
        }
        out += u'\n';
    }
    return out;
}

// Prints the first place where two models differ.
void diagnose(const model::Document& a, const model::Document& b) {
    if (a.sections.size() != b.sections.size()) {
        std::printf("  sections %zu vs %zu\n", a.sections.size(), b.sections.size());
        return;
    }
    if (!(a.lists == b.lists))
        std::printf("  lists differ\n");
    for (size_t s = 0; s < a.sections.size(); ++s) {
        const model::Section& x = a.sections[s];
        const model::Section& y = b.sections[s];
        auto part = [&](const char* name, const std::vector<model::Block>& p,
                        const std::vector<model::Block>& q) {
            if (!(p == q))
                std::printf("  section %zu %s:\n--- %s\n+++ %s\n", s, name,
                            qPrintable(dumpBlocks(p).left(1500)),
                            qPrintable(dumpBlocks(q).left(1500)));
        };
        if (!(x.page == y.page) || x.start != y.start || x.titlePage != y.titlePage)
            std::printf(
                "  section %zu properties: %d/%d %d/%d %d/%d %d/%d start %d/%d title %d/%d\n", s,
                x.page.width, y.page.width, x.page.height, y.page.height, x.page.marginTop,
                y.page.marginTop, x.page.headerDistance, y.page.headerDistance, int(x.start),
                int(y.start), x.titlePage, y.titlePage);
        part("header", x.header, y.header);
        part("footer", x.footer, y.footer);
        part("first header", x.firstHeader, y.firstHeader);
        part("first footer", x.firstFooter, y.firstFooter);
        if (x.blocks.size() != y.blocks.size())
            std::printf("  section %zu: %zu vs %zu blocks\n", s, x.blocks.size(), y.blocks.size());
        for (size_t i = 0; i < std::min(x.blocks.size(), y.blocks.size()); ++i)
            if (!(x.blocks[i] == y.blocks[i])) {
                std::printf("  section %zu block %zu:\n--- %s\n+++ %s\n", s, i,
                            qPrintable(dumpBlocks({x.blocks[i]}).left(2500)),
                            qPrintable(dumpBlocks({y.blocks[i]}).left(2500)));
                return;
            }
    }
}

} // namespace

// The bridge alone: every model the Word reader makes of a corpus file comes
// back unchanged from the engine.
TEST(EngineInterop, CorpusModelsThroughTheEngine) {
    FOLIUM_REQUIRE_CORPUS();
    int read = 0;
    QStringList changed;
    for (const QString& file : corpusDocs()) {
        std::optional<model::Document> in = msdoc::read(TestEnv::readFile(file));
        if (!in)
            continue;
        ++read;
        model::normalize(*in);
        TxDocument tx;
        bridge::toEngine(*in, tx);
        model::Document out = bridge::fromEngine(tx);
        model::normalize(out);
        if (!(out == *in)) {
            changed << QFileInfo(file).fileName();
            if (qEnvironmentVariableIsSet("ENGINE_DIAG"))
                diagnose(*in, out);
        }
    }
    std::printf("corpus models: %d read, changed by the engine: %s\n", read,
                qPrintable(changed.join(' ')));
    EXPECT_GT(read, 100);
    EXPECT_TRUE(changed.isEmpty());
}

// Word bytes -> engine -> Word bytes -> engine gives the text and formatting
// of the first load back. Where the Word writer and reader alone change a
// file (read, written and read without the engine), the engine's round trip
// is held to that result instead, and the file is listed.
TEST(EngineInterop, CorpusWordFilesRoundTrip) {
    FOLIUM_REQUIRE_CORPUS();
    const QStringList files = corpusDocs();
    ASSERT_FALSE(files.isEmpty());
    int read = 0;
    QStringList textLost, formatLost, wordAlone;
    for (const QString& file : files) {
        TxEngine a;
        if (!a.LoadFile(file, TxEngine::FmtDoc))
            continue; // Word 6/95, encrypted and damaged files are refused
        ++read;
        // Every page of a readable file paints.
        QImage img(200, 280, QImage::Format_RGB32);
        const int pages = a.PageCount();
        ASSERT_GE(pages, 1) << file.toStdString();
        ASSERT_TRUE(a.PaintPage(&img, pages, 25)) << file.toStdString();
        bool ok = false;
        const QByteArray bytes = a.SaveBytes(TxEngine::FmtDoc, 0, &ok);
        ASSERT_TRUE(ok) << file.toStdString();
        TxEngine b;
        ASSERT_TRUE(b.LoadBytes(bytes, TxEngine::FmtDoc))
            << file.toStdString() << ": " << b.LastError().toStdString();
        const TxEngine* expected = &a;
        TxEngine alone;
        if (b.Text() != a.Text() || fingerprint(b) != fingerprint(a)) {
            const std::optional<model::Document> m = msdoc::read(TestEnv::readFile(file));
            ASSERT_TRUE(m.has_value());
            ASSERT_TRUE(alone.LoadBytes(msdoc::write(*m), TxEngine::FmtDoc));
            wordAlone << QFileInfo(file).fileName();
            expected = &alone;
        }
        if (b.Text() != expected->Text())
            textLost << QFileInfo(file).fileName();
        else if (fingerprint(b) != fingerprint(*expected))
            formatLost << QFileInfo(file).fileName();
    }
    std::printf("corpus: %d of %lld files read; changed by the Word writer and reader alone: %s; "
                "text changed by the engine: %s; formatting changed by the engine: %s\n",
                read, qlonglong(files.size()), qPrintable(wordAlone.join(' ')),
                qPrintable(textLost.join(' ')), qPrintable(formatLost.join(' ')));
    EXPECT_GT(read, files.size() / 2);
    EXPECT_TRUE(textLost.isEmpty());
    EXPECT_TRUE(formatLost.isEmpty());
}

TEST(EngineInterop, LibreOfficeReadsWhatTheEngineWrites) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    const QString dir = TestEnv::freshDir("lo");
    TxEngine e;
    e.SetText(ctl("見出し|本文の段落です。/改行の後|Second paragraph#After the page break"));
    e.SetSelStart(0);
    e.SetSelLength(3);
    e.SetFontBold(true);
    e.SetSelStart(e.Text().size());
    e.SetSelText(ctl("|"));
    ASSERT_TRUE(e.TableInsert(1, 2));
    ASSERT_TRUE(e.SetTableCellText(1, 1, 1, "cell A"));
    ASSERT_TRUE(e.SetTableCellText(1, 2, 1, "cell B"));
    ASSERT_TRUE(e.SaveFile(dir + "/engine.doc", TxEngine::FmtDoc));
    QProcess lo;
    lo.start(soffice, {"-env:UserInstallation=" + QUrl::fromLocalFile(dir + "/profile").toString(),
                       "--headless", "--convert-to", "txt:Text (encoded):UTF8", "--outdir", dir,
                       dir + "/engine.doc"});
    ASSERT_TRUE(lo.waitForFinished(120000));
    const QString text = QString::fromUtf8(TestEnv::readFile(dir + "/engine.txt"));
    for (const char* part : {"見出し", "本文の段落です。", "改行の後", "Second paragraph",
                             "After the page break", "cell A", "cell B"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part << "\n" << text.toStdString();
}

// The editor's road: a LibreOffice-made file with headings next to tables
// (before and after them, in and out of cells, around a nested table) loaded
// into the engine and saved again as Word; LibreOffice shows every paragraph
// of the saved file with the style, size, weight and slant it showed in the
// original.
TEST(EngineInterop, HeadingsNextToTablesKeepTheirLookThroughTheEngine) {
    const QString dir = TestEnv::freshDir("headings");
    const QString source = dir + "/headings.fodt";
    TestEnv::writeFile(source, peers::headingsNextToTables().toUtf8());
    ASSERT_TRUE(peers::soffice({source}, "doc:MS Word 97", dir));
    const QString made = dir + "/headings.doc";
    TxEngine e;
    ASSERT_TRUE(e.LoadFile(made, TxEngine::FmtDoc)) << e.LastError().toStdString();
    bool ok = false;
    const QByteArray bytes = e.SaveBytes(TxEngine::FmtDoc, 0, &ok);
    ASSERT_TRUE(ok);
    const QString saved = dir + "/saved.doc";
    TestEnv::writeFile(saved, bytes);
    // What the engine shows of the heading in front of the second table.
    QTextBlock head;
    for (QTextBlock b = e.document()->begin(); b.isValid(); b = b.next())
        if (b.text() == QString::fromUtf8("表の前の見出し"))
            head = b;
    ASSERT_TRUE(head.isValid());
    EXPECT_EQ(head.begin().fragment().charFormat().fontPointSize(), 24);
    EXPECT_GE(head.begin().fragment().charFormat().fontWeight(), QFont::Bold);

    const QString shown = dir + "/shown";
    QDir().mkpath(shown);
    ASSERT_TRUE(peers::soffice({made, saved}, "fodt", shown));
    const QList<peers::ParagraphLook> original =
        peers::paragraphLooks(QString::fromUtf8(TestEnv::readFile(shown + "/headings.fodt")));
    const QList<peers::ParagraphLook> written =
        peers::paragraphLooks(QString::fromUtf8(TestEnv::readFile(shown + "/saved.fodt")));
    ASSERT_EQ(original.size(), 18) << peers::describe(original).toStdString();
    EXPECT_EQ(peers::describe(written), peers::describe(original));
}
