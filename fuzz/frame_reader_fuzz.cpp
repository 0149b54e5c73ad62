// The frame reader fed arbitrary bytes in arbitrary chunks over many ticks,
// with any sampling period (zero and negative included), any starting
// countdown, a capped driver queue, bursts far larger than every buffer,
// silent ticks, the line lost, and the port closed and opened again.
//
// Input: four bytes of setup, then one step per header byte:
//   0x00        a tick with nothing new on the line
//   0xFF        close the port and open it again, as a new run does
//   0xFE        the line is lost (hang-up); later steps still tick
//   otherwise   the next (h & 0x3F) bytes arrive, repeated 64 times when
//               bit 6 is set, as a burst; then one tick
//
// After every tick the properties the sampling cycle relies on are checked.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "link/com_qv7300.h"
#include "support/fake_serial_line.h"

namespace {

using ql::CComQV7300;
namespace frame = ql::frame;

constexpr std::size_t kSetupBytes = 4;
constexpr int kMaxTriesPerCall = 3;
// The most bytes a frame taken can leave behind: a frame's worth and a part.
constexpr std::size_t kMostLeftAfterFrame = 2 * CComQV7300::kFrameSize - 1;

bool HasEndMarks(const std::string& frame) {
  auto high = [&](std::size_t i) {
    return static_cast<std::uint8_t>(static_cast<std::uint8_t>(frame[i]) & frame::kHighNibble);
  };
  return frame.size() == CComQV7300::kFrameSize && high(11) == frame::kMarkerHighC &&
         high(12) == frame::kMarkerHighD && high(13) == frame::kMarkerHighE;
}

// One tick of the sampling cycle as the view runs it, and the checks.
void Tick(ql::testing::FakeSerialLine& line, CComQV7300& link) {
  link.Tick();
  const int countdown = link.m_nCountdown;
  const bool dueBefore = link.SampleDue();
  const int queuedBefore = line.queuedCalls;
  const std::size_t readBefore = line.bytesRead;
  const bool lostBefore = link.LineLost();

  const int result = link.ReadFrame();

  FUZZ_CHECK(result == ql::RX_READY || result == ql::RX_WAIT);
  FUZZ_CHECK(link.Collected() <= CComQV7300::kCollectSize);
  FUZZ_CHECK(line.queuedCalls - queuedBefore <= kMaxTriesPerCall);
  FUZZ_CHECK(line.bytesRead - readBefore <= kMaxTriesPerCall * CComQV7300::kReadSize);
  FUZZ_CHECK(link.m_nMissed >= 0 && link.m_nMissed <= CComQV7300::kMissedCap);
  FUZZ_CHECK(link.m_bSampleDue == 0 || link.m_bSampleDue == 1);
  FUZZ_CHECK(link.m_bFrameSeen == 0 || link.m_bFrameSeen == 1);
  FUZZ_CHECK(link.m_strFrame.empty() || HasEndMarks(link.m_strFrame));
  if (lostBefore) FUZZ_CHECK(line.bytesRead == readBefore);
  if (line.lost) FUZZ_CHECK(link.LineLost());

  if (countdown <= 0) {
    // A period ends on every call that finds its countdown run out, frame or not.
    FUZZ_CHECK(result == ql::RX_READY);
    FUZZ_CHECK(link.m_nCountdown == link.m_nReload);
  } else {
    // Inside a period nothing becomes due and the countdown is left alone.
    FUZZ_CHECK(link.m_nCountdown == countdown);
    FUZZ_CHECK(link.SampleDue() == dueBefore);
    // The reader only returns READY mid-period after taking a frame.
    if (result == ql::RX_READY) FUZZ_CHECK(link.Collected() <= kMostLeftAfterFrame);
  }
  // The view clears the flag once it has recorded the sample.
  if (result == ql::RX_READY) link.TakeSample();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kSetupBytes) return 0;
  ql::testing::FakeSerialLine line;
  line.carrier = (data[3] & 1) != 0;
  line.queueCap = data[2] == 0 ? 0 : static_cast<std::size_t>(data[2]) * 8;
  CComQV7300 link{line};
  FUZZ_CHECK(link.Open(1) == 1);
  // The first period runs for data[1] ticks, the later ones for data[0].
  link.m_nReload = static_cast<std::int8_t>(data[1]);
  link.RestartPeriod();
  link.m_nReload = static_cast<std::int8_t>(data[0]);

  std::size_t at = kSetupBytes;
  while (at < size) {
    const std::uint8_t header = data[at++];
    if (header == 0xFF) {
      link.Close();
      line.lost = false;
      FUZZ_CHECK(link.Open(1) == 1);
      FUZZ_CHECK(!link.LineLost());
      link.EndPeriodNow();
      continue;
    }
    if (header == 0xFE) {
      line.lost = true;
      continue;
    }
    if (header != 0) {
      const std::size_t length = std::min<std::size_t>(header & 0x3F, size - at);
      const std::string chunk(reinterpret_cast<const char*>(data + at), length);
      at += length;
      const int repeats = (header & 0x40) != 0 ? 64 : 1;
      for (int i = 0; i < repeats; ++i) line.Send(chunk);
    }
    Tick(line, link);
  }
  return 0;
}
