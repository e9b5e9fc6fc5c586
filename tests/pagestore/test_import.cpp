// Bringing pages back into the editor: the round trip through the database,
// the save question before a replace, insertion and appending.
#include "DbPage.h"
#include "Document.h"
#include "MsDoc.h"
#include "PageStoreFixture.h"
#include "trView.h"
#include "uTrX.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

model::Document Model(const QByteArray& y) {
    QString err;
    const std::optional<model::Document> d = msdoc::read(y, &err);
    EXPECT_TRUE(d.has_value()) << err.toStdString();
    return d.value_or(model::Document{});
}

} // namespace

TEST_F(PageStoreTest, ExportedPageImportsAsTheSameDocument) {
    Type(QStringLiteral("見出しの行\r本文の行です"));
    ed->mTxt->SetSelStart(0);
    ed->mTxt->SetSelLength(3);
    ed->mTxt->SetFontBold(true);
    ed->mTxt->SetSelStart(7);
    ed->mTxt->SetSelLength(2);
    ed->mTxt->SetFontItalic(true);
    ed->mTxt->SetFontSize(16);
    QByteArray yBefore;
    QString sTx, sTtl;
    bool ok = false;
    ed->GetData(yBefore, sTx, sTtl, ok);
    ASSERT_TRUE(ok);

    prompter.answerInput(QStringLiteral("書式の頁"));
    OnDialog([](sbTrX& d) {
        QTest::mouseClick(d.Tree()->Tree()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        d.ExportMenu()->actions().at(0)->trigger();
        d.OkButton()->click();
    });
    ASSERT_TRUE(store->ExportToTree());

    // A fresh page in the editor, then the stored one back.
    ed->SetDcEdt(false);
    ed->rtAct(2);
    ASSERT_TRUE(ed->mTxt->Text().isEmpty());
    OnDialog([](sbTrX& d) {
        EXPECT_EQ(d.Mode(), 1);
        EXPECT_TRUE(d.OkButton()->isEnabled()); // the first page is shown
        d.OkButton()->click();
    });
    ASSERT_TRUE(store->ImportPage(false));
    EXPECT_EQ(aStatus.last(), u"ｲﾝﾎﾟｰﾄしました"_qs);
    QByteArray yAfter;
    ed->GetData(yAfter, sTx, sTtl, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(Model(yAfter), Model(yBefore));
    ed->mTxt->SetSelStart(1);
    EXPECT_TRUE(ed->mTxt->FontBold());
    ed->mTxt->SetSelStart(8);
    EXPECT_TRUE(ed->mTxt->FontItalic());
    EXPECT_EQ(ed->mTxt->FontSize(), 16);
    ed->mTxt->SetSelStart(12);
    EXPECT_FALSE(ed->mTxt->FontBold());
    EXPECT_EQ(Model(DbPage::Read(1000).yDoc), Model(yBefore));
    EXPECT_FALSE(ed->bDcEdt());
}

TEST_F(PageStoreTest, ReplacingAnEditedPageAsksFirst) {
    TxEngine e;
    e.SetText(QStringLiteral("取り込む頁"));
    const QByteArray y = e.SaveBytes(TxEngine::FmtDoc);
    Type(QStringLiteral("編集中の頁"));
    ASSERT_TRUE(ed->bDcEdt());

    prompter.answerMessage(Prompter::Answer::Cancel);
    EXPECT_FALSE(store->PutPage(QStringLiteral("取り込む頁"), y, false, false));
    ASSERT_EQ(prompter.calls.size(), 1);
    EXPECT_EQ(prompter.calls[0].text, u"現在の文書を保存しますか"_qs);
    EXPECT_EQ(prompter.calls[0].buttons, Prompter::Buttons::YesNoCancel);
    EXPECT_TRUE(ed->mTxt->Text().contains(u"編集中の頁"_qs));
    EXPECT_TRUE(ed->bDcEdt());
    EXPECT_TRUE(aStatus.isEmpty());

    prompter.answerMessage(Prompter::Answer::No);
    EXPECT_TRUE(store->PutPage(QStringLiteral("取り込む頁"), y, false, false));
    EXPECT_FALSE(ed->mTxt->Text().contains(u"編集中の頁"_qs));
    EXPECT_TRUE(ed->mTxt->Text().contains(u"取り込む頁"_qs));
    EXPECT_EQ(ed->txTitle->text(), u"取り込む頁"_qs);
    EXPECT_EQ(aStatus, QStringList{u"ｲﾝﾎﾟｰﾄしました"_qs});
}

TEST_F(PageStoreTest, InsertingAndAppendingKeepTheEditedPage) {
    TxEngine e;
    e.SetText(QStringLiteral("差し込む頁"));
    const QByteArray y = e.SaveBytes(TxEngine::FmtDoc);
    Type(QStringLiteral("編集中"));
    // Neither asks: the page stays, with the other one in it.
    EXPECT_TRUE(store->PutPage(QStringLiteral("差し込む頁"), y, false, true));
    EXPECT_TRUE(ed->mTxt->Text().contains(u"編集中"_qs));
    EXPECT_TRUE(ed->mTxt->Text().contains(u"差し込む頁"_qs));
    EXPECT_TRUE(store->PutPage(QStringLiteral("差し込む頁"), y, true, false));
    EXPECT_EQ(ed->mTxt->Text().count(u"差し込む頁"_qs), 2);
    EXPECT_TRUE(prompter.messages().isEmpty());
    // Bytes that are no document change nothing and say so.
    const QString before = ed->mTxt->Text();
    EXPECT_FALSE(
        store->PutPage(QStringLiteral("壊れた頁"), QByteArray("not a document"), true, false));
    EXPECT_EQ(ed->mTxt->Text(), before);
    EXPECT_EQ(prompter.messages().size(), 1);
}

TEST_F(PageStoreTest, ImportCancelledChangesNothing) {
    CodePage(999, QStringLiteral("日誌"));
    Type(QStringLiteral("編集中"));
    OnDialog([](sbTrX& d) { d.CancelButton()->click(); });
    EXPECT_FALSE(store->ImportPage(false));
    EXPECT_TRUE(ed->mTxt->Text().contains(u"編集中"_qs));
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_TRUE(aStatus.isEmpty());
}
