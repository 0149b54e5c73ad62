// quintaline-cli log: a recording run without a window. Start, the 50 ms
// tick in the text form, Stop, then Save when asked. Every sample is
// committed to the run journal (unless section "Journal" turns it off) before
// its list line goes to stdout; with --panel each recorded sample is
// followed by the texts of the nine panel controls:
//
//   panel 1001="..." 1002="..." 1024="..." 1000="..." 1013="..." 1014="..." 1019="..." 1020="..."
//   1021="..."

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "capture/capture_writer.h"
#include "cli/args.h"
#include "cli/cli_host.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "cli/run_loop.h"
#include "cli/silence_watch.h"
#include "files/atomic_file.h"
#include "journal/journal_db.h"
#include "journal/journal_writer.h"
#include "journal/retention.h"
#include "link/posix_serial_line.h"
#include "qtsupport/settings_store.h"
#include "qtsupport/text_edge.h"
#include "run/ids.h"
#include "run/journal_sink.h"
#include "run/qarn_view.h"
#include "run/system_clock.h"

namespace ql::cli {

namespace {

constexpr std::array<int, 9> kPanelControls{ctl::kReading,   ctl::kUnit,      ctl::kRelRefText,
                                            ctl::kDbRefText, ctl::kPeakMax,   ctl::kPeakMin,
                                            ctl::kMinMaxMax, ctl::kMinMaxAvg, ctl::kMinMaxMin};

// The dB reference commands by their ohms, first to last.
constexpr std::array<int, 15> kDbOhms{2,   4,   8,   16,  50,  75,  93,  110,
                                      125, 135, 150, 300, 600, 900, 1000};

std::optional<int> DbCommand(long long ohms) {
  for (std::size_t i = 0; i < kDbOhms.size(); ++i) {
    if (kDbOhms[i] == ohms) return cmd::kDbRefFirst + static_cast<int>(i);
  }
  return std::nullopt;
}

std::optional<int> ModeButton(std::string_view name) {
  if (name == "rel") return ctl::kRelButton;
  if (name == "db") return ctl::kDbButton;
  if (name == "ph") return ctl::kPeakButton;
  if (name == "mm") return ctl::kMinMaxButton;
  return std::nullopt;
}

std::string PanelLine(const CliHost& host) {
  std::string line = "panel";
  for (int id : kPanelControls) {
    line += ' ' + std::to_string(id) + '=' + Quoted(host.ControlText(id));
  }
  return line;
}

constexpr double kMaxSeconds = 1e9;

struct LogOptions {
  std::string device;
  std::optional<int> samplingCommand;
  std::optional<int> dbCommand;
  std::vector<int> modeButtons;
  bool panel = false;
  long long samples = -1;  // no limit
  std::optional<double> seconds;
  std::optional<std::string> saveFile;
  std::optional<std::string> rawFile;
  bool reconnect = false;
  std::string settings;
  std::string journal;  // empty: the default journal
};

// Returns an empty text when the options are sound, else the problem.
std::string ReadOptions(const Args& args, LogOptions& options) {
  if (!args.Positionals().empty()) return "unexpected argument " + args.Positionals().front();
  const auto port = args.Get("--port");
  if (!port || port->empty()) return "--port DEVICE is required";
  options.device = *port;
  if (const auto text = args.Get("--sampling")) {
    const auto choice = ParseSampling(*text);
    if (!choice) return "--sampling must be one of " + std::string(kSamplingNames);
    options.samplingCommand = choice->command;
  }
  if (const auto text = args.Get("--db-ref")) {
    const auto ohms = ParseInteger(*text, 1, 1000);
    options.dbCommand = ohms ? DbCommand(*ohms) : std::nullopt;
    if (!options.dbCommand) {
      return "--db-ref must be one of 2 4 8 16 50 75 93 110 125 135 150 300 600 900 1000";
    }
  }
  if (const auto text = args.Get("--modes")) {
    std::istringstream list(*text);
    for (std::string name; std::getline(list, name, ',');) {
      const auto button = ModeButton(name);
      if (!button) return "--modes takes a comma list of rel, db, ph, mm";
      options.modeButtons.push_back(*button);
    }
  }
  options.panel = args.Has("--panel");
  if (const auto text = args.Get("--samples")) {
    const auto count = ParseInteger(*text, 1, kMaxCount);
    if (!count) return "--samples must be a whole number from 1 to " + std::to_string(kMaxCount);
    options.samples = *count;
  }
  if (const auto text = args.Get("--seconds")) {
    options.seconds = ParseNumber(*text, 0.001, kMaxSeconds);
    if (!options.seconds) {
      return "--seconds must be a number of seconds from 0.001 to " +
             std::to_string(static_cast<long long>(kMaxSeconds));
    }
  }
  if (std::string problem = EmptyFileName(args, {"--save", "--raw", "--journal"});
      !problem.empty()) {
    return problem;
  }
  options.saveFile = args.Get("--save");
  options.rawFile = args.Get("--raw");
  options.reconnect = args.Has("--reconnect");
  options.settings = args.Get("--settings").value_or("");
  options.journal = args.Get("--journal").value_or(journal::DefaultJournalPath());
  return {};
}

}  // namespace

int RunLog(const Words& words) {
  Args args;
  for (const char* name : {"--port", "--sampling", "--db-ref", "--modes", "--samples", "--seconds",
                           "--save", "--raw", "--settings", "--journal"}) {
    args.Value(name);
  }
  args.Flag("--panel");
  args.Flag("--reconnect");
  LogOptions options;
  if (!args.Parse(words)) return UsageError("log", args.Error(), kLogUsage);
  if (const std::string problem = ReadOptions(args, options); !problem.empty()) {
    return UsageError("log", problem, kLogUsage);
  }

  // A target that cannot be saved is found now, not after an hour's run.
  if (options.saveFile) {
    if (const Status status = CheckReplaceable(*options.saveFile); !status.ok()) {
      PrintError("quintaline-cli log: " + status.reason());
      return kExitFailed;
    }
  }

  InstallStopSignals();
  SettingsStore store(SettingsPath(QString::fromStdString(options.settings)));
  const std::string device = options.device;
  PosixSerialLine line([device](const std::string&) { return device; });
  SystemClock clock;
  // The journal is opened, and its old runs removed, before the first tick.
  const journal::JournalSettings journalSettings = journal::ReadJournalSettings(store);
  std::unique_ptr<journal::JournalWriter> journal;
  SystemWallClock wallClock;
  if (journalSettings.enabled) {
    journal = std::make_unique<journal::JournalWriter>(
        options.journal,
        [](const std::string& problem) { PrintError("quintaline-cli log: " + problem); },
        journalSettings);
    journal->Open();
  }
  CliHost host;
  CQarnView view(host.Parts(), store, clock, line);
  if (journal) {
    view.SetJournal(
        {journal.get(), &wallClock, QUINTALINE_VERSION, "cli", [device] { return device; }});
  }
  view.OnCreate();
  view.OnInitialUpdate();
  if (options.samplingCommand) view.OnCommand(*options.samplingCommand);
  if (options.dbCommand) view.OnCommand(*options.dbCommand);
  // The view takes a stored code outside the five as the period itself.
  if (std::ranges::none_of(view.SamplingChecks(), [](int check) { return check != 0; })) {
    PrintError("quintaline-cli log: stored sampling Current=" +
               std::to_string(view.PortSettings().m_nSampling) +
               " in section \"Sampling Time\" of " + store.Path().toStdString() + " is none of " +
               kSamplingNames + "; a sample is taken every " +
               std::to_string(view.PortSettings().m_nSampling) + " ticks of 50 ms");
  }

  view.OnCommand(cmd::kRunStart);
  if (!view.OnUpdateRunning()) return kExitFailed;  // the message box told why
  for (int button : options.modeButtons) view.OnCommand(button);

  // The capture's time starts with the first tick, right after the port
  // opened, as a replay's starts when its line is opened.
  std::unique_ptr<CaptureWriter> capture;
  if (options.rawFile) {
    const Status created =
        CaptureWriter::Create(*options.rawFile, SystemWallClock().Now().utc_us, capture);
    if (!created.ok()) {
      view.OnCommand(cmd::kRunStop);
      PrintError("quintaline-cli log: " + created.reason());
      return kExitFailed;
    }
    view.SetByteTap(capture.get());
  }
  bool captureFailed = false;
  const auto reportCaptureFailure = [&](const Status& failure) {
    PrintError("quintaline-cli log: the capture stopped: " + failure.reason() +
               "; the run goes on without it");
    captureFailed = true;
  };

  const auto deadline =
      options.seconds
          ? std::optional(std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(*options.seconds)))
          : std::nullopt;
  SilenceWatch silence(options.device, std::chrono::steady_clock::now());
  bool wasLost = false;
  const ReadingList& lines = view.Lines();
  RunTicks([&] {
    const auto now = std::chrono::steady_clock::now();
    if (deadline && now >= *deadline) return false;
    const long long before = lines.TotalAdded();
    view.OnTimer();
    const long long added = lines.TotalAdded() - before;
    for (int i = lines.Count() - static_cast<int>(added); i < lines.Count(); ++i) {
      PrintLine(Latin1ToUtf8(lines.View(i)));
    }
    const bool recorded = added > 0;
    const bool lost = view.Link().LineLost();
    if (lost) {
      wasLost = true;
    } else {
      // The quiet of a lost line was told as such, not as a silent meter.
      if (wasLost) silence = SilenceWatch(options.device, now);
      wasLost = false;
      silence.Check(view.Link().Counters().framesTaken, now);
    }
    if (capture) {
      if (const std::optional<Status> failure = capture->TakeFailure()) {
        reportCaptureFailure(*failure);
      }
    }
    if (recorded && options.panel && view.DisplayForm() == FORM_TEXT) PrintLine(PanelLine(host));
    if (lost && !options.reconnect) return false;
    return options.samples < 0 || lines.TotalAdded() < options.samples;
  });
  const bool lost = view.Link().LineLost() && !options.reconnect;
  view.SetByteTap(nullptr);
  view.OnCommand(cmd::kRunStop);
  if (capture) {
    const Status outcome = capture->Finish();
    if (!outcome.ok() && !captureFailed) reportCaptureFailure(outcome);
  }

  if (options.saveFile && lines.TotalAdded() == 0) {
    PrintError("quintaline-cli log: no line was recorded; " + *options.saveFile + " not written");
    return kExitFailed;
  }
  if (options.saveFile) {
    host.SetSavePath(*options.saveFile);
    const int before = host.MessageCount();
    view.OnCommand(cmd::kFileSave);
    if (host.MessageCount() != before) return kExitFailed;
  }
  return lost || captureFailed ? kExitFailed : kExitOk;
}

}  // namespace ql::cli
