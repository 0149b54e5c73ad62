#pragma once
// The measuring window on fakes (run/view_fixture.h) with the step the
// reliability tests share: record a run of readings and stop it.

#include <string>

#include "run/qarn_view.h"
#include "run/view_fixture.h"
#include "sim/meter_words.h"
#include "support/view_probe.h"

namespace ql::test_support {

class ViewOnFakesTest : public ViewTest {
 protected:
  // Records `count` readings of `words` in a run and stops it: Save is then
  // available. Returns true iff all were recorded.
  bool RecordStoppedRun(int count, const char* words = "DC 12.34 V") {
    if (!createdView) Create();
    createdView->OnRunStart();
    if (ViewProbe(*createdView).m_bRecording != 1) return false;
    const std::string frame = *FrameFor(words);
    for (int tick = 0; tick < 1000 && host.ListCount() < count; ++tick) {
      line.Send(frame);
      createdView->OnTimer();
    }
    createdView->OnRunStop();
    return host.ListCount() == count;
  }
};

}  // namespace ql::test_support
