#include "capture/capture_reader.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <utility>

#include "base/error_text.h"
#include "capture/capture_format.h"

namespace ql {

namespace {

// Walks the bytes of a capture, keeping the offset for error reasons.
class Cursor {
 public:
  explicit Cursor(const std::vector<std::uint8_t>& data) : m_data(data) {}

  std::size_t Offset() const { return m_at; }
  std::size_t Left() const { return m_data.size() - m_at; }

  // Reads a varint. nullopt when the bytes end inside it or it runs past
  // ten bytes or 64 bits; `problem` then says which.
  std::optional<std::uint64_t> Varint(std::string& problem) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < capture::kMaxVarintBytes; ++i) {
      if (m_at == m_data.size()) {
        problem = "the file ends inside a number";
        return std::nullopt;
      }
      const std::uint8_t byte = m_data[m_at++];
      const std::uint64_t bits = byte & 0x7F;
      // The tenth byte may carry only the 64th bit.
      if (i == capture::kMaxVarintBytes - 1 && bits > 1) break;
      value |= bits << (7 * i);
      if ((byte & 0x80) == 0) return value;
    }
    problem = "a number runs past 64 bits";
    return std::nullopt;
  }
  void Skip(std::size_t count) { m_at += count; }

 private:
  const std::vector<std::uint8_t>& m_data;
  std::size_t m_at = 0;
};

std::string Where(std::size_t readIndex, std::size_t offset) {
  return "read " + std::to_string(readIndex + 1) + " at byte " + std::to_string(offset) + ": ";
}

Status ParseHeader(const std::vector<std::uint8_t>& data, std::int64_t& start) {
  const std::size_t magicSize = capture::kMagic.size();
  if (data.size() < magicSize ||
      std::memcmp(data.data(), capture::kMagic.data(), magicSize) != 0) {
    return Status::Invalid("not a capture file (it does not begin with \"QLCAP\")");
  }
  if (data.size() < capture::kHeaderSize) {
    return Status::Invalid("cut short: the header needs " + std::to_string(capture::kHeaderSize) +
                           " bytes, the file has " + std::to_string(data.size()));
  }
  const std::uint8_t version = data[magicSize];
  if (version != capture::kVersion) {
    return Status::Invalid("capture version " + std::to_string(version) +
                           " is not known (this program reads version " +
                           std::to_string(capture::kVersion) + ")");
  }
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < capture::kStartSize; ++i) {
    bits |= static_cast<std::uint64_t>(data[magicSize + 1 + i]) << (8 * i);
  }
  start = static_cast<std::int64_t>(bits);
  return Status::Ok();
}

}  // namespace

Status ParseCapture(std::vector<std::uint8_t> data, Capture& out) {
  out = Capture{};
  Capture capture;
  if (Status status = ParseHeader(data, capture.startUtcMicros); !status.ok()) return status;
  Cursor cursor(data);
  cursor.Skip(capture::kHeaderSize);
  std::uint64_t time = 0;
  while (cursor.Left() > 0) {
    const std::size_t index = capture.reads.size();
    const std::size_t offset = cursor.Offset();
    std::string problem;
    const std::optional<std::uint64_t> delta = cursor.Varint(problem);
    const std::optional<std::uint64_t> count =
        delta ? cursor.Varint(problem) : std::optional<std::uint64_t>();
    if (!count) return Status::Invalid(Where(index, offset) + problem);
    if (*delta > capture::kMaxTimeMicros - time) {
      return Status::Invalid(Where(index, offset) + "its time lies more than " +
                             std::to_string(capture::kMaxTimeMicros / 1'000'000) +
                             " s after the start");
    }
    if (*count == 0 || *count > capture::kMaxReadBytes) {
      return Status::Invalid(Where(index, offset) + "a read of " + std::to_string(*count) +
                             " bytes (1 to " + std::to_string(capture::kMaxReadBytes) +
                             " are possible)");
    }
    if (*count > cursor.Left()) {
      return Status::Invalid(Where(index, offset) + "cut short: " + std::to_string(*count) +
                             " bytes announced, " + std::to_string(cursor.Left()) + " left");
    }
    time += *delta;
    capture.reads.push_back({time, cursor.Offset(), static_cast<std::size_t>(*count)});
    cursor.Skip(static_cast<std::size_t>(*count));
  }
  capture.data = std::move(data);
  out = std::move(capture);
  return Status::Ok();
}

Status ReadCaptureFile(const std::string& path, Capture& out) {
  out = Capture{};
  std::error_code ec;
  const auto kind = std::filesystem::status(path, ec);
  if (ec) return Status::NotFound(path + ": " + ec.message());
  // A FIFO or a device could keep the reader waiting for ever.
  if (!std::filesystem::is_regular_file(kind)) {
    return Status::Invalid(path + ": not a regular file");
  }
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec && size > kMaxCaptureFileBytes) {
    return Status::TooLarge(path + ": " + std::to_string(size) + " bytes is more than the " +
                            std::to_string(kMaxCaptureFileBytes) + " a capture may have");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return Status::IoError(ErrorText(path, errno));
  std::vector<std::uint8_t> data;
  char buffer[1 << 16];
  while (in) {
    in.read(buffer, sizeof buffer);
    data.insert(data.end(), buffer, buffer + in.gcount());
    if (data.size() > kMaxCaptureFileBytes) {
      return Status::TooLarge(path + ": more than the " + std::to_string(kMaxCaptureFileBytes) +
                              " bytes a capture may have");
    }
  }
  if (in.bad()) return Status::IoError(path + ": the file could not be read");
  if (Status status = ParseCapture(std::move(data), out); !status.ok()) {
    return Status::Invalid(path + ": " + status.reason());
  }
  return Status::Ok();
}

}  // namespace ql
