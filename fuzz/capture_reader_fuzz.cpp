// The capture reader fed arbitrary bytes: it never reads outside them, and
// what it accepts holds together: every read lies inside the data, has 1 to
// the most bytes, and the times never go back. Written again from what was
// read, a capture reads back as the same reads.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "capture/capture_format.h"
#include "capture/capture_reader.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ql::Capture capture;
  const ql::Status status = ql::ParseCapture(std::vector<std::uint8_t>(data, data + size), capture);
  if (!status.ok()) {
    FUZZ_CHECK(!status.reason().empty());
    FUZZ_CHECK(capture.reads.empty() && capture.data.empty());
    return 0;
  }
  FUZZ_CHECK(capture.data.size() == size);
  std::string again = ql::capture::Header(capture.startUtcMicros);
  std::uint64_t last = 0;
  for (const ql::CaptureRead& read : capture.reads) {
    FUZZ_CHECK(read.size >= 1 && read.size <= ql::capture::kMaxReadBytes);
    FUZZ_CHECK(read.offset >= ql::capture::kHeaderSize && read.offset <= size);
    FUZZ_CHECK(read.size <= size - read.offset);
    FUZZ_CHECK(read.atMicros >= last && read.atMicros <= ql::capture::kMaxTimeMicros);
    ql::capture::AppendVarint(again, read.atMicros - last);
    ql::capture::AppendVarint(again, read.size);
    const auto bytes = capture.Bytes(read);
    again.append(bytes.begin(), bytes.end());
    last = read.atMicros;
  }
  ql::Capture reread;
  FUZZ_CHECK(ql::ParseCapture(std::vector<std::uint8_t>(again.begin(), again.end()), reread).ok());
  FUZZ_CHECK(reread.startUtcMicros == capture.startUtcMicros);
  FUZZ_CHECK(reread.reads.size() == capture.reads.size());
  for (std::size_t i = 0; i < reread.reads.size(); ++i) {
    FUZZ_CHECK(reread.reads[i].atMicros == capture.reads[i].atMicros);
    const auto a = reread.Bytes(reread.reads[i]);
    const auto b = capture.Bytes(capture.reads[i]);
    FUZZ_CHECK(std::vector<std::uint8_t>(a.begin(), a.end()) ==
               std::vector<std::uint8_t>(b.begin(), b.end()));
  }
  return 0;
}
