// quintaline-cli: the measuring engine without its window. Subcommands feed
// a simulated meter, watch a meter, log a run, and turn data files into
// pictures, reports and CSV.

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGlobal>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/help.h"
#include "cli/output.h"
#include "qtsupport/numeric_locale.h"

namespace ql::cli {

namespace {

constexpr const char* kVersionText = "quintaline-cli " QUINTALINE_VERSION;

constexpr const char* kSequenceHelp[] = {
    "simulate sends a meter's display frames, 4 a second (--rate HZ), until stopped",
    "or --frames N were sent; with --pty the first stdout line is the path to open.",
    "SEQUENCE, one source:",
    "  --reading WORDS        the same reading in every frame, e.g. \"DC 12.34 V\"",
    "  --ramp FROM TO         a sawtooth of --steps frames from FROM to TO",
    "  --walk FROM TO         a random walk between FROM and TO (step at most 1/--steps)",
    "  --cycle \"W1;W2;...\"    the readings in turn (range and function changes)",
    "  --hex \"HEX;HEX;...\"    raw frames in hexadecimal, in turn",
    "and any of:",
    "  --steps N  --hold N (slots per frame)  --overload-every N (OL instead)",
    "  --gap-every N --gap-frames M (M silent slots after every N)",
    "  --noise R (garbage bytes per frame byte, 0..10)  --seed S",
    "WORDS: FUNCTION NUMBER UNIT or FUNCTION OL [UNIT]; FUNCTION is DC, AC, OHM, CONT,",
    "  DIODE, FREQ, CAP, DUTY or TEMP; NUMBER has at most four digits, three after the",
    "  point; UNIT is V A Ohm Hz F % C F with a prefix n u m k M where the function",
    "  allows it: \"AC 1.234 mV\", \"OHM 2.000 MOhm\", \"FREQ 4.500 kHz\", \"TEMP 23.5 C\".",
};

void PrintHelp() {
  PrintLine(std::string(kVersionText) + ": the Quintaline meter logger on the command line");
  PrintLine("");
  PrintLine("Usage:");
  for (const char* usage :
       {kSimulateUsage, kMonitorUsage, kLogUsage, kGraphUsage, kReportUsage, kExportUsage,
        kJournalUsage, kPortsUsage}) {
    PrintLine(std::string("  ") + usage);
  }
  PrintLine("  quintaline-cli --help | --version");
  PrintLine("");
  for (const char* line : kSequenceHelp) PrintLine(line);
  PrintLine("");
  PrintLine("Exit status: 0 done, 1 failed (the reason is on stderr), 2 usage error.");
  PrintLine("Settings file: --settings PATH, else $QUINTALINE_SETTINGS, else");
  PrintLine("  ~/.config/Quintaline/Quintaline.ini.");
}

// stderr carries the message-box texts that scripts read; Qt's own notes
// about the environment (a missing runtime folder, ...) stay off it.
void QtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) PrintError(message.toStdString());
}

bool NeedsFonts(std::string_view command) { return command == "graph" || command == "report"; }

int RunSubcommand(const std::string& command, const Words& words) {
  if (command == "simulate") return RunSimulate(words);
  if (command == "monitor") return RunMonitor(words);
  if (command == "log") return RunLog(words);
  if (command == "graph") return RunGraph(words);
  if (command == "report") return RunReport(words);
  if (command == "export") return RunExport(words);
  if (command == "journal") return RunJournal(words);
  if (command == "ports") return RunPorts(words);
  PrintError("quintaline-cli: unknown subcommand " + command + " (see --help)");
  return kExitUsage;
}

}  // namespace

int UsageError(const std::string& command, const std::string& problem, const char* usage) {
  PrintError("quintaline-cli " + command + ": " + problem);
  PrintError(std::string("usage: ") + usage);
  return kExitUsage;
}

int Main(int argc, char** argv) {
  if (argc < 2) {
    PrintError("quintaline-cli: a subcommand is needed (see --help)");
    return kExitUsage;
  }
  const std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    PrintHelp();
    return kExitOk;
  }
  if (command == "--version") {
    PrintLine(kVersionText);
    return kExitOk;
  }
  const Words words(argv + 2, argv + argc);
  for (const std::string& word : words) {
    if ((word == "--help" || word == "-h") && PrintSubcommandHelp(command)) return kExitOk;
  }
  qInstallMessageHandler(QtMessage);

  // Drawing measures fonts, which needs a GUI application; nothing is shown,
  // so the offscreen platform serves always: an inherited platform that
  // cannot start (xcb over ssh) would abort the program.
  std::unique_ptr<QCoreApplication> app;
  if (NeedsFonts(command)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  UseClassicNumbers();

  // A reader that goes away is a write error to handle, not death.
  std::signal(SIGPIPE, SIG_IGN);
  const int status = RunSubcommand(command, words);
  if (const int error = StdoutError(); error != 0 && error != EPIPE) {
    PrintError("quintaline-cli " + command + ": cannot write to stdout: " + std::strerror(error));
    return status == kExitOk ? kExitFailed : status;
  }
  return status;
}

}  // namespace ql::cli

int main(int argc, char** argv) { return ql::cli::Main(argc, argv); }
