// Creating the view and starting, pausing, resuming and stopping a run.

#include <cstdio>

#include "graph/canvas.h"
#include "run/ids.h"
#include "run/qarn_view.h"
#include "graph/panel_geometry.h"

namespace ql {

namespace {

// The meter panel's reset rectangle, in panel pixels.
constexpr int kPanelRight = panel::kRight;
constexpr int kPanelBottom = panel::kBottom;

}  // namespace

CQarnView::CQarnView(FormHost host, ProfileStore& store, Clock& clock, SerialLine& line)
    : m_link(line), m_host(host), m_store(store), m_clock(clock) {
  m_link.SetMessageFn([this](std::string_view text, std::string_view detail) {
    m_host.status.MessageBox(text, detail);
  });
}

int CQarnView::OnCreate() {
  m_link.TakeSample();
  SetDisplayForm(FORM_NONE);
  m_nLinesPerPage = 45;
  m_nGraphStart = 0;
  m_nGraphLength = kGraphSize;
  ReadSettings();
  WriteStatusPanes();
  m_fontPanel = kPanelFont;
  m_fontLarge = kLargeFont;
  m_fontLargeGreek = kLargeGreekFont;
  m_fontVertical = kVerticalFont;
  m_fontList = kListFont;
  // Without the timer the view still opens; it just never samples.
  if (!m_host.window.StartTimer(kViewTimerId, kViewTimerMs))
    m_host.status.MessageBox("Too many clocks!");
  m_nDisplayForm = FORM_NONE;
  return 0;
}

void CQarnView::OnInitialUpdate() {
  m_host.window.ShowFrameMaximized();
  m_host.controls.SetControlFont(ctl::kList, m_fontList);
}

void CQarnView::OnRunStart() {
  if (m_bRunning && !m_bRecording) {
    // Resume a paused run: the port is still open and nothing is reset.
    m_bIdle = 0;
    m_bRecording = 1;
    JournalEvent(RunEventKind::kResume);
    return;
  }
  if (m_link.Open(PortNumber()) != 1) return;

  m_dWindowSum = 0.0;
  m_bIdle = 0;
  m_bRunning = 1;
  m_bRecording = 1;
  m_bCanSave = 0;
  m_link.EndPeriodNow();  // the first tick ends a sampling period at once
  m_meterWatch.Restart(m_link.Counters().framesTaken);
  if (m_bLineLostShown) {
    m_host.status.SetPaneText(pane::kMessage, "");
    m_bLineLostShown = 0;
  }

  m_lcd = LcdTexts{};
  m_chClass = 0;
  std::snprintf(m_szDisplay, sizeof m_szDisplay, "%s", "      ");
  std::snprintf(m_szUnit, sizeof m_szUnit, "%s", "    ");
  m_chListClass = 0;
  // A run starts a list of its own; the journal's first part begins with
  // its first sample.
  ClearList("run started");
  JournalBeginRun();

  if (Canvas* canvas = m_host.panel.PanelCanvas()) {
    canvas->FillRect(0, 0, kPanelRight, kPanelBottom, kGreen);
  }
  m_host.panel.InvalidateView();

  m_host.controls.SetControlFont(ctl::kReading, m_fontPanel);
  SetDisplayForm(FORM_TEXT);
  m_host.controls.SetControlText(ctl::kReading, "WAIT");

  std::snprintf(m_szFileName, sizeof m_szFileName, "%s", "NONAME");
  m_host.status.SetPaneText(pane::kFileName, m_szFileName);
  m_host.status.SetFilePath({});
}

void CQarnView::OnRunPause() {
  if (m_bRecording) JournalEvent(RunEventKind::kPause);
  m_bRecording = 0;
  m_bIdle = 1;
  m_bRunning = 1;
}

void CQarnView::OnRunStop() {
  if (m_bRunning) JournalEvent(RunEventKind::kStop);
  m_bJournalPartOpen = 0;
  m_bRunning = 0;
  m_bRecording = 0;
  m_bIdle = 1;
  m_bCanSave = 1;
  m_link.Close();
  m_nLineCount = m_list.Count();
}

}  // namespace ql
