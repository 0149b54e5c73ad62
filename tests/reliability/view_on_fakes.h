#pragma once
// The measuring window on fakes (in-memory line, recording form host,
// settings in memory, fixed clock), with the steps the reliability tests
// share: record a run of readings, stop it, and work in a scratch folder.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "run/memory_profile_store.h"
#include "run/qarn_view.h"
#include "sim/meter_words.h"
#include "support/fake_serial_line.h"
#include "support/fixed_clock.h"
#include "support/recording_form_host.h"
#include "support/temp_dir.h"
#include "support/view_probe.h"

namespace ql::test_support {

// The view goes before the scratch folder (dir_) does.
class ViewOnFakesTest : public TempDirTest {
 protected:
  // Creates the view as the program does, on what the store holds now.
  CQarnView& Create() {
    view = std::make_unique<CQarnView>(host, store, clock, line);
    view->OnCreate();
    view->OnInitialUpdate();
    return *view;
  }

  // Records `count` readings of `words` in a run and stops it: Save is then
  // available. Returns true iff all were recorded.
  bool RecordStoppedRun(int count, const char* words = "DC 12.34 V") {
    if (!view) Create();
    view->OnRunStart();
    if (ViewProbe(*view).m_bRecording != 1) return false;
    const std::string frame = *FrameFor(words);
    for (int tick = 0; tick < 1000 && host.ListCount() < count; ++tick) {
      line.Send(frame);
      view->OnTimer();
    }
    view->OnRunStop();
    return host.ListCount() == count;
  }

  FakeSerialLine line;
  RecordingFormHost host;
  MemoryProfileStore store;
  FixedClock clock;
  std::unique_ptr<CQarnView> view;
};

}  // namespace ql::test_support
