// The main frame's actions, menus, toolbar and status bar, with the texts,
// mnemonics and accelerators of the program's menus.

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <array>

#include "app/frame_ids.h"
#include "app/main_frame.h"
#include "app/toolbar_icons.h"
#include "run/ids.h"
#include "run/settings_tables.h"

namespace ql {
namespace {

struct PaneLayout {
  int id;
  const char* sizingText;
};

// Left to right after the message pane.
constexpr std::array<PaneLayout, 4> kPanes{{{pane::kFileName, "FILENAME.EXT"},
                                            {pane::kDbRef, "1000 Ohm"},
                                            {pane::kSampling, "250 mSEC"},
                                            {pane::kPort, "COM 1"}}};

}  // namespace

QAction* CMainFrame::MakeAction(int id, const QString& text) {
  for (const Command& c : commands_) {
    if (c.id == id && c.action->text() == text) return c.action;
  }
  auto* action = new QAction(text, this);
  action->setIconVisibleInMenu(false);
  connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  addAction(action);  // accelerators work whichever menus are shown
  commands_.push_back({id, action, true, false});
  return action;
}

void CMainFrame::BuildActions() {
  struct Plain {
    int id;
    const char* text;
    const char* keys;
    const char* tip;
  };
  const Plain plain[] = {
      {cmd::kFileNew, "&New\tCtrl+N", "Ctrl+N", "Open another measuring window"},
      {cmd::kFileOpen, "&Open...\tCtrl+O", "Ctrl+O", "Open a data file"},
      {cmd::kFileSave, "&Save\tCtrl+S", "Ctrl+S", "Save the readings of the run"},
      {cmd::kPrint, "&Print...\tCtrl+P", "Ctrl+P", "Print a report of the readings"},
      {cmd::kPrintPreview, "Print Pre&view", "", "Show the printed report on screen"},
      {cmd::kPrintSetup, "P&rint Setup...", "", "Choose the printer and the page"},
      {frame_cmd::kRecentFile1, "Recent File", "", "Open a recently used file"},
      {cmd::kExit, "E&xit", "", "Quit Quintaline"},
      {cmd::kRunStart, "&Start", "", "Start a run, or resume a paused one"},
      {cmd::kRunStop, "Sto&p", "", "Stop the run and close the port"},
      {cmd::kRunPause, "Pa&use", "", "Pause recording; the port stays open"},
      {cmd::kViewBar, "&Bar", "", "Show the readings as a bar graph"},
      {cmd::kViewLine, "&Line", "", "Show the readings as a line graph"},
      {cmd::kViewText, "&Text", "", "Show the current reading on the meter panel"},
      {frame_cmd::kViewToolbar, "&Toolbar", "", "Show or hide the toolbar"},
      {frame_cmd::kViewStatusBar, "&Status Bar", "", "Show or hide the status bar"},
      {cmd::kSetupComPort, "Com  &Port", "", "Choose the serial port of the meter"},
      {frame_cmd::kToolsJournal, "Journal...", "",
       "The runs the journal keeps: load one into the list, export or delete it"},
      {frame_cmd::kToolsExportCsv, "Export CSV...", "",
       "Write the list of readings as CSV for a spreadsheet"},
      {frame_cmd::kSerialDevices, "Serial &Devices...", "",
       "The serial devices, the port names they have, and which one the meter is on"},
      {frame_cmd::kLinkStatus, "&Link Status...", "",
       "What the meter link received and dropped, and the modem lines"},
      {frame_cmd::kCaptureRaw, "&Capture Raw Bytes...", "",
       "Keep every byte the meter sends, with its time, in a file to replay"},
      {cmd::kHelpIndex, "&Index", "", "Open the Quintaline help"},
      {cmd::kHelpIndex, "&Read Me", "", "Open the Quintaline help"},
      {cmd::kHelpUsing, "&Using Help", "", "How to find your way in the help"},
      {cmd::kAbout, "&About...", "", "Program name and version"},
      {cmd::kAbout, "&About ...", "", "Program name and version"},
      {frame_cmd::kHelp, "Help", "F1", "Open the Quintaline help"},
      {frame_cmd::kContextHelp, "Help on...", "Shift+F1", "Open the Quintaline help"},
  };
  for (const Plain& p : plain) {
    QAction* action = MakeAction(p.id, QString::fromLatin1(p.text));
    if (*p.keys) action->setShortcut(QKeySequence(QString::fromLatin1(p.keys)));
    action->setStatusTip(QString::fromLatin1(p.tip));
  }
  for (std::size_t i = 0; i < kDbChoices.size(); ++i) {
    QAction* action =
        MakeAction(cmd::kDbRefFirst + static_cast<int>(i), QString::fromLatin1(kDbChoices[i].text));
    action->setCheckable(true);
    action->setStatusTip(QStringLiteral("Reference impedance of the dB readings"));
  }
  for (const SamplingChoice& s : kSamplingChoices) {
    QAction* action = MakeAction(s.command, QString::fromLatin1(s.text).trimmed());
    action->setCheckable(true);
    action->setStatusTip(QStringLiteral("Time between two recorded samples"));
  }
  for (int id : {frame_cmd::kViewToolbar, frame_cmd::kViewStatusBar}) {
    Action(id)->setCheckable(true);
    Action(id)->setChecked(true);
  }
  Action(frame_cmd::kCaptureRaw)->setCheckable(true);
  for (Command& c : commands_) c.checked = c.action->isChecked();
}

void CMainFrame::BuildMenus() {
  const auto find = [this](int id, const char* text) {
    for (const Command& c : commands_) {
      if (c.id == id && c.action->text() == QString::fromLatin1(text)) return c.action;
    }
    return static_cast<QAction*>(nullptr);
  };
  const auto menu = [this](const char* title) {
    return new QMenu(QString::fromLatin1(title), this);
  };

  // The empty frame.
  QMenu* file = menu("&File");
  file->addAction(Action(cmd::kFileNew));
  file->addAction(Action(cmd::kFileOpen));
  file->addAction(Action(cmd::kPrintSetup));
  file->addSeparator();
  file->addAction(Action(frame_cmd::kRecentFile1));
  file->addSeparator();
  file->addAction(Action(cmd::kExit));
  QMenu* view = menu("&View");
  view->addAction(Action(frame_cmd::kViewToolbar));
  view->addAction(Action(frame_cmd::kViewStatusBar));
  QMenu* help = menu("&Help");
  help->addAction(find(cmd::kHelpIndex, "&Index"));
  help->addAction(Action(cmd::kHelpUsing));
  help->addSeparator();
  help->addAction(find(cmd::kAbout, "&About..."));
  frameMenus_ = {file, view, help};

  // A measuring window.
  file = menu("&File");
  file->addAction(Action(cmd::kFileOpen));
  file->addAction(Action(cmd::kFileSave));
  file->addSeparator();
  file->addAction(Action(cmd::kPrint));
  file->addAction(Action(cmd::kPrintPreview));
  file->addAction(Action(cmd::kPrintSetup));
  file->addSeparator();
  file->addAction(Action(cmd::kExit));
  QMenu* run = menu("&Run");
  run->addAction(Action(cmd::kRunStart));
  run->addAction(Action(cmd::kRunStop));
  run->addAction(Action(cmd::kRunPause));
  view = menu("&View");
  view->addAction(Action(cmd::kViewBar));
  view->addAction(Action(cmd::kViewLine));
  view->addAction(Action(cmd::kViewText));
  QMenu* setup = menu("&Setup");
  QMenu* db = setup->addMenu(QStringLiteral("&dB"));
  for (int id = cmd::kDbRefFirst; id <= cmd::kDbRefLast; ++id) db->addAction(Action(id));
  QMenu* sampling = setup->addMenu(QStringLiteral("Sampling &Time"));
  for (const SamplingChoice& s : kSamplingChoices) sampling->addAction(Action(s.command));
  setup->addSeparator();
  setup->addAction(Action(cmd::kSetupComPort));
  QMenu* tools = menu("&Tools");
  tools->addAction(Action(frame_cmd::kToolsJournal));
  tools->addAction(Action(frame_cmd::kToolsExportCsv));
  tools->addSeparator();
  tools->addAction(Action(frame_cmd::kSerialDevices));
  tools->addAction(Action(frame_cmd::kLinkStatus));
  tools->addAction(Action(frame_cmd::kCaptureRaw));
  help = menu("&Help");
  help->addAction(find(cmd::kHelpIndex, "&Read Me"));
  help->addAction(Action(cmd::kHelpUsing));
  help->addSeparator();
  help->addAction(find(cmd::kAbout, "&About ..."));
  windowMenus_ = {file, run, view, setup, tools, help};
}

void CMainFrame::BuildToolBar() {
  toolBar_ = new QToolBar(QStringLiteral("Toolbar"), this);
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setIconSize(QSize(kToolbarImageWidth, kToolbarImageHeight));
  toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
  struct Button {
    int id;  // 0: a separator
    ToolbarImage image;
    const char* tip;
  };
  const Button buttons[] = {
      {cmd::kFileOpen, ToolbarImage::kOpen, "Open"},
      {cmd::kFileSave, ToolbarImage::kSave, "Save"},
      {0, ToolbarImage::kOpen, ""},
      {cmd::kPrint, ToolbarImage::kPrint, "Print"},
      {0, ToolbarImage::kOpen, ""},
      {cmd::kRunStart, ToolbarImage::kStart, "Start"},
      {cmd::kRunStop, ToolbarImage::kStop, "Stop"},
      {cmd::kRunPause, ToolbarImage::kPause, "Pause"},
  };
  for (const Button& b : buttons) {
    if (b.id == 0) {
      toolBar_->addSeparator();
      continue;
    }
    QAction* action = Action(b.id);
    action->setIcon(ToolbarIcon(b.image));
    action->setToolTip(QString::fromLatin1(b.tip));
    toolBar_->addAction(action);
  }
  addToolBar(Qt::TopToolBarArea, toolBar_);
}

// A red indicator left of the panes, hidden while there is nothing to tell.
QLabel* CMainFrame::MakeIndicator(const char* name) {
  auto* indicator = new QLabel(statusBar());
  indicator->setObjectName(QString::fromLatin1(name));
  indicator->setTextFormat(Qt::PlainText);
  QPalette red = indicator->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  indicator->setPalette(red);
  QFont bold = indicator->font();
  bold.setBold(true);
  indicator->setFont(bold);
  indicator->hide();
  statusBar()->addPermanentWidget(indicator);
  return indicator;
}

void CMainFrame::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  auto* message = new QLabel(bar);
  message->setObjectName(QStringLiteral("pane0"));
  bar->addWidget(message, 1);
  panes_[0] = message;
  SetPaneText(0, {});
  meterIndicator_ = MakeIndicator("meterIndicator");
  journalIndicator_ = MakeIndicator("journalIndicator");
  journalIndicator_->setText(QStringLiteral("Journal error"));
  for (const PaneLayout& p : kPanes) {
    auto* pane = new QLabel(bar);
    pane->setObjectName(QStringLiteral("pane%1").arg(p.id));
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setTextFormat(Qt::PlainText);
    const QFontMetrics metrics(pane->font());
    pane->setFixedWidth(metrics.horizontalAdvance(QString::fromLatin1(p.sizingText)) + 8);
    bar->addPermanentWidget(pane);
    panes_[p.id] = pane;
  }
}

}  // namespace ql
