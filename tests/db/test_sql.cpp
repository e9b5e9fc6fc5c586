// Filling values into statements, the find statement, stored dates and
// data-link files: the text work that needs no database.
#include "DbDate.h"
#include "DbFile.h"
#include "DbSql.h"
#include "TestEnv.h"

#include <QDateTime>
#include <QDir>
#include <QStringEncoder>
#include <gtest/gtest.h>

using DbSql::FillSql;

TEST(FillSql, DoublesApostrophesAndKeepsQuestionMarks) {
    QString sql = QString::fromLatin1(DbSql::kDupTitle);
    FillSql(sql, {1000, QStringLiteral("it's a what?")});
    EXPECT_EQ(
        sql, QStringLiteral("Select noLfC From tbTree Where noLfP=1000 And szDoc='it''s a what?'"));

    // A value's "?" never takes the next value.
    QString two = QStringLiteral("a=?, b=?");
    FillSql(two, {QStringLiteral("??"), QStringLiteral("x")});
    EXPECT_EQ(two, QStringLiteral("a=??, b=x"));

    // Null inserts nothing; surplus values are ignored, surplus "?" stay.
    QString partial = QStringLiteral("?-?-?");
    FillSql(partial, {QVariant(), 1});
    EXPECT_EQ(partial, QStringLiteral("-1-?"));
    QString full = QStringLiteral("?");
    FillSql(full, {7, 8, 9});
    EXPECT_EQ(full, QStringLiteral("7"));
}

TEST(WithNo, NumberAppended) {
    EXPECT_EQ(DbSql::WithNo(DbSql::kChildCount, -12),
              QStringLiteral("Select Count(*) From tbTree Where noLfP= -12"));
}

TEST(DbDate, TextAndValue) {
    const QDate d(2024, 2, 29);
    EXPECT_EQ(DbDate::Text(d), QStringLiteral("2024-02-29"));
    const QDateTime dt(d, QTime(7, 5, 9));
    EXPECT_EQ(DbDate::Text(dt), QStringLiteral("2024-02-29 07:05:09"));
    EXPECT_EQ(DbDate::Value(DbDate::Text(dt)), dt);
    EXPECT_EQ(DbDate::Value(QStringLiteral("2024-02-29T07:05:09")), dt);
    EXPECT_EQ(DbDate::Value(QStringLiteral("2024-02-29")), d.startOfDay());
    EXPECT_FALSE(DbDate::Value(QStringLiteral("2024-02-30")).isValid());
    EXPECT_FALSE(DbDate::Value(QStringLiteral("yesterday")).isValid());
    EXPECT_FALSE(DbDate::Value(QVariant()).isValid());
}

namespace {
QByteArray Utf16Udl(const QString& init) {
    const QString text = QStringLiteral("[oledb]\r\n; Everything after this line is an OLE DB "
                                        "initstring\r\n") +
                         init + QStringLiteral("\r\n");
    return QByteArray("\xFF\xFE", 2) + QStringEncoder(QStringEncoder::Utf16LE).encode(text);
}
} // namespace

TEST(Udl, ProvidersSourcesAndEncodings) {
    const QString folder = QStringLiteral("/data/links");
    // UTF-16LE with BOM, Windows relative path with backslashes.
    auto u = DbFile::ParseUdl(Utf16Udl(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data "
                                                      "Source=sub\\文書.mdb;Persist Security "
                                                      "Info=False")),
                              folder);
    EXPECT_TRUE(u.bServable);
    EXPECT_EQ(u.sSource, QStringLiteral("/data/links/sub/文書.mdb"));

    // UTF-8, absolute path, quoted value holding a ";", keys in any case.
    u = DbFile::ParseUdl("[oledb]\n; comment\nprovider = Microsoft.ACE.OLEDB.12.0 ;DATA SOURCE="
                         "\"/srv/a;b.txdb\";Mode=Share Deny None\n",
                         folder);
    EXPECT_TRUE(u.bServable);
    EXPECT_EQ(u.sSource, QStringLiteral("/srv/a;b.txdb"));

    // Providers we cannot stand in for, and links without a source.
    u = DbFile::ParseUdl(Utf16Udl(QStringLiteral("Provider=SQLOLEDB.1;Data Source=server01")),
                         folder);
    EXPECT_FALSE(u.bServable);
    EXPECT_EQ(u.sProvider, QStringLiteral("SQLOLEDB.1"));
    EXPECT_FALSE(DbFile::ParseUdl("Data Source=x.txdb", folder).bServable); // no provider
    EXPECT_FALSE(DbFile::ParseUdl("[oledb]\n; only a comment\n", folder).bServable);
    EXPECT_FALSE(
        DbFile::ParseUdl("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=", folder).bServable);

    EXPECT_TRUE(DbFile::IsUdl(QStringLiteral("/x/LINK.UDL")));
    EXPECT_TRUE(DbFile::IsUdl(QStringLiteral("/x/link.Udl")));
    EXPECT_FALSE(DbFile::IsUdl(QStringLiteral("/x/link.udl.txdb")));
}
