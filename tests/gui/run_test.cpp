// A run against a simulated meter on a pseudo-terminal: Start, samples
// arriving, Pause, Start resuming, Stop, with the enabling of the commands
// and toolbar buttons at each step; and the port dialog.

#include <QFileInfo>
#include <QPushButton>
#include <QStyle>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>

#include "base/list_line.h"
#include "app/reading_list_view.h"
#include "gui_fixture.h"
#include "pty_meter.h"
#include "run/ids.h"

namespace ql::test_support {
namespace {

// Start, Stop, Pause, Com Port, Open, Save.
struct Enabling {
  bool start, stop, pause, comPort, open, save;
};

class RunTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ASSERT_TRUE(meter.ok());
    Setting(QStringLiteral("COMM/COM2"), QString::fromStdString(meter.SlavePath()));
    Setting(QStringLiteral("Sampling Time/Current"), 10);  // 8 ticks, 400 ms
    Setting(QStringLiteral("Sampling Time/Use display"), QStringLiteral("500 mSEC"));
    QObject::connect(&sender, &QTimer::timeout, [this] { meter.Send(); });
    sender.start(100);
  }

  int Lines() const { return window->Form().ListCount(); }
  void Click(int buttonId) {
    auto* button = qobject_cast<QPushButton*>(window->Form().Control(buttonId));
    ASSERT_NE(button, nullptr);
    button->click();
  }

  // Runs the event loop for `ticks` ticks of the window's timer.
  void WaitTicks(int ticks) {
    QSignalSpy spy(window, &MeasuringWindow::ticked);
    ASSERT_TRUE(WaitFor([&] { return spy.count() >= ticks; }));
  }

  // The commands and their toolbar buttons are enabled as `expected` says.
  void ExpectEnabling(const Enabling& expected, const char* state) {
    const std::pair<int, bool> commands[] = {
        {cmd::kRunStart, expected.start}, {cmd::kRunStop, expected.stop},
        {cmd::kRunPause, expected.pause}, {cmd::kSetupComPort, expected.comPort},
        {cmd::kFileOpen, expected.open},  {cmd::kFileSave, expected.save}};
    for (const auto& [id, enabled] : commands) {
      QAction* action = frame->Action(id);
      EXPECT_EQ(action->isEnabled(), enabled) << state << ": command " << id;
      if (QWidget* button = frame->ToolBar()->widgetForAction(action)) {
        EXPECT_EQ(button->isEnabled(), enabled) << state << ": button " << id;
      }
    }
    // Everything else is enabled in every state.
    std::vector<int> always{cmd::kViewBar,   cmd::kViewLine,     cmd::kViewText,
                            cmd::kPrint,     cmd::kPrintPreview, cmd::kPrintSetup,
                            cmd::kExit,      cmd::kAbout,        cmd::kHelpIndex,
                            cmd::kHelpUsing, cmd::kFileNew,      cmd::kSampling500ms};
    for (int id = cmd::kSampling1s; id <= cmd::kSampling10s; ++id) always.push_back(id);
    for (int id = cmd::kDbRefFirst; id <= cmd::kDbRefLast; ++id) always.push_back(id);
    for (int id : always) EXPECT_TRUE(Enabled(id)) << state << ": " << id;
  }

  PtyMeter meter{{"--reading", "DC 12.34 V"}};
  QTimer sender;
};

TEST_F(RunTest, StartPauseResumeStopAgainstASimulatedMeter) {
  Start();
  ExpectEnabling({true, false, false, true, true, false}, "idle");

  Trigger(cmd::kRunStart);
  ExpectEnabling({false, true, true, false, false, false}, "recording");
  EXPECT_EQ(Pane(pane::kFileName), QStringLiteral("NONAME"));
  ASSERT_TRUE(WaitFor([this] { return Lines() >= 2; }));
  const std::string first = window->Form().ListText(0);
  ASSERT_EQ(first.size(), list_line::kLength);
  EXPECT_EQ(list_line::Text(first, list_line::kValue), " 12.34");
  EXPECT_EQ(list_line::Text(first, list_line::kUnit), " Vdc");
  EXPECT_EQ(list_line::Text(first, list_line::kName), "DCV                 ");
  EXPECT_EQ(Control(ctl::kReading), " 12.34");
  EXPECT_EQ(Control(ctl::kUnit), " Vdc");
  EXPECT_EQ(window->Form().List()->Selected(), Lines() - 1) << "newest selected";

  Trigger(cmd::kRunPause);
  ExpectEnabling({true, true, false, true, true, false}, "paused");
  const int paused = Lines();
  WaitTicks(20);  // more than two sampling periods
  EXPECT_EQ(Lines(), paused);

  Trigger(cmd::kRunStart);
  ExpectEnabling({false, true, true, false, false, false}, "resumed");
  ASSERT_TRUE(WaitFor([&] { return Lines() > paused; }));
  EXPECT_EQ(window->Form().ListText(0), first) << "resuming keeps the list";

  Trigger(cmd::kRunStop);
  ExpectEnabling({true, false, false, true, true, true}, "stopped");
  const int stopped = Lines();
  EXPECT_EQ(window->View().LineCount(), stopped);
  WaitTicks(20);
  EXPECT_EQ(Lines(), stopped);
  EXPECT_TRUE(dialogs.messages.empty());
}

// A silent meter and a pulled cable are told by the indicator left of the
// panes for as long as they last, whatever the message pane says meanwhile.
TEST_F(RunTest, MeterIndicatorTellsOfASilentMeterAndAPulledCableUntilTheRunEnds) {
  Start();
  QLabel* indicator = frame->MeterIndicator();
  ASSERT_NE(indicator, nullptr);
  Trigger(cmd::kRunStart);
  ASSERT_TRUE(WaitFor([this] { return Lines() >= 2; }));
  EXPECT_TRUE(indicator->isHidden()) << "frames arriving";

  sender.stop();
  ASSERT_TRUE(WaitFor([&] { return indicator->isVisible(); }));
  EXPECT_EQ(indicator->text(), QStringLiteral("meter silent"));
  sender.start(100);
  ASSERT_TRUE(WaitFor([&] { return indicator->isHidden(); })) << "heard again";

  meter.Unplug();
  ASSERT_TRUE(WaitFor([&] { return indicator->isVisible(); }));
  EXPECT_EQ(indicator->text(), QStringLiteral("No meter"));
  EXPECT_EQ(indicator->palette().color(QPalette::WindowText), QColor(Qt::red));
  frame->SetPaneText(0, QStringLiteral("a hover tip"));
  WaitTicks(30);
  EXPECT_TRUE(indicator->isVisible()) << "the loss stays shown";
  EXPECT_EQ(indicator->text(), QStringLiteral("No meter"));
  ExpectEnabling({false, true, true, false, false, false}, "recording, line lost");

  Trigger(cmd::kRunStop);
  EXPECT_TRUE(indicator->isHidden()) << "the run ended";
}

TEST_F(RunTest, AbsentPortShowsTheFailureAndChangesNothing) {
  Setting(QStringLiteral("COMM/COM2"), dir.filePath(QStringLiteral("no-such-device")));
  Start();
  Trigger(cmd::kRunStart);
  ASSERT_EQ(dialogs.CountOf(QStringLiteral("Failed to Open ComPort")), 1);
  EXPECT_FALSE(dialogs.messages.front().detail.isEmpty());
  ExpectEnabling({true, false, false, true, true, false}, "after the failed start");
}

TEST_F(RunTest, PortDialogShowsTheDevicesAndStoresTheChoice) {
  Start();
  dialogs.portAnswer = 2;
  Trigger(cmd::kSetupComPort);
  EXPECT_EQ(dialogs.portSelShown, 1);
  ASSERT_EQ(dialogs.portDevices.size(), 4);
  EXPECT_EQ(dialogs.portDevices[1], QString::fromStdString(meter.SlavePath()));
  EXPECT_EQ(Pane(pane::kPort), QStringLiteral("COM 3"));
  EXPECT_EQ(QSettings(settingsPath, QSettings::IniFormat).value(QStringLiteral("COMM/Port")), 2);

  dialogs.portAnswer.reset();  // Cancel
  Trigger(cmd::kSetupComPort);
  EXPECT_EQ(Pane(pane::kPort), QStringLiteral("COM 3"));
}

TEST_F(RunTest, ModeButtonsEnableTheirBoxes) {
  Start();
  QWidget* relGroup = window->Form().Control(ctl::kRelGroup);
  QWidget* dbGroup = window->Form().Control(ctl::kDbGroup);
  EXPECT_FALSE(relGroup->isEnabled());
  EXPECT_FALSE(dbGroup->isEnabled());
  Trigger(cmd::kRunStart);
  Click(ctl::kRelButton);
  Click(ctl::kDbButton);
  EXPECT_TRUE(relGroup->isEnabled());
  EXPECT_TRUE(dbGroup->isEnabled());
  EXPECT_EQ(Control(ctl::kDbRefText), "600 OHM");
  ASSERT_TRUE(WaitFor([this] { return Lines() >= 2; }));
  // The panel shows the level relative to the reference reading.
  EXPECT_NEAR(std::stod(Control(ctl::kReading)), 0.0, 0.005) << Control(ctl::kReading);
  EXPECT_EQ(Control(ctl::kUnit), "dB");
  EXPECT_EQ(list_line::Text(window->Form().ListText(Lines() - 1), list_line::kValue), " 12.34")
      << "the list keeps the raw reading";
  Click(ctl::kPeakButton);
  EXPECT_TRUE(window->Form().Control(ctl::kStatGroup)->isEnabled());
  EXPECT_EQ(Control(ctl::kStatGroup), "PEAK HOLD");
  Click(ctl::kMinMaxButton);
  EXPECT_EQ(Control(ctl::kStatGroup), "MIN/MAX");
}

// Each mode button stays pressed while its mode is on; a box of a mode that
// is off, and the texts in it, look disabled as the style draws it.
TEST_F(RunTest, ModeButtonsShowTheirModeAndOffBoxesLookDisabled) {
  Start();
  const QarnForm& form = window->Form();
  auto pressed = [&](int id) {
    auto* button = qobject_cast<QPushButton*>(form.Control(id));
    return button->isCheckable() && button->isChecked();
  };
  const QPalette stylePalette = QApplication::style()->standardPalette();
  const QColor disabledText = stylePalette.color(QPalette::Disabled, QPalette::WindowText);
  ASSERT_NE(disabledText, QColor(Qt::black));
  auto looksDisabled = [&](int id) {
    const QWidget* w = form.Control(id);
    return !w->isEnabled() && w->palette().color(QPalette::Disabled, QPalette::WindowText) ==
                                  disabledText;
  };
  auto looksEnabled = [&](int id) {
    const QWidget* w = form.Control(id);
    return w->isEnabled() && w->palette().color(QPalette::Active, QPalette::WindowText) ==
                                 QColor(Qt::black);
  };
  for (int id : {ctl::kRelButton, ctl::kPeakButton, ctl::kMinMaxButton, ctl::kDbButton}) {
    EXPECT_FALSE(pressed(id)) << id;
  }
  for (int id : {ctl::kRelGroup, ctl::kDbGroup, ctl::kStatGroup}) EXPECT_TRUE(looksDisabled(id));

  Click(ctl::kRelButton);
  Click(ctl::kDbButton);
  EXPECT_TRUE(pressed(ctl::kRelButton));
  EXPECT_TRUE(pressed(ctl::kDbButton));
  for (int id : {ctl::kRelGroup, ctl::kRelRefText, ctl::kDbGroup, ctl::kDbRefText}) {
    EXPECT_TRUE(looksEnabled(id)) << id;
  }
  Click(ctl::kRelButton);
  EXPECT_FALSE(pressed(ctl::kRelButton));
  EXPECT_TRUE(looksDisabled(ctl::kRelGroup));
  EXPECT_TRUE(looksDisabled(ctl::kRelRefText));
  EXPECT_TRUE(pressed(ctl::kDbButton));

  Click(ctl::kPeakButton);
  EXPECT_TRUE(pressed(ctl::kPeakButton));
  Click(ctl::kMinMaxButton);
  EXPECT_TRUE(pressed(ctl::kMinMaxButton));
  EXPECT_FALSE(pressed(ctl::kPeakButton)) << "peak hold and min/max exclude each other";
  Click(ctl::kMinMaxButton);
  EXPECT_FALSE(pressed(ctl::kMinMaxButton));
  EXPECT_TRUE(looksDisabled(ctl::kStatGroup));
  EXPECT_TRUE(looksDisabled(ctl::kMinMaxMax));
}

TEST_F(RunTest, SavedRunOpensAgainAsALineGraph) {
  Start();
  Trigger(cmd::kRunStart);
  ASSERT_TRUE(WaitFor([this] { return Lines() >= 3; }));
  Trigger(cmd::kRunStop);
  std::vector<std::string> saved;
  for (int i = 0; i < Lines(); ++i) saved.push_back(window->Form().ListText(i));

  const QString path = dir.filePath(QStringLiteral("run.rdg"));
  dialogs.fileAnswers = {path};
  Trigger(cmd::kFileSave);
  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(dialogs.fileDialogs[0].defaultExtension, "rdg");
  EXPECT_TRUE(dialogs.fileDialogs[0].overwritePrompt);
  EXPECT_EQ(QFileInfo(path).size(), 68 * static_cast<qint64>(saved.size()));
  EXPECT_EQ(Pane(pane::kFileName), QStringLiteral("run.rdg"));
  EXPECT_FALSE(Enabled(cmd::kFileSave)) << "saved once per run";

  window->Form().ListReset();
  dialogs.fileAnswers = {path};
  Trigger(cmd::kFileOpen);
  ASSERT_EQ(dialogs.fileDialogs.size(), 2u);
  EXPECT_EQ(dialogs.fileDialogs[1].defaultExtension, "rdg");
  ASSERT_EQ(Lines(), static_cast<int>(saved.size()));
  for (int i = 0; i < Lines(); ++i) {
    EXPECT_EQ(window->Form().ListText(i), saved[static_cast<std::size_t>(i)] + "\n") << i;
  }
  EXPECT_EQ(window->View().LineCount(), Lines());
  EXPECT_FALSE(Visible(ctl::kReading)) << "the line graph hides the reading fields";
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace ql::test_support
