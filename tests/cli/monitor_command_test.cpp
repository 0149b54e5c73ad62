// monitor against the simulator on a pseudo-terminal: the decoded and
// classified reading of each due sample, the link's counters once a second,
// and a port that cannot be opened.

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "cli/cli_fixture.h"

namespace ql::test_support {
namespace {

TEST(MonitorCommand, PrintsFiveSamplesOfTheSimulatedReading) {
  Simulator meter({"--reading", "DC 12.34 V"});
  ASSERT_FALSE(meter.Pty().empty());
  const CliResult result =
      RunCli({"monitor", "--port", meter.Pty(), "--sampling", "500ms", "--samples", "5"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 5u) << result.out;
  for (const std::string& line : lines) {
    EXPECT_EQ(line.rfind("display=\" 12.34\" unit=\" Vdc\" code=\"DC\" class=B label=\"DCV\" "
                         "value=12.34 decimals=2 over=no frame=",
                         0),
              0u)
        << line;
  }
}

TEST(MonitorCommand, OverloadIsReportedAsOverRange) {
  Simulator meter({"--reading", "OHM OL MOhm"});
  ASSERT_FALSE(meter.Pty().empty());
  const CliResult result =
      RunCli({"monitor", "--port", meter.Pty(), "--sampling", "500ms", "--samples", "1"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("display=\" 40000\""), std::string::npos) << result.out;
  EXPECT_NE(result.out.find(" over=yes "), std::string::npos) << result.out;
}

// The fields of a "stats" line by name.
std::map<std::string, std::string> StatsFields(const std::string& line) {
  std::map<std::string, std::string> fields;
  std::istringstream words(line.substr(line.find(' ') + 1));
  for (std::string word; words >> word;) {
    const auto eq = word.find('=');
    fields[word.substr(0, eq)] = eq == std::string::npos ? "" : word.substr(eq + 1);
  }
  return fields;
}

TEST(MonitorCommand, StatsComeOnceASecondBesideTheReadings) {
  // Noise makes the link skip bytes while it searches for frames.
  Simulator meter({"--reading", "DC 12.34 V", "--noise", "1", "--seed", "7"});
  ASSERT_FALSE(meter.Pty().empty());
  const CliResult result = RunCli(
      {"monitor", "--port", meter.Pty(), "--sampling", "500ms", "--samples", "7", "--stats"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  std::vector<std::string> stats;
  int readings = 0;
  for (const std::string& line : Lines(result.out)) {
    if (line.rfind("stats ", 0) == 0) stats.push_back(line);
    if (line.rfind("display=\" 12.34\"", 0) == 0) ++readings;
  }
  EXPECT_EQ(readings, 7) << result.out;
  // 7 samples at 500 ms take about 3 s: two or three lines, never one a tick.
  ASSERT_GE(stats.size(), 2u) << result.out;
  ASSERT_LE(stats.size(), 4u) << result.out;

  std::uint64_t before = 0;
  for (const std::string& line : stats) {
    auto fields = StatsFields(line);
    EXPECT_EQ(fields.size(), 9u) << line;
    const std::uint64_t received = std::stoull(fields["received"]);
    const std::uint64_t taken = std::stoull(fields["frames"]);
    const std::uint64_t dropped = std::stoull(fields["skipped"]) + std::stoull(fields["cut"]) +
                                  std::stoull(fields["overflowed"]);
    EXPECT_GT(received, before) << line;
    before = received;
    EXPECT_GT(taken, 0u) << line;
    // What is neither taken nor dropped is still collected: less than a
    // frame and the noise of one read.
    EXPECT_LE(14 * taken + dropped, received) << line;
    EXPECT_NE(fields["last-frame"], "none") << line;
    EXPECT_LT(std::stod(fields["last-frame"]), 1.0) << line;
    // A pseudo-terminal has no modem lines.
    EXPECT_EQ(fields["cd"], "n/a");
    EXPECT_EQ(fields["dsr"], "n/a");
    EXPECT_EQ(fields["cts"], "n/a");
  }
  EXPECT_NE(StatsFields(stats.back())["skipped"], "0") << stats.back();
}

TEST(MonitorCommand, PortThatCannotBeOpenedExitsOne) {
  const CliResult result = RunCli({"monitor", "--port", "/nonexistent/tty", "--samples", "1"});
  EXPECT_EQ(result.exitCode, 1);
  const std::vector<std::string> lines = Lines(result.err);
  ASSERT_EQ(lines.size(), 2u) << result.err;
  EXPECT_EQ(lines[0], "Failed to Open ComPort");
  EXPECT_NE(lines[1].find("/nonexistent/tty"), std::string::npos);
}

}  // namespace
}  // namespace ql::test_support
