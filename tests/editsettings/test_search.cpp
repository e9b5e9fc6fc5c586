// Search and replace: the page opened on its tabs, finding forwards,
// backwards and from the top, when "置換" replaces, replacing everything
// (ending, each occurrence once), formatted replacements, undo, the
// history lists and the five conversions, all through the settings dialog.

#include "DialogFixture.h"
#include "SearchPage.h"
#include "TextConvert.h"
#include "TxFormatDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

class SearchTest : public DialogTest {
protected:
    static SearchPage& page(sbTxm& d) { return *static_cast<SearchPage*>(d.Page("FD")); }
    QString text() const { return ed->mTxt->Text(); }
    void setText(const QString& s) {
        ed->mTxt->SetText(s);
        ed->mTxt->SetSelStart(0);
    }
    // Sets the replace tab's search text and replacement.
    static void replaceTab(SearchPage& p, const QString& search, const QString& replacement) {
        p.srTab->setCurrentIndex(1);
        p.cbFnd[1]->setEditText(search);
        p.cbFnd[3]->setEditText(replacement);
    }
};

TEST_F(SearchTest, OpensOnTheTabOfItsCode) {
    setText(QStringLiteral("abc def"));
    ed->mTxt->SetSelLength(3);
    act("RP", [&](sbTxm& d) {
        SearchPage& p = page(d);
        EXPECT_EQ(d.PageCode(), QStringLiteral("FD"));
        EXPECT_EQ(d.windowTitle(), QStringLiteral("検索･置換"));
        EXPECT_EQ(p.srTab->currentIndex(), 1);
        EXPECT_TRUE(p.frFnd[1]->isVisibleTo(&p));
        EXPECT_FALSE(p.frFnd[0]->isVisibleTo(&p));
        EXPECT_FALSE(okButton()->isVisibleTo(&d)); // no OK on the search pages
        for (int t = 0; t < 3; ++t)
            EXPECT_EQ(p.cbFnd[t]->currentText(), QStringLiteral("abc"));
        EXPECT_EQ(p.ssRep[1]->text(), QStringLiteral("全て置換"));
        EXPECT_EQ(p.ssUndo[0]->toolTip(), QStringLiteral("置換えを一つ元に戻します"));
        EXPECT_EQ(p.chMatch[1]->text(), QStringLiteral("大文字･小文字を区別する"));
        cancel(d);
    });
    act("FD", [&](sbTxm& d) {
        SearchPage& p = page(d);
        EXPECT_EQ(p.srTab->currentIndex(), 0);
        EXPECT_TRUE(p.frFnd[0]->isVisibleTo(&p));
        p.srTab->setCurrentIndex(2);
        EXPECT_TRUE(p.frFnd[2]->isVisibleTo(&p));
        EXPECT_FALSE(p.frFnd[0]->isVisibleTo(&p));
        cancel(d);
    });
}

TEST_F(SearchTest, FindsFromTheTopForwardsAndBackwardsWithTheCaseOption) {
    setText(QStringLiteral("ABC abc Abc"));
    act("FD", [&](sbTxm& d) {
        SearchPage& p = page(d);
        p.cbFnd[0]->setEditText(QStringLiteral("abc"));
        p.ssCom[0]->click();
        EXPECT_EQ(p.State().LastResult(), 0); // case ignored: ABC is found
        EXPECT_EQ(ed->mTxt->SelText(), QStringLiteral("ABC"));
        p.ssCom[2]->click();
        EXPECT_EQ(p.State().LastResult(), 4);
        p.ssCom[2]->click();
        EXPECT_EQ(p.State().LastResult(), 8);
        p.ssCom[1]->click();
        EXPECT_EQ(p.State().LastResult(), 4);
        QTest::keyClick(p.cbFnd[0]->lineEdit(), Qt::Key_Return); // Enter: the next one
        EXPECT_EQ(p.State().LastResult(), 8);

        p.chMatch[0]->setChecked(true);
        p.ssCom[0]->click();
        EXPECT_EQ(p.State().LastResult(), 4);
        p.ssCom[2]->click();
        EXPECT_LT(p.State().LastResult(), 0); // not found: no message, last text kept
        EXPECT_EQ(p.State().LastText(), QStringLiteral("abc"));
        EXPECT_TRUE(prompter.messages().isEmpty());
        cancel(d);
    });
}

TEST_F(SearchTest, ReplaceReplacesOnlyTheTextFoundLast) {
    // The selection the page opened with counts as found.
    setText(QStringLiteral("abc def abc"));
    ed->mTxt->SetSelLength(3);
    act("RP", [&](sbTxm& d) {
        SearchPage& p = page(d);
        p.cbFnd[3]->setEditText(QStringLiteral("X"));
        p.ssRep[0]->click();
        EXPECT_EQ(text(), QStringLiteral("X def abc"));
        EXPECT_EQ(ed->mTxt->SelStart(), 6); // the next one is selected
        EXPECT_TRUE(p.ssUndo[0]->isEnabled());
        cancel(d);
    });

    // Nothing found yet: the first press only searches, the next replaces.
    setText(QStringLiteral("abc def abc"));
    act("RP", [&](sbTxm& d) {
        SearchPage& p = page(d);
        replaceTab(p, QStringLiteral("abc"), QStringLiteral("X"));
        p.ssRep[0]->click();
        EXPECT_EQ(text(), QStringLiteral("abc def abc"));
        EXPECT_EQ(ed->mTxt->SelText(), QStringLiteral("abc"));
        p.ssRep[0]->click();
        EXPECT_EQ(text(), QStringLiteral("X def abc"));
        EXPECT_EQ(ed->mTxt->SelStart(), 6);
        p.ssRep[0]->click();
        EXPECT_EQ(text(), QStringLiteral("X def X"));
        p.ssRep[0]->click(); // nothing left
        EXPECT_EQ(text(), QStringLiteral("X def X"));
        cancel(d);
    });

    // A search text other than the one found last only searches; the next
    // press replaces.
    setText(QStringLiteral("abc def abc"));
    act("RP", [&](sbTxm& d) {
        SearchPage& p = page(d);
        replaceTab(p, QStringLiteral("abc"), QStringLiteral("X"));
        p.ssRep[2]->click(); // "次を探す" finds the first
        p.cbFnd[1]->setEditText(QStringLiteral("ABC"));
        p.ssRep[0]->click();
        EXPECT_EQ(text(), QStringLiteral("abc def abc"));
        EXPECT_EQ(ed->mTxt->SelStart(), 8);
        p.ssRep[0]->click();
        EXPECT_EQ(text(), QStringLiteral("abc def X"));
        cancel(d);
    });

    // The user moved the selection since the search: no replacement.
    setText(QStringLiteral("abc def abc"));
    act("RP", [&](sbTxm& d) {
        SearchPage& p = page(d);
        replaceTab(p, QStringLiteral("abc"), QStringLiteral("X"));
        p.ssRep[2]->click(); // "次を探す"
        EXPECT_EQ(ed->mTxt->SelStart(), 0);
        ed->mTxt->SetSelStart(4);
        ed->mTxt->SetSelLength(3);
        p.ssRep[0]->click();
        EXPECT_EQ(text(), QStringLiteral("abc def abc"));
        EXPECT_EQ(ed->mTxt->SelStart(), 8);
        p.ssRep[0]->click();
        EXPECT_EQ(text(), QStringLiteral("abc def X"));
        cancel(d);
    });
}

TEST_F(SearchTest, ReplaceAllEndsAndReplacesEachOccurrenceOnce) {
    auto replaceAll = [&](const QString& start, const QString& search, const QString& by,
                          bool matchCase) {
        setText(start);
        act("RP", [&](sbTxm& d) {
            SearchPage& p = page(d);
            replaceTab(p, search, by);
            p.chMatch[1]->setChecked(matchCase);
            p.ssRep[1]->click();
            cancel(d);
        });
        return text();
    };
    EXPECT_EQ(replaceAll(QStringLiteral("abc abc abc"), QStringLiteral("abc"),
                         QStringLiteral("xabcx"), false),
              QStringLiteral("xabcx xabcx xabcx"));
    EXPECT_EQ(replaceAll(QStringLiteral("aaa"), QStringLiteral("a"), QStringLiteral("aa"), false),
              QStringLiteral("aaaaaa"));
    EXPECT_EQ(replaceAll(QStringLiteral("aaa"), QStringLiteral("a"), QString(), false), QString());
    EXPECT_EQ(replaceAll(QStringLiteral("abc"), QString(), QStringLiteral("x"), false),
              QStringLiteral("abc"));
    EXPECT_EQ(
        replaceAll(QStringLiteral("ABC abc"), QStringLiteral("abc"), QStringLiteral("X"), false),
        QStringLiteral("X X"));
    EXPECT_EQ(
        replaceAll(QStringLiteral("ABC abc"), QStringLiteral("abc"), QStringLiteral("X"), true),
        QStringLiteral("ABC X"));
}

TEST_F(SearchTest, UndoTakesBackOneReplacement) {
    setText(QStringLiteral("abc abc"));
    act("RP", [&](sbTxm& d) {
        SearchPage& p = page(d);
        replaceTab(p, QStringLiteral("abc"), QStringLiteral("XY"));
        p.ssRep[1]->click();
        EXPECT_EQ(text(), QStringLiteral("XY XY"));
        ASSERT_TRUE(p.ssUndo[0]->isEnabled());
        p.ssUndo[0]->click();
        EXPECT_EQ(text(), QStringLiteral("XY abc"));
        p.ssUndo[0]->click();
        EXPECT_EQ(text(), QStringLiteral("abc abc"));
        cancel(d);
    });
}

TEST_F(SearchTest, ReplaceWithFormattedText) {
    setText(QStringLiteral("abc def abc"));
    act("FD", [&](sbTxm& d) {
        SearchPage& p = page(d);
        p.srTab->setCurrentIndex(2);
        EXPECT_EQ(p.txFndR->Text(), QString());
        EXPECT_EQ(p.txFndR->FontName(), ed->usrFmt[TxStyle::kBody].sFont);
        p.txFndR->SetText(QStringLiteral("XYZ"));
        prompter.answerDialog([](QDialog& dialog) {
            auto& font = static_cast<TxFontDialog&>(dialog);
            font.size->setValue(20);
            font.bold->setChecked(true);
            return true;
        });
        p.cmFmt->click();
        EXPECT_EQ(p.txFndR->SelLength(), 0);
        p.cbFnd[2]->setEditText(QStringLiteral("abc"));
        p.ssRpf[1]->click();
        EXPECT_TRUE(p.ssUndo[1]->isEnabled());
        cancel(d);
    });
    EXPECT_EQ(text(), QStringLiteral("XYZ def XYZ"));
    TxEngine* tx = ed->mTxt;
    for (int at : {0, 2, 8, 10}) {
        tx->SetSelStart(at);
        tx->SetSelLength(1);
        EXPECT_EQ(tx->FontSize(), 20) << at;
        EXPECT_TRUE(tx->FontBold()) << at;
    }
    tx->SetSelStart(4);
    tx->SetSelLength(1);
    EXPECT_NE(tx->FontSize(), 20);
    EXPECT_FALSE(tx->FontBold());

    // Opened again: the formatted replacement starts empty, the history stays.
    act("FD", [&](sbTxm& d) {
        SearchPage& p = page(d);
        EXPECT_EQ(p.txFndR->Text(), QString());
        EXPECT_EQ(p.cbFnd[2]->count(), 1);
        cancel(d);
    });
}

TEST_F(SearchTest, HistoryHoldsEachTextOnce) {
    setText(QStringLiteral("abc abd"));
    act("RP", [&](sbTxm& d) {
        SearchPage& p = page(d);
        p.srTab->setCurrentIndex(0);
        for (const char* s : {"abc", "ABC", "Abc", "abd", "abc"}) {
            p.cbFnd[0]->setEditText(QString::fromLatin1(s));
            p.ssCom[2]->click();
            EXPECT_EQ(p.cbFnd[0]->currentText(), QString::fromLatin1(s)); // still shown
        }
        ASSERT_EQ(p.cbFnd[0]->count(), 2);
        EXPECT_EQ(p.cbFnd[0]->itemText(0), QStringLiteral("abd"));
        EXPECT_EQ(p.cbFnd[0]->itemText(1), QStringLiteral("abc"));

        replaceTab(p, QStringLiteral("abc"), QStringLiteral("X"));
        p.ssRep[2]->click();
        p.cbFnd[3]->setEditText(QStringLiteral("x"));
        p.ssRep[2]->click();
        EXPECT_EQ(p.cbFnd[1]->count(), 1);
        EXPECT_EQ(p.cbFnd[3]->count(), 1);
        p.cbFnd[1]->setEditText(QString());
        p.ssRep[2]->click();
        EXPECT_EQ(p.cbFnd[1]->count(), 1); // an empty text is no history
        cancel(d);
    });
}

TEST_F(SearchTest, ConversionsOfMixedJapaneseText) {
    const QString mixed =
        QStringLiteral("ひらがな カタカナ ｶﾞｷﾞﾊﾟｳﾞ １２３ ＡＢＣｄｅｆ abc Hello wORLD");
    const QString expected[TextConvert::kKinds] = {
        QStringLiteral(
            "ひらがな　カタカナ　ガギパヴ　１２３　ＡＢＣｄｅｆ　ａｂｃ　Ｈｅｌｌｏ　ｗＯＲＬＤ"),
        QStringLiteral("ﾋﾗｶﾞﾅ ｶﾀｶﾅ ｶﾞｷﾞﾊﾟｳﾞ 123 ABCdef abc Hello wORLD"),
        QStringLiteral("ひらがな カタカナ ｶﾞｷﾞﾊﾟｳﾞ １２３ ＡＢＣＤＥＦ ABC HELLO WORLD"),
        QStringLiteral("ひらがな カタカナ ｶﾞｷﾞﾊﾟｳﾞ １２３ ａｂｃｄｅｆ abc hello world"),
        QStringLiteral("ひらがな カタカナ ｶﾞｷﾞﾊﾟｳﾞ １２３ Ａｂｃｄｅｆ Abc Hello World"),
    };
    act("RP", [&](sbTxm& d) {
        SearchPage& p = page(d);
        for (int i = 0; i < TextConvert::kKinds; ++i) {
            p.cbFnd[1]->setEditText(mixed);
            p.cbFnd[3]->setEditText(QString());
            p.cmStrCnv[i]->click();
            EXPECT_EQ(p.cmStrCnv[i]->text(), TextConvert::Caption(i));
            EXPECT_EQ(p.cbFnd[3]->currentText(), expected[i]) << i;
            EXPECT_EQ(p.cbFnd[1]->currentText(), mixed);
        }
        cancel(d);
    });
    // Voiced half-width katakana become one full-width character and back.
    EXPECT_EQ(TextConvert::Convert(QStringLiteral("ﾎﾟｰﾄ"), TextConvert::Wide),
              QStringLiteral("ポート"));
    EXPECT_EQ(TextConvert::Convert(QStringLiteral("ぽーと"), TextConvert::Narrow),
              QStringLiteral("ﾎﾟｰﾄ"));
}
