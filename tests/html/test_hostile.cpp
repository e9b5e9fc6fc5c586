// The HTML reader against hostile input: deep nesting, huge attributes,
// broken markup. Each is read (its text kept) without exhausting the stack.
#include "HtmlTestUtil.h"

#include "HtmlDecode.h"

#include <QElapsedTimer>

TEST(HtmlHostile, DeepNestingIsFlattened) {
    for (const char* tag : {"div", "b", "span", "blockquote", "table"}) {
        QByteArray page;
        const int depth = 100000;
        for (int i = 0; i < depth; ++i)
            page += QByteArray("<") + tag + ">";
        page += "deep text";
        QString why;
        const std::optional<model::Document> d = html::read(page, &why);
        ASSERT_TRUE(d) << tag << ": " << why.toStdString();
        EXPECT_TRUE(model::plainText(*d).contains("deep text")) << tag;
    }
    // Nested lists stop at the ninth level.
    QString lists;
    for (int i = 0; i < 50; ++i)
        lists += "<ul><li>x";
    const model::Document d = readHtml(lists);
    int deepest = 0;
    for (const model::Block& b : body(d))
        deepest = std::max(deepest, b.paragraph.format.listLevel);
    EXPECT_EQ(deepest, 8);
}

TEST(HtmlHostile, DepthBoundKeepsTextAndRawText) {
    using html::detail::kMaxDepth;
    using html::detail::limitDepth;
    QByteArray deep;
    for (int i = 0; i < kMaxDepth + 10; ++i)
        deep += "<div>";
    deep += "x";
    for (int i = 0; i < kMaxDepth + 10; ++i)
        deep += "</div>";
    const QByteArray limited = limitDepth(deep);
    EXPECT_EQ(limited.count("<div>"), kMaxDepth);
    EXPECT_EQ(limited.count("</div>"), kMaxDepth);
    EXPECT_TRUE(limited.contains(">x<"));
    // Paragraphs and other tags with optional ends do not count; neither do
    // tags inside comments or scripts.
    QByteArray flat;
    for (int i = 0; i < 1000; ++i)
        flat += "<p>para<li>item<br>";
    EXPECT_EQ(limitDepth(flat), flat);
    const QByteArray script = "<script>for(a<b;;){'<div><div><div>'}</script><!-- <div> -->";
    EXPECT_EQ(limitDepth(script), script);
    // Quoted ">" inside an attribute does not end the tag.
    const QByteArray quoted = "<div title=\"a>b\">t</div>";
    EXPECT_EQ(limitDepth(quoted), quoted);
}

TEST(HtmlHostile, HugeAttributesAndBrokenMarkup) {
    QByteArray page = "<p style=\"color:red;" + QByteArray(8 << 20, 'x') + "\" title=\"" +
                      QByteArray(4 << 20, 'y') + "\">after huge</p>";
    page += "<p><b><i>unclosed <table><td>cell<tr>row</table> a < b & c &amp; &#x65E5; "
            "&#99999999; </p></i></b><img src=\"" +
            QByteArray(1 << 20, '/') + "\">";
    page += "<font size=\"99999999999\" color=\"#zzzzzz\">sized</font>";
    page += "<td colspan=\"-5\" rowspan=\"abc\">stray cell</td>";
    QString why;
    const std::optional<model::Document> d = html::read(page, &why);
    ASSERT_TRUE(d) << why.toStdString();
    const QString text = model::plainText(*d);
    EXPECT_TRUE(text.contains("after huge"));
    EXPECT_TRUE(text.contains(QString::fromUtf8("a < b & c & 日")));
    EXPECT_TRUE(text.contains("sized"));
    EXPECT_TRUE(text.contains("stray cell"));
    const model::Inline* sized = runWith(*d, "sized");
    ASSERT_TRUE(sized);
    EXPECT_EQ(sized->format.halfPoints, 72); // size 7 at most
}

TEST(HtmlHostile, TooLargeIsRefused) {
    QString why;
    EXPECT_FALSE(html::read(QByteArray((64 << 20) + 1, ' '), &why));
    EXPECT_TRUE(why.contains("MB"));
}
