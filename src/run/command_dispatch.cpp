// One entry for the faces: every command and button of the measuring window
// by its id, and the enabled and checked state of each.

#include "run/ids.h"
#include "run/qarn_view.h"

namespace ql {

namespace {

bool IsSamplingCommand(int id) {
  return id == cmd::kSampling500ms || (id >= cmd::kSampling1s && id <= cmd::kSampling10s);
}

int SamplingIndex(int id) { return id == cmd::kSampling500ms ? 0 : id - cmd::kSampling1s + 1; }

bool IsDbCommand(int id) { return id >= cmd::kDbRefFirst && id <= cmd::kDbRefLast; }

}  // namespace

CQarnView::CommandState CQarnView::OnUpdateCommand(int id) const {
  switch (id) {
    case cmd::kRunStart:
    case cmd::kSetupComPort:
    case cmd::kFileOpen:
      return {OnUpdateIdle(), false};
    case cmd::kRunStop:
      return {OnUpdateRunning(), false};
    case cmd::kRunPause:
      return {OnUpdateRecording(), false};
    case cmd::kFileSave:
      return {OnUpdateFileSave(), false};
    case ctl::kRelButton:
      return {true, m_bRel != 0};
    case ctl::kPeakButton:
      return {true, m_bPeakHold != 0};
    case ctl::kMinMaxButton:
      return {true, m_bMinMax != 0};
    case ctl::kDbButton:
      return {true, m_bDb != 0};
    default:
      break;
  }
  if (IsSamplingCommand(id)) {
    return {true, m_bSamplingCheck[static_cast<std::size_t>(SamplingIndex(id))] != 0};
  }
  if (IsDbCommand(id)) {
    return {true, m_bDbCheck[static_cast<std::size_t>(id - cmd::kDbRefFirst)] != 0};
  }
  return {true, false};
}

bool CQarnView::OnCommand(int id) {
  if (!OnUpdateCommand(id).enabled) return false;
  switch (id) {
    case cmd::kRunStart:
      OnRunStart();
      return true;
    case cmd::kRunStop:
      OnRunStop();
      return true;
    case cmd::kRunPause:
      OnRunPause();
      return true;
    case cmd::kSetupComPort:
      OnSetupComPort();
      return true;
    case cmd::kFileOpen:
      OnFileOpen();
      return true;
    case cmd::kFileSave:
      OnFileSave();
      return true;
    case cmd::kViewBar:
      OnViewBar();
      return true;
    case cmd::kViewLine:
      OnViewLine();
      return true;
    case cmd::kViewText:
      OnViewText();
      return true;
    case ctl::kRelButton:
      OnButtonRel();
      return true;
    case ctl::kPeakButton:
      OnButtonPeakHold();
      return true;
    case ctl::kMinMaxButton:
      OnButtonMinMax();
      return true;
    case ctl::kDbButton:
      OnButtonDb();
      return true;
    default:
      return OnSamplingCommand(id) || OnDbCommand(id);
  }
}

}  // namespace ql
