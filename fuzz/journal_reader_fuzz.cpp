// Arbitrary bytes as a journal file: opening it read-only, listing its runs,
// each run's parts and lines, and exporting each run as CSV never crash and
// never change the file; an export that succeeds starts with its header.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "journal/csv_export.h"
#include "journal/journal_reader.h"
#include "scratch_file.h"

namespace {

// Enough runs and parts to reach every query; a damaged file may claim more.
constexpr std::size_t kMostRuns = 8;
constexpr std::size_t kMostParts = 8;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string input = ql::fuzz::ScratchPath("journal.sqlite3");
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const char* suffix : {"-wal", "-shm"}) {
    std::error_code ignored;
    std::filesystem::remove(input + suffix, ignored);
  }
  FUZZ_CHECK(ql::fuzz::WriteWholeFile(input, bytes));

  ql::journal::JournalReader reader;
  if (reader.Open(input)) {
    const auto runs = reader.Runs();
    for (std::size_t r = 0; r < runs.size() && r < kMostRuns; ++r) {
      const auto parts = reader.Parts(runs[r].id);
      for (std::size_t p = 0; p < parts.size() && p < kMostParts; ++p)
        reader.PartLines(parts[p].id);
      ql::CsvChoices choices = r % 2 == 1 ? ql::LocaleCsvChoices(",", true) : ql::CsvChoices{};
      choices.bom = true;
      std::string csv, error;
      if (ql::journal::ExportRunCsv(reader.Database(), runs[r].id, 0, choices, csv, error))
        FUZZ_CHECK(csv.starts_with("\xEF\xBB\xBFtime"));
    }
    reader.FindRun("last");
    reader.FindRun("1");
  }
  FUZZ_CHECK(ql::fuzz::ReadWholeFile(input) == bytes);
  return 0;
}
