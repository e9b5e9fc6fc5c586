// Relayout after edits: the layout the engine keeps up to date while the user
// types, deletes, pastes, formats and inserts tables and pictures must be the
// layout a fresh, complete pass gives the same text - every line at the same
// place, the same page breaks, the same painted pages - in the page view and
// in the normal view; and undoing every edit gives back the first layout.
#include "Document.h"
#include "EngineTestUtil.h"
#include "MsDoc.h"
#include "QuickLayout.h"
#include "TxDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>

namespace {

// Every line of every paragraph (table cells included): where it starts in
// the text, how long it is and where it stands in the layout.
struct Line {
    int block = 0;
    int start = 0;
    int length = 0;
    QPointF pos;
};

struct Geometry {
    std::vector<Line> lines;
    int pages = 0;
};

Geometry geometry(TxEngine& e) {
    Geometry g;
    QTextDocument* body = e.document2().body();
    QAbstractTextDocumentLayout* layout = body->documentLayout();
    for (QTextBlock b = body->begin(); b.isValid(); b = b.next()) {
        const QRectF r = layout->blockBoundingRect(b);
        const QTextLayout* tl = b.layout();
        for (int i = 0; tl && i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            g.lines.push_back({b.blockNumber(), line.textStart(), line.textLength(),
                               r.topLeft() + line.position()});
        }
    }
    g.pages = e.PageCount();
    return g;
}

// The first difference between two layouts, empty when they agree.
std::string difference(const Geometry& got, const Geometry& want) {
    std::ostringstream out;
    if (got.pages != want.pages)
        out << "pages " << got.pages << " instead of " << want.pages << "; ";
    if (got.lines.size() != want.lines.size())
        out << got.lines.size() << " lines instead of " << want.lines.size() << "; ";
    for (size_t i = 0; i < std::min(got.lines.size(), want.lines.size()); ++i) {
        const Line& a = got.lines[i];
        const Line& b = want.lines[i];
        if (a.block != b.block || a.start != b.start || a.length != b.length ||
            std::abs(a.pos.x() - b.pos.x()) > 0.01 || std::abs(a.pos.y() - b.pos.y()) > 0.01) {
            out << "line " << i << " (paragraph " << b.block << ", from " << b.start << ", "
                << b.length << " chars at " << b.pos.x() << "," << b.pos.y() << ") is paragraph "
                << a.block << ", from " << a.start << ", " << a.length << " chars at " << a.pos.x()
                << "," << a.pos.y();
            break;
        }
    }
    return out.str();
}

std::vector<QImage> pages(const TxEngine& e, int count) {
    std::vector<QImage> out;
    for (int page = 1; page <= count; ++page) {
        QImage img(int(e.PageWidth() / 30.0) + 1, int(e.PageHeight() / 30.0) + 1,
                   QImage::Format_RGB32);
        img.fill(Qt::gray);
        e.PaintPage(&img, page, 50);
        out.push_back(img);
    }
    return out;
}

// The layout kept up to date against a complete relayout of the same text;
// the painted pages too.
void expectSameAsFullLayout(TxEngine& e, const std::string& step) {
    SCOPED_TRACE(step);
    const Geometry kept = geometry(e);
    const std::vector<QImage> keptPages = pages(e, kept.pages);
    QTextDocument* body = e.document2().body();
    body->markContentsDirty(0, body->characterCount());
    const Geometry full = geometry(e);
    EXPECT_EQ(difference(kept, full), "");
    const std::vector<QImage> fullPages = pages(e, full.pages);
    for (size_t i = 0; i < std::min(keptPages.size(), fullPages.size()); ++i)
        EXPECT_TRUE(keptPages[i] == fullPages[i]) << "page " << i + 1 << " paints differently";
}

QString paragraphs(int count, int seed) {
    QString text;
    for (int i = 0; i < count; ++i) {
        text +=
            QString::fromUtf8("段落 %1: 日本語の文章と English words が続きます。").arg(seed + i);
        for (int k = 0; k < (seed + i) % 5; ++k)
            text += QStringLiteral(" More text to wrap the paragraph onto another line.");
        text += u'|';
    }
    return ctl(text);
}

// Some pages of paragraphs of different lengths, a heading, a table and a
// forced page break.
void fill(TxEngine& e) {
    e.SetText(paragraphs(50, 0) + ctl("#") + paragraphs(40, 50));
    e.SetSelStart(0);
    e.SetSelLength(12);
    e.SetFontSize(18);
    e.SetFontBold(true);
    e.SetSelStart(e.Text().size() / 3);
    ASSERT_TRUE(e.TableInsert(3, 3));
    e.SetSelText(QStringLiteral("cell text"));
}

// An engine window in view `view`, shown, with the text of fill().
void showFilled(TxEngine& e, int view) {
    e.resize(900, 700);
    e.SetViewMode(view);
    e.show();
    fill(e);
}

// A place at random in the text; outside tables when `plain`.
int somewhere(TxEngine& e, std::mt19937& rnd, bool plain) {
    const int length = e.Text().size();
    for (int tries = 0; tries < 20; ++tries) {
        const int pos = std::uniform_int_distribution<int>(0, length)(rnd);
        e.SetSelStart(pos);
        if (!plain || e.TableAtCaret() == 0)
            return pos;
    }
    e.SetSelStart(0);
    return 0;
}

// One edit of the kind `kind` at a random place; returns what it did.
std::string edit(TxEngine& e, std::mt19937& rnd, int kind) {
    QWidget* keys = e.viewport();
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rnd); };
    const int pos = somewhere(e, rnd, kind >= 5);
    std::ostringstream what;
    switch (kind) {
    case 0: // typing
        QTest::keyClicks(keys, QStringLiteral("typing more words "));
        what << "typed at " << pos;
        break;
    case 1: // a new paragraph
        QTest::keyClick(keys, Qt::Key_Return);
        what << "return at " << pos;
        break;
    case 2: { // deleting across paragraphs
        const int n = pick(40, 900);
        e.SetSelLength(n);
        e.Clip(TxEngine::ClipDelete);
        what << "deleted " << n << " from " << pos;
        break;
    }
    case 3: // a page's worth pasted
        e.SetSelText(paragraphs(14, pick(0, 100)));
        what << "pasted a page at " << pos;
        break;
    case 4: { // styles
        const int n = pick(20, 600);
        e.SetSelLength(n);
        const int size = pick(8, 26);
        e.SetFontSize(size);
        e.SetParaValue(1, pick(0, 4) * 120);
        e.SetLineSpacing(pick(0, 1) * 400);
        what << "styled " << n << " from " << pos << " at " << size << " pt";
        break;
    }
    case 5: // a table
        e.TableInsert(pick(1, 4), pick(1, 3));
        e.SetSelText(QStringLiteral("table"));
        what << "table at " << pos;
        break;
    case 6: // a picture in the text
        e.ImageInsertBytes(pngBytes(pick(40, 400), pick(40, 500)), TxEngine::FlowInline);
        what << "picture at " << pos;
        break;
    default: // a page break
        e.SetSelText(ctl("#"));
        what << "page break at " << pos;
        break;
    }
    return what.str();
}

} // namespace

TEST(EngineRelayout, EditsGiveTheLayoutOfAFullPassAndUndoGivesTheFirstBack) {
    for (int view : {int(TxEngine::ViewPage), int(TxEngine::ViewNormal)}) {
        SCOPED_TRACE(view == TxEngine::ViewPage ? "page view" : "normal view");
        TxEngine e;
        showFilled(e, view);
        e.document2().body()->clearUndoRedoStacks();
        const QString text = e.Text();
        expectSameAsFullLayout(e, "loaded");
        const Geometry first = geometry(e);
        ASSERT_GT(first.pages, 4);

        std::mt19937 rnd(view == TxEngine::ViewPage ? 7 : 11);
        for (int step = 0; step < 48; ++step) {
            const std::string what = edit(e, rnd, step % 8);
            expectSameAsFullLayout(e, std::to_string(step) + ": " + what);
            if (::testing::Test::HasFailure())
                return;
        }
        ASSERT_NE(e.Text(), text);
        for (int n = 0; e.CanUndo() && n < 1000; ++n)
            e.Undo();
        EXPECT_EQ(shown(e.Text()), shown(text));
        expectSameAsFullLayout(e, "after undo");
        EXPECT_EQ(difference(geometry(e), first), "");
    }
}

// Typing that moves every later page break by a line, then takes it back:
// the pages after the edit follow at once, in both directions.
TEST(EngineRelayout, PageBreaksFollowALineAddedAndRemovedNearTheStart) {
    TxEngine e;
    e.resize(900, 700);
    e.SetViewMode(TxEngine::ViewPage);
    e.SetText(paragraphs(120, 3));
    const Geometry before = geometry(e);
    e.SetSelStart(5);
    QTest::keyClick(e.viewport(), Qt::Key_Return);
    expectSameAsFullLayout(e, "line added");
    const Geometry added = geometry(e);
    EXPECT_NE(difference(added, before), "");
    QTest::keyClick(e.viewport(), Qt::Key_Backspace);
    expectSameAsFullLayout(e, "line removed");
    EXPECT_EQ(difference(geometry(e), before), "");
}

// HasPage answers from the layout down to the page asked for; it must agree
// with the complete count for text that ends in a paragraph, on a page break
// or in a table, in both views.
TEST(EngineRelayout, HasPageAgreesWithThePageCount) {
    for (int view : {int(TxEngine::ViewPage), int(TxEngine::ViewNormal)}) {
        SCOPED_TRACE(view);
        for (int ending = 0; ending < 3; ++ending) {
            SCOPED_TRACE(ending);
            TxEngine e;
            e.SetViewMode(view);
            e.SetText(paragraphs(45 + ending * 7, ending));
            e.SetSelStart(e.Text().size());
            if (ending == 0) {
                e.SetSelText(ctl("last#"));
            } else if (ending == 2) {
                ASSERT_TRUE(e.TableInsert(6, 2));
            }
            ASSERT_LT(e.PageCount(), 12);
            TxEngine fresh; // the same text, never counted before it is asked
            fresh.SetViewMode(view);
            fresh.LoadBytes(e.SaveBytes(TxEngine::FmtNative), TxEngine::FmtNative);
            for (int page = 1; page <= 12; ++page)
                EXPECT_EQ(fresh.HasPage(page), page <= e.PageCount()) << "page " << page;
            EXPECT_FALSE(e.HasPage(0));
        }
    }
}

// A paragraph whose lines are to be kept together on one page still wraps at
// the page's width, after loading and after a trip through the native format.
TEST(EngineRelayout, KeptTogetherParagraphsWrapAtThePageWidth) {
    model::Document d;
    model::Section s;
    model::Paragraph p;
    p.format.keepTogether = true;
    p.addText(QString("Words that fill more than one line of the page. ").repeated(12), {});
    s.blocks.push_back(model::Block::makeParagraph(p));
    d.sections.push_back(s);
    TxEngine e;
    ASSERT_TRUE(e.LoadBytes(msdoc::write(d), TxEngine::FmtDoc));
    TxEngine again;
    ASSERT_TRUE(again.LoadBytes(e.SaveBytes(TxEngine::FmtNative), TxEngine::FmtNative));
    // Earlier versions stored the property as Qt's non-breakable lines.
    TxEngine older;
    {
        TxEngine writer;
        writer.SetText(QString("Words that fill more than one line of the page. ").repeated(12));
        QTextCursor c(writer.document2().body());
        QTextBlockFormat bf;
        bf.setNonBreakableLines(true);
        c.mergeBlockFormat(bf);
        ASSERT_TRUE(older.LoadBytes(writer.SaveBytes(TxEngine::FmtNative), TxEngine::FmtNative));
    }
    for (TxEngine* engine : {&e, &again, &older}) {
        QTextDocument* body = engine->document2().body();
        const QTextBlock block = body->begin();
        const QRectF r = body->documentLayout()->blockBoundingRect(block);
        EXPECT_GT(block.layout()->lineCount(), 3);
        EXPECT_LE(r.right(), (engine->PageWidth() - engine->MarginRight()) / 15.0 + 1);
        // ... and the model still says so.
        bool ok = false;
        const std::optional<model::Document> back =
            msdoc::read(engine->SaveBytes(TxEngine::FmtDoc, 0, &ok));
        ASSERT_TRUE(ok && back);
        EXPECT_TRUE(back->sections[0].blocks[0].paragraph.format.keepTogether);
    }
}

namespace {

int quickEdits(TxEngine& e) {
    return quicklayout::counts(e.document2().body()).quick;
}

// A paragraph of the main text whose lines run from one page onto the next
// (a line further down than the one before it by more than its height).
int paragraphAcrossPages(TxEngine& e) {
    QTextDocument* body = e.document2().body();
    for (QTextBlock b = body->begin(); b.isValid(); b = b.next()) {
        const QTextLayout* tl = b.layout();
        for (int i = 1; tl && i < tl->lineCount(); ++i)
            if (tl->lineAt(i).y() - tl->lineAt(i - 1).y() > 3 * tl->lineAt(i - 1).height())
                return b.position() + tl->lineAt(i).textStart() + 2;
    }
    return -1;
}

} // namespace

// Keys typed inside a paragraph lay out that paragraph alone; whatever they
// do - a letter, a word made bold, the paragraph centred or indented, text
// typed through the input method, a line more - the layout is the one a full
// pass gives, in both views and in a paragraph running across a page end.
TEST(EngineRelayout, EditsInsideAParagraphKeepTheLayoutOfAFullPass) {
    for (int view : {int(TxEngine::ViewPage), int(TxEngine::ViewNormal)}) {
        SCOPED_TRACE(view == TxEngine::ViewPage ? "page view" : "normal view");
        TxEngine e;
        showFilled(e, view);
        int at = view == TxEngine::ViewPage ? paragraphAcrossPages(e) : e.Text().size() / 2;
        ASSERT_GT(at, 0);
        e.SetSelStart(at);
        QApplication::processEvents(); // the caret's paragraph is noted
        const int before = quickEdits(e);
        for (const char* key : {"x", "y", " ", "z"}) {
            QTest::keyClicks(e.viewport(), QString::fromLatin1(key));
            expectSameAsFullLayout(e, std::string("typed ") + key);
            // The full pass of the comparison is a change too; note the
            // caret's paragraph again, as the editor does when idle.
            QApplication::processEvents();
        }
        EXPECT_GE(quickEdits(e) - before, 3) << "typing took the full layout";

        e.SetSelStart(at - 1);
        e.SetSelLength(4);
        // Each change comes with the caret's paragraph noted, as it is when
        // the user gives a command.
        auto change = [&](const char* what, auto apply) {
            QApplication::processEvents();
            apply();
            expectSameAsFullLayout(e, what);
        };
        change("bold", [&] { e.SetFontBold(true); });
        change("larger", [&] { e.SetFontSize(20); });
        change("centred", [&] { e.SetParaAttr0(2); });
        change("indented", [&] { e.SetLeftIndent(600); });
        change("indented on the right", [&] { e.SetParaValue(4, 300); });
        change("space before", [&] { e.SetParaValue(1, 240); });
        change("space after", [&] { e.SetParaValue(2, 240); });
        change("line spacing", [&] { e.SetLineSpacing(480); });
        e.SetSelStart(at);
        QApplication::processEvents();
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(e.viewport(), Qt::Key_W);
        expectSameAsFullLayout(e, "a line more");
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(e.viewport(), Qt::Key_Backspace);
        expectSameAsFullLayout(e, "a line less");

        // The input method: text being composed, then committed.
        QList<QInputMethodEvent::Attribute> none;
        QInputMethodEvent compose(QString::fromUtf8("にほんご"), none);
        QApplication::sendEvent(e.viewport(), &compose);
        expectSameAsFullLayout(e, "composing");
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf8("日本語"));
        QApplication::sendEvent(e.viewport(), &commit);
        expectSameAsFullLayout(e, "committed");
    }
}

// Quick edits leave Qt's stored resume points after them behind; a later
// change that needs Qt's layout - near them or far after them - still lays
// out from a point before them, and so does one before them.
TEST(EngineRelayout, ChangesAfterQuickEditsStartBeforeThem) {
    for (int distance : {300, 20000}) {
        SCOPED_TRACE(distance);
        TxEngine e;
        e.resize(900, 700);
        e.SetViewMode(TxEngine::ViewPage);
        e.SetText(paragraphs(260, 1));
        ASSERT_GT(e.Text().size(), distance + 1000);
        e.SetSelStart(200);
        QApplication::processEvents();
        const int before = quickEdits(e);
        QTest::keyClicks(e.viewport(), QStringLiteral("abc"));
        ASSERT_GE(quickEdits(e) - before, 2);
        e.SetSelStart(200 + distance);
        QTest::keyClick(e.viewport(), Qt::Key_Return);
        expectSameAsFullLayout(e, "a paragraph after quick edits");

        e.SetSelStart(200 + distance);
        QApplication::processEvents();
        QTest::keyClicks(e.viewport(), QStringLiteral("abc"));
        e.SetSelStart(100);
        QTest::keyClick(e.viewport(), Qt::Key_Return);
        expectSameAsFullLayout(e, "a paragraph before quick edits");
    }
}

// Paragraphs the quick path leaves to Qt's layout: the empty one after a
// table, and one with a word longer than the line.
TEST(EngineRelayout, ParagraphsByTablesAndOverlongWordsKeepTheLayoutOfAFullPass) {
    TxEngine e;
    e.resize(900, 700);
    e.SetViewMode(TxEngine::ViewPage);
    e.SetText(paragraphs(10, 2) + QString(300, u'M') + ctl("|") + paragraphs(10, 3));
    e.SetSelStart(e.Text().indexOf(QStringLiteral("MMMM")) + 100);
    QApplication::processEvents();
    QTest::keyClicks(e.viewport(), QStringLiteral("ab"));
    expectSameAsFullLayout(e, "typed into an overlong word");
    e.SetSelStart(e.Text().size() / 3);
    ASSERT_TRUE(e.TableInsert(2, 2));
    int after = -1;
    const QTextDocument* body = e.document2().body();
    for (QTextBlock b = body->begin(); b.isValid(); b = b.next())
        if (b.previous().isValid() && body->frameAt(b.previous().position()) != body->rootFrame() &&
            body->frameAt(b.position()) == body->rootFrame())
            after = b.position();
    ASSERT_GT(after, 0);
    e.SetSelStart(after);
    QApplication::processEvents();
    QTest::keyClicks(e.viewport(), QStringLiteral("after the table"));
    expectSameAsFullLayout(e, "typed after a table");
}

namespace {

// The lines of the main text's paragraphs standing between `top` and
// `bottom`, read from the paragraphs' own layouts (asking the document layout
// would have it finish first).
std::vector<Line> linesBetween(TxEngine& e, double top, double bottom) {
    std::vector<Line> out;
    QTextDocument* body = e.document2().body();
    for (QTextBlock b = body->begin(); b.isValid(); b = b.next()) {
        const QTextLayout* tl = b.layout();
        if (!tl || tl->position().y() < top || tl->position().y() > bottom)
            continue;
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            out.push_back({b.blockNumber(), line.textStart(), line.textLength(),
                           tl->position() + line.position()});
        }
    }
    return out;
}

// What the window shows and where clicks on it land.
struct Seen {
    QImage image;
    std::vector<int> hits;
};

Seen seen(TxEngine& e) {
    Seen s;
    s.image = e.viewport()->grab().toImage();
    QAbstractTextDocumentLayout* layout = e.document2().body()->documentLayout();
    const QPointF offset(0, e.verticalScrollBar()->value());
    for (int y = 5; y < e.viewport()->height(); y += 23)
        for (int x : {3, 120, 400})
            s.hits.push_back(layout->hitTest(offset + QPointF(x, y), Qt::FuzzyHit));
    return s;
}

} // namespace

// A new paragraph, one joined to the one before and a line more move the
// paragraphs after them. The quick layout places them a few screens down
// and leaves the rest to Qt's layout until typing pauses: what stands there,
// what the window shows and where clicks land must be what Qt's layout gives
// once it has run; and the pause has it run.
TEST(EngineRelayout, ParagraphsPlacedAfterAnEditStandWhereQtsLayoutPutsThem) {
    for (int view : {int(TxEngine::ViewPage), int(TxEngine::ViewNormal)}) {
        SCOPED_TRACE(view == TxEngine::ViewPage ? "page view" : "normal view");
        TxEngine e;
        e.resize(900, 700);
        e.SetViewMode(view);
        e.show();
        e.SetText(paragraphs(500, 4));
        // A heading with space before it, a fixed line height and a page
        // break among the paragraphs that move.
        const int mid = e.Text().size() / 2;
        e.SetSelStart(mid + 300);
        e.SetSelLength(40);
        e.SetFontSize(20);
        e.SetParaValue(1, 240);
        e.SetSelStart(mid + 2000);
        e.SetLineSpacing(400);
        e.SetSelStart(mid + 3000);
        e.SetSelText(ctl("#"));
        QTextDocument* body = e.document2().body();

        struct Step {
            const char* what;
            std::function<void()> edit;
        };
        QWidget* keys = e.viewport();
        const std::vector<Step> steps = {
            {"return", [&] { QTest::keyClick(keys, Qt::Key_Return); }},
            {"return again", [&] { QTest::keyClick(keys, Qt::Key_Return); }},
            {"joined", [&] { QTest::keyClick(keys, Qt::Key_Backspace); }},
            {"a line more",
             [&] {
                 for (int i = 0; i < 60; ++i)
                     QTest::keyClick(keys, Qt::Key_M);
             }},
            {"return in a word",
             [&] {
                 QTest::keyClick(keys, Qt::Key_Left);
                 QTest::keyClick(keys, Qt::Key_Left);
                 QTest::keyClick(keys, Qt::Key_Return);
             }},
        };
        e.SetSelStart(mid);
        e.ensureCursorVisible();
        QApplication::processEvents();
        quicklayout::finish(body);
        for (const Step& step : steps) {
            SCOPED_TRACE(step.what);
            const quicklayout::Counts before = quicklayout::counts(body);
            step.edit();
            e.ensureCursorVisible();
            ASSERT_TRUE(quicklayout::pending(body));
            EXPECT_GT(quicklayout::counts(body).moved, before.moved);
            const double top = e.verticalScrollBar()->value();
            const std::vector<Line> placed = linesBetween(e, top - 200, top + 2500);
            const Seen shown = seen(e);
            ASSERT_TRUE(quicklayout::pending(body)) << "looking at the window finished the layout";
            quicklayout::finish(body);
            ASSERT_FALSE(quicklayout::pending(body));
            const std::vector<Line> qt = linesBetween(e, top - 200, top + 2500);
            ASSERT_EQ(placed.size(), qt.size());
            for (size_t i = 0; i < qt.size(); ++i) {
                ASSERT_EQ(placed[i].block, qt[i].block);
                ASSERT_EQ(placed[i].start, qt[i].start) << "paragraph " << qt[i].block;
                ASSERT_EQ(placed[i].pos, qt[i].pos) << "paragraph " << qt[i].block;
            }
            const Seen after = seen(e);
            EXPECT_EQ(shown.hits, after.hits);
            EXPECT_TRUE(shown.image == after.image) << "the window painted differently";
        }
        // Painting past the placed stretch has Qt's layout finish first.
        QTest::keyClick(keys, Qt::Key_Return);
        ASSERT_TRUE(quicklayout::pending(body));
        e.verticalScrollBar()->setValue(e.verticalScrollBar()->value() + 6000);
        e.viewport()->grab();
        EXPECT_FALSE(quicklayout::pending(body));
        // The pause has Qt's layout finish; the result is a full pass's.
        QTest::keyClick(keys, Qt::Key_Return);
        ASSERT_TRUE(quicklayout::pending(body));
        QTest::qWait(600);
        EXPECT_FALSE(quicklayout::pending(body));
        expectSameAsFullLayout(e, "after the pause");
    }
}
