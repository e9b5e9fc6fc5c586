#include "TxStyles.h"
#include "TxEngine.h"
#include "yIni.h"

#include <QStringList>
#include <cmath>

namespace TxStyle {

namespace {
int rgb(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

bool matches(const ParaLook& p, const UsrFmt& f) {
    return p.fontName == f.sFont && p.foreColor == f.nFcr && p.bold == (f.iBold == 1) &&
           std::abs(p.fontSize - f.iSize) < 0.01;
}
} // namespace

UsrFmt DefaultFmt(int i) {
    static const int sizes[kRecords] = {14, 12, 11, 10, 10, 9, 9, 9};
    static const int colors[kRecords] = {rgb(133, 90, 80), rgb(84, 104, 77), rgb(58, 63, 86),
                                         rgb(0, 0, 0),     rgb(128, 0, 0),   rgb(128, 128, 128),
                                         rgb(58, 63, 86),  rgb(58, 63, 86)};
    static const int indents[kRecords] = {8, 8, 8, 3, 3, 3, 0, 0};
    static const int pa1[kRecords] = {9, 7, 5, 0, 0, 0, 0, 0};
    static const int pa2[kRecords] = {8, 6, 4, 0, 0, 0, 0, 0};
    UsrFmt f;
    if (i < 0 || i >= kRecords)
        return f;
    f.sFont = QStringLiteral("ＭＳ Ｐゴシック");
    f.iSize = sizes[i];
    f.nFcr = colors[i];
    f.nBcr = rgb(255, 255, 255);
    f.iBold = i <= 2 ? 1 : 0;
    f.iAt1 = i >= 6 ? 1 : 0;
    f.iLIdt = 20 * indents[i];
    f.iPa1 = 20 * pa1[i];
    f.iPa2 = 20 * pa2[i];
    return f;
}

Table DefaultTable() {
    Table t;
    for (int i = 0; i < kRecords; ++i)
        t[i] = DefaultFmt(i);
    return t;
}

int GetStl(const ParaLook& p, const Table& t) {
    if (p.leftIndent < 150) {
        for (int s : {3, 4, 5})
            if (matches(p, t[s]))
                return s;
        return 3;
    }
    for (int s : {0, 1})
        if (matches(p, t[s]))
            return s;
    return 2;
}

bool IsHeading(const ParaLook& p, const Table& t) {
    return p.fontSize > t[kBody].iSize && p.listState == 1 && p.leftIndent > 60;
}

QString PanelName(const ParaLook& p, const Table& t, bool onField) {
    if (onField)
        return QStringLiteral("Field");
    if (!IsHeading(p, t))
        return QStringLiteral("本文");
    if (std::abs(p.fontSize - t[0].iSize) < 0.01)
        return QStringLiteral("見出１(頁見出)");
    if (std::abs(p.fontSize - t[1].iSize) < 0.01)
        return QStringLiteral("見出２");
    return QStringLiteral("見出３");
}

quint32 MarkerColor(int iStl) {
    switch (iStl) {
    case 7:
        return quint32(rgb(0, 128, 128));
    case 8:
        return quint32(rgb(128, 64, 64));
    default:
        return quint32(rgb(128, 128, 255));
    }
}

UserFormats& Shared() {
    static UserFormats shared;
    return shared;
}

QString FormatGroup() {
    return QStringLiteral("TX_FORMAT");
}

QString RecordKey(int i) {
    return QStringLiteral("USR_FORMAT_%1").arg(i);
}

QString FmtToStr(const UsrFmt& f) {
    QString font = f.sFont;
    font.remove(u'|'); // a "|" in the name would split the record
    QStringList parts{font};
    for (int v : {f.iSize, f.nFcr, f.nBcr, f.iBold, f.iAt1, f.iAt2, f.iAt3, f.iAt4, f.iLIdt, f.iPa1,
                  f.iPa2, f.iPa3, f.iPa4})
        parts << QString::number(v);
    return parts.join(u'|');
}

UsrFmt StrToFmt(const QString& s, int i) {
    const QStringList parts = s.split(u'|');
    if (s.isEmpty() || parts.size() != 14)
        return DefaultFmt(i);
    int v[13];
    for (int k = 0; k < 13; ++k) {
        bool ok = false;
        v[k] = parts[k + 1].trimmed().toInt(&ok);
        if (!ok)
            return DefaultFmt(i);
    }
    UsrFmt f;
    f.sFont = parts[0];
    f.iSize = v[0];
    f.nFcr = v[1];
    f.nBcr = v[2];
    f.iBold = v[3];
    f.iAt1 = v[4];
    f.iAt2 = v[5];
    f.iAt3 = v[6];
    f.iAt4 = v[7] == 32 ? 7936 : v[7];
    f.iLIdt = v[8];
    f.iPa1 = v[9];
    f.iPa2 = v[10];
    f.iPa3 = v[11];
    f.iPa4 = v[12];
    // A record without a font or size would make its text invisible.
    if (f.sFont.trimmed().isEmpty() || f.iSize <= 0)
        return DefaultFmt(i);
    return f;
}

float LineFactor(double stored) {
    if (!std::isfinite(stored) || stored < 1.0 || stored > 2.0)
        return 1.2f;
    return float(stored);
}

int LineSpacing(const UsrFmt& f, float sgLsp) {
    return int(std::lround(double(f.iSize) * 20.0 * double(sgLsp)));
}

bool LoadUsrFmt(yIni& ini, UserFormats& u) {
    ini.GetGtx(FormatGroup());
    try {
        u.sgLsp = LineFactor(ini.vGtVal(QStringLiteral("USR_LSP"), double(1.9f)));
        for (int i = 0; i < kRecords; ++i)
            u.usrFmt[size_t(i)] = StrToFmt(ini.vGtVal(RecordKey(i), QString()), i);
        u.bDtp = ini.vGtVal(QStringLiteral("USR_DTP"), true);
        u.bEntSh = ini.vGtVal(QStringLiteral("USR_ENT_SHIFT"), true);
    } catch (const yIni::ValueError&) {
        return false;
    }
    return true;
}

void SaveUsrFmt(yIni& ini, const UserFormats& u) {
    ini.GetGtx(FormatGroup());
    ini.SetVal(QStringLiteral("USR_LSP"), QString::number(double(u.sgLsp), 'g', 7));
    for (int i = 0; i < kRecords; ++i)
        ini.SetVal(RecordKey(i), FmtToStr(u.usrFmt[size_t(i)]));
    ini.SetVal(QStringLiteral("USR_DTP"), u.bDtp);
    ini.SetVal(QStringLiteral("USR_ENT_SHIFT"), u.bEntSh);
    try {
        ini.SetGtx();
    } catch (const yIni::DocumentError&) {
        // The main window repairs a document without its root end tag when
        // it writes the file; the group is written again then.
    }
}

CharLook ReadLook(TxEngine& tx) {
    CharLook l;
    l.font = tx.FontName();
    l.size = tx.FontSize();
    l.bold = tx.FontBold();
    l.italic = tx.FontItalic();
    l.underline = tx.FontUnderline();
    l.strike = tx.FontStrike();
    l.fore = tx.ForeColor() & 0xFFFFFF;
    l.back = tx.TextBkColor() & 0xFFFFFF;
    return l;
}

void ApplyLook(TxEngine& tx, const CharLook& l, bool withBack) {
    tx.SetForeColor(l.fore);
    if (withBack)
        tx.SetTextBkColor(l.back);
    tx.SetFontName(l.font);
    tx.SetFontSize(l.size);
    tx.SetFontBold(l.bold);
    tx.SetFontItalic(l.italic);
    tx.SetFontUnderline(l.underline);
    tx.SetFontStrike(l.strike);
}

} // namespace TxStyle
