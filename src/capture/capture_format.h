#pragma once
// The layout of a capture file: every byte a meter link received, with the
// time it was read, so that a run's line can be played back as it came.
// docs/capture.md has the grammar.
//
//   capture = header *read
//   header  = magic version start      ; 14 bytes
//   read    = delta count count*OCTET
//
// Numbers in a read are unsigned LEB128 varints: seven bits a byte, lowest
// first, the top bit set on every byte but the last.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace ql::capture {

// "QLCAP": tells a capture from any other file.
inline constexpr std::array<char, 5> kMagic{'Q', 'L', 'C', 'A', 'P'};
// One byte after the magic; a reader refuses versions it does not know.
inline constexpr std::uint8_t kVersion = 1;
// After the version: the wall-clock time the capture began, microseconds
// since 1970-01-01T00:00:00Z, 8 bytes little-endian, two's complement.
inline constexpr std::size_t kStartSize = 8;
inline constexpr std::size_t kHeaderSize = kMagic.size() + 1 + kStartSize;

// delta: microseconds from the previous read's time (the first read: from
// the capture's start) to this read's time, the moment the link read it.
// count: the bytes of this read, 1 .. kMaxReadBytes; a longer read is
// written as several reads, the later ones with delta 0.
inline constexpr std::size_t kMaxReadBytes = 65536;
// A varint of a 64-bit number takes at most 10 bytes.
inline constexpr std::size_t kMaxVarintBytes = 10;
// No read lies further than this from the start (about 31 years): times
// stay far from overflow wherever they are added up.
inline constexpr std::uint64_t kMaxTimeMicros = 1'000'000'000'000'000ULL;

// Appends `value` to `out` as a varint.
inline void AppendVarint(std::string& out, std::uint64_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<char>((value & 0x7F) | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<char>(value));
}

// The header for a capture that began at `startUtcMicros`.
inline std::string Header(std::int64_t startUtcMicros) {
  std::string header(kMagic.begin(), kMagic.end());
  header.push_back(static_cast<char>(kVersion));
  auto bits = static_cast<std::uint64_t>(startUtcMicros);
  for (std::size_t i = 0; i < kStartSize; ++i) {
    header.push_back(static_cast<char>(bits & 0xFF));
    bits >>= 8;
  }
  return header;
}

}  // namespace ql::capture
