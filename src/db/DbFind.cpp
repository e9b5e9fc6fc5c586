#include "DbFind.h"
#include "DbConn.h"
#include "Prompter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <limits>
#include <memory>
#include <sqlite3.h>

namespace Usr {

namespace {

// ------------------------------------------------------------ the pair tokenizer

constexpr char kPairTokenizer[] = "folium_pairs";

// Emits every two neighbouring characters of the text as one token. Pairs
// holding a plain space are left out: find words never contain one.
// Bytes that are not UTF-8 count as characters of their own, in documents
// and queries alike.
int PairTokenize(Fts5Tokenizer*, void* ctx, int, const char* text, int size,
                 int (*xToken)(void*, int, const char*, int, int, int)) {
    const auto charEnd = [&](int at) {
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        const int len = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        int end = at + 1;
        while (end < size && end < at + len &&
               (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
        return end;
    };
    if (size <= 0)
        return SQLITE_OK;
    int first = 0;
    int second = charEnd(0);
    while (second < size) {
        const int end = charEnd(second);
        if (text[first] != ' ' && text[second] != ' ') {
            const int rc = xToken(ctx, 0, text + first, end - first, first, end);
            if (rc != SQLITE_OK)
                return rc;
        }
        first = second;
        second = end;
    }
    return SQLITE_OK;
}

int PairCreate(void*, const char**, int, Fts5Tokenizer** out) {
    // The tokenizer keeps no state; FTS5 only needs a non-null handle.
    static char handle;
    *out = reinterpret_cast<Fts5Tokenizer*>(&handle);
    return SQLITE_OK;
}

void PairDelete(Fts5Tokenizer*) {}

sqlite3* Handle(QSqlDatabase& db) {
    const QVariant v = db.driver() ? db.driver()->handle() : QVariant();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.constData());
}

fts5_api* Fts5Api(sqlite3* h) {
    fts5_api* api = nullptr;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(h, "SELECT fts5(?1)", -1, &st, nullptr) != SQLITE_OK)
        return nullptr;
    sqlite3_bind_pointer(st, 1, &api, "fts5_api_ptr", nullptr);
    sqlite3_step(st);
    sqlite3_finalize(st);
    return api;
}

// ------------------------------------------------------------ schema

// Both indexes hold the texts as SQLite's lower() gives them, the same
// folding LIKE applies, so an index match is exactly a LIKE match. They
// are contentless: the triggers hand them the old values to delete.
// The queue names every document changed since the pair index was last
// brought up to date; its first entry for a document holds what the pair
// index has for it (later changes are ignored by "Or Ignore").
constexpr const char* kFtsSchema[] = {
    "Create Virtual Table msDocFts Using fts5(szDoc, txDoc, content='',"
    " tokenize='trigram case_sensitive 1')",
    "Create Virtual Table msDocPairs Using fts5(szDoc, txDoc, content='', detail=column,"
    " tokenize='folium_pairs')",
    "Create Table msDocFtsQ (noDoc INTEGER PRIMARY KEY, bOld INTEGER NOT NULL,"
    " szOld TEXT, txOld TEXT)",
    "Create Trigger msDocFts_i After Insert On msDoc Begin"
    " Insert Into msDocFts(rowid, szDoc, txDoc)"
    " Values (new.noDoc, lower(new.szDoc), lower(new.txDoc));"
    " Insert Or Ignore Into msDocFtsQ(noDoc, bOld) Values (new.noDoc, 0);"
    " End",
    "Create Trigger msDocFts_d After Delete On msDoc Begin"
    " Insert Into msDocFts(msDocFts, rowid, szDoc, txDoc)"
    " Values ('delete', old.noDoc, lower(old.szDoc), lower(old.txDoc));"
    " Insert Or Ignore Into msDocFtsQ(noDoc, bOld, szOld, txOld)"
    " Values (old.noDoc, 1, lower(old.szDoc), lower(old.txDoc));"
    " End",
    "Create Trigger msDocFts_u After Update Of noDoc, szDoc, txDoc On msDoc Begin"
    " Insert Into msDocFts(msDocFts, rowid, szDoc, txDoc)"
    " Values ('delete', old.noDoc, lower(old.szDoc), lower(old.txDoc));"
    " Insert Into msDocFts(rowid, szDoc, txDoc)"
    " Values (new.noDoc, lower(new.szDoc), lower(new.txDoc));"
    " Insert Or Ignore Into msDocFtsQ(noDoc, bOld, szOld, txOld)"
    " Values (old.noDoc, 1, lower(old.szDoc), lower(old.txDoc));"
    " Insert Or Ignore Into msDocFtsQ(noDoc, bOld) Values (new.noDoc, 0);"
    " End",
};

constexpr char kFtsCount[] = "Select count(*) From sqlite_master Where name In"
                             " ('msDocFts', 'msDocPairs', 'msDocFtsQ', 'msDocFts_i',"
                             " 'msDocFts_d', 'msDocFts_u')";

// Rows indexed per step of the build.
constexpr qint64 kBatch = 500;

bool Exec(QSqlQuery& q, const QString& sql, const QVariantList& binds = {}) {
    if (!q.prepare(sql))
        return false;
    for (const QVariant& v : binds)
        q.addBindValue(v);
    return q.exec();
}

qint64 Count(QSqlQuery& q, const QString& sql, const QVariantList& binds = {}) {
    if (!Exec(q, sql, binds) || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

// The queued documents into the pair index, the queue emptied.
bool CatchUpPairs(QSqlDatabase& db) {
    QSqlQuery q(db);
    if (Count(q, QStringLiteral("Select count(*) From msDocFtsQ")) == 0)
        return true;
    if (!db.transaction())
        return false;
    const bool ok = Exec(q, QStringLiteral("Insert Into msDocPairs(msDocPairs, rowid, szDoc, txDoc)"
                                           " Select 'delete', noDoc, szOld, txOld From msDocFtsQ"
                                           " Where bOld = 1")) &&
                    Exec(q, QStringLiteral("Insert Into msDocPairs(rowid, szDoc, txDoc)"
                                           " Select noDoc, lower(szDoc), lower(txDoc) From msDoc"
                                           " Where noDoc In (Select noDoc From msDocFtsQ)")) &&
                    Exec(q, QStringLiteral("Delete From msDocFtsQ"));
    q.finish();
    return ok ? db.commit() : (db.rollback(), false);
}

bool ReadOnly(QSqlDatabase& db) {
    sqlite3* h = Handle(db);
    return !h || sqlite3_db_readonly(h, "main") != 0;
}

// Past this many candidates from an index, the find walks the title index.
constexpr int kManyCandidates = 2000;

// The title index of DbCreate's schema (a database from elsewhere may lack it).
bool HasTitleIndex(QSqlDatabase& db) {
    QSqlQuery q(db);
    return Count(q, QStringLiteral("Select count(*) From sqlite_master Where type = 'index'"
                                   " And name = 'ixDocTitle' And tbl_name = 'msDoc'")) == 1;
}

// A word for LIKE with ESCAPE '\': "%" and "_" stand for themselves.
QString LikePattern(const QString& w) {
    QString p = w;
    p.replace(u'\\', QStringLiteral("\\\\"));
    p.replace(u'%', QStringLiteral("\\%"));
    p.replace(u'_', QStringLiteral("\\_"));
    return u'%' + p + u'%';
}

// Whether the open server database has the character-pair index (one made
// by an earlier version that could not be brought up to date may lack it),
// asked once per connection.
bool ServerHasPairs() {
    static QString asked;
    static bool has = false;
    if (asked != DbConn::Name()) {
        QSqlQuery q;
        has = DbConn::Run(q, QStringLiteral("Select to_regprocedure('folium_pairs(text)')"
                                            " Is Not Null")) &&
              q.next() && q.value(0).toBool();
        asked = DbConn::Name();
    }
    return has;
}

// Whether the server expects few rows to meet `cond` (from its statistics
// of the pairs' frequencies). A pair found on many pages is better left to
// the scan: the planner misjudges how many rows LIKE keeps, and would then
// work the pairs out row by row, many times slower than the scan itself.
bool FewRows(const QString& cond) {
    QSqlQuery q;
    if (!DbConn::Run(q,
                     QStringLiteral("Explain (Format Json) Select 1 From msDoc Where ") + cond) ||
        !q.next())
        return false;
    const QJsonArray plans = QJsonDocument::fromJson(q.value(0).toString().toUtf8()).array();
    const QJsonValue rows = plans.at(0)[QLatin1String("Plan")][QLatin1String("Plan Rows")];
    return rows.isDouble() && rows.toDouble() < kManyCandidates;
}

// A text as an SQL literal (standard strings: only the apostrophe doubles).
QString Literal(const QString& s) {
    return u'\'' + QString(s).replace(u'\'', QStringLiteral("''")) + u'\'';
}

// The find on a server: every word a LIKE of the folded column, served by
// the trigram indexes on the folded texts; words of two characters, which
// trigrams cannot serve, by the index of the folded texts' character
// pairs as well. The words go into the text as literals (already folded),
// so the planner sees them and can use the indexes; standard strings make
// a backslash an ordinary character there.
QList<FoundDoc> FindOnServer(const QStringList& words, const QString& col, bool& bOk) {
    QList<FoundDoc> out;
    const DbSql::Dialect& d = DbConn::Dialect();
    const QString fold = QString::fromLatin1(d.sFold).arg(col);
    QStringList conds;
    QStringList pairs;
    for (const QString& w : words) {
        const QString folded = DbSql::TitleFold(w);
        conds << fold + QStringLiteral(" Like ") + Literal(LikePattern(folded)) +
                     QStringLiteral(" Escape '\\'");
        if (w.toUcs4().size() == 2)
            pairs << Literal(folded);
    }
    if (!pairs.isEmpty() && d.sPairsHold && ServerHasPairs()) {
        const QString hold =
            QString::fromLatin1(d.sPairsHold)
                .arg(col,
                     QStringLiteral("Array[%1]::text[]").arg(pairs.join(QStringLiteral(", "))));
        if (FewRows(hold))
            conds.prepend(hold);
    }
    QString sql = QStringLiteral("Select noDoc, szDoc From msDoc");
    if (!conds.isEmpty())
        sql += QStringLiteral(" Where ") + conds.join(QStringLiteral(" And "));
    sql += QStringLiteral(" Order By ") + QLatin1String(d.sTitleOrder);
    QSqlQuery q;
    if (!DbConn::Run(q, sql))
        return out;
    while (q.next())
        out.append({q.value(0).toLongLong(), q.value(1).toString()});
    bOk = !q.lastError().isValid();
    if (!bOk)
        out.clear();
    return out;
}

} // namespace

bool FtsRegister(QSqlDatabase& db) {
    sqlite3* h = Handle(db);
    fts5_api* api = h ? Fts5Api(h) : nullptr;
    if (!api)
        return false;
    fts5_tokenizer tok{PairCreate, PairDelete, PairTokenize};
    return api->xCreateTokenizer(api, kPairTokenizer, nullptr, &tok, nullptr) == SQLITE_OK;
}

bool FtsCreate(QSqlDatabase& db, const FtsProgress& progress) {
    QSqlQuery q(db);
    for (const char* stmt : kFtsSchema)
        if (!q.exec(QString::fromLatin1(stmt)))
            return false;
    const qint64 nAll = Count(q, QStringLiteral("Select count(*) From msDoc"));
    if (nAll < 0)
        return false;
    // In ranges of document numbers, so the progress can be shown and the
    // build cancelled between steps.
    qint64 nDone = 0;
    QVariant last = std::numeric_limits<qint64>::min();
    while (nDone < nAll) {
        if (progress && !progress(nDone, nAll))
            return false;
        if (!Exec(q,
                  QStringLiteral("Select Max(noDoc), count(*) From (Select noDoc From msDoc"
                                 " Where noDoc > ? Order By noDoc Limit ?)"),
                  {last, kBatch}) ||
            !q.next())
            return false;
        const QVariant upto = q.value(0);
        const qint64 n = q.value(1).toLongLong();
        if (n == 0)
            break;
        for (const char* table : {"msDocFts", "msDocPairs"})
            if (!Exec(q,
                      QStringLiteral("Insert Into %1(rowid, szDoc, txDoc)"
                                     " Select noDoc, lower(szDoc), lower(txDoc) From msDoc"
                                     " Where noDoc > ? And noDoc <= ?")
                          .arg(QLatin1String(table)),
                      {last, upto}))
                return false;
        nDone += n;
        last = upto;
    }
    q.finish();
    return !progress || progress(nAll, nAll);
}

bool FtsPresent() {
    QSqlQuery q;
    return DbConn::Run(q, QString::fromLatin1(kFtsCount)) && q.next() && q.value(0).toInt() == 6;
}

bool FtsEnsure(qint64 nQuietRows) {
    if (DbConn::Name().isEmpty())
        return false;
    if (FtsPresent())
        return true;
    QSqlDatabase db = QSqlDatabase::database(DbConn::Name(), false);
    if (ReadOnly(db) || !FtsRegister(db))
        return false;
    QSqlQuery count(db);
    const qint64 nAll = Count(count, QStringLiteral("Select count(*) From msDoc"));
    count.finish();
    if (nAll < 0 || !db.transaction())
        return false;
    std::unique_ptr<Prompter::Progress> shown;
    if (nAll > nQuietRows)
        shown =
            Prompter::instance().progress(QStringLiteral("文書DBの検索索引を作成しています"), nAll);
    const bool ok =
        FtsCreate(db, [&](qint64 nDone, qint64) { return !shown || shown->step(nDone); });
    shown.reset();
    if (!ok || !db.commit()) {
        db.rollback();
        return false;
    }
    return true;
}

QList<FoundDoc> DbFind(const QString& sWords, const QString& sCol, bool& bOk, bool bIndex) {
    bOk = false;
    QList<FoundDoc> out;
    if (DbConn::Name().isEmpty())
        return out;
    const QString col = sCol.compare(QLatin1String("szDoc"), Qt::CaseInsensitive) == 0
                            ? QStringLiteral("szDoc")
                            : QStringLiteral("txDoc");
    QSqlDatabase db = QSqlDatabase::database(DbConn::Name(), false);
    const QStringList words = sWords.split(u' ', Qt::SkipEmptyParts);
    if (DbConn::Engine() == DbSql::Engine::Postgres)
        return FindOnServer(words, col, bOk);

    // The indexes serve when present; the pair index only while it is
    // current, which a read-only database cannot bring about.
    const bool fts = bIndex && !words.isEmpty() && FtsPresent();
    const bool pairs = fts && FtsRegister(db) && (ReadOnly(db) ? [&] {
        QSqlQuery q(db);
        return Count(q, QStringLiteral("Select count(*) From msDocFtsQ")) == 0;
    }()
                                                               : CatchUpPairs(db));

    // The words of each index go into one query of it, which intersects
    // them itself; words of one character are compared on what is left.
    struct Group {
        QString table;
        QStringList phrases;
        QVariantList words;
    } groups[] = {{QStringLiteral("msDocFts"), {}, {}}, {QStringLiteral("msDocPairs"), {}, {}}};
    QStringList likes;
    QVariantList likeBinds;
    for (const QString& w : words) {
        const qsizetype chars = w.toUcs4().size();
        Group* g = fts && chars >= 3 ? &groups[0] : pairs && chars == 2 ? &groups[1] : nullptr;
        if (!g) {
            likes << col + QStringLiteral(" Like ? Escape '\\'");
            likeBinds << LikePattern(w);
            continue;
        }
        // The word as one phrase of the column, folded as the index is.
        g->phrases
            << QStringLiteral("'%1 : \"' || replace(lower(?), '\"', '\"\"') || '\"'").arg(col);
        g->words << w;
    }
    QStringList conds;
    QVariantList binds;
    bool manyCandidates = true;
    for (const Group& g : groups) {
        if (g.phrases.isEmpty())
            continue;
        const QString match = QStringLiteral("Select rowid From %1 Where %1 Match (%2)")
                                  .arg(g.table, g.phrases.join(QStringLiteral(" || ' AND ' || ")));
        conds << QStringLiteral("noDoc In (") + match + u')';
        binds += g.words;
        // Few candidates are best looked up by number and sorted; many are
        // best met walking the title index, which also gives the order.
        QSqlQuery probe(db);
        if (Count(probe,
                  QStringLiteral("Select count(*) From (") + match +
                      QStringLiteral(" Limit %1)").arg(kManyCandidates),
                  g.words) < kManyCandidates)
            manyCandidates = false;
    }
    conds += likes;
    binds += likeBinds;
    QString sql = QStringLiteral("Select noDoc, szDoc From msDoc");
    if (!likes.isEmpty() || conds.isEmpty())
        manyCandidates = false;
    if (manyCandidates && HasTitleIndex(db))
        sql += QStringLiteral(" Indexed By ixDocTitle");
    if (!conds.isEmpty())
        sql += QStringLiteral(" Where ") + conds.join(QStringLiteral(" And "));
    sql += QStringLiteral(" Order By ") + QLatin1String(DbConn::Dialect().sTitleOrder);

    // Run straight on SQLite: a find may list every page, and rows read
    // through QSqlQuery cost more than the search itself.
    sqlite3* h = Handle(db);
    sqlite3_stmt* st = nullptr;
    const QByteArray text = sql.toUtf8();
    if (!h || sqlite3_prepare_v2(h, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
        return out;
    for (int i = 0; i < binds.size(); ++i) {
        const QByteArray v = binds[i].toString().toUtf8();
        sqlite3_bind_text(st, i + 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const auto* title = static_cast<const char16_t*>(sqlite3_column_text16(st, 1));
        const int bytes = sqlite3_column_bytes16(st, 1);
        out.append({sqlite3_column_int64(st, 0), QString::fromUtf16(title, bytes / 2)});
    }
    sqlite3_finalize(st);
    bOk = rc == SQLITE_DONE;
    if (!bOk)
        out.clear();
    return out;
}

} // namespace Usr
