// The 50 ms tick: when it samples, what it records and what the panel shows.

#include "base/list_line.h"
#include "graph/display_form.h"
#include "meter_frames.h"
#include "run/ids.h"
#include "support/view_probe.h"
#include "view_fixture.h"

namespace ql::test_support {
namespace {

using SamplingCycleTest = ViewTest;

std::string ValueColumns(const std::string& line) {
  return std::string(list_line::Text(line, list_line::kValue));
}

TEST_F(SamplingCycleTest, BeforeAFormIsChosenTicksDoNothing) {
  CQarnView& view = Create();
  const int countdown = view.Link().m_nCountdown;
  Tick(20);
  EXPECT_EQ(view.Link().m_nCountdown, countdown);
  EXPECT_EQ(line.queuedCalls, 0);
}

TEST_F(SamplingCycleTest, FirstTickOfARunRecordsTheFrameAtOnce) {
  Start();
  line.Send(DcVolts(" 1.234"));
  Tick(1);
  ASSERT_EQ(host.list.size(), 1u);
  EXPECT_EQ(ValueColumns(host.list[0]), " 1.234");
  EXPECT_EQ(host.Text(ctl::kReading), " 1.234");
  EXPECT_EQ(host.Text(ctl::kUnit), " Vdc");
}

TEST_F(SamplingCycleTest, WithoutAnyFrameYetTheFirstFrameThatArrivesIsRecorded) {
  Start();
  Tick(1);
  EXPECT_TRUE(host.list.empty());
  line.Send(DcVolts(" 1.234"));
  Tick(1);
  EXPECT_EQ(host.list.size(), 1u);
}

TEST_F(SamplingCycleTest, FirstTickOfALaterRunRecordsTheFrameKeptFromTheRunBefore) {
  CQarnView& view = Create();
  Start();
  ASSERT_EQ(Record(DcVolts(" 1.234")), 1);
  view.OnRunStop();
  Start();
  Tick(1);
  ASSERT_EQ(host.list.size(), 1u);
  EXPECT_EQ(ValueColumns(host.list[0]), " 1.234");
}

TEST_F(SamplingCycleTest, PausedRunDrainsTheLineAndResumesWithTheNewestFrame) {
  CQarnView& view = Create();
  Start();
  ASSERT_EQ(Record(DcVolts(" 1.234")), 1);
  view.OnRunPause();
  for (const char* display : {" 1.500", " 1.600", " 1.700"}) {
    line.Send(DcVolts(display));
    Tick(40);
  }
  EXPECT_EQ(line.Pending(), 0u);
  EXPECT_EQ(host.list.size(), 1u);

  view.OnRunStart();
  const int adds = host.listAdds;
  for (int i = 0; i < 100 && host.listAdds == adds; ++i) view.OnTimer();
  ASSERT_EQ(host.list.size(), 2u);
  EXPECT_EQ(ValueColumns(host.list[1]), " 1.700");
}

TEST_F(SamplingCycleTest, OneSampleIsTakenPerSamplingPeriod) {
  CQarnView& view = Create();
  view.OnSamplingCommand(cmd::kSampling500ms);
  Start();
  ASSERT_EQ(Record(DcVolts(" 1.234")), 1);
  EXPECT_EQ(Record(DcVolts(" 1.235")), 8);
  EXPECT_EQ(Record(DcVolts(" 1.236")), 8);
}

TEST_F(SamplingCycleTest, ChangeOfRangeStartsANewListAndRecordsAtOnce) {
  CQarnView& view = Create();
  Start();
  ASSERT_GT(Record(DcVolts(" 1.234")), 0);
  ASSERT_GT(Record(DcVolts(" 1.235")), 0);
  ASSERT_EQ(host.list.size(), 2u);
  const int resets = host.listResets;

  ASSERT_GT(Record(DcVolts(" 12.34")), 0);
  EXPECT_EQ(host.listResets, resets + 1);
  ASSERT_EQ(host.list.size(), 1u);
  EXPECT_EQ(ValueColumns(host.list[0]), " 12.34");
  EXPECT_EQ(ViewProbe(view).m_nListDecimals, 2);
  EXPECT_EQ(view.Link().m_nCountdown, view.Link().m_nReload);
}

TEST_F(SamplingCycleTest, OverloadShowsOverInTheListAndOnThePanel) {
  Start();
  ASSERT_EQ(Record(OverloadFrame({frame::kDc, frame::kVolt})), 1);
  EXPECT_EQ(ValueColumns(host.list[0]), " OVER ");
  EXPECT_EQ(list_line::Text(host.list[0], list_line::kUnit), " Vdc");
  EXPECT_EQ(host.Text(ctl::kReading), "OVER");
}

TEST_F(SamplingCycleTest, FrequencyOverThePanelLimitIsKeptInTheList) {
  Start();
  ASSERT_EQ(Record(MeterFrame(" 4.500", {frame::kHertz, frame::kKilo})), 1);
  EXPECT_EQ(ValueColumns(host.list[0]), " 4.500");
  EXPECT_EQ(host.Text(ctl::kReading), "OVER");
}

TEST_F(SamplingCycleTest, MicroSignReplacesUInThePanelUnit) {
  Start();
  ASSERT_EQ(Record(MeterFrame(" 123.4", {frame::kDc, frame::kMicro, frame::kAmpere})), 1);
  EXPECT_EQ(host.Text(ctl::kUnit),
            "\xB5"
            "Adc");
}

TEST_F(SamplingCycleTest, SampleInTheGraphFileFormPaintsWhiteAndSwitchesToText) {
  CQarnView& view = Create();
  Start();
  ASSERT_GT(Record(DcVolts(" 1.234")), 0);
  view.SetDisplayForm(FORM_GRAPHFILE);
  host.canvas.Clear();

  ASSERT_GT(Record(DcVolts(" 1.235")), 0);
  EXPECT_EQ(host.canvas.Ops(), std::vector<std::string>{"rect 0 0 453 161 #FFFFFF"});
  EXPECT_EQ(view.DisplayForm(), FORM_TEXT);
  EXPECT_EQ(ViewProbe(view).m_bGraphLoaded, 0);
  EXPECT_EQ(host.Text(ctl::kReading), " ");
  EXPECT_EQ(host.Text(ctl::kUnit), " ");

  ASSERT_GT(Record(DcVolts(" 1.236")), 0);
  EXPECT_EQ(host.Text(ctl::kReading), " 1.236");
}

TEST_F(SamplingCycleTest, NoPanelCanvasIsReportedAndTheSampleIsStillTaken) {
  Start();
  host.canvasAvailable = false;
  ASSERT_EQ(Record(DcVolts(" 1.234")), 1);
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Fail Getdc!"});
  EXPECT_EQ(host.Text(ctl::kReading), " 1.234");
}

TEST_F(SamplingCycleTest, InTheGraphFormsASampleRedrawsTheGraphAndLeavesThePanelBoxes) {
  CQarnView& view = Create();
  view.OnButtonPeakHold();
  Start();
  ASSERT_GT(Record(DcVolts(" 1.234")), 0);
  ASSERT_GT(Record(DcVolts(" 1.235")), 0);
  const std::string peakMax = host.Text(ctl::kPeakMax);
  ASSERT_FALSE(peakMax.empty());

  for (int form : {FORM_LINE, FORM_BAR}) {
    SCOPED_TRACE(form);
    form == FORM_LINE ? view.OnViewLine() : view.OnViewBar();
    host.canvas.Clear();
    ASSERT_GT(Record(DcVolts(" 1.300")), 0);
    EXPECT_EQ(view.DisplayForm(), form);
    ASSERT_FALSE(host.canvas.Ops().empty());
    EXPECT_EQ(host.canvas.Ops().front(), "rect 0 0 453 172 #00FF00");
    EXPECT_EQ(host.Text(ctl::kPeakMax), peakMax);
    EXPECT_FALSE(host.shown.at(ctl::kReading));
  }
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace ql::test_support
