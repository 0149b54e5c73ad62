#include "run/memory_profile_store.h"

#include <charconv>

namespace ql {

void MemoryProfileStore::Set(std::string_view section, std::string_view key,
                             std::string_view value) {
  values_[{std::string(section), std::string(key)}] = std::string(value);
}

const std::string* MemoryProfileStore::Find(std::string_view section, std::string_view key) const {
  const auto it = values_.find({std::string(section), std::string(key)});
  return it == values_.end() ? nullptr : &it->second;
}

std::string MemoryProfileStore::Get(std::string_view section, std::string_view key) const {
  const std::string* text = Find(section, key);
  return text != nullptr ? *text : std::string();
}

int MemoryProfileStore::GetInt(std::string_view section, std::string_view key, int fallback) {
  const std::string* text = Find(section, key);
  if (text == nullptr) return fallback;
  int value = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  return error == std::errc() && end == text->data() + text->size() ? value : fallback;
}

std::string MemoryProfileStore::GetString(std::string_view section, std::string_view key,
                                          std::string_view fallback) {
  const std::string* text = Find(section, key);
  return text != nullptr ? *text : std::string(fallback);
}

bool MemoryProfileStore::WriteInt(std::string_view section, std::string_view key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool MemoryProfileStore::WriteString(std::string_view section, std::string_view key,
                                     std::string_view value) {
  Set(section, key, value);
  writes_.push_back(std::string(section) + "/" + std::string(key) + "=" + std::string(value));
  return true;
}

}  // namespace ql
