// graph, report and export on data files written byte by byte: the order of
// the draws, the pictures and the PDF, the page count, the CSV rows and
// quoting, and files that cannot be read.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cli/cli_fixture.h"
#include "support/python_csv.h"
#include "support/reading_lines.h"

namespace ql::test_support {
namespace {

long Count(const std::vector<std::string>& lines, const std::string& line) {
  return std::count(lines.begin(), lines.end(), line);
}

class FileCommands : public CliTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    WriteReadingFile(PathOf("run.rdg"), {ReadingLine("  1.00", " Vdc", "DCV", "10:00:00"),
                                         ReadingLine("  2.00", " Vdc", "DCV", "10:00:01"),
                                         ReadingLine("  3.00", " Vdc", "DCV", "10:00:02")});
  }
};

constexpr char kPanelFill[] = "rect 0 0 453 172 #00FF00";

// Drawing needs no display: an inherited platform that cannot start (xcb
// over ssh, no X server) must not abort graph or report.
TEST_F(FileCommands, PicturesAreDrawnOffscreenWhateverPlatformIsInherited) {
  const std::string saved = std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
  const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  unsetenv("DISPLAY");
  const CliResult graph = RunCli({"graph", PathOf("run.rdg"), "--png", PathOf("run.png")});
  const CliResult report = RunCli({"report", PathOf("run.rdg"), "--pdf", PathOf("run.pdf")});
  if (saved.empty()) unsetenv("QT_QPA_PLATFORM"); else setenv("QT_QPA_PLATFORM", saved.c_str(), 1);
  if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
  EXPECT_EQ(graph.exitCode, 0) << graph.err;
  EXPECT_EQ(report.exitCode, 0) << report.err;
  EXPECT_FALSE(ReadBytes(PathOf("run.png")).empty());
  EXPECT_FALSE(ReadBytes(PathOf("run.pdf")).empty());
}

TEST_F(FileCommands, OutputThatIsTheInputIsRefusedAndTheRunKept) {
  const std::string before = ReadBytes(PathOf("run.rdg"));
  std::filesystem::create_symlink(PathOf("run.rdg"), PathOf("link.rdg"));
  const std::vector<std::vector<std::string>> cases{
      {"export", PathOf("run.rdg"), "--csv", PathOf("run.rdg")},
      {"export", PathOf("run.rdg"), "--csv", PathOf("link.rdg")},
      {"graph", PathOf("run.rdg"), "--png", PathOf("run.rdg")},
      {"report", PathOf("link.rdg"), "--pdf", PathOf("run.rdg")}};
  for (const auto& args : cases) {
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.exitCode, 1) << args[0] << " " << args[3];
    EXPECT_NE(result.err.find("it is the input file"), std::string::npos) << result.err;
    EXPECT_EQ(ReadBytes(PathOf("run.rdg")), before);
  }
}

TEST_F(FileCommands, StdoutThatCannotBeWrittenExitsOne) {
  const std::string command =
      std::string(QUINTALINE_CLI) + " graph " + PathOf("run.rdg") + " --ops >/dev/full 2>/dev/null";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST_F(FileCommands, GraphOpensRepaintsThenDrawsTheFormThenRepaints) {
  const CliResult plain = RunCli({"graph", PathOf("run.rdg"), "--ops"});
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  const std::vector<std::string> ops = Lines(plain.out);
  ASSERT_FALSE(ops.empty());
  EXPECT_EQ(ops.front(), kPanelFill);
  EXPECT_EQ(Count(ops, kPanelFill), 2);  // the repaint after Open, and one more
  EXPECT_EQ(Count(ops, "text 185 152 \"100 Samples / Div\""), 2);
  EXPECT_EQ(Count(ops, "moveto 45 5"), 2);

  const CliResult bar = RunCli({"graph", PathOf("run.rdg"), "--form", "bar", "--ops"});
  ASSERT_EQ(bar.exitCode, 0) << bar.err;
  const std::vector<std::string> barOps = Lines(bar.out);
  EXPECT_EQ(Count(barOps, kPanelFill), 3);  // the View command draws too
  // Bars start with their blue foot pixel; the line form draws none.
  EXPECT_EQ(std::count_if(barOps.begin(), barOps.end(),
                          [](const std::string& op) { return op.rfind("pixel ", 0) == 0; }),
            2 * 3);
  EXPECT_EQ(std::count_if(ops.begin(), ops.end(),
                          [](const std::string& op) { return op.rfind("pixel ", 0) == 0; }),
            0);
}

TEST_F(FileCommands, GraphPngIsThePanelWithItsAxes) {
  const CliResult result = RunCli({"graph", PathOf("run.rdg"), "--png", PathOf("g.png")});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string png = ReadBytes(PathOf("g.png"));
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  // Width and height from the IHDR chunk, big-endian.
  auto number = [&](std::size_t at) {
    return (static_cast<unsigned char>(png[at]) << 24) |
           (static_cast<unsigned char>(png[at + 1]) << 16) |
           (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
  };
  EXPECT_EQ(number(16), 454);
  EXPECT_EQ(number(20), 173);
}

TEST_F(FileCommands, GraphSvgIsWritten) {
  const CliResult result = RunCli({"graph", PathOf("run.rdg"), "--svg", PathOf("g.svg")});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string svg = ReadBytes(PathOf("g.svg"));
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("100 Samples / Div"), std::string::npos);
}

TEST_F(FileCommands, ReportOpsListsPagesAndTheirOperations) {
  // Opened as a reading file the view shows the line form: graph page, then
  // one page of lines.
  const CliResult graph = RunCli({"report", PathOf("run.rdg"), "--ops"});
  ASSERT_EQ(graph.exitCode, 0) << graph.err;
  const std::vector<std::string> lines = Lines(graph.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "pages 2");
  EXPECT_EQ(Count(lines, "page 1"), 1);
  EXPECT_EQ(Count(lines, "page 2"), 1);
  EXPECT_EQ(Count(lines, "text 5900 -15500 \"2 Page\""), 1);
  EXPECT_EQ(Count(lines, "text 1800 -3000 \"Value of Maximum   : 3.000000\""), 1);

  const CliResult text = RunCli({"report", PathOf("run.rdg"), "--form", "text", "--ops"});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(Lines(text.out).front(), "pages 1");
}

TEST_F(FileCommands, ReportPdfHasTheJobsPages) {
  const CliResult result = RunCli({"report", PathOf("run.rdg"), "--pdf", PathOf("r.pdf")});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string pdf = ReadBytes(PathOf("r.pdf"));
  EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
  std::size_t pages = 0;
  for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos;
       at = pdf.find("/Type /Page", at + 1)) {
    if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
  }
  EXPECT_EQ(pages, 2u);
}

TEST_F(FileCommands, ExportWritesQuotedUtf8Csv) {
  WriteReadingFile(PathOf("odd.rdg"),
                   {ReadingLine(" OVER ",
                                "\xB5"
                                "Adc",
                                "\xB5"
                                "A [DC]",
                                "10:00:00"),
                    ReadingLine("-0.512", "   V", "say \"hi\", twice", "10:00:01")});
  const CliResult result = RunCli({"export", PathOf("odd.rdg"), "--csv", PathOf("out.csv")});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(ReadBytes(PathOf("out.csv")),
            "time,seconds,value,over,unit,function\r\n"
            "10:00:00,0,,yes,\xC2\xB5"
            "Adc,\xC2\xB5"
            "A [DC]\r\n"
            "10:00:01,1,-0.512,no,V,\"say \"\"hi\"\", twice\"\r\n");
}

// The number styles a spreadsheet reads in either kind of locale, and the
// seconds of a run that goes past midnight; a time that is none leaves its
// seconds empty.
TEST_F(FileCommands, ExportNumberStylesAndSecondsPastMidnight) {
  WriteReadingFile(PathOf("night.rdg"), {ReadingLine(" 1.500", " Vdc", "DCV", "23:59:58"),
                                       ReadingLine("-0.250", " Vdc", "DCV", "00:00:01"),
                                       ReadingLine(" 12.34", " Vdc", "DCV", "later"),
                                       ReadingLine("  1234", " Vdc", "DCV", "00:01:00")});
  struct Case {
    std::vector<std::string> options;
    const char* locale;  // LC_ALL of the program
    const char* delimiter;
    bool bom;
    const char* rows;
  };
  const char* const header = "time|seconds|value|over|unit|function\n";
  for (const Case& c : {Case{{},
                             "de_DE.UTF-8",
                             ",",
                             false,
                             "23:59:58|0|1.500|no|Vdc|DCV\n00:00:01|3|-0.250|no|Vdc|DCV\n"
                             "later||12.34|no|Vdc|DCV\n00:01:00|62|1234|no|Vdc|DCV\n"},
                        Case{{"--locale", "--bom"},
                             "de_DE.UTF-8",
                             ";",
                             true,
                             "23:59:58|0|1,500|no|Vdc|DCV\n00:00:01|3|-0,250|no|Vdc|DCV\n"
                             "later||12,34|no|Vdc|DCV\n00:01:00|62|1234|no|Vdc|DCV\n"},
                        Case{{"--locale"},
                             "C",
                             ";",
                             false,
                             "23:59:58|0|1.500|no|Vdc|DCV\n00:00:01|3|-0.250|no|Vdc|DCV\n"
                             "later||12.34|no|Vdc|DCV\n00:01:00|62|1234|no|Vdc|DCV\n"}}) {
    SCOPED_TRACE(std::string(c.locale) + (c.options.empty() ? "" : " " + c.options[0]));
    std::vector<std::string> args{"export", PathOf("night.rdg"), "--csv", PathOf("night.csv")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    setenv("LC_ALL", c.locale, 1);
    const CliResult result = RunCli(args);
    unsetenv("LC_ALL");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(PathOf("night.csv")).rfind("\xEF\xBB\xBF", 0) == 0, c.bom);
    EXPECT_EQ(ReadCsvWithPython(PathOf("night.csv"), c.delimiter, c.bom),
              header + std::string(c.rows));
  }
}

struct UnreadableCase {
  const char* name;
  std::vector<std::string> args;  // "FILE" stands for the unreadable path
};

std::ostream& operator<<(std::ostream& os, const UnreadableCase& c) { return os << c.name; }

class FileCommandsUnreadable : public CliTest,
                               public ::testing::WithParamInterface<UnreadableCase> {};

TEST_P(FileCommandsUnreadable, SaysSoAndExitsOneWithoutOutput) {
  std::vector<std::string> args = GetParam().args;
  for (std::string& word : args) {
    if (word == "FILE") word = PathOf("missing.rdg");
    if (word == "OUT") word = PathOf("out");
  }
  const CliResult result = RunCli(args);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
  const std::vector<std::string> lines = Lines(result.err);
  ASSERT_EQ(lines.size(), 2u) << result.err;
  EXPECT_EQ(lines[0], "File Open Error!");
  EXPECT_NE(lines[1].find("missing.rdg"), std::string::npos) << lines[1];
  EXPECT_FALSE(std::filesystem::exists(PathOf("out")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileCommandsUnreadable,
    ::testing::Values(UnreadableCase{"GraphOps", {"graph", "FILE", "--ops"}},
                      UnreadableCase{"GraphPng", {"graph", "FILE", "--png", "OUT"}},
                      UnreadableCase{"ReportPdf", {"report", "FILE", "--pdf", "OUT"}},
                      UnreadableCase{"Export", {"export", "FILE", "--csv", "OUT"}}),
    [](const ::testing::TestParamInfo<UnreadableCase>& tested) {
      return std::string(tested.param.name);
    });

// A graph file whose picture has one dot: band 0, column 1, row 0.
void WriteGraphFile(const std::string& path) {
  std::string file = "GRAPH*1QKDT530.0";
  for (int k = 0; k < 1024; ++k) file += k == 3 ? "   1" : "   0";
  std::ofstream(path, std::ios::binary) << file;
}

TEST_F(FileCommands, GraphFileShowsItsPictureThenLineFindsNoData) {
  WriteGraphFile(PathOf("pic.rdg"));
  const CliResult picture = RunCli({"graph", PathOf("pic.rdg"), "--ops"});
  ASSERT_EQ(picture.exitCode, 0) << picture.err;
  EXPECT_EQ(Lines(picture.out), (std::vector<std::string>{kPanelFill, "rect 39 7 42 10 #0000FF",
                                                          kPanelFill, "rect 39 7 42 10 #0000FF"}));

  // Showing the picture emptied the list, so the line form has nothing.
  const CliResult line = RunCli({"graph", PathOf("pic.rdg"), "--form", "line", "--ops"});
  EXPECT_EQ(line.exitCode, 1);
  EXPECT_EQ(line.err, "Data not exist !\n");

  const CliResult report = RunCli({"report", PathOf("pic.rdg"), "--ops"});
  EXPECT_EQ(report.exitCode, 1);
  EXPECT_EQ(report.out.rfind("pages 1\npage 1\n", 0), 0u) << report.out;
  EXPECT_EQ(report.out.find("text "), std::string::npos) << report.out;  // a blank page
  EXPECT_EQ(report.err, "Data not exist !\n");

  const CliResult csv = RunCli({"export", PathOf("pic.rdg"), "--csv", PathOf("out.csv")});
  EXPECT_EQ(csv.exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(PathOf("out.csv")));
}

TEST_F(FileCommands, EmptyListAbandonsTheDrawAndWritesNoPicture) {
  WriteReadingFile(PathOf("empty.rdg"), {});
  const CliResult result = RunCli({"graph", PathOf("empty.rdg"), "--png", PathOf("g.png")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "Data not exist !\n");  // shown once, not again on the repaint
  EXPECT_FALSE(std::filesystem::exists(PathOf("g.png")));
}

// Nothing to read, from an empty file or a FIFO nobody writes to, is one
// failure for the three file commands, and none of them waits on the FIFO.
TEST_F(FileCommands, NoReadingsIsDataNotExistForEveryFileCommand) {
  WriteReadingFile(PathOf("empty.rdg"), {});
  ASSERT_EQ(::mkfifo(PathOf("fifo.rdg").c_str(), 0600), 0);
  for (const std::string& input : {PathOf("empty.rdg"), PathOf("fifo.rdg")}) {
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"export", input, "--csv", PathOf("out")},
          std::vector<std::string>{"graph", input, "--png", PathOf("out")},
          std::vector<std::string>{"report", input, "--pdf", PathOf("out")},
          std::vector<std::string>{"report", input, "--form", "line", "--pdf", PathOf("out")}}) {
      SCOPED_TRACE(command.front() + " " + input);
      const CliResult result = RunCli(command);
      EXPECT_FALSE(result.timedOut);
      EXPECT_EQ(result.exitCode, 1);
      EXPECT_EQ(result.err, "Data not exist !\n") << "told once";
      EXPECT_FALSE(std::filesystem::exists(PathOf("out")));
    }
  }
}

}  // namespace
}  // namespace ql::test_support
