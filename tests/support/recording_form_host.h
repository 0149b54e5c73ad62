#pragma once
// Every part of a FormHost, for tests of the measuring window: it keeps the
// state the view gave the form (control texts, shown and enabled flags,
// fonts, the list of readings, status-bar panes), records message boxes and
// the dialogs asked for, and hands out a RecordingCanvas as the meter panel.
//
// Knobs: whether a panel canvas can be had, whether the timer starts, the
// answer of the port dialog and of the file dialogs (nullopt: cancel).

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "graph/recording_canvas.h"
#include "run/form_host.h"

namespace ql::test_support {

class RecordingFormHost : public FormControls,
                          public FormList,
                          public FormStatus,
                          public FormDialogs,
                          public FormPanel,
                          public FormWindow {
 public:
  struct Message {
    std::string text;
    std::string detail;
  };

  // Knobs.
  bool canvasAvailable = true;
  bool timerStarts = true;
  std::optional<int> portDialogAnswer;  // nullopt: Cancel
  std::optional<std::string> openAnswer;
  std::optional<std::string> saveAnswer;

  // What the view did.
  std::map<int, std::string> texts;
  std::map<int, bool> shown;
  std::map<int, bool> enabled;
  std::map<int, FontDesc> fonts;
  std::vector<std::string> list;
  int selected = -1;
  int listResets = 0;
  int listAdds = 0;
  bool listRedraw = true;
  std::map<int, std::string> panes;
  std::vector<std::string> paneWrites;  // "id=text", oldest first
  std::string filePath;                 // as the view last gave it
  std::vector<Message> messages;
  RecordingCanvas canvas;
  int invalidations = 0;
  std::vector<int> timers;  // ids started
  bool maximized = false;
  std::vector<int> portDialogs;  // the port checked when each dialog opened
  std::vector<FileDialogOptions> openDialogs;
  std::vector<FileDialogOptions> saveDialogs;

  // The text of control `id`, or "" when the view never set one.
  std::string Text(int id) const {
    auto it = texts.find(id);
    return it == texts.end() ? std::string() : it->second;
  }
  std::string Pane(int id) const {
    auto it = panes.find(id);
    return it == panes.end() ? std::string() : it->second;
  }
  // Message-box texts, in order.
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> out;
    for (const Message& m : messages) out.push_back(m.text);
    return out;
  }

  void SetControlText(int id, std::string_view text) override { texts[id] = std::string(text); }
  void ShowControl(int id, bool show) override { shown[id] = show; }
  void EnableControl(int id, bool enable) override { enabled[id] = enable; }
  void SetControlFont(int id, const FontDesc& font) override { fonts[id] = font; }

  void ListReset() override {
    list.clear();
    selected = -1;
    ++listResets;
  }
  void ListAdd(std::string_view line) override {
    list.emplace_back(line);
    ++listAdds;
  }
  int ListCount() const { return static_cast<int>(list.size()); }
  std::string ListText(int index) const {
    return list.at(static_cast<std::size_t>(index));
  }
  void ListSelect(int index) override { selected = index; }
  void ListSetRedraw(bool on) override { listRedraw = on; }

  void SetPaneText(int paneId, std::string_view text) override {
    panes[paneId] = std::string(text);
    paneWrites.push_back(std::to_string(paneId) + "=" + std::string(text));
  }
  void SetFilePath(std::string_view path) override { filePath = std::string(path); }
  void MessageBox(std::string_view text, std::string_view detail) override {
    messages.push_back({std::string(text), std::string(detail)});
  }

  Canvas* PanelCanvas() override { return canvasAvailable ? &canvas : nullptr; }
  void InvalidateView() override { ++invalidations; }
  bool StartTimer(int id, int /*periodMs*/) override {
    if (!timerStarts) return false;
    timers.push_back(id);
    return true;
  }
  void ShowFrameMaximized() override { maximized = true; }

  bool RunPortDialog(int& selPort) override {
    portDialogs.push_back(selPort);
    if (!portDialogAnswer) return false;
    selPort = *portDialogAnswer;
    return true;
  }
  std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) override {
    openDialogs.push_back(options);
    return openAnswer;
  }
  std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) override {
    saveDialogs.push_back(options);
    return saveAnswer;
  }
};

}  // namespace ql::test_support
