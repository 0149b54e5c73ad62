#pragma once
// A ProfileStore in memory. Values are kept as text, as an INI file keeps
// them, so an integer read back from a string (or the other way round)
// behaves as it would on disk. Every write is also logged in order.

#include <charconv>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "run/profile_store.h"

namespace ql::test_support {

class MemoryProfileStore : public ProfileStore {
 public:
  using Key = std::pair<std::string, std::string>;  // section, key

  std::map<Key, std::string> values;
  std::vector<std::string> writes;  // "section/key=value", oldest first

  void Set(std::string_view section, std::string_view key, std::string_view value) {
    values[{std::string(section), std::string(key)}] = std::string(value);
  }
  // The stored text, or "" when there is none.
  std::string Get(std::string_view section, std::string_view key) const {
    auto it = values.find({std::string(section), std::string(key)});
    return it == values.end() ? std::string() : it->second;
  }

  int GetInt(std::string_view section, std::string_view key, int fallback) override {
    auto it = values.find({std::string(section), std::string(key)});
    if (it == values.end()) return fallback;
    int value = 0;
    const std::string& text = it->second;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : fallback;
  }
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view fallback) override {
    auto it = values.find({std::string(section), std::string(key)});
    return it == values.end() ? std::string(fallback) : it->second;
  }
  bool WriteInt(std::string_view section, std::string_view key, int value) override {
    return WriteString(section, key, std::to_string(value));
  }
  bool WriteString(std::string_view section, std::string_view key,
                   std::string_view value) override {
    Set(section, key, value);
    writes.push_back(std::string(section) + "/" + std::string(key) + "=" + std::string(value));
    return true;
  }
};

}  // namespace ql::test_support
