#include "ports/port_listener.h"

#include <string_view>
#include <utility>

namespace ql {

namespace {

// A countdown that never ends a sampling period, so that RX_READY always
// means a frame was taken.
constexpr int kNeverEnding = 1 << 30;

std::string Trimmed(std::string_view text) {
  const auto begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  return std::string(text.substr(begin, text.find_last_not_of(' ') + 1 - begin));
}

}  // namespace

PortListener::PortListener(std::string devicePath)
    : m_line([path = std::move(devicePath)](const std::string&) { return path; }),
      m_link(m_line) {}

PortListener::~PortListener() { Close(); }

Status PortListener::Open() {
  m_link.m_nCountdown = kNeverEnding;
  if (m_link.Open(1) == 0) return m_link.LastOpenStatus();
  return Status::Ok();
}

void PortListener::Tick() {
  while (m_link.ReadFrame() == RX_READY) {
    if (!DecodeLcdFrame(m_link.m_strFrame, [this] { return m_link.CarrierDetect(); }, m_texts)) {
      continue;
    }
    m_frames += 1;
    m_last = Trimmed(m_texts.display) + " " + Trimmed(m_texts.unit);
  }
}

void PortListener::Close() { m_link.Close(); }

}  // namespace ql
