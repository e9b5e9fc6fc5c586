#include "Document.h"
#include "MsDoc.h"
#include "Text.h"

#include <gtest/gtest.h>

using namespace model;

namespace {

Document roundTrip(const Document& d) {
    QString error;
    const auto back = msdoc::read(msdoc::write(d), &error);
    EXPECT_TRUE(back.has_value()) << error.toStdString();
    return back.value_or(Document());
}

Paragraph para(const QString& text, const CharFormat& f = {}) {
    Paragraph p;
    p.addText(text, f);
    return p;
}

void expectSame(Document a, Document b) {
    normalize(a);
    normalize(b);
    ASSERT_EQ(a.sections.size(), b.sections.size());
    for (size_t s = 0; s < a.sections.size(); ++s) {
        const Section& x = a.sections[s];
        const Section& y = b.sections[s];
        EXPECT_EQ(x.page, y.page);
        ASSERT_EQ(x.blocks.size(), y.blocks.size())
            << plainText(a).toStdString() << "|" << plainText(b).toStdString();
        for (size_t i = 0; i < x.blocks.size(); ++i)
            EXPECT_EQ(x.blocks[i], y.blocks[i]) << "section " << s << " block " << i;
        EXPECT_EQ(x.header, y.header);
        EXPECT_EQ(x.footer, y.footer);
        EXPECT_EQ(x.firstHeader, y.firstHeader);
        EXPECT_EQ(x.firstFooter, y.firstFooter);
        EXPECT_EQ(x.titlePage, y.titlePage);
        EXPECT_EQ(x.start, y.start);
    }
    EXPECT_EQ(a, b);
}

} // namespace

TEST(DocRoundTrip, CharacterAndParagraphFormatting) {
    Document d;
    Section& s = d.lastSection();
    s.page.width = 11906;
    s.page.height = 16838;
    s.page.marginLeft = 1134;
    s.page.marginTop = 1701;
    s.page.orientation = Orientation::Portrait;
    Paragraph p;
    p.format.align = Alignment::Center;
    p.format.leftIndent = 400;
    p.format.rightIndent = 200;
    p.format.firstLineIndent = -200;
    p.format.spaceBefore = 180;
    p.format.spaceAfter = 120;
    p.format.lineSpacing = 380;
    p.format.lineRule = LineRule::AtLeast;
    p.format.keepWithNext = true;
    p.format.styleName = QStringLiteral("見出２");
    p.format.tabs = {{720, TabAlign::Left, TabLeader::None},
                     {2880, TabAlign::Right, TabLeader::Dots}};
    CharFormat a;
    a.font = QStringLiteral("Arial");
    a.fontEastAsia = QStringLiteral("ＭＳ 明朝");
    a.halfPoints = 28;
    a.bold = true;
    a.color = rgb(133, 90, 80);
    CharFormat b;
    b.italic = true;
    b.underline = Underline::Double;
    b.strike = true;
    b.background = rgb(255, 255, 0);
    b.valign = VerticalAlign::Superscript;
    p.addText(QStringLiteral("見出し text"), a);
    p.addText(QStringLiteral(" italic\tafter tab") + QChar(kLineBreak) + QStringLiteral("line 2"),
              b);
    p.markFormat = a;
    s.blocks.push_back(Block::makeParagraph(p));
    Paragraph q = para(QStringLiteral("page two"));
    q.format.pageBreakBefore = true;
    q.format.lineSpacing = 360;
    q.format.align = Alignment::Justify;
    s.blocks.push_back(Block::makeParagraph(q));
    Paragraph e; // empty paragraph keeps its mark's size
    e.markFormat.halfPoints = 40;
    s.blocks.push_back(Block::makeParagraph(e));
    Paragraph x = para(QStringLiteral("exact"));
    x.format.lineRule = LineRule::Exact;
    x.format.lineSpacing = 300;
    s.blocks.push_back(Block::makeParagraph(x));
    expectSame(d, roundTrip(d));
}
