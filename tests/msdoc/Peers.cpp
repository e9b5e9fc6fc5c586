#include "Peers.h"

#include "TestEnv.h"

#include <QProcess>
#include <QRegularExpression>

namespace peers {

bool soffice(const QStringList& files, const QString& format, const QString& outDir) {
    const QString profile = TestEnv::freshDir(QStringLiteral("soffice-profile"));
    QStringList args{QStringLiteral("-env:UserInstallation=file://") + profile,
                     QStringLiteral("--headless"),
                     QStringLiteral("--convert-to"),
                     format,
                     QStringLiteral("--outdir"),
                     outDir};
    args += files;
    QProcess p;
    p.start(QStringLiteral("soffice"), args);
    return p.waitForFinished(180000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QString antiword(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("antiword"), {QStringLiteral("-m"), QStringLiteral("UTF-8.txt"),
                                         QStringLiteral("-w"), QStringLiteral("0"), file});
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString squeeze(const QString& s) {
    QString out = s;
    out.remove(QRegularExpression(QStringLiteral("\\s+")));
    return out;
}

} // namespace peers
