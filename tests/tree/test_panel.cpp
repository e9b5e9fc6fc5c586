// The tabs, the find, the recent list and the code list.
#include "TreeFixture.h"
#include "TreeText.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

namespace {
QString U(const char* s) {
    return QString::fromUtf8(s);
}
QStringList Items(const QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}
} // namespace

class PanelTest : public TreeTest {
protected:
    void Find(int iTb, const QString& w) {
        x->SetFrame(iTb);
        x->FindBox()->setEditText(w);
        aMsg.clear();
        x->FndDoc();
    }
    QTreeWidget* Cod() const { return x->CodeList(); }
    QStringList CodKeys() const {
        QStringList out;
        for (int i = 0; i < Cod()->topLevelItemCount(); ++i)
            out << Cod()->topLevelItem(i)->data(0, Qt::UserRole).toString();
        return out;
    }
    // A code page 30 with children 31 (older) and 32 (newer), opened.
    void OpenCodePage() {
        Page(0, 10, 0, QStringLiteral("Plain"));
        Page(0, 30, 1, QStringLiteral("Diary"), 1);
        Doc(31, QStringLiteral("Older"), 0, QStringLiteral("2024-01-01"));
        Doc(32, QStringLiteral("Newer"), 0, QStringLiteral("2024-03-01"));
        Row(30, 31, 100, QStringLiteral("Older"));
        Row(30, 32, 100, QStringLiteral("Newer"));
        LoadTop();
        x->show();
        Click(30);
        ASSERT_TRUE(x->State().bCdMode);
        aDoc.clear();
        aMsg.clear();
        nChk = 0;
    }
};

TEST_F(PanelTest, TabsTellTheHostAndSetFrameShowsTheirFrames) {
    QTabBar* tabs = x->Tabs();
    ASSERT_EQ(tabs->count(), 4);
    const char* const caps[] = {"文脈", "文名", "検索", "履歴"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tabs->tabText(i), U(caps[i]));
        EXPECT_EQ(tabs->tabToolTip(i), U(TreeText::kTabs[i].sTip));
    }
    x->show();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    EXPECT_EQ(aFrame, QList<int>({3}));
    EXPECT_TRUE(aMsg.isEmpty());

    int iTb = 0; // before any tab was chosen: tab 1
    x->SetFrame(iTb);
    EXPECT_EQ(iTb, 1);
    EXPECT_EQ(aMsg, QStringList({U(TreeText::kTabTreeMsg)}));
    EXPECT_TRUE(x->TreeFrame()->isVisible());
    EXPECT_FALSE(x->FindFrame()->isVisible());
    EXPECT_EQ(x->Tree()->geometry().topLeft(), QPoint(2, 3));
    EXPECT_EQ(x->TreeFrame()->width() - x->Tree()->width(), 4);

    iTb = 2;
    x->SetFrame(iTb);
    EXPECT_TRUE(x->FindFrame()->isVisible());
    EXPECT_EQ(aMsg.last(), U(TreeText::kTabTitleMsg));
    EXPECT_EQ(x->FindList()->geometry().top(), 23); // 350 twips
    iTb = 3;
    x->SetFrame(iTb);
    EXPECT_EQ(aMsg.last(), U(TreeText::kTabFindMsg));
    iTb = 0; // the last tab chosen
    x->SetFrame(iTb);
    EXPECT_EQ(iTb, 3);
    EXPECT_EQ(tabs->currentIndex(), 2);
    iTb = 4;
    x->SetFrame(iTb);
    EXPECT_TRUE(x->RecentFrame()->isVisible());
    EXPECT_FALSE(x->TreeFrame()->isVisible());
    EXPECT_EQ(aMsg.last(), U(TreeText::kTabRcntMsg));
    EXPECT_EQ(x->RecentList()->currentRow(), -1); // empty list: nothing chosen
    EXPECT_EQ(aFrame.size(), 1);                  // SetFrame raises no tab click
}

TEST_F(PanelTest, ReferenceModeDropsTheRecentTab) {
    int iTb = 2;
    x->SetFrame(iTb);
    iTb = -1;
    x->SetFrame(iTb);
    EXPECT_EQ(iTb, 1);
    EXPECT_TRUE(x->State().bRefMd);
    EXPECT_EQ(x->Tabs()->count(), 3);
    EXPECT_FALSE(x->SetRcntLst("a", "b", "Select szDoc, noDoc From msDoc"));
    iTb = 0;
    x->SetFrame(iTb);
    EXPECT_EQ(iTb, 2);
    EXPECT_FALSE(x->State().bRefMd);
    EXPECT_EQ(x->Tabs()->count(), 3);
}

TEST_F(PanelTest, RecentListMovesEntriesAndOpensPages) {
    x->SetRcnt("10", "A");
    x->SetRcnt("20", "B");
    x->SetRcnt("10", "A again");
    EXPECT_EQ(Items(x->RecentList()), QStringList({"B", "A again"}));

    // Before the first show the tab selects the last entry without opening it.
    int iTb = 4;
    x->SetFrame(iTb);
    EXPECT_EQ(x->RecentList()->currentRow(), 1);
    EXPECT_FALSE(x->State().bLstLk);
    EXPECT_TRUE(aDoc.isEmpty());

    x->RecentList()->setCurrentRow(0);

    QCoreApplication::processEvents();
    ASSERT_EQ(aDoc.size(), 1);
    EXPECT_EQ(aDoc[0].sNoP, "");
    EXPECT_EQ(aDoc[0].sNo, "20");
    EXPECT_EQ(aDoc[0].sSz, "B");
    EXPECT_EQ(aDoc[0].iJb, 2);
    x->ClearRecentButton()->click();
    EXPECT_EQ(x->RecentList()->count(), 0);
}

TEST_F(PanelTest, HostListReplacesTheRecentTab) {
    Page(0, 10, 0, QStringLiteral("Filed"));
    Doc(20, QStringLiteral("Loose"));
    ASSERT_TRUE(x->SetRcntLst("参照外", "tip",
                              "Select szDoc, noDoc From msDoc Where noDoc Not in "
                              "(Select noLfC From tbTree)"));
    EXPECT_EQ(x->Tabs()->tabText(3), "参照外");
    EXPECT_EQ(x->Tabs()->tabToolTip(3), "tip");
    EXPECT_EQ(Items(x->RecentList()), QStringList({"Loose"}));
    EXPECT_EQ(x->RecentList()->item(0)->data(Qt::UserRole).toInt(), 20);
    x->show();
    int iTb = 4;
    x->SetFrame(iTb);
    EXPECT_FALSE(x->ClearRecentButton()->isVisible());
    // A query that fails lists nothing.
    ASSERT_TRUE(x->SetRcntLst("x", "y", "Select nothing From nowhere"));
    EXPECT_EQ(x->RecentList()->count(), 0);
}

TEST_F(PanelTest, FindOverTitlesAndTexts) {
    Doc(1, QStringLiteral("Beta notes"), 0, "2024-01-01", QStringLiteral("gamma delta"));
    Doc(2, QStringLiteral("Alpha beta"), 0, "2024-01-01", QStringLiteral("delta only"));
    Doc(3, QStringLiteral("O'Neil's page"), 0, "2024-01-01", QStringLiteral("wow! it's gamma"));
    x->show();

    Find(2, QString());
    EXPECT_EQ(Items(x->FindList()), QStringList({"Alpha beta", "Beta notes", "O'Neil's page"}));
    EXPECT_EQ(aMsg, QStringList({U("３") + U(TreeText::kFound)}));

    Find(2, QStringLiteral("  beta  "));
    EXPECT_EQ(Items(x->FindList()), QStringList({"Alpha beta", "Beta notes"}));
    Find(2, QStringLiteral("beta  notes"));
    EXPECT_EQ(Items(x->FindList()), QStringList({"Beta notes"}));
    Find(2, QStringLiteral("Neil's"));
    EXPECT_EQ(Items(x->FindList()), QStringList({"O'Neil's page"}));
    Find(2, QStringLiteral("gamma"));
    EXPECT_TRUE(Items(x->FindList()).isEmpty());
    EXPECT_EQ(aMsg, QStringList({U("０") + U(TreeText::kFound)}));

    // Tab 3 searches the texts; "!" inside a word is only a character.
    Find(3, QStringLiteral("gamma"));
    EXPECT_EQ(Items(x->FindList()), QStringList({"Beta notes", "O'Neil's page"}));
    Find(3, QStringLiteral("wow!"));
    EXPECT_EQ(Items(x->FindList()), QStringList({"O'Neil's page"}));
    EXPECT_EQ(x->State().sFndWd, "wow!");

    // Choosing a result opens it and hands the find text on.
    x->FindList()->setCurrentRow(0);
    QCoreApplication::processEvents();
    ASSERT_EQ(aDoc.size(), 1);
    EXPECT_EQ(aDoc[0].sNo, "3");
    EXPECT_EQ(aDoc[0].iJb, 2);
    EXPECT_EQ(aDoc[0].sNoP, "");
    EXPECT_EQ(aFnd, QStringList({"wow!"}));

    // Every word once in the history, blanks never.
    EXPECT_EQ(x->FindBox()->count(), 5);
    Find(2, QStringLiteral("gamma"));
    EXPECT_EQ(x->FindBox()->count(), 5);
    // Leaving tab 3 forgets the find text.
    EXPECT_EQ(x->State().sFndWd, "gamma");
    int iTb = 1;
    x->SetFrame(iTb);
    EXPECT_EQ(x->State().sFndWd, "");
}

TEST_F(PanelTest, EnterInTheFindBoxRunsTheFindOnce) {
    Doc(1, QStringLiteral("One"));
    x->show();
    int iTb = 2;
    x->SetFrame(iTb);
    x->activateWindow();
    x->FindBox()->lineEdit()->setFocus();
    aMsg.clear();
    QTest::keyClicks(x->FindBox()->lineEdit(), "One");
    QTest::keyClick(x->FindBox()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(aMsg, QStringList({U("１") + U(TreeText::kFound)}));
    QTest::keyClick(x->FindBox()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(aMsg.size(), 2);
    EXPECT_EQ(x->FindBox()->count(), 1);
    x->FindButton()->click();
    EXPECT_EQ(aMsg.size(), 3);
    // Choosing a word from the drop-down list runs the find with it.
    x->FindBox()->setEditText("x");
    x->FindBox()->showPopup();
    QAbstractItemView* list = x->FindBox()->view();
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(aMsg.size(), 4);
    EXPECT_EQ(x->State().sFndWd, "One");
}

TEST_F(PanelTest, ListClicksAreIgnoredWhileLocked) {
    Doc(1, QStringLiteral("One"));
    Find(2, QString());
    x->SetRcnt("1", "One");
    ASSERT_TRUE(x->State().bLstLk); // never shown yet
    x->FindList()->setCurrentRow(0);
    QCoreApplication::processEvents();
    x->RecentList()->setCurrentRow(0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(aDoc.isEmpty());
    x->show();
    EXPECT_FALSE(x->State().bLstLk);
}

TEST_F(PanelTest, ClearItemEmptiesTheListsButKeepsTheDropDown) {
    Doc(1, QStringLiteral("One"));
    Find(2, QStringLiteral("One"));
    x->SetRcnt("1", "One");
    x->ClearItem(true);
    EXPECT_EQ(x->FindList()->count(), 0);
    EXPECT_EQ(x->RecentList()->count(), 0);
    EXPECT_TRUE(x->State().sFndHst.isEmpty());
    EXPECT_EQ(x->FindBox()->count(), 1);
}

TEST_F(PanelTest, CodeListEntriesOpenPages) {
    OpenCodePage();
    EXPECT_EQ(CodKeys(), QStringList({"K32", "K31"}));
    Cod()->setCurrentItem(Cod()->topLevelItem(1));
    QCoreApplication::processEvents();
    EXPECT_EQ(nChk, 1);
    ASSERT_EQ(aDoc.size(), 1);
    EXPECT_EQ(aDoc[0].sNoP, "");
    EXPECT_EQ(aDoc[0].sNo, "31");
    EXPECT_EQ(aDoc[0].sSz, "Older");
    EXPECT_EQ(aDoc[0].iJb, 0);
    EXPECT_EQ(x->State().sLstCd, "K31");

    // The host refuses: the last entry is chosen again.
    bRefuse = true;
    Cod()->setCurrentItem(Cod()->topLevelItem(0));
    QCoreApplication::processEvents();
    EXPECT_EQ(aDoc.size(), 1);
    EXPECT_EQ(Cod()->currentItem()->data(0, Qt::UserRole).toString(), "K31");
    // ... and a tree click is refused with the code list's message.
    Click(10);
    EXPECT_EQ(aMsg.last(), U(TreeText::kNewEdit));
    EXPECT_TRUE(x->State().bCdMode);

    // The right button over the list tells the host.
    QTest::mouseClick(Cod()->viewport(), Qt::RightButton, {},
                      Cod()->visualItemRect(Cod()->topLevelItem(0)).center());
    EXPECT_EQ(aRight, QList<bool>({false}));
    EXPECT_EQ(x->State().sLstCd, "K31");
}

TEST_F(PanelTest, NewCodeEntryIsSavedUnderTheCodePage) {
    OpenCodePage();
    const QDateTime before = QDateTime::currentDateTime();
    x->cdNew();
    x->cdNew(); // still one pending entry
    EXPECT_EQ(CodKeys(), QStringList({"NEW", "K32", "K31"}));
    QTreeWidgetItem* n = Cod()->topLevelItem(0);
    EXPECT_EQ(n->text(0), U(TreeText::kNewPage));
    const QDateTime shown = QDateTime::fromString("20" + n->text(1), "yyyy/MM/dd HH:mm:ss");
    EXPECT_LE(qAbs(shown.secsTo(before)), 2);
    EXPECT_TRUE(x->State().bCdNew);
    EXPECT_EQ(Cod()->currentItem(), n);
    EXPECT_TRUE(aDoc.isEmpty());
    EXPECT_EQ(nChk, 0);

    // Choosing the pending entry itself does nothing.
    Cod()->blockSignals(true);
    Cod()->setCurrentItem(Cod()->topLevelItem(1));
    Cod()->blockSignals(false);
    Cod()->setCurrentItem(n);
    QCoreApplication::processEvents();
    EXPECT_EQ(nChk, 0);
    EXPECT_TRUE(x->State().bCdNew);

    Doc(33, QStringLiteral("Today's"), 0, QDate::currentDate().toString(Qt::ISODate));
    x->UdtNd(QStringLiteral("Today's"), QString(), 33);
    EXPECT_FALSE(x->State().bCdNew);
    EXPECT_EQ(CodKeys().first(), "K33");
    EXPECT_EQ(Cod()->topLevelItem(0)->text(0), "Today's");
    EXPECT_EQ(Srt(30, 33), 100);
    EXPECT_EQ(Title(30, 33), "Today's");

    // Reopened, pages of one day show midnight.
    Click(10);
    Click(30);
    EXPECT_EQ(CodKeys().first(), "K33");
    EXPECT_TRUE(Cod()->topLevelItem(0)->text(1).endsWith(" 00:00:00"));

    // A title change in code mode renames the chosen entry only.
    Cod()->setCurrentItem(Cod()->topLevelItem(0));
    QCoreApplication::processEvents();
    x->UdtNd(QStringLiteral("Renamed"), QStringLiteral("Today's"), 33);
    EXPECT_EQ(Cod()->topLevelItem(0)->text(0), "Renamed");
    EXPECT_EQ(Title(30, 33), "Today's");
}

TEST_F(PanelTest, LeavingAPendingCodeEntryDiscardsIt) {
    OpenCodePage();
    x->cdNew();
    Cod()->setCurrentItem(Cod()->topLevelItem(2));
    QCoreApplication::processEvents();
    EXPECT_EQ(aMsg, QStringList({U(TreeText::kNewDiscarded)}));
    EXPECT_EQ(CodKeys(), QStringList({"K32", "K31"}));
    EXPECT_FALSE(x->State().bCdNew);
    ASSERT_EQ(aDoc.size(), 1);
    EXPECT_EQ(aDoc[0].sNo, "31");

    // So does opening a page in the tree.
    x->cdNew();
    aMsg.clear();
    Click(10);
    EXPECT_EQ(aMsg.value(0), U(TreeText::kNewDiscarded));
    EXPECT_FALSE(x->State().bCdNew);
    EXPECT_FALSE(x->State().bCdMode);
}

TEST_F(PanelTest, DeletingCodeEntries) {
    OpenCodePage();
    x->cdNew();
    x->cdDel(); // the pending entry: no question, no statement
    EXPECT_TRUE(prompter.calls.isEmpty());
    EXPECT_EQ(CodKeys(), QStringList({"K32", "K31"}));
    EXPECT_FALSE(x->State().bCdNew);
    EXPECT_EQ(Rows(QStringLiteral("noLfP=30")), 2);

    Cod()->setCurrentItem(Cod()->topLevelItem(0));

    QCoreApplication::processEvents();
    prompter.answerMessage(Prompter::Answer::Cancel);
    x->cdDel();
    ASSERT_EQ(prompter.calls.size(), 1);
    EXPECT_EQ(prompter.calls[0].text, U(TreeText::kAskDelete));
    EXPECT_EQ(prompter.calls[0].buttons, Prompter::Buttons::OkCancel);
    EXPECT_EQ(Rows(QStringLiteral("noLfP=30")), 2);

    prompter.answerMessage(Prompter::Answer::Ok);
    x->cdDel();
    EXPECT_EQ(CodKeys(), QStringList({"K31"}));
    EXPECT_EQ(Rows(QStringLiteral("noLfP=30 And noLfC=32")), 0);
    EXPECT_EQ(Value("Select Count(*) From msDoc Where noDoc=32").toInt(), 1);

    // With a pending entry, deleting another one still asks.
    x->cdNew();
    Cod()->blockSignals(true);
    Cod()->setCurrentItem(Cod()->topLevelItem(1));
    Cod()->blockSignals(false);
    prompter.answerMessage(Prompter::Answer::Cancel);
    x->cdDel();
    EXPECT_EQ(prompter.calls.size(), 3);
    EXPECT_EQ(CodKeys(), QStringList({"NEW", "K31"}));
    EXPECT_TRUE(x->State().bCdNew);
}
