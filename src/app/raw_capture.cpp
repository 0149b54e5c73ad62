#include "app/raw_capture.h"

#include <algorithm>
#include <utility>

#include "run/journal_sink.h"

namespace ql {

RawCapture::~RawCapture() {
  Stop();
  // The window is going: a last failure has nobody left to be told to.
  for (auto& writer : m_closing) static_cast<void>(writer->Finish());
}

Status RawCapture::Start(const std::string& path) {
  Status status = CaptureWriter::Create(path, SystemWallClock().Now().utc_us, m_writer);
  if (status.ok()) m_view.SetByteTap(m_writer.get());
  return status;
}

void RawCapture::Stop() {
  if (!m_writer) return;
  m_view.SetByteTap(nullptr);
  m_writer->RequestFinish();
  m_closing.push_back(std::move(m_writer));
}

std::optional<Status> RawCapture::AfterTick(bool running) {
  std::optional<Status> failure;
  if (m_writer) {
    failure = m_writer->TakeFailure();
    if (failure || !running) Stop();
  }
  // A file closed since: its last write may have failed too.
  for (auto& writer : m_closing) {
    if (!writer->Done()) continue;
    if (std::optional<Status> last = writer->TakeFailure(); last && !failure) failure = last;
  }
  std::erase_if(m_closing, [](const auto& writer) { return writer->Done(); });
  return failure;
}

}  // namespace ql
