// Page setup: the centimetre texts, recognising the paper, the margins of a
// chosen paper, the checks before OK, and the page driven through the
// settings dialog onto the editor's page and into the settings.

#include "DialogFixture.h"
#include "PageSetupPage.h"
#include "PaperSizes.h"
#include "TxDocument.h"
#include "TxSettings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace PaperSize;

TEST(PaperSizeTest, TextsToTwipsAndBack) {
    EXPECT_EQ(sTwpsDlg(16838), QStringLiteral("29.70"));
    EXPECT_EQ(sTwpsDlg(11906), QStringLiteral("21.00"));
    EXPECT_EQ(sTwpsDlg(850.5), QStringLiteral("1.50"));
    EXPECT_EQ(sTwpsDlg(0), QStringLiteral("0.00"));
    EXPECT_EQ(sTwpsDlg(56), QStringLiteral("0.10"));

    EXPECT_EQ(nDlgTwps(QStringLiteral("21,00")), 11907); // a comma is a decimal point
    EXPECT_EQ(nDlgTwps(QStringLiteral("21.00")), 11907);
    EXPECT_EQ(nDlgTwps(QStringLiteral("  2.5cm")), 1418); // leading number, halves to even
    EXPECT_EQ(nDlgTwps(QStringLiteral("1.5")), 850);
    EXPECT_EQ(nDlgTwps(QStringLiteral("２１．００")), 11907); // as the input method types it
    EXPECT_EQ(nDlgTwps(QStringLiteral("abc")), 0);
    EXPECT_EQ(nDlgTwps(QString()), 0);
    EXPECT_EQ(nDlgTwps(QStringLiteral("-1")), -567);
    EXPECT_FALSE(nDlgTwps(QStringLiteral("99999999999")).has_value());
}

TEST(PaperSizeTest, ListTextsAreWrittenExactly) {
    EXPECT_EQ(ListText(0), QStringLiteral("A4   210 * 297 mm"));
    EXPECT_EQ(ListText(4), QStringLiteral("ﾌｫﾄ  102 * 152 mm"));
    EXPECT_EQ(ListText(6), QStringLiteral("往復   200*148 mm"));
    EXPECT_EQ(ListText(7), QStringLiteral("ﾚﾀ-   8.5 * 11 in"));
    EXPECT_EQ(ListText(10), QStringLiteral("長形4号  90*205mm"));
    EXPECT_EQ(ListText(kUserDefined), QStringLiteral("ﾕｰｻﾞｰ定義"));
}

TEST(PaperSizeTest, PagesAreRecognisedWithinAMillimetre) {
    EXPECT_EQ(MatchPaper(11900, 16838, false), 0); // the table's A4
    EXPECT_EQ(MatchPaper(11906, 16838, false), 0); // A4 as Word and LibreOffice write it
    EXPECT_EQ(MatchPaper(11907, 16840, false), 0); // A4 read back from "21.00" x "29.70"
    EXPECT_EQ(MatchPaper(11904, 16834, false), 0);
    EXPECT_EQ(MatchPaper(12240, 15840, false), 7); // letter
    EXPECT_EQ(MatchPaper(16838, 11906, true), 0);  // A4 sideways
    EXPECT_EQ(MatchPaper(16838, 11906, false), kUserDefined);
    EXPECT_EQ(MatchPaper(11332, 8386, false), 6); // the return postcard, wider than high
    EXPECT_EQ(MatchPaper(11960, 16838, false), kUserDefined); // 60 twips: more than 1 mm off
    EXPECT_EQ(MatchPaper(0, 0, false), kUserDefined);
}

TEST(PaperSizeTest, OpenedPagesTakeTheOrientationOfTheirPaper) {
    EXPECT_EQ(Recognise(11906, 16838), (Recognised{0, false}));
    EXPECT_EQ(Recognise(16838, 11906), (Recognised{0, true}));
    // The return postcard lies wide upright and stands tall sideways.
    EXPECT_EQ(Recognise(11332, 8386), (Recognised{6, false}));
    EXPECT_EQ(Recognise(8386, 11332), (Recognised{6, true}));
    EXPECT_EQ(Recognise(17000, 13000), (Recognised{kUserDefined, true}));
    EXPECT_EQ(Recognise(13000, 13000), (Recognised{kUserDefined, false}));
}

TEST(PaperSizeTest, PaperMarginsAreATenthOfThePortraitPaper) {
    EXPECT_EQ(PaperTexts(2, false), (Texts{"18.20", "25.72", "1.82", "2.57", "1.82", "2.57"}));
    // Landscape swaps the size, not the margins.
    EXPECT_EQ(PaperTexts(0, true), (Texts{"29.70", "20.99", "2.10", "2.97", "2.10", "2.97"}));
}

TEST(PaperSizeTest, ValuesOutsideThePageAreRefused) {
    const Page a4{11906, 16838, 1440, 1440, 1440, 1440};
    EXPECT_TRUE(Valid(a4));
    Page p = a4;
    p.width = 16846; // 29.71 cm
    EXPECT_FALSE(Valid(p));
    p.width = kMaxWidth;
    p.height = kMaxHeight; // 59.40 cm
    EXPECT_TRUE(Valid(p));
    p.height = kMaxHeight + 1;
    EXPECT_FALSE(Valid(p));
    p = a4;
    p.left = p.width + 1;
    EXPECT_FALSE(Valid(p));
    p = a4;
    p.bottom = -1;
    EXPECT_FALSE(Valid(p));
    p = a4;
    p.top = p.height; // a margin may reach its dimension
    EXPECT_TRUE(Valid(p));
    p = a4;
    p.width = 0; // text that is no number: no page at all
    p.left = p.right = 0;
    EXPECT_FALSE(Valid(p));
}

TEST(PaperSizeTest, PreviewIsCentred) {
    EXPECT_EQ(PreviewRect(21.0, 29.7), QRect(1466, 99, 567, 802));
    EXPECT_EQ(PreviewRect(29.7, 21.0), QRect(1349, 216, 802, 567));
}

class PageSetupTest : public DialogTest {
protected:
    void setPage(int width, int height, int left = 1134, int top = 1134, int right = 1134,
                 int bottom = 1134) {
        TxEngine* tx = ed->mTxt;
        tx->SetPageWidth(width);
        tx->SetPageHeight(height);
        tx->SetMarginLeft(left);
        tx->SetMarginTop(top);
        tx->SetMarginRight(right);
        tx->SetMarginBottom(bottom);
        ed->SetDcEdt(false);
    }
    Page editorPage() const {
        const TxEngine* tx = ed->mTxt;
        return {tx->PageWidth(), tx->PageHeight(),  tx->MarginLeft(),
                tx->MarginTop(), tx->MarginRight(), tx->MarginBottom()};
    }
    static PageSetupPage& page(sbTxm& d) { return *static_cast<PageSetupPage*>(d.Page("PG")); }
    static Texts shown(PageSetupPage& p) {
        return {p.txPgWd->text(),   p.txPgHi->text(),   p.txLftMrg->text(),
                p.txTopMrg->text(), p.txRghMrg->text(), p.txBtmMrg->text()};
    }
    // Types into a field as the user does, and leaves it.
    static void retype(QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClicks(field, text);
        emit field->editingFinished();
    }
    static void choose(PageSetupPage& p, int entry) {
        p.cbPage->setCurrentIndex(entry);
        emit p.cbPage->activated(entry);
    }
    void pressOk() { okButton()->click(); }
};

TEST_F(PageSetupTest, OpensOnTheEditorsPageAndRecognisesItsPaper) {
    setPage(11906, 16838, 1440, 1440, 1440, 1440); // A4 from another program
    act("PG", [&](sbTxm& d) {
        PageSetupPage& p = page(d);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("ﾍﾟｰｼﾞ設定"));
        EXPECT_EQ(p.cbPage->count(), 16);
        EXPECT_EQ(p.cbPage->currentText(), QStringLiteral("A4   210 * 297 mm"));
        EXPECT_EQ(shown(p), (Texts{"21.00", "29.70", "2.54", "2.54", "2.54", "2.54"}));
        EXPECT_TRUE(p.OpVH[0]->isChecked());
        EXPECT_EQ(p.Shape1->geometry(), QRect(1466 / 15, 99 / 15, 567 / 15, 802 / 15));
        pressOk();
    });
    // Nothing changed: the document keeps its own size to the twip.
    EXPECT_EQ(editorPage(), (Page{11906, 16838, 1440, 1440, 1440, 1440}));
    EXPECT_FALSE(ed->bDcEdt());

    setPage(12240, 15840); // 21.59 x 27.94 cm
    act("PG", [&](sbTxm& d) {
        EXPECT_EQ(page(d).cbPage->currentIndex(), 7);
        cancel(d);
    });

    setPage(16838, 11906); // landscape A4
    act("PG", [&](sbTxm& d) {
        PageSetupPage& p = page(d);
        EXPECT_TRUE(p.OpVH[1]->isChecked());
        EXPECT_TRUE(p.Landscape());
        EXPECT_EQ(p.cbPage->currentIndex(), 0);
        // Opening does not apply the paper: the document's size stays.
        EXPECT_EQ(p.txPgWd->text(), QStringLiteral("29.70"));
        EXPECT_EQ(p.txPgHi->text(), QStringLiteral("21.00"));
        cancel(d);
    });

    setPage(13000, 17000);
    act("PG", [&](sbTxm& d) {
        EXPECT_EQ(page(d).cbPage->currentText(), QStringLiteral("ﾕｰｻﾞｰ定義"));
        cancel(d);
    });

    // A page of the return postcard chosen upright opens as that again.
    setPage(11332, 8386);
    act("PG", [&](sbTxm& d) {
        PageSetupPage& p = page(d);
        EXPECT_EQ(p.cbPage->currentIndex(), 6);
        EXPECT_TRUE(p.OpVH[0]->isChecked());
        p.OpVH[1]->click(); // sideways it stands tall
        EXPECT_EQ(p.txPgWd->text(), QStringLiteral("14.79"));
        EXPECT_EQ(p.txPgHi->text(), QStringLiteral("19.99"));
        cancel(d);
    });
}

TEST_F(PageSetupTest, ChosenPaperIsAppliedWithItsMargins) {
    setPage(11906, 16838);
    act("PG", [&](sbTxm& d) {
        PageSetupPage& p = page(d);
        choose(p, 2); // B5
        EXPECT_EQ(shown(p), (Texts{"18.20", "25.72", "1.82", "2.57", "1.82", "2.57"}));
        EXPECT_EQ(p.cbPage->currentIndex(), 2);
        EXPECT_EQ(p.Shape1->width(), int(18.20 * 1000 / 37) / 15);
        pressOk();
    });
    EXPECT_EQ(editorPage(), (Page{10319, 14583, 1032, 1457, 1032, 1457}));
    EXPECT_FALSE(ed->mTxt->document2().page.landscape);
    EXPECT_TRUE(ed->bDcEdt()); // a new page setup is an edit of the document
    EXPECT_FALSE(dlg->isVisible());
}

TEST_F(PageSetupTest, TypedSizesAreCheckedAndMatched) {
    setPage(11906, 16838);
    act("PG", [&](sbTxm& d) {
        PageSetupPage& p = page(d);
        retype(p.txPgWd, QStringLiteral("29,71"));
        EXPECT_FALSE(okButton()->isEnabled());
        retype(p.txPgWd, QStringLiteral("29.70"));
        EXPECT_TRUE(okButton()->isEnabled());
        retype(p.txPgHi, QStringLiteral("59.40"));
        EXPECT_TRUE(okButton()->isEnabled());
        retype(p.txPgHi, QStringLiteral("59.41"));
        EXPECT_FALSE(okButton()->isEnabled());
        retype(p.txPgHi, QStringLiteral("29.70"));
        retype(p.txLftMrg, QStringLiteral("30"));
        EXPECT_FALSE(okButton()->isEnabled()); // a margin wider than the page
        retype(p.txLftMrg, QStringLiteral("1,5"));
        EXPECT_TRUE(okButton()->isEnabled());
        retype(p.txPgWd, QStringLiteral("x"));
        EXPECT_FALSE(okButton()->isEnabled()); // no number: a page without width
        pressOk();                             // refused while the values are not acceptable
        EXPECT_EQ(d.result(), 0);

        // A typed size near a paper takes that paper, margins included.
        retype(p.txPgWd, QStringLiteral("21,59"));
        retype(p.txPgHi, QStringLiteral("27.94"));
        EXPECT_EQ(p.cbPage->currentIndex(), 7);
        EXPECT_EQ(shown(p), (Texts{"21.59", "27.94", "2.16", "2.79", "2.16", "2.79"}));
        retype(p.txPgWd, QStringLiteral("21,00"));
        EXPECT_EQ(p.cbPage->currentText(), QStringLiteral("ﾕｰｻﾞｰ定義"));
        EXPECT_EQ(p.txLftMrg->text(), QStringLiteral("2.16")); // user-defined keeps the fields
        pressOk();
    });
    EXPECT_EQ(editorPage(), (Page{11907, 15842, 1225, 1582, 1225, 1582}));
}

TEST_F(PageSetupTest, OrientationSwapsTheSizeAndResetsTheMargins) {
    setPage(11906, 16838);
    act("PG", [&](sbTxm& d) {
        PageSetupPage& p = page(d);
        retype(p.txLftMrg, QStringLiteral("3.00"));
        retype(p.txTopMrg, QStringLiteral("0.50"));
        p.OpVH[1]->click();
        EXPECT_TRUE(p.Landscape());
        EXPECT_EQ(shown(p), (Texts{"29.70", "20.99", "2.10", "2.97", "2.10", "2.97"}));
        EXPECT_GT(p.Shape1->width(), p.Shape1->height());
        pressOk();
    });
    EXPECT_EQ(editorPage(), (Page{16840, 11901, 1191, 1684, 1191, 1684}));
    EXPECT_TRUE(ed->mTxt->document2().page.landscape);

    // A user-defined paper turned: only the size is swapped.
    setPage(13000, 17000, 500, 600, 700, 800);
    act("PG", [&](sbTxm& d) {
        PageSetupPage& p = page(d);
        EXPECT_FALSE(p.OpVH[1]->isChecked());
        p.OpVH[1]->click();
        EXPECT_EQ(shown(p), (Texts{"29.98", "22.93", "0.88", "1.06", "1.23", "1.41"}));
        cancel(d);
    });
    EXPECT_EQ(editorPage(), (Page{13000, 17000, 500, 600, 700, 800})); // Cancel changes nothing
}

TEST_F(PageSetupTest, DefaultButtonStoresThePageForNewDocuments) {
    setPage(11906, 16838, 1440, 1440, 1440, 1440);
    act("PG", [&](sbTxm& d) {
        PageSetupPage& p = page(d);
        retype(p.txTopMrg, QStringLiteral("2,00"));
        p.cmDefault->click();
        EXPECT_EQ(d.result(), 0); // the dialog stays open
        cancel(d);
    });
    const TxSet::Page stored = TxSet::ReadPage(settings());
    EXPECT_EQ(stored.width, 11906);
    EXPECT_EQ(stored.height, 16838);
    EXPECT_EQ(stored.marginLeft, 1440);
    EXPECT_EQ(stored.marginTop, 1134);
    EXPECT_EQ(stored.marginRight, 1440);
    EXPECT_EQ(stored.marginBottom, 1440);
    EXPECT_EQ(editorPage(), (Page{11906, 16838, 1440, 1440, 1440, 1440}));
}
