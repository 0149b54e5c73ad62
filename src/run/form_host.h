#pragma once
// What the measuring window asks of the window system around it: the
// controls of its form, the list of readings, the main frame's status bar,
// message boxes, dialogs, the meter panel's drawing surface and its timer.
// The Qt form implements it on widgets; tests record what the view did.
//
// All texts are single-byte Latin-1 as the core keeps them (0xB5 micro,
// 0xB0 degree); the host converts them where they leave for the screen.

#include <optional>
#include <string>
#include <string_view>

#include "run/fonts.h"

namespace ql {

class Canvas;

// What a file dialog is opened with.
struct FileDialogOptions {
  std::string filter;            // "Name (*.ext)\n*.ext\n...\n\n" pairs as the view gives them
  std::string defaultExtension;  // without the dot
  std::string initialPath;       // the path remembered from the last use, or empty
  bool overwritePrompt = false;  // save: ask before replacing a file
};

class FormHost {
 public:
  virtual ~FormHost() = default;

  // Controls of the form, by the ids of run/ids.h.
  virtual void SetControlText(int id, std::string_view text) = 0;
  virtual std::string ControlText(int id) const = 0;
  virtual void ShowControl(int id, bool show) = 0;
  virtual void EnableControl(int id, bool enable) = 0;
  virtual void SetControlFont(int id, const FontDesc& font) = 0;

  // Shows the list of readings (control 1023). The view owns the lines
  // (ReadingList) and tells the face each change; nothing is read back.
  virtual void ListReset() = 0;
  virtual void ListAdd(std::string_view line) = 0;
  // Selects the line and scrolls it into view.
  virtual void ListSelect(int index) = 0;
  // Holds back repainting of the list while many lines are added.
  virtual void ListSetRedraw(bool on) = 0;

  // A pane of the main frame's status bar (pane ids of run/ids.h).
  virtual void SetPaneText(int paneId, std::string_view text) = 0;
  // The whole path of the file the file-name pane names, for a user who
  // wants more than its short title; empty when it names none.
  virtual void SetFilePath(std::string_view path) = 0;
  // A message box with an exclamation icon and an OK button; `detail`, when
  // not empty, is a second line that explains the cause.
  virtual void MessageBox(std::string_view text, std::string_view detail = {}) = 0;

  // The meter panel's drawing surface in panel pixels, or nullptr when none
  // can be had. Valid until the handler that asked for it returns.
  virtual Canvas* PanelCanvas() = 0;
  // Asks for the whole view to be repainted (background erased).
  virtual void InvalidateView() = 0;
  // Starts the view's periodic timer. Returns true iff it runs.
  virtual bool StartTimer(int id, int periodMs) = 0;
  // Shows the measuring window maximized inside the main frame.
  virtual void ShowFrameMaximized() = 0;

  // Runs the port dialog with `selPort` (0 = COM1 .. 3 = COM4) checked.
  // Returns true iff the user pressed OK; `selPort` then holds the choice.
  virtual bool RunPortDialog(int& selPort) = 0;
  // The common file dialogs: the chosen path, or nullopt on cancel.
  virtual std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) = 0;
};

}  // namespace ql
