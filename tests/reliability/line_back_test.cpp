// A USB adapter pulled during a run and plugged back: its stable name (here
// a symbolic link, as under /dev/serial/by-id) disappears with it and comes
// back pointing at a new device. The run reopens it by itself and recording
// goes on into the same list; the journal marks the gap.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "reliability/view_on_line.h"
#include "run/ids.h"
#include "run/memory_journal_sink.h"
#include "run/meter_watch.h"
#include "sim/meter_words.h"

namespace ql::test_support {
namespace {

class EpochWallClock : public WallClock {
 public:
  WallTime Now() override { return WallTime{++now_us, 0}; }
  std::int64_t now_us = 0;
};

class LineBackTest : public ViewOnLineTest {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "ql-replug-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
    stableName = (folder / "usb-Meter_Cable_A1-if00-port0").string();
    ViewOnLineTest::SetUp();
    PointStableNameAt(meter->SlavePath());
    devicePath = stableName;
    view.SetJournal({&journal, &wall, "test", "test", [this] { return devicePath; }});
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }

  // The adapter is pulled: its device and its stable name go away.
  void Unplug() {
    meter->PullCable();
    std::filesystem::remove(stableName);
  }
  // The adapter is plugged in again: a new device under the same stable name.
  void PlugBackIn() {
    meter = std::make_unique<Pty>();
    ASSERT_TRUE(meter->ok());
    PointStableNameAt(meter->SlavePath());
  }

  void PointStableNameAt(const std::string& device) {
    std::filesystem::remove(stableName);
    std::filesystem::create_symlink(device, stableName);
  }
  // Ticks at the tick's pace for `ticks` ticks, the meter silent.
  void TickQuietly(int ticks) {
    for (int i = 0; i < ticks; ++i) {
      view.OnTimer();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  std::string Events() const {
    std::string text;
    for (const RunEvent& e : journal.events) text += std::string(RunEventName(e.kind)) + "|";
    return text;
  }

  std::filesystem::path folder;
  std::string stableName;
  MemoryJournalSink journal;
  EpochWallClock wall;
};

TEST_F(LineBackTest, RecordingGoesOnWhenTheSameNameComesBackOnANewDevice) {
  const std::string frame = *FrameFor("DC 12.34 V");
  view.OnRunStart();
  ASSERT_EQ(ViewProbe(view).m_bRecording, 1);
  ASSERT_TRUE(TickUntilLines(frame, 3));
  const std::vector<std::string> before = host.list;

  Unplug();
  ASSERT_TRUE(TickUntilLineLostShown());
  EXPECT_EQ(view.MeterStateNow(), MeterState::kNoMeter);
  // A hundred ticks (five seconds of a run) without the device: a few quiet
  // tries, no message box, nothing recorded.
  line.reopenCalls = 0;
  TickQuietly(100);
  EXPECT_GE(line.reopenCalls, 4);
  EXPECT_LE(line.reopenCalls, 5);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.list, before);

  // Plugged back: the kernel gives it a new device, udev the same name.
  ASSERT_NO_FATAL_FAILURE(PlugBackIn());
  const std::string other = *FrameFor("DC 23.45 V");
  ASSERT_TRUE(TickUntilLines(other, static_cast<int>(before.size()) + 2));
  EXPECT_EQ(ViewProbe(view).m_bLineLostShown, 0);
  EXPECT_EQ(host.Pane(pane::kMessage), "Meter connection back");
  EXPECT_EQ(view.MeterStateNow(), MeterState::kHeard);
  EXPECT_TRUE(host.messages.empty());
  // The same list goes on: the lines before the gap are kept, and no line
  // repeats the last reading from before it.
  ASSERT_GT(host.list.size(), before.size());
  EXPECT_TRUE(std::equal(before.begin(), before.end(), host.list.begin()));
  for (std::size_t i = before.size(); i < host.list.size(); ++i) {
    EXPECT_NE(host.list[i].find("23.45"), std::string::npos) << host.list[i];
  }
  EXPECT_EQ(Events(), "start|line lost|line back|");

  // And it can go and come back again.
  Unplug();
  ASSERT_TRUE(TickUntilLineLostShown());
  ASSERT_NO_FATAL_FAILURE(PlugBackIn());
  const int count = host.ListCount();
  ASSERT_TRUE(TickUntilLines(other, count + 1));
  EXPECT_EQ(Events(), "start|line lost|line back|line lost|line back|");

  view.OnRunStop();
  EXPECT_FALSE(posixLine.IsOpen());
  EXPECT_EQ(ViewProbe(view).m_nLineCount, host.ListCount());
}

TEST_F(LineBackTest, LineBackWhilePausedResumesIntoTheSameList) {
  view.OnRunStart();
  ASSERT_TRUE(TickUntilLines(*FrameFor("OHM 1.000 kOhm"), 2));
  view.OnRunPause();
  Unplug();
  ASSERT_TRUE(TickUntilLineLostShown());

  ASSERT_NO_FATAL_FAILURE(PlugBackIn());
  ASSERT_TRUE(PollUntil([&] {
    TickQuietly(1);
    return !view.Link().LineLost();
  }));
  EXPECT_EQ(ViewProbe(view).m_bRecording, 0);

  const int count = host.ListCount();
  view.OnRunStart();  // resume
  EXPECT_TRUE(TickUntilLines(*FrameFor("OHM 1.000 kOhm"), count + 1));
  EXPECT_EQ(Events(), "start|pause|line lost|line back|resume|");
}

}  // namespace
}  // namespace ql::test_support
