#pragma once
// What the measuring window asks of the window system around it, in small
// parts a face implements as it has them: the controls of its form, the
// list of readings, the status bar and message boxes, the dialogs, the
// meter panel's drawing surface and the window's timer and frame. One
// object may be several parts (the Qt form and the tests' recording host
// are all of them); FormHost hands the view the parts of one face.
//
// All texts are single-byte Latin-1 as the core keeps them (0xB5 micro,
// 0xB0 degree); the face converts them where they leave for the screen.

#include <concepts>
#include <optional>
#include <string>
#include <string_view>

#include "run/fonts.h"

namespace ql {

class Canvas;

// The controls of the form, by the ids of run/ids.h.
class FormControls {
 public:
  virtual ~FormControls() = default;
  virtual void SetControlText(int id, std::string_view text) = 0;
  virtual void ShowControl(int id, bool show) = 0;
  virtual void EnableControl(int id, bool enable) = 0;
  virtual void SetControlFont(int id, const FontDesc& font) = 0;
};

// Shows the list of readings (control 1023). The view owns the lines
// (ReadingList) and tells the face each change; nothing is read back.
class FormList {
 public:
  virtual ~FormList() = default;
  virtual void ListReset() = 0;
  virtual void ListAdd(std::string_view line) = 0;
  // Selects the line and scrolls it into view.
  virtual void ListSelect(int index) = 0;
  // Holds back repainting of the list while many lines are added.
  virtual void ListSetRedraw(bool on) = 0;
};

// The main frame's status bar and the message boxes.
class FormStatus {
 public:
  virtual ~FormStatus() = default;
  // A pane of the status bar (pane ids of run/ids.h).
  virtual void SetPaneText(int paneId, std::string_view text) = 0;
  // The whole path of the file the file-name pane names, for a user who
  // wants more than its short title; empty when it names none.
  virtual void SetFilePath(std::string_view path) = 0;
  // A message box with an exclamation icon and an OK button; `detail`, when
  // not empty, is a second line that explains the cause.
  virtual void MessageBox(std::string_view text, std::string_view detail = {}) = 0;
};

// What a file dialog is opened with.
struct FileDialogOptions {
  std::string filter;            // "Name (*.ext)\n*.ext\n...\n\n" pairs as the view gives them
  std::string defaultExtension;  // without the dot
  std::string initialPath;       // the path remembered from the last use, or empty
  bool overwritePrompt = false;  // save: ask before replacing a file
};

class FormDialogs {
 public:
  virtual ~FormDialogs() = default;
  // Runs the port dialog with `selPort` (0 = COM1 .. 3 = COM4) checked.
  // Returns true iff the user pressed OK; `selPort` then holds the choice.
  virtual bool RunPortDialog(int& selPort) = 0;
  // The common file dialogs: the chosen path, or nullopt on cancel.
  virtual std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) = 0;
};

// The meter panel's drawing surface.
class FormPanel {
 public:
  virtual ~FormPanel() = default;
  // The surface in panel pixels, or nullptr when none can be had. Valid
  // until the handler that asked for it returns.
  virtual Canvas* PanelCanvas() = 0;
  // Asks for the whole view to be repainted (background erased).
  virtual void InvalidateView() = 0;
};

// The measuring window itself: its periodic timer and its frame.
class FormWindow {
 public:
  virtual ~FormWindow() = default;
  // Starts the view's periodic timer. Returns true iff it runs.
  virtual bool StartTimer(int id, int periodMs) = 0;
  // Shows the measuring window maximized inside the main frame.
  virtual void ShowFrameMaximized() = 0;
};

template <typename Form>
concept WholeForm = std::derived_from<Form, FormControls> && std::derived_from<Form, FormList> &&
    std::derived_from<Form, FormStatus> && std::derived_from<Form, FormDialogs> &&
    std::derived_from<Form, FormPanel> && std::derived_from<Form, FormWindow>;

// The parts of one face the view drives; each must outlive the view. A face
// with no list on screen gives none (the lines are the view's either way),
// and a face that ticks the view itself, with no window around it, gives no
// window: the view then talks to parts that show nothing and whose timer
// is the face's own loop.
struct FormHost {
  FormControls& controls;
  FormStatus& status;
  FormDialogs& dialogs;
  FormPanel& panel;
  FormList& list;
  FormWindow& window;

  // A face that is every part at once: a form is its own host.
  template <WholeForm Form>
  FormHost(Form& form)
      : controls(form), status(form), dialogs(form), panel(form), list(form), window(form) {}
  // `formList` and `formWindow` may be nullptr.
  FormHost(FormControls& formControls, FormStatus& formStatus, FormDialogs& formDialogs,
           FormPanel& formPanel, FormList* formList, FormWindow* formWindow);
};

}  // namespace ql
