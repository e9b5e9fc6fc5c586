#include "Registry.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
QSettings store() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QSettings(dir + QStringLiteral("/VeltrinTools/VeltrinTools.ini"), QSettings::IniFormat);
}
} // namespace

namespace Registry {

QString GetSetting(const QString& section, const QString& name, const QString& def) {
    QSettings s = store();
    return s.value(section + u'/' + name, def).toString();
}

void SaveSetting(const QString& section, const QString& name, const QString& value) {
    QSettings s = store();
    s.setValue(section + u'/' + name, value);
    s.sync();
}

} // namespace Registry
