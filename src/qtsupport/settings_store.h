#pragma once
// The settings store of the desktop program and the command-line tool: an
// INI file kept as people edit it (IniText). Every write goes to the file at
// once, all or nothing, so a setting survives a crash right after it
// changed, and a write that did not reach the file (read-only file or
// folder) reports false. Only a regular file (or a link to one) is read or
// written: anything else at the path (a device, a FIFO) gives the defaults,
// one warning, and is never opened, so it can neither block nor be replaced.
//
// Where the file lives: SettingsPath().

#include <QString>

#include <string>

#include "files/ini_text.h"
#include "link/device_map.h"
#include "run/profile_store.h"

namespace ql {

// The settings file: `cliOverride` when not empty (the --settings option),
// else the environment variable QUINTALINE_SETTINGS when set and not empty,
// else Quintaline/Quintaline.ini in the user's configuration folder
// ($XDG_CONFIG_HOME, by default ~/.config).
QString SettingsPath(const QString& cliOverride = {});

class SettingsStore : public ProfileStore {
 public:
  explicit SettingsStore(const QString& path);
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // A value that is missing or not a whole number in the range of int reads
  // as `fallback`.
  int GetInt(std::string_view section, std::string_view key, int fallback) override;
  // Strings are Latin-1 in the core and UTF-8 in the file.
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view fallback) override;
  bool WriteInt(std::string_view section, std::string_view key, int value) override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;

  QString Path() const { return path_; }

 private:
  // Reads the file into text_; false when the path is there but is no
  // regular file.
  bool Load();
  bool Write(std::string_view section, std::string_view key, const std::string& utf8);

  QString path_;
  IniText text_;
  bool usable_ = true;
};

// The device map of the desktop program: the path stored under "COMM" with
// the port name as key (for example COM1=/dev/ttyUSB0; the TELNET name
// "\\.\TELNET" has the key TELNET, since INI keys cannot hold a
// backslash), else DefaultDevicePath(name). `store` must outlive the map.
DeviceMap StoreDeviceMap(ProfileStore& store);

}  // namespace ql
