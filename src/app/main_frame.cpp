#include "app/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "app/dialogs.h"
#include "app/frame_ids.h"
#include "app/help.h"
#include "app/measuring_window.h"
#include "app/print_job.h"
#include "app/toolbar_icons.h"
#include "run/ids.h"

namespace ql {
namespace {

// Commands the measuring window's view handles and updates.
bool IsViewCommand(int id) {
  switch (id) {
    case cmd::kFileOpen:
    case cmd::kFileSave:
    case cmd::kRunStart:
    case cmd::kRunStop:
    case cmd::kRunPause:
    case cmd::kViewBar:
    case cmd::kViewLine:
    case cmd::kViewText:
    case cmd::kSampling500ms:
    case cmd::kSampling1s:
    case cmd::kSampling2s:
    case cmd::kSampling5s:
    case cmd::kSampling10s:
    case cmd::kSetupComPort:
      return true;
    default:
      return id >= cmd::kDbRefFirst && id <= cmd::kDbRefLast;
  }
}

constexpr int kIdleRefreshMs = 1000;
constexpr const char* kIdlePrompt = "For Help, press F1";

}  // namespace

CMainFrame::CMainFrame(Dialogs& dialogs, QString settingsPath)
    : dialogs_(dialogs), settingsPath_(std::move(settingsPath)) {
  setObjectName(QStringLiteral("mainFrame"));
  setWindowIcon(AppIcon());
  mdi_ = new QMdiArea(this);
  mdi_->setBackground(QColor(128, 128, 128));
  setCentralWidget(mdi_);
  BuildActions();
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  ShowMenus();
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this] {
    ShowMenus();
    RefreshCommandStates();
  });

  // 640 x 480, centred on the desktop.
  resize(640, 480);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
  }
  // Between commands and ticks, states can change through other windows.
  connect(&idleTimer_, &QTimer::timeout, this, &CMainFrame::RefreshCommandStates);
  idleTimer_.start(kIdleRefreshMs);
  setWindowTitle(QStringLiteral("Quintaline"));
  RefreshCommandStates();
}

CMainFrame::~CMainFrame() {
  // The measuring windows go first, while the frame they write their panes
  // to is still whole; what they signal on the way must not reach it.
  disconnect(mdi_, nullptr, this, nullptr);
  for (MeasuringWindow* window : MeasuringWindows()) {
    disconnect(window, nullptr, this, nullptr);
    delete window;
  }
}

MeasuringWindow* CMainFrame::NewMeasuringWindow() {
  auto* window = new MeasuringWindow(*this, dialogs_, settingsPath_);
  if (!window->Create()) {
    delete window;
    return nullptr;
  }
  mdi_->addSubWindow(window);
  connect(window, &MeasuringWindow::ticked, this, [this, window] { OnWindowTicked(window); });
  connect(window, &QObject::destroyed, this, &CMainFrame::ShowMenus, Qt::QueuedConnection);
  window->OnInitialUpdate();
  ShowMenus();
  RefreshCommandStates();
  return window;
}

QList<MeasuringWindow*> CMainFrame::MeasuringWindows() const {
  QList<MeasuringWindow*> windows;
  for (QMdiSubWindow* sub : mdi_->subWindowList()) {
    if (auto* window = qobject_cast<MeasuringWindow*>(sub)) windows << window;
  }
  return windows;
}

MeasuringWindow* CMainFrame::ActiveMeasuringWindow() const {
  if (auto* window = qobject_cast<MeasuringWindow*>(mdi_->currentSubWindow())) return window;
  const QList<MeasuringWindow*> windows = MeasuringWindows();
  return windows.isEmpty() ? nullptr : windows.back();
}

QList<QAction*> CMainFrame::Actions(int id) const {
  QList<QAction*> actions;
  for (const Command& c : commands_) {
    if (c.id == id) actions << c.action;
  }
  return actions;
}

QAction* CMainFrame::Action(int id) const {
  for (const Command& c : commands_) {
    if (c.id == id) return c.action;
  }
  return nullptr;
}

QList<QMenu*> CMainFrame::Menus() const { return windowMenusShown_ ? windowMenus_ : frameMenus_; }

void CMainFrame::ShowMenus() {
  const bool window = !MeasuringWindows().isEmpty();
  if (window == windowMenusShown_ && !menuBar()->actions().isEmpty()) return;
  windowMenusShown_ = window;
  menuBar()->clear();
  for (QMenu* menu : Menus()) menuBar()->addMenu(menu);
}

void CMainFrame::OnCommand(int id) {
  MeasuringWindow* window = ActiveMeasuringWindow();
  switch (id) {
    case cmd::kFileNew:
      NewMeasuringWindow();
      break;
    case cmd::kExit:
      close();
      break;
    case cmd::kAbout:
      dialogs_.About(this);
      break;
    case cmd::kPrintSetup:
      dialogs_.PageSetup(this, Printer());
      break;
    case cmd::kHelpIndex:
    case frame_cmd::kHelp:
    case frame_cmd::kContextHelp:
      OpenHelp({});
      break;
    case cmd::kHelpUsing:
      OpenHelp(QStringLiteral("using-help"));
      break;
    case frame_cmd::kViewToolbar:
      toolBar_->setVisible(toolBar_->isHidden());
      break;
    case frame_cmd::kViewStatusBar:
      statusBar()->setVisible(statusBar()->isHidden());
      break;
    case frame_cmd::kToolsJournal:
      if (window) window->ShowJournal();
      break;
    case frame_cmd::kToolsExportCsv:
      if (window) window->ExportListCsv();
      break;
    case frame_cmd::kSerialDevices:
      ShowSerialDevices();
      break;
    case frame_cmd::kLinkStatus:
      if (window) window->ShowLinkStatus();
      break;
    case frame_cmd::kCaptureRaw:
      if (window) ToggleCapture(window);
      break;
    case cmd::kFileOpen:
      // The empty frame opens a file into a new measuring window.
      if (!window) window = NewMeasuringWindow();
      if (window) window->Command(id);
      break;
    default:
      if (window) window->Command(id);
      break;
  }
  RefreshCommandStates();
}

void CMainFrame::RefreshCommandStates() {
  MeasuringWindow* window = ActiveMeasuringWindow();
  for (Command& c : commands_) {
    bool enabled = true;
    bool checked = false;
    if (IsViewCommand(c.id)) {
      if (window) {
        const CQarnView::CommandState state = window->UpdateCommand(c.id);
        enabled = state.enabled;
        checked = state.checked;
      } else {
        enabled = c.id == cmd::kFileOpen;
      }
    } else if (c.id == cmd::kPrint || c.id == cmd::kPrintPreview) {
      enabled = window != nullptr;
    } else if (c.id == frame_cmd::kRecentFile1) {
      enabled = false;
    } else if (c.id == frame_cmd::kToolsExportCsv) {
      enabled = window != nullptr && window->View().Lines().Count() > 0;
    } else if (c.id == frame_cmd::kViewToolbar) {
      checked = !toolBar_->isHidden();
    } else if (c.id == frame_cmd::kViewStatusBar) {
      checked = !statusBar()->isHidden();
    } else if (c.id == frame_cmd::kLinkStatus) {
      enabled = window != nullptr;
    } else if (c.id == frame_cmd::kCaptureRaw) {
      // While a run goes on; checked while capturing, when it ends the capture.
      checked = window != nullptr && window->Capturing();
      enabled = checked || (window != nullptr && window->View().OnUpdateRunning());
    }
    if (enabled != c.enabled) {
      c.enabled = enabled;
      c.action->setEnabled(enabled);
    }
    if (checked != c.checked) {
      c.checked = checked;
      c.action->setChecked(checked);
    }
  }
  ShowMeterState(window);
  ShowJournalState();
}

void CMainFrame::ShowMeterState(MeasuringWindow* window) {
  const MeterState state = window ? window->View().MeterStateNow() : MeterState::kHeard;
  const QString text = QString::fromLatin1(MeterStateText(state));
  if (meterIndicator_->text() != text) meterIndicator_->setText(text);
  meterIndicator_->setVisible(!text.isEmpty());
}

void CMainFrame::ShowJournalState() {
  bool failing = false;
  for (MeasuringWindow* window : MeasuringWindows()) failing = failing || window->JournalFailing();
  if (failing == journalIndicator_->isHidden()) journalIndicator_->setVisible(failing);
}

void CMainFrame::ShowJournalTrouble(const QString& problem) {
  SetPaneText(pane::kMessage, problem);
  journalIndicator_->setToolTip(problem);
  journalIndicator_->show();
}

void CMainFrame::OnWindowTicked(MeasuringWindow* window) {
  if (window == ActiveMeasuringWindow()) RefreshCommandStates();
}

void CMainFrame::SetPaneText(int paneId, const QString& text) {
  // The message pane falls back to its idle prompt when a message ends.
  const QString shown = paneId == 0 && text.isEmpty() ? QString::fromLatin1(kIdlePrompt) : text;
  if (QLabel* pane = Pane(paneId); pane && pane->text() != shown) pane->setText(shown);
}

void CMainFrame::SetPaneToolTip(int paneId, const QString& tip) {
  if (QLabel* pane = Pane(paneId)) pane->setToolTip(tip);
}

QLabel* CMainFrame::Pane(int paneId) const {
  const auto it = panes_.find(paneId);
  return it == panes_.end() ? nullptr : it->second;
}

QPrinter& CMainFrame::Printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    FitReportPage(*printer_);
  }
  return *printer_;
}

void CMainFrame::OpenHelp(const QString& topic) {
  const QString path = HelpFilePath();
  if (path.isEmpty()) {
    dialogs_.Message(this, QStringLiteral("Help is not available"),
                     QStringLiteral("%1 was not found next to the program.")
                         .arg(QString::fromLatin1(kHelpFileName)));
    return;
  }
  if (!dialogs_.OpenHelp(HelpUrl(path, topic))) {
    dialogs_.Message(this, QStringLiteral("Help is not available"),
                     QStringLiteral("No viewer could open %1.").arg(path));
  }
}

}  // namespace ql
