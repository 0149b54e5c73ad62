#pragma once
// The measuring window's members by their names, for tests (and the bench
// and fuzz harnesses) that check or set state no face sees: the view
// befriends this probe and nothing else. Faces read the view through its
// const accessors instead.
//
// The references are valid while the view lives.

#include <array>
#include <cstdint>

#include "run/qarn_view.h"

namespace ql::test_support {

struct ViewProbe {
  explicit ViewProbe(CQarnView& view)
      : m_bIdle(view.m_bIdle),
        m_bRunning(view.m_bRunning),
        m_bRecording(view.m_bRecording),
        m_bCanSave(view.m_bCanSave),
        m_nLineCount(view.m_nLineCount),
        m_szFileName(view.m_szFileName),
        m_bGraphLoaded(view.m_bGraphLoaded),
        m_GraphBuf(view.m_GraphBuf),
        m_nLinesPerPage(view.m_nLinesPerPage),
        m_link(view.m_link),
        m_rsCom(view.m_rsCom),
        m_szDisplay(view.m_szDisplay),
        m_szUnit(view.m_szUnit),
        m_nListDecimals(view.m_nListDecimals),
        m_dWindowSum(view.m_dWindowSum),
        m_fWindowCount(view.m_fWindowCount),
        m_afWindow(view.m_afWindow),
        m_bRel(view.m_bRel),
        m_fRelRef(view.m_fRelRef),
        m_fPeakMax(view.m_fPeakMax),
        m_fPeakMin(view.m_fPeakMin),
        m_bMinMax(view.m_bMinMax),
        m_nDbRefOhm(view.m_nDbRefOhm),
        m_fDbRefKOhm(view.m_fDbRefKOhm),
        m_fontVertical(view.m_fontVertical),
        m_bLineLostShown(view.m_bLineLostShown) {}

  int& m_bIdle;
  int& m_bRunning;
  int& m_bRecording;
  int& m_bCanSave;
  int& m_nLineCount;
  char (&m_szFileName)[CQarnView::kFileNameSize];
  int& m_bGraphLoaded;
  GraphPicture& m_GraphBuf;
  int& m_nLinesPerPage;
  CComQV7300& m_link;
  CRScom& m_rsCom;
  char (&m_szDisplay)[CQarnView::kDisplayFieldSize];
  char (&m_szUnit)[8];
  int& m_nListDecimals;
  double& m_dWindowSum;
  float& m_fWindowCount;
  std::array<float, CQarnView::kWindowSize>& m_afWindow;
  int& m_bRel;
  float& m_fRelRef;
  float& m_fPeakMax;
  float& m_fPeakMin;
  int& m_bMinMax;
  int& m_nDbRefOhm;
  float& m_fDbRefKOhm;
  FontDesc& m_fontVertical;
  int& m_bLineLostShown;
};

}  // namespace ql::test_support
