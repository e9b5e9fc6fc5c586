#pragma once
// Stand-in for the per-user registry store of the tool family: application
// "VeltrinTools", section "Path", value name = program or tool name, data =
// executable path. Kept in ~/.config/VeltrinTools/VeltrinTools.ini.

#include <QString>

namespace Registry {
QString GetSetting(const QString& section, const QString& name, const QString& def = {});
void SaveSetting(const QString& section, const QString& name, const QString& value);
} // namespace Registry
