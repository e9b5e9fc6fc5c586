#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QUuid>

namespace TestEnv {

QString home() {
    return qEnvironmentVariable("HOME");
}

QString freshDir(const QString& name) {
    const QString base = name.isEmpty() ? QStringLiteral("t") : name;
    const QString path = home() + QStringLiteral("/work/") + base + u'-' +
                         QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
    QDir().mkpath(path);
    return path;
}

QString sharedDir() {
    QString s = qEnvironmentVariable("FOLIUM_SHARED_DIR");
    if (s.isEmpty())
        s = QStringLiteral(FOLIUM_SOURCE_DIR_LITERAL "/../shared");
    return QDir(s).absolutePath();
}

QString sourceDir() {
    return QStringLiteral(FOLIUM_SOURCE_DIR_LITERAL);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

} // namespace TestEnv
