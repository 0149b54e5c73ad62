// File Save and File Open through the view: dialogs, the files written and
// read, and what a failure leaves unchanged.

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "base/list_line.h"
#include "files/graph_file.h"
#include "files/reading_file.h"
#include "graph/display_form.h"
#include "meter_frames.h"
#include "run/ids.h"
#include "view_fixture.h"

namespace ql::testing {
namespace {

namespace fs = std::filesystem;

class FileCommandsTest : public ViewTest {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("run_files_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  // A stopped run of three lines, ready to be saved.
  void RunThreeLines() {
    Start();
    for (const char* display : {" 1.234", " 1.235", " 1.236"})
      ASSERT_GT(Record(DcVolts(display)), 0);
    View().OnRunStop();
  }

  fs::path dir_;
};

TEST_F(FileCommandsTest, SaveWritesOneRecordPerLineAndEndsTheRunsSaving) {
  CQarnView& view = Create();
  RunThreeLines();
  host.saveAnswer = PathOf("run.rdg");
  view.OnFileSave();

  const std::string bytes = Contents(PathOf("run.rdg"));
  ASSERT_EQ(bytes.size(), 204u);
  EXPECT_EQ(bytes.substr(0, list_line::kLength), host.list[0]);
  EXPECT_EQ(bytes[list_line::kLength], '\n');
  EXPECT_EQ(bytes[list_line::kLength + 1], '\0');
  EXPECT_EQ(bytes.substr(2 * kRecordSize, list_line::kLength), host.list[2]);
  EXPECT_EQ(view.m_bCanSave, 0);
  EXPECT_FALSE(view.OnUpdateCommand(cmd::kFileSave).enabled);
  EXPECT_EQ(view.m_nLineCount, 3);
  EXPECT_STREQ(view.m_szFileName, "run.rdg");
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
  EXPECT_EQ(view.m_bCanSave, 1);
  EXPECT_STREQ(view.m_szFileName, "NONAME");
  EXPECT_EQ(host.paneWrites.size(), panes);
  EXPECT_EQ(host.list.size(), 3u);
  EXPECT_EQ(view.m_nDisplayForm, FORM_TEXT);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(FileCommandsTest, SaveThatCannotCreateTheFileReportsItAndChangesNothing) {
  CQarnView& view = Create();
  RunThreeLines();
  host.saveAnswer = PathOf("missing/run.rdg");
  view.OnFileSave();
  ASSERT_EQ(host.MessageTexts(), std::vector<std::string>{"File Save Error!"});
  EXPECT_FALSE(host.messages[0].detail.empty());
  EXPECT_EQ(view.m_bCanSave, 1);
  EXPECT_STREQ(view.m_szFileName, "NONAME");
  EXPECT_EQ(host.Pane(pane::kFileName), "NONAME");
}

// Holds the size limit of files this process writes while it lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  sighandler_t oldHandler_ = SIG_DFL;
};

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
  EXPECT_EQ(Contents(path), "older run");
  EXPECT_EQ(view.m_bCanSave, 1);
  EXPECT_EQ(view.m_nLineCount, 3);
  EXPECT_STREQ(view.m_szFileName, "NONAME");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(FileCommandsTest, LongFileTitleIsShortenedWithoutCuttingACharacter) {
  CQarnView& view = Create();
  RunThreeLines();
  const std::string ascii(150, 'a');
  host.saveAnswer = PathOf(ascii);
  view.OnFileSave();
  EXPECT_EQ(std::string(view.m_szFileName), ascii.substr(0, 99));

  std::string accented;
  for (int i = 0; i < 60; ++i) accented += "\xC3\xA9";  // U+00E9 in UTF-8
  view.m_bCanSave = 1;
  host.saveAnswer = PathOf(accented);
  view.OnFileSave();
  EXPECT_EQ(std::string(view.m_szFileName), accented.substr(0, 98));
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
  EXPECT_EQ(view.m_nLineCount, 3);
  EXPECT_EQ(view.m_nDisplayForm, FORM_LINE);
  EXPECT_EQ(view.m_bGraphLoaded, 0);
  EXPECT_EQ(view.m_bCanSave, 1);
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
    EXPECT_EQ(view.m_nDisplayForm, FORM_TEXT);
    EXPECT_STREQ(view.m_szFileName, "NONAME");
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
  EXPECT_EQ(view.m_nDisplayForm, FORM_GRAPHFILE);
  EXPECT_EQ(view.m_bGraphLoaded, 1);
  EXPECT_EQ(view.m_GraphBuf[1023], 0xAB);
  EXPECT_EQ(host.list.size(), 3u);
  EXPECT_EQ(host.Pane(pane::kFileName), "picture.rdg");

  host.canvas.Clear();
  view.OnDraw();
  EXPECT_TRUE(host.list.empty());
  const std::vector<std::string>& ops = host.canvas.Ops();
  EXPECT_NE(std::find(ops.begin(), ops.end(), "rect 51 7 54 10 #0000FF"), ops.end());

  host.saveAnswer = PathOf("again.rdg");
  view.OnFileSave();
  EXPECT_EQ(view.m_nLineCount, 0);
  const std::string bytes = Contents(PathOf("again.rdg"));
  ASSERT_EQ(bytes.size(), 4112u);
  EXPECT_EQ(bytes.substr(0, 16), "GRAPH*1QKDT530.0");
  EXPECT_EQ(bytes.substr(16 + 4 * 1023), " 171");
}

}  // namespace
}  // namespace ql::testing
