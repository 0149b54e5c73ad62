// monitor against the simulator on a pseudo-terminal: the decoded and
// classified reading of each due sample, and a port that cannot be opened.

#include <gtest/gtest.h>

#include "cli/cli_fixture.h"

namespace ql::testing {
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

TEST(MonitorCommand, PortThatCannotBeOpenedExitsOne) {
  const CliResult result = RunCli({"monitor", "--port", "/nonexistent/tty", "--samples", "1"});
  EXPECT_EQ(result.exitCode, 1);
  const std::vector<std::string> lines = Lines(result.err);
  ASSERT_EQ(lines.size(), 2u) << result.err;
  EXPECT_EQ(lines[0], "Failed to Open ComPort");
  EXPECT_NE(lines[1].find("/nonexistent/tty"), std::string::npos);
}

}  // namespace
}  // namespace ql::testing
