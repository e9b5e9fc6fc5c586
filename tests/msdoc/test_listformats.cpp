// Number formats and level texts of .doc lists, written and read back.
#include "Document.h"
#include "ListDocs.h"
#include "ListNumbers.h"
#include "MsDoc.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace model;

TEST(DocListFormats, EveryFormatAndLevelTextSurvivesWritingAndReading) {
    const Document d = listdocs::numberFormats();
    QString error;
    const auto back = msdoc::read(msdoc::write(d), &error);
    ASSERT_TRUE(back.has_value()) << error.toStdString();
    ASSERT_EQ(back->lists.size(), 1u);
    const ListDef& l = back->lists[0];
    ASSERT_EQ(l.levels.size(), d.lists[0].levels.size());
    for (size_t k = 0; k < l.levels.size(); ++k) {
        EXPECT_EQ(l.levels[k].format, d.lists[0].levels[k].format) << k;
        EXPECT_EQ(l.levels[k].text, d.lists[0].levels[k].text) << k;
        EXPECT_EQ(l.levels[k].start, d.lists[0].levels[k].start) << k;
    }
    ListNumbering n(*back);
    QStringList labels;
    for (const Block& b : back->sections[0].blocks)
        labels << n.next(b.paragraph.format);
    EXPECT_EQ(labels,
              QStringList({"Section 1.", "②", "第一章", "(I)", "a)", "１．", "一", "壱", "1.A"}));
}
