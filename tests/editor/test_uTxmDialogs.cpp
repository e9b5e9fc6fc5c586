// The formatting dialogs: font colour (62), and the engine's own font (61),
// paragraph (63) and list (64) dialogs, answered through the scripted
// prompter as a user fills them in.
#include "EditorFixture.h"
#include "TxFormatDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTextList>
#include <QToolButton>

namespace {
template <typename D> D& as(QDialog& d) {
    D* typed = dynamic_cast<D*>(&d);
    EXPECT_NE(typed, nullptr) << d.windowTitle().toStdString();
    return *typed;
}
} // namespace

TEST_F(EditorTest, FontColourDialog) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(QStringLiteral("colour me"));
    t.mTxt->SetSelStart(0);
    t.mTxt->SetSelLength(6);
    t.SetDcEdt(false);
    p.answerColor(std::nullopt); // Cancel changes nothing
    t.rtAct(62);
    EXPECT_EQ(p.calls.back().kind, QStringLiteral("color"));
    EXPECT_EQ(p.calls.back().title, QStringLiteral("文字色"));
    EXPECT_EQ(t.mTxt->ForeColor(), 0u);
    EXPECT_FALSE(t.bDcEdt());
    p.answerColor(QColor(10, 20, 200));
    t.rtAct(62);
    t.mTxt->SetSelStart(2);
    EXPECT_EQ(t.mTxt->ForeColor(), 10u + 20u * 256 + 200u * 65536);
    EXPECT_TRUE(t.bDcEdt());
}

TEST_F(EditorTest, FontDialogShowsAndSetsTheSelectionsLook) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(QStringLiteral("abc def"));
    t.mTxt->SetSelStart(0);
    t.mTxt->SetSelLength(3);
    t.mTxt->SetFontBold(true);
    t.SetDcEdt(false);
    // The user sets every field, then confirms or cancels.
    auto fill = [](bool confirm) {
        return [confirm](QDialog& d) {
            auto& f = as<TxFontDialog>(d);
            EXPECT_EQ(d.windowTitle(), QStringLiteral("フォント"));
            EXPECT_EQ(f.bold->text(), QStringLiteral("太字"));
            EXPECT_TRUE(f.bold->isChecked());
            EXPECT_EQ(f.size->value(), 10);
            f.bold->setChecked(false);
            f.italic->setChecked(true);
            f.underline->setChecked(true);
            f.strike->setChecked(true);
            f.size->setValue(18);
            f.name->setCurrentText(QStringLiteral("Noto Serif CJK JP"));
            if (confirm)
                f.color->click(); // the colour comes from the colour dialog
            return confirm;
        };
    };
    p.answerDialog(fill(false));
    t.rtAct(61);
    EXPECT_TRUE(t.mTxt->FontBold());
    EXPECT_FALSE(t.bDcEdt());

    p.answerDialog(fill(true));
    p.answerColor(QColor(0, 128, 0));
    t.rtAct(61);
    t.mTxt->SetSelStart(1);
    t.mTxt->SetSelLength(1);
    EXPECT_FALSE(t.mTxt->FontBold());
    EXPECT_TRUE(t.mTxt->FontItalic());
    EXPECT_TRUE(t.mTxt->FontUnderline());
    EXPECT_TRUE(t.mTxt->FontStrike());
    EXPECT_EQ(t.mTxt->FontSize(), 18);
    EXPECT_EQ(t.mTxt->FontName(), QStringLiteral("Noto Serif CJK JP"));
    EXPECT_EQ(t.mTxt->ForeColor(), 128u * 256);
    EXPECT_TRUE(t.bDcEdt());
    t.mTxt->SetSelStart(5); // outside the selection: untouched
    t.mTxt->SetSelLength(1);
    EXPECT_EQ(t.mTxt->FontSize(), 10);
}

TEST_F(EditorTest, ParagraphDialogSetsAlignmentIndentsAndSpacing) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(QStringLiteral("para"));
    t.mTxt->SetLeftIndent(200);
    t.SetDcEdt(false);
    p.answerDialog([](QDialog&) { return true; }); // OK without a change
    t.rtAct(63);
    EXPECT_FALSE(t.bDcEdt());
    p.answerDialog([](QDialog& d) {
        auto& g = as<TxParaDialog>(d);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("段落"));
        EXPECT_EQ(g.leftIndent->value(), 10); // 200 twips in points
        g.align->setCurrentIndex(1);
        g.leftIndent->setValue(20);
        g.rightIndent->setValue(5);
        g.firstLine->setValue(-10);
        g.spaceBefore->setValue(6);
        g.spaceAfter->setValue(3);
        g.lineSpacing->setValue(18);
        return true;
    });
    t.rtAct(63);
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_EQ(t.mTxt->ParaAttr0(), 1);
    EXPECT_EQ(t.mTxt->LeftIndent(), 400);
    EXPECT_EQ(t.mTxt->ParaValue(4), 100);
    EXPECT_EQ(t.mTxt->ParaValue(3), -200);
    EXPECT_EQ(t.mTxt->ParaValue(1), 120);
    EXPECT_EQ(t.mTxt->ParaValue(2), 60);
    EXPECT_EQ(t.mTxt->LineSpacing(), 360);
}

TEST_F(EditorTest, ListDialogMakesAndEndsListsWithLevels) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(QStringLiteral("one\ntwo\nthree"));
    t.mTxt->SetSelStart(0);
    t.mTxt->SetSelLength(7);
    p.answerDialog([](QDialog& d) {
        auto& l = as<TxListDialog>(d);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("箇条書きと段落番号"));
        EXPECT_EQ(l.kind->currentIndex(), 0);
        l.kind->setCurrentIndex(2); // numbering
        l.level->setValue(2);
        return true;
    });
    t.rtAct(64);
    t.mTxt->SetSelStart(5);
    EXPECT_EQ(t.mTxt->ListState(), 3);
    ASSERT_NE(t.mTxt->textCursor().currentList(), nullptr);
    EXPECT_EQ(t.mTxt->textCursor().currentList()->format().indent(), 2);
    EXPECT_EQ(t.mTxt->textCursor().currentList()->count(), 2);
    t.mTxt->SetSelStart(10);
    EXPECT_EQ(t.mTxt->ListState(), 1);
    EXPECT_TRUE(t.bDcEdt());

    // The level survives the Word format: read back, the dialog shows it.
    {
        QByteArray bytes;
        QString text, title;
        bool ok = false;
        t.GetData(bytes, text, title, ok);
        ASSERT_TRUE(ok);
        uTxm other;
        other.cOn(0, 1);
        other.SetData(bytes, ok, true);
        ASSERT_TRUE(ok);
        other.mTxt->SetSelStart(5);
        EXPECT_EQ(other.mTxt->ListState(), 3);
        p.answerDialog([](QDialog& d) {
            EXPECT_EQ(as<TxListDialog>(d).level->value(), 2);
            EXPECT_EQ(as<TxListDialog>(d).kind->currentIndex(), 2);
            return false;
        });
        other.rtAct(64);
        other.cOff();
    }

    // Bullets instead, then no list.
    t.mTxt->SetSelStart(1);
    p.answerDialog([](QDialog& d) {
        as<TxListDialog>(d).kind->setCurrentIndex(1);
        return true;
    });
    t.rtAct(64);
    t.mTxt->SetSelStart(1);
    EXPECT_EQ(t.mTxt->ListState(), 2);
    p.answerDialog([](QDialog& d) {
        auto& l = as<TxListDialog>(d);
        EXPECT_EQ(l.kind->currentIndex(), 1);
        EXPECT_EQ(l.level->value(), 2);
        l.kind->setCurrentIndex(0);
        return true;
    });
    t.rtAct(64);
    t.mTxt->SetSelStart(1);
    EXPECT_EQ(t.mTxt->ListState(), 1);
}
