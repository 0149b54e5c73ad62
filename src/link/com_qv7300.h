#pragma once
// The meter link: opens the serial line the meter is on (2400 baud, 8N1,
// DTR and RTS raised, receive only) and collects the 14-byte display frames
// it sends, pacing the samples by a countdown of 50 ms ticks.
//
// Each link object has its own collection buffer, so two measuring windows
// reading two meters never mix their bytes.
//
// Collecting: each try of ReadFrame reads at most kReadSize of the queued
// bytes. When they do not fit behind the bytes already collected, those hold
// no complete frame (every try ends with a search that takes one), so all but
// the newest 13 of them are dropped first: bytes that never form a frame can
// neither overflow the buffer nor keep a later frame from being found.
//
// The backlog cut drops bytes from the middle of the stream, so the bytes
// kept before the cut and those read after it are not contiguous: a frame
// whose bytes would lie on both sides is a mix of two displays and is never
// taken; the search passes over it.
//
// Every byte read is counted, and every byte dropped is counted by why it
// was dropped and told to the drop reporter, if one is set.
//
// A lost line (hang-up, device gone) sets m_bLineLost; from then on reads
// see no bytes until the next Open, or until TryReopen finds the device back.
//
// Every byte read can also be handed, as read, to a byte tap (a capture of
// the raw stream).

#include "base/frame_layout.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "link/serial_line.h"

namespace ql {

// Results of ReadFrame.
inline constexpr int RX_READY = -11111;   // a frame was taken, or the period ended
inline constexpr int RX_WAIT = -88888;    // no complete frame yet, period running
inline constexpr int RX_NOPORT = -99999;  // no port chosen; nothing was read

// Why collected bytes were dropped without becoming a frame.
enum class DropReason {
  kSearch,      // passed over while searching for a frame
  kBacklogCut,  // newer frames dropped because the reader fell behind
  kOverflow,    // no room: bytes that held no frame made room for new ones
};

// Told of every drop as it happens, in the manner of a log reader's
// corruption reporter.
class DropReporter {
 public:
  virtual ~DropReporter() = default;
  virtual void Dropped(std::size_t bytes, DropReason reason) = 0;
};

// Told of every byte read from the line, in the pieces it was read, before
// any of it is searched. Called on the reader's thread, which must never
// wait: an implementation returns at once.
class ByteTap {
 public:
  virtual ~ByteTap() = default;
  virtual void Received(const std::uint8_t* bytes, std::size_t count) = 0;
};

// What the link received and what became of it, since it was made. Every
// byte received was taken in a frame, dropped for one reason, or is still
// collected: bytesReceived == 14 * framesTaken + the three drops + Collected().
struct LinkCounters {
  std::uint64_t bytesReceived = 0;
  std::uint64_t framesTaken = 0;
  std::uint64_t bytesSkipped = 0;     // DropReason::kSearch
  std::uint64_t bytesCut = 0;         // DropReason::kBacklogCut
  std::uint64_t bytesOverflowed = 0;  // DropReason::kOverflow
};

class CComQV7300 {
 public:
  // Shows a message box: the system's text and an optional detail line.
  using MessageFn = std::function<void(std::string_view text, std::string_view detail)>;

  // `line` must outlive this object.
  explicit CComQV7300(SerialLine& line);
  ~CComQV7300();
  CComQV7300(const CComQV7300&) = delete;
  CComQV7300& operator=(const CComQV7300&) = delete;

  // Where "Failed to Open ComPort" goes. Without one the message is dropped.
  void SetMessageFn(MessageFn fn) { m_message = std::move(fn); }

  // Opens port number `port` (1 = COM1; above 4 the TELNET device) and sets
  // the line up. Returns 1 on success, 0 on failure.
  [[nodiscard]] int Open(int port);
  int CreateEvents();
  [[nodiscard]] int OpenPort();
  [[nodiscard]] int SetupLine();
  // Closes the port if open: DTR low, RTS as it was, queues purged. Returns 1.
  int Close();
  int ClosePort();

  // `reporter` (may be null) must outlive this object or be replaced first.
  void SetDropReporter(DropReporter* reporter) { m_reporter = reporter; }
  const LinkCounters& Counters() const { return m_counters; }
  // `tap` (may be null) must outlive this object or be replaced first.
  void SetByteTap(ByteTap* tap) { m_tap = tap; }

  // Drains the queued bytes, takes the oldest complete frame into
  // m_strFrame and paces the samples. Returns RX_READY, RX_WAIT or RX_NOPORT.
  int ReadFrame();

  // Pacing. One 50 ms tick off the running period; saturates, so a link
  // left idle for years never wraps the countdown.
  void Tick() {
    if (m_nCountdown > std::numeric_limits<int>::min()) --m_nCountdown;
  }
  // The next ReadFrame ends the period at once.
  void EndPeriodNow() { m_nCountdown = 0; }
  // A full period starts now.
  void RestartPeriod() { m_nCountdown = m_nReload; }
  // True iff a ReadFrame set a sample due that was not taken yet.
  bool SampleDue() const { return m_bSampleDue != 0; }
  // The due sample was recorded (or is not wanted): none is due until the
  // next period ends.
  void TakeSample() { m_bSampleDue = 0; }

  // Returns true iff the carrier-detect line is on (false when unknown).
  bool CarrierDetect();
  // The line's modem-status inputs; nullopt when closed or where the device
  // has none.
  std::optional<ModemInputs> ReadModemInputs() const;
  // Returns true iff the line was lost (hang-up, device gone) since Open.
  bool LineLost() const { return m_bLineLost != 0; }
  // Call once a tick while the line is lost. The dead line is closed at the
  // first call (so that the kernel can give its device name back to the
  // device when it returns); every kReopenTicks calls the same device is
  // tried again, quietly and without waiting (SerialLine::Reopen). Returns
  // true iff the line is back: set up as Open sets it up, the bytes
  // collected before the loss dropped (they never join the bytes after
  // it), and no frame from before the loss left to be repeated.
  bool TryReopen();
  // The device name Open built: "COM%d" or "\\.\TELNET".
  const std::string& DeviceName() const { return m_strDevice; }
  // Why the last Open failed; ok() after a successful one.
  const Status& LastOpenStatus() const { return m_openStatus; }
  // Number of bytes collected and not yet taken as (or dropped with) a frame.
  std::size_t Collected() const { return m_nRxCount; }

  // Port layer.
  int m_bConnected = 0;      // 1 while open and configured
  std::uint8_t m_nPort = 0;  // port number from 1, set by Open
  std::uint8_t m_nByteSize = 8;
  std::uint8_t m_nParity = 0;    // none
  std::uint8_t m_nStopBits = 0;  // one stop bit
  std::uint32_t m_dwBaudRate = 2400;
  int m_nPortIndex = 0;  // the view's choice, 0 = COM1; negative: no port

  // Frame reader.
  std::string m_strFrame;  // latest complete frame, 14 bytes; empty until the first
  int m_bSampleDue = 0;    // 1 when a sample is due
  int m_nReload = 16;      // ticks per sampling period
  int m_nCountdown = 0;    // ticks left in the current period
  int m_nMissed = 0;       // consecutive periods without a frame, 0 .. 1000
  int m_bFrameSeen = 0;    // a frame arrived during the current period
  int m_bLineLost = 0;     // the line reported a hang-up since Open
  int m_nReopenWait = 0;   // TryReopen calls until the next try of a lost line

  static constexpr std::size_t kFrameSize = frame::kFrameSize;
  static constexpr std::size_t kCollectSize = 4000;  // collection buffer
  static constexpr std::size_t kReadSize = 2048;     // most bytes read by one try
  static constexpr int kMissedCap = 1000;            // m_nMissed stops here
  static constexpr int kReopenTicks = 20;            // a lost line is tried about once a second

 private:
  // Reads what the line has queued (at most kReadSize) into m_rxBuf.
  void Collect();
  // Drops all collected bytes but the newest 13. REQUIRES: no complete frame
  // in m_rxBuf.
  void MakeRoom();
  // Returns the position of the last byte of the oldest complete frame.
  std::optional<std::size_t> FindFrame() const;
  // Takes the frame ending at `end` into m_strFrame and paces the samples.
  void TakeFrame(std::size_t end);
  // Drops the oldest `count` collected bytes, counted under `reason`.
  void Drop(std::size_t count, DropReason reason);
  void Report(std::size_t count, DropReason reason);
  // Removes the oldest `count` collected bytes.
  void Remove(std::size_t count);
  // Ends a sampling period in which this call found no frame.
  int EndPeriod();

  SerialLine& m_line;
  MessageFn m_message;
  DropReporter* m_reporter = nullptr;
  ByteTap* m_tap = nullptr;
  LinkCounters m_counters;
  std::string m_strDevice;
  Status m_openStatus;
  std::array<std::uint8_t, kCollectSize> m_rxBuf{};
  std::size_t m_nRxCount = 0;
  // Position in m_rxBuf where the bytes read after a backlog cut begin; 0
  // when the collected bytes are one unbroken piece of the stream.
  std::size_t m_nSeam = 0;
};

// The view's port-settings record.
struct CRScom {
  int m_nComPort = 1;    // 0 = COM1 .. 3 = COM4
  int m_nSampling = 20;  // sampling code in units of 50 ms
};

}  // namespace ql
