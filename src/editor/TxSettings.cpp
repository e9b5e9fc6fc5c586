#include "TxSettings.h"
#include "yIni.h"

namespace TxSet {

namespace {

// Commits the selected group. A settings document without its root end tag
// cannot take the group; the main window repairs the document when it
// writes the file, so the editor's write is skipped rather than aborted.
void commit(yIni& ini) {
    try {
        ini.SetGtx();
    } catch (const yIni::DocumentError&) {
    }
}

QString shownWord(bool b) {
    return b ? Shown() : Hidden();
}

} // namespace

QString PageGroup() {
    return QStringLiteral("TX_PAGE");
}
QString DispGroup(const QString& sFmGrp) {
    return QStringLiteral("TX_DISP") + sFmGrp;
}
QString BarGroup(const QString& sFmGrp) {
    return QStringLiteral("TX_BAR") + sFmGrp;
}
QString UsrGroup() {
    return QStringLiteral("TX_USR");
}

QString Shown() {
    return QStringLiteral("表示");
}
QString Hidden() {
    return QStringLiteral("非表示");
}
QString Ask() {
    return QStringLiteral("確認");
}
QString Overwrite() {
    return QStringLiteral("上書");
}

Page ReadPage(yIni& ini) {
    Page p;
    ini.GetGtx(PageGroup());
    p.width = ini.vGtVal(QStringLiteral("WIDTH"), p.width);
    p.height = ini.vGtVal(QStringLiteral("HEIGHT"), p.height);
    p.marginLeft = ini.vGtVal(QStringLiteral("M_LFT"), p.marginLeft);
    p.marginTop = ini.vGtVal(QStringLiteral("M_TOP"), p.marginTop);
    p.marginRight = ini.vGtVal(QStringLiteral("M_RGH"), p.marginRight);
    p.marginBottom = ini.vGtVal(QStringLiteral("M_BTM"), p.marginBottom);
    return p;
}

Disp ReadDisp(yIni& ini, const QString& sFmGrp) {
    Disp d;
    ini.GetGtx(DispGroup(sFmGrp));
    d.mode = ini.vGtVal(QStringLiteral("MODE"), d.mode);
    d.zoom = ini.vGtVal(QStringLiteral("ZOOM"), d.zoom);
    d.ctrlChars = ini.vGtVal(QStringLiteral("C_CH"), Shown()) == Shown();
    return d;
}

Bar ReadBar(yIni& ini, const QString& sFmGrp) {
    Bar b;
    ini.GetGtx(BarGroup(sFmGrp));
    b.rule = ini.vGtVal(QStringLiteral("RULE"), Hidden()) == Shown();
    b.bands = ini.vGtVal(QStringLiteral("C_BR"), QString());
    return b;
}

Usr ReadUsr(yIni& ini, int currentFlw) {
    Usr u;
    ini.GetGtx(UsrGroup());
    u.ime = ini.vGtVal(QStringLiteral("IME"), u.ime);
    u.udtChk = ini.vGtVal(QStringLiteral("更新確認"), u.udtChk);
    u.wmfPh = ini.vGtVal(QStringLiteral("WMF_PH"), QString());
    u.flw = ini.vGtVal(QStringLiteral("TX_FLW"), currentFlw);
    u.pcClr = ini.vGtVal(QStringLiteral("PC_CLR"), 0);
    u.pastTx =
        ini.vGtVal(QStringLiteral("PAST_TX"), QStringLiteral("Rtex")) == QLatin1String("Text");
    return u;
}

void WriteDisp(yIni& ini, const QString& sFmGrp, const Disp& d) {
    ini.GetGtx(DispGroup(sFmGrp));
    ini.SetVal(QStringLiteral("MODE"), d.mode);
    ini.SetVal(QStringLiteral("ZOOM"), d.zoom);
    ini.SetVal(QStringLiteral("C_CH"), shownWord(d.ctrlChars));
    commit(ini);
}

void WriteBar(yIni& ini, const QString& sFmGrp, const Bar& b) {
    ini.GetGtx(BarGroup(sFmGrp));
    ini.SetVal(QStringLiteral("RULE"), shownWord(b.rule));
    ini.SetVal(QStringLiteral("C_BR"), b.bands);
    commit(ini);
}

void WriteUsr(yIni& ini, const Usr& u) {
    ini.GetGtx(UsrGroup());
    ini.SetVal(QStringLiteral("IME"), u.ime);
    ini.SetVal(QStringLiteral("更新確認"), u.udtChk);
    ini.SetVal(QStringLiteral("WMF_PH"), u.wmfPh);
    ini.SetVal(QStringLiteral("TX_FLW"), u.flw);
    ini.SetVal(QStringLiteral("PC_CLR"), u.pcClr);
    ini.SetVal(QStringLiteral("PAST_TX"),
               u.pastTx ? QStringLiteral("Text") : QStringLiteral("Rtex"));
    commit(ini);
}

} // namespace TxSet
