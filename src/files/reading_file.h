#pragma once
// Reading files: the list of readings as a sequence of 68-byte records, one
// per list line, oldest first, with no header and no trailer. A record holds
// the line's text (at most 67 bytes), a line feed, a NUL when there is room,
// and zero bytes up to its end. Readers take the bytes before the first NUL,
// at most 67 of them, so the line feed stays part of a line read back.

#include <cstddef>
#include <string>
#include <vector>

#include "base/line_source.h"
#include "base/status.h"

namespace ql {

inline constexpr std::size_t kRecordSize = 68;
inline constexpr std::size_t kMaxRecordText = kRecordSize - 1;
// The most records a file may hold to be opened: about 680 MB on disk and
// somewhat over 1 GB as lines in memory. A larger file is refused before
// anything is read, rather than exhausting memory.
inline constexpr std::size_t kMaxReadingRecords = 10'000'000;

// Writes `lines` to `path` as a reading file, atomically (atomic_file.h).
// A line of 67 or more bytes is cut to 67 and followed by the line feed, so
// a record never runs past its 68 bytes; a line ends at its first NUL byte.
// Returns an error Status with the reason when the file could not be written
// completely; the file at `path` is then as it was before.
Status SaveReadingFile(const std::string& path, const LineSource& lines);

// The record bytes of one list line, exactly kRecordSize of them, appended to
// `out`.
void AppendRecord(std::string_view line, std::string& out);

// Reads the reading file at `path` into `lines`, replacing what it held.
// A final record shorter than 68 bytes yields its bytes up to the first NUL
// like a whole record. A file that cannot be read (missing, not permitted, a
// folder, a read error) or that holds more than kMaxReadingRecords records
// returns an error Status and leaves `lines` untouched.
Status LoadReadingFile(const std::string& path, std::vector<std::string>& lines);

}  // namespace ql
