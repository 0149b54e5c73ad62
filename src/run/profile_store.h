#pragma once
// The settings store: named integer and string values in sections, written
// the moment they change. The desktop and command-line faces keep it in an
// INI file; tests keep it in memory.

#include <string>
#include <string_view>

namespace ql {

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;

  // The stored value, or `fallback` when there is none or it is not a number.
  virtual int GetInt(std::string_view section, std::string_view key, int fallback) = 0;
  virtual std::string GetString(std::string_view section, std::string_view key,
                                std::string_view fallback) = 0;
  // Returns true iff the value was stored.
  virtual bool WriteInt(std::string_view section, std::string_view key, int value) = 0;
  virtual bool WriteString(std::string_view section, std::string_view key,
                           std::string_view value) = 0;
};

}  // namespace ql
