// Creating the view and the run states: Start, Pause, resume, Stop, the
// port choice, and which commands each state enables.

#include <algorithm>
#include <functional>

#include "graph/display_form.h"
#include "meter_frames.h"
#include "run/ids.h"
#include "support/view_probe.h"
#include "view_fixture.h"

namespace ql::test_support {
namespace {

using RunControlTest = ViewTest;

TEST_F(RunControlTest, CreationWritesPanesFontsAndStartsTheTimer) {
  CQarnView& view = Create();
  EXPECT_EQ(view.DisplayForm(), FORM_NONE);
  EXPECT_EQ(view.LineCount(), 0);
  EXPECT_EQ(ViewProbe(view).m_nLinesPerPage, 45);
  EXPECT_EQ(host.timers, std::vector<int>{kViewTimerId});
  EXPECT_TRUE(host.maximized);
  EXPECT_EQ(host.fonts.at(ctl::kList), kListFont);
  EXPECT_EQ(ViewProbe(view).m_fontVertical, kVerticalFont);
  EXPECT_EQ(host.Pane(pane::kFileName), "NONAME");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(RunControlTest, TimerThatCannotStartIsReportedAndTheViewStillOpens) {
  host.timerStarts = false;
  EXPECT_EQ(Create().OnCreate(), 0);
  EXPECT_EQ(host.MessageTexts().front(), "Too many clocks!");
}

struct StateRow {
  const char* name;
  std::function<void(CQarnView&)> reach;
  int idle, running, recording;
  bool start, stop, pause, port, open, save;
};

TEST_F(RunControlTest, EachRunStateEnablesItsCommands) {
  const StateRow rows[] = {
      {"idle", [](CQarnView&) {}, 1, 0, 0, true, false, false, true, true, false},
      {"recording", [](CQarnView& v) { v.OnRunStart(); }, 0, 1, 1, false, true, true, false, false,
       false},
      {"paused",
       [](CQarnView& v) {
         v.OnRunStart();
         v.OnRunPause();
       },
       1, 1, 0, true, true, false, true, true, false},
      {"stopped",
       [](CQarnView& v) {
         v.OnRunStart();
         v.OnRunStop();
       },
       1, 0, 0, true, false, false, true, true, true},
  };
  for (const StateRow& row : rows) {
    SCOPED_TRACE(row.name);
    FakeSerialLine freshLine;
    RecordingFormHost freshHost;
    CQarnView v(freshHost, store, clock, freshLine);
    v.OnCreate();
    row.reach(v);
    EXPECT_EQ(ViewProbe(v).m_bIdle, row.idle);
    EXPECT_EQ(ViewProbe(v).m_bRunning, row.running);
    EXPECT_EQ(ViewProbe(v).m_bRecording, row.recording);
    EXPECT_EQ(v.OnUpdateCommand(cmd::kRunStart).enabled, row.start);
    EXPECT_EQ(v.OnUpdateCommand(cmd::kRunStop).enabled, row.stop);
    EXPECT_EQ(v.OnUpdateCommand(cmd::kRunPause).enabled, row.pause);
    EXPECT_EQ(v.OnUpdateCommand(cmd::kSetupComPort).enabled, row.port);
    EXPECT_EQ(v.OnUpdateCommand(cmd::kFileOpen).enabled, row.open);
    EXPECT_EQ(v.OnUpdateCommand(cmd::kFileSave).enabled, row.save);
    EXPECT_EQ(freshLine.IsOpen(), row.running == 1);
  }
}

TEST_F(RunControlTest, StartResetsThePanelAndTheList) {
  CQarnView& view = Create();
  host.list = {"old line"};
  Start();
  EXPECT_EQ(line.openedName, "COM2");
  EXPECT_TRUE(host.list.empty());
  EXPECT_EQ(view.DisplayForm(), FORM_TEXT);
  EXPECT_EQ(host.canvas.Ops(), std::vector<std::string>{"rect 0 0 453 172 #00FF00"});
  EXPECT_EQ(host.Text(ctl::kReading), "WAIT");
  EXPECT_EQ(host.fonts.at(ctl::kReading), kPanelFont);
  for (int id : {ctl::kUnit, ctl::kPrefix, ctl::kField6, ctl::kField4}) {
    EXPECT_EQ(host.Text(id), " ");
    EXPECT_TRUE(host.shown.at(id));
  }
  EXPECT_STREQ(view.FileName(), "NONAME");
  EXPECT_EQ(view.Link().m_nCountdown, 0);
}

TEST_F(RunControlTest, StartThatCannotOpenThePortChangesNothing) {
  CQarnView& view = Create();
  Start();
  ASSERT_EQ(Record(DcVolts(" 1.234")), 1);
  view.OnRunStop();
  line.openStatus = Status::NotFound("COM2: no such device");
  host.canvas.Clear();

  view.OnRunStart();
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Failed to Open ComPort"});
  EXPECT_FALSE(host.messages[0].detail.empty());
  EXPECT_TRUE(view.OnUpdateCommand(cmd::kRunStart).enabled);
  EXPECT_FALSE(view.OnUpdateCommand(cmd::kRunStop).enabled);
  EXPECT_EQ(ViewProbe(view).m_bCanSave, 1);
  EXPECT_EQ(host.list.size(), 1u);
  EXPECT_TRUE(host.canvas.Ops().empty());
}

TEST_F(RunControlTest, StartWhilePausedResumesWithoutReopeningOrClearing) {
  CQarnView& view = Create();
  Start();
  ASSERT_EQ(Record(DcVolts(" 1.234")), 1);
  view.OnRunPause();
  line.ClearCalls();
  const int resets = host.listResets;

  view.OnRunStart();
  EXPECT_EQ(ViewProbe(view).m_bRecording, 1);
  EXPECT_EQ(ViewProbe(view).m_bIdle, 0);
  EXPECT_TRUE(line.calls.empty());
  EXPECT_EQ(host.listResets, resets);
  EXPECT_EQ(host.list.size(), 1u);
}

TEST_F(RunControlTest, PauseThenStopClosesThePortAndTakesTheLineCount) {
  CQarnView& view = Create();
  Start();
  ASSERT_GT(Record(DcVolts(" 1.234")), 0);
  ASSERT_GT(Record(DcVolts(" 1.235")), 0);
  view.OnRunPause();
  view.OnRunStop();
  EXPECT_FALSE(line.IsOpen());
  EXPECT_EQ(line.dtr, false);
  EXPECT_EQ(view.LineCount(), 2);
  EXPECT_TRUE(view.OnUpdateFileSave());
}

TEST_F(RunControlTest, PortChosenWhilePausedIsShownAtOnceAndUsedByTheNextStart) {
  CQarnView& view = Create();
  Start();
  view.OnRunPause();
  host.portDialogAnswer = 2;
  view.OnSetupComPort();
  EXPECT_EQ(host.portDialogs, std::vector<int>{1});
  EXPECT_EQ(host.Pane(pane::kPort), "COM 3");
  EXPECT_EQ(store.Get("COMM", "Port"), "2");
  EXPECT_EQ(line.openedName, "COM2");
  EXPECT_TRUE(line.IsOpen());

  view.OnRunStop();
  view.OnRunStart();
  EXPECT_EQ(line.openedName, "COM3");
}

TEST_F(RunControlTest, CancelledPortDialogChangesNothing) {
  CQarnView& view = Create();
  const std::string pane = host.Pane(pane::kPort);
  view.OnSetupComPort();
  EXPECT_EQ(view.PortSettings().m_nComPort, 1);
  EXPECT_EQ(host.Pane(pane::kPort), pane);
  EXPECT_TRUE(store.Writes().empty());
}

TEST_F(RunControlTest, DisabledAndUnknownCommandsAreNotCarriedOut) {
  CQarnView& view = Create();
  EXPECT_FALSE(view.OnCommand(cmd::kRunStop));
  EXPECT_EQ(ViewProbe(view).m_bCanSave, 0);
  EXPECT_FALSE(view.OnCommand(12345));
  EXPECT_TRUE(view.OnCommand(cmd::kRunStart));
  EXPECT_EQ(ViewProbe(view).m_bRecording, 1);
  EXPECT_FALSE(view.OnCommand(cmd::kFileOpen));
  EXPECT_TRUE(host.openDialogs.empty());
}

TEST_F(RunControlTest, LostLineIsReportedOnceAndTheRunCanStillBeStoppedAndRestarted) {
  CQarnView& view = Create();
  Start();
  ASSERT_EQ(Record(DcVolts(" 1.234")), 1);
  line.Unplug();
  Tick(100);
  view.OnRunPause();
  Tick(100);
  EXPECT_EQ(std::count(host.paneWrites.begin(), host.paneWrites.end(), "0=Meter connection lost"),
            1);
  EXPECT_EQ(host.list.size(), 1u);
  // Once the loss is known the tick stops asking the line.
  const int queued = line.queuedCalls;
  Tick(50);
  EXPECT_EQ(line.queuedCalls, queued);

  view.OnRunStop();
  EXPECT_EQ(view.LineCount(), 1);
  EXPECT_TRUE(view.OnUpdateFileSave());

  line.lost = false;
  line.PlugBack();
  view.OnRunStart();
  EXPECT_EQ(host.Pane(pane::kMessage), "");
  EXPECT_EQ(Record(DcVolts(" 2.000")), 1);
}

// The meter indicator through one run: heard while frames come, silent after
// more than two quiet periods of recording (not while paused), heard again at
// the next frame, "No meter" from a lost line until the run stops or the
// device is back.
TEST_F(RunControlTest, MeterIndicatorFollowsSilenceAndALostLineUntilTheRunEnds) {
  CQarnView& view = Create();
  EXPECT_EQ(view.MeterStateNow(), MeterState::kHeard) << "idle";
  Start();
  const int period = view.Link().m_nReload;
  for (int i = 0; i < 5 * period; ++i) {
    line.Send(DcVolts(" 1.234"));
    view.OnTimer();
  }
  EXPECT_EQ(view.MeterStateNow(), MeterState::kHeard) << "frames arriving";

  Tick(2 * period);
  EXPECT_EQ(view.MeterStateNow(), MeterState::kHeard) << "two quiet periods";
  Tick(2);
  EXPECT_EQ(view.MeterStateNow(), MeterState::kSilent);
  EXPECT_STREQ(MeterStateText(view.MeterStateNow()), "meter silent");

  view.OnRunPause();
  EXPECT_EQ(view.MeterStateNow(), MeterState::kHeard) << "paused: nothing is expected";
  view.OnRunStart();
  EXPECT_EQ(view.MeterStateNow(), MeterState::kSilent) << "resumed, still quiet";

  line.Send(DcVolts(" 1.234"));
  Tick(2);
  EXPECT_EQ(view.MeterStateNow(), MeterState::kHeard) << "heard again";

  line.Unplug();
  Tick(1);
  EXPECT_EQ(view.MeterStateNow(), MeterState::kNoMeter);
  EXPECT_STREQ(MeterStateText(view.MeterStateNow()), "No meter");
  view.OnRunPause();
  Tick(10 * period);
  EXPECT_EQ(view.MeterStateNow(), MeterState::kNoMeter) << "until the run ends";
  view.OnRunStop();
  EXPECT_EQ(view.MeterStateNow(), MeterState::kHeard);
  line.ClearCalls();
  Tick(10 * period);
  EXPECT_EQ(line.calls, std::vector<std::string>{}) << "a stopped run tries no device";
  EXPECT_EQ(view.MeterStateNow(), MeterState::kHeard);

  line.lost = false;
  line.PlugBack();
  Start();
  EXPECT_EQ(view.MeterStateNow(), MeterState::kHeard) << "a new run starts unsuspected";
}

}  // namespace
}  // namespace ql::test_support
