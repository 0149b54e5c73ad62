// The measuring window created on settings of any value (the settings file
// is the user's to edit), then run: a few commands and ticks with whatever
// bytes the meter sends, a stop, a repaint and the printed pages.
//
// Input: four lines (up to '\n') with the stored texts of "COMM"/"Port",
// "Db"/"Ref", "Sampling Time"/"Current" and "Sampling Time"/"Use display";
// then steps: a byte whose low two bits are 0 carries out a command (its
// upper bits choose which), any other sends the next (byte >> 2) bytes on the
// line and ticks.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "graph/recording_canvas.h"
#include "run/ids.h"
#include "run/memory_profile_store.h"
#include "run/qarn_view.h"
#include "support/fake_serial_line.h"
#include "support/fixed_clock.h"
#include "support/recording_form_host.h"
#include "support/view_probe.h"

namespace {

constexpr int kCommands[] = {
    ql::cmd::kRunStart,     ql::cmd::kRunPause, ql::cmd::kRunStop,       ql::cmd::kViewText,
    ql::cmd::kViewLine,     ql::cmd::kViewBar,  ql::ctl::kRelButton,     ql::ctl::kPeakButton,
    ql::ctl::kMinMaxButton, ql::ctl::kDbButton, ql::cmd::kSampling500ms, ql::cmd::kDbRefFirst,
    ql::cmd::kSetupComPort,
};
constexpr int kMostTicks = 400;
constexpr int kMostPrintedPages = 3;

// Takes the text up to the next line feed (or the end) from `input`.
std::string_view NextLine(std::string_view& input) {
  const std::size_t end = input.find('\n');
  const std::string_view line = input.substr(0, end);
  input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  return line;
}

void CheckView(ql::CQarnView& view, const ql::test_support::RecordingFormHost& host) {
  const ql::test_support::ViewProbe probe(view);
  FUZZ_CHECK(::strnlen(probe.m_szFileName, sizeof probe.m_szFileName) < sizeof probe.m_szFileName);
  FUZZ_CHECK(::strnlen(probe.m_szDisplay, sizeof probe.m_szDisplay) < sizeof probe.m_szDisplay);
  FUZZ_CHECK(::strnlen(probe.m_szUnit, sizeof probe.m_szUnit) < sizeof probe.m_szUnit);
  FUZZ_CHECK(probe.m_fWindowCount >= 0.0f && probe.m_fWindowCount <= ql::CQarnView::kWindowSize);
  for (const std::string& line : host.list) {
    FUZZ_CHECK(line.size() == static_cast<std::size_t>(ql::CQarnView::kLineLength));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  ql::MemoryProfileStore store;
  store.Set("COMM", "Port", NextLine(input));
  store.Set("Db", "Ref", NextLine(input));
  store.Set("Sampling Time", "Current", NextLine(input));
  store.Set("Sampling Time", "Use display", NextLine(input));

  ql::test_support::FakeSerialLine line;
  ql::test_support::RecordingFormHost host;
  host.portDialogAnswer = 2;
  ql::test_support::FixedClock clock;
  ql::CQarnView view(host, store, clock, line);
  FUZZ_CHECK(view.OnCreate() == 0);
  view.OnInitialUpdate();
  view.OnRunStart();

  int ticks = 0;
  while (!input.empty() && ticks < kMostTicks) {
    const auto step = static_cast<std::uint8_t>(input.front());
    input.remove_prefix(1);
    if ((step & 3) == 0) {
      view.OnCommand(kCommands[(step >> 2) % std::size(kCommands)]);
    } else {
      const std::string_view bytes = input.substr(0, step >> 2);
      input.remove_prefix(bytes.size());
      line.Send(bytes);
      view.OnTimer();
      ++ticks;
    }
    CheckView(view, host);
  }

  view.OnRunStop();
  view.OnDraw();
  const int pages = view.OnPreparePrinting();
  FUZZ_CHECK(pages >= 0);
  ql::RecordingCanvas canvas;
  for (int page = 1; page <= pages && page <= kMostPrintedPages; ++page) view.OnPrint(canvas, page);
  CheckView(view, host);
  return 0;
}
