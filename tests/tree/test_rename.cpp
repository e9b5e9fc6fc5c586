// Renaming a page in the tree: F2 starts it, a click on the page already
// chosen does not; the right button during a rename keeps the typed title
// and opens the tree's menu, not the line editor's. The tab strip of the
// panel shows every tab whole, in the dialog too.
#include "TreeFixture.h"
#include "TxEngine.h"
#include "sbTrX.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QStyleHints>
#include <QTabBar>
#include <QTest>

namespace {

QLineEdit* RenameEditor(trView* t) {
    QCoreApplication::processEvents();
    return t->viewport()->findChild<QLineEdit*>();
}

// Every tab of the strip lies inside a panel `width` wide.
void ExpectWholeTabs(const QTabBar* tabs, int width) {
    ASSERT_EQ(tabs->count(), 4);
    for (int i = 0; i < tabs->count(); ++i)
        EXPECT_LE(tabs->tabRect(i).right(), width - 1) << "tab " << i << " is cut";
    EXPECT_GE(width, tabs->sizeHint().width());
}

} // namespace

class RenameTest : public TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        Page(0, 10, 0, QStringLiteral("A"));
        Page(0, 20, 1, QStringLiteral("B"));
        LoadTop();
        x->resize(300, 400);
        x->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(x.get()));
    }
};

TEST_F(RenameTest, OnlyF2StartsARenameAndTheRightButtonEndsIt) {
    Click(20);
    ASSERT_EQ(T()->Selected(), NodeOf(20));
    // A second click on the chosen page, slower than a double click.
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
    Click(20);
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
    EXPECT_EQ(RenameEditor(T()), nullptr) << "a click started a rename";

    // F2 renames the chosen page.
    T()->setFocus();
    QTest::keyClick(T(), Qt::Key_F2);
    QLineEdit* ed = RenameEditor(T());
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->contextMenuPolicy(), Qt::NoContextMenu);
    ed->setText(QStringLiteral("Renamed"));

    // The right button over the editor: the tree's menu, the title kept.
    aRight.clear();
    QTest::mouseClick(ed, Qt::RightButton, {}, QPoint(5, 5));
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(aRight, QList<bool>{true});
    EXPECT_EQ(RenameEditor(T()), nullptr);
    EXPECT_EQ(NodeOf(20)->text(0), QStringLiteral("Renamed"));
    EXPECT_EQ(Title(0, 20), QStringLiteral("Renamed"));
    EXPECT_EQ(Title(0, 10), QStringLiteral("A"));
}

TEST_F(RenameTest, TheTabStripFitsThePanelAndTheDialog) {
    const auto* tabs = x->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    // The panel asks for room for every tab.
    EXPECT_GE(x->minimumSizeHint().width(), tabs->sizeHint().width());
    x->resize(x->minimumSizeHint().width(), 400);
    QCoreApplication::processEvents();
    ExpectWholeTabs(tabs, x->width());

    // In the dialog, at its narrowest, the panel is given that room and
    // the preview starts after it.
    sbTrX d;
    d.Prepare(1);
    d.resize(d.minimumWidth(), 500);
    d.show();
    QCoreApplication::processEvents();
    const uTrX* panel = d.Tree();
    const auto* dTabs = panel->findChild<QTabBar*>();
    ASSERT_NE(dTabs, nullptr);
    ExpectWholeTabs(dTabs, panel->width());
    EXPECT_GE(d.Preview()->geometry().left(), panel->geometry().right());
    EXPECT_GT(d.Preview()->width(), 0);
}
