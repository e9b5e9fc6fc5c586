// Label frames: the page split into bands, emptying and loading frames, the
// numbering preview and the fill phase by number.
#include "EditorFixture.h"

#include "TxDocument.h"
#include "TxLabelFrames.h"
#include "sbTvw.h"

#include <QFile>
#include <QImage>

namespace {

// A4 with 1440-twip margins, as the engine starts.
constexpr int kW = 11906, kH = 16838, kM = 1440;

} // namespace

TEST(LabelBands, SplitThePageIntoEqualBandsInsideTheirMargins) {
    const QList<QRect> two = TxLabel::Bands(kW, kH, kM, kM, kM, kM, 2);
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[0], QRect(kM, kM, kW - 2 * kM, kH / 2 - 2 * kM));
    EXPECT_EQ(two[1].top(), kH / 2 + kM);
    const QList<QRect> three = TxLabel::Bands(kW, kH, kM, kM, kM, kM, 3);
    ASSERT_EQ(three.size(), 3);
    EXPECT_EQ(three[2].top(), 2 * (kH / 3) + kM);
    EXPECT_LE(three[2].top() + three[2].height(), kH - kM);
    // Margins that leave a band no height, or the page no width, give none.
    EXPECT_TRUE(TxLabel::Bands(kW, kH, kM, 3000, kM, 3000, 3).isEmpty());
    EXPECT_TRUE(TxLabel::Bands(kW, kH, 6000, kM, 6000, kM, 2).isEmpty());

    EXPECT_EQ(TxLabel::IdAt(QStringLiteral("00003,00012"), 2), 12);
    EXPECT_EQ(TxLabel::IdAt(QStringLiteral("00003,00012"), 3), 0);
    EXPECT_EQ(TxLabel::IdAt(QString(), 1), 0);
}

TEST_F(EditorTest, SplitPageAsksOnlyWhenThePageHasText) {
    ScriptedPrompter prompter;
    uTxm& t = open();
    t.rtActTL(1); // empty page: no question
    EXPECT_TRUE(prompter.calls.isEmpty());
    ASSERT_EQ(t.mTxt->document2().frames.size(), 2u);
    EXPECT_TRUE(t.bDcEdt());

    // With text, Cancel leaves the page as it was.
    t.mTxt->SetText(QStringLiteral("keep me"));
    prompter.answerMessage(Prompter::Answer::Cancel);
    t.rtActTL(2);
    ASSERT_EQ(prompter.messages(), QStringList{QStringLiteral("文書は初期化されますが良いですか")});
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("keep me"));
    EXPECT_EQ(t.mTxt->document2().frames.size(), 2u);

    // OK empties it and lays three bands.
    prompter.answerMessage(Prompter::Answer::Ok);
    t.rtActTL(2);
    EXPECT_TRUE(t.mTxt->Text().isEmpty());
    ASSERT_EQ(t.mTxt->document2().frames.size(), 3u);
    EXPECT_EQ(t.mTxt->document2().frames[1]->y, t.mTxt->PageHeight() / 3 + t.mTxt->MarginTop());

    // Margins too large for three bands: refused before anything is asked
    // or emptied.
    t.mTxt->SetMarginTop(3000);
    t.mTxt->SetMarginBottom(3000);
    t.rtActTL(2);
    EXPECT_EQ(prompter.messages().size(), 3);
    EXPECT_EQ(t.mTxt->document2().frames.size(), 3u);
}

TEST_F(EditorTest, FrameCommandsEmptyAndLoadTheFramesOnly) {
    ScriptedPrompter prompter;
    uTxm& t = open();
    t.rtActTL(1);
    TxEngine* e = t.mTxt;
    const int first = e->NextTextFrame(0);
    const int second = e->NextTextFrame(first);
    for (int id : {first, second}) {
        e->TextFrameSelect(id);
        e->SetText(QStringLiteral("frame %1").arg(id));
    }
    e->TextFrameSelect(0);
    e->SetText(QStringLiteral("main"));

    // Editing the second frame; 4 empties it alone.
    e->TextFrameSelect(second);
    EXPECT_EQ(t.iTf, second);
    bool inTf = false;
    t.ChkJbMn6(inTf);
    EXPECT_TRUE(inTf);
    t.rtActTL(4);
    EXPECT_TRUE(e->Text().isEmpty());
    e->TextFrameSelect(first);
    EXPECT_EQ(e->Text(), QStringLiteral("frame %1").arg(first));

    // 8 loads one file into every frame; the main text, the file name and
    // the frame being edited stay.
    const QString file = dir + QStringLiteral("/label.doc");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(docBytes(QStringLiteral("Addressee")));
    f.close();
    t.sFlNm = QStringLiteral("/tmp/sheet.doc");
    prompter.answerOpenFile(file);
    t.rtActTL(8);
    EXPECT_EQ(t.iTf, first);
    EXPECT_EQ(e->TextFrameActive(), first);
    EXPECT_EQ(t.sFlNm, QStringLiteral("/tmp/sheet.doc"));
    EXPECT_TRUE(t.bDcEdt());
    for (int id : {first, second}) {
        e->TextFrameSelect(id);
        EXPECT_TRUE(e->Text().startsWith(QStringLiteral("Addressee"))) << e->Text().toStdString();
    }
    e->TextFrameSelect(0);
    EXPECT_EQ(t.iTf, 0);
    EXPECT_EQ(e->Text(), QStringLiteral("main"));

    // 7 empties every frame; 4 without a frame being edited does nothing.
    t.rtActTL(7);
    for (int id : {first, second}) {
        e->TextFrameSelect(id);
        EXPECT_TRUE(e->Text().isEmpty());
    }
    e->TextFrameSelect(0);
    t.rtActTL(4);
    EXPECT_EQ(e->Text(), QStringLiteral("main"));

    // 6 loads a file into the frame being edited, 5 saves that frame alone;
    // neither is a save or load of the document.
    e->TextFrameSelect(second);
    t.SetDcEdt(false);
    prompter.answerOpenFile(file);
    t.rtActTL(6);
    EXPECT_TRUE(e->Text().startsWith(QStringLiteral("Addressee")));
    EXPECT_TRUE(t.bDcEdt());
    const QString saved = dir + QStringLiteral("/frame.txt");
    prompter.answerSaveFile(saved);
    t.rtActTL(5);
    EXPECT_EQ(QString::fromUtf8(TestEnv::readFile(saved)).trimmed(), QStringLiteral("Addressee"));
    EXPECT_EQ(t.sFlNm, QStringLiteral("/tmp/sheet.doc"));
    EXPECT_TRUE(t.bDcEdt());
}

TEST_F(EditorTest, FillPhaseAndPreviewNumberFramesFieldsAndTables) {
    ScriptedPrompter prompter;
    uTxm& t = open();
    TxEngine* e = t.mTxt;
    // Main text: a link marker, a data field and a table; two frames, the
    // second holding a table.
    e->SetText(QStringLiteral("To: "));
    e->SetSelStart(4);
    int link = e->FieldInsert(QStringLiteral("site"));
    e->SetFieldType(link, 1);
    e->SetFieldTarget(link, QStringLiteral("LK_http://example.com"));
    e->SetSelStart(int(e->Text().size()));
    e->SetSelText(QStringLiteral(" "));
    int data = e->FieldInsert(QStringLiteral("[FD]"));
    e->SetFieldType(data, 1);
    e->SetFieldTarget(data, QStringLiteral("@"));
    e->SetSelStart(int(e->Text().size()));
    e->SetSelText(QStringLiteral("\n"));
    ASSERT_TRUE(e->TableInsert(2, 2));
    const int f1 = e->TextFrameInsert(2000, 2000, 3000, 1500);
    const int f2 = e->TextFrameInsert(2000, 5000, 3000, 1500);
    e->TextFrameSelect(f2);
    ASSERT_TRUE(e->TableInsert(1, 3));
    e->TextFrameSelect(0);

    // The preview numbers a copy: the document shown keeps its captions.
    TxEngine* shown = nullptr;
    QString fieldsShown, framesShown;
    t.ShowPages = [&](TxEngine& copy, const QString&) {
        shown = &copy;
        copy.SetCurField(copy.NextField(1, copy.NextField(1, 0)));
        fieldsShown = copy.FieldText();
        copy.TextFrameSelect(copy.NextTextFrame(copy.NextTextFrame(0)));
        framesShown = copy.Text();
    };
    t.rtActTL(0);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(fieldsShown, QStringLiteral("FD:2")); // the link is field 1
    EXPECT_EQ(framesShown, QStringLiteral("TF:2"));
    e->SetCurField(data);
    EXPECT_EQ(e->FieldText(), QStringLiteral("[FD]"));
    // Without a stand-in the page view shows the copy.
    t.ShowPages = nullptr;
    int pages = 0;
    prompter.answerDialog([&pages](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("ﾍﾟｰｼﾞﾋﾞｭｰ"));
        pages = static_cast<sbTvw&>(d).PageCnt();
        return false;
    });
    t.rtActTL(0);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(e->FieldText(), QStringLiteral("[FD]"));

    t.T_Start(QStringLiteral("/tmp/back.png"));
    EXPECT_EQ(t.sTvImg, QStringLiteral("/tmp/back.png"));
    EXPECT_EQ(t.iTf, -1);
    EXPECT_EQ(t.sFrLst,
              QStringLiteral("%1,%2").arg(f1, 5, 10, QChar(u'0')).arg(f2, 5, 10, QChar(u'0')));
    EXPECT_EQ(t.sFdLst, QStringLiteral("%1,%2").arg(link).arg(data));
    ASSERT_EQ(t.aTbLst.size(), 2);

    EXPECT_TRUE(t.T_TxFdTx(2, QStringLiteral("Ms Sato")));
    t.TvCelVL(1, 2, 2, QStringLiteral("main cell"));
    t.TvCelVL(2, 1, 3, QStringLiteral("frame cell"));
    EXPECT_EQ(t.TvCelVL(2, 1, 3), QStringLiteral("frame cell"));
    EXPECT_EQ(t.TvCelVL(1, 2, 2), QStringLiteral("main cell"));
    EXPECT_EQ(t.TvCelVL(3, 1, 1), QString()); // no third table
    EXPECT_TRUE(t.T_TxFrDt(1, docBytes(QStringLiteral("Frame one"))));
    EXPECT_FALSE(t.T_TxFrDt(3, docBytes(QStringLiteral("none"))));
    EXPECT_FALSE(t.T_TxFdTx(3, QStringLiteral("none")));
    t.T_End();
    EXPECT_EQ(t.iTf, 0);
    EXPECT_EQ(e->TextFrameActive(), 0);
    EXPECT_EQ(e->SelStart(), int(e->Text().size()));
    EXPECT_TRUE(e->Text().startsWith(QStringLiteral("To: site Ms Sato")));
    e->TextFrameSelect(f1);
    EXPECT_TRUE(e->Text().startsWith(QStringLiteral("Frame one")));
    e->TextFrameSelect(0);

    // A data field replaced by a picture: its caption goes, the picture is
    // kept in the document, and a paragraph break ends the text.
    const QString png = dir + QStringLiteral("/stamp.png");
    QImage stamp(40, 20, QImage::Format_RGB32);
    stamp.fill(Qt::red);
    ASSERT_TRUE(stamp.save(png));
    t.T_Start(QString());
    ASSERT_TRUE(t.T_TxFdPc(2, png));
    t.T_End();
    e->SetCurField(data);
    EXPECT_EQ(e->FieldText(), QString());
    const int image = e->NextImage(0);
    ASSERT_NE(image, 0);
    e->SetCurObject(image);
    EXPECT_EQ(e->ObjectLayout(), 1);
    EXPECT_TRUE(e->Text().endsWith(QChar(10)));
}
