// The cable pulled in the middle of a run, on a real termios line over a
// pseudo-terminal: the readings taken stay, the tick stops polling the dead
// line, the user is told once, Stop and Save work, and the next Start opens
// the port again once the meter is back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/list_line.h"
#include "files/reading_file.h"
#include "reliability/view_on_line.h"
#include "run/ids.h"
#include "sim/meter_words.h"

namespace ql::testing {
namespace {

constexpr char kLostText[] = "0=Meter connection lost";

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class CablePulledTest : public ViewOnLineTest {
 protected:
  void TearDown() override { std::filesystem::remove(savePath); }
  std::string savePath =
      (std::filesystem::temp_directory_path() / ("ql-cable-" + std::to_string(::getpid()) + ".rdg"))
          .string();
};

TEST_F(CablePulledTest, RunSurvivesThePulledCableAndRestartsOnTheNewDevice) {
  const std::string frame = *FrameFor("DC 12.34 V");
  view.OnRunStart();
  ASSERT_EQ(view.m_bRecording, 1);
  ASSERT_TRUE(TickUntilLines(frame, 3));
  const int recorded = host.ListCount();

  meter->PullCable();
  ASSERT_TRUE(TickUntilLineLostShown());

  // A thousand more ticks: no polling or reading of the dead line, nothing
  // added, nothing taken away, and the user was told once.
  const int queued = line.queuedCalls;
  const int reads = line.readCalls;
  for (int i = 0; i < 1000; ++i) view.OnTimer();
  EXPECT_EQ(line.queuedCalls, queued);
  EXPECT_EQ(line.readCalls, reads);
  EXPECT_EQ(host.ListCount(), recorded);
  EXPECT_EQ(std::count(host.paneWrites.begin(), host.paneWrites.end(), kLostText), 1);
  EXPECT_TRUE(host.messages.empty());

  view.OnRunStop();
  EXPECT_FALSE(posixLine.IsOpen());
  EXPECT_EQ(view.m_nLineCount, recorded);
  EXPECT_EQ(view.m_bCanSave, 1);

  host.saveAnswer = savePath;
  view.OnFileSave();
  EXPECT_EQ(view.m_bCanSave, 0);
  const std::string saved = ReadBytes(savePath);
  ASSERT_EQ(saved.size(), static_cast<std::size_t>(recorded) * kRecordSize);
  EXPECT_EQ(saved.substr(0, list_line::kLength), host.list.front());

  // The old device is gone: Start says so and changes nothing.
  view.OnRunStart();
  EXPECT_EQ(view.m_bRunning, 0);
  ASSERT_EQ(host.MessageTexts(), std::vector<std::string>{"Failed to Open ComPort"});
  EXPECT_EQ(host.ListCount(), recorded);

  // The meter is plugged in again and comes back under a new device name.
  meter = std::make_unique<PtyPair>();
  ASSERT_TRUE(meter->ok());
  devicePath = meter->SlavePath();
  view.OnRunStart();
  ASSERT_EQ(view.m_bRecording, 1);
  EXPECT_EQ(host.Pane(pane::kMessage), "");
  EXPECT_TRUE(TickUntilLines(*FrameFor("AC 1.234 V"), 2));
  EXPECT_EQ(view.m_bLineLostShown, 0);
}

TEST_F(CablePulledTest, CablePulledWhilePausedIsToldOnceAndResumeRecordsNothing) {
  view.OnRunStart();
  ASSERT_TRUE(TickUntilLines(*FrameFor("OHM 1.000 kOhm"), 2));
  const int recorded = host.ListCount();
  view.OnRunPause();

  meter->PullCable();
  ASSERT_TRUE(TickUntilLineLostShown());
  view.OnRunStart();  // resume
  ASSERT_EQ(view.m_bRecording, 1);
  const int queued = line.queuedCalls;
  for (int i = 0; i < 200; ++i) view.OnTimer();

  EXPECT_EQ(line.queuedCalls, queued);
  EXPECT_EQ(host.ListCount(), recorded);
  EXPECT_EQ(std::count(host.paneWrites.begin(), host.paneWrites.end(), kLostText), 1);
  view.OnRunStop();
  EXPECT_EQ(view.m_nLineCount, recorded);
}

}  // namespace
}  // namespace ql::testing
