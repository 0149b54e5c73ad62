// quintaline-cli monitor: a user's first check that the meter talks. Opens
// the port through the meter link, runs the 50 ms tick with the link's
// pacing and prints one line per due sample:
//
//   display=" 12.34" unit=" Vdc" code="DC" class=B label="DCV" value=12.34 decimals=2 over=no
//   frame=...
//
// display and unit as decoded and classified (UTF-8), code the function
// code of the frame, class the class letter ('-' when the reading has no
// class), label the function label without its padding, value with as many
// decimals as the reading has, over whether the list of readings would
// record it as " OVER ", frame the 14 bytes in hexadecimal.
//
// With --stats, a line of the link's counters comes once a second as well:
//
//   stats received=2800 frames=200 skipped=0 cut=0 overflowed=0 last-frame=0.0s cd=n/a ...

#include <chrono>
#include <cstdio>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "cli/run_loop.h"
#include "decode/classify.h"
#include "decode/due_frame.h"
#include "link/com_qv7300.h"
#include "link/link_status.h"
#include "link/posix_serial_line.h"

namespace ql::cli {

namespace {

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    out.push_back(kDigits[byte >> 4]);
    out.push_back(kDigits[byte & 0xF]);
  }
  return out;
}

std::string TrimRight(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  return std::string(end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1));
}

std::string SampleLine(const LcdTexts& texts, const std::string& code, const Reading& reading,
                       std::string_view frame) {
  char value[64];
  std::snprintf(value, sizeof value, "%.*f", reading.decimals, static_cast<double>(reading.value));
  const std::string classText =
      reading.classLetter != 0 ? std::string(1, reading.classLetter) : std::string("-");
  const bool over = reading.classLetter != 0 &&
                    ListOverRange(texts.display, reading.classLetter, reading.decimals);
  return "display=" + Quoted(texts.display) + " unit=" + Quoted(texts.unit) +
         " code=" + Quoted(code) + " class=" + classText +
         " label=" + Quoted(TrimRight(reading.label)) + " value=" + value +
         " decimals=" + std::to_string(reading.decimals) + " over=" + (over ? "yes" : "no") +
         " frame=" + Hex(frame);
}

// Prints the link's status line once a second.
class StatsPrinter {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kEvery = std::chrono::seconds(1);

  explicit StatsPrinter(Clock::time_point start) : m_next(start + kEvery) {}

  // Called on every tick, so that the age of the last frame is exact to a tick.
  void Tick(CComQV7300& link, Clock::time_point now) {
    const LinkStatus status = ReadLinkStatus(link, m_age, now);
    if (now < m_next) return;
    PrintLine("stats " + LinkStatusLine(status));
    m_next += kEvery;
    if (m_next <= now) m_next = now + kEvery;  // fell behind: no burst of lines
  }

 private:
  FrameAge m_age;
  Clock::time_point m_next;
};

}  // namespace

int RunMonitor(const Words& words) {
  Args args;
  args.Value("--port");
  args.Value("--sampling");
  args.Value("--samples");
  args.Flag("--stats");
  if (!args.Parse(words)) return UsageError("monitor", args.Error(), kMonitorUsage);
  if (!args.Positionals().empty()) {
    return UsageError("monitor", "unexpected argument " + args.Positionals().front(),
                      kMonitorUsage);
  }
  const std::optional<std::string> port = args.Get("--port");
  if (!port || port->empty())
    return UsageError("monitor", "--port DEVICE is required", kMonitorUsage);
  SamplingChoice sampling = *ParseSampling("1s");
  if (const auto text = args.Get("--sampling")) {
    const auto choice = ParseSampling(*text);
    if (!choice)
      return UsageError("monitor", "--sampling must be one of " + std::string(kSamplingNames),
                        kMonitorUsage);
    sampling = *choice;
  }
  long long wanted = -1;  // until stopped
  if (const auto text = args.Get("--samples")) {
    const auto count = ParseInteger(*text, 1, kMaxCount);
    if (!count)
      return UsageError("monitor", "--samples must be a whole number from 1 to " +
                                       std::to_string(kMaxCount),
                        kMonitorUsage);
    wanted = *count;
  }

  InstallStopSignals();
  const std::string device = *port;
  PosixSerialLine line([device](const std::string&) { return device; });
  CComQV7300 link(line);
  link.SetMessageFn(
      [](std::string_view text, std::string_view detail) { PrintMessage(text, detail); });
  link.m_nPortIndex = 0;
  link.m_nReload = sampling.ticks;
  link.EndPeriodNow();
  if (link.Open(1) == 0) return kExitFailed;

  LcdTexts texts;  // keeps the function code from frame to frame
  long long printed = 0;
  bool lost = false;
  std::optional<StatsPrinter> stats;
  if (args.Has("--stats")) stats.emplace(std::chrono::steady_clock::now());
  RunTicks([&] {
    link.Tick();
    const int result = link.ReadFrame();
    if (stats) stats->Tick(link, std::chrono::steady_clock::now());
    if (link.LineLost()) {
      lost = true;
      return false;
    }
    if (!DecodeDueFrame(link, result, texts)) return true;
    const std::string code(texts.code, 2);
    const Reading reading = Classify(texts);
    link.TakeSample();
    PrintLine(SampleLine(texts, code, reading, link.m_strFrame));
    return ++printed != wanted;
  });
  link.Close();
  if (lost) {
    PrintMessage("Meter connection lost");
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace ql::cli
