#pragma once
// The measuring window's form on Qt widgets, and the FormHost the view
// drives it through: the meter panel with its reading fields, the mode
// buttons and boxes, the header buttons and the list of readings, plus the
// status-bar panes, message boxes and dialogs that the view reaches through
// the form.
//
// The form knows nothing of the view: it reports the timer, the mode
// buttons and the repaints that want the view's drawing as signals, and the
// owner calls the view inside Handle(), which closes the panel's canvas when
// the handler returns. The view's drawing never runs inside a paint event:
// a repaint only shows the panel's picture, and the view's OnDraw is
// requested (drawRequested) after the event loop comes round.

#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "run/fonts.h"
#include "run/form_host.h"

namespace ql {

class Dialogs;
class MeterPanel;
class ReadingListView;

// Where the view's status-bar texts go: the main frame's panes.
class PaneSink {
 public:
  virtual ~PaneSink() = default;
  virtual void SetPaneText(int paneId, const QString& text) = 0;
  virtual void SetPaneToolTip(int paneId, const QString& tip) = 0;
};

class QarnForm : public QWidget, public FormHost {
  Q_OBJECT
 public:
  // The device paths of COM1 .. COM4, for the port dialog.
  using DeviceList = std::function<QStringList()>;

  // `dialogs` and `panes` must outlive the form.
  QarnForm(Dialogs& dialogs, PaneSink& panes, DeviceList devices, QWidget* parent = nullptr);
  ~QarnForm() override;

  // Runs `handler` (a call into the view) as one window-system handler.
  template <typename Handler>
  void Handle(Handler&& handler) {
    ++handlerDepth_;
    std::forward<Handler>(handler)();
    EndHandler();
  }

  // The control with id `id` (run/ids.h), or nullptr.
  QWidget* Control(int id) const;
  ReadingListView* List() const { return list_; }
  MeterPanel* Panel() const { return panel_; }
  // The title of the file the view works on, as the file-name pane shows it.
  const QString& FileTitle() const { return fileTitle_; }
  // The font a control was last given, or nullptr if none.
  const FontDesc* ControlFont(int id) const;

  // Shows each mode button pressed iff `isOn(its id)`.
  void ShowModes(const std::function<bool(int)>& isOn);

  // FormHost.
  void SetControlText(int id, std::string_view text) override;
  std::string ControlText(int id) const override;
  void ShowControl(int id, bool show) override;
  void EnableControl(int id, bool enable) override;
  void SetControlFont(int id, const FontDesc& font) override;
  void ListReset() override;
  void ListAdd(std::string_view line) override;
  // What the list view shows.
  int ListCount() const;
  std::string ListText(int index) const;
  void ListSelect(int index) override;
  void ListSetRedraw(bool on) override;
  void SetPaneText(int paneId, std::string_view text) override;
  void SetFilePath(std::string_view path) override;
  void MessageBox(std::string_view text, std::string_view detail = {}) override;
  Canvas* PanelCanvas() override;
  void InvalidateView() override;
  bool StartTimer(int id, int periodMs) override;
  void ShowFrameMaximized() override;
  bool RunPortDialog(int& selPort) override;
  std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) override;
  std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) override;

 signals:
  void timerTick();
  void buttonCommand(int id);
  void drawRequested();
  void maximizeRequested();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildControls();
  void EndHandler();
  void CloseCanvas();
  // Asks once for the view's OnDraw after the event loop comes round.
  void ScheduleDraw();
  const QFont& FontOf(const FontDesc& desc);

  Dialogs& dialogs_;
  PaneSink& panes_;
  DeviceList devices_;

  std::map<int, QWidget*> controls_;
  std::map<int, std::string> texts_;      // control texts as the view set them
  std::map<int, FontDesc> controlFonts_;  // fonts as the view gave them
  std::vector<std::pair<FontDesc, QFont>> fonts_;
  MeterPanel* panel_ = nullptr;
  ReadingListView* list_ = nullptr;
  QString fileTitle_;
  bool listRedraw_ = true;
  int pendingSelect_ = -1;  // a selection held back while the list does not redraw

  QTimer timer_;
  int handlerDepth_ = 0;  // handlers of the view now running, nested by modal dialogs
  int canvasDepth_ = -1;  // the handler depth that opened the panel's canvas; -1: closed
  bool drawPending_ = false;
};

}  // namespace ql
