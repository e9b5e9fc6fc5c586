// Menu codes, the link strings with the key-set grammar, the key-set table
// and the bar's layout arithmetic: the parts that need no window.
#include "MenuCode.h"
#include "TestHostWindow.h"
#include "uFkyKeySets.h"
#include "uFkyLayout.h"
#include "uFkyLinks.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

TEST(MenuCode, EncodesAndDecodesDigitsAndLetters) {
    EXPECT_EQ(MenuCode::Encode(2, 11), QStringLiteral("2B"));
    EXPECT_EQ(MenuCode::Encode(5, 0), QStringLiteral("50"));
    EXPECT_EQ(MenuCode::Encode(14, 17), QStringLiteral("EH"));
    EXPECT_EQ(MenuCode::sHex(9), QStringLiteral("9"));
    EXPECT_EQ(MenuCode::sHex(10), QStringLiteral("A"));
    EXPECT_EQ(MenuCode::sHex(35), QStringLiteral("Z"));
    for (int n = 0; n <= MenuCode::kMaxValue; ++n)
        EXPECT_EQ(MenuCode::iHex(MenuCode::sHex(n)[0]), n);
    int iMn = -1, iNdx = -1;
    ASSERT_TRUE(MenuCode::Decode(QStringLiteral("2B"), iMn, iNdx));
    EXPECT_EQ(iMn, 2);
    EXPECT_EQ(iNdx, 11);
}

TEST(MenuCode, RejectsWhatIsNoCodeAndReportsIt) {
    HookRecorder hook;
    EXPECT_TRUE(MenuCode::sHex(36).isEmpty());
    EXPECT_TRUE(MenuCode::sHex(-1).isEmpty());
    EXPECT_TRUE(MenuCode::Encode(2, 36).isEmpty());
    // ':' and '@' sit next to the digits and letters; lower case is no code.
    EXPECT_EQ(MenuCode::iHex(QLatin1Char(':')), -1);
    EXPECT_EQ(MenuCode::iHex(QLatin1Char('@')), -1);
    EXPECT_EQ(MenuCode::iHex(QLatin1Char('b')), -1);
    int iMn = 7, iNdx = 7;
    EXPECT_FALSE(MenuCode::Decode(QStringLiteral("2b"), iMn, iNdx));
    EXPECT_FALSE(MenuCode::Decode(QStringLiteral("2"), iMn, iNdx));
    EXPECT_EQ(iMn, 7);
    EXPECT_TRUE(hook.procs.contains(QStringLiteral("sHex")));
    EXPECT_TRUE(hook.procs.contains(QStringLiteral("iHex")));
}

TEST(MenuCode, GroupTable) {
    EXPECT_EQ(MenuCode::GroupArray(1), QStringLiteral("mnJb"));
    EXPECT_EQ(MenuCode::GroupArray(2), QStringLiteral("mnFile"));
    EXPECT_EQ(MenuCode::GroupArray(5), QStringLiteral("mnSelc"));
    EXPECT_EQ(MenuCode::GroupArray(12), QStringLiteral("mnDisp"));
    EXPECT_EQ(MenuCode::GroupArray(16), QStringLiteral("mnRep"));
    EXPECT_TRUE(MenuCode::GroupArray(0).isEmpty());
    EXPECT_TRUE(MenuCode::GroupArray(17).isEmpty());
}

TEST(KeyMap, RelinkingReplacesTheWholeEntry) {
    QString map;
    uFkyLinks::Link(map, QStringLiteral("F2"), QStringLiteral("50"));
    uFkyLinks::Link(map, QStringLiteral("F10"), QStringLiteral("2B"));
    uFkyLinks::Link(map, QStringLiteral("C3"), QStringLiteral("50"));
    EXPECT_EQ(map, QStringLiteral("F2=50,F10=2B,C3=50,"));
    uFkyLinks::Link(map, QStringLiteral("F10"), QStringLiteral("25"));
    uFkyLinks::Link(map, QStringLiteral("F2"), QStringLiteral("53"));
    EXPECT_EQ(map, QStringLiteral("C3=50,F10=25,F2=53,"));
    EXPECT_EQ(uFkyLinks::LinkedCode(map, QStringLiteral("F10")), QStringLiteral("25"));
    EXPECT_TRUE(uFkyLinks::LinkedCode(map, QStringLiteral("F1")).isEmpty());
    EXPECT_EQ(uFkyLinks::LinkedKeys(map, QStringLiteral("50")), QStringList{"C3"});
    // "3=5" occurs in the string, but no key "3" links code "5".
    EXPECT_TRUE(uFkyLinks::LinkedKeys(map, QStringLiteral("5")).isEmpty());
}

TEST(KeySetGrammar, UnclosedGroupRunsToTheEnd) {
    // Code 83 follows the closed group 81 but still belongs to the unclosed group 11.
    const QString map = QStringLiteral("F2=20,F3=51,F4=60,F5=90,C2=7A,C3=01,F6=83,");
    EXPECT_EQ(uFkyLinks::GroupKeys(uFkyKeySets::KeySet(QStringLiteral("Fs10")), map),
              QStringLiteral("10=F2,/11=F3,F5,F4,C3,C2,F6,/56=F5,/12=F4,/81=C3,C2,/70=C3,/"));
}

TEST(KeySetGrammar, NestedGroupsCountForTheOuterGroup) {
    const QString map = QStringLiteral("F2=21,F3=52,F4=02,F5=74,F6=82,");
    EXPECT_EQ(uFkyLinks::GroupKeys(uFkyKeySets::KeySet(QStringLiteral("Rs10")), map),
              QStringLiteral("10=F2,/11=F3,/12=F4,F4,F4,F4,F4,F4,F5,F6,/00=F4,/01=F4,/02=F4,"
                             "/03=F4,/13=F4,/80=F5,/"));
    // Nothing linked: no entries at all.
    EXPECT_TRUE(uFkyLinks::GroupKeys(uFkyKeySets::KeySet(QStringLiteral("Rs10")), {}).isEmpty());
}

TEST(KeySetGrammar, GroupKeyListCollectsEveryEntryOfTheCode) {
    const QString grp = QStringLiteral("10=F2,/11=F3,F4,/110=X,/11=C2,/");
    EXPECT_EQ(uFkyLinks::GroupKeyList(grp, QStringLiteral("11")), QStringLiteral("F3,F4,C2,"));
    EXPECT_TRUE(uFkyLinks::GroupKeyList(grp, QStringLiteral("12")).isEmpty());
}

TEST(KeySetTable, RowsAreWellFormed) {
    const QStringList names = uFkyKeySets::Names();
    ASSERT_EQ(names.size(), 49);
    EXPECT_EQ(names.first(), QStringLiteral("Bt01"));
    EXPECT_EQ(names.indexOf(QStringLiteral("Fs10")), 23);
    EXPECT_EQ(names.last(), QStringLiteral("sbTvw"));
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 49);
    EXPECT_EQ(uFkyKeySets::KeySet(QStringLiteral("Bt01")),
              QStringLiteral("00,10(20,21,22,23),12(70,71,72),80"));
    EXPECT_TRUE(uFkyKeySets::KeySet(QStringLiteral("fmDoc")).isEmpty());

    // Every row: codes of two code characters; dialogs without a leading "00".
    const QRegularExpression code(QStringLiteral("^[0-9A-Z]{2}$"));
    for (const QString& name : names) {
        const QString set = uFkyKeySets::KeySet(name);
        for (const QString& c :
             set.split(QRegularExpression(QStringLiteral("[,()]+")), Qt::SkipEmptyParts))
            EXPECT_TRUE(code.match(c).hasMatch()) << name.toStdString() << " " << c.toStdString();
        EXPECT_EQ(set.startsWith(QStringLiteral("00,")), !name.startsWith(QStringLiteral("sb")))
            << name.toStdString();
        EXPECT_GE(set.count(QLatin1Char('(')), set.count(QLatin1Char(')'))) << name.toStdString();
    }
}

TEST(Layout, ThreeLayoutsInTwips) {
    const uFkyLayout wide = uFkyLayoutFor(12000, 300, QString());
    EXPECT_TRUE(wide.bPanel);
    EXPECT_EQ(wide.rcKeys, QRect(0, 0, 8640, 300));
    EXPECT_EQ(wide.rcPanel, QRect(8640, 0, 3360, 300));

    const uFkyLayout tall = uFkyLayoutFor(6000, 700, QString());
    EXPECT_TRUE(tall.bPanel);
    EXPECT_EQ(tall.rcKeys, QRect(0, 0, 6000, 270));
    EXPECT_EQ(tall.rcPanel, QRect(0, 270, 6000, 430));

    // K = W x 0.72 rounded: 10001 x 0.72 = 7200.72.
    EXPECT_EQ(uFkyLayoutFor(10001, 300, QString()).rcKeys.width(), 7201);

    const uFkyLayout narrow = uFkyLayoutFor(10000, 500, QString());
    EXPECT_FALSE(narrow.bPanel);
    EXPECT_EQ(narrow.rcKeys, QRect(0, 0, 10000, 500));
    EXPECT_FALSE(uFkyLayoutFor(12000, 300, kFullGroupLayout).bPanel);
}
