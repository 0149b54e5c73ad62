#include "cli/cli_host.h"

#include <charconv>

#include "cli/output.h"
#include "qtsupport/text_edge.h"
#include "run/ids.h"

namespace ql::cli {

namespace {

std::string Key(std::string_view section, std::string_view key) {
  std::string out(section);
  out.push_back('\n');
  out.append(key);
  return out;
}

}  // namespace

int MemoryStore::GetInt(std::string_view section, std::string_view key, int fallback) {
  const auto it = values_.find(Key(section, key));
  if (it == values_.end()) return fallback;
  const std::string& text = it->second;
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() ? value : fallback;
}

std::string MemoryStore::GetString(std::string_view section, std::string_view key,
                                   std::string_view fallback) {
  const auto it = values_.find(Key(section, key));
  return it == values_.end() ? std::string(fallback) : it->second;
}

bool MemoryStore::WriteInt(std::string_view section, std::string_view key, int value) {
  values_[Key(section, key)] = std::to_string(value);
  return true;
}

bool MemoryStore::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  values_[Key(section, key)] = std::string(value);
  return true;
}

void CliHost::SetControlText(int id, std::string_view text) { controls_[id] = std::string(text); }

std::string CliHost::ControlText(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? std::string() : it->second;
}

void CliHost::SetPaneText(int paneId, std::string_view text) {
  // The message pane tells of trouble the user must know about; a text is
  // reported once, when it appears.
  if (paneId != pane::kMessage || text == messagePane_) return;
  messagePane_ = std::string(text);
  if (!messagePane_.empty()) PrintMessage(messagePane_);
}

void CliHost::MessageBox(std::string_view text, std::string_view detail) {
  ++messages_;
  PrintMessage(text, detail);
}

}  // namespace ql::cli
