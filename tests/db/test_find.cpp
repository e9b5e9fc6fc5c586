// The find through the full-text indexes against a plain reading of what it
// must answer: every word somewhere in the column, literally, ASCII letters
// in either case; titles in title order.
#include "Db.h"
#include "DbFind.h"
#include "DbSql.h"
#include "DbTestUtil.h"
#include "FindCommand.h"
#include "Recordset.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>
#include <algorithm>
#include <map>

using namespace Usr;

namespace {

struct Page {
    QString sz, tx;
};

// What the find must answer, worked out without SQL.
QList<FoundDoc> Expected(const std::map<qint64, Page>& pages, const QString& words, bool titles) {
    const QStringList w = words.split(u' ', Qt::SkipEmptyParts);
    QList<FoundDoc> out;
    for (const auto& [no, p] : pages) {
        const QString col = AsciiLower(titles ? p.sz : p.tx);
        if (std::all_of(w.begin(), w.end(),
                        [&](const QString& x) { return col.contains(AsciiLower(x)); }))
            out.append({no, p.sz});
    }
    // Titles sort as the column's collation does: ASCII case folded, then
    // by UTF-8 bytes; equal titles by number.
    std::sort(out.begin(), out.end(), [](const FoundDoc& a, const FoundDoc& b) {
        const QByteArray x = AsciiLower(a.szDoc).toUtf8(), y = AsciiLower(b.szDoc).toUtf8();
        return x != y ? x < y : a.noDoc < b.noDoc;
    });
    return out;
}

QList<FoundDoc> Found(const QString& words, bool titles) {
    bool ok = false;
    QList<FoundDoc> out =
        DbFind(words, titles ? QStringLiteral("szDoc") : QStringLiteral("txDoc"), ok);
    EXPECT_TRUE(ok) << words.toStdString();
    return out;
}

// Writes a page the way the program does: through an updatable recordset on
// the document-row statement, adding the row when it is not there.
void WritePage(qint64 no, const Page& p) {
    Recordset rs;
    bool ok = false;
    DbOpenRs(DbSql::WithNo(DbSql::kDocRow, no), rs, true, ok);
    ASSERT_TRUE(ok);
    if (rs.Eof()) {
        rs.AddNew();
        rs.SetField(QStringLiteral("noDoc"), no);
    }
    rs.SetField(QStringLiteral("szDoc"), p.sz);
    rs.SetField(QStringLiteral("txDoc"), p.tx);
    ASSERT_TRUE(rs.Update());
    rs.Close();
}

void DeletePage(qint64 no) {
    bool ok = false;
    qint64 n = 0;
    DbExec(QStringLiteral("Delete From msDoc Where noDoc = %1").arg(no), ok, n);
    ASSERT_TRUE(ok);
}

// Japanese and Latin text with the characters that are special somewhere:
// LIKE's wildcards and escape, quotes, FTS5's phrase quote, a character
// outside the BMP, ASCII letters in both cases and non-ASCII ones with case.
const QStringList kAlphabet = {
    QStringLiteral("保"), QStringLiteral("存"), QStringLiteral("見"), QStringLiteral("出"),
    QStringLiteral("本"), QStringLiteral("文"), QStringLiteral("の"), QStringLiteral("を"),
    QStringLiteral("ｶ"),  QStringLiteral("ﾞ"),  QStringLiteral("a"),  QStringLiteral("A"),
    QStringLiteral("b"),  QStringLiteral("B"),  QStringLiteral("Ä"),  QStringLiteral("ä"),
    QStringLiteral("1"),  QStringLiteral("%"),  QStringLiteral("_"),  QStringLiteral("'"),
    QStringLiteral("?"),  QStringLiteral("\\"), QStringLiteral("\""), QStringLiteral(" "),
    QStringLiteral("𠀋"), QStringLiteral("\n")};

QString RandomText(QRandomGenerator& rng, int maxLen) {
    QString s;
    const int n = int(rng.bounded(maxLen + 1));
    for (int i = 0; i < n; ++i)
        s += kAlphabet[rng.bounded(int(kAlphabet.size()))];
    return s;
}

// A query of one to three words of one to eight characters, mostly cut
// from the pages so that it finds something, sometimes made up.
QString RandomQuery(QRandomGenerator& rng, const std::map<qint64, Page>& pages, bool titles) {
    QStringList words;
    const int n = 1 + int(rng.bounded(3));
    for (int i = 0; i < n; ++i) {
        const int len = 1 + int(rng.bounded(8));
        QString w;
        if (!pages.empty() && rng.bounded(4) != 0) {
            auto it = pages.begin();
            std::advance(it, rng.bounded(int(pages.size())));
            const QString src = titles ? it->second.sz : it->second.tx;
            if (src.size() > 0) {
                const int at = int(rng.bounded(int(src.size())));
                w = src.mid(at, len);
            }
        }
        if (w.isEmpty())
            w = RandomText(rng, len);
        // The find box splits at spaces; a half surrogate would be no text.
        w.replace(u' ', u'x');
        if (!w.isEmpty() && w.back().isHighSurrogate())
            w.chop(1);
        if (!w.isEmpty() && w.front().isLowSurrogate())
            w.remove(0, 1);
        // Sometimes in the other letter case.
        if (rng.bounded(3) == 0)
            w = w.toUpper();
        if (!w.isEmpty())
            words << w;
    }
    return words.join(rng.bounded(2) ? QStringLiteral(" ") : QStringLiteral("  "));
}

void CheckQueries(QRandomGenerator& rng, const std::map<qint64, Page>& pages, int nQueries) {
    for (int i = 0; i < nQueries; ++i) {
        const bool titles = rng.bounded(2) == 0;
        const QString q = RandomQuery(rng, pages, titles);
        ASSERT_EQ(Found(q, titles), Expected(pages, q, titles))
            << (titles ? "title find: " : "text find: ") << q.toStdString();
    }
}

// Builds a database the way the program created them before the indexes.
QString OldDatabase(const QString& dir, int nPages) {
    const QString path = dir + QStringLiteral("/old.txdb");
    QStringList sql = {
        QStringLiteral("Create Table msDoc (noDoc INTEGER NOT NULL PRIMARY KEY, boUse INTEGER,"
                       " boCod INTEGER, szDoc TEXT COLLATE NOCASE, txDoc TEXT, obDoc BLOB,"
                       " dyUdt TEXT, wkRnd REAL)"),
        QStringLiteral("Create Table tbTree (noLfP INTEGER NOT NULL, noLfC INTEGER NOT NULL,"
                       " inSrt INTEGER, szDoc TEXT, boUse INTEGER, boLnk INTEGER, dyUdt TEXT,"
                       " dyUdt_P TEXT, dyPub TEXT, boHide INTEGER, boHogo INTEGER)"),
        QStringLiteral("Create Table kaUsr (DmFmt TEXT)"),
        QStringLiteral("Insert Into kaUsr Values ('1')"), QStringLiteral("Begin")};
    for (int i = 0; i < nPages; ++i)
        sql << QStringLiteral("Insert Into msDoc (noDoc, szDoc, txDoc) Values (%1, '頁%1',"
                              " '本文 %1 保存')")
                   .arg(1000 + i);
    sql << QStringLiteral("Commit");
    EXPECT_TRUE(RunOnFile(path, sql));
    return path;
}

} // namespace

// Random pages written, rewritten and deleted the way the program writes
// them; after every round, random queries answer exactly what the plain
// reading answers.
TEST_P(EngineTest, FindMatchesThePlainReadingThroughEveryChange) {
    OpenOk(NewDb());
    ASSERT_EQ(FtsPresent(), !Server()); // a server's indexes are part of its tables
    QRandomGenerator rng(20261208);
    std::map<qint64, Page> pages;
    qint64 next = 1000;
    for (int round = 0; round < 6; ++round) {
        for (int i = 0; i < 40; ++i) {
            const Page p{RandomText(rng, 12), RandomText(rng, 60)};
            WritePage(next, p);
            pages[next++] = p;
        }
        // Rewrite some pages (title, text or both), delete others, and put a
        // deleted number back: the pair index catches up on all of them.
        for (int i = 0; i < 15 && !pages.empty(); ++i) {
            auto it = pages.begin();
            std::advance(it, rng.bounded(int(pages.size())));
            if (rng.bounded(3) == 0) {
                DeletePage(it->first);
                pages.erase(it);
                continue;
            }
            Page p = it->second;
            if (rng.bounded(2))
                p.sz = RandomText(rng, 12);
            else
                p.tx = RandomText(rng, 60);
            WritePage(it->first, p);
            it->second = p;
        }
        if (round == 3) {
            const Page p{QStringLiteral("戻り"), QStringLiteral("保存した本文")};
            DeletePage(pages.begin()->first);
            WritePage(pages.begin()->first, p);
            pages.begin()->second = p;
        }
        CheckQueries(rng, pages, 60);
    }
    // Without words: every page by title.
    EXPECT_EQ(Found(QStringLiteral("   "), true), Expected(pages, QString(), true));
}

TEST_P(EngineTest, FindWordsAreLiteral) {
    OpenOk(NewDb());
    WritePage(1000, {QStringLiteral("100 yen"), QStringLiteral("a-b 見出")});
    WritePage(1001, {QStringLiteral("100%"), QStringLiteral("a_b 見")});
    WritePage(1002, {QStringLiteral("It's \"quoted\""), QStringLiteral("C:\\temp 保存")});
    const auto nos = [](const QList<FoundDoc>& found) {
        QList<qint64> out;
        for (const FoundDoc& d : found)
            out << d.noDoc;
        return out;
    };
    EXPECT_EQ(nos(Found(QStringLiteral("100%"), true)), QList<qint64>{1001});
    EXPECT_EQ(nos(Found(QStringLiteral("%"), true)), QList<qint64>{1001});
    EXPECT_EQ(nos(Found(QStringLiteral("a_b"), false)), QList<qint64>{1001});
    EXPECT_EQ(nos(Found(QStringLiteral("_"), false)), QList<qint64>{1001});
    EXPECT_EQ(nos(Found(QStringLiteral("\\t"), false)), QList<qint64>{1002});
    EXPECT_EQ(nos(Found(QStringLiteral("\"QUOTED\""), true)), QList<qint64>{1002});
    EXPECT_EQ(nos(Found(QStringLiteral("it's"), true)), QList<qint64>{1002});
    // Two-character Japanese words come from the pair index.
    EXPECT_EQ(nos(Found(QStringLiteral("見出"), false)), QList<qint64>{1000});
    EXPECT_EQ(nos(Found(QStringLiteral("保存"), false)), QList<qint64>{1002});
    EXPECT_EQ(nos(Found(QStringLiteral("見"), false)), (QList<qint64>{1000, 1001}));
}

// A database made before the indexes gets them when it is opened; a large
// one shows the progress display, and Cancel leaves it as it was, still
// searchable by scanning.
TEST_F(DbTest, OldDatabaseIsIndexedWhenOpened) {
    const QString dir = TestEnv::freshDir(QStringLiteral("db"));
    const QString path = OldDatabase(dir, 2500);
    prompter.cancelProgressAt(1000);
    OpenOk(path);
    ASSERT_EQ(prompter.calls.size(), 1);
    EXPECT_EQ(prompter.calls[0].kind, QStringLiteral("progress"));
    EXPECT_EQ(prompter.calls[0].detail, QStringLiteral("2500"));
    EXPECT_FALSE(FtsPresent());
    EXPECT_EQ(Found(QStringLiteral("頁1234 保存"), true).size(), 0);
    EXPECT_EQ(Found(QStringLiteral("1234 保存"), false).size(), 1);
    DbClose();

    OpenOk(path); // not cancelled this time
    EXPECT_TRUE(FtsPresent());
    EXPECT_EQ(Found(QStringLiteral("1234 保存"), false).size(), 1);
    EXPECT_EQ(Found(QStringLiteral("本文 保存"), false).size(), 2500);
    // From now on the indexes follow every change.
    WritePage(1234, {QStringLiteral("新しい頁"), QStringLiteral("改めた本文")});
    EXPECT_EQ(Found(QStringLiteral("1234 保存"), false).size(), 0);
    EXPECT_EQ(Found(QStringLiteral("改め"), false).size(), 1);
    EXPECT_EQ(Found(QStringLiteral("新しい"), true).size(), 1);
}

// A database that cannot be written is searched as it is: the trigram index
// (kept by the triggers) still serves, the pair index only while it has
// nothing to catch up on, and nothing is written.
TEST_F(DbTest, ReadOnlyDatabaseIsSearchedWithoutWriting) {
    const QString path = NewDb();
    OpenOk(path);
    WritePage(1000, {QStringLiteral("日記"), QStringLiteral("保存の本文")});
    ASSERT_EQ(Found(QStringLiteral("保存"), false).size(), 1); // the queue is taken up
    WritePage(1001, {QStringLiteral("日報"), QStringLiteral("本文を保存")}); // queued again
    DbClose();
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    OpenOk(path);
    EXPECT_EQ(Found(QStringLiteral("保存"), false).size(), 2);
    EXPECT_EQ(Found(QStringLiteral("の本文"), false).size(), 1);
    EXPECT_EQ(Found(QStringLiteral("日"), true).size(), 2);
    DbClose();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

// The find for scripts lists what the panel lists, number and title a line,
// and refuses a file that is not a document database with the program's
// message.
TEST_P(EngineTest, FindCommandPrintsThePanelsResults) {
    const QString path = NewDb();
    OpenOk(path);
    WritePage(1001, {QStringLiteral("議事録 b"), QStringLiteral("予算の保存")});
    WritePage(1000, {QStringLiteral("議事録 a"), QStringLiteral("保存した")});
    WritePage(1002, {QStringLiteral("日記"), QStringLiteral("予算")});
    DbClose();
    const auto run = [](const QStringList& args, QString& out, QString& err) {
        QTextStream o(&out), e(&err);
        return RunFindCommand(args, o, e);
    };
    QString out, err;
    EXPECT_EQ(run({"--headless", "--find", "保存", "--db", path}, out, err), 0);
    EXPECT_EQ(out, QStringLiteral("1000\t議事録 a\n1001\t議事録 b\n"));
    out.clear();
    EXPECT_EQ(run({"--headless", "--find", "議事録", "--db", path, "--titles"}, out, err), 0);
    EXPECT_EQ(out, QStringLiteral("1000\t議事録 a\n1001\t議事録 b\n"));
    out.clear();
    EXPECT_EQ(run({"--find", "", "--db", path, "--titles"}, out, err), 0);
    EXPECT_EQ(out.count(u'\n'), 3);

    // Not a document database: the program's message, and a failure.
    const QString text = TestEnv::freshDir(QStringLiteral("db")) + QStringLiteral("/note.txt");
    TestEnv::writeFile(text, "just text");
    out.clear();
    testing::internal::CaptureStderr();
    EXPECT_EQ(run({"--headless", "--find", "x", "--db", text}, out, err), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "DataBase Open Error !!\n");
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(run({"--find", "x"}, out, err), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("usage")));
    EXPECT_FALSE(DbIsOpen());
}
