// The editor's commands that use the tool family and the picture-size
// window, on a real editor control with the stand-in tool.
#include "Metafiles.h"
#include "ToolFixture.h"
#include "TxEngine.h"
#include "uTxm.h"
#include "yIni.h"

#include <QDialog>
#include <QImage>
#include <memory>

class EditorToolTest : public ToolTest {
protected:
    std::unique_ptr<uTxm> ed;
    void SetUp() override {
        ToolTest::SetUp();
        yIni& ini = settings();
        ini.sXml = yIni::MakeTag(0, QString::fromUtf16(kIniRoot), QStringLiteral("\r\n"));
        ini.sXmlPh.clear();
        zKtl::Release(); // the process's instance reads the emptied registry again
        ed = std::make_unique<uTxm>();
        ed->resize(900, 600);
        ed->show();
        ed->cOn(0, 1);
        ed->iFlw = 1;
    }
    void TearDown() override {
        ed->SetDcEdt(false);
        ed->cOff();
        ed.reset();
        zKtl::Release();
        ToolTest::TearDown();
    }
    int pictures() const {
        int n = 0;
        for (int id = ed->mTxt->NextImage(0); id != 0; id = ed->mTxt->NextImage(id))
            ++n;
        return n;
    }
};

TEST_F(EditorToolTest, GraphAndChartPicturesComeFromTheirEditors) {
    install(QStringLiteral("apps/Danvek"), QStringLiteral("Danvek"));
    install(QStringLiteral("apps/Pelion"), QStringLiteral("Pelion"));
    ed->rtAct(42);
    EXPECT_EQ(pictures(), 1);
    EXPECT_TRUE(ed->bDcEdt());
    const QImage bmp(Usr::sWrkFd + QStringLiteral("Wrk.bmp"));
    EXPECT_EQ(bmp.size(), QSize(64, 48));
    EXPECT_EQ(bmp.dotsPerMeterX(), 3780);

    ed->rtAct(43);
    ed->rtAct(43);
    EXPECT_EQ(pictures(), 3);
    // The second chart run is handed the first one's result.
    const QByteArray rec = TestEnv::readFile(Usr::sWrkFd + QStringLiteral("CH_HT.pdat.in"));
    EXPECT_TRUE(rec.mid(265, 255).startsWith((Usr::sWrkFd + "CH result.bmp").toUtf8()));

    // A tool that produces nothing leaves the page as it was.
    qputenv("FOLIUM_STANDIN_FAIL", "1");
    ed->SetDcEdt(false);
    ed->rtAct(42);
    EXPECT_EQ(pictures(), 3);
    EXPECT_FALSE(ed->bDcEdt());
}

TEST_F(EditorToolTest, TheImageEditorMakesAndEditsPictures) {
    install(QStringLiteral("apps/Tarnel"), QStringLiteral("Tarnel"));
    ed->rtAct(33);
    ASSERT_EQ(pictures(), 1);
    EXPECT_TRUE(TestEnv::readFile(Usr::sWrkFd + QStringLiteral("PC_HT.pdat.in"))
                    .startsWith(Usr::sWrkFd.toUtf8() + ' '));

    // The object menu's edit: the picture is replaced by the tool's result.
    const int first = ed->mTxt->NextImage(0);
    ed->mTxt->SetCurObject(first);
    ed->SetDcEdt(false);
    ASSERT_TRUE(ed->ObjPicEdit());
    EXPECT_EQ(pictures(), 1);
    EXPECT_NE(ed->mTxt->NextImage(0), first);
    EXPECT_TRUE(ed->bDcEdt());
    EXPECT_TRUE(prompter.calls.isEmpty());
}

TEST_F(EditorToolTest, WithoutTheImageEditorAPictureFileIsChosen) {
    const QString png = root + QStringLiteral("/p.png");
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(Qt::green);
    ASSERT_TRUE(img.save(png));
    prompter.answerOpenFile(png);
    ed->rtAct(33);
    EXPECT_EQ(pictures(), 1);
    ASSERT_EQ(prompter.calls.size(), 1);
    EXPECT_NE(prompter.calls[0].title, QStringLiteral("画像 実行ﾌｧｲﾙの指定"));

    // Editing a picture needs the editor: asked for, and nothing changes
    // when it is not given.
    ed->mTxt->SetCurObject(ed->mTxt->NextImage(0));
    prompter.answerOpenFile(QString());
    EXPECT_FALSE(ed->ObjPicEdit());
    EXPECT_EQ(prompter.calls.last().title, QStringLiteral("画像 実行ﾌｧｲﾙの指定"));
    // Proposing the executable's name, starting beside the program's folder.
    EXPECT_EQ(prompter.calls.last().text, QStringLiteral("Tarnel"));
    EXPECT_EQ(prompter.calls.last().detail,
              QStringLiteral("実行ﾌｧｲﾙ(*)|*|") + root + QStringLiteral("/apps"));
    EXPECT_EQ(pictures(), 1);
}

TEST_F(EditorToolTest, AMetafileGoesInAtTheSizeFixedInThePictureWindow) {
    const QString wmf = root + QStringLiteral("/pic.wmf");
    TestEnv::writeFile(wmf, testmeta::Wmf());
    prompter.answerOpenFile(wmf);
    prompter.answerDialog([&](QDialog& d) {
        d.resize(d.width() + 100, d.height());
        return true;
    });
    ed->rtAct(35);
    ASSERT_EQ(pictures(), 1);
    EXPECT_EQ(ed->sWmfPh, root + u'/');
    const QImage bmp(Usr::sWrkFd + QStringLiteral("Wrk.bmp"));
    EXPECT_NEAR(bmp.width(), 192 + 100, 2);
    EXPECT_NEAR(bmp.height(), 96, 2);

    // Not a vector picture: told, no window.
    TestEnv::writeFile(root + QStringLiteral("/bad.wmf"), "no picture");
    prompter.setStrict(false);
    prompter.answerOpenFile(root + QStringLiteral("/bad.wmf"));
    ed->rtAct(35);
    EXPECT_EQ(prompter.messages().last(),
              QStringLiteral("ﾌｧｲﾙ: ") + root + QStringLiteral("/bad.wmf を読み込めません｡"));
    EXPECT_EQ(pictures(), 1);
}
