#pragma once
// Settings held in memory only, kept as text as an INI file keeps them, so
// an integer read back from a string (or the other way round) behaves as it
// would on disk. For the commands that read files and must neither depend
// on nor change the user's settings, and for tests, which also read the
// writes back in order.

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "run/profile_store.h"

namespace ql {

class MemoryProfileStore : public ProfileStore {
 public:
  // Stores a value as if the settings file held it, without logging a write.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // The stored text, or "" when there is none.
  std::string Get(std::string_view section, std::string_view key) const;
  // Every write through the ProfileStore, "section/key=value", oldest first.
  const std::vector<std::string>& Writes() const { return writes_; }

  int GetInt(std::string_view section, std::string_view key, int fallback) override;
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view fallback) override;
  bool WriteInt(std::string_view section, std::string_view key, int value) override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  using Key = std::pair<std::string, std::string>;  // section, key

  const std::string* Find(std::string_view section, std::string_view key) const;

  std::map<Key, std::string> values_;
  std::vector<std::string> writes_;
};

}  // namespace ql
