// log against the simulator: the list lines on stdout as they are added,
// the panel lines, the saved reading file, the stored settings, a port
// that cannot be opened and a meter that goes away during the run.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <set>

#include "base/list_line.h"
#include "cli/cli_fixture.h"
#include "support/pty.h"

namespace ql::test_support {
namespace {

class LogCommand : public CliTest {};

TEST_F(LogCommand, RecordsFiveSamplesWithPanelLinesAndSavesThem) {
  Simulator meter({"--reading", "DC 12.34 V"});
  ASSERT_FALSE(meter.Pty().empty());
  const CliResult result =
      RunCli({"log", "--port", meter.Pty(), "--sampling", "500ms", "--samples", "5", "--save",
              PathOf("run.rdg"), "--panel", "--settings", PathOf("settings.ini")});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 10u) << result.out;
  for (std::size_t i = 0; i < lines.size(); i += 2) {
    const std::string& line = lines[i];
    EXPECT_EQ(Utf8Length(line), list_line::kLength) << line;
    // Blank from the gap to the value, then the value and the unit.
    EXPECT_EQ(line.substr(list_line::kGap.first, list_line::kUnit.End() - list_line::kGap.first),
              "       12.34 Vdc")
        << line;
    EXPECT_EQ(list_line::Text(line, list_line::kName), "DCV                 ") << line;
    EXPECT_EQ(lines[i + 1],
              "panel 1001=\" 12.34\" 1002=\" Vdc\" 1024=\"\" 1000=\"\" 1013=\"\" 1014=\"\" "
              "1019=\"\" 1020=\"\" 1021=\"\"");
  }
  const std::string file = ReadBytes(PathOf("run.rdg"));
  ASSERT_EQ(file.size(), 5u * 68u);
  EXPECT_EQ(file.substr(0, list_line::kLength), lines[0]);
  EXPECT_EQ(file[list_line::kLength], '\n');
  // --sampling acts as the Setup command: it is stored.
  EXPECT_NE(ReadBytes(PathOf("settings.ini")).find("Current=10"), std::string::npos);
}

TEST_F(LogCommand, MicroSignIsUtf8AndModeButtonsArePressed) {
  Simulator meter({"--reading", "DC 400 uA"});
  ASSERT_FALSE(meter.Pty().empty());
  const CliResult result =
      RunCli({"log", "--port", meter.Pty(), "--sampling", "500ms", "--samples", "2", "--modes",
              "rel,ph", "--panel", "--settings", PathOf("settings.ini")});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 4u) << result.out;
  EXPECT_EQ(Utf8Length(lines[2]), 61u);
  EXPECT_NE(lines[2].find("\xC2\xB5"
                          "Adc"),
            std::string::npos)
      << lines[2];
  EXPECT_NE(lines[3].find("1002=\"\xC2\xB5"
                          "Adc\""),
            std::string::npos)
      << lines[3];
  // REL took the first reading as its reference; P-H holds the extremes.
  EXPECT_EQ(lines[3].find("1024=\"\""), std::string::npos) << lines[3];
  EXPECT_EQ(lines[3].find("1013=\"\""), std::string::npos) << lines[3];
}

TEST_F(LogCommand, PortThatCannotBeOpenedExitsOne) {
  const CliResult result = RunCli({"log", "--port", PathOf("no-such-tty"), "--samples", "1",
                                   "--save", PathOf("run.rdg"), "--settings", PathOf("s.ini")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
  const std::vector<std::string> lines = Lines(result.err);
  ASSERT_EQ(lines.size(), 2u) << result.err;
  EXPECT_EQ(lines[0], "Failed to Open ComPort");
  EXPECT_NE(lines[1].find("no-such-tty"), std::string::npos) << lines[1];
  EXPECT_FALSE(std::filesystem::exists(PathOf("run.rdg")));
}

// A change of function clears the list; every line recorded still reaches
// stdout, while the saved file holds the list as it stands, the newest lines.
TEST_F(LogCommand, LinesOfEveryListReachStdoutWhenTheFunctionChanges) {
  // 750 ms of each reading against 500 ms sampling: six samples see both.
  Simulator meter({"--cycle", "DC 1.234 V;AC 1.234 V", "--hold", "15"});
  ASSERT_FALSE(meter.Pty().empty());
  const CliResult result =
      RunCli({"log", "--port", meter.Pty(), "--sampling", "500ms", "--samples", "6", "--save",
              PathOf("run.rdg"), "--settings", PathOf("settings.ini")});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 6u) << result.out;
  std::set<std::string> names;
  for (const std::string& line : lines) names.emplace(list_line::Text(line, list_line::kName));
  EXPECT_EQ(names, (std::set<std::string>{"ACV                 ", "DCV                 "}));

  const std::string file = ReadBytes(PathOf("run.rdg"));
  const std::size_t saved = file.size() / 68u;
  ASSERT_GE(saved, 1u);
  ASSERT_LT(saved, lines.size());
  for (std::size_t i = 0; i < saved; ++i) {
    EXPECT_EQ(file.substr(i * 68u, list_line::kLength), lines[lines.size() - saved + i]) << i;
  }
}

TEST_F(LogCommand, MeterGoneKeepsTheLinesSavesThemAndSaysSoOnce) {
  Simulator meter({"--reading", "DC 1.234 V"});
  ASSERT_FALSE(meter.Pty().empty());
  CliProcess log({"log", "--port", meter.Pty(), "--sampling", "500ms", "--save", PathOf("run.rdg"),
                  "--settings", PathOf("s.ini")});
  // Pull the cable once the run has recorded two lines.
  ASSERT_FALSE(log.ReadLine(std::chrono::seconds(10)).empty());
  ASSERT_FALSE(log.ReadLine(std::chrono::seconds(10)).empty());
  meter.Stop();
  const CliResult result = log.Finish(0, std::chrono::seconds(10));
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "Meter connection lost\n");
  const std::size_t recorded = 2 + Lines(result.out).size();
  EXPECT_EQ(ReadBytes(PathOf("run.rdg")).size(), recorded * 68u);
}

// A hang-up (terminal closed, ssh dropped) ends the run as Ctrl+C does.
TEST_F(LogCommand, StopSignalEndsTheRunAndStillSaves) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    Simulator meter({"--reading", "AC 1.234 mV"});
    ASSERT_FALSE(meter.Pty().empty());
    CliProcess log({"log", "--port", meter.Pty(), "--sampling", "500ms", "--save",
                    PathOf("run.rdg"), "--settings", PathOf("s.ini")});
    ASSERT_FALSE(log.ReadLine(std::chrono::seconds(10)).empty());
    const CliResult result = log.Finish(signal, std::chrono::seconds(10));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(PathOf("run.rdg")).size(), (1 + Lines(result.out).size()) * 68u);
  }
}

// Runs `script` with bash -c; returns its exit status.
int RunShell(const std::string& script) {
  const std::string command = "bash -c '" + script + "'";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(LogCommand, SaveTargetThatCannotBeWrittenIsRefusedBeforeThePortOpens) {
  for (const std::string& target : {PathOf("missing/run.rdg"), dir_.path().string(),
                                    std::string("/dev/full"), PathOf(std::string(256, 'n'))}) {
    const CliResult result = RunCli({"log", "--port", PathOf("no-such-tty"), "--samples", "1",
                                     "--save", target, "--settings", PathOf("s.ini")});
    EXPECT_EQ(result.exitCode, 1) << target;
    EXPECT_EQ(result.err.find("Failed to Open ComPort"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.rfind("quintaline-cli log: ", 0), 0u) << result.err;
  }
}

TEST_F(LogCommand, SilentMeterRecordsNothingAndAnEarlierFileStays) {
  Pty meter;
  ASSERT_TRUE(meter.ok());
  { std::ofstream(PathOf("run.rdg")) << "earlier run"; }
  const CliResult result = RunCli({"log", "--port", meter.SlavePath(), "--seconds", "0.3", "--save",
                                   PathOf("run.rdg"), "--settings", PathOf("s.ini")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("no line was recorded"), std::string::npos) << result.err;
  EXPECT_EQ(ReadBytes(PathOf("run.rdg")), "earlier run");
}

// A meter that says nothing for 5 s is named once, and again when it speaks.
TEST_F(LogCommand, SilentMeterIsNamedOnceAndAgainWhenFramesCome) {
  // One frame, then 7 s of silence, then frames again.
  Simulator meter({"--reading", "DC 1.234 V", "--gap-every", "1", "--gap-frames", "140"});
  ASSERT_FALSE(meter.Pty().empty());
  const CliResult result =
      RunCli({"log", "--port", meter.Pty(), "--seconds", "9", "--settings", PathOf("s.ini")});
  const std::string quiet =
      "no frames heard on " + meter.Pty() + ": is the meter on and its PC output enabled?\n";
  const std::string again = "frames heard again on " + meter.Pty() + "\n";
  const std::size_t first = result.err.find(quiet);
  ASSERT_NE(first, std::string::npos) << result.err;
  EXPECT_EQ(result.err.find(quiet, first + 1), std::string::npos) << result.err;
  EXPECT_NE(result.err.find(again, first), std::string::npos) << result.err;
}

TEST_F(LogCommand, StoredSamplingOutsideTheFiveIsNamedAtStart) {
  { std::ofstream(PathOf("s.ini")) << "[Sampling Time]\nCurrent=2147483647\n"; }
  Simulator meter({"--reading", "DC 1.234 V"});
  ASSERT_FALSE(meter.Pty().empty());
  const CliResult odd =
      RunCli({"log", "--port", meter.Pty(), "--samples", "1", "--settings", PathOf("s.ini")});
  EXPECT_EQ(odd.exitCode, 0) << odd.err;
  EXPECT_NE(odd.err.find("stored sampling Current=2147483647 in section \"Sampling Time\" of " +
                         PathOf("s.ini")),
            std::string::npos)
      << odd.err;
  // A choice on the command line replaces it: nothing to name.
  const CliResult chosen = RunCli({"log", "--port", meter.Pty(), "--samples", "1", "--sampling",
                                   "500ms", "--settings", PathOf("s.ini")});
  EXPECT_EQ(chosen.exitCode, 0) << chosen.err;
  EXPECT_EQ(chosen.err, "");
}

// log ... | head -1: the reader going away ends the run as Ctrl+C does.
TEST_F(LogCommand, ClosedStdoutEndsTheRunAndStillSaves) {
  Simulator meter({"--reading", "AC 1.234 mV"});
  ASSERT_FALSE(meter.Pty().empty());
  const std::string log = std::string(QUINTALINE_CLI) + " log --port " + meter.Pty() +
                          " --sampling 500ms --save " + PathOf("run.rdg") + " --settings " +
                          PathOf("s.ini");
  EXPECT_EQ(RunShell("set -o pipefail; " + log + " | head -1 >/dev/null"), 0);
  EXPECT_GE(ReadBytes(PathOf("run.rdg")).size(), 2 * 68u);
}

}  // namespace
}  // namespace ql::test_support
