#pragma once
// The step the sampling tick and `monitor` share: after a ReadFrame, decode
// the link's frame when it ended a period with a sample due.

#include "decode/lcd_decoder.h"
#include "link/com_qv7300.h"

namespace ql {

// Returns true iff `readResult` (what ReadFrame returned) is RX_READY, a
// sample is due and the link's frame decodes into `texts`. The sample stays
// due until the caller takes it.
[[nodiscard]] bool DecodeDueFrame(CComQV7300& link, int readResult, LcdTexts& texts);

}  // namespace ql
