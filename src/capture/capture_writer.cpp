#include "capture/capture_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "base/error_text.h"
#include "capture/capture_format.h"

namespace ql {

Status CaptureWriter::Create(const std::string& path, std::int64_t startUtcMicros,
                             std::unique_ptr<CaptureWriter>& out) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!fd.Valid()) {
    return errno == EACCES || errno == EPERM ? Status::Denied(ErrorText(path, errno))
                                             : Status::IoError(ErrorText(path, errno));
  }
  auto writer = std::make_unique<CaptureWriter>(Token{}, path, std::move(fd));
  if (!writer->WriteAll(capture::Header(startUtcMicros))) return writer->Finish();
  out = std::move(writer);
  return Status::Ok();
}

CaptureWriter::CaptureWriter(Token, std::string path, UniqueFd fd)
    : m_path(std::move(path)), m_fd(std::move(fd)) {
  m_writer = std::thread(&CaptureWriter::WriterLoop, this);
}

// A failure was told through TakeFailure while the capture ran; at the end
// there is nobody left to tell.
CaptureWriter::~CaptureWriter() { static_cast<void>(Finish()); }

void CaptureWriter::Received(const std::uint8_t* bytes, std::size_t count) {
  if (m_finishing || m_state.load(std::memory_order_acquire) != kOk || count == 0) return;
  const auto since = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - m_start);
  const std::uint64_t at = std::max(m_lastMicros, static_cast<std::uint64_t>(since.count()));
  for (std::size_t done = 0; done < count;) {
    const std::size_t piece = std::min(count - done, capture::kMaxReadBytes);
    Append(at, bytes + done, piece);
    done += piece;
  }
  HandOver(false);
}

void CaptureWriter::Append(std::uint64_t atMicros, const std::uint8_t* bytes, std::size_t count) {
  capture::AppendVarint(m_pending, atMicros - m_lastMicros);
  capture::AppendVarint(m_pending, count);
  m_pending.append(reinterpret_cast<const char*>(bytes), count);
  m_lastMicros = atMicros;
}

void CaptureWriter::HandOver(bool wait) {
  if (m_pending.empty()) return;
  std::unique_lock<std::mutex> lock(m_handMutex, std::defer_lock);
  if (wait) {
    lock.lock();
  } else if (!lock.try_lock()) {
    // The writer is taking what was handed before: these go with the next.
    if (m_pending.size() <= kMaxBuffered) return;
    Fail(Status::IoError(m_path + ": the disk did not keep up with the line"));
    m_pending.clear();
    return;
  }
  if (m_handed.size() + m_pending.size() > kMaxBuffered) {
    Fail(Status::IoError(m_path + ": the disk did not keep up with the line"));
    m_pending.clear();
    return;
  }
  m_handed += m_pending;
  m_pending.clear();
}

std::optional<Status> CaptureWriter::TakeFailure() {
  if (m_failureTaken || m_state.load(std::memory_order_acquire) != kFailed) return std::nullopt;
  m_failureTaken = true;
  return m_failure;
}

void CaptureWriter::RequestFinish() {
  if (m_finishing) return;
  if (m_state.load(std::memory_order_acquire) == kOk) HandOver(true);
  m_finishing = true;
  {
    std::lock_guard<std::mutex> lock(m_wakeMutex);
    m_stop = true;
  }
  m_wake.notify_one();
}

Status CaptureWriter::Finish() {
  RequestFinish();
  if (m_writer.joinable()) m_writer.join();
  return m_state.load(std::memory_order_acquire) == kFailed ? m_failure : Status::Ok();
}

void CaptureWriter::WriterLoop() {
  for (bool stop = false; !stop;) {
    {
      std::unique_lock<std::mutex> lock(m_wakeMutex);
      m_wake.wait_for(lock, kFlushEvery, [this] { return m_stop; });
      stop = m_stop;
    }
    std::string bytes;
    {
      std::lock_guard<std::mutex> lock(m_handMutex);
      bytes.swap(m_handed);
    }
    if (!bytes.empty() && !WriteAll(bytes)) break;
  }
  if (m_fd.Close() != 0) Fail(Status::IoError(ErrorText(m_path, errno)));
  m_done.store(true, std::memory_order_release);
}

bool CaptureWriter::WriteAll(const std::string& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(m_fd.Get(), bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      Fail(Status::IoError(n < 0 ? ErrorText(m_path, errno) : m_path + ": nothing could be written"));
      return false;
    }
  }
  return true;
}

void CaptureWriter::Fail(Status status) {
  int expected = kOk;
  if (!m_state.compare_exchange_strong(expected, kFailing, std::memory_order_acq_rel)) return;
  m_failure = std::move(status);
  m_state.store(kFailed, std::memory_order_release);
}

}  // namespace ql
