// The label layout: fitting a layout to the page, its listed line and the
// stored list, the frames of a sheet, the dialog over an editor, and a
// filled sheet of twelve addresses as PDF with each text inside its label.
#include "LabelLayout.h"
#include "PrnRecord.h"
#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "TxDocument.h"
#include "TxEngine.h"
#include "Usr.h"
#include "sbInsLb.h"
#include "sbTvw.h"
#include "uTxm.h"
#include "yIni.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <memory>

using namespace LabelLayout;

namespace {

// An A4 page with 20 mm margins all round, as the editor gives it in twips.
Page a4() {
    return Page::FromTwips(1134, 1134, 1134, 1134, 11906, 16838);
}

// A page whose sizes are whole millimetres at 56.7 twips each.
Page pageMm(double w, double h, double margin) {
    auto tw = [](double mm) { return int(std::lround(mm * kTwipsPerMm)); };
    return Page::FromTwips(tw(margin), tw(margin), tw(margin), tw(margin), tw(w), tw(h));
}

void resetSettings() {
    yIni& ini = settings();
    ini.sXml = yIni::MakeTag(0, QString::fromUtf16(kIniRoot), QStringLiteral("\r\n"));
    ini.sXmlPh.clear();
}

void storeLine(int n, const QString& line) {
    yIni& ini = settings();
    ini.GetGtx(QStringLiteral("LABEL"));
    ini.SetVal(QStringLiteral("LB_%1").arg(n), line);
    ini.SetGtx();
}

} // namespace

TEST(LabelLayout, DefaultsOnA4AskToKeepTheSmallerSize) {
    const Fields f;
    const Fit fit = FitToPage(f, a4());
    EXPECT_DOUBLE_EQ(fit.Wc, 53.3);
    EXPECT_DOUBLE_EQ(fit.Hc, 47.4);
    EXPECT_EQ(fit.ask, Fit::Ask::Smaller);
    EXPECT_EQ(fit.question,
              QStringLiteral("ﾗﾍﾞﾙの巾(50と高さ(40)は、\r印字域・行数・列数と間隔から計算した巾(53."
                             "3)・高さ(47.4)より小さいですが\rこのままで良いですか"));
    // Yes keeps 50 x 40; the sheet margins equal the page margins, so no
    // notice.
    const Fields kept = Adjusted(f, fit, true);
    EXPECT_EQ(kept, f);
    EXPECT_FALSE(NeedsNotice(f, kept));
    EXPECT_EQ(Line(kept),
              QStringLiteral("【15面】 5行 * 3列 左20.0 上20.0 巾50.0(5.0) 高40.0(5.0)"));
    // No takes the computed size, which the notice reports.
    const Fields computed = Adjusted(f, fit, false);
    EXPECT_DOUBLE_EQ(computed.W, 53.3);
    EXPECT_DOUBLE_EQ(computed.H, 47.4);
    EXPECT_TRUE(NeedsNotice(f, computed));
}

TEST(LabelLayout, LargerLabelsAskToChangeAndEqualOnesAskNothing) {
    Fields f;
    f.W = 60;
    f.H = 62.5;
    const Fit fit = FitToPage(f, a4());
    EXPECT_EQ(fit.ask, Fit::Ask::Larger);
    EXPECT_TRUE(fit.question.startsWith(QStringLiteral("ﾗﾍﾞﾙの巾(60と高さ(62.5)は、\r")));
    EXPECT_TRUE(fit.question.endsWith(
        QStringLiteral(")より大きいです\r現在のプリンタの印字域に収まりませんが、変更しますか")));
    EXPECT_DOUBLE_EQ(Adjusted(f, fit, true).W, 53.3);
    EXPECT_DOUBLE_EQ(Adjusted(f, fit, false).W, 60);

    // 170 mm of text width in two columns 10 mm apart: 80 mm each.
    Fields exact;
    exact.C = 2;
    exact.Sx = 10;
    exact.W = 80;
    exact.R = 1;
    exact.H = 257;
    EXPECT_EQ(FitToPage(exact, pageMm(210, 297, 20)).ask, Fit::Ask::Nothing);
}

TEST(LabelLayout, SheetMarginInsidePageMarginIsRaisedWithNotice) {
    const Page p = pageMm(210, 297, 30);
    Fields f;
    f.L = 20;
    f.T = 10;
    const Fit fit = FitToPage(f, p);
    const Fields listed = Adjusted(f, fit, true);
    EXPECT_DOUBLE_EQ(listed.L, 30);
    EXPECT_DOUBLE_EQ(listed.T, 30);
    EXPECT_TRUE(NeedsNotice(f, listed));
    EXPECT_TRUE(Line(listed).contains(QStringLiteral("左30.0 上30.0")));
    EXPECT_EQ(Notice(p),
              QStringLiteral("現在の頁指定 左余白= 30.0mm 上余白= 30.0mm \r右余白= 30.0mm "
                             "下余白= 30.0mm 頁巾= 210.0mm 頁高= 297.0mm\rの中に納まるよ"
                             "うに調整されました"));
}

TEST(LabelLayout, LinesKeepTheirColumnsAndReadBack) {
    Fields f;
    f.R = 10;
    f.C = 12;
    f.L = 7.25;
    f.W = 12.3;
    const QString line = Line(f);
    // The count keeps its last two digits; every piece stays in its column.
    EXPECT_EQ(line, QStringLiteral("【20面】10行 *12列 左 7.3 上20.0 巾12.3(5.0) 高40.0(5.0)"));
    EXPECT_EQ(line.mid(32, 3), QStringLiteral("5.0"));
    EXPECT_EQ(line.mid(38, 4), QStringLiteral("40.0"));
    const std::optional<Fields> back = ParseLine(line);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->R, 10);
    EXPECT_EQ(back->C, 12);
    EXPECT_DOUBLE_EQ(back->L, 7.3);
    EXPECT_DOUBLE_EQ(back->H, 40);

    // Gaps of 10 mm and more, and measures of 100 mm and more, do not fit
    // the columns; they still read back.
    Fields wide;
    wide.Sx = 12.5;
    wide.Sy = 10;
    wide.W = 150;
    wide.H = 100.5;
    wide.R = 2;
    wide.C = 1;
    EXPECT_EQ(ParseLine(Line(wide)), wide);

    // A line whose pieces are not in the usual form is read by its columns.
    const std::optional<Fields> fixed =
        ParseLine(QStringLiteral("【 6面】 3行 * 2列 左15.5 上 9.0 巾88.0(2.5)_高44.0(0.0)"));
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->R, 3);
    EXPECT_EQ(fixed->C, 2);
    EXPECT_DOUBLE_EQ(fixed->L, 15.5);
    EXPECT_DOUBLE_EQ(fixed->T, 9);
    EXPECT_DOUBLE_EQ(fixed->W, 88);
    EXPECT_DOUBLE_EQ(fixed->Sx, 2.5);
    EXPECT_DOUBLE_EQ(fixed->H, 44);
    EXPECT_DOUBLE_EQ(fixed->Sy, 0);
    EXPECT_FALSE(ParseLine(QStringLiteral("not a layout")));
}

TEST(LabelLayout, FieldsThatCannotBeLaidOutAreRefused) {
    auto check = [](auto change) {
        Fields f;
        change(f);
        return Check(f);
    };
    EXPECT_EQ(check([](Fields&) {}), Field::None);
    EXPECT_EQ(check([](Fields& f) {
                  f.W = 301;
                  f.H = 400;
              }),
              Field::Wd);
    EXPECT_EQ(check([](Fields& f) { f.Sy = 300.5; }), Field::Vrt);
    EXPECT_EQ(check([](Fields& f) { f.H = 0; }), Field::Hi);
    EXPECT_EQ(check([](Fields& f) { f.L = -1; }), Field::Lft);
    EXPECT_EQ(check([](Fields& f) { f.Sx = -0.5; }), Field::Hrz);
    EXPECT_EQ(check([](Fields& f) {
                  f.T = 0;
                  f.Sx = 0;
              }),
              Field::None);
    EXPECT_EQ(check([](Fields& f) { f.R = 0; }), Field::Rws);
    EXPECT_EQ(check([](Fields& f) { f.C = -3; }), Field::Cls);
    EXPECT_EQ(check([](Fields& f) { f.R = 100; }), Field::Rws);

    EXPECT_DOUBLE_EQ(NumberOf(QStringLiteral(" １２．５mm")), 12.5);
    EXPECT_DOUBLE_EQ(NumberOf(QStringLiteral("abc")), 0);
    EXPECT_DOUBLE_EQ(NumberOf(QStringLiteral("-3")), -3);
}

TEST(LabelLayout, SheetIsClippedToThePrintableArea) {
    // Four 70 mm columns 5 mm apart from the page margin: the third one is
    // cut at the right margin, the fourth lies wholly outside and is left out.
    const Page p = pageMm(210, 297, 20);
    Fields f;
    f.R = 2;
    f.C = 4;
    f.W = 70;
    f.H = 30;
    const Sheet s = Arrange(f, p);
    ASSERT_EQ(s.frames.size(), 6);
    EXPECT_TRUE(s.adjusted);
    EXPECT_EQ(s.skipped, 2);
    auto tw = [](double mm) { return int(std::lround(mm * kTwipsPerMm)); };
    EXPECT_EQ(s.frames[0], (LabelLayout::Frame{0, 0, tw(70), tw(30)}));
    EXPECT_EQ(s.frames[1], (LabelLayout::Frame{tw(75), 0, tw(70), tw(30)}));
    EXPECT_EQ(s.frames[2], (LabelLayout::Frame{tw(150), 0, tw(20), tw(30)}));
    EXPECT_EQ(s.frames[3], (LabelLayout::Frame{0, tw(35), tw(70), tw(30)}));

    // A sheet margin inside the page margin cuts the first row and column.
    f.C = 2;
    f.L = 10;
    f.T = 15;
    const Sheet cut = Arrange(f, p);
    ASSERT_EQ(cut.frames.size(), 4);
    EXPECT_TRUE(cut.adjusted);
    EXPECT_EQ(cut.frames[0], (LabelLayout::Frame{0, 0, tw(60), tw(25)}));
    EXPECT_EQ(cut.frames[3], (LabelLayout::Frame{tw(65), tw(30), tw(70), tw(30)}));

    // A grid inside the area is not adjusted.
    Fields inside;
    EXPECT_FALSE(Arrange(inside, a4()).adjusted);
    EXPECT_EQ(Arrange(inside, a4()).frames.size(), 15);
}

TEST(LabelLayout, ListReadsKeysOneToTwentySorted) {
    resetSettings();
    for (int n = 1; n <= 22; ++n)
        storeLine(n, n == 5 ? QString() : QStringLiteral("L%1").arg(n, 2, 10, QChar(u'0')));
    yIni& ini = settings();
    const QStringList lines = LoadList(ini);
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines.first(), QStringLiteral("L01"));
    EXPECT_EQ(lines.last(), QStringLiteral("L20"));
    EXPECT_FALSE(lines.contains(QStringLiteral("L21")));

    // Written back in list order; keys no line fills are emptied, so the
    // old lines do not come back.
    SaveList(ini, {QStringLiteral("b"), QStringLiteral("a")});
    EXPECT_EQ(LoadList(ini), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    ini.GetGtx(QStringLiteral("LABEL"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("LB_1"), QString()), QStringLiteral("b"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("LB_3"), QString()), QString());
}

// ------------------------------------------------------------ the dialog

class LabelDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = TestEnv::freshDir(QStringLiteral("labels"));
        Usr::sUsrFd = dir + QStringLiteral("/usr/");
        Usr::sWrkFd = Usr::sUsrFd + QStringLiteral("Wrk/");
        QDir().mkpath(Usr::sWrkFd);
        resetSettings();
        ed = std::make_unique<uTxm>();
        ed->resize(900, 600);
        ed->show();
        ed->cOn(0, 1);
        TxEngine* e = ed->mTxt;
        e->SetPageWidth(11906);
        e->SetPageHeight(16838);
        for (auto set : {&TxEngine::SetMarginLeft, &TxEngine::SetMarginTop,
                         &TxEngine::SetMarginRight, &TxEngine::SetMarginBottom})
            (e->*set)(1134);
    }
    void TearDown() override {
        ed->SetDcEdt(false);
        ed->cOff();
        ed.reset();
    }
    // Runs the dialog; `fill` works it as the user would.
    int run(std::function<void(sbInsLb&)> fill, QString* msg = nullptr) {
        prompter.answerDialog([fill](QDialog& d) {
            fill(static_cast<sbInsLb&>(d));
            return d.result() == QDialog::Accepted;
        });
        sbInsLb dlg;
        QString sMsg;
        const int n = dlg.Act(ed.get(), sMsg);
        if (msg)
            *msg = sMsg;
        return n;
    }
    ScriptedPrompter prompter;
    QString dir;
    std::unique_ptr<uTxm> ed;
};

TEST_F(LabelDialogTest, DefaultLayoutIsAddedAfterItsQuestionAndStored) {
    prompter.answerMessage(Prompter::Answer::Yes); // keep the smaller 50 x 40
    run([](sbInsLb& d) {
        EXPECT_EQ(d.txWd->text(), QStringLiteral("50"));
        EXPECT_EQ(d.txCls->text(), QStringLiteral("3"));
        d.cmRet[0]->click();
        d.cmOk[1]->click();
    });
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].endsWith(QStringLiteral("このままで良いですか")));
    yIni& ini = settings();
    EXPECT_EQ(LoadList(ini), QStringList{QStringLiteral(
                                 "【15面】 5行 * 3列 左20.0 上20.0 巾50.0(5.0) 高40.0(5.0)")});
    EXPECT_EQ(ed->mTxt->NextTextFrame(0), 0); // cancelled: nothing laid out

    // Opened again, the stored line is selected and fills the fields; a
    // replace with a sheet margin inside the page margin shows the notice.
    prompter.answerMessage(Prompter::Answer::Yes);
    prompter.answerMessage(Prompter::Answer::Ok);
    run([](sbInsLb& d) {
        ASSERT_EQ(d.List1->count(), 1);
        EXPECT_EQ(d.List1->currentRow(), 0);
        d.txLft->setText(QStringLiteral("8"));
        d.cmRet[1]->click();
        d.cmOk[1]->click();
    });
    ASSERT_EQ(prompter.messages().size(), 3);
    EXPECT_TRUE(prompter.messages()[2].startsWith(QStringLiteral("現在の頁指定 左余白= 20.0mm")));
    EXPECT_EQ(LoadList(ini), QStringList{QStringLiteral(
                                 "【15面】 5行 * 3列 左20.0 上20.0 巾50.0(5.0) 高40.0(5.0)")});
}

TEST_F(LabelDialogTest, RefusedFieldsKeepTheDialogOpenWithTheFieldFocused) {
    ed->SetText(QStringLiteral("old text"));
    const int n = run([](sbInsLb& d) {
        d.show();
        for (QLineEdit* bad : {d.txRws, d.txCls, d.txHrz, d.txWd}) {
            const QString keep = bad->text();
            bad->setText(bad == d.txRws ? QStringLiteral("0") : QStringLiteral("-2"));
            d.cmOk[0]->click();
            EXPECT_EQ(d.result(), QDialog::Rejected);
            EXPECT_EQ(d.focusWidget(), bad);
            EXPECT_EQ(bad->selectedText(), bad->text());
            EXPECT_FALSE(d.lbHint->text().isEmpty());
            bad->setText(keep);
        }
        d.txHi->setText(QStringLiteral("301"));
        d.cmRet[0]->click(); // refused before any question
        EXPECT_EQ(d.List1->count(), 0);
        // Forty columns 5 mm apart leave no width for a label: told, and
        // nothing is listed.
        d.txHi->setText(QStringLiteral("40"));
        d.txCls->setText(QStringLiteral("40"));
        d.cmRet[0]->click();
        EXPECT_EQ(d.List1->count(), 0);
        EXPECT_EQ(d.focusWidget(), d.txCls);
        d.cmOk[1]->click();
    });
    EXPECT_EQ(n, 0);
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("行数・列数と間隔が印字域に収まりません")});
    EXPECT_TRUE(ed->mTxt->Text().isEmpty()); // the dialog empties the page
}

TEST_F(LabelDialogTest, WideGridIsClippedAtTheRightEdgeWithTheNotice) {
    QString msg;
    const int n = run(
        [](sbInsLb& d) {
            d.txWd->setText(QStringLiteral("70"));
            d.txHi->setText(QStringLiteral("30"));
            d.txRws->setText(QStringLiteral("2"));
            d.txCls->setText(QStringLiteral("4"));
            d.cmOk[0]->click();
        },
        &msg);
    EXPECT_EQ(n, 6); // the fourth column lies outside the printable area
    EXPECT_TRUE(msg.startsWith(QStringLiteral("現在の頁指定 左余白= 20.0mm")));
    EXPECT_TRUE(msg.endsWith(QStringLiteral("の中に納まるように調整されました")));
    EXPECT_TRUE(ed->bDcEdt());
    const TxDocument& doc = ed->mTxt->document2();
    ASSERT_EQ(doc.frames.size(), 6u);
    // Page positions: the text area's corner plus the label's place.
    EXPECT_EQ(doc.frames[0]->x, 1134);
    EXPECT_EQ(doc.frames[0]->y, 1134);
    EXPECT_EQ(doc.frames[2]->x, 1134 + int(std::lround(150 * kTwipsPerMm)));
    EXPECT_LT(doc.frames[2]->x + doc.frames[2]->width, 11906 - 1134 + 2);
    EXPECT_EQ(doc.frames[3]->y, 1134 + int(std::lround(35 * kTwipsPerMm)));

    // A grid that fits returns no notice.
    EXPECT_EQ(run([](sbInsLb& d) { d.cmOk[0]->click(); }, &msg), 15);
    EXPECT_EQ(msg, QString());
    EXPECT_EQ(ed->mTxt->document2().frames.size(), 15u);
}

TEST_F(LabelDialogTest, FullListTakesNoFurtherLineButAReplacement) {
    for (int n = 1; n <= kMaxLines; ++n)
        storeLine(
            n,
            QStringLiteral("【 1面】 1行 * 1列 左20.0 上20.0 巾50.0(5.0) 高%1.0(5.0)").arg(n + 9));
    prompter.answerMessage(Prompter::Answer::Ok); // the list is full
    prompter.answerMessage(Prompter::Answer::Yes);
    run([](sbInsLb& d) {
        ASSERT_EQ(d.List1->count(), kMaxLines);
        d.List1->setCurrentRow(-1);
        d.cmRet[0]->click();
        EXPECT_EQ(d.List1->count(), kMaxLines);
        d.List1->setCurrentRow(0);
        d.txHi->setText(QStringLiteral("40"));
        d.cmRet[1]->click(); // replaces the first line
        EXPECT_EQ(d.List1->count(), kMaxLines);
        d.cmOk[1]->click();
    });
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_TRUE(prompter.messages()[0].startsWith(QStringLiteral("ﾚｲｱｳﾄは20件まで")));
    const QStringList stored = LoadList(settings());
    EXPECT_EQ(stored.size(), kMaxLines);
    EXPECT_TRUE(stored.contains(
        QStringLiteral("【 1面】 1行 * 1列 左20.0 上20.0 巾50.0(5.0) 高40.0(5.0)")));
    EXPECT_FALSE(stored.contains(
        QStringLiteral("【 1面】 1行 * 1列 左20.0 上20.0 巾50.0(5.0) 高10.0(5.0)")));
}

// ------------------------------------------------------------ printed sheet

namespace {

QByteArray wordBytes(const QString& text) {
    TxEngine e;
    e.SetText(text);
    bool ok = false;
    const QByteArray bytes = e.SaveBytes(TxEngine::FmtDoc, 0, &ok);
    EXPECT_TRUE(ok) << e.LastError().toStdString();
    return bytes;
}

} // namespace

TEST_F(LabelDialogTest, SheetOfTwelveAddressesPrintsEachInsideItsLabel) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "poppler-utils (pdftotext) not installed";
    const int n = run([](sbInsLb& d) {
        d.txRws->setText(QStringLiteral("4"));
        d.txCls->setText(QStringLiteral("3"));
        d.txHi->setText(QStringLiteral("50"));
        d.cmOk[0]->click();
    });
    ASSERT_EQ(n, 12);
    ed->T_Start(QString());
    for (int i = 1; i <= 12; ++i)
        ASSERT_TRUE(ed->T_TxFrDt(i, wordBytes(QStringLiteral("Name%1 Street%1\nTown%1").arg(i))));
    ed->T_End();

    // Written as PDF by the engine, and printed through the page view's
    // print path onto a PDF printer.
    const QString pdf = dir + QStringLiteral("/sheet.pdf");
    QString error;
    ASSERT_TRUE(ed->mTxt->SavePdf(pdf, &error)) << error.toStdString();
    const QString printed = dir + QStringLiteral("/printed.pdf");
    const QString settingsFile = dir + QStringLiteral("/labels.prndt");
    PrnRecord rec;
    rec.outputFile = printed;
    rec.mask = PrnRecord::MPaperSize | PrnRecord::MOrientation;
    rec.paperSize = 9;
    ASSERT_TRUE(rec.save(settingsFile));
    // The print path paints the control characters the editor shows (the
    // engine's own PDF does not); hidden here, the words read as typed.
    ed->mTxt->SetShowCtrlChars(false);
    ASSERT_EQ(sbTvw::Instance().cPrint(ed->mTxt, true, settingsFile), 1);

    const TxDocument& doc = ed->mTxt->document2();
    ASSERT_EQ(doc.frames.size(), 12u);
    for (const QString& file : {pdf, printed}) {
        SCOPED_TRACE(file.toStdString());
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString boxes = QString::fromUtf8(p.readAllStandardOutput());
        for (int i = 1; i <= 12; ++i) {
            const TxFrame& fr = *doc.frames[i - 1];
            const QRectF label(fr.x / 20.0, fr.y / 20.0, fr.width / 20.0,
                               fr.height / 20.0); // points
            for (const QString& word :
                 {QStringLiteral("Name%1").arg(i), QStringLiteral("Street%1").arg(i),
                  QStringLiteral("Town%1").arg(i)}) {
                const QRegularExpression re(
                    QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                   "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">%1<")
                        .arg(word));
                const QRegularExpressionMatch m = re.match(boxes);
                ASSERT_TRUE(m.hasMatch()) << word.toStdString();
                const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                 QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
                EXPECT_TRUE(label.adjusted(-0.5, -0.5, 0.5, 0.5).contains(box))
                    << word.toStdString() << " at " << box.x() << "," << box.y() << " label "
                    << label.x() << "," << label.y() << " " << label.width() << "x"
                    << label.height();
            }
        }
    }
}
