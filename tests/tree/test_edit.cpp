// New pages, writing their rows, titles, label edits and the order.
#include "TreeFixture.h"
#include "TreeText.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

namespace {
const QString kNewPage = QString::fromUtf8(TreeText::kNewPage);
const QString kNew = QStringLiteral("NewNode");
} // namespace

class EditTest : public TreeTest {
protected:
    // A finished label edit of node `o` with the text `s`.
    void EditLabel(QTreeWidgetItem* o, const QString& s) {
        x->show();
        T()->Select(o);
        T()->editItem(o, 0);
        auto* ed = T()->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(ed, nullptr);
        ed->setText(s);
        QTest::keyClick(ed, Qt::Key_Return);
        QCoreApplication::processEvents(); // the view commits queued
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Three pages A, B, C at the top; B has children B1, B2 (loaded).
    void ThreeTop() {
        Page(0, 10, 0, QStringLiteral("A"));
        Page(0, 20, 1, QStringLiteral("B"));
        Page(0, 30, 2, QStringLiteral("C"));
        Page(20, 21, 0, QStringLiteral("B1"));
        Page(20, 22, 1, QStringLiteral("B2"));
        LoadTop();
        x->SetNodes(Key(NodeOf(20)));
    }
};

TEST_F(EditTest, NewPagePlacesAndPendingState) {
    ThreeTop();
    EXPECT_FALSE(x->trNew(0, QString())); // nothing selected
    EXPECT_EQ(x->State().nNewIdx, 0);
    EXPECT_EQ(T()->Count(), 5);

    T()->Select(NodeOf(20));
    aMsg.clear();
    ASSERT_TRUE(x->trNew(0, QString()));
    QTreeWidgetItem* n = T()->Node(kNew);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->text(0), kNewPage);
    EXPECT_EQ(Img(n), "ndlef");
    EXPECT_EQ(Texts(T()->TopLevel()), QStringList({"A", kNewPage, "B", "C"}));
    EXPECT_EQ(x->State().nNewIdx, 6);
    EXPECT_EQ(x->State().sDrty, ".-1.");
    EXPECT_EQ(x->SlctdKy(), kNew);
    EXPECT_EQ(aMsg, QStringList({QString::fromUtf8(TreeText::kTabTreeMsg)}));
    EXPECT_TRUE(aDoc.isEmpty());
    EXPECT_EQ(nChk, 0);
    EXPECT_FALSE(x->trNew(3, QString()));
}

TEST_F(EditTest, SecondNewPageReplacesThePendingOne) {
    ThreeTop();
    T()->Select(NodeOf(10));
    ASSERT_TRUE(x->trNew(1, QStringLiteral("first")));
    // Relative to the pending page itself: the new one takes its place.
    ASSERT_TRUE(x->trNew(0, QStringLiteral("second")));
    EXPECT_EQ(Texts(T()->TopLevel()), QStringList({"A", "second", "B", "C"}));
    // Relative to another page: the pending one leaves its old place.
    T()->Select(NodeOf(21));
    ASSERT_TRUE(x->trNew(1, QStringLiteral("third")));
    EXPECT_EQ(Texts(T()->TopLevel()), QStringList({"A", "B", "C"}));
    EXPECT_EQ(Kids(NodeOf(20)), QStringList({"B1", "third", "B2"}));
    EXPECT_EQ(x->State().nNewIdx, T()->Index(T()->Node(kNew)));
    EXPECT_EQ(T()->Count(), 6);
    EXPECT_EQ(x->State().sDrty, ".-1.2."); // the top level and B

    // A rebuild forgets the pending page.
    x->RefreshTree();
    EXPECT_EQ(x->State().nNewIdx, 0);
    EXPECT_EQ(T()->Node(kNew), nullptr);
}

TEST_F(EditTest, UnderALeafOrAnUnopenedPage) {
    ThreeTop();
    T()->Select(NodeOf(30));
    ASSERT_TRUE(x->trNew(2, QString()));
    EXPECT_TRUE(NodeOf(30)->isExpanded());
    EXPECT_EQ(Img(NodeOf(30)), "ndopn");
    EXPECT_EQ(Kids(NodeOf(30)), QStringList({kNewPage}));

    // A page whose children were never loaded shows them beside the new one.
    Page(10, 11, 0, QStringLiteral("A1"));
    LoadTop();
    T()->Select(NodeOf(10));
    ASSERT_TRUE(x->trNew(2, QStringLiteral("n")));
    EXPECT_EQ(Kids(NodeOf(10)), QStringList({"A1", "n"}));

    // Into an empty tree the page goes to the top level.
    x->ClearItem(true);
    ASSERT_TRUE(x->trNew(2, QString()));
    EXPECT_EQ(Texts(T()->TopLevel()), QStringList({kNewPage}));
    EXPECT_EQ(x->State().nNewIdx, 1);
}

TEST_F(EditTest, TwoSavedPagesTakeSerialSortValuesUntilTheOrderIsWritten) {
    ThreeTop();
    Doc(40, QStringLiteral("P"));
    Doc(41, QStringLiteral("Q"));
    T()->Select(NodeOf(10));
    ASSERT_TRUE(x->trNew(0, QString()));
    x->UdtNd(QStringLiteral("P"), QString(), 40);
    EXPECT_EQ(x->State().nNewIdx, 0);
    EXPECT_EQ(Key(NodeOf(40)), QStringLiteral("N%1-40").arg(x->State().nKySer - 1));
    EXPECT_EQ(x->State().sCurKy, Key(NodeOf(40)));
    EXPECT_EQ(NodeOf(40)->text(0), "P");
    T()->Select(NodeOf(30));
    ASSERT_TRUE(x->trNew(1, QString()));
    x->UdtNd(QStringLiteral("Q"), QString(), 41);
    EXPECT_EQ(Srt(0, 40), 100);
    EXPECT_EQ(Srt(0, 41), 101);
    EXPECT_EQ(Title(0, 41), "Q");
    EXPECT_EQ(x->State().nNewSrt, 102);

    x->trSort();
    EXPECT_EQ(x->State().sDrty, ".");
    EXPECT_EQ(Texts(T()->TopLevel()), QStringList({"P", "A", "B", "C", "Q"}));
    EXPECT_EQ(Srt(0, 40), 0);
    EXPECT_EQ(Srt(0, 10), 1);
    EXPECT_EQ(Srt(0, 30), 3);
    EXPECT_EQ(Srt(0, 41), 4);
    LoadTop();
    EXPECT_EQ(Texts(T()->TopLevel()), QStringList({"P", "A", "B", "C", "Q"}));
}

TEST_F(EditTest, FailedInsertLeavesThePagePendingForTheNextTry) {
    ThreeTop();
    T()->Select(NodeOf(10));
    ASSERT_TRUE(x->trNew(1, QString()));
    x->UdtNd(QStringLiteral("dup"), QString(), 20); // (0, 20) exists already
    EXPECT_GT(x->State().nNewIdx, 0);
    EXPECT_EQ(x->State().nNewSrt, 101);
    EXPECT_EQ(Rows(QStringLiteral("noLfC=20")), 1);
    Doc(50, QStringLiteral("ok"));
    x->UdtNd(QStringLiteral("ok"), QString(), 50);
    EXPECT_EQ(x->State().nNewIdx, 0);
    EXPECT_EQ(Srt(0, 50), 101);
}

TEST_F(EditTest, SortSkipsTagsAndThePendingPageButCountsThem) {
    ThreeTop();
    // B1, a tag, B2 under B.
    T()->Select(NodeOf(20));
    x->TagTree(QStringLiteral("tag"), QStringLiteral("30"));
    QTreeWidgetItem* b = NodeOf(20);
    QTreeWidgetItem* tag = b->takeChild(2);
    b->insertChild(1, tag);
    ASSERT_EQ(Kids(b), QStringList({"B1", "tag", "B2"}));
    T()->Select(NodeOf(22));
    ASSERT_TRUE(x->trNew(0, QString())); // B1, tag, new, B2
    EXPECT_EQ(x->State().sDrty, QStringLiteral(".%1.").arg(T()->Index(b)));
    x->trSort();
    EXPECT_EQ(Srt(20, 21), 0);
    EXPECT_EQ(Srt(20, 22), 3);
    EXPECT_EQ(Rows(), 5); // nothing written for the tag or the new page
}

TEST_F(EditTest, TitleChangeReachesEveryPlaceWithTheOldTitle) {
    Page(0, 10, 0, QStringLiteral("A"));
    Page(0, 20, 1, QStringLiteral("Old"));
    Row(10, 20, 0, QStringLiteral("Old"), 1);      // a link, same title
    Row(30, 20, 0, QStringLiteral("Other title")); // another title
    Page(0, 30, 2, QStringLiteral("C"));
    LoadTop();
    x->SetNodes(Key(NodeOf(10)));
    x->SetNodes(Key(NodeOf(30)));
    T()->Select(NodeOf(30));
    x->TagTree(QStringLiteral("Old"), QStringLiteral("20"));
    x->UdtNd(QStringLiteral("It's new"), QStringLiteral("Old"), 20);
    EXPECT_EQ(Title(0, 20), "It's new");
    EXPECT_EQ(Title(10, 20), "It's new");
    EXPECT_EQ(Title(30, 20), "Other title");
    EXPECT_EQ(Kids(NodeOf(10)), QStringList({"It's new"}));
    // The tag reminder shows the new title; its parent's row keeps its own.
    EXPECT_EQ(Kids(NodeOf(30)), QStringList({"Other title", "It's new"}));

    // Equal titles with nothing pending: nothing happens.
    x->UdtNd(QStringLiteral("Same"), QStringLiteral("Same"), 20);
    EXPECT_EQ(Title(0, 20), "It's new");
}

TEST_F(EditTest, LabelEditRenamesOnePlaceTrimmedAndIgnoresBlanks) {
    Page(0, 10, 0, QStringLiteral("A"));
    Page(0, 20, 1, QStringLiteral("B"));
    Row(10, 20, 0, QStringLiteral("B"), 1);
    LoadTop();
    x->SetNodes(Key(NodeOf(10)));
    EditLabel(NodeOf(20), QStringLiteral("  O'Hara  "));
    EXPECT_EQ(Title(0, 20), "O'Hara");
    EXPECT_EQ(NodeOf(20)->text(0), "O'Hara");
    EXPECT_EQ(Title(10, 20), "B");
    EXPECT_EQ(Value(QStringLiteral("Select szDoc From msDoc Where noDoc=20")).toString(), "B");

    EditLabel(NodeOf(20), QStringLiteral("   "));
    EXPECT_EQ(Title(0, 20), "O'Hara");
    EXPECT_EQ(NodeOf(20)->text(0), "O'Hara");

    // The pending page has no row: only its label changes.
    T()->Select(NodeOf(10));
    ASSERT_TRUE(x->trNew(1, QString()));
    EditLabel(T()->Node(kNew), QStringLiteral("Named"));
    EXPECT_EQ(T()->Node(kNew)->text(0), "Named");
    EXPECT_EQ(Rows(), 3);
}

TEST_F(EditTest, LeavingThePendingPageDiscardsIt) {
    ThreeTop();
    x->show();
    T()->Select(NodeOf(30));
    ASSERT_TRUE(x->trNew(2, QString()));
    ASSERT_EQ(Img(NodeOf(30)), "ndopn");
    // Clicking the pending page itself keeps it.
    QTreeWidgetItem* n = T()->Node(kNew);
    T()->scrollToItem(n);
    QTest::mouseClick(T()->viewport(), Qt::LeftButton, {}, T()->visualItemRect(n).center());
    EXPECT_NE(T()->Node(kNew), nullptr);
    EXPECT_EQ(nChk, 0);

    // The host refuses: the pending page is chosen again.
    bRefuse = true;
    Click(10);
    EXPECT_EQ(x->SlctdKy(), kNew);
    bRefuse = false;
    aMsg.clear();
    Click(10);
    EXPECT_EQ(aMsg.value(0), QString::fromUtf8(TreeText::kNewDiscarded));
    EXPECT_EQ(T()->Node(kNew), nullptr);
    EXPECT_EQ(x->State().nNewIdx, 0);
    EXPECT_EQ(Img(NodeOf(30)), "ndlef");
    ASSERT_FALSE(aDoc.isEmpty());
    EXPECT_EQ(aDoc.last().sNo, "10");
    EXPECT_EQ(x->SlctdKy(), Key(NodeOf(10)));
}

TEST_F(EditTest, DiscardingTheSelectedPendingPageClearsTheHost) {
    ThreeTop();
    T()->Select(NodeOf(30));
    ASSERT_TRUE(x->trNew(1, QString()));
    bool bRec = false;
    x->RootSelect(bRec);
    ASSERT_EQ(aDoc.size(), 2);
    EXPECT_EQ(aDoc[0].iJb, 3);
    EXPECT_EQ(aDoc[0].sNo, "");
    EXPECT_EQ(aDoc[1].sNo, "10");
}

TEST_F(EditTest, ClearItemWritesTheOrderUnlessToldNot) {
    ThreeTop();
    Doc(40, QStringLiteral("P"));
    T()->Select(NodeOf(10));
    ASSERT_TRUE(x->trNew(0, QString()));
    x->UdtNd(QStringLiteral("P"), QString(), 40);
    x->ClearItem(true);
    EXPECT_EQ(Srt(0, 40), 100);
    EXPECT_EQ(x->State().sDrty, ".");

    LoadTop();
    T()->Select(NodeOf(40));
    ASSERT_TRUE(x->trNew(1, QString()));
    x->ClearItem(false);
    EXPECT_EQ(Srt(0, 40), 3); // A 0, B 1, C 2, P 3 as loaded
    EXPECT_EQ(T()->Count(), 0);
    EXPECT_EQ(x->State().nNewIdx, 0);
}

TEST_F(EditTest, HostMaySaveThePendingPageWhenAskedAboutTheMove) {
    ThreeTop();
    Doc(40, QStringLiteral("Saved"));
    x->show();
    QObject::connect(x.get(), &uTrX::eChkMove, [this](bool&) {
        if (x->State().nNewIdx > 0)
            x->UdtNd(QStringLiteral("Saved"), QString(), 40);
    });
    T()->Select(NodeOf(30));
    ASSERT_TRUE(x->trNew(1, QString()));
    aMsg.clear();
    Click(10);
    EXPECT_TRUE(aMsg.isEmpty()); // nothing discarded
    EXPECT_EQ(Texts(T()->TopLevel()), QStringList({"A", "B", "C", "Saved"}));
    EXPECT_EQ(Rows(QStringLiteral("noLfP=0 And noLfC=40")), 1);
    ASSERT_FALSE(aDoc.isEmpty());
    EXPECT_EQ(aDoc.last().sNo, "10");
}
