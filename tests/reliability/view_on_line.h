#pragma once
// The measuring window on the real termios line over a pseudo-terminal,
// with the other seams faked: the meter is the pty's master side, and every
// poll and read of the line is counted.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "link/posix_serial_line.h"
#include "reliability/counting_line.h"
#include "run/memory_profile_store.h"
#include "run/qarn_view.h"
#include "support/fixed_clock.h"
#include "support/poll_until.h"
#include "support/pty.h"
#include "support/recording_form_host.h"
#include "support/view_probe.h"

namespace ql::test_support {

class ViewOnLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    meter = std::make_unique<Pty>();
    ASSERT_TRUE(meter->ok());
    devicePath = meter->SlavePath();
    store.Set("Sampling Time", "Current", "10");  // 500 ms: 8 ticks a sample
    view.OnCreate();
    view.OnInitialUpdate();
  }

  // Ticks, the meter sending `frame` before each, until the list holds
  // `lines` lines or the deadline passes. Returns true iff it got there.
  bool TickUntilLines(const std::string& frame, int lines) {
    return PollUntil([&] {
      if (host.ListCount() >= lines) return true;
      meter->Send(frame);
      view.OnTimer();
      return host.ListCount() >= lines;
    });
  }

  // Ticks until the view has told the user that the line was lost, or the
  // deadline passes. Returns true iff it did.
  bool TickUntilLineLostShown() {
    return PollUntil([&] {
      if (ViewProbe(view).m_bLineLostShown != 0) return true;
      view.OnTimer();
      return ViewProbe(view).m_bLineLostShown != 0;
    });
  }

  std::unique_ptr<Pty> meter;
  std::string devicePath;
  PosixSerialLine posixLine{[this](const std::string&) { return devicePath; }};
  CountingLine line{posixLine};
  RecordingFormHost host;
  MemoryProfileStore store;
  FixedClock clock;
  CQarnView view{host, store, clock, line};
};

}  // namespace ql::test_support
