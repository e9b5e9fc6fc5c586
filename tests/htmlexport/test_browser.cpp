// The exported page opened in headless Chromium: the headings and classes
// applied, both pictures loaded from the "_files" folder, the tag link
// pointing at the sibling page file. A screenshot of the page is left in
// the test's output folder. Skipped when Chromium is not installed.
#include "ExportTestUtil.h"
#include "TestEnv.h"
#include "yHtm.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <gtest/gtest.h>

using namespace exporttest;

namespace {

QString chromium() {
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"})
        if (const QString p = QStandardPaths::findExecutable(QLatin1String(name)); !p.isEmpty())
            return p;
    return {};
}

// Runs Chromium headless on `url` with `extra` options; its standard output.
QByteArray runChromium(const QString& exe, const QStringList& extra, const QString& url) {
    QProcess p;
    QStringList args = {QStringLiteral("--headless"),
                        QStringLiteral("--no-sandbox"),
                        QStringLiteral("--disable-gpu"),
                        QStringLiteral("--no-first-run"),
                        QStringLiteral("--user-data-dir=") + TestEnv::freshDir("chromium-profile"),
                        QStringLiteral("--allow-file-access-from-files"),
                        QStringLiteral("--virtual-time-budget=5000")};
    args << extra << url;
    p.start(exe, args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
    }
    return p.readAllStandardOutput();
}

} // namespace

TEST(HtmlExportBrowser, PageShowsHeadingsClassesPicturesAndTagLink) {
    const QString exe = chromium();
    if (exe.isEmpty())
        GTEST_SKIP() << "Chromium is not installed (Debian package chromium)";
    const QString dir = TestEnv::freshDir(QStringLiteral("site"));

    model::Document doc;
    auto& blocks = doc.lastSection().blocks;
    blocks.push_back(
        model::Block::makeParagraph(para(QStringLiteral("日本語の頁見出し"), 14, 160)));
    model::Paragraph intro = para(QStringLiteral("本文です。"));
    intro.content.push_back(
        link(QStringLiteral("例のｻｲﾄ"), QStringLiteral("https://example.com/")));
    intro.content.push_back(model::Inline::makeText(QStringLiteral(" と "), look(10)));
    intro.content.push_back(link(QStringLiteral("次の頁"), QStringLiteral("TG_5_42"), 2));
    blocks.push_back(model::Block::makeParagraph(intro));
    blocks.push_back(model::Block::makeParagraph(para(QStringLiteral("二番目の見出し"), 12, 160)));
    model::Paragraph pics = para(QStringLiteral("画像："));
    pics.content.push_back(picture(png(120, 60, Qt::red), 120, 60));
    pics.content.push_back(picture(png(60, 60, Qt::blue), 60, 60));
    blocks.push_back(model::Block::makeParagraph(pics));
    blocks.push_back(model::Block::makeParagraph(para(QStringLiteral("三番目の見出し"), 11, 160)));
    blocks.push_back(model::Block::makeParagraph(para(QStringLiteral("おわり"))));

    yHtm h;
    QString error;
    const QString file = dir + QStringLiteral("/目次 1.htm");
    ASSERT_TRUE(h.saveDocument(doc, false, file, {}, QStringLiteral("試験の頁"), &error))
        << error.toStdString();
    ASSERT_TRUE(QFileInfo::exists(dir + QStringLiteral("/目次 1_files/image2.png")));
    // The sibling page the tag link names.
    ASSERT_TRUE(h.saveDocument(document({para(QStringLiteral("頁 42"))}), false,
                               dir + QStringLiteral("/042.htm"), {}, QStringLiteral("42")));

    // A checking page loads the export in a frame and reports what the
    // browser made of it.
    const QString check = dir + QStringLiteral("/check.htm");
    TestEnv::writeFile(
        check,
        QStringLiteral(
            "<!DOCTYPE html><html><head><meta charset='UTF-8'></head><body>"
            "<pre id='r'>waiting</pre><iframe id='f' width='900' height='600'></iframe><script>"
            "var f=document.getElementById('f');f.onload=function(){var d=f.contentDocument,"
            "w=f.contentWindow,o=[];var im=d.images;o.push('images='+im.length);"
            "for(var i=0;i<im.length;i++)o.push('img'+i+'='+im[i].complete+','+im[i].naturalWidth"
            "+','+decodeURI(im[i].src));"
            "var h=d.querySelector('h1');o.push('h1='+(h?h.className+','+h.textContent.trim()+','+"
            "w.getComputedStyle(h).fontSize+','+w.getComputedStyle(h).color:'none'));"
            "o.push('h3='+d.querySelectorAll('h3').length+' h5='+d.querySelectorAll('h5').length);"
            "var a=d.querySelectorAll('a');for(var j=0;j<a.length;j++)"
            "o.push('a'+j+'='+decodeURI(a[j].href)+','+a[j].textContent.trim());"
            "o.push('title='+d.title);"
            "document.getElementById('r').textContent=o.join('\\n');};"
            "f.src=encodeURI('%1');</script></body></html>")
            .arg(QFileInfo(file).fileName())
            .toUtf8());
    const QString dom = QString::fromUtf8(
        runChromium(exe, {QStringLiteral("--dump-dom")}, QUrl::fromLocalFile(check).toString()));
    ASSERT_FALSE(dom.isEmpty()) << "Chromium printed nothing";
    const QString site = QUrl::fromLocalFile(dir).toString();
    EXPECT_TRUE(dom.contains(QStringLiteral("images=2"))) << dom.toStdString();
    EXPECT_TRUE(dom.contains(QStringLiteral("img0=true,120,") + site +
                             QStringLiteral("/目次 1_files/image1.png")))
        << dom.toStdString();
    EXPECT_TRUE(dom.contains(QStringLiteral("img1=true,60,") + site +
                             QStringLiteral("/目次 1_files/image2.png")));
    // The heading's class and the style sheet's h1 rule: 14 pt is 18.6667 px.
    EXPECT_TRUE(dom.contains(QStringLiteral("h1=h101,日本語の頁見出し,18.6667px,rgb(133, 90, 80)")))
        << dom.toStdString();
    EXPECT_TRUE(dom.contains(QStringLiteral("h3=1 h5=1")));
    EXPECT_TRUE(dom.contains(QStringLiteral("=https://example.com/,例のｻｲﾄ")));
    EXPECT_TRUE(dom.contains(QStringLiteral("=") + site + QStringLiteral("/042.htm,次の頁")));
    EXPECT_TRUE(dom.contains(QStringLiteral("title=試験の頁")));

    // The screenshot, for a person to look at.
    const QString shots = QStringLiteral(FOLIUM_TEST_OUTPUT_DIR);
    QDir().mkpath(shots);
    const QString shot = shots + QStringLiteral("/htmlexport.png");
    QFile::remove(shot);
    runChromium(exe,
                {QStringLiteral("--screenshot=") + shot, QStringLiteral("--window-size=1000,700"),
                 QStringLiteral("--hide-scrollbars")},
                QUrl::fromLocalFile(file).toString());
    EXPECT_GT(QFileInfo(shot).size(), 1000) << "no screenshot at " << shot.toStdString();
}
