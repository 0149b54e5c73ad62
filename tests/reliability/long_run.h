#pragma once
// A long run of the measuring window on fakes, the 50 ms tick driven
// directly: the meter sends at its own byte rate (12 bytes a tick) a walk of
// readings within one range, the trend graph or the meter panel is drawn on
// a canvas that only counts, and the heap in use can be read at any point.

#include <malloc.h>

#include <cstddef>
#include <memory>
#include <string>

#include "graph/canvas.h"
#include "run/ids.h"
#include "run/memory_profile_store.h"
#include "run/qarn_view.h"
#include "sim/meter_words.h"
#include "support/fake_serial_line.h"
#include "support/fixed_clock.h"
#include "support/recording_form_host.h"

#if defined(__SANITIZE_ADDRESS__)
// From the address sanitizer's runtime (its header is not installed with
// every compiler).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace ql::test_support {

// Bytes of heap in use by the process now (0 under valgrind, whose heap
// the C library does not see).
inline std::size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  // Large blocks are mapped on their own, outside the arena.
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

// A Canvas that keeps nothing but the number of operations drawn on it.
class CountingCanvas : public Canvas {
 public:
  long long ops = 0;
  void FillRect(int, int, int, int, Rgb) override { ++ops; }
  void MoveTo(int, int) override { ++ops; }
  void LineTo(int, int) override { ++ops; }
  void SetPixel(int, int, Rgb) override { ++ops; }
  void Text(int, int, std::string_view) override { ++ops; }
  void VerticalText(int, int, std::string_view) override { ++ops; }
  void SetTransparentText(bool) override { ++ops; }
  void SetBackgroundColour(Rgb) override { ++ops; }
};

// The recording host with a panel that does not keep what is drawn and a
// list that shows nothing: the lines are the view's alone.
class LongRunHost : public RecordingFormHost {
 public:
  CountingCanvas panel;
  Canvas* PanelCanvas() override { return &panel; }
  void ListAdd(std::string_view) override { ++listAdds; }
};

class LongRun {
 public:
  static constexpr int kTicksPerHour = 72'000;

  // A view created on the 500 ms sampling setting and started, in
  // `displayForm` (FORM_TEXT or FORM_LINE). The line graph is chosen once
  // the first sample is in the list (the first whole frame, on the second
  // tick).
  explicit LongRun(int displayForm) {
    store.Set("Sampling Time", "Current", "10");
    for (int i = 0; i < 40; ++i) {
      stream += *FrameFor("DC " + std::to_string(1000 + 25 * i).insert(1, ".") + " V");
    }
    view = std::make_unique<CQarnView>(host, store, clock, line);
    view->OnCreate();
    view->OnInitialUpdate();
    view->OnRunStart();
    if (displayForm == FORM_LINE) {
      while (view->Lines().Count() == 0 && ticks < 8) Tick();
      view->OnViewLine();
    }
  }

  // One tick with the meter's bytes of that tick.
  void Tick() {
    line.Send(std::string_view(stream).substr(at_, kBytesPerTick));
    at_ = (at_ + kBytesPerTick) % stream.size();
    view->OnTimer();
    ++ticks;
  }
  void Ticks(long long count) {
    for (long long i = 0; i < count; ++i) Tick();
  }

  FakeSerialLine line;
  LongRunHost host;
  MemoryProfileStore store;
  FixedClock clock;
  std::string stream;  // 40 frames, 1.000 V to 1.975 V; a multiple of 12 bytes
  std::unique_ptr<CQarnView> view;
  long long ticks = 0;  // since the run started

 private:
  static constexpr std::size_t kBytesPerTick = 12;
  std::size_t at_ = 0;
};

}  // namespace ql::test_support
