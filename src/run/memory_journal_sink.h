#pragma once
// A journal sink that keeps everything in memory, for tests of what the view
// reports.

#include <vector>

#include "run/journal_sink.h"

namespace ql {

class MemoryJournalSink : public JournalSink {
 public:
  void BeginRun(const RunInfo& info, WallTime start) override {
    runs.push_back({info, start});
  }
  void Record(const JournalSample& sample) override { samples.push_back(sample); }
  void Event(const RunEvent& event) override { events.push_back(event); }

  struct Run {
    RunInfo info;
    WallTime start;
  };
  std::vector<Run> runs;
  std::vector<JournalSample> samples;
  std::vector<RunEvent> events;
};

}  // namespace ql
