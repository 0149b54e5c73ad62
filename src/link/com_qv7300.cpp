#include "link/com_qv7300.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace ql {

namespace {

constexpr const char* kOpenFailedText = "Failed to Open ComPort";
constexpr const char* kTelnetDevice = "\\\\.\\TELNET";

std::uint8_t HighNibble(std::uint8_t byte) {
  return static_cast<std::uint8_t>(byte & frame::kHighNibble);
}

std::string OpenFailureDetail(const Status& status) {
  std::string detail = status.reason();
  if (status.code() == Status::Code::kDenied) {
    detail +=
        " (a serial device needs membership in the \"dialout\" group: "
        "sudo usermod -aG dialout $USER, then log in again)";
  }
  return detail;
}

}  // namespace

CComQV7300::CComQV7300(SerialLine& line) : m_line(line) {}

CComQV7300::~CComQV7300() { Close(); }

int CComQV7300::Open(int port) {
  // The port number is kept in one byte; saturate so that a large number
  // still means "above 4" and a negative one never becomes a valid port.
  m_nPort = static_cast<std::uint8_t>(std::clamp(port, 0, 255));
  m_dwBaudRate = 2400;
  m_nByteSize = 8;
  m_nParity = 0;
  m_nStopBits = 0;
  m_bLineLost = 0;
  CreateEvents();
  return OpenPort();
}

// Reads here never wait on an event: every read takes only bytes already
// queued. There is nothing to create, so this always succeeds.
int CComQV7300::CreateEvents() { return 1; }

int CComQV7300::OpenPort() {
  if (m_nPort <= 4) {
    m_strDevice = "COM" + std::to_string(m_nPort);
  } else {
    m_strDevice = kTelnetDevice;
  }
  Status status = m_line.Open(m_strDevice);
  if (!status.ok()) {
    m_openStatus = std::move(status);
    if (m_message) m_message(kOpenFailedText, OpenFailureDetail(m_openStatus));
    return 0;
  }
  m_line.Purge();
  const int result = SetupLine();
  if (result != 0) {
    m_bConnected = 1;
    m_openStatus = Status::Ok();
  } else {
    m_bConnected = 0;
    m_line.Close();
    m_openStatus = Status::Invalid(m_strDevice + ": the line format was not accepted");
  }
  return result;
}

int CComQV7300::SetupLine() {
  const LineFormat format{m_dwBaudRate, m_nByteSize, m_nParity, m_nStopBits};
  const int result = m_line.SetFormat(format) ? 1 : 0;
  // The meter takes its supply from DTR and RTS, so both go up whether or
  // not the format was accepted; DTR first.
  m_line.SetDtr(true);
  m_line.SetRts(true);
  return result;
}

int CComQV7300::Close() {
  if (m_bConnected != 0) ClosePort();
  return 1;
}

int CComQV7300::ClosePort() {
  m_bConnected = 0;
  m_line.SetDtr(false);  // RTS stays as it is
  m_line.Purge();
  m_line.Close();
  return 1;
}

bool CComQV7300::CarrierDetect() { return m_line.IsOpen() && m_line.CarrierDetect(); }

std::optional<ModemInputs> CComQV7300::ReadModemInputs() {
  return m_line.IsOpen() ? m_line.ReadModemInputs() : std::nullopt;
}

int CComQV7300::ReadFrame() {
  if (m_nPortIndex < 0) return RX_NOPORT;
  for (int tries = 0;;) {
    Collect();
    if (const std::optional<std::size_t> end = FindFrame()) {
      TakeFrame(*end);
      return RX_READY;
    }
    if (m_nCountdown <= 0) return EndPeriod();
    if (++tries >= 3) return RX_WAIT;
  }
}

void CComQV7300::Collect() {
  if (m_bLineLost != 0 || !m_line.IsOpen()) return;
  const std::optional<std::size_t> queued = m_line.Queued();
  if (!queued) {
    m_bLineLost = 1;
    return;
  }
  const std::size_t wanted = std::min(*queued, kReadSize);
  if (wanted == 0) return;
  if (wanted > kCollectSize - m_nRxCount) MakeRoom();
  const std::size_t got = std::min(m_line.Read(m_rxBuf.data() + m_nRxCount, wanted), wanted);
  m_nRxCount += got;
  m_counters.bytesReceived += got;
}

void CComQV7300::MakeRoom() {
  // Every try ends with a search, and a frame found is taken at once, so
  // when the collected bytes do not leave room they hold no complete frame:
  // only the newest 13 can still become the start of one.
  const std::size_t keep = std::min(m_nRxCount, kFrameSize - 1);
  Drop(m_nRxCount - keep, DropReason::kOverflow);
}

std::optional<std::size_t> CComQV7300::FindFrame() const {
  for (std::size_t i = kFrameSize - 1; i < m_nRxCount; ++i) {
    const bool acrossSeam = m_nSeam != 0 && i + 1 - kFrameSize < m_nSeam && i >= m_nSeam;
    if (HighNibble(m_rxBuf[i]) == frame::kMarkerHighE &&
        HighNibble(m_rxBuf[i - 1]) == frame::kMarkerHighD &&
        HighNibble(m_rxBuf[i - 2]) == frame::kMarkerHighC && !acrossSeam) {
      return i;
    }
  }
  return std::nullopt;
}

void CComQV7300::TakeFrame(std::size_t end) {
  const std::size_t begin = end + 1 - kFrameSize;
  m_strFrame.assign(reinterpret_cast<const char*>(m_rxBuf.data() + begin), kFrameSize);
  Drop(begin, DropReason::kSearch);
  Remove(kFrameSize);
  m_counters.framesTaken += 1;
  // Fewer than 14 bytes can be left before a seam once a frame was taken
  // from in front of it: they could only ever join a frame across the seam.
  Drop(m_nSeam, DropReason::kSearch);
  m_nMissed = 0;
  m_bFrameSeen = 1;
  if (m_nCountdown <= 0) {
    m_bSampleDue = 1;
    m_nCountdown = m_nReload;
    m_bFrameSeen = 0;
  }
  // A backlog of two frames or more means the reader fell behind: keep the
  // oldest frame's worth (and the partial bytes) and drop the newer ones.
  if (m_nRxCount / kFrameSize >= 2) {
    const std::size_t kept = kFrameSize + m_nRxCount % kFrameSize;
    Report(m_nRxCount - kept, DropReason::kBacklogCut);
    m_nRxCount = kept;
    m_nSeam = m_nRxCount;
  }
}

void CComQV7300::Drop(std::size_t count, DropReason reason) {
  Report(count, reason);
  Remove(count);
}

void CComQV7300::Remove(std::size_t count) {
  std::memmove(m_rxBuf.data(), m_rxBuf.data() + count, m_nRxCount - count);
  m_nRxCount -= count;
  m_nSeam = m_nSeam > count ? m_nSeam - count : 0;
}

void CComQV7300::Report(std::size_t count, DropReason reason) {
  if (count == 0) return;
  switch (reason) {
    case DropReason::kSearch:
      m_counters.bytesSkipped += count;
      break;
    case DropReason::kBacklogCut:
      m_counters.bytesCut += count;
      break;
    case DropReason::kOverflow:
      m_counters.bytesOverflowed += count;
      break;
  }
  if (m_reporter != nullptr) m_reporter->Dropped(count, reason);
}

int CComQV7300::EndPeriod() {
  m_nCountdown = m_nReload;
  m_nMissed += 1;
  if (m_bFrameSeen == 1) m_nMissed = 0;
  m_bFrameSeen = 0;
  if (m_nMissed >= kMissedCap) m_nMissed = kMissedCap;
  // Two silent periods still repeat the last frame; from the third on no
  // sample is due until the meter sends again.
  m_bSampleDue = m_nMissed < 3 ? 1 : 0;
  return RX_READY;
}

}  // namespace ql
