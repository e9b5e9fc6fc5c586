// Applying the styles (command 60), recognising them at the caret, the
// automatic heading and the Enter conventions, with the control as the
// user drives it.
#include "EditorFixture.h"
#include "TxText.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

// What the character at a position looks like, and its paragraph.
struct At {
    double size = 0;
    bool bold = false;
    quint32 fore = 0;
    bool underline = false;
    QString font;
    int indent = 0;
    int before = 0;
    int after = 0;
    int lineSpacing = 0;
};

At at(TxEngine* e, int pos) {
    e->SetSelStart(pos);
    e->SetSelLength(1);
    At a{e->FontSize(),      e->FontBold(),   e->ForeColor() & 0xFFFFFF,
         e->FontUnderline(), e->FontName(),   e->LeftIndent(),
         e->ParaValue(1),    e->ParaValue(2), e->LineSpacing()};
    e->SetSelStart(pos);
    return a;
}

void expectStyle(TxEngine* e, int pos, const UsrFmt& f, bool paragraph = true) {
    const At a = at(e, pos);
    EXPECT_EQ(a.size, f.iSize) << pos;
    EXPECT_EQ(a.bold, f.iBold == 1) << pos;
    EXPECT_EQ(a.fore, quint32(f.nFcr)) << pos;
    EXPECT_EQ(a.font, f.sFont) << pos;
    EXPECT_FALSE(a.underline) << pos;
    if (paragraph) {
        EXPECT_EQ(a.indent, f.iLIdt) << pos;
        EXPECT_EQ(a.before, f.iPa1) << pos;
        EXPECT_EQ(a.after, f.iPa2) << pos;
        EXPECT_EQ(a.lineSpacing, TxStyle::LineSpacing(f, 1.9f)) << pos;
    }
}

} // namespace

TEST_F(EditorTest, HeadingTakesTheLineAroundTheCaretAsAParagraphOfItsOwn) {
    ScriptedPrompter p;
    p.setStrict(true);
    uTxm& t = open();
    t.mTxt->SetText(ctl("intro/title line/more|next"));
    t.mTxt->SetSelStart(9); // inside "title line"
    t.SetDcEdt(false);
    t.rtAct(60, 1);
    EXPECT_EQ(t.mTxt->SelStart(), 9); // the caret is back, nothing selected
    EXPECT_EQ(t.mTxt->SelLength(), 0);
    EXPECT_EQ(t.pnStatus->text(), QStringLiteral("見出２"));
    EXPECT_EQ(t.iCurStl, 1);
    EXPECT_EQ(t.mTxt->Text(), ctl("intro|title line|more|next"));
    expectStyle(t.mTxt, 6, t.usrFmt[1]);
    expectStyle(t.mTxt, 15, t.usrFmt[1]);
    EXPECT_EQ(at(t.mTxt, 0).size, 10); // the line before is untouched
    EXPECT_EQ(at(t.mTxt, 0).indent, 0);
    EXPECT_EQ(at(t.mTxt, 17).size, 10);
    EXPECT_TRUE(t.bDcEdt());
    // One undo takes the whole style back.
    t.rtAct(11);
    EXPECT_EQ(t.mTxt->Text(), ctl("intro/title line/more|next"));
    EXPECT_EQ(at(t.mTxt, 9).size, 10);

    // F2 right after typing a title at the end of the first line.
    t.SetDcEdt(false);
    t.rtAct(2);
    type(QStringLiteral("Page title"));
    t.rtAct(60, 0);
    expectStyle(t.mTxt, 0, t.usrFmt[0]);
    expectStyle(t.mTxt, 9, t.usrFmt[0]);
    EXPECT_EQ(t.pnStatus->text(), QStringLiteral("見出１(頁見出)"));
}

TEST_F(EditorTest, StylesOverSelectionsAcrossParagraphs) {
    ScriptedPrompter p;
    p.setStrict(true);
    uTxm& t = open();
    // A heading over parts of two paragraphs makes them one heading paragraph.
    t.mTxt->SetText(ctl("one|two|three"));
    t.mTxt->SetSelStart(1);
    t.mTxt->SetSelLength(4); // "ne|t"
    t.rtAct(60, 2);
    EXPECT_EQ(t.mTxt->Text(), ctl("one/two|three"));
    for (int pos : {0, 2, 4, 6})
        expectStyle(t.mTxt, pos, t.usrFmt[2]);
    EXPECT_EQ(at(t.mTxt, 8).size, 10);

    // Body styles keep the paragraphs and format all of them whole.
    t.mTxt->SetText(ctl("alpha|beta/gamma|delta"));
    t.mTxt->SetSelStart(2);
    t.mTxt->SetSelLength(6); // from "alpha" into "beta"
    t.rtAct(60, 5);
    EXPECT_EQ(t.mTxt->Text(), ctl("alpha|beta/gamma|delta"));
    // Supplement: its font and colour, the paragraph values left as they were.
    for (int pos : {0, 4, 6, 12})
        expectStyle(t.mTxt, pos, t.usrFmt[5], false);
    EXPECT_EQ(at(t.mTxt, 17).size, 10);
    EXPECT_EQ(at(t.mTxt, 17).fore, 0u);
    EXPECT_EQ(t.pnStatus->text(), QStringLiteral("本文")); // never 補足

    // Body text gives a heading back its body paragraph values.
    t.mTxt->SetSelStart(0);
    t.rtAct(60, 0);
    expectStyle(t.mTxt, 0, t.usrFmt[0]);
    t.rtAct(60, 3);
    expectStyle(t.mTxt, 0, t.usrFmt[3]);
    EXPECT_EQ(at(t.mTxt, 0).lineSpacing, 380);
    t.rtAct(60, 4);
    expectStyle(t.mTxt, 2, t.usrFmt[4], false);
    EXPECT_EQ(t.pnStatus->text(), QStringLiteral("本文")); // never 強調
    EXPECT_EQ(t.mTxt->CharAttr(4), 7936);
}

TEST_F(EditorTest, StyleTableStoredInTheSettingsIsUsed) {
    store(QStringLiteral("TX_FORMAT"), QStringLiteral("USR_FORMAT_0"),
          QStringLiteral("Noto Sans CJK JP|20|255|16777215|1|0|0|0|32|300|0|0|0|0"));
    store(QStringLiteral("TX_FORMAT"), QStringLiteral("USR_LSP"), QStringLiteral("1.5"));
    ScriptedPrompter p;
    uTxm& t = open();
    EXPECT_EQ(t.usrFmt[0].iSize, 20);
    EXPECT_EQ(t.usrFmt[0].iAt4, 7936);
    EXPECT_EQ(t.usrFmt[1], TxStyle::DefaultFmt(1));
    type(QStringLiteral("Big"));
    t.rtAct(60, 0);
    const At a = at(t.mTxt, 1);
    EXPECT_EQ(a.size, 20);
    EXPECT_EQ(a.fore, 255u);
    EXPECT_EQ(a.font, QStringLiteral("Noto Sans CJK JP"));
    EXPECT_EQ(a.indent, 300);
    EXPECT_EQ(a.lineSpacing, 600); // 20 x 20 x 1.5
}

TEST_F(EditorTest, HeadingsAreRefusedOnListsAndInHostSavedPages) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(ctl("first|second"));
    t.mTxt->SetSelStart(8);
    t.mTxt->SetListState(2);
    t.SetDcEdt(false);
    t.rtAct(60, 1);
    ASSERT_EQ(p.messages().size(), 1);
    EXPECT_EQ(p.messages()[0],
              QStringLiteral("ﾘｽﾄを含む範囲に対しては､見出しのｽﾀｲﾙは設定できません"));
    EXPECT_FALSE(t.bDcEdt());
    EXPECT_FALSE(t.bSnap);
    t.rtAct(60, -1); // automatic: silently skipped
    EXPECT_EQ(p.messages().size(), 1);
    EXPECT_EQ(at(t.mTxt, 8).size, 10);
    EXPECT_EQ(t.mTxt->ListState(), 2);
    // Body text on a list paragraph by command ends the list.
    t.mTxt->SetSelStart(8);
    t.rtAct(60, 3);
    EXPECT_EQ(t.mTxt->ListState(), 1);

    // A page the host saves takes no headings at all.
    t.cTyp(0);
    t.mTxt->SetSelStart(0);
    t.SetDcEdt(false);
    t.rtAct(60, 0);
    EXPECT_EQ(at(t.mTxt, 0).size, 10);
    EXPECT_FALSE(t.bDcEdt());
    t.rtAct(60, 9); // no such style
    t.rtAct(60, -12);
    EXPECT_FALSE(t.bDcEdt());
}

TEST_F(EditorTest, EnterInBodyTextIsALineBreakAndAfterAHeadingStartsBody) {
    ScriptedPrompter p;
    uTxm& t = open();
    type(QStringLiteral("Title"));
    t.rtAct(60, 0);
    t.mTxt->SetSelStart(5);
    // In a heading Enter makes a paragraph, and the new one is body text.
    QTest::keyClick(t.mTxt, Qt::Key_Return);
    QTest::keyClicks(t.mTxt, QStringLiteral("ab"));
    EXPECT_EQ(t.mTxt->Text(), ctl("Title|ab"));
    expectStyle(t.mTxt, 0, t.usrFmt[0]);
    expectStyle(t.mTxt, 6, t.usrFmt[3]);
    t.mTxt->SetSelStart(8);
    // In body text Enter is a line break, Shift+Enter a paragraph.
    QTest::keyClick(t.mTxt, Qt::Key_Return);
    QTest::keyClicks(t.mTxt, QStringLiteral("c"));
    QTest::keyClick(t.mTxt, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(t.mTxt, QStringLiteral("d"));
    EXPECT_EQ(t.mTxt->Text(), ctl("Title|ab/c|d"));
    EXPECT_TRUE(t.bDcEdt());
    // Shift+Enter in a heading stays a line break inside it.
    t.mTxt->SetSelStart(2);
    QTest::keyClick(t.mTxt, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(t.mTxt->Text(), ctl("Ti/tle|ab/c|d"));
    expectStyle(t.mTxt, 3, t.usrFmt[0]);

    // Without the convention Enter is the engine's own: a paragraph.
    TxStyle::Shared().bEntSh = false;
    t.mTxt->SetSelStart(int(t.mTxt->Text().size()));
    QTest::keyClick(t.mTxt, Qt::Key_Return);
    EXPECT_EQ(t.mTxt->Text(), ctl("Ti/tle|ab/c|d|"));
}

TEST_F(EditorTest, FirstLineOfAPageBecomesItsHeadingOnFocus) {
    ScriptedPrompter p;
    uTxm& t = open();
    auto focusIn = [&] {
        QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
        QCoreApplication::sendEvent(t.mTxt, &in);
    };
    focusIn();
    QTest::keyClicks(t.mTxt, QStringLiteral("Heading"));
    expectStyle(t.mTxt, 0, t.usrFmt[0]);
    expectStyle(t.mTxt, 6, t.usrFmt[0]);
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("Heading")); // the stand-in blank is gone
    EXPECT_FALSE(t.bSnap);

    // At the end of the text, after a heading, typing continues in body text.
    t.mTxt->SetSelStart(7);
    t.mTxt->SetSelText(QString(TxText::kPara));
    focusIn();
    QTest::keyClicks(t.mTxt, QStringLiteral("x"));
    expectStyle(t.mTxt, 8, t.usrFmt[3]);

    // Switched off, or in a view-only editor: nothing is made a heading.
    TxStyle::Shared().bDtp = false;
    t.SetDcEdt(false);
    t.rtAct(2);
    focusIn();
    QTest::keyClicks(t.mTxt, QStringLiteral("plain"));
    EXPECT_EQ(at(t.mTxt, 0).size, 10);
    // ... but the end of the text below a heading still continues as body.
    t.mTxt->SetSelStart(0);
    t.rtAct(60, 0);
    t.mTxt->SetSelStart(5);
    t.mTxt->SetSelText(QString(TxText::kPara));
    focusIn();
    QTest::keyClicks(t.mTxt, QStringLiteral("y"));
    expectStyle(t.mTxt, 0, t.usrFmt[0]);
    expectStyle(t.mTxt, 6, t.usrFmt[3]);
    TxStyle::Shared().bDtp = true;
    uTxm& v = open(-1);
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(v.mTxt, &in);
    v.mTxt->SetSelText(QStringLiteral("view"));
    EXPECT_EQ(at(v.mTxt, 0).size, 10);
}

TEST_F(EditorTest, TitleLineEnterMakesTheTitleThePageHeading) {
    ScriptedPrompter p;
    uTxm& t = open(1, true);
    t.txTitle->setText(QStringLiteral("My page"));
    emit t.txTitle->returnPressed();
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("My page"));
    expectStyle(t.mTxt, 0, t.usrFmt[0]);
    EXPECT_TRUE(t.bDcEdt());
    // A page with text keeps it.
    t.txTitle->setText(QStringLiteral("Other"));
    emit t.txTitle->returnPressed();
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("My page"));
}

TEST_F(EditorTest, MarkersKeepTheirLookUnderAStyle) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(QStringLiteral("see "));
    t.mTxt->SetSelStart(4);
    const int tag = t.mTxt->FieldInsert(QStringLiteral("page"));
    t.mTxt->SetFieldTarget(tag, QStringLiteral("TG_12"));
    t.mTxt->SetSelStart(8);
    t.mTxt->SetSelText(QStringLiteral(" or "));
    const int link = t.mTxt->FieldInsert(QStringLiteral("web"));
    t.mTxt->SetFieldTarget(link, QStringLiteral("https://example.org/"));
    t.mTxt->SetSelStart(0);
    t.rtAct(60, 1);
    expectStyle(t.mTxt, 0, t.usrFmt[1]);
    const At tagLook = at(t.mTxt, 5);
    EXPECT_EQ(tagLook.fore, TxStyle::MarkerColor(7));
    EXPECT_TRUE(tagLook.underline);
    EXPECT_FALSE(tagLook.bold);
    EXPECT_EQ(tagLook.size, t.usrFmt[3].iSize);
    const At linkLook = at(t.mTxt, 13);
    EXPECT_EQ(linkLook.fore, TxStyle::MarkerColor(6));
    EXPECT_TRUE(linkLook.underline);
}

TEST_F(EditorTest, MarkerStylesAndStylesInAHeader) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(QStringLiteral("a tag here"));
    // A marker style looks at exactly the selected text.
    t.mTxt->SetSelStart(2);
    t.mTxt->SetSelLength(3);
    t.rtAct(60, 7);
    const At tag = at(t.mTxt, 3);
    EXPECT_EQ(tag.fore, TxStyle::MarkerColor(7));
    EXPECT_TRUE(tag.underline);
    EXPECT_EQ(tag.indent, 0); // no paragraph values
    EXPECT_FALSE(at(t.mTxt, 0).underline);
    EXPECT_FALSE(at(t.mTxt, 7).underline);
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("a tag here"));

    // In a header being edited the style goes to the header's text.
    t.mTxt->SetHeadFootMask(TxEngine::Header);
    ASSERT_TRUE(t.mTxt->HeadFootActivate(TxEngine::Header));
    t.mTxt->SetText(QStringLiteral("header text"));
    t.mTxt->SetSelStart(3);
    t.rtAct(60, 5);
    expectStyle(t.mTxt, 4, t.usrFmt[5], false);
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("header text"));
    t.mTxt->HeadFootDeactivate();
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("a tag here"));
    EXPECT_EQ(at(t.mTxt, 0).size, 10);
}
