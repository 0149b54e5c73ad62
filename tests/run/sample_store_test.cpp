// The list of readings and the averaging window.

#include "base/list_line.h"
#include "meter_frames.h"
#include "run/ids.h"
#include "support/view_probe.h"
#include "view_fixture.h"

namespace ql::test_support {
namespace {

using SampleStoreTest = ViewTest;

TEST_F(SampleStoreTest, LineHasTheFixedLayout) {
  Start();
  ASSERT_EQ(Record(DcVolts(" 12.34")), 1);
  EXPECT_EQ(host.list[0], " 14:02:37       12.34 Vdc                DCV                 ");
  EXPECT_EQ(host.selected, 0);
}

TEST_F(SampleStoreTest, MicroReadingsCarryTheMicroSignInUnitAndLabel) {
  Start();
  ASSERT_EQ(Record(MeterFrame(" 123.4", {frame::kAc, frame::kMicro, frame::kAmpere})), 1);
  const std::string& listed = host.list[0];
  ASSERT_EQ(listed.size(), list_line::kLength);
  EXPECT_EQ(list_line::Text(listed, list_line::kUnit),
            "\xB5"
            "Aac");
  EXPECT_EQ(list_line::Text(listed, list_line::kName),
            "\xB5"
            "A [AC]             ");
}

TEST_F(SampleStoreTest, TimeOfAnotherWidthKeepsEveryColumnInPlace) {
  Start();
  clock.text = "2:05:07 PM";
  ASSERT_EQ(Record(DcVolts(" 12.34")), 1);
  EXPECT_EQ(host.list[0], " 2:05:07        12.34 Vdc                DCV                 ");
}

TEST_F(SampleStoreTest, StatisticsStartAtTheSecondLineOfAList) {
  CQarnView& view = Create();
  view.OnButtonPeakHold();
  Start();
  for (const char* display : {" 5.000", " 1.000", " 2.000"}) ASSERT_GT(Record(DcVolts(display)), 0);
  EXPECT_FLOAT_EQ(ViewProbe(view).m_fPeakMax, 2.0f);
  EXPECT_FLOAT_EQ(ViewProbe(view).m_fPeakMin, 1.0f);
  EXPECT_FLOAT_EQ(ViewProbe(view).m_fWindowCount, 2.0f);
  EXPECT_DOUBLE_EQ(ViewProbe(view).m_dWindowSum, 3.0);
}

TEST_F(SampleStoreTest, WindowKeepsTheNewest500Values) {
  CQarnView& view = Create();
  view.OnSamplingCommand(cmd::kSampling500ms);
  Start();
  char display[8];
  auto recordValue = [&](int value) {
    std::snprintf(display, sizeof display, " %04d ", value);
    return Record(DcVolts(display));
  };
  // Line 1 counts in no statistic: values 2 .. 501 fill the window.
  for (int value = 1; value <= 501; ++value) ASSERT_GT(recordValue(value), 0) << value;
  EXPECT_FLOAT_EQ(ViewProbe(view).m_fWindowCount, 500.0f);
  EXPECT_FLOAT_EQ(ViewProbe(view).m_afWindow[0], 2.0f);
  EXPECT_FLOAT_EQ(ViewProbe(view).m_afWindow[499], 501.0f);
  EXPECT_DOUBLE_EQ(ViewProbe(view).m_dWindowSum, 125750.0);

  ASSERT_GT(recordValue(502), 0);
  EXPECT_FLOAT_EQ(ViewProbe(view).m_fWindowCount, 500.0f);
  EXPECT_FLOAT_EQ(ViewProbe(view).m_afWindow[0], 3.0f);
  EXPECT_FLOAT_EQ(ViewProbe(view).m_afWindow[499], 502.0f);
  EXPECT_DOUBLE_EQ(ViewProbe(view).m_dWindowSum, 125750.0 - 2.0 + 502.0);
  EXPECT_EQ(host.list.size(), 502u);
}

}  // namespace
}  // namespace ql::test_support
