// Notes and hidden text through the engine: a model handed to the engine
// and taken back keeps them; a reference deleted in the text drops its note.
#include "EngineTestUtil.h"

#include "Document.h"
#include "ModelBridge.h"
#include "ModelBuild.h"
#include "NativeFormat.h"
#include "Notes.h"
#include "Text.h"
#include "TxDocument.h"
#include "TxNotes.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace model;

using modelbuild::para;

namespace {

Document withNotes() {
    Document d;
    CharFormat sup;
    sup.valign = VerticalAlign::Superscript;
    CharFormat hidden;
    hidden.hidden = true;
    hidden.underline = Underline::Double;
    Paragraph p = para(QStringLiteral("Body"));
    Note a;
    a.blocks.push_back(Block::makeParagraph(para(QStringLiteral("First note"))));
    Note b;
    b.kind = NoteKind::End;
    b.blocks.push_back(Block::makeParagraph(para(QStringLiteral("End note"))));
    Note c;
    c.mark = QStringLiteral("*");
    c.blocks.push_back(Block::makeParagraph(para(QStringLiteral("Starred"))));
    Note d2;
    d2.blocks.push_back(Block::makeParagraph(para(QStringLiteral("Second numbered"))));
    p.content.push_back(Inline::makeNote(a, sup));
    p.addText(QStringLiteral(" secret"), hidden);
    p.addText(QStringLiteral(" shown"), {});
    p.content.push_back(Inline::makeNote(b, sup));
    p.content.push_back(Inline::makeNote(c, sup));
    p.content.push_back(Inline::makeNote(d2, sup));
    d.lastSection().blocks.push_back(Block::makeParagraph(p));
    normalize(d);
    return d;
}

} // namespace

TEST(EngineNotes, NotesAndHiddenTextGoThroughTheEngine) {
    const Document d = withNotes();
    TxDocument tx;
    bridge::toEngine(d, tx);
    // The references show their numbers; the mark of its own shows itself.
    EXPECT_EQ(tx.body()->toPlainText(), QStringLiteral("Body1 secret shown1*2"));
    Document back = bridge::fromEngine(tx);
    normalize(back);
    EXPECT_EQ(back.sections.at(0).blocks, d.sections.at(0).blocks);
    // Hidden text is shown underlined with a grey dotted line.
    QTextCursor c(tx.body());
    c.setPosition(7);
    EXPECT_TRUE(txnote::isHidden(c.charFormat()));
    EXPECT_EQ(c.charFormat().underlineStyle(), QTextCharFormat::DotLine);
}

TEST(EngineNotes, DeletingAReferenceDropsItsNote) {
    const Document d = withNotes();
    TxDocument tx;
    bridge::toEngine(d, tx);
    QTextCursor c(tx.body());
    c.setPosition(4);
    c.setPosition(5, QTextCursor::KeepAnchor);
    c.removeSelectedText(); // the first footnote's "1"
    Document back = bridge::fromEngine(tx);
    const auto foot = notesOf(back, NoteKind::Foot);
    ASSERT_EQ(foot.size(), 2u);
    EXPECT_EQ(plainText(foot[0]->blocks), QStringLiteral("Starred\n"));
    EXPECT_EQ(notesOf(back, NoteKind::End).size(), 1u);
}

TEST(EngineNotes, NativeSnapshotsKeepTheNotes) {
    const Document d = withNotes();
    TxDocument tx;
    bridge::toEngine(d, tx);
    TxDocument restored;
    QString error;
    ASSERT_TRUE(native::load(native::save(tx), restored, &error)) << error.toStdString();
    Document back = bridge::fromEngine(restored);
    normalize(back);
    EXPECT_EQ(back.sections.at(0).blocks, d.sections.at(0).blocks);
}

// Resting the mouse on a reference shows its note's text; elsewhere no tip.
TEST(EngineNotes, AReferenceShowsItsNoteAsATip) {
    TxDocument tx;
    bridge::toEngine(withNotes(), tx);
    TxEngine e;
    e.resize(700, 400);
    e.show();
    ASSERT_TRUE(e.LoadBytes(native::save(tx), TxEngine::FmtNative));
    auto tipAt = [&](int pos) {
        QToolTip::hideText();
        QTextCursor c(e.document2().body());
        c.setPosition(pos);
        const QPoint at = e.cursorRect(c).center() + QPoint(2, 0);
        QHelpEvent help(QEvent::ToolTip, at, e.viewport()->mapToGlobal(at));
        QApplication::sendEvent(e.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(1), QString());                    // plain text (before any tip was shown)
    EXPECT_EQ(tipAt(4), QStringLiteral("First note")); // "Body|1"
    EXPECT_EQ(tipAt(18), QStringLiteral("End note"));  // "shown|1"
    EXPECT_EQ(tipAt(19), QStringLiteral("Starred"));   // the "*"
    EXPECT_EQ(tipAt(20), QStringLiteral("Second numbered"));
}
