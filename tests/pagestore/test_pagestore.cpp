// Filing the editor's document in the database: under a code page (new and
// overwritten pages, awkward titles), at a place of the page tree, and what
// a failure in the middle leaves behind.
#include "DbPage.h"
#include "PageStoreFixture.h"
#include "TreeKeys.h"
#include "trView.h"
#include "uTrX.h"

#include <QMenu>
#include <QPushButton>
#include <cmath>

namespace {
const QString kFailed = QStringLiteral("文書DBに書き込めませんでした。文書DBは変更されていません");
}

TEST_F(PageStoreTest, FirstPageUnderACodePage) {
    CodePage(999, QStringLiteral("日誌"));
    Type(QStringLiteral("今日の出来事"));
    prompter.answerInput(QStringLiteral("五月一日"));
    ASSERT_TRUE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));

    ASSERT_EQ(prompter.calls.size(), 1);
    EXPECT_EQ(prompter.calls[0].kind, u"input"_qs);
    EXPECT_EQ(prompter.calls[0].text, u"表題を指定して下さい"_qs);
    EXPECT_EQ(prompter.calls[0].title, u"表題"_qs);
    EXPECT_EQ(aStatus, QStringList{u"日誌 / 五月一日 を追加しました"_qs});

    Usr::DbRows r;
    qint64 n = 0;
    Usr::DbGetRows(QStringLiteral("Select noDoc, boUse, boCod, szDoc, txDoc, dyUdt, wkRnd,"
                                  " length(obDoc) From msDoc Where noDoc <> 999"),
                   r, n);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(r[0][0].toInt(), 1000);
    EXPECT_EQ(r[1][0].toInt(), 1);
    EXPECT_EQ(r[2][0].toInt(), 0);
    EXPECT_EQ(r[3][0].toString(), u"五月一日"_qs);
    EXPECT_TRUE(r[4][0].toString().contains(u"今日の出来事"_qs));
    EXPECT_EQ(r[5][0].toString(), Today());
    const double rnd = r[6][0].toDouble();
    EXPECT_TRUE(rnd >= 0 && rnd < std::ldexp(1.0, 64));
    EXPECT_GT(r[7][0].toInt(), 0);

    Usr::DbGetRows(QStringLiteral("Select noLfP, noLfC, inSrt, szDoc, boUse, boLnk, dyUdt,"
                                  " dyUdt_P, boHide, boHogo From tbTree Where noLfC = 1000"),
                   r, n);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(r[0][0].toInt(), 999);
    EXPECT_EQ(r[2][0].toInt(), 100);
    EXPECT_EQ(r[3][0].toString(), u"五月一日"_qs);
    EXPECT_EQ(r[4][0].toInt(), 1);
    EXPECT_EQ(r[5][0].toInt(), 0);
    EXPECT_EQ(r[6][0].toString(), Today());
    EXPECT_EQ(r[7][0].toString(), Today());
    EXPECT_EQ(r[8][0].toInt(), 0);
    EXPECT_EQ(r[9][0].toInt(), 0);
    // The stored bytes are the editor's document.
    const DbPage::Page p = DbPage::Read(1000);
    TxEngine e;
    ASSERT_TRUE(e.LoadBytes(p.yDoc, TxEngine::FmtDoc));
    EXPECT_TRUE(e.Text().contains(u"今日の出来事"_qs));
}

TEST_F(PageStoreTest, SameTitleIsOverwrittenKeepingNumberAndPlace) {
    CodePage(999, QStringLiteral("日誌"));
    Sql(QStringLiteral("Insert Into msDoc (noDoc, boUse, boCod, szDoc, txDoc, dyUdt, wkRnd)"
                       " Values (1000, 0, 1, '五月一日', '古い本文', '2020-01-01', 12345.0)"));
    Sql(QStringLiteral("Insert Into tbTree (noLfP, noLfC, inSrt, szDoc, boUse, boLnk, dyUdt,"
                       " dyUdt_P) Values (999, 1000, 7, '五月一日', 0, 0, '2020-01-01',"
                       " '2019-12-31')"));
    Type(QStringLiteral("新しい本文"));
    // No asks for the title again; the second time Yes overwrites.
    prompter.answerInput(QStringLiteral("五月一日"));
    prompter.answerMessage(Prompter::Answer::No);
    prompter.answerInput(QStringLiteral("五月一日"));
    prompter.answerMessage(Prompter::Answer::Yes);
    ASSERT_TRUE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
    ASSERT_EQ(prompter.calls.size(), 4);
    EXPECT_EQ(prompter.calls[1].text,
              u"日誌の中に同一の表題の文書があります　上書きして良いですか"_qs);
    EXPECT_EQ(prompter.calls[1].buttons, Prompter::Buttons::YesNo);
    EXPECT_EQ(aStatus, QStringList{u"日誌 / 五月一日 を更新しました"_qs});

    EXPECT_EQ(Count(u"msDoc"_qs), 2);
    EXPECT_EQ(Value(u"Select wkRnd From msDoc Where noDoc=1000"_qs).toDouble(), 12345.0);
    EXPECT_EQ(Value(u"Select boUse From msDoc Where noDoc=1000"_qs).toInt(), 0);
    EXPECT_EQ(Value(u"Select boCod From msDoc Where noDoc=1000"_qs).toInt(), 1);
    EXPECT_TRUE(Value(u"Select txDoc From msDoc Where noDoc=1000"_qs)
                    .toString()
                    .contains(u"新しい本文"_qs));
    EXPECT_EQ(Value(u"Select dyUdt From msDoc Where noDoc=1000"_qs).toString(), Today());
    EXPECT_FALSE(DbPage::Read(1000).bNull);
    // The place is left as it was.
    EXPECT_EQ(Count(u"tbTree"_qs), 2);
    EXPECT_EQ(Value(u"Select inSrt From tbTree Where noLfC=1000"_qs).toInt(), 7);
    EXPECT_EQ(Value(u"Select dyUdt From tbTree Where noLfC=1000"_qs).toString(), u"2020-01-01"_qs);
    EXPECT_EQ(Value(u"Select dyUdt_P From tbTree Where noLfC=1000"_qs).toString(),
              u"2019-12-31"_qs);
    EXPECT_EQ(Value(u"Select boUse From tbTree Where noLfC=1000"_qs).toInt(), 0);
}

TEST_F(PageStoreTest, TitlesAreStoredAndMatchedAsTyped) {
    CodePage(999, QStringLiteral("日誌"));
    Sql(u"Insert Into msDoc (noDoc, szDoc) Values (1000, '100x')"_qs);
    Sql(u"Insert Into tbTree (noLfP, noLfC, inSrt, szDoc) Values (999, 1000, 0, '100x')"_qs);
    Type(QStringLiteral("本文"));
    const QStringList titles{u"なぜ?"_qs, u"It's"_qs, u"100%"_qs, u"a?'%_b"_qs};
    for (const QString& t : titles) {
        prompter.answerInput(t);
        ASSERT_TRUE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")))
            << t.toStdString();
    }
    // None of them was taken for another title: no overwrite question.
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join(u'|').toStdString();
    for (int i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(Value(QStringLiteral("Select szDoc From msDoc Where noDoc=%1").arg(1001 + i))
                      .toString(),
                  titles[i]);
        EXPECT_EQ(Value(QStringLiteral("Select szDoc From tbTree Where noLfC=%1").arg(1001 + i))
                      .toString(),
                  titles[i]);
    }
    // Each is found again as the same title.
    for (const QString& t : titles) {
        prompter.answerInput(t);
        prompter.answerMessage(Prompter::Answer::Yes);
    }
    for (const QString& t : titles)
        ASSERT_TRUE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")))
            << t.toStdString();
    EXPECT_EQ(prompter.messages().size(), titles.size());
    EXPECT_EQ(Count(u"msDoc"_qs), 2 + titles.size());
    EXPECT_TRUE(aStatus.last().endsWith(u" を更新しました"_qs));
}

TEST_F(PageStoreTest, EmptyEditorOrNoTitleWritesNothing) {
    EXPECT_FALSE(store->ExportToTree());
    CodePage(999, QStringLiteral("日誌"));
    EXPECT_FALSE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
    EXPECT_EQ(prompter.messages(),
              (QStringList{u"現在の文書が空です"_qs, u"現在の文書が空です"_qs}));
    // Cancel and a title of blanks stop without a word.
    Type(QStringLiteral("本文"));
    prompter.answerInput(std::nullopt);
    prompter.answerInput(QStringLiteral("  "));
    EXPECT_FALSE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
    EXPECT_FALSE(store->ExportToTree());
    EXPECT_EQ(prompter.messages().size(), 2);
    EXPECT_EQ(Count(u"msDoc"_qs), 1);
    EXPECT_EQ(Count(u"tbTree"_qs), 1);
    EXPECT_TRUE(aStatus.isEmpty());
}

TEST_F(PageStoreTest, FailureBetweenTheTwoWritesLeavesNothingHalfWritten) {
    CodePage(999, QStringLiteral("日誌"));
    Type(QStringLiteral("本文"));
    // The place is written first; the document row then fails.
    FailInserts(u"msDoc"_qs, u"noDoc"_qs, u"disk full"_qs);
    prompter.answerInput(QStringLiteral("五月一日"));
    EXPECT_FALSE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith(kFailed));
    EXPECT_TRUE(prompter.messages()[0].contains(u"disk full"_qs));
    EXPECT_EQ(Count(u"tbTree"_qs), 1);
    EXPECT_EQ(Count(u"msDoc"_qs), 1);
    EXPECT_TRUE(aStatus.isEmpty());
    AllowInserts(u"msDoc"_qs, u"noDoc"_qs);

    // A new page of the tree: the document row is written first, the place
    // then fails.
    uTrX tree;
    tree.ClearItem(true);
    tree.SetNodes(u"0"_qs);
    tree.Tree()->Select(tree.Tree()->Node(1));
    ASSERT_TRUE(tree.trNew(1, QStringLiteral("新しい頁")));
    FailInserts(u"tbTree"_qs, u"noRow"_qs, u"locked"_qs);
    EXPECT_FALSE(store->NewDocRow(QStringLiteral("新しい頁"), tree));
    EXPECT_EQ(prompter.messages().size(), 2);
    EXPECT_EQ(Count(u"msDoc"_qs), 1);
    EXPECT_EQ(Count(u"tbTree"_qs), 1);
    EXPECT_GT(tree.State().nNewIdx, 0); // still waiting for its row
    // Once the database takes the writes, the same place gets the page.
    AllowInserts(u"tbTree"_qs, u"noRow"_qs);
    EXPECT_TRUE(store->NewDocRow(QStringLiteral("新しい頁"), tree));
    EXPECT_EQ(tree.State().nNewIdx, 0);
    EXPECT_EQ(Value(u"Select noLfP From tbTree Where noLfC=1000"_qs).toInt(), 0);
    EXPECT_EQ(Value(u"Select szDoc From msDoc Where noDoc=1000"_qs).toString(), u"新しい頁"_qs);
    // Written, then sorted behind the code page.
    EXPECT_EQ(Value(u"Select inSrt From tbTree Where noLfC=1000"_qs).toInt(), 1);
}

TEST_F(PageStoreTest, NewDocRowWithoutAPlaceWritesNothing) {
    uTrX tree;
    tree.ClearItem(true);
    tree.SetNodes(u"0"_qs);
    Type(QStringLiteral("本文"));
    EXPECT_FALSE(store->NewDocRow(QStringLiteral("行き場のない頁"), tree));
    EXPECT_EQ(Count(u"msDoc"_qs), 0);
    EXPECT_EQ(prompter.messages().size(), 1);
}

TEST_F(PageStoreTest, FirstPageOfAnEmptyDatabaseThroughTheExportDialog) {
    Type(QStringLiteral("最初の頁の本文"));
    prompter.answerInput(QStringLiteral("最初の頁"));
    OnDialog([](sbTrX& d) {
        EXPECT_EQ(d.Mode(), 3);
        EXPECT_FALSE(d.OkButton()->isEnabled());
        QTest::mouseClick(d.Tree()->Tree()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        ASSERT_TRUE(d.ExportMenu()->isVisible());
        d.ExportMenu()->actions().at(2)->trigger(); // "下に追加"
        d.OkButton()->click();
    });
    ASSERT_TRUE(store->ExportToTree());
    EXPECT_EQ(Value(u"Select szDoc From msDoc Where noDoc=1000"_qs).toString(), u"最初の頁"_qs);
    EXPECT_EQ(Value(u"Select noLfP From tbTree Where noLfC=1000"_qs).toInt(), 0);
    EXPECT_EQ(Value(u"Select inSrt From tbTree Where noLfC=1000"_qs).toInt(), 0);
    EXPECT_EQ(Value(u"Select boLnk From tbTree Where noLfC=1000"_qs).toInt(), 0);
    EXPECT_EQ(aStatus, QStringList{u"最初の頁 を追加しました"_qs});
}

TEST_F(PageStoreTest, CodePageNumbersOfAnySize) {
    CodePage(123456, QStringLiteral("大きな番号"));
    CodePage(7, QStringLiteral("小さな番号"));
    EXPECT_EQ(DbPage::CodePages(),
              (QList<DbPage::CodePage>{{7, u"小さな番号"_qs}, {123456, u"大きな番号"_qs}}));
    Type(QStringLiteral("本文"));
    prompter.answerInput(QStringLiteral("頁"));
    ASSERT_TRUE(store->SaveToCode(QStringLiteral("大きな番号"), QStringLiteral("123456")));
    EXPECT_EQ(Value(u"Select noLfP From tbTree Where noLfC=123457"_qs).toInt(), 123456);
    // A number cut short, or a page unmarked since the menu was made, names
    // no code page: nothing is filed under it.
    Sql(u"Update msDoc Set boCod = 0 Where noDoc = 7"_qs);
    for (const char* no : {"12345", "7"})
        EXPECT_FALSE(store->SaveToCode(QStringLiteral("番号"), QString::fromLatin1(no))) << no;
    EXPECT_EQ(prompter.calls.size(), 3); // one title asked for, two messages
    EXPECT_EQ(prompter.messages(), (QStringList{u"番号 はｺｰﾄﾞﾍﾟｰｼﾞではありません"_qs,
                                                u"番号 はｺｰﾄﾞﾍﾟｰｼﾞではありません"_qs}));
    EXPECT_EQ(Count(u"tbTree"_qs), 3);
}
