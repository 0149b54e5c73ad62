// The 50 ms tick: drains the meter link, and once per sampling period
// decodes the newest frame, records it in the list of readings and shows it
// on the meter panel or in the trend graph.

#include <cstdio>

#include "decode/class_letters.h"
#include "decode/due_frame.h"
#include "graph/canvas.h"
#include "run/ids.h"
#include "run/qarn_view.h"
#include "graph/panel_geometry.h"

namespace ql {

namespace {

constexpr char kLineLostText[] = "Meter connection lost";
constexpr char kLineBackText[] = "Meter connection back";

// The panel area painted white when a sample ends the graph-file form.
constexpr int kPanelRight = panel::kRight;
constexpr int kPanelTextBottom = panel::kTextBottom;

}  // namespace

void CQarnView::OnTimer() {
  if (m_nDisplayForm == FORM_NONE) return;
  m_link.Tick();
  m_meterWatch.Observe(m_link.Counters().framesTaken);

  if (m_bRunning && !m_bRecording) {
    // Paused: keep the port drained and the periods running.
    if (!LineDown()) {
      m_link.ReadFrame();
      CheckLineLost();
    }
    return;
  }
  if (m_bIdle) {
    if ((m_nDisplayForm == FORM_LINE || m_nDisplayForm == FORM_BAR) && m_nDeferredRedraw != 0) {
      OnDraw();
      --m_nDeferredRedraw;
    }
    return;
  }

  // A lost line delivers nothing more: record no stale repeats of the last
  // frame, and do no work but the reopen tries until the device is back or
  // the user stops or restarts the run.
  if (LineDown()) return;
  const int result = m_link.ReadFrame();
  if (CheckLineLost() || !DecodeDueFrame(m_link, result, m_lcd)) return;

  Canvas* canvas = m_host.panel.PanelCanvas();
  if (canvas == nullptr) m_host.status.MessageBox("Fail Getdc!");

  const Reading reading = Classify(m_lcd);
  m_chClass = reading.classLetter;
  m_fValue = reading.value;
  if (reading.classLetter == 0) {
    ClearForNoClass();
    return;
  }
  if (reading.classLetter == class_letter::kSignalOut) return;

  char line[kLineLength + 1];
  BuildListLine(reading, line);
  m_host.controls.SetControlFont(ctl::kList, m_fontList);
  RecordSample(reading, line);

  switch (m_nDisplayForm) {
    case FORM_LINE:
      DrawTrendGraph();
      break;
    case FORM_BAR:
      OnViewBar();
      break;
    case FORM_TEXT:
    case FORM_GRAPHFILE:
      UpdatePanel(canvas, reading);
      break;
    default:
      break;
  }
}

MeterState CQarnView::MeterStateNow() const {
  if (!m_bRunning) return MeterState::kHeard;
  if (m_link.LineLost()) return MeterState::kNoMeter;
  if (m_bRecording && m_meterWatch.Silent(m_link.m_nReload)) return MeterState::kSilent;
  return MeterState::kHeard;
}

bool CQarnView::CheckLineLost() {
  if (!m_link.LineLost()) return false;
  if (!m_bLineLostShown) {
    m_bLineLostShown = 1;
    m_host.status.SetPaneText(pane::kMessage, kLineLostText);
    JournalEvent(RunEventKind::kLineLost);
  }
  return true;
}

bool CQarnView::LineDown() {
  if (!CheckLineLost()) return false;
  if (m_link.TryReopen()) LineBack();
  return true;
}

void CQarnView::LineBack() {
  // The list goes on as it was: the next sample joins it unless its kind
  // differs. The quiet time of the gap is not the meter's silence.
  m_bLineLostShown = 0;
  m_meterWatch.Restart(m_link.Counters().framesTaken);
  m_host.status.SetPaneText(pane::kMessage, kLineBackText);
  JournalEvent(RunEventKind::kLineBack);
}

void CQarnView::UpdatePanel(Canvas* canvas, const Reading& reading) {
  std::snprintf(m_szDisplay, sizeof m_szDisplay, "%s", m_lcd.display);
  std::snprintf(m_szUnit, sizeof m_szUnit, "%s", m_lcd.unit);

  m_host.controls.ShowControl(ctl::kField6, true);
  m_host.controls.ShowControl(ctl::kUnit, true);
  m_host.controls.ShowControl(ctl::kField4, true);

  ApplyModes(reading);

  // The range test belongs to the meter's own reading: a difference, level
  // or conductance the modes show in its place is never "over range".
  const bool over = PanelOverRange(m_lcd.display, reading.classLetter, reading.decimals);
  m_host.controls.SetControlFont(ctl::kReading, m_fontPanel);
  m_host.controls.SetControlText(ctl::kReading, over ? "OVER" : m_szDisplay);

  for (char& c : m_szUnit) {
    if (c == 'u') c = kMicroSign;
  }
  m_host.controls.SetControlFont(ctl::kUnit, m_fontLargeGreek);
  m_host.controls.SetControlText(ctl::kUnit, m_szUnit);
  m_host.controls.SetControlFont(ctl::kPrefix, m_fontLarge);
  m_host.controls.SetControlText(ctl::kPrefix, m_szPrefix);
  m_host.controls.SetControlFont(ctl::kField6, m_fontLarge);
  m_host.controls.SetControlText(ctl::kField6, m_szField6);
  m_host.controls.SetControlFont(ctl::kField4, m_fontLargeGreek);
  m_host.controls.SetControlText(ctl::kField4, m_szField4);

  if (m_nDisplayForm != FORM_TEXT) {
    if (canvas != nullptr) canvas->FillRect(0, 0, kPanelRight, kPanelTextBottom, kWhite);
    SetDisplayForm(FORM_TEXT);
  }
}

}  // namespace ql
