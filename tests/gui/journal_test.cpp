// The run journal in the desktop program, on a real journal in the test's
// folder: Tools > Journal lists its runs, loads a part into the list (then
// drawn and saved as if just recorded), exports a run as CSV and deletes one;
// Tools > Export CSV writes the list; a run a crash left behind is told of
// once at the next start; a journal that cannot be written is told once and
// shown by an indicator while the run goes on.

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/frame_ids.h"
#include "app/journal_dialog.h"
#include "base/line_source.h"
#include "files/reading_file.h"
#include "graph/display_form.h"
#include "gui_fixture.h"
#include "journal/journal_reader.h"
#include "journal/journal_writer.h"
#include "pty_meter.h"
#include "run/ids.h"
#include "support/python_csv.h"
#include "support/reading_lines.h"

namespace ql::test_support {
namespace {

std::string FileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

class JournalGuiTest : public GuiTest {
 protected:
  // The runs are of a fixed day long ago; the window's start removes none.
  void SetUp() override {
    GuiTest::SetUp();
    Setting(QStringLiteral("Journal/KeepDays"), 0);
  }

  static constexpr std::int64_t kStartUs = 1'765'375'357'000'000;
  static constexpr journal::JournalSettings kKeepAll{true, 0, 1024};

  // The lines of part `k` (1 or 2) of a run WriteRun writes.
  static std::vector<std::string> PartLines(int k) {
    std::vector<std::string> lines;
    for (int i = 0; i < (k == 1 ? 3 : 2); ++i) {
      lines.push_back(ReadingLine(k == 1 ? " 1.234" : " 12.34", " Vdc", "DCV",
                                  "10:00:0" + std::to_string(i + (k == 1 ? 0 : 3))));
    }
    return lines;
  }

  // A run of two parts (1.234 V three times, then 12.34 V twice) into the
  // test's journal by `writer`, stopped when `stop`.
  static void RecordRun(journal::JournalWriter& writer, bool stop) {
    writer.BeginRun(RunInfo{"1.0", "gui", "/dev/pts/9", "COM2", 500, 600}, {kStartUs, 3600});
    int n = 0;
    for (int k = 1; k <= 2; ++k) {
      if (k == 2) writer.Event({RunEventKind::kListCleared, {kStartUs, 3600}, "range changed"});
      for (const std::string& line : PartLines(k)) {
        JournalSample sample;
        sample.time = {kStartUs + 500'000 * ++n, 3600};
        sample.value = k == 1 ? 1.234 : 12.34;
        sample.function = "DCV";
        sample.unit = "Vdc";
        sample.range = k == 1 ? "3.999" : "39.99";
        sample.list_line = line;
        writer.Record(sample);
      }
    }
    if (stop) writer.Event({RunEventKind::kStop, {kStartUs + 5'000'000, 3600}, ""});
  }
  void WriteRun(bool stop = true) {
    journal::JournalWriter writer(journalPath, nullptr, kKeepAll);
    RecordRun(writer, stop);
  }

  JournalDialog* OpenJournalDialog() {
    Trigger(frame_cmd::kToolsJournal);
    JournalDialog* dialog = window->Journal();
    EXPECT_NE(dialog, nullptr);
    if (dialog) {
      EXPECT_TRUE(WaitFor([dialog] { return dialog->isVisible(); }));
    }
    return dialog;
  }

  std::vector<std::string> ListedLines() const {
    std::vector<std::string> lines;
    for (int i = 0; i < window->Form().ListCount(); ++i)
      lines.push_back(window->Form().ListText(i));
    return lines;
  }

  std::vector<journal::RunSummary> JournalRuns() {
    journal::JournalReader reader;
    return reader.Open(journalPath) ? reader.Runs() : std::vector<journal::RunSummary>();
  }
};

TEST_F(JournalGuiTest, PartLoadedIntoTheListIsDrawnAndSavedAsIfJustRecorded) {
  WriteRun();
  PtyMeter meter({"--reading", "DC 5.000 V"});
  ASSERT_TRUE(meter.ok());
  Setting(QStringLiteral("COMM/COM2"), QString::fromStdString(meter.SlavePath()));
  Setting(QStringLiteral("Sampling Time/Current"), 10);
  Start();
  JournalDialog* dialog = OpenJournalDialog();
  ASSERT_NE(dialog, nullptr);
  QTreeWidget* runs = dialog->Runs();
  ASSERT_EQ(runs->topLevelItemCount(), 1);
  QTreeWidgetItem* run = runs->topLevelItem(0);
  EXPECT_EQ(run->text(0), QStringLiteral("1"));
  EXPECT_EQ(run->text(1), QStringLiteral("2025-12-10 15:02:37"));
  EXPECT_EQ(run->text(2), QStringLiteral("0:00:05"));
  EXPECT_EQ(run->text(3), QStringLiteral("5"));
  EXPECT_EQ(run->text(7), QStringLiteral("finished"));
  ASSERT_EQ(run->childCount(), 2);
  EXPECT_EQ(run->child(0)->text(3), QStringLiteral("3"));
  EXPECT_EQ(run->child(0)->text(4), QStringLiteral("DCV"));
  EXPECT_EQ(run->child(0)->text(5), QStringLiteral("Vdc"));
  EXPECT_EQ(run->child(1)->text(6), QStringLiteral("39.99"));
  EXPECT_FALSE(dialog->LoadButton()->isEnabled()) << "nothing chosen";

  // The first part: its lines in the list, drawn, and saved as a new file.
  runs->setCurrentItem(run->child(0));
  ASSERT_TRUE(dialog->LoadButton()->isEnabled());
  dialog->LoadButton()->click();
  EXPECT_EQ(ListedLines(), PartLines(1));
  EXPECT_EQ(window->View().DisplayForm(), FORM_LINE);
  EXPECT_EQ(Pane(pane::kFileName), QStringLiteral("NONAME"));
  ASSERT_TRUE(Enabled(cmd::kFileSave));
  const QString saved = dir.filePath(QStringLiteral("part1.rdg"));
  dialogs.fileAnswers = {saved};
  Trigger(cmd::kFileSave);
  const QString expected = dir.filePath(QStringLiteral("expected.rdg"));
  const std::vector<std::string> part1 = PartLines(1);
  ASSERT_TRUE(SaveReadingFile(expected.toStdString(), VectorLineSource(part1)).ok());
  EXPECT_EQ(FileBytes(saved), FileBytes(expected));
  EXPECT_TRUE(dialogs.messages.empty());

  // The run's own row stands for its last part.
  runs->setCurrentItem(run);
  dialog->LoadButton()->click();
  EXPECT_EQ(ListedLines(), PartLines(2));

  // Never while recording; the run recorded meanwhile is in the journal.
  Trigger(cmd::kRunStart);
  ASSERT_TRUE(WaitFor([&] {
    meter.Send();
    return window->Form().ListCount() >= 2 && window->Form().ListText(0) != PartLines(2)[0];
  }));
  EXPECT_FALSE(dialog->LoadButton()->isEnabled());
  dialog->LoadButton()->click();
  EXPECT_NE(ListedLines(), PartLines(2));
  Trigger(cmd::kRunStop);
  const std::vector<std::string> recorded = ListedLines();
  dialog->Refresh();
  ASSERT_EQ(runs->topLevelItemCount(), 2);
  EXPECT_EQ(runs->topLevelItem(0)->text(0), QStringLiteral("2")) << "newest first";
  EXPECT_EQ(runs->topLevelItem(0)->text(7), QStringLiteral("finished"));
  runs->setCurrentItem(runs->topLevelItem(0));
  ASSERT_TRUE(dialog->LoadButton()->isEnabled());
  dialog->LoadButton()->click();
  EXPECT_EQ(ListedLines(), recorded);
  EXPECT_TRUE(frame->JournalIndicator()->isHidden());
}

TEST_F(JournalGuiTest, RunExportedAsCsvAndDeleted) {
  WriteRun();
  WriteRun();
  // A run another window still records may not be deleted.
  journal::JournalWriter live(journalPath, nullptr, kKeepAll);
  RecordRun(live, false);
  Start();
  JournalDialog* dialog = OpenJournalDialog();
  ASSERT_NE(dialog, nullptr);
  QTreeWidget* runs = dialog->Runs();
  ASSERT_EQ(runs->topLevelItemCount(), 3);
  EXPECT_EQ(runs->topLevelItem(0)->text(7), QStringLiteral("recording"));
  runs->setCurrentItem(runs->topLevelItem(0));
  EXPECT_FALSE(dialog->DeleteButton()->isEnabled());

  // The second part of run 1, numbers as the locale writes them, with a byte order mark.
  runs->setCurrentItem(runs->topLevelItem(2)->child(1));
  const QString csv = dir.filePath(QStringLiteral("part.csv"));
  dialogs.csvAnswer = CsvExportChoice{true, true};
  dialogs.fileAnswers = {csv};
  dialog->ExportButton()->click();
  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(dialogs.fileDialogs[0].defaultExtension, "csv");
  EXPECT_EQ(ReadCsvWithPython(csv.toStdString(), ";", true),
            "time|seconds|value|over|unit|function|part\n"
            "2025-12-10T15:02:39.000+01:00|2|12.34|no|Vdc|DCV|2\n"
            "2025-12-10T15:02:39.500+01:00|2.5|12.34|no|Vdc|DCV|2\n");
  // Cancelling the choices writes nothing.
  dialogs.csvAnswer.reset();
  dialog->ExportButton()->click();
  EXPECT_EQ(dialogs.fileDialogs.size(), 1u);

  // No keeps the run; Yes removes it with its parts and samples.
  runs->setCurrentItem(runs->topLevelItem(2));
  ASSERT_TRUE(dialog->DeleteButton()->isEnabled());
  dialogs.confirmAnswer = false;
  dialog->DeleteButton()->click();
  EXPECT_EQ(JournalRuns().size(), 3u);
  dialogs.confirmAnswer = true;
  dialog->DeleteButton()->click();
  ASSERT_EQ(dialogs.questions.size(), 2u);
  EXPECT_EQ(dialogs.questions[1].text, QStringLiteral("Delete run 1?"));
  const auto left = JournalRuns();
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[1].id, 2);
  EXPECT_EQ(runs->topLevelItemCount(), 2);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(JournalGuiTest, ToolsExportCsvWritesTheList) {
  Start();
  EXPECT_FALSE(Enabled(frame_cmd::kToolsExportCsv)) << "an empty list";
  const QString readings = dir.filePath(QStringLiteral("run.rdg"));
  const std::vector<std::string> lines = {ReadingLine(" 1.500", " Vdc", "DCV", "23:59:59"),
                                          ReadingLine(" OVER ", " Vdc", "DCV", "00:00:01")};
  ASSERT_TRUE(SaveReadingFile(readings.toStdString(), VectorLineSource(lines)).ok());
  dialogs.fileAnswers = {readings};
  Trigger(cmd::kFileOpen);
  ASSERT_TRUE(Enabled(frame_cmd::kToolsExportCsv));

  const QString csv = dir.filePath(QStringLiteral("list.csv"));
  dialogs.csvAnswer = CsvExportChoice{false, false};
  dialogs.fileAnswers = {csv};
  Trigger(frame_cmd::kToolsExportCsv);
  EXPECT_EQ(FileBytes(csv).rfind("time,seconds,", 0), 0u) << "no byte order mark";
  EXPECT_EQ(ReadCsvWithPython(csv.toStdString(), ",", false),
            "time|seconds|value|over|unit|function\n"
            "23:59:59|0|1.500|no|Vdc|DCV\n"
            "00:00:01|2||yes|Vdc|DCV\n");

  // A file that cannot be written is told; nothing is left behind.
  const QString folder = dir.filePath(QStringLiteral("no-such-folder/list.csv"));
  dialogs.fileAnswers = {folder};
  Trigger(frame_cmd::kToolsExportCsv);
  EXPECT_EQ(dialogs.CountOf(QStringLiteral("CSV Export Error!")), 1);
  EXPECT_FALSE(QFile::exists(folder));
}

TEST_F(JournalGuiTest, RunACrashLeftIsToldOnceAtTheNextStart) {
  // Run 1 was recorded by a program that died (a process that has ended);
  // run 2 by one that still lives (this one), so it is no crash.
  WriteRun(false);
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  int status = 0;
  ASSERT_EQ(waitpid(dead, &status, 0), dead);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(journalPath.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, ("UPDATE runs SET pid=" + std::to_string(dead)).c_str(), nullptr,
                         nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  journal::JournalWriter live(journalPath, nullptr, kKeepAll);
  RecordRun(live, false);

  Start();
  const QString notice = Pane(pane::kMessage);
  EXPECT_TRUE(notice.startsWith(QStringLiteral("Run 1 of 2025-12-10 15:02:37 did not finish")))
      << notice.toStdString();
  EXPECT_TRUE(notice.contains(QStringLiteral("Tools > Journal recovers its 5 readings")))
      << notice.toStdString();
  const auto runs = JournalRuns();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].state, "recording");
  EXPECT_EQ(runs[1].state, "unfinished");

  // The next start has nothing new to tell.
  app.reset();
  Start();
  EXPECT_FALSE(Pane(pane::kMessage).contains(QStringLiteral("did not finish")));
}

TEST_F(JournalGuiTest, UnwritableJournalIsToldOnceAndTheRunGoesOn) {
  QFile blocker(dir.filePath(QStringLiteral("file")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.write("a file where the journal's folder would be");
  blocker.close();
  const std::string path = dir.filePath(QStringLiteral("file/journal.sqlite3")).toStdString();
  qputenv("QUINTALINE_JOURNAL", QByteArray::fromStdString(path));
  PtyMeter meter({"--reading", "DC 12.34 V"});
  ASSERT_TRUE(meter.ok());
  Setting(QStringLiteral("COMM/COM2"), QString::fromStdString(meter.SlavePath()));
  Setting(QStringLiteral("Sampling Time/Current"), 10);
  Start();
  EXPECT_TRUE(Pane(pane::kMessage).startsWith(QString::fromStdString("journal " + path + ": ")))
      << Pane(pane::kMessage).toStdString();
  QLabel* indicator = frame->JournalIndicator();
  EXPECT_FALSE(indicator->isHidden());
  EXPECT_EQ(indicator->text(), QStringLiteral("Journal error"));
  EXPECT_EQ(indicator->palette().color(QPalette::WindowText), QColor(Qt::red));

  frame->SetPaneText(pane::kMessage, QStringLiteral("a hover tip"));
  Trigger(cmd::kRunStart);
  ASSERT_TRUE(WaitFor([&] {
    meter.Send();
    return window->Form().ListCount() >= 3;
  }));
  Trigger(cmd::kRunStop);
  EXPECT_EQ(Pane(pane::kMessage), QStringLiteral("a hover tip")) << "told once";
  EXPECT_FALSE(indicator->isHidden());
  EXPECT_TRUE(dialogs.messages.empty()) << "no message box stops the run";
}

TEST_F(JournalGuiTest, JournalTurnedOffWritesNothing) {
  PtyMeter meter({"--reading", "DC 12.34 V"});
  ASSERT_TRUE(meter.ok());
  Setting(QStringLiteral("COMM/COM2"), QString::fromStdString(meter.SlavePath()));
  Setting(QStringLiteral("Sampling Time/Current"), 10);
  Setting(QStringLiteral("Journal/Enabled"), 0);
  Start();
  Trigger(cmd::kRunStart);
  ASSERT_TRUE(WaitFor([&] {
    meter.Send();
    return window->Form().ListCount() >= 2;
  }));
  Trigger(cmd::kRunStop);
  EXPECT_FALSE(std::filesystem::exists(journalPath));
  EXPECT_TRUE(frame->JournalIndicator()->isHidden());
}

}  // namespace
}  // namespace ql::test_support
