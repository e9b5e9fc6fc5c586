// The RTF format as the rest of the program reaches it: through the format
// registry by extension and engine number.
#include "Converter.h"
#include "RtfTestUtil.h"

using namespace model;
using namespace rtftest;

namespace {

TEST(RtfRoundTrip, ThroughTheFormatRegistry) {
    const Document d = oneSection({Block::makeParagraph(para(QStringLiteral("登録 rtf")))});
    const auto& c = formats::Converter::instance();
    const int n = c.openFormat(QStringLiteral("rtf"));
    EXPECT_EQ(n, 5);
    EXPECT_EQ(c.saveFormat(QStringLiteral("RTF")), 5);
    QString error;
    const auto bytes = c.save(d, n, &error);
    ASSERT_TRUE(bytes) << error.toStdString();
    const auto back = c.load(*bytes, n, &error);
    ASSERT_TRUE(back) << error.toStdString();
    EXPECT_SAME_DOC(d, *back);
}

} // namespace
