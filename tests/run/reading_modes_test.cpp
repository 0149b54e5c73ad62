// The reading modes: relative, dB and conductance, peak hold and
// minimum/maximum/average, as the panel and the boxes beside it show them.

#include <cfloat>
#include <cstring>

#include "base/list_line.h"
#include "meter_frames.h"
#include "run/format_text.h"
#include "run/ids.h"
#include "support/view_probe.h"
#include "view_fixture.h"

namespace ql::test_support {
namespace {

using ReadingModesTest = ViewTest;

struct DbCase {
  const char* name;
  std::string frame;
  const char* panel;
  const char* unit;
};

TEST_F(ReadingModesTest, DbLevelAndConductanceAt600Ohms) {
  const DbCase cases[] = {
      {"0.775 V", AcVolts(" 0.775"), "0.00", "dB"},
      {"7.75 V", AcVolts(" 07.75"), "20.00", "dB"},
      {"0.010 A in the 20 A class", MeterFrame(" 0.010", {frame::kDc, frame::kAmpere}), "17.78",
       "dB"},
      {"2.000 megohm", MeterFrame(" 2.000", {frame::kOhm, frame::kMega}), "500.0", "nS"},
      {"0.500 megohm", MeterFrame(" 0.500", {frame::kOhm, frame::kMega}), "0.0", "nS"},
      {"500 kilohm", MeterFrame(" 0500 ", {frame::kOhm, frame::kKilo}), "0.0", "nS"},
  };
  CQarnView& view = Create();
  view.OnButtonDb();
  Start();
  for (const DbCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_GT(Record(c.frame), 0);
    EXPECT_EQ(host.Text(ctl::kReading), c.panel);
    EXPECT_EQ(host.Text(ctl::kUnit), c.unit);
    EXPECT_EQ(host.Text(ctl::kDbRefText), "600 OHM");
  }
}

TEST_F(ReadingModesTest, RelativeShowsTheDifferenceAndTheListKeepsTheRawReading) {
  CQarnView& view = Create();
  Start();
  view.OnButtonRel();
  EXPECT_TRUE(host.enabled.at(ctl::kRelGroup));
  ASSERT_GT(Record(DcVolts(" 1.234")), 0);
  EXPECT_EQ(host.Text(ctl::kRelRefText), "     1.234  Vdc");
  EXPECT_EQ(host.Text(ctl::kReading), "0.000");

  ASSERT_GT(Record(DcVolts(" 1.246")), 0);
  EXPECT_EQ(host.Text(ctl::kReading), "0.012");
  EXPECT_EQ(list_line::Text(host.list.back(), list_line::kValue), " 1.246");
}

TEST_F(ReadingModesTest, RelativeWithoutDecimalsShowsTheDifferenceWithoutDecimals) {
  CQarnView& view = Create();
  Start();
  view.OnButtonRel();
  ASSERT_GT(Record(DcVolts(" 0100 ")), 0);
  ASSERT_GT(Record(DcVolts(" 0103 ")), 0);
  EXPECT_EQ(host.Text(ctl::kReading), "   3");
}

TEST_F(ReadingModesTest, RelativeAndDbShowTheLevelAboveTheReferenceLevel) {
  CQarnView& view = Create();
  Start();
  view.OnButtonRel();
  view.OnButtonDb();
  ASSERT_GT(Record(AcVolts(" 0.775")), 0);
  EXPECT_EQ(host.Text(ctl::kRelRefText), "    0.00 dB");
  ASSERT_GT(Record(AcVolts(" 07.75")), 0);
  EXPECT_EQ(host.Text(ctl::kReading), "20.00");
  EXPECT_EQ(host.Text(ctl::kUnit), "dB");

  // dB off: the reference box shows the reference reading again.
  view.OnButtonDb();
  EXPECT_EQ(host.Text(ctl::kRelRefText), "     0.775  Vac");
  EXPECT_FALSE(host.enabled.at(ctl::kDbGroup));
}

TEST_F(ReadingModesTest, DbOnADiodeReadingRefreshesOnlyTheReference) {
  CQarnView& view = Create();
  Start();
  view.OnButtonDb();
  host.texts[ctl::kDbRefText] = "";
  ASSERT_GT(Record(MeterFrame(" 0.512", {frame::kDiode, frame::kVolt})), 0);
  EXPECT_EQ(host.Text(ctl::kDbRefText), "600 OHM");
  EXPECT_EQ(host.Text(ctl::kReading), " 0.512");
  EXPECT_EQ(host.Text(ctl::kUnit), "   V");
}

TEST_F(ReadingModesTest, DbOnMillivoltsScalesValueAndExtremesAlike) {
  CQarnView& view = Create();
  view.OnButtonPeakHold();
  view.OnButtonDb();
  Start();
  ASSERT_GT(Record(MeterFrame(" 077.5", {frame::kAc, frame::kMilli, frame::kVolt})), 0);
  ASSERT_GT(Record(MeterFrame(" 077.5", {frame::kAc, frame::kMilli, frame::kVolt})), 0);
  EXPECT_EQ(host.Text(ctl::kReading), "-20.00");
  EXPECT_EQ(host.Text(ctl::kPeakMax), "MAX:    -20.00 dB");
  EXPECT_EQ(host.Text(ctl::kPeakMin), "MIN:    -20.00 dB");
}

TEST_F(ReadingModesTest, PeakHoldSwitchedOnWhileMinMaxIsOnTakesOver) {
  CQarnView& view = Create();
  Start();
  view.OnButtonMinMax();
  for (const char* display : {" 0100 ", " 0101 ", " 0105 "}) ASSERT_GT(Record(DcVolts(display)), 0);
  EXPECT_EQ(host.Text(ctl::kStatGroup), "MIN/MAX");
  EXPECT_EQ(host.Text(ctl::kMinMaxMax), "MAX:    0105  Vdc");
  EXPECT_EQ(host.Text(ctl::kMinMaxMin), "MIN:    0101  Vdc");
  EXPECT_EQ(host.Text(ctl::kMinMaxAvg), "AVG:    103  Vdc");

  view.OnButtonPeakHold();
  EXPECT_EQ(ViewProbe(view).m_bMinMax, 0);
  EXPECT_EQ(host.Text(ctl::kStatGroup), "PEAK HOLD");
  for (int id : {ctl::kMinMaxMax, ctl::kMinMaxAvg, ctl::kMinMaxMin}) EXPECT_EQ(host.Text(id), "");
  ASSERT_GT(Record(DcVolts(" 0090 ")), 0);
  EXPECT_EQ(host.Text(ctl::kPeakMax), "MAX:    0090  Vdc");
  EXPECT_EQ(host.Text(ctl::kPeakMin), "MIN:    0090  Vdc");
  EXPECT_EQ(host.Text(ctl::kMinMaxMax), "");
}

TEST_F(ReadingModesTest, ShownDifferenceIsNeverCut) {
  CQarnView& view = Create();
  Start();
  view.OnButtonRel();
  ASSERT_GT(Record(DcVolts(" 1.234")), 0);
  ViewProbe(view).m_fRelRef = FLT_MAX;
  ASSERT_GT(Record(DcVolts(" 1.235")), 0);
  const std::string expected = FormatText("%4.3f", static_cast<double>(1.235f - FLT_MAX));
  EXPECT_GT(expected.size(), 40u);
  EXPECT_EQ(host.Text(ctl::kReading), expected);
}

TEST_F(ReadingModesTest, OverRangeIsJudgedOnTheMetersOwnReading) {
  CQarnView& view = Create();
  Start();
  view.OnButtonDb();
  // A level of 4.07 dB from a 3-decimal reading is not an overload.
  ASSERT_GT(Record(AcVolts(" 1.237")), 0);
  EXPECT_EQ(host.Text(ctl::kReading), "4.07");
  ASSERT_GT(Record(OverloadFrame({frame::kAc, frame::kVolt})), 0);
  EXPECT_EQ(host.Text(ctl::kReading), "OVER");
}

TEST_F(ReadingModesTest, ModeButtonsEnableTheirBoxesAndToggle) {
  CQarnView& view = Create();
  view.OnButtonMinMax();
  EXPECT_TRUE(host.enabled.at(ctl::kStatGroup));
  EXPECT_TRUE(view.OnUpdateCommand(ctl::kMinMaxButton).checked);
  view.OnButtonMinMax();
  EXPECT_FALSE(host.enabled.at(ctl::kMinMaxAvg));
  EXPECT_FALSE(view.OnUpdateCommand(ctl::kMinMaxButton).checked);
  view.OnButtonRel();
  view.OnButtonRel();
  EXPECT_EQ(ViewProbe(view).m_bRel, 0);
  EXPECT_FALSE(host.enabled.at(ctl::kRelRefText));
}

}  // namespace
}  // namespace ql::test_support
