// The file pane's name patterns.
#include "uTrEMatch.h"

#include <gtest/gtest.h>

using namespace uTrEMatch;

TEST(uTrEMatch, DocumentPatternsAreLowerCasedAndCaseSensitive) {
    const auto docs = docPatterns(QStringLiteral("*.Doc;*.Docx"));
    EXPECT_TRUE(isDoc(QStringLiteral("test.doc"), docs));
    EXPECT_TRUE(isDoc(QStringLiteral("報告.docx"), docs));
    EXPECT_FALSE(isDoc(QStringLiteral("TEST.DOC"), docs));
    EXPECT_FALSE(isDoc(QStringLiteral("test.Doc"), docs));
    EXPECT_FALSE(isDoc(QStringLiteral("test.doc.txt"), docs));
    EXPECT_TRUE(isDoc(QStringLiteral("ANY.THING"), docPatterns(QString())));
    EXPECT_TRUE(isDoc(QStringLiteral("a.rtf"), docPatterns(QStringLiteral(" ; *.RTF ;"))));
}

TEST(uTrEMatch, LikeWildcards) {
    struct Case {
        const char* name;
        const char* pattern;
        bool match;
    };
    const Case cases[] = {
        {"a1.doc", "a#.doc", true},
        {"ab.doc", "a#.doc", false},
        {"a１.doc", "a#.doc", false}, // a full-width digit is no digit here
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"b.txt", "[a-c].txt", true},
        {"d.txt", "[a-c].txt", false},
        {"d.txt", "[!a-c].txt", true},
        {"-.txt", "[a-].txt", true},
        {"^.txt", "[^].txt", true},
        {"\\.txt", "[\\].txt", true},
        {"a+b(1).doc", "a+b(1).doc", true},
        {"axb(1).doc", "a+b(1).doc", false},
        {"a.doc", "[a.doc", false},
        {"", "*", true},
        {"x\ny", "x*y", true},
        {"ab", "a[]b", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(like(QString::fromUtf8(c.name), QString::fromUtf8(c.pattern)), c.match)
            << c.name << " like " << c.pattern;
}

TEST(uTrEMatch, ListFiltersTakeStarDotStarForEveryFile) {
    EXPECT_EQ(listFilters(QStringLiteral("*.*")), QStringList({"*"}));
    EXPECT_EQ(listFilters(QStringLiteral("*.doc; *.rtf")), QStringList({"*.doc", "*.rtf"}));
    EXPECT_EQ(listFilters(QString()), QStringList({"*"}));
}
