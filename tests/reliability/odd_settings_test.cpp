// The measuring window created on stored settings outside every menu choice
// (the settings file is the user's to edit): a negative or huge port index,
// a sampling code of zero, negative or huge, a dB reference of zero or
// negative, and a sampling text of any length. The view starts, runs with
// the min/max and dB modes on, stops and saves; what each value does is pinned
// down here.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "files/reading_file.h"
#include "reliability/view_on_fakes.h"
#include "run/ids.h"
#include "support/view_probe.h"

namespace ql::test_support {
namespace {

constexpr int kTicks = 64;

struct OddSetting {
  const char* name;
  const char* section;
  const char* key;
  std::string value;
  int lines;               // lines recorded in kTicks ticks with the meter sending
  std::string portPane;    // "" where the port is not the subject
  std::string device;      // the device name the run opened
  std::string panel = {};  // in the reading shown with dB on; "" where not the subject
};

class OddSettingsTest : public ViewOnFakesTest, public ::testing::WithParamInterface<OddSetting> {};

TEST_P(OddSettingsTest, ViewStartsRunsStopsAndSaves) {
  const OddSetting& odd = GetParam();
  store.Set(odd.section, odd.key, odd.value);
  Create();
  createdView->OnRunStart();
  ASSERT_EQ(ViewProbe(*createdView).m_bRecording, 1);
  EXPECT_EQ(line.openedName, odd.device);
  createdView->OnButtonMinMax();
  createdView->OnButtonDb();

  const std::string frame = *FrameFor("AC 1.234 V");
  for (int tick = 0; tick < kTicks; ++tick) {
    line.Send(frame);
    createdView->OnTimer();
  }
  EXPECT_EQ(host.ListCount(), odd.lines);
  for (const std::string& text : host.list) EXPECT_EQ(text.size(), 61u);
  if (!odd.panel.empty()) {
    EXPECT_NE(host.Text(ctl::kReading).find(odd.panel), std::string::npos)
        << host.Text(ctl::kReading);
  }
  if (!odd.portPane.empty()) {
    EXPECT_EQ(host.Pane(pane::kPort), odd.portPane);
  }
  EXPECT_TRUE(host.messages.empty());

  createdView->OnRunStop();
  host.saveAnswer = PathOf("run.rdg");
  createdView->OnFileSave();
  EXPECT_EQ(ViewProbe(*createdView).m_bCanSave, 0);
  EXPECT_EQ(ReadBytes(PathOf("run.rdg")).size(), static_cast<std::size_t>(odd.lines) * kRecordSize);
}

const std::string kLongText(5000, 'S');

// With the default 1 s sampling (16 ticks) a run of 64 ticks records the
// first tick's sample and one per period after it: 4 lines.
INSTANTIATE_TEST_SUITE_P(
    Values, OddSettingsTest,
    ::testing::Values(
        // A negative index means "no port": the run opens COM0, which no
        // device stands for on a real system, and the reader reads nothing.
        OddSetting{"PortMinusOne", "COMM", "Port", "-1", 0, "COM 0", "COM0"},
        OddSetting{"PortMostNegative", "COMM", "Port", std::to_string(INT_MIN), 0,
                   "COM -2147483647", "COM0"},
        // Four and above open the TELNET device.
        OddSetting{"PortFour", "COMM", "Port", "4", 4, "COM 5", "\\\\.\\TELNET"},
        OddSetting{"PortHuge", "COMM", "Port", std::to_string(INT_MAX), 4, "COM 2147483648",
                   "\\\\.\\TELNET"},
        // A code outside the table is the period in ticks; zero or less
        // takes a sample on every tick.
        OddSetting{"SamplingZero", "Sampling Time", "Current", "0", kTicks, "", "COM2"},
        OddSetting{"SamplingNegative", "Sampling Time", "Current", "-7", kTicks, "", "COM2"},
        OddSetting{"SamplingMostNegative", "Sampling Time", "Current", std::to_string(INT_MIN),
                   kTicks, "", "COM2"},
        // A huge period takes the first tick's sample and no other.
        OddSetting{"SamplingHuge", "Sampling Time", "Current", std::to_string(INT_MAX), 1, "",
                   "COM2"},
        OddSetting{"SamplingNotANumber", "Sampling Time", "Current", "fast", 4, "", "COM2"},
        OddSetting{"SamplingTextLong", "Sampling Time", "Use display", kLongText, 4, "", "COM2"},
        OddSetting{"SamplingTextEmpty", "Sampling Time", "Use display", "", 4, "", "COM2"},
        // The dB level against a reference of zero ohms is infinite, and
        // against a negative one not a number; both are shown as printf
        // writes them.
        OddSetting{"DbReferenceZero", "Db", "Ref", "0", 4, "", "COM2", "inf"},
        OddSetting{"DbReferenceNegative", "Db", "Ref", "-600", 4, "", "COM2", "nan"},
        OddSetting{"DbReferenceHuge", "Db", "Ref", std::to_string(INT_MAX), 4, "", "COM2",
                   "-61.49"}),
    [](const ::testing::TestParamInfo<OddSetting>& tested) { return tested.param.name; });

}  // namespace
}  // namespace ql::test_support
