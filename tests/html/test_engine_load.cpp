// An HTML file opened in the engine: its pictures are found beside the file.
#include "HtmlTestUtil.h"

#include "TxEngine.h"

#include <QBuffer>
#include <QDir>
#include <QImage>

TEST(HtmlEngine, LoadFileFindsPicturesBesideTheFile) {
    const QString dir = TestEnv::freshDir();
    QDir().mkpath(dir + "/pics");
    QImage img(30, 10, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(dir + "/pics/p.png"));
    TestEnv::writeFile(dir + "/page2.htm", "<p>a<img src=\"pics/p.png\" alt=\"[x]\">b</p>");
    TxEngine e;
    ASSERT_TRUE(e.LoadFile(dir + "/page2.htm", TxEngine::FmtHtml)) << e.LastError().toStdString();
    EXPECT_EQ(e.Text(), QStringLiteral("a\x01"
                                       "b"));
    EXPECT_NE(e.NextImage(0), 0);
    // The same bytes without a file have no folder: the picture's text shows.
    ASSERT_TRUE(e.LoadBytes(TestEnv::readFile(dir + "/page2.htm"), TxEngine::FmtHtml));
    EXPECT_EQ(e.Text(), QStringLiteral("a[x]b"));
}
