#pragma once
// What the load workers write for page `i` of worker `w`, so the test can
// tell every page apart and check its content.

#include <QByteArray>
#include <QString>

namespace LoadPayload {

inline QString Title(int w, int i) {
    return QStringLiteral("利用者%1 の頁 %2").arg(w).arg(i);
}

// Page k's title after its rename (renames of the same page agree).
inline QString Renamed(int w, int k) {
    return Title(w, k) + QStringLiteral(" 改");
}

inline QString Text(int w, int i) {
    return QStringLiteral("本文 %1-%2 ").arg(w).arg(i).repeated(1 + i % 7);
}

inline QByteArray Bytes(int w, int i) {
    QByteArray y(200 + (i * 37) % 900, '\0');
    quint32 x = quint32(w * 100000 + i) * 2654435761u;
    for (char& c : y) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    return y;
}

} // namespace LoadPayload
