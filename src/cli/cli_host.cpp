#include "cli/cli_host.h"

#include "cli/output.h"
#include "run/ids.h"

namespace ql::cli {

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
