#pragma once
// The settings store: the user environment file "User.xml", a flat two-level
// tag text (groups holding named values) kept in memory from start-up to
// shut-down, plus the start-up operations that belong to the same class
// (user data folder, special folders) and the shell integration calls.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <stdexcept>

class yIni {
public:
    // Raised by vGtVal when a stored Boolean is neither True nor False.
    struct ValueError : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    // Raised by SetGtx when the root end tag is missing.
    struct DocumentError : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    // Owner window for shell calls (unused on this platform beyond bookkeeping).
    qintptr nWhnd = 0;
    QString sXmlPh;
    QString sXml;
    QString sGrp;
    QString sGrpNm;

    // --- the user environment file ---
    void GetTxt(const QString& sFL, bool& bOk);
    void GetGtx(const QString& sGp);
    QString vGtVal(const QString& sKy, const QString& vDef) const;
    QString vGtVal(const QString& sKy, const char* vDef) const {
        return vGtVal(sKy, QString::fromUtf8(vDef));
    }
    bool vGtVal(const QString& sKy, bool vDef) const; // throws ValueError
    double vGtVal(const QString& sKy, double vDef) const;
    int vGtVal(const QString& sKy, int vDef) const;
    QDateTime vGtVal(const QString& sKy, const QDateTime& vDef) const;
    void SetVal(const QString& sKy, const QString& vVL);
    void SetVal(const QString& sKy, const char* vVL) { SetVal(sKy, QString::fromUtf8(vVL)); }
    void SetVal(const QString& sKy, bool vVL);
    void SetVal(const QString& sKy, int vVL);
    void SetVal(const QString& sKy, double vVL);
    void SetGtx(); // throws DocumentError when "</運用>" is missing
    void SetTxt(bool& bOk);

    // --- start-up (user data folder) ---
    void W_UserData(qintptr whnd);
    static void F_ChkSb(const QString& sPh, const QStringList& names);
    static void F_CreateFld(const QString& sFd);
    static QString FsGtSpFld(int nFlg);

    // --- shell integration (yIniShell.cpp) ---
    // Opens a file, folder or address with its associated program (bOpn), or
    // shows an existing folder in the file manager (!bOpn). Silent on failure.
    static void W_ExpFd(const QString& sFld, bool bOpn);
    // W_ExpFd(sPh, true).
    static void OpenPath(const QString& sPh);
    // Puts a desktop entry for the program into the applications folder, so
    // the file manager's "Open With" offers it for documents, and says so.
    void W_SendTo();
    // The folder picker; sPh in: start folder, out: chosen folder or empty.
    static void BrowseFld(QString& sPh, QString sTtl = {}, int nRoot = 0, int nFlags = 0);
    // Open an address through a link file in the user data folder.
    static void W_Help(const QString& sJob);
    static void W_HtmView(const QString& sUrl);
    // The base address of the help pages used by W_Help.
    static QString HelpBase();

    static QString MakeTag(int nMode, const QString& sTag, const QString& vVL);

private:
    QString GetTag(int nMode, const QString& sTag) const;
};

// The process-wide settings object (created on first use).
yIni& settings();

// The fresh document header and root name.
inline constexpr char16_t kIniRoot[] = u"運用";
