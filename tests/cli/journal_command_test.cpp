// quintaline-cli journal on a real journal in a scratch folder: one line a
// run with its state, a run's parts and list lines, a run whose writer died
// shown as unfinished.

#include <sys/wait.h>
#include <unistd.h>

#include <regex>

#include "cli/cli_fixture.h"
#include "journal/journal_writer.h"
#include "support/python_csv.h"

namespace ql::test_support {
namespace {

// A list line in the list's columns: time, prefix, value, unit, label.
std::string ListLine(int i, const char* unit) {
  char line[80];
  std::snprintf(line, sizeof line, " 14:02:3%d  DC  %d.250%-4s                 DC VOLTAGE          ",
                i, i, unit);
  return line;
}

JournalSample Sample(int i, const char* unit) {
  JournalSample s;
  s.time = {1'765'375'357'250'000 + i * 500'000, 3600};
  s.seconds_since_start = i * 0.5;
  s.value = i + 0.25;
  s.function = "DC";
  s.unit = unit;
  s.range = "4V";
  s.list_line = ListLine(i, unit);
  return s;
}

void WriteRun(const std::string& path, bool stop) {
  journal::JournalWriter writer(path, nullptr);
  writer.BeginRun(RunInfo{"1.0", "cli", "/dev/pts/9", "COM1", 500, 1.0},
                  {1'765'375'357'000'000, 3600});
  writer.Event({RunEventKind::kStart, {1'765'375'357'000'000, 3600}, ""});
  writer.Record(Sample(0, "V"));
  writer.Record(Sample(1, "V"));
  writer.Event({RunEventKind::kListCleared, {1'765'375'358'000'000, 3600}, "range changed"});
  writer.Record(Sample(2, "mV"));
  if (stop) writer.Event({RunEventKind::kStop, {1'765'375'367'000'000, 3600}, ""});
}

using JournalCommandTest = TempDirTest;

TEST_F(JournalCommandTest, ListsRunsNewestFirstWithTheirState) {
  const std::string db = PathOf("journal.sqlite3");
  WriteRun(db, true);
  // A writer that dies without stopping leaves its run unfinished.
  const pid_t child = fork();
  if (child == 0) {
    WriteRun(db, false);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);

  const CliResult result = RunCli({"journal", "--journal", db, "list"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(std::regex_match(
      lines[0], std::regex("2  2025-12-10T15:02:37\\.000\\+01:00  0:00:01  3 samples  2 parts  "
                           "unfinished")))
      << lines[0];
  EXPECT_EQ(lines[1], "1  2025-12-10T15:02:37.000+01:00  0:00:10  3 samples  2 parts  finished");
}

TEST_F(JournalCommandTest, ShowsEachPartWithItsListLines) {
  const std::string db = PathOf("journal.sqlite3");
  WriteRun(db, true);
  const CliResult result = RunCli({"journal", "--journal", db, "show", "last"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "#1: DC V 4V, 2 samples\n" + ListLine(0, "V") + "\n" +
                            ListLine(1, "V") + "\n#2: DC mV 4V, 1 samples\n" +
                            ListLine(2, "mV") + "\n");
}

TEST_F(JournalCommandTest, RecoverWritesAPartAsAReadingFileThatGraphAndReportOpen) {
  const std::string db = PathOf("journal.sqlite3");
  WriteRun(db, false);  // left unfinished, as after a crash
  struct Case {
    std::vector<std::string> part;
    std::vector<std::string> lines;
  };
  for (const Case& c : {Case{{}, {ListLine(2, "mV")}},
                        Case{{"--part", "1"}, {ListLine(0, "V"), ListLine(1, "V")}}}) {
    const std::string file = PathOf("recovered.qrn");
    std::vector<std::string> args{"journal", "--journal", db, "recover", "last", "--save", file};
    args.insert(args.end(), c.part.begin(), c.part.end());
    const CliResult result = RunCli(args);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    WriteReadingFile(PathOf("expected.qrn"), c.lines);
    EXPECT_EQ(ReadBytes(file), ReadBytes(PathOf("expected.qrn")));
    EXPECT_EQ(RunCli({"graph", file, "--ops"}).exitCode, 0);
    EXPECT_EQ(RunCli({"report", file, "--ops"}).exitCode, 0);
  }
  // A part that is not there, or no file named, leaves an existing file alone.
  const std::string kept = PathOf("kept.qrn");
  WriteReadingFile(kept, {"old line"});
  const std::string before = ReadBytes(kept);
  EXPECT_EQ(RunCli({"journal", "--journal", db, "recover", "last", "--part", "3", "--save", kept})
                .exitCode,
            1);
  EXPECT_EQ(RunCli({"journal", "--journal", db, "recover", "last"}).exitCode, 2);
  EXPECT_EQ(ReadBytes(kept), before);
}

TEST_F(JournalCommandTest, DeleteRemovesTheRunWithEverythingItHolds) {
  const std::string db = PathOf("journal.sqlite3");
  WriteRun(db, true);
  WriteRun(db, true);
  ASSERT_EQ(RunCli({"journal", "--journal", db, "delete", "1"}).exitCode, 0);
  const CliResult list = RunCli({"journal", "--journal", db, "list"});
  ASSERT_EQ(Lines(list.out).size(), 1u);
  EXPECT_EQ(Lines(list.out)[0].rfind("2  ", 0), 0u);
  // Its parts and samples went with it: the other run still shows its own.
  const CliResult show = RunCli({"journal", "--journal", db, "show", "last"});
  EXPECT_EQ(Lines(show.out).size(), 5u);
  EXPECT_EQ(RunCli({"journal", "--journal", db, "delete", "1"}).exitCode, 1);
}

TEST_F(JournalCommandTest, BadRunsAndFilesAreErrors) {
  const std::string db = PathOf("journal.sqlite3");
  WriteRun(db, true);
  struct Case {
    std::vector<std::string> args;
    int exit_code;
  };
  for (const Case& c : {Case{{"journal", "--journal", db, "show", "7"}, 1},
                        Case{{"journal", "--journal", db, "show", "x1"}, 1},
                        Case{{"journal", "--journal", PathOf("none.sqlite3"), "list"}, 1},
                        Case{{"journal", "--journal", db, "frobnicate"}, 2},
                        Case{{"journal", "--journal", db}, 2}}) {
    const CliResult result = RunCli(c.args);
    EXPECT_EQ(result.exitCode, c.exit_code) << c.args.back();
    EXPECT_FALSE(result.err.empty());
  }
}

TEST_F(JournalCommandTest, ExportsCsvThatACsvReaderTakesInBothNumberStyles) {
  const std::string db = PathOf("journal.sqlite3");
  WriteRun(db, true);
  struct Case {
    std::vector<std::string> extra;
    const char* delimiter;
    bool bom;
    std::string rows;
  };
  const std::string header = "time|seconds|value|over|unit|function|part\n";
  // Seconds count from the run's start, a quarter of a second before the
  // first sample.
  for (const Case& c : {Case{{},
                             ",",
                             false,
                             header + "2025-12-10T15:02:37.250+01:00|0.25|0.25|no|V|DC|1\n"
                                      "2025-12-10T15:02:37.750+01:00|0.75|1.25|no|V|DC|1\n"
                                      "2025-12-10T15:02:38.250+01:00|1.25|2.25|no|mV|DC|2\n"},
                        Case{{"--locale", "--bom", "--part", "2"},
                             ";",
                             true,
                             header + "2025-12-10T15:02:38.250+01:00|1,25|2,25|no|mV|DC|2\n"}}) {
    const std::string csv = PathOf("run.csv");
    std::vector<std::string> args{"journal", "--journal", db, "export", "last", "--csv", csv};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    // A locale that writes numbers with a decimal comma.
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    const CliResult result = RunCli(args);
    unsetenv("LC_ALL");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(csv).rfind("\xEF\xBB\xBF", 0) == 0, c.bom);
    EXPECT_EQ(ReadCsvWithPython(csv, c.delimiter, c.bom), c.rows);
  }
}

}  // namespace
}  // namespace ql::test_support
