#include "files/reading_file.h"

#include <cstring>

#include "files/atomic_file.h"
#include "files/file_reader.h"

namespace ql {
namespace {

// Records read per block: about 1 MB at a time.
constexpr std::size_t kRecordsPerBlock = 16384;

// The line held in one record (or in the final, shorter one).
void AppendLine(const char* record, std::size_t size, std::vector<std::string>& lines) {
  std::size_t limit = size < kMaxRecordText ? size : kMaxRecordText;
  const void* nul = std::memchr(record, '\0', limit);
  std::size_t length =
      nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - record) : limit;
  lines.emplace_back(record, length);
}

Status TooManyRecords(const std::string& path) {
  return Status::TooLarge("cannot open " + path + ": more than " +
                          std::to_string(kMaxReadingRecords) + " readings");
}

}  // namespace

void AppendRecord(std::string_view line, std::string& out) {
  std::size_t length = line.find('\0');
  if (length == std::string_view::npos) length = line.size();
  if (length > kMaxRecordText) length = kMaxRecordText;
  std::size_t start = out.size();
  out.append(line.substr(0, length));
  out += '\n';
  out.resize(start + kRecordSize, '\0');
}

Status SaveReadingFile(const std::string& path, const LineSource& lines) {
  AtomicFile file;
  Status status = file.Open(path);
  std::string records;
  const int count = lines.Count();
  constexpr int kBatch = 4096;
  records.reserve(kBatch * kRecordSize);
  for (int first = 0; status.ok() && first < count; first += kBatch) {
    records.clear();
    for (int i = first; i < count && i < first + kBatch; ++i) AppendRecord(lines.Line(i), records);
    status = file.Write(records);
  }
  if (status.ok()) status = file.Commit();
  return status;
}

Status LoadReadingFile(const std::string& path, std::vector<std::string>& lines) {
  FileReader file;
  Status status = file.Open(path);
  if (!status.ok()) return status;
  std::vector<std::string> loaded;
  if (file.Size() >= 0) {
    auto records = static_cast<unsigned long long>(file.Size()) / kRecordSize;
    if (records > kMaxReadingRecords) return TooManyRecords(path);
    loaded.reserve(static_cast<std::size_t>(records) + 1);
  }
  std::string block(kRecordsPerBlock * kRecordSize, '\0');
  for (;;) {
    std::size_t got = 0;
    status = file.Read(block.data(), block.size(), got);
    if (!status.ok()) return status;
    for (std::size_t at = 0; at < got; at += kRecordSize) {
      AppendLine(block.data() + at, got - at < kRecordSize ? got - at : kRecordSize, loaded);
    }
    // A file that grows while it is read, or one that is not a regular
    // file, is held to the same limit.
    if (loaded.size() > kMaxReadingRecords) return TooManyRecords(path);
    if (got < block.size()) break;
  }
  lines.swap(loaded);
  return Status::Ok();
}

}  // namespace ql
