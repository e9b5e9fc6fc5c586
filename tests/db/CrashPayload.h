#pragma once
// The content the crash writer stores for a document number, so the test can
// tell a whole row from a torn one. Sizes vary so rows span different numbers
// of pages.

#include <QByteArray>
#include <QString>

namespace CrashPayload {

inline QByteArray Bytes(int no) {
    QByteArray y(3000 + (no * 7919) % 9000, '\0');
    quint32 x = quint32(no) * 2654435761u;
    for (char& c : y) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    return y;
}

inline QString Text(int no) {
    return QStringLiteral("頁%1 ").arg(no).repeated(1 + no % 40) + QStringLiteral("end");
}

inline QString Title(int no) {
    return QStringLiteral("page %1's").arg(no);
}

} // namespace CrashPayload
