// The page-tree dialog over a real database: its three modes, the preview,
// the popup menus, OK and Cancel, code pages, geometry and zoom.
#include "DbPage.h"
#include "TreeFixture.h"
#include "TxEngine.h"
#include "Usr.h"
#include "sbTrX.h"
#include "sbTrXScript.h"
#include "yIni.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>

namespace {

QByteArray WordBytes(const QString& text) {
    TxEngine e;
    e.SetText(text);
    bool ok = false;
    const QByteArray y = e.SaveBytes(TxEngine::FmtDoc, 0, &ok);
    EXPECT_TRUE(ok);
    return y;
}

QStringList MenuTexts(const QMenu* m) {
    QStringList out;
    for (const QAction* a : m->actions())
        if (!a->isSeparator())
            out << a->text();
    return out;
}

} // namespace

class DialogTest : public TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        yIni& ini = settings();
        ini.sXml = yIni::MakeTag(0, QString::fromUtf16(kIniRoot), QStringLiteral("\r\n"));
        Usr::nWaLft = 0;
        Usr::nWaTop = 0;
        Usr::nWaWid = 1600 * Usr::kTwipsPerPixel;
        Usr::nWaHgt = 1000 * Usr::kTwipsPerPixel;
        d = std::make_unique<sbTrX>();
    }
    void TearDown() override {
        d.reset();
        sbTrX::SetCodeHook({});
        TreeTest::TearDown();
    }
    // A page whose document holds `text`.
    static void TextPage(int p, int c, int srt, const QString& title, const QString& text) {
        Page(p, c, srt, title);
        bool bNew = false;
        QString err;
        ASSERT_TRUE(DbPage::WriteDoc(c, title, text, WordBytes(text), bNew, err))
            << err.toStdString();
    }
    QString PreviewText() const { return d->Preview()->toPlainText(); }
    // A right click over the tree, as the user gives it.
    void RightClick() {
        d->show();
        QTest::mouseClick(d->Tree()->Tree()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    }
    QMenu* OpenMenu() const {
        for (QMenu* m : {d->ImportMenu(), d->ExportMenu(), d->CopyMenu()})
            if (m->isVisible())
                return m;
        return nullptr;
    }
    trView* DT() const { return d->Tree()->Tree(); }
    QTreeWidgetItem* DNode(int no) const {
        for (int i = 1; i <= DT()->Count(); ++i) {
            const QString k = DT()->Key(DT()->Node(i));
            if (!k.startsWith(u'X') && TreeKeys::KyNo(k) == no)
                return DT()->Node(i);
        }
        return nullptr;
    }
    QString DImg(QTreeWidgetItem* o) const { return DT()->Img(o); }
    QStringList NodeTexts(const QList<QTreeWidgetItem*>& a) const { return TreeTest::Texts(a); }
    // A left click on the label of node `no`, the dialog shown.
    void DClick(int no) {
        d->show();
        QTreeWidgetItem* o = DNode(no);
        ASSERT_NE(o, nullptr) << no;
        DT()->scrollToItem(o);
        QTest::mouseClick(DT()->viewport(), Qt::LeftButton, {}, DT()->visualItemRect(o).center());
    }
    static QAction* Item(QMenu* m, const QString& text) {
        for (QAction* a : m->actions())
            if (a->text() == text)
                return a;
        return nullptr;
    }
    static QString Group(int mode, const QString& key) {
        yIni& ini = settings();
        ini.GetGtx(QStringLiteral("TXR%1_位置").arg(mode));
        return ini.vGtVal(key, "");
    }

    void OnDialog(std::function<void(sbTrX&)> fn) { AnswerTreeDialog(prompter, std::move(fn)); }

    std::unique_ptr<sbTrX> d;
};

TEST_F(DialogTest, EmptyDatabaseInEveryModeLeavesOkDisabled) {
    for (int mode : {1, 2, 3}) {
        d = std::make_unique<sbTrX>();
        d->Prepare(mode, QStringLiteral("新しい表題"));
        EXPECT_EQ(d->Tree()->Tree()->Count(), 0) << mode;
        EXPECT_FALSE(d->OkButton()->isEnabled()) << mode;
        EXPECT_EQ(d->OkButton()->isVisibleTo(d.get()), mode != 2) << mode;
        EXPECT_EQ(d->CancelButton()->text(), mode == 2 ? u"閉じる"_qs : u"&Cancel"_qs);
        EXPECT_TRUE(PreviewText().isEmpty()) << mode;
        const QStringList caps{u"既存文書からｲﾝﾎﾟｰﾄ"_qs, u"他のﾍﾟｰｼﾞ参照"_qs,
                               u"ｴｸｽﾎﾟｰﾄ先の指定"_qs};
        EXPECT_EQ(d->windowTitle(), caps[mode - 1]);
    }
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join(u'|').toStdString();
}

TEST_F(DialogTest, FirstPageOfAnEmptyTreeIsPlacedFromThePopup) {
    d->Prepare(3, QStringLiteral("最初の頁"));
    RightClick();
    QMenu* m = OpenMenu();
    ASSERT_EQ(m, d->ExportMenu());
    EXPECT_EQ(MenuTexts(m).mid(0, 3),
              (QStringList{u"前に追加"_qs, u"次に追加"_qs, u"下に追加"_qs}));
    Item(m, u"下に追加"_qs)->trigger();
    ASSERT_EQ(DT()->Count(), 1);
    EXPECT_EQ(DT()->TopLevel().at(0)->text(0), u"最初の頁"_qs);
    EXPECT_TRUE(d->OkButton()->isEnabled());
}

TEST_F(DialogTest, ImportModePreviewsAndCancelReturnsNothing) {
    TextPage(0, 1000, 0, QStringLiteral("一頁"), QStringLiteral("最初の本文"));
    TextPage(0, 1001, 1, QStringLiteral("二頁"), QStringLiteral("次の本文"));
    OnDialog([](sbTrX& dlg) {
        EXPECT_TRUE(dlg.OkButton()->isEnabled());
        EXPECT_EQ(dlg.windowTitle(), u"既存文書からｲﾝﾎﾟｰﾄ 文書No:1000"_qs);
        EXPECT_TRUE(dlg.Preview()->toPlainText().contains(u"最初の本文"_qs));
        dlg.CancelButton()->click();
    });
    QString sSz = QStringLiteral("keep");
    QByteArray yDt("untouched");
    bool bApn = true;
    EXPECT_FALSE(sbTrX::ActI(sSz, yDt, bApn));
    EXPECT_TRUE(sSz.isEmpty());
    EXPECT_EQ(yDt, QByteArray("untouched"));
    EXPECT_TRUE(bApn);
    // Closing the window is no choice either.
    OnDialog([](sbTrX& dlg) { dlg.close(); });
    EXPECT_FALSE(sbTrX::ActI(sSz, yDt, bApn));
    EXPECT_TRUE(sSz.isEmpty());
}

TEST_F(DialogTest, ImportPopupHandsOnTheChosenPage) {
    TextPage(0, 1000, 0, QStringLiteral("一頁"), QStringLiteral("最初の本文"));
    TextPage(0, 1001, 1, QStringLiteral("二頁"), QStringLiteral("次の本文"));
    OnDialog([this](sbTrX& dlg) {
        d.reset(); // the fixture's own dialog is not the one shown
        QTest::mouseClick(dlg.Tree()->Tree()->viewport(), Qt::LeftButton, {},
                          dlg.Tree()->Tree()->visualItemRect(dlg.Tree()->Tree()->Node(2)).center());
        EXPECT_TRUE(dlg.Preview()->toPlainText().contains(u"次の本文"_qs));
        QTest::mouseClick(dlg.Tree()->Tree()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        ASSERT_TRUE(dlg.ImportMenu()->isVisible());
        EXPECT_EQ(MenuTexts(dlg.ImportMenu()).mid(0, 2),
                  (QStringList{u"この文書をｲﾝﾎﾟｰﾄ(上書き)"_qs, u"この文書をｲﾝﾎﾟｰﾄ(追加)"_qs}));
        Item(dlg.ImportMenu(), u"この文書をｲﾝﾎﾟｰﾄ(追加)"_qs)->trigger();
    });
    QString sSz;
    QByteArray yDt;
    bool bApn = false;
    ASSERT_TRUE(sbTrX::ActI(sSz, yDt, bApn));
    EXPECT_EQ(sSz, u"二頁"_qs);
    EXPECT_TRUE(bApn);
    EXPECT_EQ(yDt, DbPage::Read(1001).yDoc);
}

TEST_F(DialogTest, UnreadablePagesDisableOk) {
    TextPage(0, 1000, 0, QStringLiteral("一頁"), QStringLiteral("本文"));
    Doc(1001, QStringLiteral("空頁")); // no bytes
    Row(0, 1001, 1, QStringLiteral("空頁"));
    TextPage(0, 1234, 2, QStringLiteral("消される頁"), QStringLiteral("本文"));
    d->Prepare(1);
    // Another program removes a document while the dialog shows its place.
    Sql(QStringLiteral("Delete From msDoc Where noDoc=1234"));
    d->show();
    ASSERT_TRUE(d->OkButton()->isEnabled());
    DClick(1001);
    EXPECT_FALSE(d->OkButton()->isEnabled());
    EXPECT_TRUE(PreviewText().isEmpty());
    EXPECT_EQ(d->windowTitle(), u"既存文書からｲﾝﾎﾟｰﾄ 文書No:1001"_qs);
    DClick(1000);
    EXPECT_TRUE(d->OkButton()->isEnabled());
    DClick(1234);
    EXPECT_EQ(prompter.messages().value(0), u"Read Err  文書No:1234"_qs);
    EXPECT_FALSE(d->OkButton()->isEnabled());
    // The popup cannot import what OK may not take.
    RightClick();
    EXPECT_FALSE(Item(d->ImportMenu(), u"この文書をｲﾝﾎﾟｰﾄ(上書き)"_qs)->isEnabled());
}

TEST_F(DialogTest, ExportOkOnlyWhilePlaceIsPending) {
    TextPage(0, 1000, 0, QStringLiteral("一頁"), QStringLiteral("本文"));
    TextPage(0, 1001, 1, QStringLiteral("二頁"), QStringLiteral("本文"));
    int nCalls = 0;
    d->Prepare(3, QStringLiteral("新しい頁"), [&](const QString&, uTrX&) {
        ++nCalls;
        return true;
    });
    d->show();
    EXPECT_FALSE(d->OkButton()->isEnabled());
    d->OkButton()->click();
    EXPECT_EQ(nCalls, 0);
    RightClick();
    Item(d->ExportMenu(), u"次に追加"_qs)->trigger();
    EXPECT_TRUE(d->OkButton()->isEnabled());
    EXPECT_EQ(NodeTexts(DT()->TopLevel()), (QStringList{u"一頁"_qs, u"新しい頁"_qs, u"二頁"_qs}));
    // Leaving the new page discards it, and with it the place to write to.
    DClick(1001);
    EXPECT_EQ(d->Tree()->State().nNewIdx, 0);
    EXPECT_FALSE(d->OkButton()->isEnabled());
    d->OkButton()->click();
    EXPECT_EQ(nCalls, 0);
    EXPECT_EQ(d->result(), 0);
}

TEST_F(DialogTest, ExportOkWritesThroughTheHostAndStaysOpenOnFailure) {
    TextPage(0, 1000, 0, QStringLiteral("一頁"), QStringLiteral("本文"));
    bool bSucceed = false;
    QString sGot;
    d->Prepare(3, QStringLiteral("新しい頁"), [&](const QString& s, uTrX& tree) {
        sGot = s;
        EXPECT_EQ(&tree, d->Tree());
        return bSucceed;
    });
    d->show();
    RightClick();
    Item(d->ExportMenu(), u"下に追加"_qs)->trigger();
    d->OkButton()->click();
    EXPECT_EQ(sGot, u"新しい頁"_qs);
    EXPECT_TRUE(d->isVisible());
    bSucceed = true;
    d->OkButton()->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), int(QDialog::Accepted));
}

TEST_F(DialogTest, ReferenceModeHasNoTreePopupButCopiesFromPreview) {
    TextPage(0, 1000, 0, QStringLiteral("一頁"), QStringLiteral("写す本文"));
    d->Prepare(2);
    RightClick();
    EXPECT_EQ(OpenMenu(), nullptr);
    QTest::mouseClick(d->Preview()->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    ASSERT_TRUE(d->CopyMenu()->isVisible());
    EXPECT_EQ(MenuTexts(d->CopyMenu()), (QStringList{u"指定範囲をｺﾋﾟｰ(&C)"_qs, u"文書全体をｺﾋﾟｰ"_qs,
                                                     u"文書全体をﾃｷｽﾄとしてｺﾋﾟｰ"_qs}));
    d->CopyMenu()->hide();
    QApplication::clipboard()->clear();
    Item(d->CopyMenu(), u"文書全体をｺﾋﾟｰ"_qs)->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().contains(u"写す本文"_qs));
    EXPECT_EQ(d->Preview()->SelLength(), 0);
    QApplication::clipboard()->clear();
    Item(d->CopyMenu(), u"文書全体をﾃｷｽﾄとしてｺﾋﾟｰ"_qs)->trigger();
    EXPECT_EQ(QApplication::clipboard()->text().trimmed(), u"写す本文"_qs);
    // With Ctrl held the right button shows nothing.
    QTest::mouseClick(d->Preview()->viewport(), Qt::RightButton, Qt::ControlModifier,
                      QPoint(20, 20));
    EXPECT_FALSE(d->CopyMenu()->isVisible());
    // The preview is not edited by typing.
    d->Preview()->setFocus();
    QTest::keyClicks(d->Preview(), QStringLiteral("xyz"));
    EXPECT_EQ(PreviewText().trimmed(), u"写す本文"_qs);
}

TEST_F(DialogTest, UnreferencedDocumentsOnTheFourthTab) {
    TextPage(0, 1000, 0, QStringLiteral("一頁"), QStringLiteral("本文"));
    Doc(1001, QStringLiteral("迷子の頁"));
    d->Prepare(1);
    QTabBar* tabs = d->Tree()->Tabs();
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(3), u"参照外"_qs);
    EXPECT_EQ(tabs->tabToolTip(3), u"文脈で参照されていない文書の一覧です"_qs);
    ASSERT_EQ(d->Tree()->RecentList()->count(), 1);
    EXPECT_EQ(d->Tree()->RecentList()->item(0)->text(), u"迷子の頁"_qs);
}

TEST_F(DialogTest, CodePagesAreMarkedAndUnmarkedFromThePopup) {
    TextPage(0, 1000, 0, QStringLiteral("日誌"), QStringLiteral("本文"));
    TextPage(1000, 1001, 0, QStringLiteral("五月一日"), QStringLiteral("本文"));
    int nHook = 0;
    sbTrX::SetCodeHook([&] { ++nHook; });
    d->Prepare(1);
    RightClick();
    QAction* ac = d->CodeAction(1);
    ASSERT_TRUE(ac->isEnabled());
    EXPECT_EQ(ac->text(), u"ｺｰﾄﾞﾍﾟｰｼﾞに指定"_qs);
    ac->trigger();
    EXPECT_EQ(Value(QStringLiteral("Select boCod From msDoc Where noDoc=1000")).toInt(), 1);
    EXPECT_EQ(Value(QStringLiteral("Select boCod From msDoc Where noDoc=1001")).toInt(), 0);
    EXPECT_EQ(nHook, 1);
    EXPECT_EQ(DImg(DNode(1000)), u"ndcod"_qs);
    EXPECT_TRUE(d->Tree()->State().bCdMode);
    EXPECT_EQ(DbPage::CodePages(), (QList<DbPage::CodePage>{{1000, u"日誌"_qs}}));
    RightClick();
    EXPECT_EQ(ac->text(), u"ｺｰﾄﾞﾍﾟｰｼﾞの指定を解除"_qs);
    ac->trigger();
    EXPECT_EQ(Value(QStringLiteral("Select boCod From msDoc Where noDoc=1000")).toInt(), 0);
    EXPECT_FALSE(d->Tree()->State().bCdMode);
    EXPECT_NE(DImg(DNode(1000)), u"ndcod"_qs);
    EXPECT_EQ(nHook, 2);
    EXPECT_TRUE(DbPage::CodePages().isEmpty());
}

TEST_F(DialogTest, GeometryAndZoomAreKeptPerMode) {
    TextPage(0, 1000, 0, QStringLiteral("一頁"), QStringLiteral("本文"));
    d->Prepare(1);
    EXPECT_EQ(d->ZoomBox()->currentIndex(), 2);
    EXPECT_EQ(d->Preview()->ZoomFactor(), 80);
    d->setGeometry(100, 80, 800, 600);
    d->ZoomBox()->setCurrentIndex(4);
    EXPECT_EQ(d->Preview()->ZoomFactor(), 60);
    d->CancelButton()->click();
    EXPECT_EQ(Group(1, QStringLiteral("Width")).toDouble(), 800.0 * 15);
    EXPECT_EQ(Group(1, QStringLiteral("Left")).toDouble(), 100.0 * 15);
    EXPECT_EQ(Group(1, QStringLiteral("Zoom")), u"4"_qs);
    EXPECT_TRUE(Group(2, QStringLiteral("Width")).isEmpty());

    d = std::make_unique<sbTrX>();
    d->Prepare(1);
    EXPECT_EQ(d->geometry(), QRect(100, 80, 800, 600));
    EXPECT_EQ(d->ZoomBox()->currentIndex(), 4);
    EXPECT_EQ(d->Preview()->ZoomFactor(), 60);
    // The layout's measures for that size.
    const auto px = [](int tw) { return qRound(tw / 15.0); };
    // The tree panel is as wide as its tabs need, 2180 at least.
    const int tree = std::max(2180, d->Tree()->minimumSizeHint().width() * 15);
    EXPECT_EQ(d->Preview()->geometry(),
              QRect(px(tree + 30), px(30), px(800 * 15 - tree - 60), px(600 * 15 - 440)));
    EXPECT_EQ(d->Tree()->geometry(), QRect(0, 0, tree / 15, 600));
    EXPECT_EQ(d->CancelButton()->geometry().left(), px(800 * 15 - 1030));

    // A stored place off the work area is brought into it; a width beyond it
    // is cut to it.
    yIni& ini = settings();
    ini.GetGtx(QStringLiteral("TXR2_位置"));
    ini.SetVal(QStringLiteral("Left"), 30000.0);
    ini.SetVal(QStringLiteral("Top"), 0.0);
    ini.SetVal(QStringLiteral("Width"), 40000.0);
    ini.SetVal(QStringLiteral("Height"), 9000.0);
    ini.SetGtx();
    d = std::make_unique<sbTrX>();
    d->Prepare(2);
    const QRect wa(0, 0, 1600, 1000);
    EXPECT_TRUE(wa.contains(d->geometry())) << d->geometry().x() << " " << d->geometry().width();
    // Mode 2's bottom row: no OK, the zoom further right.
    // (the zoom box ends where its 800 twips would, and is wide enough for
    // its text)
    const QRect z = d->ZoomBox()->geometry();
    EXPECT_NEAR(z.left() + z.width(), qRound((d->width() * 15 - 1860 + 800) / 15.0), 1);
    EXPECT_GE(z.width(), d->ZoomBox()->sizeHint().width());
}
