#pragma once
// The main frame: a multiple-document window with the menus, the toolbar,
// the status bar and the measuring windows inside it.
//
// Every menu item, toolbar button and accelerator is a QAction with the
// command id it stands for. A command goes to the frame's own handler (New,
// Exit, About, Print Setup, help, tool and status bar) or to the current
// measuring window. After every command, after every tick of the current
// window and once a second, the enabled and checked state of each action is
// taken from the window's update handlers; an action is touched only when
// its state changed.
//
// With a measuring window the frame shows its menus (File, Run, View,
// Setup, Tools, Help); with none, the short menus of an empty frame.

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <map>
#include <memory>
#include <vector>

#include "app/qarn_form.h"
#include "ports/serial_devices.h"

class QLabel;
class QMdiArea;
class QMenu;
class QPrinter;
class QToolBar;

namespace ql {

class Dialogs;
class MeasuringWindow;
class SerialDevicesDlg;

class CMainFrame : public QMainWindow, public PaneSink {
  Q_OBJECT
 public:
  // `dialogs` must outlive the frame; each measuring window keeps its
  // settings in the file `settingsPath`.
  CMainFrame(Dialogs& dialogs, QString settingsPath);
  ~CMainFrame() override;

  // File New: a measuring window with its own view, link and settings,
  // maximized. Returns nullptr when the view could not be created.
  MeasuringWindow* NewMeasuringWindow();
  MeasuringWindow* ActiveMeasuringWindow() const;
  QList<MeasuringWindow*> MeasuringWindows() const;

  // Carries out command `id`, then refreshes the actions.
  void OnCommand(int id);
  void RefreshCommandStates();

  // The actions of command `id` (one per distinct menu text), first one
  // first; empty if the frame has none.
  QList<QAction*> Actions(int id) const;
  QAction* Action(int id) const;
  QToolBar* ToolBar() const { return toolBar_; }
  QMdiArea* MdiArea() const { return mdi_; }
  // The top-level menus now in the menu bar.
  QList<QMenu*> Menus() const;

  // Status-bar panes by id (0 is the message pane).
  void SetPaneText(int paneId, const QString& text) override;
  void SetPaneToolTip(int paneId, const QString& tip) override;
  QLabel* Pane(int paneId) const;
  // The indicator left of the panes that tells of a lost or silent meter
  // for as long as it lasts; hidden while there is nothing to tell.
  QLabel* MeterIndicator() const { return meterIndicator_; }
  // The indicator beside it that tells of a journal that cannot be written,
  // for as long as any window's journal fails.
  QLabel* JournalIndicator() const { return journalIndicator_; }
  // A journal failure: told once in the message pane; the indicator shows
  // while it lasts, with `problem` as its tip.
  void ShowJournalTrouble(const QString& problem);

  // The printer of Print, Print Preview and Print Setup, kept for the
  // program's life so page settings carry over.
  QPrinter& Printer();
  Dialogs& dialogs() { return dialogs_; }

  // Where Tools > Serial Devices... looks for devices (the system's /sys,
  // /dev and /proc unless a test lays out a tree of its own).
  void SetDeviceScanRoots(ScanRoots roots) { scanRoots_ = std::move(roots); }
  // The Serial Devices window, once it was opened.
  SerialDevicesDlg* SerialDevices() const;

 private:
  struct Command {
    int id;
    QAction* action;
    bool enabled;
    bool checked;
  };

  void BuildActions();
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  QAction* MakeAction(int id, const QString& text);
  void ShowMenus();
  void OpenHelp(const QString& topic);
  void OnWindowTicked(MeasuringWindow* window);
  void ShowMeterState(MeasuringWindow* window);
  void ShowJournalState();
  QLabel* MakeIndicator(const char* name);
  // Tools (frame_tools.cpp).
  void ShowSerialDevices();
  void ToggleCapture(MeasuringWindow* window);

  Dialogs& dialogs_;
  QString settingsPath_;
  QMdiArea* mdi_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  std::map<int, QLabel*> panes_;
  QLabel* meterIndicator_ = nullptr;
  QLabel* journalIndicator_ = nullptr;
  std::vector<Command> commands_;
  QList<QMenu*> frameMenus_;   // menus of the empty frame
  QList<QMenu*> windowMenus_;  // menus of a measuring window
  bool windowMenusShown_ = false;
  QTimer idleTimer_;
  std::unique_ptr<QPrinter> printer_;
  ScanRoots scanRoots_;
  QPointer<SerialDevicesDlg> serialDevices_;
};

}  // namespace ql
