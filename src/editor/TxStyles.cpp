#include "TxStyles.h"

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

} // namespace TxStyle
