#include "TxTableRules.h"

namespace TxTable {

int PartOf(const QString& word) {
    const QString w = word.trimmed();
    if (w == QStringLiteral("表"))
        return 0;
    if (w == QStringLiteral("行"))
        return 1;
    if (w == QStringLiteral("ｾﾙ"))
        return 2;
    return -1;
}

namespace {

Number whole(const QString& text, const QString& what, int min, int max) {
    Number n;
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok)
        n.message = QStringLiteral("%1には数値を入力して下さい").arg(what);
    else if (v < min)
        n.message = QStringLiteral("%1には%2以上の値を入力して下さい").arg(what).arg(min);
    else if (v > max)
        n.message = QStringLiteral("%1には%2以下の値を入力して下さい").arg(what).arg(max);
    else {
        n.value = v;
        n.ok = true;
    }
    return n;
}

} // namespace

Number ReadRows(const QString& text) {
    return whole(text, QStringLiteral("行数"), 1, kMaxRows);
}

Number ReadColumns(const QString& text) {
    return whole(text, QStringLiteral("列数"), 1, kMaxColumns);
}

Number ReadMeasure(const QString& text, const QString& what, int min, int max, int empty) {
    if (text.trimmed().isEmpty() && empty >= 0)
        return {empty, true, {}};
    return whole(text, what, min, max);
}

} // namespace TxTable
