// The link page and the user styles page, through the real dialog.
#include "DialogFixture.h"
#include "EditorDialog.h"

#include "LinkPage.h"
#include "TxFormatDialogs.h"
#include "UserStylePage.h"
#include "sbTxmAnswers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

class LinkTest : public DialogTest {
protected:
    static LinkPage& page(sbTxm& d) { return *static_cast<LinkPage*>(d.Page("LK")); }
};

TEST_F(LinkTest, CaptionLosesObjectCharactersAndSelTextFollowsIt) {
    QString caption;
    bool sel = false, selEnabled = false, captionEnabled = true;
    QString ans = act(
        "LK",
        [&](sbTxm& d) {
            LinkPage& p = page(d);
            caption = p.txLnk[1]->text();
            sel = p.chLnkHg->isChecked();
            selEnabled = p.chLnkHg->isEnabled();
            captionEnabled = p.txLnk[1]->isEnabled();
            pressOk(d);
        },
        QStringLiteral("\x01 Fo\x01lium \x01\thttp://example.org/"));
    EXPECT_EQ(caption, QStringLiteral("Folium"));
    EXPECT_TRUE(sel);
    EXPECT_TRUE(selEnabled);
    EXPECT_FALSE(captionEnabled);
    EXPECT_EQ(ans, QStringLiteral("Folium\thttp://example.org/"));
    EXPECT_EQ(TxmAns::ReadLink(QStringLiteral("a\x01\tb\tc")), (TxmAns::Link{"a", "b\tc"}));
}

TEST_F(LinkTest, MissingTargetOrCaptionKeepsTheDialogOpen) {
    bool afterTarget = true, afterCaption = true;
    QString msg;
    QString ans = act("LK", [&](sbTxm& d) {
        LinkPage& p = page(d);
        // Nothing selected: SelText is off and the caption is typed.
        EXPECT_FALSE(p.chLnkHg->isEnabled());
        EXPECT_TRUE(p.txLnk[1]->isEnabled());
        EXPECT_EQ(p.lbMsg->text(), QStringLiteral("ﾘﾝｸ先を指定して下さい"));
        pressOk(d);
        afterTarget = d.result() == QDialog::Accepted;
        p.txLnk[0]->setText(QStringLiteral("  http://a/  "));
        pressOk(d);
        afterCaption = d.result() == QDialog::Accepted;
        p.txLnk[1]->setText(QStringLiteral(" Top "));
        pressOk(d);
    });
    EXPECT_FALSE(afterTarget);
    EXPECT_FALSE(afterCaption);
    EXPECT_EQ(prompter.messages(), (QStringList{QStringLiteral("ﾘﾝｸ先が指定されていません"),
                                                QStringLiteral("ｷｬﾌﾟｼｮﾝが指定されていません")}));
    EXPECT_EQ(ans, QStringLiteral("Top\thttp://a/"));

    // Cancel answers nothing.
    ans = act("LK", cancel, QStringLiteral("x\ty"));
    EXPECT_TRUE(ans.isEmpty());
}

TEST_F(LinkTest, FileAndFavouriteButtons) {
    const QString site = Usr::sUsrFd + QStringLiteral("Site/");
    QDir().mkpath(site);
    const QString doc = site + QStringLiteral("報告書.htm");
    const QString fav = dir + QStringLiteral("/ニュース.url");
    QFile f(fav);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[InternetShortcut]\r\nIconIndex=0\r\nURL=https://news.example.jp/top\r\n");
    f.close();

    prompter.answerOpenFile(doc);
    prompter.answerOpenFile(fav);
    QString afterFile, afterFav, targetFile;
    QString ans = act("LK", [&](sbTxm& d) {
        LinkPage& p = page(d);
        p.cmLnk[0]->click();
        afterFile = p.txLnk[1]->text();
        targetFile = p.txLnk[0]->text();
        p.cmLnk[1]->click();
        afterFav = p.txLnk[1]->text();
        pressOk(d);
    });
    EXPECT_EQ(targetFile, doc);
    EXPECT_EQ(afterFile, QStringLiteral("報告書"));
    EXPECT_EQ(afterFav, QStringLiteral("ニュース"));
    EXPECT_EQ(ans, QStringLiteral("ニュース\thttps://news.example.jp/top"));
    ASSERT_GE(prompter.calls.size(), 3);
    // The file dialog starts in the Site folder under the user data folder.
    EXPECT_EQ(prompter.calls[1].title, QStringLiteral("ﾘﾝｸ先のﾄﾞｷｭﾒﾝﾄ"));
    EXPECT_TRUE(prompter.calls[1].detail.contains(QStringLiteral("Site")));
    EXPECT_EQ(prompter.calls[2].title, QStringLiteral("お気に入り"));
    EXPECT_TRUE(LinkPage::ReadUrlFile(dir + QStringLiteral("/none.url")).isEmpty());
}

TEST_F(LinkTest, PictureLinkHasNoCaption) {
    bool shown = true;
    QString ans = act(
        "LK_OBJ",
        [&](sbTxm& d) {
            shown = page(d).txLnk[1]->isVisibleTo(&d);
            pressOk(d);
        },
        QStringLiteral("\thttp://pic/"));
    EXPECT_FALSE(shown);
    EXPECT_EQ(ans, QStringLiteral("\thttp://pic/"));
}

TEST_F(LinkTest, EditorInsertsTheLinkOnTheSelectedText) {
    sbTxm& own = *ed->Dialog();
    ed->mTxt->SetText(QStringLiteral("see here\n"));
    ed->mTxt->SetSelStart(4);
    ed->mTxt->SetSelLength(5); // "here" and the paragraph end
    ed->SetDcEdt(false);
    QString offered;
    answerOwn(prompter, own, [&](sbTxm&) {
        offered = page(own).txLnk[1]->text();
        page(own).txLnk[0]->setText(QStringLiteral("http://here/"));
        pressOk(own);
    });
    ed->rtAct(50);
    EXPECT_EQ(offered, QStringLiteral("here"));
    const int id = ed->mTxt->NextField(0, 0);
    ASSERT_NE(id, 0);
    EXPECT_EQ(ed->mTxt->FieldTarget(id), QStringLiteral("http://here/"));
    EXPECT_EQ(ed->mTxt->FieldType(id), 1);
    EXPECT_EQ(ed->mTxt->FieldOption(id), 149);
    EXPECT_TRUE(ed->bDcEdt());
    EXPECT_TRUE(ed->mTxt->Text().startsWith(QStringLiteral("see here")));
}

class UserStyleTest : public DialogTest {
protected:
    static UserStylePage& page(sbTxm& d) { return *static_cast<UserStylePage*>(d.Page("US")); }
    // Answers the next font dialog with a size.
    void fontSize(double size) {
        prompter.answerDialog([size](QDialog& d) {
            static_cast<TxFontDialog&>(d).size->setValue(size);
            return true;
        });
    }
    static QString stored(const QString& key) {
        settings().GetGtx(TxStyle::FormatGroup());
        return settings().vGtVal(key, "");
    }
};

TEST_F(UserStyleTest, SampleShowsEachStyleName) {
    QString text;
    double h1 = 0, body = 0;
    act("US", [&](sbTxm& d) {
        TxEngine* s = page(d).tTxt;
        text = s->Text();
        s->SetSelStart(0);
        s->SetSelLength(1);
        h1 = s->FontSize();
        const auto [from, len] = UserStylePage::NameRange(3);
        s->SetSelStart(from);
        s->SetSelLength(len);
        body = s->FontSize();
        cancel(d);
    });
    EXPECT_EQ(text, UserStylePage::SampleText());
    EXPECT_EQ(text, QStringLiteral("見出１\n見出２\n見出３\n本文 強調 補足"));
    EXPECT_EQ(h1, 14);
    EXPECT_EQ(body, 10);
    // Cancel stores nothing.
    EXPECT_TRUE(stored(TxStyle::RecordKey(0)).isEmpty());
}

TEST_F(UserStyleTest, OkWritesTheStyleTableAndOptions) {
    act("US", [&](sbTxm& d) {
        UserStylePage& p = page(d);
        fontSize(13);
        p.cmFont[1]->click(); // 見出２ 12 -> 13
        p.cbLine->setCurrentText(QStringLiteral("1.5"));
        p.ckLF[0]->setChecked(false);
        p.ckLF[1]->setChecked(true);
        p.cbFoot->setCurrentIndex(2);
        pressOk(d);
    });
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(TxStyle::Shared().usrFmt[1].iSize, 13);
    EXPECT_FLOAT_EQ(TxStyle::Shared().sgLsp, 1.5f);
    EXPECT_FALSE(TxStyle::Shared().bDtp);
    const UsrFmt h2 = TxStyle::StrToFmt(stored(TxStyle::RecordKey(1)), 1);
    EXPECT_EQ(h2.iSize, 13);
    EXPECT_EQ(TxStyle::StrToFmt(stored(TxStyle::RecordKey(7)), 7).iPa4, 2);
    EXPECT_EQ(stored(QStringLiteral("USR_DTP")), QStringLiteral("False"));
    EXPECT_EQ(stored(QStringLiteral("USR_ENT_SHIFT")), QStringLiteral("True"));
    // Body styles carry no attributes of their own.
    const UsrFmt body = TxStyle::StrToFmt(stored(TxStyle::RecordKey(3)), 3);
    EXPECT_EQ(body.iAt4, 7936);
}

TEST_F(UserStyleTest, HeadingSizesOutOfOrderAreResetWithAMessage) {
    act("US", [&](sbTxm& d) {
        UserStylePage& p = page(d);
        fontSize(9); // 見出３ below 本文
        p.cmFont[2]->click();
        p.cbLine->setCurrentText(QStringLiteral("3"));
        pressOk(d);
    });
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("見出しのﾌｫﾝﾄｻｲｽﾞ順に変えます")});
    const TxStyle::Table& t = TxStyle::Shared().usrFmt;
    // 強調 10 -> C 10, 本文 10 -> B 10, E 12.
    EXPECT_EQ(t[0].iSize, 14);
    EXPECT_EQ(t[1].iSize, 13);
    EXPECT_EQ(t[2].iSize, 12);
    EXPECT_EQ(t[3].iSize, 10);
    EXPECT_FLOAT_EQ(TxStyle::Shared().sgLsp, 1.2f);
}

TEST(HeadingSizeRules, ResetFromBodyAndEmphasis) {
    TxStyle::Table t = TxStyle::DefaultTable();
    EXPECT_FALSE(TxmAns::FixHeadingSizes(t)); // the defaults are in order
    t[5].sFont = QStringLiteral("other");
    t[5].nBcr = 0x00FF00;
    t[3].sFont = QStringLiteral("body");
    EXPECT_FALSE(TxmAns::FixHeadingSizes(t));
    EXPECT_EQ(t[5].sFont, QStringLiteral("body"));
    EXPECT_EQ(t[5].nBcr, int(TxStyle::kWhite));

    t[3].iSize = 16; // body above 12 counts as 12; emphasis 11
    t[4].iSize = 11;
    EXPECT_TRUE(TxmAns::FixHeadingSizes(t));
    EXPECT_EQ(t[4].iSize, 11);
    EXPECT_EQ(t[3].iSize, 11);
    EXPECT_EQ(t[2].iSize, 12);
    EXPECT_EQ(t[1].iSize, 13);
    EXPECT_EQ(t[0].iSize, 14);
    // Equal heading sizes are out of order too.
    t[1].iSize = t[0].iSize;
    EXPECT_TRUE(TxmAns::FixHeadingSizes(t));
}
