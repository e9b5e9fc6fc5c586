#pragma once
// The editor's persistent settings: the groups "TX_PAGE", "TX_DISP" + suffix,
// "TX_BAR" + suffix and "TX_USR" of the settings store, read with their
// defaults and written back. Plain values only; uTxm applies them to the
// engine and the bars.

#include <QString>

class yIni;

namespace TxSet {

// The group names; "TX_DISP" and "TX_BAR" get the control's suffix sFmGrp.
QString PageGroup();
QString DispGroup(const QString& sFmGrp);
QString BarGroup(const QString& sFmGrp);
QString UsrGroup();

// The words the settings file uses.
QString Shown();     // "表示"
QString Hidden();    // "非表示"
QString Ask();       // "確認": ask before saving
QString Overwrite(); // "上書": save without asking

// "TX_PAGE": page size and margins in twips (written by the page setup dialog).
struct Page {
    double width = 12240;
    double height = 15840;
    double marginLeft = 850.5;
    double marginTop = 850.5;
    double marginRight = 567;
    double marginBottom = 567;
    bool operator==(const Page&) const = default;
};

// "TX_DISP" + suffix: view mode, zoom percent, control characters shown.
struct Disp {
    int mode = 0;
    int zoom = 100;
    bool ctrlChars = true;
    bool operator==(const Disp&) const = default;
};

// "TX_BAR" + suffix: rulers shown and the band string "C_BR".
struct Bar {
    bool rule = false;
    QString bands;
    bool operator==(const Bar&) const = default;
};

// "TX_USR": input method on focus, save confirmation, metafile folder,
// the two picture options and the paste mode.
struct Usr {
    QString ime = QStringLiteral("OFF");
    QString udtChk = Ask();
    QString wmfPh;
    int flw = 1;
    int pcClr = 0;
    bool pastTx = false;
    bool operator==(const Usr&) const = default;
};

// Readers select the group and read every key with its default. `currentFlw`
// is the default of "TX_FLW" (the control's current iFlw).
Page ReadPage(yIni& ini);
Disp ReadDisp(yIni& ini, const QString& sFmGrp);
Bar ReadBar(yIni& ini, const QString& sFmGrp);
Usr ReadUsr(yIni& ini, int currentFlw);

// Writers select the group, set every key and commit the group. The page
// group is written by the page setup dialog, so it has no writer here.
void WriteDisp(yIni& ini, const QString& sFmGrp, const Disp& d);
void WriteBar(yIni& ini, const QString& sFmGrp, const Bar& b);
void WriteUsr(yIni& ini, const Usr& u);

} // namespace TxSet
