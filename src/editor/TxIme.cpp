#include "TxIme.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace TxIme {

namespace {
int lastRequest = -1;

QString remoteTool() {
    static const QString tool = [] {
        for (const char* name : {"fcitx5-remote", "fcitx-remote"}) {
            const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
            if (!path.isEmpty())
                return path;
        }
        return QString();
    }();
    return tool;
}
} // namespace

void SetOpen(bool open) {
    lastRequest = open ? 1 : 0;
    const QString tool = remoteTool();
    if (!tool.isEmpty())
        QProcess::startDetached(tool, {open ? QStringLiteral("-o") : QStringLiteral("-c")});
}

int LastRequest() {
    return lastRequest;
}

} // namespace TxIme
