#pragma once
// A measuring window: the form inside an MDI child window, with its own
// view, meter link, serial line, copy of the settings and writer of the run
// journal. Commands reach the view through Command(); Print and Print
// Preview are carried out here, through the one print path of print_job.h,
// and so are the Tools commands (the journal dialog, CSV export). Closing a
// measuring window stops its run and closes the main frame, which ends the
// program.

#include <QMdiSubWindow>
#include <QPointer>

#include <memory>
#include <string>

#include "app/dialogs.h"
#include "link/posix_serial_line.h"
#include "qtsupport/settings_store.h"
#include "run/qarn_view.h"
#include "run/system_clock.h"

class QPrinter;

namespace ql {

class CMainFrame;
class Dialogs;
class JournalDialog;
class LinkStatusWindow;
class QarnForm;
class RawCapture;
namespace journal {
class JournalWriter;
}

class MeasuringWindow : public QMdiSubWindow {
  Q_OBJECT
 public:
  MeasuringWindow(CMainFrame& frame, Dialogs& dialogs, const QString& settingsPath);
  ~MeasuringWindow() override;

  // The view's creation: settings, status-bar panes, fonts, timer. Returns
  // true iff the view was created.
  bool Create();
  // Shows the window maximized with an empty list.
  void OnInitialUpdate();

  // Carries out command `id` (run/ids.h) in this window.
  void Command(int id);
  CQarnView::CommandState UpdateCommand(int id) const;

  CQarnView& View() { return *view_; }
  QarnForm& Form() { return *form_; }
  // The device paths of COM1 .. COM4 as this window's settings map them.
  QStringList PortDevices() const;
  // The device path a port name ("COM2") maps to in this window's settings.
  std::string DevicePath(const std::string& portName) const { return devices_(portName); }
  // Stores `path` as the device of `portName` (section "COMM"). Returns false
  // when the settings file could not be written.
  bool StorePortDevice(const std::string& portName, const std::string& path);
  QString SettingsPath() const { return store_.Path(); }

  // Tools > Link Status...: shows this window's link status window, made
  // at the first call.
  LinkStatusWindow* ShowLinkStatus();
  // Tools > Capture Raw Bytes...: a capture of the bytes the link receives
  // into `path`, for as long as the run goes on or until StopCapture.
  Status StartCapture(const QString& path);
  void StopCapture();
  bool Capturing() const;

  // Tools > Journal: shows the journal dialog (made on first use).
  void ShowJournal();
  JournalDialog* Journal() const { return journalDialog_; }
  // Tools > Export CSV: the list of readings as CSV.
  void ExportListCsv();
  // Returns true iff the journal is on and its last write failed.
  bool JournalFailing() const;

 signals:
  // The view's timer tick has been handled.
  void ticked();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Print();
  void PrintPreview();
  // A print job that failed to reach the printer.
  void PrintFailed(const QPrinter& printer);
  // Tells the user, once, that the capture stopped; the run goes on.
  void CaptureFailed(const Status& failure);
  // Opens the journal as section "Journal" of the settings says and hands
  // it to the view; its old runs are removed now, never on a tick.
  void OpenJournal();

  CMainFrame& frame_;
  Dialogs& dialogs_;
  SettingsStore store_;
  DeviceMap devices_;
  PosixSerialLine line_;
  SystemClock clock_;
  SystemWallClock wallClock_;
  std::unique_ptr<journal::JournalWriter> journal_;  // none when the journal is off
  QarnForm* form_ = nullptr;                         // owned by the window's widget tree
  std::unique_ptr<CQarnView> view_;
  std::unique_ptr<RawCapture> capture_;  // taps view_'s link
  QPointer<LinkStatusWindow> linkStatus_;
  JournalDialog* journalDialog_ = nullptr;  // owned by the window's widget tree
  CsvExportChoice csvChoice_;
  std::string csvPath_;
};

}  // namespace ql
