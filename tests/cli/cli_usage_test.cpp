// The tool's own face: --help, --version and the usage errors of every
// subcommand (exit status 2, a reason and the synopsis on stderr, nothing
// on stdout).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_fixture.h"

namespace ql::test_support {
namespace {

TEST(CliUsage, VersionPrintsTheProjectVersion) {
  const CliResult result = RunCli({"--version"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, std::string("quintaline-cli ") + QUINTALINE_VERSION + "\n");
}

TEST(CliUsage, HelpShowsEverySubcommand) {
  const CliResult result = RunCli({"--help"});
  EXPECT_EQ(result.exitCode, 0);
  for (const char* word : {"simulate", "monitor", "log", "graph", "report", "export", "journal",
                           "ports", "--reading",
                           "QUINTALINE_SETTINGS"}) {
    EXPECT_NE(result.out.find(word), std::string::npos) << word;
  }
}

TEST(CliUsage, EverySubcommandAnswersHelpWithItsUsage) {
  for (const char* command :
       {"simulate", "monitor", "log", "graph", "report", "export", "journal", "ports"}) {
    for (const char* flag : {"--help", "-h"}) {
      const CliResult result = RunCli({command, flag});
      EXPECT_EQ(result.exitCode, 0) << command << " " << flag << ": " << result.err;
      EXPECT_EQ(result.out.rfind(std::string("Usage: quintaline-cli ") + command, 0), 0u)
          << result.out;
      for (const char* part : {"Options:", "--help", "Exit status:"}) {
        EXPECT_NE(result.out.find(part), std::string::npos) << command << ": " << part;
      }
      EXPECT_TRUE(result.err.empty()) << result.err;
    }
  }
}

// An empty output name is a usage error for every option that takes one.
TEST(CliUsage, EmptyOutputNameIsAUsageError) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"graph", "run.rdg", "--png", ""},
        std::vector<std::string>{"graph", "run.rdg", "--svg="},
        std::vector<std::string>{"report", "run.rdg", "--pdf", ""},
        std::vector<std::string>{"export", "run.rdg", "--csv", ""},
        std::vector<std::string>{"log", "--port", "/dev/null", "--save", ""},
        std::vector<std::string>{"log", "--port", "/dev/null", "--raw", ""},
        std::vector<std::string>{"simulate", "--pty", "--replay", ""}}) {
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.exitCode, 2) << args[0] << ": " << result.err;
    EXPECT_NE(result.err.find(" needs a file name"), std::string::npos) << result.err;
  }
}

// A count or a time above the limit is refused with the limit itself.
TEST(CliUsage, OutOfRangeCountsNameTheRealLimit) {
  struct Case {
    std::vector<std::string> args;
    const char* limit;
  };
  for (const Case& c : {Case{{"log", "--port", "/dev/null", "--samples", "2147483647"},
                             "from 1 to 1000000000"},
                        Case{{"log", "--port", "/dev/null", "--seconds", "2147483647"},
                             "from 0.001 to 1000000000"},
                        Case{{"monitor", "--port", "/dev/null", "--samples", "2147483647"},
                             "from 1 to 1000000000"},
                        Case{{"simulate", "--pty", "--frames", "0", "--reading", "DC 1 V"},
                             "from 1 to 1000000000000"}}) {
    const CliResult result = RunCli(c.args);
    EXPECT_EQ(result.exitCode, 2) << c.args[0];
    EXPECT_NE(result.err.find(c.limit), std::string::npos) << result.err;
  }
}

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
};

std::ostream& operator<<(std::ostream& os, const UsageCase& c) { return os << c.name; }

class CliUsageError : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsageError, ExitsTwoWithTheReasonOnStderr) {
  const CliResult result = RunCli(GetParam().args);
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_TRUE(result.out.empty()) << result.out;
  EXPECT_NE(result.err.find("quintaline-cli"), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliUsageError,
    ::testing::Values(
        UsageCase{"NoSubcommand", {}}, UsageCase{"UnknownSubcommand", {"frobnicate"}},
        UsageCase{"SimulateWithoutOutput", {"simulate", "--reading", "DC 1.000 V"}},
        UsageCase{"SimulateBothOutputs",
                  {"simulate", "--pty", "--device", "/dev/null", "--reading", "DC 1.000 V"}},
        UsageCase{"SimulateUnreadableReading", {"simulate", "--pty", "--reading", "DC 12345 V"}},
        UsageCase{"SimulateRateZero", {"simulate", "--pty", "--reading", "DC 1 V", "--rate", "0"}},
        UsageCase{"ReplayWithASequence",
                  {"simulate", "--pty", "--replay", "run.qlcap", "--reading", "DC 1 V"}},
        UsageCase{"ReplayWithoutOutput", {"simulate", "--replay", "run.qlcap"}},
        UsageCase{"ReplaySpeedZero", {"simulate", "--pty", "--replay", "run.qlcap", "--speed", "0"}},
        UsageCase{"ReplayRateOfASequence",
                  {"simulate", "--pty", "--replay", "run.qlcap", "--rate", "4"}},
        UsageCase{"MonitorWithoutPort", {"monitor", "--samples", "1"}},
        UsageCase{"MonitorBadSampling", {"monitor", "--port", "/dev/null", "--sampling", "3s"}},
        UsageCase{"MonitorZeroSamples", {"monitor", "--port", "/dev/null", "--samples", "0"}},
        UsageCase{"LogPortWithoutValue", {"log", "--port"}},
        UsageCase{"LogDbReferenceNotInTheMenu", {"log", "--port", "/dev/null", "--db-ref", "601"}},
        UsageCase{"LogUnknownMode", {"log", "--port", "/dev/null", "--modes", "rel,xx"}},
        UsageCase{"LogOptionTwice",
                  {"log", "--port", "/dev/null", "--samples", "1", "--samples=2"}},
        UsageCase{"LogNegativeSeconds", {"log", "--port", "/dev/null", "--seconds", "-1"}},
        UsageCase{"GraphWithoutOutput", {"graph", "run.rdg"}},
        UsageCase{"GraphTwoOutputs", {"graph", "run.rdg", "--ops", "--png", "x.png"}},
        UsageCase{"GraphBadForm", {"graph", "run.rdg", "--form", "pie", "--ops"}},
        UsageCase{"GraphTwoFiles", {"graph", "a.rdg", "b.rdg", "--ops"}},
        UsageCase{"ReportBadForm", {"report", "run.rdg", "--form", "chart", "--ops"}},
        UsageCase{"ReportBadPaper", {"report", "run.rdg", "--pdf", "r.pdf", "--paper", "a5"}},
        UsageCase{"ExportWithoutCsv", {"export", "run.rdg"}},
        UsageCase{"ExportUnknownOption", {"export", "run.rdg", "--csv", "o.csv", "--tsv"}}),
    [](const ::testing::TestParamInfo<UsageCase>& tested) { return std::string(tested.param.name); });

}  // namespace
}  // namespace ql::test_support
