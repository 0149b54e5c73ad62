#include "decode/due_frame.h"

namespace ql {

bool DecodeDueFrame(CComQV7300& link, int readResult, LcdTexts& texts) {
  if (readResult != RX_READY || !link.SampleDue()) return false;
  return DecodeLcdFrame(
      link.m_strFrame, [&link] { return link.CarrierDetect(); }, texts);
}

}  // namespace ql
