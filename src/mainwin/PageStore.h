#pragma once
// Moving pages between the editor and the document database: filing the
// edited document under a code page or at a place of the page tree, writing
// its document row, and bringing a page back into the editor. The rows of
// one page are written in one transaction, both or neither; a database
// error is shown to the user and leaves nothing half-written.

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class QWidget;
class uTrX;
class uTxm;

class PageStore {
public:
    // Shows a status text (the function-key bar's message panel).
    using StatusFn = std::function<void(const QString&)>;

    PageStore(uTxm& txm, StatusFn fnStatus, QWidget* owner = nullptr);

    // Files the editor's document under the code page `sPrNm` (number
    // `sPrNo`): asks for the title, offers to overwrite a page of the same
    // title there, writes the place and the document. True when written.
    // With other users on the same database: a same-titled page another
    // user filed after the question is asked about too, and overwriting a
    // page another user changed since it was imported here is asked about
    // (overwrite, keep both, or cancel).
    bool SaveToCode(const QString& sPrNm, const QString& sPrNo);
    // Asks for the title and lets the user pick a place for the new page in
    // the page-tree dialog. True when the page was written.
    bool ExportToTree();
    // Writes the editor's document as the new page `sTitle` at the pending
    // place of `tree` (document row, tree row and the siblings' order).
    bool NewDocRow(const QString& sTitle, uTrX& tree);
    // Brings a page chosen in the page-tree dialog into the editor:
    // replacing the document, or with `bIns` inserting it at the caret (the
    // dialog may ask to append it instead). True when a page came in.
    bool ImportPage(bool bIns);
    // Puts a chosen page into the editor as ImportPage does. Replacing asks
    // the editor's save question first; Cancel keeps the edited page.
    bool PutPage(const QString& sSz, const QByteArray& yDt, bool bApn, bool bIns);
    // Opens the page-tree dialog for looking at pages.
    void ReferPages();

    // The status texts of a page filed under a code page and of an import.
    static QString FiledText(const QString& sPrNm, const QString& sTitle, bool bNew);
    static QString ImportedText();

private:
    struct Page {
        QByteArray yDt;
        QString sTx;
    };
    std::optional<QString> AskTitle() const;
    bool Fetch(Page& pg) const;
    // Runs `fnWrite` in one transaction and commits it. On any failure
    // (`fnWrite` false with the reason in `sErr`, a database error, a failed
    // commit) the user is told and every write of it is dropped.
    // `bQuiet` set by `fnWrite` drops the writes without telling the user
    // (the caller asks its question and tries again).
    bool InOneTxn(const std::function<bool(QString& sErr)>& fnWrite,
                  const bool* bQuiet = nullptr) const;
    // The same-title question; Yes to overwrite.
    bool AskOverwrite(const QString& sPrNm) const;
    bool HasDocument() const;
    void Failed(const QString& sWhy) const;
    void Status(const QString& s) const;

    // The page last brought into the editor in place of its document: its
    // title and the stamp of the stored version it came from, so that
    // filing it over a page another user changed since is asked first.
    struct Imported {
        QString sSz;
        QByteArray yStamp;
    };
    std::optional<Imported> imported_;

    uTxm& txm_;
    StatusFn fnStatus_;
    QWidget* owner_;
};
