// The cable pulled in the middle of a run, on a real termios line over a
// pseudo-terminal: the readings taken stay, the tick stops polling the dead
// line, the user is told once, Stop and Save work, and the next Start opens
// the port again once the meter is back.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "base/list_line.h"
#include "files/reading_file.h"
#include "reliability/view_on_line.h"
#include "run/ids.h"
#include "sim/meter_words.h"
#include "support/temp_dir.h"
#include "support/view_probe.h"

namespace ql::test_support {
namespace {

constexpr char kLostText[] = "0=Meter connection lost";

class CablePulledTest : public ViewOnLineTest {
 protected:
  // The port names the adapter by a link that goes with it, as a by-id name
  // does. The pseudo-terminal's own number may be handed to another
  // program's new terminal the moment it is gone, which would look like the
  // meter coming back.
  void NameTheAdapterByALink() {
    std::filesystem::create_symlink(meter->SlavePath(), adapterLink);
    devicePath = adapterLink;
  }
  void PullTheAdapter() {
    meter->PullCable();
    std::filesystem::remove(adapterLink);
  }

  TempDir scratch{"ql-cable"};
  std::string savePath = scratch.PathOf("run.rdg");
  std::string adapterLink = scratch.PathOf("usb-meter-cable");
};

TEST_F(CablePulledTest, RunSurvivesThePulledCableAndRestartsOnTheNewDevice) {
  const std::string frame = *FrameFor("DC 12.34 V");
  NameTheAdapterByALink();
  view.OnRunStart();
  ASSERT_EQ(ViewProbe(view).m_bRecording, 1);
  ASSERT_TRUE(TickUntilLines(frame, 3));
  const int recorded = host.ListCount();

  PullTheAdapter();
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
  EXPECT_EQ(view.LineCount(), recorded);
  EXPECT_EQ(ViewProbe(view).m_bCanSave, 1);

  host.saveAnswer = savePath;
  view.OnFileSave();
  EXPECT_EQ(ViewProbe(view).m_bCanSave, 0);
  const std::string saved = ReadBytes(savePath);
  ASSERT_EQ(saved.size(), static_cast<std::size_t>(recorded) * kRecordSize);
  EXPECT_EQ(saved.substr(0, list_line::kLength), host.list.front());

  // The old device is gone: Start says so and changes nothing.
  view.OnRunStart();
  EXPECT_EQ(ViewProbe(view).m_bRunning, 0);
  ASSERT_EQ(host.MessageTexts(), std::vector<std::string>{"Failed to Open ComPort"});
  EXPECT_EQ(host.ListCount(), recorded);

  // The meter is plugged in again and comes back under a new device name.
  meter = std::make_unique<Pty>();
  ASSERT_TRUE(meter->ok());
  devicePath = meter->SlavePath();
  view.OnRunStart();
  ASSERT_EQ(ViewProbe(view).m_bRecording, 1);
  EXPECT_EQ(host.Pane(pane::kMessage), "");
  EXPECT_TRUE(TickUntilLines(*FrameFor("AC 1.234 V"), 2));
  EXPECT_EQ(ViewProbe(view).m_bLineLostShown, 0);
}

TEST_F(CablePulledTest, CablePulledWhilePausedIsToldOnceAndResumeRecordsNothing) {
  view.OnRunStart();
  ASSERT_TRUE(TickUntilLines(*FrameFor("OHM 1.000 kOhm"), 2));
  const int recorded = host.ListCount();
  view.OnRunPause();

  meter->PullCable();
  ASSERT_TRUE(TickUntilLineLostShown());
  view.OnRunStart();  // resume
  ASSERT_EQ(ViewProbe(view).m_bRecording, 1);
  const int queued = line.queuedCalls;
  for (int i = 0; i < 200; ++i) view.OnTimer();

  EXPECT_EQ(line.queuedCalls, queued);
  EXPECT_EQ(host.ListCount(), recorded);
  EXPECT_EQ(std::count(host.paneWrites.begin(), host.paneWrites.end(), kLostText), 1);
  view.OnRunStop();
  EXPECT_EQ(view.LineCount(), recorded);
}

}  // namespace
}  // namespace ql::test_support
