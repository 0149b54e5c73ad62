#pragma once
// For benchmarks of the recording tick: a form host that keeps only what a
// form would keep (the control texts), and a meter frame to feed the tick.

#include <array>
#include <cstdint>
#include <string>

#include "base/frame_layout.h"
#include "graph/null_canvas.h"
#include "run/form_host.h"

namespace ql::test_support {

// No list on screen and no window: a benchmark ticks the view itself.
class LeanFormHost : public FormControls, public FormStatus, public FormDialogs, public FormPanel {
 public:
  FormHost Parts() { return FormHost(*this, *this, *this, *this, nullptr, nullptr); }

  void SetControlText(int id, std::string_view text) override { Slot(id).assign(text); }
  void ShowControl(int, bool) override {}
  void EnableControl(int, bool) override {}
  void SetControlFont(int, const FontDesc&) override {}
  void SetPaneText(int, std::string_view) override {}
  void SetFilePath(std::string_view) override {}
  void MessageBox(std::string_view, std::string_view) override {}
  bool RunPortDialog(int&) override { return false; }
  std::optional<std::string> OpenFileDialog(const FileDialogOptions&) override { return {}; }
  std::optional<std::string> SaveFileDialog(const FileDialogOptions&) override { return {}; }
  Canvas* PanelCanvas() override { return &canvas_; }
  void InvalidateView() override {}

 private:
  static constexpr int kSlots = 64;
  std::string& Slot(int id) { return texts_[static_cast<std::size_t>(id % kSlots)]; }
  std::array<std::string, kSlots> texts_;
  NullCanvas canvas_;
};

// The frame of ' 1.234' with DC and volt lit.
inline std::string DcVoltFrame() {
  std::array<std::uint8_t, 14> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>((i + 1) << 4);
  const char digits[] = {1, 2, 3, 4};
  for (int k = 1; k <= 4; ++k) {
    const std::uint8_t code = frame::kDigitCodes[static_cast<std::size_t>(digits[k - 1])];
    bytes[frame::DigitFirstByte(k)] |= static_cast<std::uint8_t>((code >> 4) & 7);
    bytes[frame::DigitFirstByte(k) + 1] |= static_cast<std::uint8_t>(code & 0xF);
  }
  bytes[frame::kPointBeforeDigit2.byte] |= frame::kPointBeforeDigit2.mask;
  bytes[frame::kDc.byte] |= frame::kDc.mask;
  bytes[frame::kVolt.byte] |= frame::kVolt.mask;
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace ql::test_support
