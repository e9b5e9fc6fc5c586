// The HTML export: the conversion of the engine's HTML step by step, and
// whole pages written from documents with their picture folders.
#include "Converter.h"
#include "ExportTestUtil.h"
#include "TestEnv.h"
#include "TxEngine.h"
#include "yHtm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include <gtest/gtest.h>

using namespace exporttest;

namespace {

const QString kFont = QStringLiteral("ＭＳ Ｐゴシック");

// The engine's HTML around a body.
QString engineHtml(const QString& body, const QString& base = QString()) {
    QString head = QStringLiteral("<html><head><meta charset=\"UTF-8\">");
    if (!base.isEmpty())
        head += QStringLiteral("<base href=\"%1\">").arg(base);
    return head + QStringLiteral("</head>\r\n<body style=\"font-family:'Arial';font-size:10pt\">") +
           body + QStringLiteral("</body>\r\n</html>");
}

QString convert(const QString& body, const QString& base = QString(), const QString& sTP = {},
                QString* css = nullptr) {
    yHtm h;
    return h.convert(engineHtml(body, base), TestEnv::home() + QStringLiteral("/none/page.htm"),
                     sTP, css);
}

QString readUtf8(const QString& path) {
    return QString::fromUtf8(TestEnv::readFile(path));
}

} // namespace

// The worked example, the whole page byte for byte with the default formats.
TEST(HtmlExport, WorkedExampleByteForByte) {
    yHtm h;
    QString css;
    const QString body =
        h.convert(QStringLiteral("<html><head><title>x</title></head>\r\n<body "
                                 "style=\"font-family:'Arial';font-size:10pt\"><p "
                                 "style=\"text-align:center\">Hello</p></body></html>"),
                  TestEnv::home() + QStringLiteral("/a.htm"), QString(), &css);
    EXPECT_EQ(body, QStringLiteral("\r\n<body>\r\n  <div class=\"di01\">Hello\r\n  </div>\r\n"
                                   "</body>\r\n</html>"));
    const QString link =
        QStringLiteral("font-family:'") + kFont + QStringLiteral("';font-size:10pt;");
    const QString expected =
        QStringLiteral("<!DOCTYPE HTML PUBLIC '-//W3C//DTD HTML 4.01 Transitional//EN' "
                       "'http://www.w3.org/TR/html4/loose.dtd'>\r\n<html>\r\n<head>\r\n"
                       "<meta http-equiv='Content-Type' content='text/html; charset=UTF-8'>\r\n"
                       "<style type=\"text/css\">\r\n"
                       "    body {padding-left: 10px;line-height:190%;font-family:'") +
        kFont +
        QStringLiteral(
            "';font-size:small;color:#000000;margin: 0px; background-color: #FFFFFF;}\r\n"
            "    a {") +
        link +
        QStringLiteral(
            "color:#8080FF;}\r\n"
            "    a:link {text-decoration:underline;}\r\n"
            "    a:visited {color:#5689bf;text-decoration:underline;}\r\n"
            "    a:active {color:#009E7B;text-decoration:none;}\r\n"
            "    a:hover {color:white;background-color:#666633;text-decoration:underline;}\r\n"
            "    h1 {font-family:'") +
        kFont +
        QStringLiteral("';font-size:14pt;color:#855A50;margin: 7px 0px 6px 0px;}\r\n"
                       "    h3 {font-family:'") +
        kFont +
        QStringLiteral("';font-size:12pt;color:#54684D;margin: 5px 0px 4px 0px;}\r\n"
                       "    h5 {font-family:'") +
        kFont +
        QStringLiteral("';font-size:11pt;color:#3A3F56;margin: 3px 0px 2px 0px;}\r\n"
                       "    div {margin: 4px 0px 2px 0px;}\r\n"
                       "    table {border-collapse:collapse;}\r\n"
                       "    tr {text-align:left;vertical-align:top;}\r\n"
                       "    td {padding:3px;}\r\n"
                       "    li {margin:4px 0px 2px 0px;}\r\n"
                       "    img {border:0px;}\r\n"
                       "    div.di01 {text-align:center;font-family:'") +
        kFont + QStringLiteral("';font-size:10pt;}\r\n</style>\r\n<title>T</title>\r\n</head>") +
        body;
    EXPECT_EQ(yHtm::page(css, body, QStringLiteral("T")), expected);
}

TEST(HtmlExport, FileNamesOfPages) {
    EXPECT_EQ(yHtm::HsFName(QStringLiteral("7")), QStringLiteral("007.htm"));
    EXPECT_EQ(yHtm::HsFName(QString()), QStringLiteral("000.htm"));
    EXPECT_EQ(yHtm::HsFName(QStringLiteral(" 42 ")), QStringLiteral("042.htm"));
    EXPECT_EQ(yHtm::HsFName(QStringLiteral("12345")), QStringLiteral("12345.htm"));
    EXPECT_EQ(yHtm::HsFName(QStringLiteral("page.HTML")), QStringLiteral("page.HTML"));
    EXPECT_EQ(yHtm::HsFName(QStringLiteral("a.htm")), QStringLiteral("a.htm"));
}

// Equal styles share a class, letter case ignored; numbers go past 99.
TEST(HtmlExport, ClassesAreReusedAndNumbered) {
    QString css;
    const QString body = convert(QStringLiteral("<p style=\"text-align:center\">a</p>"
                                                "<p style=\"text-align:center\">b</p>"
                                                "<p style=\"TEXT-ALIGN:CENTER\">c</p>"
                                                "<p style=\"text-align:right\">d</p>"),
                                 {}, {}, &css);
    EXPECT_EQ(body.count(QStringLiteral("class=\"di01\"")), 3);
    EXPECT_EQ(body.count(QStringLiteral("class=\"di02\"")), 1);
    EXPECT_TRUE(css.contains(QStringLiteral("    div.di02 {text-align:right;")));
    EXPECT_FALSE(css.contains(QStringLiteral("div.di03")));

    QString many;
    for (int i = 1; i <= 100; ++i)
        many += QStringLiteral("<p style=\"margin-left:%1pt\">x</p>").arg(i * 0.25);
    const QString body100 = convert(many, {}, {}, &css);
    EXPECT_TRUE(body100.contains(QStringLiteral("class=\"di100\"")));
    EXPECT_TRUE(css.contains(QStringLiteral("    div.di100 {margin-left:25pt;")));
    // Rules sorted by key, then by number: di09 before di10 before di100.
    EXPECT_LT(css.indexOf(QStringLiteral("div.di09 ")), css.indexOf(QStringLiteral("div.di10 ")));
    EXPECT_LT(css.indexOf(QStringLiteral("div.di99 ")), css.indexOf(QStringLiteral("div.di100 ")));
}

// Cleaning: zero values and the user's line spacing go; blocks directly in
// the body take its font; tables lose their zero spacing; attributes become
// properties; empty elements go.
TEST(HtmlExport, StylesAttributesAndEmptyElements) {
    QString css;
    const QString body = convert(
        QStringLiteral("<p style=\"text-indent:0pt;margin-left:0pt;line-height:190%;"
                       "font-size:12pt;\"><span style=\"font-weight:bold;\">x</span><span "
                       "style=\"color:#FF0000\"></span></p>"
                       "<p style=\"\"></p><p align=\"right\">&nbsp;</p>"
                       "<table cellspacing=\"0\" cellpadding=\"2\" cols=\"2\" border=\"1\"><tr>"
                       "<td valign=\"top\" bgcolor=\"#FFCC00\">c</td></tr></table>"
                       "<ul type=\"disc\"><li>i</li></ul>"),
        {}, {}, &css);
    EXPECT_TRUE(css.contains(QStringLiteral("    div.di01 {font-size:12pt;font-family:'") + kFont +
                             QStringLiteral("';}")))
        << css.toStdString();
    EXPECT_TRUE(css.contains(QStringLiteral("    span.sp01 {font-weight:bold;}")));
    EXPECT_FALSE(body.contains(QStringLiteral("#FF0000"))); // the empty span is gone
    EXPECT_FALSE(body.contains(QStringLiteral("&nbsp;")));  // so is the blank paragraph
    EXPECT_TRUE(
        body.contains(QStringLiteral("<table cellpadding=\"2\" border=\"1\" class=\"ta01\">")))
        << body.toStdString();
    EXPECT_TRUE(css.contains(QStringLiteral("    td.td01 {vertical-align:top; "
                                            "background-color:#FFCC00;}")))
        << css.toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("ul\\.ul01 \\{[^}]*list-style-type:disc;"))
                    .match(css)
                    .hasMatch());
    EXPECT_EQ(body.count(QStringLiteral("<div")), 1);
}

// Indented paragraphs as large as a heading format become h1, h3, h5.
TEST(HtmlExport, HeadingsByIndentAndSize) {
    const QString body =
        convert(QStringLiteral("<p style=\"margin-left:8pt;font-size:14pt\">A</p>"
                               "<p style=\"margin-left:8pt;font-size:12pt\">B</p>"
                               "<p style=\"margin-left:8pt;font-size:11pt\">C</p>"
                               "<p style=\"margin-left:8pt;font-size:10pt\">D</p>"
                               "<p style=\"margin-left:3pt;font-size:14pt\">E</p>"));
    EXPECT_TRUE(body.contains(QStringLiteral("<h1 class=\"h101\">A</h1>"))) << body.toStdString();
    EXPECT_TRUE(body.contains(QStringLiteral("<h3 class=\"h301\">B</h3>")));
    EXPECT_TRUE(body.contains(QStringLiteral("<h5 class=\"h501\">C</h5>")));
    EXPECT_TRUE(body.contains(QStringLiteral("<div class=\"di01\">D")));
    EXPECT_TRUE(body.contains(QStringLiteral("<div class=\"di02\">E")));
}

TEST(HtmlExport, ShadedParagraphKeepsLayoutOutsideAndColourInside) {
    QString css;
    const QString body = convert(
        QStringLiteral("<p style=\"text-align:center;margin-left:5pt;line-height:150%;"
                       "background-color:#FFFF00\"><span style=\"font-weight:bold\">a &amp; "
                       "b</span></p><p>after</p>"),
        {}, {}, &css);
    EXPECT_TRUE(css.contains(QStringLiteral("div.di01 {text-align:center;margin-left:5pt;"
                                            "line-height:150%;font-family:")))
        << css.toStdString();
    EXPECT_TRUE(css.contains(QStringLiteral("span.sp01 {background-color:#FFFF00;}")));
    // The text with its own markup unchanged, and the paragraph closed
    // before the next one.
    EXPECT_TRUE(body.contains(QStringLiteral("<span style=\"font-weight:bold\">a &amp; b</span>")))
        << body.toStdString();
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("</span>\\s*</div>\\s*<div")).match(body).hasMatch())
        << body.toStdString();
}

TEST(HtmlExport, PageLinksBecomeAnnotatedSpans) {
    QString css;
    const QString body =
        convert(QStringLiteral("<p><a name=\"TP_1\" href=\"#TP_1\">listed &amp; co</a> "
                               "<a href=\"#TP_own\">unlisted</a><a name=\"mark\"></a></p>"),
                {}, QStringLiteral("other\tzz\rlisted & co\tid<9>\r"), &css);
    EXPECT_TRUE(body.contains(QStringLiteral("<span title=\"listed &amp; co : id&lt;9&gt;\" "
                                             "class=\"sp01\">listed &amp; co</span>")))
        << body.toStdString();
    EXPECT_TRUE(body.contains(QStringLiteral("title=\"unlisted : own\"")));
    EXPECT_FALSE(body.contains(QStringLiteral("mark"))); // empty anchors go
    EXPECT_TRUE(css.contains(QStringLiteral("span.sp01 {font-family:'") + kFont +
                             QStringLiteral("';font-size:10pt;color:#804040;}")));
}

TEST(HtmlExport, LinkTargets) {
    auto href = [](const QString& target, const QString& base) {
        const QString body = convert(
            QStringLiteral("<p><a href=\"%1\" target=\"_top\" style=\"color:#123456\">x</a></p>")
                .arg(target),
            base);
        return body.section(QStringLiteral("<a "), 1).section(u'>', 0, 0);
    };
    const QString win = QStringLiteral("file:///C:/w/sub/");
    const QString lin = QStringLiteral("file:///home/u/sub/");
    EXPECT_EQ(href(QStringLiteral("#TG_x_42"), win), QStringLiteral("href=\"042.htm\""));
    EXPECT_EQ(href(QStringLiteral("#TG_5"), win), QStringLiteral("href=\"005.htm\""));
    EXPECT_EQ(href(QStringLiteral("../doc/a.htm"), win), QStringLiteral("href=\"C:/w/doc/a.htm\""));
    EXPECT_EQ(href(QStringLiteral("../../a.htm"), lin), QStringLiteral("href=\"/home/a.htm\""));
    EXPECT_EQ(href(QStringLiteral("b.htm"), lin), QStringLiteral("href=\"/home/u/sub/b.htm\""));
    EXPECT_EQ(href(QStringLiteral("file:///home/u/c.pdf"), win),
              QStringLiteral("href=\"/home/u/c.pdf\""));
    EXPECT_EQ(href(QStringLiteral("file:///D:/c.pdf"), lin), QStringLiteral("href=\"D:/c.pdf\""));
    // Addresses with a scheme, and anchors of the page, stay as they are.
    for (const char* kept : {"http://example.com/a", "https://example.com/a?b=1&amp;c=2",
                             "mailto:someone@example.com", "ftp://host/f", "#DX_index"})
        EXPECT_EQ(href(QLatin1String(kept), lin),
                  QStringLiteral("href=\"%1\" target=\"_top\"").arg(QLatin1String(kept)));
    // Without a base reference a relative address stays relative.
    EXPECT_EQ(href(QStringLiteral("../x.htm"), QString()), QStringLiteral("href=\"../x.htm\""));
}

// The title and the page text are escaped; ideographic spaces survive.
TEST(HtmlExport, TitleAndTextEscapedIdeographicSpaceKept) {
    const QString dir = TestEnv::freshDir(QStringLiteral("escape"));
    model::Document doc = document(
        {para(QStringLiteral("\u3000字下げ <b> & \"q\"")), para(QStringLiteral("ⅷ の文字"))});
    yHtm h;
    QString error;
    ASSERT_TRUE(h.saveDocument(doc, false, dir + QStringLiteral("/p.htm"), {},
                               QStringLiteral("A<B & \"C\"</title>"), &error))
        << error.toStdString();
    const QString page = readUtf8(dir + QStringLiteral("/p.htm"));
    EXPECT_TRUE(
        page.contains(QStringLiteral("<title>A&lt;B &amp; &quot;C&quot;&lt;/title&gt;</title>")));
    EXPECT_TRUE(page.contains(QStringLiteral(">\u3000字下げ &lt;b&gt; &amp; &quot;q&quot;<")))
        << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("ⅷ の文字")));
    EXPECT_FALSE(page.contains(QStringLiteral("<b>")));
}

// Pictures: written by the engine into NAME_images, the folder renamed to
// NAME_files (an old one replaced), the sources relative with plain blanks.
TEST(HtmlExport, PictureFolderRenamedAndReplaced) {
    const QString dir = TestEnv::freshDir(QStringLiteral("pictures"));
    model::Paragraph p = para(QStringLiteral("絵"));
    p.content.push_back(picture(png(4, 3, Qt::red), 4, 3));
    p.content.push_back(picture(png(5, 5, Qt::blue), 5, 5));
    p.content.back().picture.wrap = model::Wrap::Right; // text on its right
    p.content.back().picture.wrapDistance = 120;
    const model::Document doc = document({p});
    const QString file = dir + QStringLiteral("/my page.htm");
    QDir().mkpath(dir + QStringLiteral("/my page_files"));
    TestEnv::writeFile(dir + QStringLiteral("/my page_files/stale.png"), "old");
    yHtm h;
    QString error;
    ASSERT_TRUE(h.saveDocument(doc, false, file, {}, {}, &error)) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/my page_images")));
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/my page_files/stale.png")));
    EXPECT_TRUE(QFileInfo::exists(dir + QStringLiteral("/my page_files/image1.png")));
    EXPECT_TRUE(QFileInfo::exists(dir + QStringLiteral("/my page_files/image2.png")));
    const QString page = readUtf8(file);
    EXPECT_TRUE(page.contains(QStringLiteral("<img src=\"my page_files/image1.png\" width=\"4\" "
                                             "height=\"3\" alt=\"\">")))
        << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("<img src=\"my page_files/image2.png\" width=\"5\" "
                                             "height=\"5\" alt=\"\" class=\"im01\">")))
        << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("    img.im01 {float:left;margin:6pt;}")));
    EXPECT_EQ(QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("my page_files")});

    // A page without pictures leaves the folder as it is.
    ASSERT_TRUE(h.saveDocument(document({para(QStringLiteral("x"))}), false, file, {}, {}));
    EXPECT_TRUE(QFileInfo::exists(dir + QStringLiteral("/my page_files/image1.png")));
}

// A failed export keeps the previous page and its picture folder.
TEST(HtmlExport, FailedExportKeepsThePreviousOne) {
    const QString dir = TestEnv::freshDir(QStringLiteral("failed"));
    const QString file = dir + QStringLiteral("/p.htm");
    model::Paragraph p = para(QStringLiteral("x"));
    p.content.push_back(picture(png(2, 2, Qt::green), 2, 2));
    yHtm h;
    ASSERT_TRUE(h.saveDocument(document({p}), false, file, {}, {}));
    const QByteArray before = TestEnv::readFile(file);
    // The engine's picture folder cannot be made: a file has its name.
    TestEnv::writeFile(dir + QStringLiteral("/p_images"), "in the way");
    QString error;
    EXPECT_FALSE(h.saveDocument(document({p}), false, file, {}, {}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(TestEnv::readFile(file), before);
    EXPECT_TRUE(QFileInfo::exists(dir + QStringLiteral("/p_files/image1.png")));
}

// The headless converter writes .htm through the export, pictures beside.
TEST(HtmlExport, HeadlessConverterWritesPages) {
    yHtm::install();
    const QString dir = TestEnv::freshDir(QStringLiteral("headless"));
    model::Paragraph p = para(QStringLiteral("見出し"), 14, 160);
    model::Paragraph q = para(QStringLiteral("本文 "));
    q.content.push_back(link(QStringLiteral("次"), QStringLiteral("TG_3")));
    q.content.push_back(picture(png(3, 3, Qt::black), 3, 3));
    const std::optional<QByteArray> docx =
        formats::Converter::instance().save(document({p, q}), 13);
    ASSERT_TRUE(docx);
    TestEnv::writeFile(dir + QStringLiteral("/in.docx"), *docx);
    QString messages;
    QTextStream err(&messages);
    EXPECT_EQ(formats::runHeadless({QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                                    QStringLiteral("htm"), QStringLiteral("--outdir"),
                                    dir + QStringLiteral("/out"), dir + QStringLiteral("/in.docx")},
                                   err),
              0)
        << messages.toStdString();
    const QString page = readUtf8(dir + QStringLiteral("/out/in.htm"));
    EXPECT_TRUE(page.startsWith(QStringLiteral("<!DOCTYPE HTML PUBLIC")));
    EXPECT_TRUE(page.contains(QStringLiteral("<title>見出し</title>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<h1 class=\"h101\">")));
    EXPECT_TRUE(page.contains(QStringLiteral("href=\"003.htm\"")));
    EXPECT_TRUE(page.contains(QStringLiteral("src=\"in_files/image1.png\"")));
    EXPECT_TRUE(QFileInfo::exists(dir + QStringLiteral("/out/in_files/image1.png")));
}

// From the editor's engine: its own HTML save puts the pictures beside the
// file; the export marks every picture with the choice and renames the folder.
TEST(HtmlExport, FromTheEngine) {
    const QString dir = TestEnv::freshDir(QStringLiteral("engine"));
    TxEngine e;
    e.SetText(QStringLiteral("本文"));
    const int id = e.ImageInsertBytes(png(6, 4, Qt::red), TxEngine::FlowInline);
    ASSERT_NE(id, 0);
    e.SetImageExportFlag(id, 1);
    ASSERT_TRUE(e.SaveFile(dir + QStringLiteral("/raw.htm"), TxEngine::FmtHtml));
    EXPECT_TRUE(QFileInfo::exists(dir + QStringLiteral("/raw_images/image1.png")));
    EXPECT_TRUE(readUtf8(dir + QStringLiteral("/raw.htm"))
                    .contains(QStringLiteral("src=\"raw_images/image1.png\"")));

    yHtm h;
    QString error;
    ASSERT_TRUE(
        h.cSaveHtm(e, true, dir + QStringLiteral("/page.htm"), {}, QStringLiteral("t"), &error))
        << error.toStdString();
    EXPECT_EQ(e.ImageExport(id), 3);
    EXPECT_EQ(e.ImageExportFlag(id), 0);
    EXPECT_TRUE(QFileInfo::exists(dir + QStringLiteral("/page_files/image1.png")));
    EXPECT_TRUE(readUtf8(dir + QStringLiteral("/page.htm")).contains(QStringLiteral("本文")));

    QString css, body;
    ASSERT_TRUE(h.cGetHtm(e, dir + QStringLiteral("/get.htm"), {}, {}, css, body));
    EXPECT_TRUE(css.startsWith(QStringLiteral("<style type=\"text/css\">\r\n")));
    EXPECT_TRUE(body.contains(QStringLiteral("get_files/image1.png")));
    EXPECT_FALSE(body.contains(QStringLiteral("<body")));
    EXPECT_EQ(e.ImageExport(id), 4);
}
