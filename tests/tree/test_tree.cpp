// Loading, opening and locating pages in the tree.
#include "TreeFixture.h"
#include "TreeText.h"

#include <QTest>

using TreeKeys::GetKyNo;

TEST_F(TreeTest, TopLevelLoadsWithFreshSerialsKindsImagesAndNullTitles) {
    Page(0, 10, 1, QStringLiteral("Alpha"));
    Page(10, 11, 1, QStringLiteral("Child"));
    Doc(20, QStringLiteral("Untitled"));
    Row(0, 20, 2, QString()); // Null title
    Row(0, 11, 3, QStringLiteral("Child link"), 1);
    Page(0, 30, 4, QStringLiteral("Codes"), 1);
    Row(10, 30, 9, QStringLiteral("Code link"), 1);

    LoadTop();
    ASSERT_EQ(T()->Count(), 4);
    EXPECT_EQ(Texts(T()->TopLevel()), QStringList({"Alpha", "", "Child link", "Codes"}));
    EXPECT_EQ(Key(T()->Node(1)), "N0-10");
    EXPECT_EQ(Key(T()->Node(2)), "N1-20");
    EXPECT_EQ(Key(T()->Node(3)), "L2-11");
    EXPECT_EQ(Key(T()->Node(4)), "N3-30");
    EXPECT_EQ(Img(T()->Node(1)), "ndcls");
    EXPECT_EQ(Img(T()->Node(2)), "ndlef");
    EXPECT_EQ(Img(T()->Node(3)), "lklef");
    EXPECT_EQ(Img(T()->Node(4)), "ndcod");
    EXPECT_EQ(x->State().nKySer, 4);

    // Children get the next serials; a link to a code page shows lkcod.
    x->SetNodes(QStringLiteral("N0-10"));
    EXPECT_EQ(Kids(T()->Node(1)), QStringList({"Child", "Code link"}));
    EXPECT_EQ(Key(T()->Node(5)), "N4-11");
    EXPECT_EQ(Img(T()->Node(6)), "lkcod");

    // The same document at two places: two keys, one number.
    EXPECT_NE(Key(T()->Node(3)), Key(T()->Node(5)));
    EXPECT_EQ(GetKyNo(Key(T()->Node(3))), GetKyNo(Key(T()->Node(5))));

    // Emptied and loaded again, the serial starts over.
    LoadTop();
    EXPECT_EQ(Key(T()->Node(1)), "N0-10");
}

TEST_F(TreeTest, LevelOrderFollowsInSrtThenDatabaseOrder) {
    Page(0, 5, 7, QStringLiteral("third"));
    Page(0, 6, 1, QStringLiteral("first"));
    Page(0, 7, 7, QStringLiteral("fourth"));
    Page(0, 8, 3, QStringLiteral("second"));
    LoadTop();
    EXPECT_EQ(Texts(T()->TopLevel()), QStringList({"first", "second", "third", "fourth"}));
}

TEST_F(TreeTest, SetNodesNeedsAKnownParentAndANumber) {
    Page(0, 10, 1, QStringLiteral("A"));
    Page(10, 11, 1, QStringLiteral("B"));
    LoadTop();
    x->SetNodes(QStringLiteral("0")); // no node has the key "0"
    x->SetNodes(QStringLiteral("N9-77"));
    x->SetNodes(QStringLiteral("NewNode"));
    EXPECT_EQ(T()->Count(), 1);
    EXPECT_EQ(x->State().nKySer, 1);

    // Into an empty tree any level becomes the top level.
    x->ClearItem(true);
    x->SetNodes(QStringLiteral("N5-10"));
    ASSERT_EQ(T()->Count(), 1);
    EXPECT_EQ(Key(T()->Node(1)), "N0-11");
}

TEST_F(TreeTest, ExpandingChangesOnlyTheImageWhileOpeningLoads) {
    Page(0, 10, 1, QStringLiteral("A"));
    Page(10, 11, 1, QStringLiteral("B"));
    Page(11, 12, 1, QStringLiteral("C"));
    LoadTop();
    x->show();
    QTreeWidgetItem* a = NodeOf(10);
    a->setExpanded(true);
    EXPECT_EQ(a->childCount(), 0);
    EXPECT_EQ(Img(a), "ndopn");
    a->setExpanded(false);
    EXPECT_EQ(Img(a), "ndcls");
    EXPECT_TRUE(aDoc.isEmpty());

    Click(10);
    EXPECT_EQ(nChk, 1);
    ASSERT_EQ(aDoc.size(), 1);
    EXPECT_EQ(aDoc[0].sNoP, "0");
    EXPECT_EQ(aDoc[0].sNo, "10");
    EXPECT_EQ(aDoc[0].sSz, "A");
    EXPECT_EQ(aDoc[0].iJb, 0);
    EXPECT_FALSE(aDoc[0].bHg);
    EXPECT_EQ(Kids(a), QStringList({"B"}));

    // A second opening does not load the level again; Enter opens too.
    T()->Select(NodeOf(11));
    NodeOf(11)->setForeground(0, QColor(192, 0, 0));
    QTest::keyClick(T(), Qt::Key_Return);
    ASSERT_EQ(aDoc.size(), 2);
    EXPECT_EQ(aDoc[1].sNoP, "10");
    EXPECT_TRUE(aDoc[1].bHg);
    Click(10);
    EXPECT_EQ(Kids(a), QStringList({"B"}));
    // Shift+Enter opens nothing.
    QTest::keyClick(T(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(aDoc.size(), 3);
}

TEST_F(TreeTest, RightClickTellsTheHostWithoutMovingTheSelection) {
    Page(0, 10, 1, QStringLiteral("A"));
    Page(0, 20, 2, QStringLiteral("B"));
    LoadTop();
    x->show();
    Click(10);
    Click(20, Qt::RightButton);
    EXPECT_EQ(aRight, QList<bool>({true}));
    EXPECT_EQ(x->SlctdKy(), Key(NodeOf(10)));
    EXPECT_EQ(aDoc.size(), 1);
}

TEST_F(TreeTest, RootSelectOpensTheFirstPageOrReportsAnEmptyTree) {
    bool bRec = true;
    x->RootSelect(bRec);
    EXPECT_FALSE(bRec);
    EXPECT_EQ(nChk, 0);
    EXPECT_TRUE(aDoc.isEmpty());
    EXPECT_TRUE(aMsg.isEmpty());

    Page(0, 10, 1, QStringLiteral("A"));
    Page(0, 20, 2, QStringLiteral("B"));
    LoadTop();
    x->RootSelect(bRec);
    EXPECT_TRUE(bRec);
    EXPECT_EQ(nChk, 1);
    ASSERT_EQ(aDoc.size(), 1);
    EXPECT_EQ(aDoc[0].sNo, "10");
    EXPECT_EQ(x->SlctdKy(), "N0-10");
}

TEST_F(TreeTest, RefusedMoveKeepsTheShownPage) {
    Page(0, 10, 1, QStringLiteral("A"));
    Page(0, 20, 2, QStringLiteral("B"));
    LoadTop();
    x->show();
    Click(10);
    x->SetTmpKy();
    EXPECT_EQ(x->State().sCurKy, "N0-10");
    bRefuse = true;
    Click(20);
    EXPECT_EQ(aDoc.size(), 1);
    EXPECT_EQ(x->SlctdKy(), "N0-10");

    // ChkSlcNd: a selection other than the shown page goes through the check.
    bRefuse = false;
    T()->Select(NodeOf(20));
    x->ChkSlcNd();
    EXPECT_EQ(aDoc.size(), 2);
    EXPECT_EQ(aDoc.last().sNo, "20");
    // Without a selection the shown page is selected again, silently.
    T()->clearSelection();
    x->ChkSlcNd();
    EXPECT_EQ(x->SlctdKy(), "N0-10");
    EXPECT_EQ(aDoc.size(), 2);
}

TEST_F(TreeTest, SetLeafWalksHomePlacesOnly) {
    Page(0, 10, 1, QStringLiteral("Top"));
    Page(0, 15, 2, QStringLiteral("Other"));
    Page(10, 11, 1, QStringLiteral("Mid"));
    Page(11, 12, 1, QStringLiteral("Deep"));
    Doc(40, QStringLiteral("Linked only"));
    Row(11, 40, 2, QStringLiteral("Linked only"), 1);
    LoadTop();

    x->SetLeaf(15); // top level: nothing expanded
    ASSERT_EQ(aDoc.size(), 1);
    EXPECT_EQ(aDoc[0].sNo, "15");
    EXPECT_FALSE(NodeOf(10)->isExpanded());
    EXPECT_EQ(NodeOf(10)->childCount(), 0);

    x->SetLeaf(12);
    ASSERT_EQ(aDoc.size(), 2);
    EXPECT_EQ(aDoc[1].sNoP, "11");
    EXPECT_EQ(aDoc[1].sNo, "12");
    EXPECT_TRUE(NodeOf(10)->isExpanded());
    EXPECT_TRUE(NodeOf(11)->isExpanded());
    EXPECT_EQ(x->SlctdKy(), Key(NodeOf(12)));

    // Reached through a link row only: not found, nothing chosen.
    T()->clearSelection();
    x->SetLeaf(40);
    x->SetLeaf(999);
    EXPECT_EQ(aDoc.size(), 2);
    EXPECT_EQ(x->SlctdKy(), "");
}

TEST_F(TreeTest, SetLeafStopsOnLoopsAndOnAnEmptyTree) {
    x->SetLeaf(10);
    EXPECT_TRUE(aDoc.isEmpty());
    Page(0, 10, 1, QStringLiteral("Top"));
    Page(21, 20, 1, QStringLiteral("A"));
    Page(20, 21, 1, QStringLiteral("B"));
    LoadTop();
    x->SetLeaf(20);
    EXPECT_TRUE(aDoc.isEmpty());
    EXPECT_EQ(x->SlctdKy(), "");
}

TEST_F(TreeTest, SetLeafWithoutAMatchOpensTheLastSiblingExamined) {
    Page(0, 10, 1, QStringLiteral("Top"));
    Page(0, 30, 2, QStringLiteral("Last"));
    Page(10, 13, 1, QStringLiteral("Loaded child"));
    Page(10, 14, 2, QStringLiteral("Last child"));
    LoadTop();
    x->SetNodes(Key(NodeOf(10)));
    // Filed after the level was loaded: the walk finds no node for it.
    Page(10, 11, 3, QStringLiteral("Mid"));
    Page(11, 12, 1, QStringLiteral("Deep"));
    x->SetLeaf(12);
    ASSERT_EQ(aDoc.size(), 1);
    EXPECT_EQ(aDoc[0].sNo, "14");
}

TEST_F(TreeTest, TagTreeAddsOneReminderAndFindsItAgain) {
    Page(0, 10, 1, QStringLiteral("Home"));
    Page(10, 11, 1, QStringLiteral("Child"));
    Page(0, 50, 2, QStringLiteral("Target"));
    LoadTop();
    x->TagTree(QStringLiteral("Target"), QStringLiteral("50")); // nothing selected
    EXPECT_EQ(T()->Count(), 2);

    T()->Select(NodeOf(10));
    x->TagTree(QStringLiteral("Target"), QStringLiteral("50"));
    QTreeWidgetItem* home = NodeOf(10);
    ASSERT_EQ(Kids(home), QStringList({"Child", "Target"}));
    QTreeWidgetItem* tag = home->child(1);
    EXPECT_TRUE(Key(tag).startsWith("X"));
    EXPECT_EQ(GetKyNo(Key(tag)), "50");
    EXPECT_EQ(Img(tag), "tgcls");
    EXPECT_TRUE(home->isExpanded());
    EXPECT_EQ(x->SlctdKy(), Key(tag));
    EXPECT_EQ(aMsg, QStringList({QString::fromUtf8(TreeText::kTagAdded)}));

    // Again, with the reminder or its page selected: no second reminder.
    x->TagTree(QStringLiteral("Target"), QStringLiteral("50"));
    T()->Select(home);
    x->TagTree(QStringLiteral("Target"), QStringLiteral("50"));
    EXPECT_EQ(home->childCount(), 2);
    EXPECT_EQ(x->SlctdKy(), Key(tag));
    EXPECT_EQ(aMsg.size(), 1);

    // A same-titled child of another number ends the search: a new reminder.
    T()->Select(home);
    x->TagTree(QStringLiteral("Child"), QStringLiteral("1"));
    EXPECT_EQ(home->childCount(), 3);
    EXPECT_EQ(aMsg.size(), 2);
    // Number 0 is another number than 50, though "X..-50" ends in "0".
    T()->Select(home);
    x->TagTree(QStringLiteral("Target"), QStringLiteral("0"));
    EXPECT_EQ(home->childCount(), 4);

    // Opening a tag node shows the tagged page with iJb 1.
    x->show();
    T()->Select(tag);
    QTest::keyClick(T(), Qt::Key_Return);
    ASSERT_FALSE(aDoc.isEmpty());
    EXPECT_EQ(aDoc.last().sNo, "50");
    EXPECT_EQ(aDoc.last().iJb, 1);
}

TEST_F(TreeTest, RefreshTreeKeepsExpandedNodesAndSelection) {
    Page(0, 10, 1, QStringLiteral("A"));
    Page(10, 11, 1, QStringLiteral("A1"));
    Page(11, 12, 1, QStringLiteral("A11"));
    Page(0, 20, 2, QStringLiteral("B"));
    Page(20, 21, 1, QStringLiteral("B1"));
    LoadTop();
    x->SetLeaf(12);
    x->SetNodes(Key(NodeOf(20))); // loaded, not expanded
    T()->Select(NodeOf(11));
    T()->Select(NodeOf(12));
    x->TagTree(QStringLiteral("T"), QStringLiteral("20"));
    T()->Select(NodeOf(11));
    Page(10, 13, 2, QStringLiteral("A2 new"));

    x->RefreshTree();
    EXPECT_FALSE(x->State().bLstLk);
    EXPECT_TRUE(NodeOf(10)->isExpanded());
    EXPECT_EQ(Kids(NodeOf(10)), QStringList({"A1", "A2 new"}));
    EXPECT_TRUE(NodeOf(11)->isExpanded());
    EXPECT_EQ(Kids(NodeOf(12)), QStringList()); // the tag is gone
    EXPECT_FALSE(NodeOf(20)->isExpanded());
    EXPECT_EQ(NodeOf(20)->childCount(), 0);
    EXPECT_EQ(x->SlctdKy(), Key(NodeOf(11)));
    EXPECT_EQ(Key(T()->Node(1)), "N0-10"); // serials start over
}

TEST_F(TreeTest, RefreshTreeOpensEachPlaceOnceInALoop) {
    Page(0, 10, 1, QStringLiteral("A"));
    Page(10, 11, 1, QStringLiteral("B"));
    Row(11, 10, 1, QStringLiteral("A again"));
    LoadTop();
    QTreeWidgetItem* o = NodeOf(10);
    for (int i = 0; i < 4; ++i) { // A > B > A again > B ...
        x->SetNodes(Key(o));
        o->setExpanded(true);
        o = o->child(0);
    }
    x->RefreshTree(); // must end
    EXPECT_TRUE(NodeOf(10)->isExpanded());
    EXPECT_TRUE(NodeOf(10)->child(0)->isExpanded());
}

TEST_F(TreeTest, GetPrCdNoReportsNumbersAndLinks) {
    Page(0, 10, 1, QStringLiteral("A"));
    Doc(11, QStringLiteral("B"));
    Row(10, 11, 1, QStringLiteral("B"), 1);
    LoadTop();
    QString p = "x", c = "x";
    bool lnk = true;
    x->GetPrCdNo(p, c, lnk);
    EXPECT_EQ(p, "0");
    EXPECT_EQ(c, "0");
    x->SetNodes(Key(NodeOf(10)));
    T()->Select(NodeOf(10));
    x->GetPrCdNo(p, c, lnk);
    EXPECT_EQ(p, "0");
    EXPECT_EQ(c, "10");
    EXPECT_FALSE(lnk);
    x->GetPrCdNo(p, c, lnk, Key(NodeOf(11)));
    EXPECT_EQ(p, "10");
    EXPECT_EQ(c, "11");
    EXPECT_TRUE(lnk);
    x->GetPrCdNo(p, c, lnk, QStringLiteral("N99-99"));
    EXPECT_EQ(p, "0");
    EXPECT_EQ(c, "0");

    // SetTmpKy without a selection takes node 1.
    T()->clearSelection();
    x->SetTmpKy();
    EXPECT_EQ(x->State().sCurKy, "N0-10");
}

TEST_F(TreeTest, CodePagesFillTheCodeListAndNeverGetChildren) {
    Page(0, 10, 1, QStringLiteral("Plain"));
    Page(0, 30, 2, QStringLiteral("Diary"), 1);
    Doc(31, QStringLiteral("Older"), 0, QStringLiteral("2023-12-31"));
    Doc(32, QStringLiteral("Newer"), 0, QStringLiteral("2024-02-03 04:05:06"));
    Row(30, 31, 100, QStringLiteral("Older"));
    Row(30, 32, 100, QStringLiteral("Newer"));
    LoadTop();
    x->show();
    aMsg.clear();
    Click(30);
    EXPECT_TRUE(x->State().bCdMode);
    EXPECT_EQ(NodeOf(30)->childCount(), 0);
    EXPECT_TRUE(x->CodeList()->isVisible());
    ASSERT_EQ(x->CodeList()->topLevelItemCount(), 2);
    EXPECT_EQ(x->CodeList()->topLevelItem(0)->text(0), "Newer");
    EXPECT_EQ(x->CodeList()->topLevelItem(0)->text(1), "24/02/03 04:05:06");
    EXPECT_EQ(x->CodeList()->topLevelItem(1)->text(1), "23/12/31 00:00:00");
    EXPECT_EQ(aMsg.value(0), QString::fromUtf8(TreeText::kTabTreeMsg));
    ASSERT_EQ(aDoc.size(), 1);
    EXPECT_EQ(aDoc[0].sNo, "30");

    // Back to a plain page: the list empties and hides.
    Click(10);
    EXPECT_FALSE(x->State().bCdMode);
    EXPECT_FALSE(x->CodeList()->isVisible());
    EXPECT_EQ(x->CodeList()->topLevelItemCount(), 0);

    // Reference mode: neither the list nor children.
    int iTb = -1;
    x->SetFrame(iTb);
    Click(30);
    EXPECT_TRUE(x->State().bCdMode);
    EXPECT_EQ(x->CodeList()->topLevelItemCount(), 0);
    EXPECT_EQ(NodeOf(30)->childCount(), 0);
}
