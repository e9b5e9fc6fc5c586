// The HTML reader's decoding: byte-order marks, meta tags, XML declarations,
// UTF-8 by default and Shift_JIS for undeclared bytes that are no UTF-8.
#include "HtmlTestUtil.h"

#include "TextCodec.h"

#include <QStringEncoder>

namespace {

// "～" (FULLWIDTH TILDE) is the wave dash of Windows code page 932.
const QString kJapanese = QString::fromUtf8("日本語の文書：ｶﾀｶﾅ～①");

QString firstLine(const QByteArray& bytes) {
    QString why;
    const std::optional<model::Document> d = html::read(bytes, &why);
    EXPECT_TRUE(d) << why.toStdString();
    return d ? paragraphs(*d).value(0) : QString();
}

} // namespace

TEST(HtmlEncoding, DeclaredCharsets) {
    const QByteArray body = "<p>" + kJapanese.toUtf8() + "</p>";
    // Shift_JIS in both meta forms, under its other names too.
    for (const char* meta :
         {"<meta charset=\"Shift_JIS\">",
          "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">",
          "<META HTTP-EQUIV=Content-Type CONTENT='text/html;charset=x-sjis'>",
          "<meta charset=windows-31j>"}) {
        const QByteArray page = QByteArray("<html><head>") + meta + "</head><body><p>" +
                                TextCodec::toCp932(kJapanese) + "</p></body></html>";
        EXPECT_EQ(html::declaredCharset(page).isEmpty(), false) << meta;
        EXPECT_EQ(firstLine(page), kJapanese) << meta;
    }
    // EUC-JP (its text without the circled digit, which it lacks).
    const QString euc = QString::fromUtf8("日本語の文書：ｶﾀｶﾅ");
    QStringEncoder toEuc("EUC-JP");
    ASSERT_TRUE(toEuc.isValid());
    const QByteArray eucBytes = toEuc(euc);
    ASSERT_NE(eucBytes, euc.toUtf8());
    EXPECT_EQ(firstLine("<meta charset=\"EUC-JP\"><p>" + eucBytes + "</p>"), euc);
    // An XML declaration names it too.
    EXPECT_EQ(firstLine("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><html><p>" +
                        TextCodec::toCp932(kJapanese) + "</p></html>"),
              kJapanese);
    // Declared UTF-8.
    EXPECT_EQ(firstLine("<meta charset=utf-8>" + body), kJapanese);
    // Windows-1252 for a Latin-1 declaration, as browsers read it.
    EXPECT_EQ(firstLine("<meta charset=iso-8859-1><p>caf\xE9 \x93q\x94</p>"),
              QString::fromUtf8("café “q”"));
}

TEST(HtmlEncoding, ByteOrderMarksAndDefaults) {
    const QByteArray body = "<p>" + kJapanese.toUtf8() + "</p>";
    // UTF-8 BOM wins over a wrong declaration.
    EXPECT_EQ(firstLine("\xEF\xBB\xBF<meta charset=shift_jis>" + body), kJapanese);
    // UTF-16 with its marks.
    const QString page = "<p>" + kJapanese + "</p>";
    QByteArray le("\xFF\xFE");
    QByteArray be("\xFE\xFF");
    for (QChar c : page) {
        le += char(c.unicode() & 0xFF);
        le += char(c.unicode() >> 8);
        be += char(c.unicode() >> 8);
        be += char(c.unicode() & 0xFF);
    }
    EXPECT_EQ(firstLine(le), kJapanese);
    EXPECT_EQ(firstLine(be), kJapanese);
    // Nothing declared: UTF-8 ...
    EXPECT_TRUE(html::declaredCharset(body).isEmpty());
    EXPECT_EQ(firstLine(body), kJapanese);
    // ... unless the bytes are no UTF-8: then Shift_JIS.
    EXPECT_EQ(firstLine("<p>" + TextCodec::toCp932(kJapanese) + "</p>"), kJapanese);
    // A declaration too far into the file does not count (browsers look at
    // the start only).
    EXPECT_TRUE(html::declaredCharset(QByteArray(5000, ' ') + "<meta charset=euc-jp>").isEmpty());
    // An unknown charset is read as UTF-8.
    EXPECT_EQ(firstLine("<meta charset=no-such-set>" + body), kJapanese);
}
