#pragma once
// zKtl: the companion programs of the tool family. Finds each tool's
// executable (remembered in the registry stand-in, searched for near the
// program's own folder, or chosen by the user), writes the editors'
// parameter record into the work folder, starts the tool with the record's
// path and, for the editors, waits for it and reads the result back.
// One instance serves the process (Shared), created on first use.

#include "zKtlRecord.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class zKtl {
public:
    enum Tool { Tarnel = 0, Danvek, Pelion, Orwent, Sivane, Morlet, ToolCount };

    // Registry value name and executable base name of tool `iNdx`.
    static QString Name(int iNdx);
    // Label used in dialogs ("画像", "ｸﾞﾗﾌ", ...).
    static QString Label(int iNdx);
    // Executable file name: the name plus the platform's suffix (none here).
    static QString ExeName(int iNdx);
    // The registry section the paths live in.
    static QString Section();
    // Parameter files in the work folder.
    static QString ParamFile(int iNdx);

    // Reads each tool's path from the registry; a path that does not name
    // that tool's executable, or no existing executable file, is dropped.
    zKtl();

    static zKtl& Shared();
    static void Release();

    // The known executable of tool iNdx, or "" while unknown.
    QString Exe(int iNdx) const;

    // True when the tool's executable is known and exists: searched for
    // first (GetExePh), then asked from the user; a found or chosen path is
    // written to the registry.
    bool bChkApp(int iNdx);
    // As bChkApp without asking: true when the executable is known or found
    // beside the program (a found path is written to the registry).
    bool bFindApp(int iNdx);

    // Looks for the folder named sNm (ignoring case) among the sub-folders
    // of the program folder's parent (given back in sPhP), then among the
    // parent's sibling folders and their sub-folders, and nowhere else.
    // sAp gets the first such folder's sExe when that is a regular
    // executable file, else "".
    static void GetExePh(QString& sPhP, const QString& sNm, const QString& sExe, QString& sAp);

    // Edit an image in the image editor (waits). iTy: the editor's type
    // (3 asks for any result file, else PNG). sFL returns the result path.
    void ActPic(int iTy, const QString& sPh, QString& sFL, int gWd, int gHi, bool& bGf, bool& bOk);
    // Edit a graph (waits); result path in sFL.
    void ActGrph(const QString& sPh, QString& sFL, bool& bOk);
    // Edit a chart (waits); sFL the current result file in, the new one out.
    void ActChrt(const QString& sPh, QString& sFL, bool& bOk);
    // Starts the document-database tool on database sFL and, when given, the
    // document number sNo; does not wait. False when it was not started.
    bool ActKbs(const QString& sFL, const QString& sNo);

    // True when sPath names tool iNdx's executable: its file name is the
    // executable name (ignoring case) and it is a regular executable file.
    static bool IsToolExe(int iNdx, const QString& sPath);

private:
    // Writes the record, runs the tool and reads the record back. False
    // when the tool was not run or its record cannot be read.
    bool runEditor(int iNdx, zKtlRec::Record& rec);

    std::array<QString, ToolCount> aExe;
};
