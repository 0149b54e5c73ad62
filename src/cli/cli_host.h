#pragma once
// The measuring window's surroundings on the command line: controls are
// remembered texts, message boxes and the status bar's message pane go to
// stderr, the file dialogs answer with the path the command line gave, and
// the meter panel is whatever Canvas the command attaches (by default one
// that draws nowhere). A console shows no list (a command prints the lines
// it wants from the view's own) and has no window: the command's loop ticks
// the view.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "graph/null_canvas.h"
#include "run/form_host.h"

namespace ql::cli {

class CliHost : public FormControls, public FormStatus, public FormDialogs, public FormPanel {
 public:
  // The parts the view is given.
  FormHost Parts() { return FormHost(*this, *this, *this, *this, nullptr, nullptr); }

  // The canvas PanelCanvas() hands out; nullptr restores the null canvas.
  // `canvas` must outlive its use.
  void SetCanvas(Canvas* canvas) { canvas_ = canvas != nullptr ? canvas : &nullCanvas_; }
  // What the open and save dialogs answer; nullopt is a cancel.
  void SetOpenPath(std::optional<std::string> path) { openPath_ = std::move(path); }
  void SetSavePath(std::optional<std::string> path) { savePath_ = std::move(path); }

  // Number of message boxes shown so far.
  int MessageCount() const { return messages_; }
  // The text the view last gave control `id`, or "".
  std::string ControlText(int id) const;

  void SetControlText(int id, std::string_view text) override;
  // A console has no widgets to show, hide, enable or set in a font.
  void ShowControl(int, bool) override {}
  void EnableControl(int, bool) override {}
  void SetControlFont(int, const FontDesc&) override {}

  void SetPaneText(int paneId, std::string_view text) override;
  // A console has no pane to show the path beside; the command names it.
  void SetFilePath(std::string_view /*path*/) override {}
  void MessageBox(std::string_view text, std::string_view detail = {}) override;

  // The device comes from --port; a console has no port dialog to choose it.
  bool RunPortDialog(int&) override { return false; }
  std::optional<std::string> OpenFileDialog(const FileDialogOptions&) override { return openPath_; }
  std::optional<std::string> SaveFileDialog(const FileDialogOptions&) override { return savePath_; }

  Canvas* PanelCanvas() override { return canvas_; }
  // Nothing is shown between commands: a command draws when it asks the view.
  void InvalidateView() override {}

 private:
  std::map<int, std::string> controls_;
  std::string messagePane_;
  int messages_ = 0;
  NullCanvas nullCanvas_;
  Canvas* canvas_ = &nullCanvas_;
  std::optional<std::string> openPath_;
  std::optional<std::string> savePath_;
};

}  // namespace ql::cli
