#include "TextCodec.h"

#include <gtest/gtest.h>

TEST(TextCodec, Cp932RoundTripAndFallbacks) {
    const QString jp = QStringLiteral("運用 ﾌｫﾙﾀﾞ ＭＳ Ｐゴシック abc");
    bool lossless = false;
    const QByteArray sjis = TextCodec::toCp932(jp, &lossless);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(sjis.left(2), QByteArray("\x89\x5e")); // 運 in Shift-JIS
    EXPECT_EQ(TextCodec::fromCp932(sjis), jp);
    EXPECT_FALSE(TextCodec::isValidUtf8(sjis));
    EXPECT_EQ(TextCodec::fromUtf8OrCp932(sjis), jp);

    // UTF-8 with and without BOM is taken as UTF-8.
    EXPECT_EQ(TextCodec::fromUtf8OrCp932(jp.toUtf8()), jp);
    EXPECT_EQ(TextCodec::fromUtf8OrCp932("\xEF\xBB\xBF" + jp.toUtf8()), jp);

    // Characters without a CP932 form are reported, not silently dropped.
    EXPECT_FALSE(TextCodec::fitsCp932(QStringLiteral("emoji 😀 and hangul 한")));
    EXPECT_TRUE(TextCodec::fitsCp932(jp));

    // Characters iconv would swap for look-alikes read back as other
    // characters: they count as missing and are written as "?".
    const QString lookAlikes = QStringLiteral("10\u301C20 \u00A5500 \u2212 3");
    EXPECT_FALSE(TextCodec::fitsCp932(lookAlikes));
    lossless = true;
    EXPECT_EQ(TextCodec::toCp932(lookAlikes, &lossless), QByteArray("10?20 ?500 ? 3"));
    EXPECT_FALSE(lossless);
    EXPECT_EQ(TextCodec::toCp932(QStringLiteral("\uFF5E運") + QChar(0xD800)),
              QByteArray("\x81\x60\x89\x5e?"));

    // Invalid bytes decode to replacement characters, never a crash.
    const QString broken = TextCodec::fromCp932(QByteArray("ab\x81", 3));
    EXPECT_TRUE(broken.startsWith(QStringLiteral("ab")));
    EXPECT_TRUE(broken.contains(QChar(0xFFFD)));
    EXPECT_EQ(TextCodec::fromCodePage("caf\xe9", 1252), QStringLiteral("café"));
}
