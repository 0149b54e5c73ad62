#pragma once
// Keeps every byte a meter link receives, with the time it was read, in a
// capture file (capture_format.h), without ever making the tick wait on the
// disk: the tick only appends to memory, and a writer thread of the
// capture's own writes what has gathered at least once a second.
//
// The tick's side never waits on a lock either: it hands its bytes over
// only when the lock is free at once, and keeps them for the next read when
// it is not. A write that fails ends the capture (later bytes are dropped,
// the run goes on); the failure is there to be taken once, by the face that
// tells the user.
//
// Threads: Received, TakeFailure and RequestFinish belong to the thread that
// owns the link; Finish and the destructor wait for the writer thread.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "base/status.h"
#include "base/unique_fd.h"
#include "link/com_qv7300.h"

namespace ql {

class CaptureWriter final : public ByteTap {
 public:
  using Clock = std::chrono::steady_clock;
  // The most bytes kept in memory for the disk; past it the disk is taken
  // for failed (it has not kept up for hours).
  static constexpr std::size_t kMaxBuffered = 16u << 20;
  static constexpr Clock::duration kFlushEvery = std::chrono::seconds(1);

  // Creates (or empties) the file at `path` and writes its header; the
  // capture's time starts now, at wall-clock `startUtcMicros`.
  static Status Create(const std::string& path, std::int64_t startUtcMicros,
                       std::unique_ptr<CaptureWriter>& out);
  // Finishes the capture first.
  ~CaptureWriter() override;
  CaptureWriter(const CaptureWriter&) = delete;
  CaptureWriter& operator=(const CaptureWriter&) = delete;

  // Takes one read's bytes with the time now. Never waits.
  void Received(const std::uint8_t* bytes, std::size_t count) override;

  // The first write failure, the first time it is asked for after it
  // happened; nullopt otherwise. Never waits.
  std::optional<Status> TakeFailure();
  // Asks the writer thread to write what is left and close the file, and
  // returns at once; later reads are not kept. Done() tells when it is.
  void RequestFinish();
  // True iff the file is closed (finished, or a write failed).
  bool Done() const { return m_done.load(std::memory_order_acquire); }
  // Requests the finish and waits for it. Returns the capture's outcome:
  // ok, or the first failure.
  Status Finish();

  const std::string& Path() const { return m_path; }

 private:
  struct Token {};  // only Create makes writers

 public:
  CaptureWriter(Token, std::string path, UniqueFd fd);

 private:
  void Append(std::uint64_t atMicros, const std::uint8_t* bytes, std::size_t count);
  // Hands the tick's bytes to the writer thread if the lock is free now,
  // or always when `wait`.
  void HandOver(bool wait);
  void WriterLoop();
  // Writes all of `bytes`. Returns false on a failure, which it records.
  bool WriteAll(const std::string& bytes);
  void Fail(Status status);

  const std::string m_path;
  UniqueFd m_fd;
  const Clock::time_point m_start = Clock::now();

  // The tick's side.
  std::string m_pending;          // records not handed over yet
  std::uint64_t m_lastMicros = 0;  // the time of the last read taken
  bool m_finishing = false;       // RequestFinish was called
  bool m_failureTaken = false;

  // Shared with the writer thread.
  enum : int { kOk, kFailing, kFailed };
  std::atomic<int> m_state{kOk};  // kFailed once m_failure holds the first failure
  Status m_failure;
  std::mutex m_handMutex;  // guards m_handed; held only to append or swap
  std::string m_handed;
  std::mutex m_wakeMutex;  // guards m_stop; with m_wake, the writer's sleep
  std::condition_variable m_wake;
  bool m_stop = false;
  std::atomic<bool> m_done{false};
  std::thread m_writer;
};

}  // namespace ql
