// What the view tells its journal: every recorded sample with its wall time
// and part, and the run's events, while the list behaves as it always did.

#include <string>
#include <vector>

#include "meter_frames.h"
#include "run/ids.h"
#include "run/memory_journal_sink.h"
#include "support/view_probe.h"
#include "view_fixture.h"

namespace ql::test_support {
namespace {

// A wall clock that moves on by half a second at every reading.
class SteppingWallClock : public WallClock {
 public:
  WallTime Now() override {
    const WallTime t{now_us, 3600};
    now_us += 500'000;
    return t;
  }
  std::int64_t now_us = 1'700'000'000'000'000;
};

class JournalFeedTest : public ViewTest {
 protected:
  CQarnView& CreateWithJournal() {
    CQarnView& v = Create();
    v.SetJournal({&sink, &wall, "9.9", "test", [] { return std::string("/dev/pts/9"); }});
    return v;
  }

  // The kinds and details of the events, as "start|list cleared:why|...".
  std::string Events() const {
    std::string text;
    for (const RunEvent& e : sink.events) {
      if (!text.empty()) text += '|';
      text += RunEventName(e.kind);
      if (!e.detail.empty()) text += ":" + e.detail;
    }
    return text;
  }

  MemoryJournalSink sink;
  SteppingWallClock wall;
};

TEST_F(JournalFeedTest, RangeChangesClearTheListButTheJournalKeepsEveryPart) {
  CQarnView& view = CreateWithJournal();
  Start();
  // Three ranges: 39.99 V, 399.9 V, then 3.999 V.
  const std::vector<std::string> displays = {" 12.34", " 12.35", " 123.4", " 1.234", " 1.235"};
  for (const std::string& d : displays) ASSERT_GT(Record(DcVolts(d)), 0) << d;
  view.OnRunStop();

  // The list holds the last range only, as it always did.
  ASSERT_EQ(host.list.size(), 2u);
  ASSERT_EQ(sink.samples.size(), displays.size());
  EXPECT_EQ(sink.samples[3].list_line, host.list[0]);
  EXPECT_EQ(sink.samples[4].list_line, host.list[1]);

  struct Want {
    const char* range;
    double value;
  };
  const Want want[] = {{"39.99", 12.34}, {"39.99", 12.35}, {"399.9", 123.4}, {"3.999", 1.234},
                       {"3.999", 1.235}};
  for (std::size_t i = 0; i < displays.size(); ++i) {
    SCOPED_TRACE(i);
    const JournalSample& s = sink.samples[i];
    EXPECT_EQ(s.function, "DCV");
    EXPECT_EQ(s.unit, "Vdc");
    EXPECT_EQ(s.range, want[i].range);
    ASSERT_TRUE(s.value.has_value());
    // The number the display showed, not its single-precision neighbour
    // (12.3400001525879), which CSV and SQL would show.
    EXPECT_EQ(*s.value, want[i].value);
    EXPECT_FALSE(s.over_range);
    EXPECT_EQ(s.display_text, displays[i]);
    EXPECT_EQ(s.list_line.size(), 61u);
    // Time goes on from the run's start; seconds agree with it.
    EXPECT_GT(s.time.utc_us, sink.runs.at(0).start.utc_us);
    EXPECT_DOUBLE_EQ(s.seconds_since_start,
                     static_cast<double>(s.time.utc_us - sink.runs[0].start.utc_us) / 1e6);
  }
  EXPECT_EQ(Events(),
            "start|list cleared:function, unit or range changed|"
            "list cleared:function, unit or range changed|stop");
  ASSERT_EQ(sink.runs.size(), 1u);
  EXPECT_EQ(sink.runs[0].info.program_version, "9.9");
  EXPECT_EQ(sink.runs[0].info.face, "test");
  EXPECT_EQ(sink.runs[0].info.device_path, "/dev/pts/9");
  EXPECT_EQ(sink.runs[0].info.port_name, view.Link().DeviceName());
  EXPECT_EQ(sink.runs[0].info.sampling_ms, view.PortSettings().m_nSampling * 50LL);
  EXPECT_EQ(sink.runs[0].info.db_reference, ViewProbe(view).m_nDbRefOhm);
}

TEST_F(JournalFeedTest, PauseResumeStopLineLostAndSaveAreEvents) {
  CQarnView& view = CreateWithJournal();
  Start();
  ASSERT_GT(Record(DcVolts(" 1.234")), 0);
  view.OnCommand(cmd::kRunPause);
  view.OnCommand(cmd::kRunPause);  // already paused: nothing more
  view.OnCommand(cmd::kRunStart);  // resumes
  ASSERT_GT(Record(DcVolts(" 1.235")), 0);
  line.lost = true;
  Tick(3);  // told once, however many ticks see it
  view.OnCommand(cmd::kRunStop);
  host.saveAnswer = ::testing::TempDir() + "journal_feed_save.rdg";
  view.OnCommand(cmd::kFileSave);
  EXPECT_EQ(Events(), "start|pause|resume|line lost|stop|saved:" + *host.saveAnswer);
  EXPECT_EQ(sink.samples.size(), 2u);
  std::remove(host.saveAnswer->c_str());
}

TEST_F(JournalFeedTest, OverRangeHasNoValueButKeepsTheDisplay) {
  CreateWithJournal();
  Start();
  ASSERT_GT(Record(DcVolts(" 39.99")), 0);  // the limit of its range counts as over
  ASSERT_EQ(sink.samples.size(), 1u);
  EXPECT_TRUE(sink.samples[0].over_range);
  EXPECT_FALSE(sink.samples[0].value.has_value());
  EXPECT_EQ(sink.samples[0].display_text, " 39.99");
  EXPECT_NE(sink.samples[0].list_line.find(" OVER "), std::string::npos);
}

TEST_F(JournalFeedTest, WithoutASinkTheViewRecordsAsBefore) {
  Create();
  Start();
  ASSERT_GT(Record(DcVolts(" 1.234")), 0);
  EXPECT_EQ(host.list.size(), 1u);
  EXPECT_TRUE(sink.samples.empty());
}

}  // namespace
}  // namespace ql::test_support
