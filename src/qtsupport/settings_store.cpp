#include "qtsupport/settings_store.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtGlobal>

#include <array>

#include "files/atomic_file.h"
#include "files/file_reader.h"
#include "qtsupport/text_edge.h"

namespace ql {

QString SettingsPath(const QString& cliOverride) {
  if (!cliOverride.isEmpty()) return cliOverride;
  const QString fromEnvironment = qEnvironmentVariable("QUINTALINE_SETTINGS");
  if (!fromEnvironment.isEmpty()) return fromEnvironment;
  QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (folder.isEmpty()) folder = QDir::homePath() + QStringLiteral("/.config");
  return folder + QStringLiteral("/Quintaline/Quintaline.ini");
}

SettingsStore::SettingsStore(const QString& path) : path_(path) {
  usable_ = Load();
  if (!usable_) {
    qCritical("settings file %s is not a readable regular file: the defaults are used and "
              "nothing is saved",
              qPrintable(path_));
  }
}

bool SettingsStore::Load() {
  const std::string name = QFile::encodeName(path_).toStdString();
  struct stat entry {};
  if (::stat(name.c_str(), &entry) != 0) {
    text_ = IniText();
    return true;  // not made yet: the first write makes it
  }
  if (!S_ISREG(entry.st_mode)) return false;
  // Unreadable, wholly or in part: a write would lose what is in it.
  FileReader file;
  if (!file.Open(name).ok()) return false;
  std::string text;
  std::array<char, 4096> block{};
  for (std::size_t got = block.size(); got == block.size();) {
    if (!file.Read(block.data(), block.size(), got).ok()) return false;
    text.append(block.data(), got);
  }
  text_ = IniText(text);
  return true;
}

int SettingsStore::GetInt(std::string_view section, std::string_view key, int fallback) {
  const auto value = text_.Get(section, key);
  if (!value) return fallback;
  bool ok = false;
  const int number = QString::fromStdString(*value).trimmed().toInt(&ok);
  return ok ? number : fallback;
}

std::string SettingsStore::GetString(std::string_view section, std::string_view key,
                                     std::string_view fallback) {
  const auto value = text_.Get(section, key);
  if (!value) return std::string(fallback);
  return ToLatin1(QString::fromUtf8(value->data(), static_cast<qsizetype>(value->size())));
}

bool SettingsStore::WriteInt(std::string_view section, std::string_view key, int value) {
  return Write(section, key, std::to_string(value));
}

bool SettingsStore::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
  return Write(section, key, FromLatin1(value).toUtf8().toStdString());
}

bool SettingsStore::Write(std::string_view section, std::string_view key, const std::string& utf8) {
  // Read again first: what was edited by hand meanwhile stays.
  if (!usable_ || !Load()) return false;
  text_.Set(section, key, utf8);
  QDir().mkpath(QFileInfo(path_).absolutePath());
  return WriteFileAtomically(QFile::encodeName(path_).toStdString(), text_.Text()).ok();
}

DeviceMap StoreDeviceMap(ProfileStore& store) {
  return [&store](const std::string& portName) {
    const std::string key = portName.substr(portName.find_last_of("\\/") + 1);
    std::string path = key.empty() ? std::string() : store.GetString("COMM", key, "");
    return path.empty() ? DefaultDevicePath(portName) : path;
  };
}

}  // namespace ql
