#pragma once
// Reads a capture file (capture_format.h) back: the start time and every
// read with its time from the start and its bytes. A file that is not a
// capture, of another version, damaged or cut short is refused whole with a
// Status that says what is wrong and where (byte offset, read number).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/status.h"

namespace ql {

struct CaptureRead {
  std::uint64_t atMicros = 0;  // the read's time, from the capture's start
  std::size_t offset = 0;      // where its bytes lie in Capture::data
  std::size_t size = 0;        // how many
};

struct Capture {
  std::int64_t startUtcMicros = 0;  // wall-clock start, microseconds since 1970 UTC
  std::vector<std::uint8_t> data;   // the file as read
  std::vector<CaptureRead> reads;   // oldest first; times never decrease

  std::span<const std::uint8_t> Bytes(const CaptureRead& read) const {
    return std::span<const std::uint8_t>(data).subspan(read.offset, read.size);
  }
};

// Largest capture file read: about ten days of a meter at full speed.
inline constexpr std::uintmax_t kMaxCaptureFileBytes = 256ULL << 20;

// Parses `data`, which becomes out.data. On failure `out` is left empty.
Status ParseCapture(std::vector<std::uint8_t> data, Capture& out);
// Reads and parses the file at `path`; reasons begin with the path.
Status ReadCaptureFile(const std::string& path, Capture& out);

}  // namespace ql
