// File Save and File Open through the view: dialogs, the files written and
// read, and what a failure leaves unchanged.

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/list_line.h"
#include "files/graph_file.h"
#include "files/reading_file.h"
#include "graph/display_form.h"
#include "meter_frames.h"
#include "run/ids.h"
#include "support/file_size_limit.h"
#include "support/view_probe.h"
#include "view_fixture.h"

namespace ql::test_support {
namespace {

namespace fs = std::filesystem;

class FileCommandsTest : public ViewTest {
 protected:
  // A stopped run of three lines, ready to be saved.
  void RunThreeLines() {
    Start();
    for (const char* display : {" 1.234", " 1.235", " 1.236"})
      ASSERT_GT(Record(DcVolts(display)), 0);
    View().OnRunStop();
  }
};

TEST_F(FileCommandsTest, SaveWritesOneRecordPerLineAndEndsTheRunsSaving) {
  CQarnView& view = Create();
  RunThreeLines();
  host.saveAnswer = PathOf("run.rdg");
  view.OnFileSave();

  const std::string bytes = ReadBytes(PathOf("run.rdg"));
  ASSERT_EQ(bytes.size(), 204u);
  EXPECT_EQ(bytes.substr(0, list_line::kLength), host.list[0]);
  EXPECT_EQ(bytes[list_line::kLength], '\n');
  EXPECT_EQ(bytes[list_line::kLength + 1], '\0');
  EXPECT_EQ(bytes.substr(2 * kRecordSize, list_line::kLength), host.list[2]);
  EXPECT_EQ(ViewProbe(view).m_bCanSave, 0);
  EXPECT_FALSE(view.OnUpdateCommand(cmd::kFileSave).enabled);
  EXPECT_EQ(view.LineCount(), 3);
  EXPECT_STREQ(view.FileName(), "run.rdg");
  EXPECT_EQ(host.Pane(pane::kFileName), "run.rdg");

  ASSERT_EQ(host.saveDialogs.size(), 1u);
  const FileDialogOptions& options = host.saveDialogs[0];
  EXPECT_EQ(options.filter, "Quintaline Files (*.rdg)\n*.rdg\n\n");
  EXPECT_EQ(options.defaultExtension, "rdg");
  EXPECT_EQ(options.initialPath, "");
  EXPECT_TRUE(options.overwritePrompt);

  // The dialog remembers the path it was last confirmed with.
  view.OnFileSave();
  EXPECT_EQ(host.saveDialogs[1].initialPath, PathOf("run.rdg"));
}

TEST_F(FileCommandsTest, CancelledDialogsChangeNothing) {
  CQarnView& view = Create();
  RunThreeLines();
  const auto panes = host.paneWrites.size();
  view.OnFileSave();
  view.OnFileOpen();
  EXPECT_EQ(ViewProbe(view).m_bCanSave, 1);
  EXPECT_STREQ(view.FileName(), "NONAME");
  EXPECT_EQ(host.paneWrites.size(), panes);
  EXPECT_EQ(host.list.size(), 3u);
  EXPECT_EQ(view.DisplayForm(), FORM_TEXT);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(FileCommandsTest, SaveThatCannotCreateTheFileReportsItAndChangesNothing) {
  CQarnView& view = Create();
  RunThreeLines();
  host.saveAnswer = PathOf("missing/run.rdg");
  view.OnFileSave();
  ASSERT_EQ(host.MessageTexts(), std::vector<std::string>{"File Save Error!"});
  EXPECT_FALSE(host.messages[0].detail.empty());
  EXPECT_EQ(ViewProbe(view).m_bCanSave, 1);
  EXPECT_STREQ(view.FileName(), "NONAME");
  EXPECT_EQ(host.Pane(pane::kFileName), "NONAME");
}

TEST_F(FileCommandsTest, SaveThatFailsWhileWritingKeepsTheOlderFile) {
  CQarnView& view = Create();
  RunThreeLines();
  const std::string path = PathOf("run.rdg");
  { std::ofstream(path, std::ios::binary) << "older run"; }
  host.saveAnswer = path;
  {
    FileSizeLimit limit(100);  // the 204 bytes of the run do not fit
    view.OnFileSave();
  }
  ASSERT_EQ(host.MessageTexts(), std::vector<std::string>{"File Save Error!"});
  EXPECT_EQ(ReadBytes(path), "older run");
  EXPECT_EQ(ViewProbe(view).m_bCanSave, 1);
  EXPECT_EQ(view.LineCount(), 3);
  EXPECT_STREQ(view.FileName(), "NONAME");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 1);
}

TEST_F(FileCommandsTest, LongFileTitleIsShortenedWithoutCuttingACharacter) {
  CQarnView& view = Create();
  RunThreeLines();
  const std::string ascii(150, 'a');
  host.saveAnswer = PathOf(ascii);
  view.OnFileSave();
  EXPECT_EQ(std::string(view.FileName()), ascii.substr(0, 99));

  std::string accented;
  for (int i = 0; i < 60; ++i) accented += "\xC3\xA9";  // U+00E9 in UTF-8
  ViewProbe(view).m_bCanSave = 1;
  host.saveAnswer = PathOf(accented);
  view.OnFileSave();
  EXPECT_EQ(std::string(view.FileName()), accented.substr(0, 98));
}

TEST_F(FileCommandsTest, OpenedReadingFileRefillsTheListAndShowsTheLineGraph) {
  CQarnView& view = Create();
  RunThreeLines();
  const std::vector<std::string> saved = host.list;
  host.saveAnswer = PathOf("run.rdg");
  view.OnFileSave();
  Start();
  ASSERT_GT(Record(DcVolts(" 2.000")), 0);
  view.OnRunStop();

  host.openAnswer = PathOf("run.rdg");
  view.OnFileOpen();
  ASSERT_EQ(host.list.size(), 3u);
  for (std::size_t i = 0; i < saved.size(); ++i) EXPECT_EQ(host.list[i], saved[i] + "\n");
  EXPECT_EQ(host.selected, 2);
  EXPECT_TRUE(host.listRedraw);
  EXPECT_EQ(view.LineCount(), 3);
  EXPECT_EQ(view.DisplayForm(), FORM_LINE);
  EXPECT_EQ(ViewProbe(view).m_bGraphLoaded, 0);
  EXPECT_EQ(ViewProbe(view).m_bCanSave, 1);
  EXPECT_EQ(host.Pane(pane::kFileName), "run.rdg");

  ASSERT_EQ(host.openDialogs.size(), 1u);
  EXPECT_EQ(host.openDialogs[0].filter,
            "Quintaline Files (*.rdg)\n*.rdg\nAll Files (*.*)\n*.*\n\n");
  // Files are written as .rdg, so a typed name without extension means one.
  EXPECT_EQ(host.openDialogs[0].defaultExtension, "rdg");
}

TEST_F(FileCommandsTest, FileThatCannotBeOpenedIsReportedAndChangesNothing) {
  CQarnView& view = Create();
  RunThreeLines();
  // A missing file, and one too large to hold (sparse: no disk is used).
  const std::string tooLarge = PathOf("huge.rdg");
  { std::ofstream(tooLarge, std::ios::binary) << "x"; }
  fs::resize_file(tooLarge, 68ull * 10'000'001ull);
  for (const std::string& path : {PathOf("missing.rdg"), tooLarge}) {
    SCOPED_TRACE(path);
    host.messages.clear();
    const auto panes = host.paneWrites.size();
    host.openAnswer = path;
    view.OnFileOpen();
    ASSERT_EQ(host.MessageTexts(), std::vector<std::string>{"File Open Error!"});
    EXPECT_FALSE(host.messages[0].detail.empty());
    EXPECT_EQ(host.list.size(), 3u);
    EXPECT_EQ(view.DisplayForm(), FORM_TEXT);
    EXPECT_STREQ(view.FileName(), "NONAME");
    EXPECT_EQ(host.paneWrites.size(), panes);
  }
}

TEST_F(FileCommandsTest, GraphFileIsShownAtTheNextRepaintAndSavedBackWhole) {
  CQarnView& view = Create();
  RunThreeLines();
  GraphPicture picture{};
  picture[2 + 5] = 0x01;  // band 0, column 5, row 0
  picture[1023] = 0xAB;   // carried, not shown
  ASSERT_TRUE(SaveGraphFile(PathOf("picture.rdg"), picture).ok());

  host.openAnswer = PathOf("picture.rdg");
  view.OnFileOpen();
  EXPECT_EQ(view.DisplayForm(), FORM_GRAPHFILE);
  EXPECT_EQ(ViewProbe(view).m_bGraphLoaded, 1);
  EXPECT_EQ(ViewProbe(view).m_GraphBuf[1023], 0xAB);
  EXPECT_EQ(host.list.size(), 3u);
  EXPECT_EQ(host.Pane(pane::kFileName), "picture.rdg");

  host.canvas.Clear();
  view.OnDraw();
  EXPECT_TRUE(host.list.empty());
  const std::vector<std::string>& ops = host.canvas.Ops();
  EXPECT_NE(std::find(ops.begin(), ops.end(), "rect 51 7 54 10 #0000FF"), ops.end());

  host.saveAnswer = PathOf("again.rdg");
  view.OnFileSave();
  EXPECT_EQ(view.LineCount(), 0);
  const std::string bytes = ReadBytes(PathOf("again.rdg"));
  ASSERT_EQ(bytes.size(), 4112u);
  EXPECT_EQ(bytes.substr(0, 16), "GRAPH*1QKDT530.0");
  EXPECT_EQ(bytes.substr(16 + 4 * 1023), " 171");
}

// Lines taken back from the journal stand in the list as a run that was
// just stopped: drawn, savable as a new file, and never while recording.
TEST_F(FileCommandsTest, RecordedLinesLoadedStandAsAStoppedRun) {
  CQarnView& view = Create();
  RunThreeLines();
  host.saveAnswer = PathOf("first.rdg");
  view.OnFileSave();
  ASSERT_FALSE(view.OnUpdateFileSave());
  const std::vector<std::string> lines = {" 10:00:00       12.34 Vdc                DCV",
                                          " 10:00:01       12.35 Vdc                DCV"};
  ReadingList loaded;
  for (const std::string& text : lines) loaded.Add(text);
  view.LoadRecordedLines(std::move(loaded));
  EXPECT_EQ(host.list, lines);
  EXPECT_EQ(view.LineCount(), 2);
  EXPECT_EQ(view.DisplayForm(), FORM_LINE);
  EXPECT_EQ(host.Pane(pane::kFileName), "NONAME");
  ASSERT_TRUE(view.OnUpdateFileSave());
  host.saveAnswer = PathOf("loaded.rdg");
  view.OnFileSave();
  std::string expected;
  for (const std::string& text : lines) AppendRecord(text, expected);
  EXPECT_EQ(ReadBytes(PathOf("loaded.rdg")), expected);

  Start();
  ASSERT_GT(Record(DcVolts(" 1.234")), 0);
  const std::vector<std::string> recording = host.list;
  ReadingList refused;
  refused.Add(lines[0]);
  view.LoadRecordedLines(std::move(refused));
  EXPECT_EQ(host.list, recording);
}

}  // namespace
}  // namespace ql::test_support
