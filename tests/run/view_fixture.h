#pragma once
// The measuring window on fakes: an in-memory serial line, a recording
// form host with a recording panel canvas, a settings store in memory and a
// clock that tells a fixed time. Ticks are called by hand. The files it
// saves and opens go in the test's own folder (TempDirTest), which goes
// after the view.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "run/memory_profile_store.h"
#include "run/qarn_view.h"
#include "support/fake_serial_line.h"
#include "support/fixed_clock.h"
#include "support/recording_form_host.h"
#include "support/temp_dir.h"
#include "support/view_probe.h"

namespace ql::test_support {

class ViewTest : public TempDirTest {
 protected:
  // Makes the view as the program does: construction, OnCreate and
  // OnInitialUpdate. Tests that prepare the store call it themselves.
  CQarnView& Create() {
    createdView = std::make_unique<CQarnView>(host, store, clock, line);
    createdView->OnCreate();
    createdView->OnInitialUpdate();
    return *createdView;
  }
  CQarnView& View() { return createdView ? *createdView : Create(); }

  // Starts a run and checks that it records.
  void Start() {
    View().OnRunStart();
    ASSERT_EQ(ViewProbe(*createdView).m_bRecording, 1);
  }

  // The meter sends `frame` from now on; ticks until a line is appended.
  // Returns the number of ticks it took, or -1 when none was appended
  // within `maxTicks`.
  int Record(const std::string& frame, int maxTicks = 400) {
    const int before = host.listAdds;
    for (int tick = 1; tick <= maxTicks; ++tick) {
      line.Send(frame);
      createdView->OnTimer();
      if (host.listAdds != before) return tick;
    }
    return -1;
  }

  // Ticks `count` times.
  void Tick(int count) {
    for (int i = 0; i < count; ++i) createdView->OnTimer();
  }

  FakeSerialLine line;
  RecordingFormHost host;
  MemoryProfileStore store;
  FixedClock clock;
  std::unique_ptr<CQarnView> createdView;  // made by Create()
};

}  // namespace ql::test_support
