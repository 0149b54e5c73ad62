// log with the run journal, against simulated meters on pseudo-terminals: a
// logger killed mid-run loses no sample it printed and leaves a run that
// recovers; two loggers write one journal at once; a run whose range changes
// twice keeps its three parts, while the list (and the saved file) keeps the
// last one only.

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <string>
#include <vector>

#include "base/list_line.h"
#include "cli/cli_fixture.h"

namespace ql::test_support {
namespace {

using namespace std::chrono_literals;

class LogJournal : public CliTest {
 protected:
  std::string Journal() const { return PathOf("journal.sqlite3"); }

  // The reading file that holds `lines` (printed, so UTF-8 without a micro sign).
  std::string ReadingFileOf(const std::vector<std::string>& lines) {
    WriteReadingFile(PathOf("expected.rdg"), lines);
    return ReadBytes(PathOf("expected.rdg"));
  }

  // `journal show RUN`: each part's list lines, in order.
  std::vector<std::vector<std::string>> ShownParts(const std::string& run) {
    const CliResult show = RunCli({"journal", "--journal", Journal(), "show", run});
    EXPECT_EQ(show.exitCode, 0) << show.err;
    std::vector<std::vector<std::string>> parts;
    for (const std::string& line : Lines(show.out)) {
      if (line.rfind("#", 0) == 0) {
        parts.emplace_back();
      } else if (!parts.empty()) {
        parts.back().push_back(line);
      }
    }
    return parts;
  }
};

TEST_F(LogJournal, KilledLoggerLeavesEveryPrintedSampleInARunThatRecovers) {
  Simulator meter({"--reading", "DC 12.34 V"});
  ASSERT_FALSE(meter.Pty().empty());
  CliProcess log({"log", "--port", meter.Pty(), "--sampling", "500ms", "--settings",
                  PathOf("settings.ini"), "--journal", Journal()});
  std::vector<std::string> printed;
  while (printed.size() < 20) {
    const std::string line = log.ReadLine(10s);
    ASSERT_FALSE(line.empty()) << "after " << printed.size() << " lines";
    printed.push_back(line);
  }
  log.Finish(SIGKILL, 5s);

  const CliResult list = RunCli({"journal", "--journal", Journal(), "list"});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  ASSERT_EQ(Lines(list.out).size(), 1u) << list.out;
  EXPECT_TRUE(list.out.ends_with(" unfinished\n")) << list.out;
  // Each printed line was committed before it was printed; one more may
  // have been committed before the kill landed.
  const auto parts = ShownParts("last");
  ASSERT_EQ(parts.size(), 1u);
  ASSERT_GE(parts[0].size(), printed.size());
  ASSERT_LE(parts[0].size(), printed.size() + 1);
  EXPECT_EQ(std::vector<std::string>(parts[0].begin(), parts[0].begin() + 20), printed);

  const std::string recovered = PathOf("recovered.rdg");
  const CliResult recover =
      RunCli({"journal", "--journal", Journal(), "recover", "last", "--save", recovered});
  ASSERT_EQ(recover.exitCode, 0) << recover.err;
  EXPECT_EQ(ReadBytes(recovered), ReadingFileOf(parts[0]));
  EXPECT_EQ(ReadBytes(recovered).substr(0, 20 * 68), ReadingFileOf(printed));
  const CliResult graph = RunCli({"graph", recovered, "--ops"});
  EXPECT_EQ(graph.exitCode, 0) << graph.err;
  const CliResult report = RunCli({"report", recovered, "--pdf", PathOf("recovered.pdf")});
  EXPECT_EQ(report.exitCode, 0) << report.err;
  EXPECT_EQ(ReadBytes(PathOf("recovered.pdf")).rfind("%PDF", 0), 0u);
}

TEST_F(LogJournal, TwoLoggersWriteOneJournalAtOnce) {
  Simulator first({"--reading", "DC 1.234 V"});
  Simulator second({"--reading", "DC 2.345 V"});
  ASSERT_FALSE(first.Pty().empty());
  ASSERT_FALSE(second.Pty().empty());
  // The journal of QUINTALINE_JOURNAL, as a user's default one.
  CliProcess a({"log", "--port", first.Pty(), "--sampling", "500ms", "--samples", "8", "--settings",
                PathOf("a.ini")});
  CliProcess b({"log", "--port", second.Pty(), "--sampling", "500ms", "--samples", "8",
                "--settings", PathOf("b.ini")});
  const CliResult ra = a.Finish(0, 20s);
  const CliResult rb = b.Finish(0, 20s);
  ASSERT_EQ(ra.exitCode, 0) << ra.err;
  ASSERT_EQ(rb.exitCode, 0) << rb.err;
  EXPECT_EQ(ra.err + rb.err, "");

  const CliResult list = RunCli({"journal", "list"});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  const auto runs = Lines(list.out);
  ASSERT_EQ(runs.size(), 2u) << list.out;
  for (const std::string& run : runs) {
    EXPECT_NE(run.find("  8 samples  1 parts  finished"), std::string::npos) << run;
  }
  // Each run holds what one logger printed, whichever began first.
  std::map<std::string, std::vector<std::string>> byValue;
  for (const char* id : {"1", "2"}) {
    const auto parts = ShownParts(id);
    ASSERT_EQ(parts.size(), 1u);
    byValue[std::string(list_line::Text(parts[0].front(), list_line::kValue))] = parts[0];
  }
  EXPECT_EQ(byValue[" 1.234"], Lines(ra.out));
  EXPECT_EQ(byValue[" 2.345"], Lines(rb.out));
}

TEST_F(LogJournal, RangeChangedTwiceThreePartsInTheJournalTheLastInTheList) {
  // 1.234 V for 2 s, 12.34 V for 2 s, then 123.4 V; the logger opens the
  // line a moment after the simulator began.
  Simulator meter({"--cycle",
                   "DC 1.234 V;DC 1.234 V;DC 12.34 V;DC 12.34 V;DC 123.4 V;DC 123.4 V;DC 123.4 V;"
                   "DC 123.4 V;DC 123.4 V;DC 123.4 V",
                   "--hold", "20"});
  ASSERT_FALSE(meter.Pty().empty());
  const std::string saved = PathOf("list.rdg");
  const CliResult log = RunCli({"log", "--port", meter.Pty(), "--sampling", "500ms", "--samples",
                                "14", "--save", saved, "--settings", PathOf("settings.ini")});
  ASSERT_EQ(log.exitCode, 0) << log.err;

  // stdout has every line; a change of the value's form is a new part.
  std::vector<std::vector<std::string>> printed;
  std::string form;
  for (const std::string& line : Lines(log.out)) {
    const std::string value(list_line::Text(line, list_line::kValue));
    const std::string lineForm = value.substr(0, value.find('.') + 1);
    if (printed.empty() || lineForm != form) printed.emplace_back();
    form = lineForm;
    printed.back().push_back(line);
  }
  ASSERT_EQ(printed.size(), 3u) << log.out;

  const auto parts = ShownParts("last");
  EXPECT_EQ(parts, printed);
  EXPECT_EQ(ReadBytes(saved), ReadingFileOf(printed.back()));
  for (std::size_t k = 0; k < printed.size(); ++k) {
    SCOPED_TRACE(k + 1);
    const std::string file = PathOf("part.rdg");
    const CliResult recover = RunCli({"journal", "--journal", Journal(), "recover", "last",
                                      "--part", std::to_string(k + 1), "--save", file});
    ASSERT_EQ(recover.exitCode, 0) << recover.err;
    EXPECT_EQ(ReadBytes(file), ReadingFileOf(printed[k]));
  }
  // Without --part, the last part: the very file the list was saved as.
  const CliResult last =
      RunCli({"journal", "--journal", Journal(), "recover", "last", "--save", PathOf("last.rdg")});
  ASSERT_EQ(last.exitCode, 0) << last.err;
  EXPECT_EQ(ReadBytes(PathOf("last.rdg")), ReadBytes(saved));
}

TEST_F(LogJournal, JournalTurnedOffOrUnwritable) {
  Simulator meter({"--reading", "DC 12.34 V"});
  ASSERT_FALSE(meter.Pty().empty());
  // Enabled=0: no journal is made.
  std::ofstream(PathOf("off.ini")) << "[Journal]\nEnabled=0\n";
  const CliResult off = RunCli({"log", "--port", meter.Pty(), "--sampling", "500ms", "--samples",
                                "2", "--settings", PathOf("off.ini")});
  EXPECT_EQ(off.exitCode, 0) << off.err;
  EXPECT_EQ(off.err, "");
  EXPECT_FALSE(std::filesystem::exists(Journal()));

  // A journal that cannot be made is told once on stderr; the run goes on.
  std::ofstream(PathOf("file")) << "a file, not a folder";
  const CliResult broken = RunCli({"log", "--port", meter.Pty(), "--sampling", "500ms", "--samples",
                                   "3", "--save", PathOf("run.rdg"), "--settings", PathOf("on.ini"),
                                   "--journal", PathOf("file") + "/journal.sqlite3"});
  EXPECT_EQ(broken.exitCode, 0) << broken.err;
  EXPECT_EQ(Lines(broken.out).size(), 3u);
  const auto errors = Lines(broken.err);
  ASSERT_EQ(errors.size(), 1u) << broken.err;
  EXPECT_EQ(
      errors[0].rfind("quintaline-cli log: journal " + PathOf("file") + "/journal.sqlite3: ", 0), 0u)
      << errors[0];
  EXPECT_EQ(ReadBytes(PathOf("run.rdg")).size(), 3u * 68u);
}

}  // namespace
}  // namespace ql::test_support
