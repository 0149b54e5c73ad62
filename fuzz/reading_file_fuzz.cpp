// Opening arbitrary bytes as a reading file, then saving what was read and
// opening that again: every record becomes one line of at most 67 bytes with
// no NUL in it, and a save writes exactly 68 bytes per line that read back
// as the line with its line feed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/line_source.h"
#include "files/graph_file.h"
#include "files/reading_file.h"
#include "fuzz_check.h"
#include "scratch_file.h"

namespace {

// The line a record (possibly a final, shorter one) holds.
std::string_view RecordLine(std::string_view record) {
  record = record.substr(0, ql::kMaxRecordText);
  return record.substr(0, record.find('\0'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string input = ql::fuzz::ScratchPath("input.rdg");
  static const std::string saved = ql::fuzz::ScratchPath("saved.rdg");
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(ql::fuzz::WriteWholeFile(input, bytes));

  ql::DataFileKind kind = ql::DataFileKind::kReading;
  FUZZ_CHECK(ql::SniffDataFile(input, kind).ok());
  FUZZ_CHECK((kind == ql::DataFileKind::kGraph) == bytes.starts_with("GRA"));

  std::vector<std::string> lines{"left over from before"};
  FUZZ_CHECK(ql::LoadReadingFile(input, lines).ok());
  FUZZ_CHECK(lines.size() == (size + ql::kRecordSize - 1) / ql::kRecordSize);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    FUZZ_CHECK(lines[i] == RecordLine(bytes.substr(i * ql::kRecordSize, ql::kRecordSize)));
  }

  FUZZ_CHECK(ql::SaveReadingFile(saved, ql::VectorLineSource(lines)).ok());
  const std::string written = ql::fuzz::ReadWholeFile(saved);
  FUZZ_CHECK(written.size() == lines.size() * ql::kRecordSize);

  std::vector<std::string> again;
  FUZZ_CHECK(ql::LoadReadingFile(saved, again).ok());
  FUZZ_CHECK(again.size() == lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    FUZZ_CHECK(again[i] == (lines[i] + "\n").substr(0, ql::kMaxRecordText));
  }
  return 0;
}
