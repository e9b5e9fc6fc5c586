// Headers and footers (command 57): adding and removing each of the four,
// the placeholder text in the format of its style-table record, the page
// view, and the format applied when the user starts editing one.
#include "EditorFixture.h"
#include "sbTxm.h"
#include "sbTxmMenus.h"

#include <QAction>
#include <QMenu>

#include <QTextBlock>
#include <QTextCursor>

namespace {

QString partText(TxEngine& e, int part) {
    if (!e.HeadFootActivate(part))
        return QStringLiteral("<none>");
    const QString text = e.Text();
    e.HeadFootDeactivate();
    return text;
}

} // namespace

TEST_F(EditorTest, HeadersAndFootersAreAddedOnceAndRemovedWhenThere) {
    ScriptedPrompter p;
    uTxm& t = open();
    TxEngine& e = *t.mTxt;
    e.SetText(QStringLiteral("body"));
    e.SetViewMode(TxEngine::ViewNormal);
    t.SetDcEdt(false);

    t.rtAct(57, 1);
    EXPECT_EQ(e.HeadFootMask(), 1);
    EXPECT_EQ(e.ViewMode(), TxEngine::ViewPage);
    EXPECT_EQ(e.HeadFootActive(), 0); // back in the main text
    EXPECT_EQ(e.Text(), QStringLiteral("body"));
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_EQ(partText(e, 1), QStringLiteral("Header"));

    // The header typed over stays as it is when it is added again.
    ASSERT_TRUE(e.HeadFootActivate(1));
    e.SetText(QStringLiteral("My header"));
    e.HeadFootDeactivate();
    t.SetDcEdt(false);
    t.rtAct(57, 1);
    EXPECT_EQ(e.HeadFootMask(), 1);
    EXPECT_EQ(partText(e, 1), QStringLiteral("My header"));
    EXPECT_FALSE(t.bDcEdt());

    // The other three, each with its own placeholder.
    t.rtAct(57, 2);
    t.rtAct(57, 4);
    t.rtAct(57, 8);
    EXPECT_EQ(e.HeadFootMask(), 15);
    EXPECT_EQ(partText(e, 2), QStringLiteral("Header"));
    EXPECT_EQ(partText(e, 4), QStringLiteral("Footer"));
    EXPECT_EQ(partText(e, 8), QStringLiteral("Footer"));
    bool hdP, hdF, ftP, ftF;
    t.HeadFtMn(hdP, hdF, ftP, ftF);
    EXPECT_TRUE(hdP && hdF && ftP && ftF);

    // Removing: only what is there; a second removal changes nothing.
    t.SetDcEdt(false);
    t.rtAct(57, -4);
    EXPECT_EQ(e.HeadFootMask(), 11);
    EXPECT_TRUE(t.bDcEdt());
    t.SetDcEdt(false);
    t.rtAct(57, -4);
    EXPECT_EQ(e.HeadFootMask(), 11);
    EXPECT_FALSE(t.bDcEdt());
    t.HeadFtMn(hdP, hdF, ftP, ftF);
    EXPECT_TRUE(hdP && hdF && !ftP && ftF);

    // Other arguments do nothing.
    for (const QVariant& v :
         {QVariant(3), QVariant(0), QVariant(-16), QVariant(QStringLiteral("x"))})
        t.rtAct(57, v);
    EXPECT_EQ(e.HeadFootMask(), 11);
    EXPECT_FALSE(t.bDcEdt());
}

TEST_F(EditorTest, NewHeaderAndFooterTakeTheirRecordsFormat) {
    ScriptedPrompter p;
    uTxm& t = open();
    TxEngine& e = *t.mTxt;
    UsrFmt& head = t.usrFmt[6];
    head.sFont = QStringLiteral("Serif");
    head.iSize = 14;
    head.iBold = 1;
    head.nFcr = 0x00102030;
    head.iPa4 = 1; // centred
    UsrFmt& foot = t.usrFmt[7];
    foot.iSize = 8;
    foot.iAt1 = 0;
    foot.iPa4 = 2; // right

    t.rtAct(57, 1);
    ASSERT_TRUE(e.HeadFootActivate(1));
    e.SetSelStart(2);
    EXPECT_EQ(e.FontName(), QStringLiteral("Serif"));
    EXPECT_EQ(e.FontSize(), 14);
    EXPECT_TRUE(e.FontBold());
    EXPECT_EQ(e.ForeColor(), 0x00102030u);
    EXPECT_EQ(e.CharAttr(1), 1); // the default record's underline
    EXPECT_EQ(e.ParaAttr0(), 1);
    EXPECT_EQ(e.ParaValue(1), 0);
    EXPECT_EQ(e.ParaValue(2), 0);
    EXPECT_EQ(e.LineSpacing(), 0);
    e.HeadFootDeactivate();

    t.rtAct(57, 8);
    ASSERT_TRUE(e.HeadFootActivate(8));
    e.SetSelStart(2);
    EXPECT_EQ(e.FontSize(), 8);
    EXPECT_EQ(e.CharAttr(1), 0);
    EXPECT_FALSE(e.FontBold());
    EXPECT_EQ(e.ParaAttr0(), 2);
    e.HeadFootDeactivate();
}

TEST_F(EditorTest, StartingToEditAHeaderGivesItsParagraphTheRecordsSpacing) {
    ScriptedPrompter p;
    uTxm& t = open();
    TxEngine& e = *t.mTxt;
    t.rtAct(57, 4);
    // The footer's paragraph was spaced and its text set apart since.
    ASSERT_TRUE(e.HeadFootActivate(4));
    e.SetSelStart(0);
    e.SetSelLength(-1);
    e.SetParaValue(1, 240);
    e.SetParaValue(2, 120);
    e.SetLineSpacing(400);
    e.SetFontSize(20);
    e.HeadFootDeactivate();
    t.SetDcEdt(false);

    // The user starts editing it: spacing back to the record's, font kept,
    // and the page is not marked for that alone.
    ASSERT_TRUE(e.HeadFootActivate(4));
    EXPECT_EQ(e.ParaValue(1), 0);
    EXPECT_EQ(e.ParaValue(2), 0);
    EXPECT_EQ(e.LineSpacing(), 0);
    e.SetSelStart(1);
    EXPECT_EQ(e.FontSize(), 20);
    EXPECT_FALSE(t.bDcEdt());
    e.HeadFootDeactivate();
}

TEST_F(EditorTest, ContextMenuHeaderAndTableItemsRunTheirCommands) {
    ScriptedPrompter p;
    uTxm& t = open();
    TxEngine& e = *t.mTxt;
    sbTxmMenus& menus = t.Dialog()->Menus();
    auto itemOf = [&](const char* menu, const char* caption) -> QAction* {
        if (QMenu* m = menus.Menu(QString::fromLatin1(menu)))
            for (QAction* a : m->actions())
                if (a->text() == QString::fromUtf8(caption))
                    return a;
        ADD_FAILURE() << menu << " " << caption;
        return nullptr;
    };
    // The menu toggles a checkable item before it is chosen.
    auto choose = [&](QAction* a) {
        if (a->isCheckable())
            a->toggle();
        ASSERT_TRUE(menus.Choose(a));
        t.rtAct(t.Dialog()->iRJb, t.Dialog()->vOpt);
    };
    QAction* footFirst = itemOf("mnFooter", "先頭頁");
    ASSERT_NE(footFirst, nullptr);
    choose(footFirst);
    EXPECT_EQ(t.Dialog()->iRJb, 57);
    EXPECT_EQ(e.HeadFootMask(), TxEngine::FirstFooter);
    // The check follows the page: removed through the engine, unchecked.
    menus.Update();
    EXPECT_TRUE(footFirst->isChecked());
    choose(footFirst);
    EXPECT_EQ(t.Dialog()->vOpt.toInt(), -TxEngine::FirstFooter);
    EXPECT_EQ(e.HeadFootMask(), 0);
    e.SetHeadFootMask(TxEngine::Header);
    menus.Update();
    EXPECT_TRUE(itemOf("mnHeader", "各頁")->isChecked());
    EXPECT_FALSE(footFirst->isChecked());

    // A table item runs its submenu's command with its word.
    e.SetText(QStringLiteral("x"));
    ASSERT_TRUE(e.TableInsert(1, 2));
    choose(itemOf("mnTins", "下に行"));
    EXPECT_EQ(t.Dialog()->iRJb, 80);
    EXPECT_EQ(t.Dialog()->vOpt.toString(), QStringLiteral("下"));
    EXPECT_EQ(e.TableRows(1), 2);
    choose(itemOf("mnTdel", "列"));
    EXPECT_EQ(e.TableColumns(1), 1);
    // Out of the table its submenus are off, insertion stays.
    e.SetSelStart(0);
    menus.Update();
    EXPECT_TRUE(menus.Menu(QStringLiteral("mnTins"))->menuAction()->isEnabled());
    EXPECT_FALSE(itemOf("mnTins", "下に行")->isEnabled());
    EXPECT_FALSE(menus.Menu(QStringLiteral("mnTsp"))->menuAction()->isEnabled());
    EXPECT_FALSE(menus.Menu(QStringLiteral("mnTslc"))->menuAction()->isEnabled());
}
