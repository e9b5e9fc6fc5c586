#include "PageStore.h"

#include "Db.h"
#include "DbLevel.h"
#include "DbPage.h"
#include "DbSchema.h"
#include "DbSql.h"
#include "DbTxn.h"
#include "Prompter.h"
#include "sbTrX.h"
#include "uTrX.h"
#include "uTxm.h"

#include <algorithm>

namespace {

QString Text(const char* s) {
    return QString::fromUtf8(s);
}

constexpr char kEmpty[] = "現在の文書が空です";
constexpr char kAskTitle[] = "表題を指定して下さい";
constexpr char kTitleCaption[] = "表題";
constexpr char kSameTitle[] = "の中に同一の表題の文書があります　上書きして良いですか";
constexpr char kAdded[] = "追加";
constexpr char kUpdated[] = "更新";
constexpr char kImported[] = "ｲﾝﾎﾟｰﾄしました";
constexpr char kWriteFailed[] = "文書DBに書き込めませんでした。文書DBは変更されていません";
constexpr char kNoData[] = "現在の文書を保存用に取り出せませんでした";
constexpr char kImportFailed[] = "文書をｲﾝﾎﾟｰﾄできませんでした";
constexpr char kNoCode[] = " はｺｰﾄﾞﾍﾟｰｼﾞではありません";
constexpr char kChangedMeanwhile[] =
    "の中の同じ表題の文書は、ｲﾝﾎﾟｰﾄした後に他の利用者が変更しています。上書きして良いですか\r"
    "(いいえ: 両方を残し、新しい文書として保存します)";
constexpr char kNoPlace[] = "ﾂﾘｰに新しいﾍﾟｰｼﾞの位置がありません";

} // namespace

PageStore::PageStore(uTxm& txm, StatusFn fnStatus, QWidget* owner)
    : txm_(txm), fnStatus_(std::move(fnStatus)), owner_(owner) {}

QString PageStore::FiledText(const QString& sPrNm, const QString& sTitle, bool bNew) {
    return sPrNm + QStringLiteral(" / ") + sTitle + QStringLiteral(" を") +
           Text(bNew ? kAdded : kUpdated) + QStringLiteral("しました");
}

QString PageStore::ImportedText() {
    return Text(kImported);
}

void PageStore::Status(const QString& s) const {
    if (fnStatus_)
        fnStatus_(s);
}

void PageStore::Failed(const QString& sWhy) const {
    QString s = Text(kWriteFailed);
    if (!sWhy.isEmpty())
        s += u'\r' + sWhy;
    Prompter::instance().message(s, Prompter::Buttons::Ok, Prompter::Icon::Warning);
}

bool PageStore::HasDocument() const {
    if (txm_.bHaveData())
        return true;
    Prompter::instance().message(Text(kEmpty));
    return false;
}

std::optional<QString> PageStore::AskTitle() const {
    const std::optional<QString> s =
        Prompter::instance().input(Text(kAskTitle), Text(kTitleCaption), txm_.Title());
    // A title of blanks names nothing.
    if (!s || s->trimmed().isEmpty())
        return std::nullopt;
    return s;
}

bool PageStore::Fetch(Page& pg) const {
    QString sTtl;
    bool bOk = false;
    txm_.GetData(pg.yDt, pg.sTx, sTtl, bOk);
    if (!bOk)
        Prompter::instance().message(Text(kNoData), Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return bOk;
}

bool PageStore::InOneTxn(const std::function<bool(QString& sErr)>& fnWrite,
                         const bool* bQuiet) const {
    Usr::DbTxn txn;
    if (!txn.Active()) {
        Failed(txn.LastError());
        return false;
    }
    QString sErr;
    try {
        if (!fnWrite(sErr)) {
            if (!bQuiet || !*bQuiet)
                Failed(sErr);
            return false;
        }
    } catch (const Usr::DbError& e) {
        Failed(QString::fromStdString(e.what()));
        return false;
    }
    if (!txn.Commit()) {
        Failed(txn.LastError());
        return false;
    }
    return true;
}

bool PageStore::SaveToCode(const QString& sPrNm, const QString& sPrNo) {
    bool bNum = false;
    const qint64 nP = sPrNo.trimmed().toLongLong(&bNum);
    if (!bNum || !HasDocument())
        return false;
    // The menu may be older than the database: a page that is no longer a
    // code page (or a number that names none) takes nothing.
    const QList<DbPage::CodePage> aCods = DbPage::CodePages();
    if (std::none_of(aCods.begin(), aCods.end(),
                     [&](const DbPage::CodePage& c) { return c.nNo == nP; })) {
        Prompter::instance().message(sPrNm + Text(kNoCode), Prompter::Buttons::Ok,
                                     Prompter::Icon::Warning);
        return false;
    }
    QString sTitle;
    qint64 nDup = 0;
    const auto dupOf = [&](qint64& nOut) {
        QString sSql = QString::fromLatin1(DbSql::kDupTitle);
        DbSql::FillSql(sSql, {nP, sTitle});
        nOut = Usr::DbLookup(sSql, 0).toLongLong();
    };
    for (;;) {
        const std::optional<QString> s = AskTitle();
        if (!s)
            return false;
        sTitle = *s;
        try {
            dupOf(nDup);
        } catch (const Usr::DbError& e) {
            Failed(QString::fromStdString(e.what()));
            return false;
        }
        if (nDup == 0 || AskOverwrite(sPrNm))
            break;
    }
    Page pg;
    if (!Fetch(pg))
        return false;
    bool bNew = false;
    bool bBoth = false;   // keep the other user's version beside this one
    QByteArray yAccepted; // the changed version the user chose to overwrite
    for (;;) {
        // What was found under the code page's lock, when the question
        // must be asked (again) before anything is written.
        enum class Ask { None, Dup, Changed } eAsk = Ask::None;
        bool bQuiet = false;
        qint64 nDupNow = 0;
        QByteArray yNow;
        const bool bOk = InOneTxn(
            [&](QString& sErr) {
                // Other users file under the same code page: the duplicate
                // check is made again under its lock.
                if (!DbLevel::Lock(nP, sErr))
                    return false;
                if (!bBoth) {
                    dupOf(nDupNow);
                    if (nDupNow != nDup) {
                        eAsk = Ask::Dup;
                        return !(bQuiet = true);
                    }
                }
                // The imported page itself, its title compared as the
                // database compares titles.
                if (nDup != 0 && imported_ &&
                    DbSql::TitleFold(imported_->sSz) == DbSql::TitleFold(sTitle)) {
                    bool bFound = false;
                    if (!DbPage::Stamp(nDup, yNow, bFound, sErr))
                        return false;
                    if (bFound && yNow != imported_->yStamp && yNow != yAccepted &&
                        yNow != DbPage::StampOf(pg.yDt)) {
                        eAsk = Ask::Changed;
                        return !(bQuiet = true);
                    }
                }
                qint64 nNo = nDup;
                // A page of its own: the place first, then the document; an
                // overwritten page keeps its place as it is.
                if (nDup == 0) {
                    nNo = Usr::DbNewDocNo();
                    if (!DbPage::WriteTreeRow(nP, nNo, sTitle, sErr))
                        return false;
                }
                return DbPage::WriteDoc(nNo, sTitle, pg.sTx, pg.yDt, bNew, sErr);
            },
            &bQuiet);
        if (bOk)
            break;
        if (eAsk == Ask::Dup) {
            // Another user filed (or removed) a page of this title meanwhile.
            nDup = nDupNow;
            if (nDup != 0 && !AskOverwrite(sPrNm))
                return false;
            continue;
        }
        if (eAsk == Ask::Changed) {
            const Prompter::Answer a = Prompter::instance().message(sPrNm + Text(kChangedMeanwhile),
                                                                    Prompter::Buttons::YesNoCancel,
                                                                    Prompter::Icon::Question);
            if (a == Prompter::Answer::Yes) {
                yAccepted = yNow;
            } else if (a == Prompter::Answer::No) {
                nDup = 0;
                bBoth = true;
            } else {
                return false;
            }
            continue;
        }
        return false;
    }
    imported_ = Imported{sTitle, DbPage::StampOf(pg.yDt)};
    Status(FiledText(sPrNm, sTitle, bNew));
    return true;
}

bool PageStore::AskOverwrite(const QString& sPrNm) const {
    return Prompter::instance().message(sPrNm + Text(kSameTitle), Prompter::Buttons::YesNo,
                                        Prompter::Icon::Question) == Prompter::Answer::Yes;
}

bool PageStore::ExportToTree() {
    if (!HasDocument())
        return false;
    const std::optional<QString> s = AskTitle();
    if (!s)
        return false;
    const bool bOk = sbTrX::ActE(
        *s, [this](const QString& sTitle, uTrX& tree) { return NewDocRow(sTitle, tree); }, owner_);
    if (bOk)
        Status(*s + QStringLiteral(" を") + Text(kAdded) + QStringLiteral("しました"));
    return bOk;
}

bool PageStore::NewDocRow(const QString& sTitle, uTrX& tree) {
    if (tree.State().nNewIdx <= 0) {
        Failed(Text(kNoPlace));
        return false;
    }
    Page pg;
    if (!Fetch(pg))
        return false;
    const bool bOk = InOneTxn([&](QString& sErr) {
        const qint64 nNo = Usr::DbNewDocNo();
        bool bNew = false;
        if (!DbPage::WriteDoc(nNo, sTitle, pg.sTx, pg.yDt, bNew, sErr))
            return false;
        tree.UdtNd(sTitle, QString(), nNo);
        // The tree leaves the page pending when its row was not written.
        if (tree.State().nNewIdx > 0)
            return false;
        tree.trSort();
        return true;
    });
    // Written in the tree but not committed: show what is stored.
    if (!bOk && tree.State().nNewIdx == 0)
        tree.RefreshTree();
    return bOk;
}

bool PageStore::ImportPage(bool bIns) {
    QString sSz;
    QByteArray yDt;
    bool bApn = false;
    if (!sbTrX::ActI(sSz, yDt, bApn, owner_))
        return false;
    return PutPage(sSz, yDt, bApn, bIns);
}

bool PageStore::PutPage(const QString& sSz, const QByteArray& yDt, bool bApn, bool bIns) {
    bool bOk = false;
    if (bApn) {
        txm_.ApndData(yDt, bOk);
    } else {
        if (!bIns) {
            // Replacing would lose an edited page: the editor asks first.
            bool bCancel = false;
            txm_.ChkUdt(bCancel);
            if (bCancel)
                return false;
        }
        txm_.SetTitle(sSz);
        if (bIns)
            txm_.InsData(yDt, bOk);
        else
            txm_.SetData(yDt, bOk, true);
    }
    if (!bOk) {
        Prompter::instance().message(Text(kImportFailed), Prompter::Buttons::Ok,
                                     Prompter::Icon::Warning);
        return false;
    }
    // The editor now holds that stored version (appending and inserting
    // keep the editor's own document).
    if (!bApn && !bIns)
        imported_ = Imported{sSz, DbPage::StampOf(yDt)};
    Status(ImportedText());
    return true;
}

void PageStore::ReferPages() {
    sbTrX::ActS(owner_);
}
