#include "qtsupport/settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include "qtsupport/text_edge.h"

namespace ql {

namespace {

QString KeyPath(std::string_view section, std::string_view key) {
  return FromLatin1(section) + QLatin1Char('/') + FromLatin1(key);
}

// A hand-written "a, b" reads back as a list; it was meant as one text.
QString AsText(const QVariant& value) {
  if (value.typeId() == QMetaType::QStringList) {
    return value.toStringList().join(QStringLiteral(", "));
  }
  return value.toString();
}

}  // namespace

QString SettingsPath(const QString& cliOverride) {
  if (!cliOverride.isEmpty()) return cliOverride;
  const QString fromEnvironment = qEnvironmentVariable("QUINTALINE_SETTINGS");
  if (!fromEnvironment.isEmpty()) return fromEnvironment;
  QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (folder.isEmpty()) folder = QDir::homePath() + QStringLiteral("/.config");
  return folder + QStringLiteral("/Quintaline/Quintaline.ini");
}

SettingsStore::SettingsStore(const QString& path) : settings_(path, QSettings::IniFormat) {}

int SettingsStore::GetInt(std::string_view section, std::string_view key, int fallback) {
  const QVariant value = settings_.value(KeyPath(section, key));
  if (!value.isValid()) return fallback;
  bool ok = false;
  const int number = AsText(value).trimmed().toInt(&ok);
  return ok ? number : fallback;
}

std::string SettingsStore::GetString(std::string_view section, std::string_view key,
                                     std::string_view fallback) {
  const QVariant value = settings_.value(KeyPath(section, key));
  if (!value.isValid()) return std::string(fallback);
  return ToLatin1(AsText(value));
}

bool SettingsStore::WriteInt(std::string_view section, std::string_view key, int value) {
  return Write(section, key, QVariant(value));
}

bool SettingsStore::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
  return Write(section, key, QVariant(FromLatin1(value)));
}

bool SettingsStore::Write(std::string_view section, std::string_view key, const QVariant& value) {
  if (!settings_.isWritable()) return false;
  settings_.setValue(KeyPath(section, key), value);
  settings_.sync();
  return settings_.status() == QSettings::NoError;
}

DeviceMap StoreDeviceMap(ProfileStore& store) {
  return [&store](const std::string& portName) {
    const std::string key = portName.substr(portName.find_last_of("\\/") + 1);
    std::string path = key.empty() ? std::string() : store.GetString("COMM", key, "");
    return path.empty() ? DefaultDevicePath(portName) : path;
  };
}

}  // namespace ql
