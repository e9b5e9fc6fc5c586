// Character and paragraph formatting: the four character attributes and
// four paragraph values land on real properties and survive the native and
// Word formats.
#include "EngineTestUtil.h"
#include "FontSubst.h"
#include "TxFonts.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

// Formats "head|body" with distinct values in each paragraph.
void formatSample(TxEngine& e) {
    e.SetText(ctl("Heading|Body text"));
    e.SetSelStart(0);
    e.SetSelLength(7);
    e.SetFontName("ＭＳ 明朝");
    e.SetFontSize(14);
    e.SetFontBold(true);
    e.SetForeColor(0x505A85); // (133,90,80)
    e.SetTextBkColor(0xC0FFC0);
    e.SetCharAttr(1, 3);
    e.SetCharAttr(2, 1);
    e.SetCharAttr(3, -20);
    e.SetCharAttr(4, 7936);
    e.SetLeftIndent(160);
    e.SetParaValue(1, 180);
    e.SetParaValue(2, 160);
    e.SetParaValue(3, -120);
    e.SetParaValue(4, 300);
    e.SetParaAttr0(1);
    e.SetLineSpacing(532);
    e.SetSelStart(8);
    e.SetSelLength(4);
    e.SetFontItalic(true);
    e.SetFontStrike(true);
    e.SetFontUnderline(true);
    e.SetFontSize(10.5);
}

void expectSample(TxEngine& e) {
    e.SetSelStart(0);
    e.SetSelLength(7);
    EXPECT_EQ(e.FontName(), "ＭＳ 明朝");
    EXPECT_DOUBLE_EQ(e.FontSize(), 14);
    EXPECT_TRUE(e.FontBold());
    EXPECT_FALSE(e.FontItalic());
    EXPECT_EQ(e.ForeColor(), 0x505A85u);
    EXPECT_EQ(e.TextBkColor(), 0xC0FFC0u);
    EXPECT_EQ(e.CharAttr(1), 3);
    EXPECT_TRUE(e.FontUnderline());
    EXPECT_EQ(e.CharAttr(2), 1);
    EXPECT_EQ(e.CharAttr(3), -20);
    EXPECT_EQ(e.CharAttr(4), 7936);
    EXPECT_EQ(e.LeftIndent(), 160);
    EXPECT_EQ(e.ParaValue(1), 180);
    EXPECT_EQ(e.ParaValue(2), 160);
    EXPECT_EQ(e.ParaValue(3), -120);
    EXPECT_EQ(e.ParaValue(4), 300);
    EXPECT_EQ(e.ParaAttr0(), 1);
    EXPECT_EQ(e.LineSpacing(), 532);
    e.SetSelStart(8);
    e.SetSelLength(4);
    EXPECT_TRUE(e.FontItalic());
    EXPECT_TRUE(e.FontStrike());
    EXPECT_TRUE(e.FontUnderline());
    EXPECT_EQ(e.CharAttr(1), 1);
    EXPECT_DOUBLE_EQ(e.FontSize(), 10.5);
    EXPECT_FALSE(e.FontBold());
    EXPECT_EQ(e.CharAttr(4), 0);
    EXPECT_EQ(e.LeftIndent(), 0);
    EXPECT_EQ(e.ParaAttr0(), 0);
    EXPECT_EQ(e.LineSpacing(), 0);
    EXPECT_EQ(e.ForeColor(), 0u);          // automatic reads as black
    EXPECT_EQ(e.TextBkColor(), 0xFFFFFFu); // no background reads as white
}

} // namespace

TEST(EngineFormat, AttributesMapOntoProperties) {
    TxEngine e;
    formatSample(e);
    expectSample(e);
    // Underline on/off is CharAttr(1) != 0; turning it off clears the kind.
    e.SetSelStart(0);
    e.SetSelLength(7);
    e.SetFontUnderline(false);
    EXPECT_EQ(e.CharAttr(1), 0);
    // Out-of-range attribute numbers do nothing.
    e.SetCharAttr(9, 5);
    EXPECT_EQ(e.CharAttr(9), 0);
    e.SetParaValue(0, 5);
    EXPECT_EQ(e.ParaValue(0), 0);
    // Without a selection, formatting sets what typing inserts next.
    e.SetSelStart(e.Text().size());
    e.SetFontBold(true);
    e.SetSelText("B");
    e.SetSelStart(e.Text().size() - 1);
    e.SetSelLength(1);
    EXPECT_TRUE(e.FontBold());
}

TEST(EngineFormat, ParagraphValuesApplyToEverySelectedParagraph) {
    TxEngine e;
    e.SetText(ctl("one|two|three"));
    e.SetSelStart(1);
    e.SetSelLength(5); // from "one" into "two"
    e.SetLeftIndent(400);
    e.SetParaValue(1, 100);
    e.SetSelStart(0);
    EXPECT_EQ(e.LeftIndent(), 400);
    e.SetSelStart(5);
    EXPECT_EQ(e.LeftIndent(), 400);
    EXPECT_EQ(e.ParaValue(1), 100);
    e.SetSelStart(9);
    EXPECT_EQ(e.LeftIndent(), 0);
}

TEST(EngineFormat, ListState) {
    TxEngine e;
    e.SetText(ctl("a|b|c"));
    EXPECT_EQ(e.ListState(), 1);
    e.SetSelStart(0);
    e.SetSelLength(3);
    e.SetListState(2);
    EXPECT_EQ(e.ListState(), 2);
    e.SetSelStart(2);
    EXPECT_EQ(e.ListState(), 2);
    e.SetSelStart(4);
    EXPECT_EQ(e.ListState(), 1);
    e.SetListState(3);
    EXPECT_EQ(e.ListState(), 3);
    e.SetSelStart(0);
    e.SetSelLength(-1);
    e.SetListState(1);
    for (int pos : {0, 2, 4}) {
        e.SetSelStart(pos);
        EXPECT_EQ(e.ListState(), 1) << pos;
    }
}

TEST(EngineFormat, SurvivesNativeAndWordFormats) {
    TxEngine e;
    formatSample(e);
    for (int format : {int(TxEngine::FmtNative), int(TxEngine::FmtDoc)}) {
        bool ok = false;
        const QByteArray bytes = e.SaveBytes(format, 0, &ok);
        ASSERT_TRUE(ok) << format;
        TxEngine back;
        if (!back.LoadBytes(bytes, format)) {
            if (format == TxEngine::FmtDoc && back.LastError().contains("not available"))
                GTEST_SKIP() << "this build has no Word reader";
            FAIL() << back.LastError().toStdString();
        }
        SCOPED_TRACE(format);
        EXPECT_EQ(shown(back.Text()), "Heading|Body text");
        expectSample(back);
    }
}

TEST(EngineFormat, CaretPositionPageLineColumn) {
    TxEngine e;
    e.resize(800, 600);
    e.SetText(ctl("first line|second/third"));
    e.SetSelStart(0);
    TxEngine::Caret c = e.CaretPos();
    EXPECT_EQ(c.page, 1);
    EXPECT_EQ(c.line, 1);
    EXPECT_EQ(c.column, 0);
    e.SetSelStart(14); // "second/th|ird"... inside "second"
    c = e.CaretPos();
    EXPECT_EQ(c.line, 2);
    EXPECT_EQ(c.column, 3);
    e.SetSelStart(20); // after the line break: "thi|rd"
    c = e.CaretPos();
    EXPECT_EQ(c.line, 3);
    EXPECT_EQ(c.column, 2);
    // A page break starts page 2 at its line 1.
    e.SetSelStart(e.Text().size());
    e.SetSelText(ctl("#next page"));
    c = e.CaretPos();
    EXPECT_EQ(c.page, 2);
    EXPECT_EQ(c.line, 1);
    EXPECT_EQ(c.column, 9);
    EXPECT_EQ(e.PageCount(), 2);
}

TEST(EngineFormat, JapaneseTextIsDrawnWithTheJapaneseFaces) {
    TxEngine e;
    e.SetText(ctl(QString::fromUtf8("日本語 Latin|日本語")));
    e.SetSelStart(0);
    e.SetSelLength(10);
    e.SetFontName("Times New Roman"); // a Latin face for Japanese text
    e.SetSelStart(10);
    e.SetSelLength(-1);
    e.SetFontName(QString::fromUtf8("ＭＳ 明朝"));
    // The names stay what the document says.
    EXPECT_EQ(e.FontName(), QString::fromUtf8("ＭＳ 明朝"));
    e.SetSelStart(0);
    e.SetSelLength(1);
    EXPECT_EQ(e.FontName(), "Times New Roman");
    // The faces that draw Japanese text in each paragraph's format.
    auto families = [&](int blockNumber) {
        const QTextBlock b = e.document()->findBlockByNumber(blockNumber);
        QTextLayout layout(QString::fromUtf8("日本語"), b.begin().fragment().charFormat().font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        QStringList out;
        for (const QGlyphRun& run : layout.glyphRuns())
            out << run.rawFont().familyName();
        return out;
    };
    // Noto CJK JP: sans for Latin and Gothic names, serif for Mincho names.
    EXPECT_EQ(families(0), QStringList{"Noto Sans CJK JP"});
    EXPECT_EQ(families(1), QStringList{"Noto Serif CJK JP"});
}

// Windows font names that are not installed are drawn with the face the
// system substitutes for them (metric-compatible where there is one), not
// with the Japanese fallback at the end of the list: Times New Roman in a
// serif face, Arial in a sans one. The names themselves are kept.
TEST(FontSubstitution, LatinNamesGetTheSystemsSubstituteAndKeepTheirName) {
    for (const char* name : {"Times New Roman", "Arial", "Century"}) {
        const QStringList fams = fontsubst::families(QString::fromLatin1(name), QString());
        ASSERT_GE(fams.size(), 2) << name;
        if (QFontDatabase::hasFamily(QString::fromLatin1(name)))
            continue; // installed: drawn as itself
        EXPECT_FALSE(fontsubst::isFallback(fams.first()))
            << name << " -> " << qPrintable(fams.first());
        EXPECT_TRUE(QFontDatabase::hasFamily(fams.first())) << qPrintable(fams.first());
    }
    QTextCharFormat f;
    txfont::setNames(f, QStringLiteral("Times New Roman"), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(txfont::latin(f), QStringLiteral("Times New Roman"));
    EXPECT_EQ(txfont::eastAsia(f), QStringLiteral("ＭＳ 明朝"));
    // Japanese names keep their Japanese faces.
    EXPECT_TRUE(
        fontsubst::isFallback(fontsubst::families(QStringLiteral("ＭＳ 明朝"), {}).first()));
}
