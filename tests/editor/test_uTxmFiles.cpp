// The editor's external-file commands: the dialogs and their filters, the
// kept copy proposed when opening, inserting a text file, save as by
// extension, paste of text and pictures, pictures from files and metafiles,
// and deleting a picture with its link.
#include "../pictures/Metafiles.h"
#include "Converter.h"
#include "Document.h"
#include "EditorFixture.h"
#include "ModelBridge.h"
#include "Pictures.h"
#include "TxDocument.h"
#include "TxFiles.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDateTime>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void setModified(const QString& path, const QDateTime& when) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
}

// Every picture of the main text, in order (those inside fields too).
void collect(const std::vector<model::Inline>& content, std::vector<model::Picture>& out) {
    for (const model::Inline& in : content) {
        if (in.kind == model::Inline::Kind::Picture)
            out.push_back(in.picture);
        else if (in.kind == model::Inline::Kind::Field)
            collect(in.field.result, out);
    }
}
std::vector<model::Picture> picturesOf(TxEngine& e) {
    const model::Document doc = bridge::fromEngine(e.document2());
    std::vector<model::Picture> out;
    for (const model::Section& s : doc.sections)
        for (const model::Block& b : s.blocks)
            if (b.kind == model::Block::Kind::Paragraph)
                collect(b.paragraph.content, out);
    return out;
}

QImage filled(int w, int h, QImage::Format fmt) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(qRgb(20, 90, 200));
    return img.convertToFormat(fmt);
}

// Bits per pixel of a BMP file (the field of its information header).
int bmpBits(const QByteArray& bmp) {
    return bmp.size() > 30 ? qFromLittleEndian<quint16>(bmp.constData() + 28) : 0;
}

void putOnClipboard(QMimeData* md) {
    QApplication::clipboard()->setMimeData(md);
}

} // namespace

// ------------------------------------------------------------ plain rules

TEST(TxFilesRules, DialogFiltersAreWordForWord) {
    EXPECT_EQ(TxFiles::OpenFilter(),
              QStringLiteral("ﾜｰﾄﾞ文書 97-2003(*.doc)|*.doc|ﾜｰﾄﾞ文書 (*.docx)|*.docx|"
                             "ﾘｯﾁﾃｷｽﾄ (*.rtf)|*.rtf|ﾃｷｽﾄﾌｧｲﾙ (*.txt)|*.txt|"
                             "HTML Document(*.htm;*.html)|*.htm;*.html"));
    EXPECT_EQ(TxFiles::InsertTextFilter(),
              QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.txt)|*.txt|ﾜｰﾄﾞ文書 97-2003(*.doc)|*.doc|"
                             "ﾜｰﾄﾞ文書 (*.docx)|*.docx|ﾘｯﾁﾃｷｽﾄ (*.rtf)|*.rtf|"
                             "HTML Document(*.htm;*.html)|*.htm;*.html"));
    EXPECT_EQ(TxFiles::SaveAsFilter(),
              QStringLiteral("ﾜｰﾄﾞ文書 97-2003(*.doc)|*.doc|ﾜｰﾄﾞ文書 (*.docx)|*.docx|"
                             "ﾘｯﾁﾃｷｽﾄ (*.rtf)|*.rtf|HTML (*.htm;*.html)|*.htm;*.html|"
                             "ｱｸﾛﾊﾞｯﾄPDF(*.pdf)|*.pdf|ﾃｷｽﾄﾌｧｲﾙ (*.txt)|*.txt|"));
    EXPECT_EQ(TxFiles::SaveHtmFilter(), QStringLiteral("HTML Document(*.htm;*.html)|*.htm;*.html"));
    EXPECT_EQ(TxFiles::ExtDocFilter(),
              QStringLiteral("ﾜｰﾄﾞ文書 97-2003(*.doc)|*.doc|ﾜｰﾄﾞ文書 (*.docx)|*.docx|"
                             "ﾘｯﾁﾃｷｽﾄ (*.rtf)|*.rtf|ﾃｷｽﾄﾌｧｲﾙ (*.txt)|*.txt"));
    EXPECT_EQ(TxFiles::FilterIndexOf(QStringLiteral("Temp.Doc")), 1);
    EXPECT_EQ(TxFiles::FilterIndexOf(QStringLiteral("a.DOCX")), 2);
    EXPECT_EQ(TxFiles::FilterIndexOf(QStringLiteral("a.rtf")), 3);
    EXPECT_EQ(TxFiles::FilterIndexOf(QStringLiteral("a.txt")), 4);
}

TEST(TxFilesRules, KeptCopyOnlyFromThisMonthWhateverItsCase) {
    const QString wrk = TestEnv::freshDir(QStringLiteral("kept")) + u'/';
    const QDate today(2026, 12, 8);
    EXPECT_TRUE(TxFiles::KeptCopy(wrk, today).isEmpty()) << "no copy yet";
    writeFile(wrk + QStringLiteral("temp.doc"), "x");
    setModified(wrk + QStringLiteral("temp.doc"), QDateTime(QDate(2026, 12, 1), QTime(0, 0, 1)));
    EXPECT_EQ(TxFiles::KeptCopy(wrk, today), wrk + QStringLiteral("temp.doc"));
    // The same day of another month, and the same month of another year.
    setModified(wrk + QStringLiteral("temp.doc"), QDateTime(QDate(2026, 11, 8), QTime(12, 0)));
    EXPECT_TRUE(TxFiles::KeptCopy(wrk, today).isEmpty());
    setModified(wrk + QStringLiteral("temp.doc"), QDateTime(QDate(2025, 12, 8), QTime(12, 0)));
    EXPECT_TRUE(TxFiles::KeptCopy(wrk, today).isEmpty());
    EXPECT_TRUE(TxFiles::KeptCopy(QString(), today).isEmpty());
}

TEST(TxFilesRules, TextsForInsertingAndPasting) {
    EXPECT_EQ(TxFiles::InsertableText(ctl("one|two") + QChar(12) + ctl("three|")),
              ctl("one/two/three"));
    EXPECT_EQ(TxFiles::InsertableText(QStringLiteral("a") + QChar(1) + QStringLiteral("b\tc")),
              QStringLiteral("ab\tc"));
    EXPECT_EQ(TxFiles::PasteText(QStringLiteral("  a\r\nb\r\n\r\nc\n ")), ctl("a/b//c"));
    EXPECT_EQ(TxFiles::PictureScale(96), 100);
    EXPECT_EQ(TxFiles::PictureScale(120), 80);
    EXPECT_EQ(TxFiles::PictureScale(192), 50);
    EXPECT_EQ(TxFiles::FlowOf(1), TxEngine::FlowInline);
    EXPECT_EQ(TxFiles::FlowOf(2), TxEngine::FlowAround);
    EXPECT_EQ(TxFiles::FlowOf(4), TxEngine::FlowOver);
    EXPECT_EQ(TxFiles::FlowOf(7), TxEngine::FlowInline);
    for (int bits : {1, 4, 8, 24})
        EXPECT_TRUE(TxFiles::KeepsDepth(bits)) << bits;
    for (int bits : {16, 32})
        EXPECT_FALSE(TxFiles::KeepsDepth(bits)) << bits;
}

// ------------------------------------------------------------ open and insert

TEST_F(EditorTest, OpeningProposesTheKeptCopyOfThisMonth) {
    ScriptedPrompter p;
    uTxm& t = open();
    const QString kept = Usr::sWrkFd + QStringLiteral("TEMP.DOC");
    writeFile(kept, docBytes(QStringLiteral("kept page")));

    // Command 10 proposes it in the work folder and loads what is chosen;
    // the page then counts as modified (it is not the kept file's own).
    p.answerOpenFile(kept);
    t.rtAct(10);
    ASSERT_EQ(p.calls.size(), 1);
    EXPECT_EQ(p.calls[0].title, QStringLiteral("文書の読み込み"));
    EXPECT_EQ(p.calls[0].text, QStringLiteral("TEMP.DOC"));
    EXPECT_TRUE(p.calls[0].detail.startsWith(TxFiles::OpenFilter()));
    EXPECT_TRUE(p.calls[0].detail.endsWith(u'|' + Usr::sWrkFd));
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("kept page"));
    EXPECT_EQ(t.sFlNm, kept);
    EXPECT_TRUE(t.bDcEdt());

    // Command 1 never proposes it and leaves the loaded page unmodified.
    p.answerOpenFile(kept);
    t.SetDcEdt(false);
    t.rtAct(1);
    EXPECT_TRUE(p.calls.last().text.isEmpty());
    EXPECT_FALSE(t.bDcEdt());

    // A copy from last month is not proposed.
    setModified(kept, QDateTime::currentDateTime().addMonths(-1));
    p.answerOpenFile(QString()); // cancelled
    t.rtAct(10);
    EXPECT_TRUE(p.calls.last().text.isEmpty());
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("kept page")) << "a cancelled dialog changes nothing";
    EXPECT_FALSE(t.bDcEdt());
}

TEST_F(EditorTest, InsertingADocumentKeepsThePageAndItsFile) {
    ScriptedPrompter p;
    uTxm& t = open();
    const QString other = dir + QStringLiteral("/other.doc");
    writeFile(other, docBytes(QStringLiteral("XY")));
    t.SetText(QStringLiteral("ab"));
    t.sFlNm = dir + QStringLiteral("/mine.doc");
    t.mTxt->SetSelStart(1);
    p.answerOpenFile(other);
    t.rtAct(30);
    EXPECT_TRUE(t.mTxt->Text().contains(QStringLiteral("XY")));
    EXPECT_TRUE(t.mTxt->Text().startsWith(u'a'));
    EXPECT_TRUE(t.mTxt->Text().endsWith(u'b'));
    EXPECT_EQ(t.sFlNm, dir + QStringLiteral("/mine.doc"));
    EXPECT_TRUE(t.bDcEdt());
}

TEST_F(EditorTest, InsertTextGoesThroughASecondEngineAsLines) {
    ScriptedPrompter p;
    uTxm& t = open();
    const QString src = dir + QStringLiteral("/lines.doc");
    writeFile(src, docBytes(ctl("first|second|third")));
    t.SetText(QStringLiteral("[sel]"));
    t.sFlNm = dir + QStringLiteral("/mine.doc");
    t.mTxt->SetSelStart(1);
    t.mTxt->SetSelLength(3); // "sel"
    p.answerOpenFile(src);
    t.rtAct(32);
    EXPECT_EQ(p.calls.last().title, QStringLiteral("ﾃｷｽﾄの挿入"));
    EXPECT_TRUE(p.calls.last().detail.startsWith(TxFiles::InsertTextFilter()));
    EXPECT_EQ(t.mTxt->Text(), ctl("[first/second/third]"));
    EXPECT_EQ(t.sFlNm, dir + QStringLiteral("/mine.doc")) << "the page keeps its own file";
    EXPECT_TRUE(t.bDcEdt());

    // A file that cannot be read: the message, the page as it was.
    const QString bad = dir + QStringLiteral("/bad.doc");
    writeFile(bad, QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(600, '\x01'));
    t.SetDcEdt(false);
    p.answerOpenFile(bad);
    t.rtAct(32);
    ASSERT_FALSE(p.messages().isEmpty());
    EXPECT_TRUE(p.messages().last().startsWith(QStringLiteral("ﾌｧｲﾙ: ") + bad +
                                               QStringLiteral(" をｲﾝﾎﾟｰﾄできません｡")));
    EXPECT_EQ(t.mTxt->Text(), ctl("[first/second/third]"));
    EXPECT_FALSE(t.bDcEdt());
}

// ------------------------------------------------------------ save as

TEST_F(EditorTest, SaveAsDialogAddsDocAndRefusesUnknownExtensions) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.SetText(QStringLiteral("page"));
    t.SetDcEdt(true);
    QSignalSpy saved(&t, &uTxm::eSaveAs);

    p.answerSaveFile(dir + QStringLiteral("/noext"));
    t.rtAct(5);
    EXPECT_EQ(p.calls.last().title, QStringLiteral("文書の保存"));
    EXPECT_TRUE(p.calls.last().detail.startsWith(TxFiles::SaveAsFilter()));
    const QByteArray written = readFile(dir + QStringLiteral("/noext.doc"));
    EXPECT_TRUE(written.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1"))) << "Word 97-2003";
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/noext")));
    EXPECT_EQ(saved.count(), 1);
    EXPECT_FALSE(t.bDcEdt());

    // An extension no format has: nothing written, the user told, the page
    // still modified, no save-as event.
    t.SetDcEdt(true);
    p.answerSaveFile(dir + QStringLiteral("/page.xyz"));
    t.rtAct(5);
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/page.xyz")));
    ASSERT_FALSE(p.messages().isEmpty());
    EXPECT_TRUE(p.messages().last().contains(QStringLiteral("page.xyz")));
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_EQ(saved.count(), 1);

    // The next dialog proposes the previous name without its extension.
    p.answerSaveFile(QString());
    t.rtAct(5);
    EXPECT_EQ(p.calls.last().text, QStringLiteral("page"));
    EXPECT_TRUE(t.bDcEdt()) << "a cancelled dialog saves nothing";
}

TEST_F(EditorTest, SaveAsPdfAndHtmlReportWhatHappened) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.SetText(QStringLiteral("page"));
    t.mTxt->SetViewMode(TxEngine::ViewNormal);
    for (const char* name : {"/out.pdf", "/out.htm"}) {
        t.SetDcEdt(true);
        const int before = int(p.messages().size());
        QString file = dir + QString::fromLatin1(name);
        const bool ok = t.txSaveAs(file);
        const bool exists = QFileInfo::exists(dir + QString::fromLatin1(name));
        // Written and unmodified, or not written, told, and still modified.
        EXPECT_EQ(ok, exists) << name;
        EXPECT_EQ(t.bDcEdt(), !ok) << name;
        EXPECT_EQ(int(p.messages().size()) > before, !ok) << name;
        EXPECT_EQ(t.mTxt->ViewMode(), int(TxEngine::ViewNormal)) << "the view is restored";
    }
    if (QFileInfo::exists(dir + QStringLiteral("/out.pdf"))) {
        EXPECT_TRUE(readFile(dir + QStringLiteral("/out.pdf")).startsWith("%PDF"));
    }
}

// ------------------------------------------------------------ paste

TEST_F(EditorTest, PastedTextWithCrLfIsOneParagraphOfLines) {
    uTxm& t = open();
    t.SetText(QStringLiteral("<>"));
    t.mTxt->SetSelStart(1);
    QApplication::clipboard()->setText(QStringLiteral("  one\r\ntwo\r\nthree \r\n"));
    t.rtAct(15, QStringLiteral("TXT"));
    EXPECT_EQ(t.mTxt->Text(), ctl("<one/two/three>"));
    EXPECT_TRUE(t.bDcEdt());
}

TEST_F(EditorTest, PastedBitmapIsA96DpiPictureThroughTheWorkFile) {
    uTxm& t = open();
    t.iFlw = 1;
    QApplication::clipboard()->setImage(filled(64, 32, QImage::Format_ARGB32));
    t.rtAct(15); // a picture on the clipboard: pasted as a picture
    // The 32-bit bitmap went through "Wrk.bmp" in 24 bits.
    EXPECT_EQ(bmpBits(readFile(Usr::sWrkFd + QStringLiteral("Wrk.bmp"))), 24);
    std::vector<model::Picture> pics = picturesOf(*t.mTxt);
    ASSERT_EQ(pics.size(), 1u);
    EXPECT_EQ(pics[0].width, 64 * 15) << "96 dpi: 15 twips a pixel";
    EXPECT_EQ(pics[0].height, 32 * 15);
    EXPECT_EQ(pics[0].shownWidth(), 64 * 15 * TxFiles::PictureScale(t.logicalDpiX()) / 100);
    EXPECT_FALSE(pics[0].isFloating()) << "placement 1 sits in the line";
    EXPECT_EQ(pics[0].type, model::ImageType::Png) << "stored in a form every format holds";
    EXPECT_TRUE(t.bDcEdt());

    // An 8-bit bitmap keeps its depth; placement 2 floats at the caret.
    t.iFlw = 2;
    QApplication::clipboard()->setImage(filled(10, 10, QImage::Format_Indexed8));
    t.rtAct(15, QStringLiteral("PIC"));
    EXPECT_EQ(bmpBits(readFile(Usr::sWrkFd + QStringLiteral("Wrk.bmp"))), 8);
    pics = picturesOf(*t.mTxt);
    ASSERT_EQ(pics.size(), 2u);
    const model::Picture& floating = pics[0].isFloating() ? pics[0] : pics[1];
    EXPECT_TRUE(floating.isFloating());
    EXPECT_EQ(floating.wrap, model::Wrap::Around);
    EXPECT_EQ(floating.wrapDistance, 320);
}

TEST_F(EditorTest, PastedMetafileIsDrawnForTheTextWidth) {
    uTxm& t = open();
    t.iFlw = 1;
    auto* md = new QMimeData;
    md->setData(QStringLiteral("image/x-wmf"), testmeta::Wmf());
    putOnClipboard(md);
    t.rtAct(15);
    const std::vector<model::Picture> pics = picturesOf(*t.mTxt);
    ASSERT_EQ(pics.size(), 1u);
    const int text = t.mTxt->PageWidth() - t.mTxt->MarginLeft() - t.mTxt->MarginRight();
    EXPECT_NEAR(pics[0].width, text, 15);
    EXPECT_NEAR(pics[0].height, pics[0].width / 2, 15) << "the picture keeps its proportions";
    // The drawing is in it: red where the rectangle is.
    const QImage img = QImage::fromData(pics[0].data);
    ASSERT_FALSE(img.isNull());
    const QRgb inside = img.pixel(img.width() / 4, img.height() / 2);
    EXPECT_GT(qRed(inside), 160);
    EXPECT_LT(qGreen(inside), 100);
}

// ------------------------------------------------------------ pictures

TEST_F(EditorTest, PictureFilesGoInAsFormatsHoldThem) {
    uTxm& t = open();
    t.iFlw = 1;
    // Qt writes no GIF; a bitmap stands for the images documents do not hold.
    const QString gif = dir + QStringLiteral("/p.bmp");
    ASSERT_TRUE(filled(8, 4, QImage::Format_RGB32).save(gif, "BMP"));
    ASSERT_TRUE(t.InsPicFl(gif));
    std::vector<model::Picture> pics = picturesOf(*t.mTxt);
    ASSERT_EQ(pics.size(), 1u);
    EXPECT_EQ(pics[0].type, model::ImageType::Png);
    EXPECT_FALSE(t.InsPicFl(dir + QStringLiteral("/missing.png")));
    writeFile(dir + QStringLiteral("/junk.png"), "not a picture");
    EXPECT_FALSE(t.InsPicFl(dir + QStringLiteral("/junk.png")));

    // An editor of type 3 refers to the file: inline, layout 0.
    uTxm& t3 = open(3);
    t3.iFlw = 2;
    const QString png = dir + QStringLiteral("/p.png");
    ASSERT_TRUE(filled(8, 4, QImage::Format_RGB32).save(png, "PNG"));
    ASSERT_TRUE(t3.InsPicFl(png));
    const int id = t3.mTxt->NextImage(0);
    ASSERT_NE(id, 0);
    EXPECT_EQ(t3.mTxt->ObjectFileName(id), png);
    t3.mTxt->SetCurObject(id);
    EXPECT_EQ(t3.mTxt->ObjectLayout(), 0);
    EXPECT_FALSE(picturesOf(*t3.mTxt).at(0).isFloating());
}

TEST_F(EditorTest, InsertedWmfIsDrawnOnThePage) {
    uTxm& t = open();
    t.iFlw = 1;
    const QString wmf = dir + QStringLiteral("/shape.wmf");
    writeFile(wmf, testmeta::Wmf());
    ASSERT_TRUE(t.InsPicFl(wmf));
    const std::vector<model::Picture> pics = picturesOf(*t.mTxt);
    ASSERT_EQ(pics.size(), 1u);
    EXPECT_EQ(pics[0].type, model::ImageType::Wmf) << "kept as the metafile it is";
    EXPECT_EQ(pics[0].width, 2880);
    // Painted: red pixels on the first page.
    QImage page(t.mTxt->PageWidth() / 15, t.mTxt->PageHeight() / 15, QImage::Format_RGB32);
    page.fill(Qt::white);
    ASSERT_TRUE(t.mTxt->PaintPage(&page, 1, 100));
    int red = 0;
    for (int y = 0; y < page.height(); y += 2)
        for (int x = 0; x < page.width(); x += 2) {
            const QRgb c = page.pixel(x, y);
            red += qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80;
        }
    // The rectangle is 0.8 x 0.8 inch: about 77 x 77 pixels, every second one counted.
    EXPECT_GT(red, 900);
}

TEST_F(EditorTest, DeletingAPictureTakesItsLinkButKeepsTheText) {
    uTxm& t = open();
    // "go " then a link whose caption is "a", a picture and "b".
    model::Picture pic;
    pic.data = QByteArray();
    {
        QBuffer buf(&pic.data);
        buf.open(QIODevice::WriteOnly);
        filled(8, 4, QImage::Format_RGB32).save(&buf, "PNG");
    }
    pic.type = model::ImageType::Png;
    pic.width = 120;
    pic.height = 60;
    model::Field link;
    link.target = QStringLiteral("https://example.org/");
    link.kind = 1;
    link.result = {model::Inline::makeText(QStringLiteral("a")), model::Inline::makePicture(pic),
                   model::Inline::makeText(QStringLiteral("b"))};
    model::Document doc;
    model::Paragraph para;
    para.content = {model::Inline::makeText(QStringLiteral("go ")), model::Inline::makeField(link)};
    model::Block block;
    block.paragraph = para;
    doc.lastSection().blocks.push_back(block);
    const std::optional<QByteArray> bytes = formats::Converter::instance().save(doc, 9);
    ASSERT_TRUE(bytes);
    bool ok = false;
    t.SetData(*bytes, ok, true);
    ASSERT_TRUE(ok);
    ASSERT_NE(t.mTxt->NextField(0, 0), 0);
    const int id = t.mTxt->NextImage(0);
    ASSERT_NE(id, 0);
    t.SetDcEdt(false);

    EXPECT_FALSE(t.ObjPicEdit()) << "no image editor in this build";
    t.mTxt->SetCurObject(id);
    ASSERT_TRUE(t.ObjPicDelete());
    EXPECT_EQ(t.mTxt->NextImage(0), 0);
    EXPECT_EQ(t.mTxt->NextField(0, 0), 0) << "the link marker went with the picture";
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("go ab"));
    EXPECT_TRUE(picturesOf(*t.mTxt).empty());
    EXPECT_TRUE(t.bDcEdt());
    t.mTxt->SetSelStart(0);
    EXPECT_FALSE(t.ObjPicDelete()) << "nothing selected";
}

TEST_F(EditorTest, MarkedAreaSizesThePictureChosenForIt) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.iFlw = 1;
    t.mTxt->SetZoomFactor(100);
    const QString png = dir + QStringLiteral("/p.png");
    ASSERT_TRUE(filled(40, 20, QImage::Format_RGB32).save(png, "PNG"));
    t.rtAct(34);
    QWidget* vp = t.mTxt->viewport();
    p.answerOpenFile(png);
    QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseMove(vp, QPoint(90, 50));
    QTest::mouseMove(vp, QPoint(130, 60));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(130, 60));
    const std::vector<model::Picture> pics = picturesOf(*t.mTxt);
    ASSERT_EQ(pics.size(), 1u);
    // 100 pixels across at 100 %: 1500 twips wide, the height in proportion.
    EXPECT_NEAR(pics[0].shownWidth(), 1500, 30);
    EXPECT_NEAR(pics[0].shownHeight(), 750, 30);
    EXPECT_TRUE(t.bDcEdt());
    // The marking has ended: a click is the engine's again, no dialog.
    QTest::mouseClick(vp, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(picturesOf(*t.mTxt).size(), 1u);
}
