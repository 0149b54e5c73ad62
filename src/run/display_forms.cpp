// What the meter panel shows: the switch between the display forms, the
// View commands, and the drawing of the trend graph and of the graph-file
// picture on every repaint.

#include "graph/canvas.h"
#include "graph/graph_picture.h"
#include "graph/trend_graph.h"
#include "run/ids.h"
#include "run/qarn_view.h"
#include "graph/panel_geometry.h"

namespace ql {

namespace {

constexpr int kPanelRight = panel::kRight;
constexpr int kPanelBottom = panel::kBottom;
constexpr int kReadingFields[] = {ctl::kReading, ctl::kUnit, ctl::kPrefix, ctl::kField6,
                                  ctl::kField4};

}  // namespace

void CQarnView::SetDisplayForm(int nForm) {
  if (nForm != m_nDisplayForm) m_bNoDataShown = 0;
  m_nDisplayForm = nForm;
  switch (nForm) {
    case FORM_TEXT:
      m_bGraphLoaded = 0;
      for (int id : kReadingFields) {
        m_host.controls.SetControlText(id, " ");
        m_host.controls.ShowControl(id, true);
      }
      break;
    case FORM_GRAPHFILE:
      m_bGraphLoaded = 1;
      for (int id : kReadingFields) m_host.controls.ShowControl(id, false);
      break;
    case FORM_LINE:
    case FORM_BAR:
      m_bGraphLoaded = 0;
      for (int id : kReadingFields) m_host.controls.ShowControl(id, false);
      break;
    default:
      m_nDisplayForm = FORM_NONE;
      m_bGraphLoaded = 0;
      break;
  }
}

void CQarnView::OnViewBar() {
  SetDisplayForm(FORM_BAR);
  // The command asks for the graph: an empty list is reported every time.
  m_bNoDataShown = 0;
  DrawTrendGraph();
}

void CQarnView::OnViewLine() {
  SetDisplayForm(FORM_LINE);
  m_bNoDataShown = 0;
  DrawTrendGraph();
}

void CQarnView::OnViewText() {
  if (Canvas* canvas = m_host.panel.PanelCanvas()) {
    canvas->SetTransparentText(false);
    canvas->FillRect(0, 0, kPanelRight, kPanelBottom, kGreen);
  }
  m_host.panel.InvalidateView();
  m_host.controls.SetControlFont(ctl::kReading, m_fontPanel);
  SetDisplayForm(FORM_TEXT);
}

void CQarnView::DrawTrendGraph() {
  if (m_list.Count() == 0) {
    // A repaint after the message must not bring it back without end.
    if (!m_bNoDataShown) {
      m_bNoDataShown = 1;
      m_host.status.MessageBox(kNoDataText);
    }
    return;
  }
  m_nGraphStart = 0;
  m_nGraphLength = kGraphSize;
  if (Canvas* canvas = m_host.panel.PanelCanvas()) {
    ql::DrawTrendGraph(*canvas, m_list, m_nDisplayForm, m_fGraphValue, m_szGraphLabel);
  }
  m_nGraphStart = 0;
  m_nGraphLength = kGraphSize;
}

void CQarnView::DrawGraphFile() {
  if (!m_bGraphLoaded) return;
  SetDisplayForm(FORM_GRAPHFILE);
  ClearList("graph file shown");
  if (Canvas* canvas = m_host.panel.PanelCanvas()) ql::DrawGraphFile(*canvas, m_GraphBuf);
}

void CQarnView::OnDraw() {
  if (m_nDeferredRedraw == 0) m_nDeferredRedraw = 1;
  switch (m_nDisplayForm) {
    case FORM_GRAPHFILE:
      DrawGraphFile();
      break;
    case FORM_LINE:
    case FORM_BAR:
      DrawTrendGraph();
      break;
    default:
      break;
  }
}

}  // namespace ql
