// The view feeding the SQLite journal: a run that changes range twice leaves
// only the last range in the list, and all three parts in the journal, each
// of which reads back as the very lines that were listed.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/line_source.h"
#include "files/reading_file.h"
#include "journal/journal_reader.h"
#include "journal/journal_writer.h"
#include "run/ids.h"
#include "run/meter_frames.h"
#include "run/view_fixture.h"

namespace ql::test_support {
namespace {

namespace fs = std::filesystem;

using ViewJournalTest = ViewTest;

TEST_F(ViewJournalTest, ThreeRangesAreThreePartsAndEachRecoversAsListed) {
  const std::string path = PathOf("journal.sqlite3");
  std::vector<std::string> reports;
  journal::JournalWriter writer(path, [&](const std::string& m) { reports.push_back(m); });
  ASSERT_TRUE(writer.Open());
  SystemWallClock wall;
  CQarnView& view = Create();
  view.SetJournal({&writer, &wall, "1.0", "test", {}});
  Start();

  const std::vector<std::vector<std::string>> ranges = {
      {" 12.34", " 12.35", " 12.36"}, {" 123.4", " 123.5"}, {" 1.234", " 1.235", " 1.236"}};
  std::vector<std::vector<std::string>> listed;
  for (const auto& displays : ranges) {
    listed.emplace_back();
    for (const std::string& d : displays) {
      ASSERT_GT(Record(DcVolts(d)), 0) << d;
      listed.back().push_back(host.list.back());
    }
  }
  view.OnCommand(cmd::kRunStop);
  const std::string saved = PathOf("list.rdg");
  host.saveAnswer = saved;
  view.OnCommand(cmd::kFileSave);
  ASSERT_EQ(host.list, listed.back());
  EXPECT_TRUE(reports.empty()) << reports.front();

  journal::JournalReader reader;
  ASSERT_TRUE(reader.Open(path));
  const auto runs = reader.Runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].state, "finished");
  EXPECT_EQ(runs[0].samples, 8);
  const auto parts = reader.Parts(runs[0].id);
  ASSERT_EQ(parts.size(), 3u);
  const char* want_range[] = {"39.99", "399.9", "3.999"};
  for (std::size_t k = 0; k < parts.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(parts[k].seq, static_cast<int>(k) + 1);
    EXPECT_EQ(parts[k].function, "DCV");
    EXPECT_EQ(parts[k].unit, "Vdc");
    EXPECT_EQ(parts[k].range, want_range[k]);
    EXPECT_EQ(reader.PartLines(parts[k].id), listed[k]);
  }
  // The last part recovered is the reading file saved from the list, byte
  // for byte.
  const std::string recovered = PathOf("recovered.rdg");
  ASSERT_TRUE(SaveReadingFile(recovered, VectorLineSource(reader.PartLines(parts[2].id))).ok());
  EXPECT_EQ(ReadBytes(recovered), ReadBytes(saved));
}

}  // namespace
}  // namespace ql::test_support
