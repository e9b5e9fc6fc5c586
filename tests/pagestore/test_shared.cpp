// Filing under a code page while other users work on the same database: a
// page changed by another user since it was imported is not overwritten
// without asking (overwrite, keep both, cancel), and a same-titled page
// another user filed after the question is asked about again.
#include "DbPage.h"
#include "PageStoreFixture.h"

namespace {

const QString kSame = QStringLiteral("日誌の中に同一の表題の文書があります　上書きして良いですか");

// The scripted prompter with something done just before a question is
// answered: what another user does while this one reads the question.
class HookPrompter : public ScriptedPrompter {
public:
    std::function<void(const QString&)> before;
    Answer message(const QString& text, Buttons buttons, Icon icon) override {
        if (before)
            before(text);
        return ScriptedPrompter::message(text, buttons, icon);
    }
};

class SharedTest : public PageStoreTest {
protected:
    // A page "五月一日" filed under the code page 999 and imported back into
    // the editor; then another user stores other bytes for it.
    void ImportedThenChangedElsewhere() {
        CodePage(999, QStringLiteral("日誌"));
        Type(QStringLiteral("最初の本文"));
        prompter.answerInput(QStringLiteral("五月一日"));
        ASSERT_TRUE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
        const DbPage::Page p = DbPage::Read(1000);
        ASSERT_TRUE(p.bOk);
        ed->SetDcEdt(false);
        ASSERT_TRUE(store->PutPage(p.sSz, p.yDoc, false, false));
        Sql(QStringLiteral("Update msDoc Set obDoc = %1 Where noDoc = 1000")
                .arg(Blob(QByteArray("\x01\x02", 2))));
        Type(QStringLiteral("追記"));
        prompter.calls.clear();
        aStatus.clear();
    }
    QByteArray Stored(int no) {
        return Value(QStringLiteral("Select obDoc From msDoc Where noDoc = %1").arg(no))
            .toByteArray();
    }
    QStringList Texts() const {
        QStringList out;
        for (const auto& c : prompter.calls)
            out << c.text;
        return out;
    }
};

const QString Changed() {
    return QStringLiteral("日誌の中の同じ表題の文書は、ｲﾝﾎﾟｰﾄした後に他の利用者が変更しています。"
                          "上書きして良いですか\r(いいえ: 両方を残し、新しい文書として保存します)");
}

} // namespace

TEST_F(SharedTest, ChangedSinceImportKeepsBothOnNo) {
    ImportedThenChangedElsewhere();
    prompter.answerInput(QStringLiteral("五月一日"));
    prompter.answerMessage(Prompter::Answer::Yes);
    prompter.answerMessage(Prompter::Answer::No);
    ASSERT_TRUE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
    EXPECT_EQ(Texts(), (QStringList{u"表題を指定して下さい"_qs, kSame, Changed()}));
    EXPECT_EQ(prompter.calls[2].buttons, Prompter::Buttons::YesNoCancel);
    // The other user's version stays; ours is a new page beside it.
    EXPECT_EQ(Stored(1000), QByteArray("\x01\x02"));
    EXPECT_EQ(Count(u"msDoc"_qs, u"szDoc = '五月一日'"_qs), 2);
    EXPECT_EQ(Count(u"tbTree"_qs, u"noLfP = 999 And noLfC = 1001"_qs), 1);
    EXPECT_TRUE(
        Value(u"Select txDoc From msDoc Where noDoc = 1001"_qs).toString().contains(u"追記"_qs));
    EXPECT_EQ(aStatus, QStringList{u"日誌 / 五月一日 を追加しました"_qs});
}

TEST_F(SharedTest, ChangedSinceImportOverwrittenOnYesUntouchedOnCancel) {
    ImportedThenChangedElsewhere();
    prompter.answerInput(QStringLiteral("五月一日"));
    prompter.answerMessage(Prompter::Answer::Yes);
    prompter.answerMessage(Prompter::Answer::Cancel);
    EXPECT_FALSE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
    EXPECT_EQ(Stored(1000), QByteArray("\x01\x02"));
    EXPECT_EQ(Count(u"msDoc"_qs), 2);

    prompter.answerInput(QStringLiteral("五月一日"));
    prompter.answerMessage(Prompter::Answer::Yes);
    prompter.answerMessage(Prompter::Answer::Yes);
    ASSERT_TRUE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
    EXPECT_NE(Stored(1000), QByteArray("\x01\x02"));
    EXPECT_EQ(Count(u"msDoc"_qs), 2);
    EXPECT_EQ(aStatus.last(), u"日誌 / 五月一日 を更新しました"_qs);
    // Filed again from here: the stored version is ours, nothing to ask.
    prompter.calls.clear();
    prompter.answerInput(QStringLiteral("五月一日"));
    prompter.answerMessage(Prompter::Answer::Yes);
    ASSERT_TRUE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
    EXPECT_EQ(Texts(), (QStringList{u"表題を指定して下さい"_qs, kSame}));
}

// Not changed by anyone since the import: only the same-title question.
TEST_F(SharedTest, UnchangedSinceImportAsksOnlyTheSameTitleQuestion) {
    CodePage(999, QStringLiteral("日誌"));
    Type(QStringLiteral("最初の本文"));
    prompter.answerInput(QStringLiteral("五月一日"));
    ASSERT_TRUE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
    const DbPage::Page p = DbPage::Read(1000);
    ed->SetDcEdt(false);
    ASSERT_TRUE(store->PutPage(p.sSz, p.yDoc, false, false));
    Type(QStringLiteral("追記"));
    prompter.calls.clear();
    prompter.answerInput(QStringLiteral("五月一日"));
    prompter.answerMessage(Prompter::Answer::Yes);
    ASSERT_TRUE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
    EXPECT_EQ(Texts(), (QStringList{u"表題を指定して下さい"_qs, kSame}));
    EXPECT_TRUE(
        Value(u"Select txDoc From msDoc Where noDoc = 1000"_qs).toString().contains(u"追記"_qs));
}

// While the user reads the same-title question, another user removes that
// page from the code page and files a new one of the same title: the
// question comes again, and Yes overwrites the page that is there now.
TEST_F(SharedTest, SameTitleFiledByAnotherUserMeanwhileIsAskedAgain) {
    CodePage(999, QStringLiteral("日誌"));
    Sql(u"Insert Into msDoc (noDoc, szDoc, txDoc) Values (1000, '五月一日', '一人目')"_qs);
    Sql(u"Insert Into tbTree (noLfP, noLfC, inSrt, szDoc) Values (999, 1000, 0, '五月一日')"_qs);
    Type(QStringLiteral("新しい本文"));
    {
        HookPrompter hook;
        hook.before = [&, done = false](const QString& text) mutable {
            if (done || text != kSame)
                return;
            done = true;
            Sql(u"Delete From tbTree Where noLfC = 1000"_qs);
            Sql(u"Insert Into msDoc (noDoc, szDoc, txDoc) Values (1001, '五月一日', '二人目')"_qs);
            Sql(u"Insert Into tbTree (noLfP, noLfC, inSrt, szDoc) Values (999, 1001, 1, '五月一日')"_qs);
        };
        hook.answerInput(QStringLiteral("五月一日"));
        hook.answerMessage(Prompter::Answer::Yes);
        hook.answerMessage(Prompter::Answer::Yes);
        ASSERT_TRUE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
        QStringList texts;
        for (const auto& c : hook.calls)
            texts << c.text;
        EXPECT_EQ(texts, (QStringList{u"表題を指定して下さい"_qs, kSame, kSame}));
    }
    Prompter::install(&prompter);
    EXPECT_EQ(Value(u"Select txDoc From msDoc Where noDoc = 1000"_qs).toString(), u"一人目"_qs);
    EXPECT_TRUE(Value(u"Select txDoc From msDoc Where noDoc = 1001"_qs)
                    .toString()
                    .contains(u"新しい本文"_qs));
    EXPECT_EQ(Count(u"msDoc"_qs), 3);
}

// "Ä" and "ä" are two pages to the database, so filing the imported "Ä"
// as "ä" is an overwrite of the other page, not of the imported one: only
// the same-title question, and "Ä" stays as it was.
TEST_F(SharedTest, TitlesDifferingInNonAsciiCaseAreTwoPages) {
    CodePage(999, QStringLiteral("日誌"));
    Type(QStringLiteral("大きい"));
    prompter.answerInput(QStringLiteral("Ä"));
    ASSERT_TRUE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
    Type(QStringLiteral("小さい"));
    prompter.answerInput(QStringLiteral("ä"));
    ASSERT_TRUE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
    ASSERT_EQ(Count(u"msDoc"_qs), 3);
    const DbPage::Page p = DbPage::Read(1000);
    ASSERT_TRUE(p.bOk);
    ASSERT_EQ(p.sSz, QStringLiteral("Ä"));
    ed->SetDcEdt(false);
    ASSERT_TRUE(store->PutPage(p.sSz, p.yDoc, false, false));
    const QByteArray upper = Stored(1000);
    Type(QStringLiteral("追記"));
    prompter.calls.clear();

    prompter.answerInput(QStringLiteral("ä"));
    prompter.answerMessage(Prompter::Answer::Yes);
    ASSERT_TRUE(store->SaveToCode(QStringLiteral("日誌"), QStringLiteral("999")));
    EXPECT_EQ(Texts(), (QStringList{u"表題を指定して下さい"_qs, kSame}));
    EXPECT_EQ(Stored(1000), upper);
    EXPECT_TRUE(
        Value(u"Select txDoc From msDoc Where noDoc = 1001"_qs).toString().contains(u"追記"_qs));
    EXPECT_EQ(Count(u"msDoc"_qs), 3);
}
