#pragma once
// The subcommands of quintaline-cli. Each takes the words after its name and
// returns the exit status: 0 done, 1 the operation failed or was abandoned
// (the reason is on stderr), 2 a usage error.

#include <string>
#include <vector>

namespace ql::cli {

using Words = std::vector<std::string>;

// Synopses, shown by --help and with usage errors.
inline constexpr const char* kSimulateUsage =
    "quintaline-cli simulate (--pty | --device PATH) [--rate HZ] [--frames N] [SEQUENCE...]\n"
    "       quintaline-cli simulate (--pty | --device PATH) --replay FILE [--speed X]";
inline constexpr const char* kMonitorUsage =
    "quintaline-cli monitor --port DEVICE [--sampling 500ms|1s|2s|5s|10s] [--samples N]\n"
    "                       [--stats]";
inline constexpr const char* kLogUsage =
    "quintaline-cli log --port DEVICE [--sampling 500ms|1s|2s|5s|10s] [--db-ref OHMS]\n"
    "                   [--modes LIST] [--panel] [--samples N] [--seconds S] [--save FILE]\n"
    "                   [--raw FILE] [--reconnect] [--settings PATH] [--journal PATH]";
inline constexpr const char* kGraphUsage =
    "quintaline-cli graph FILE [--form line|bar] (--ops | --png OUT | --svg OUT)";
inline constexpr const char* kReportUsage =
    "quintaline-cli report FILE [--form none|text|graphfile|line|bar] (--ops | --pdf OUT)\n"
    "                      [--paper a4|letter]";
inline constexpr const char* kExportUsage =
    "quintaline-cli export FILE --csv OUT [--bom] [--locale]";
inline constexpr const char* kJournalUsage =
    "quintaline-cli journal [--journal PATH] (list | show RUN\n"
    "                       | export RUN [--part K] --csv OUT [--bom] [--locale]\n"
    "                       | recover RUN [--part K] --save FILE | delete RUN)";
inline constexpr const char* kPortsUsage =
    "quintaline-cli ports [--listen SECONDS] [--json] [--settings PATH] [DEVICE...]";

int RunSimulate(const Words& args);
// simulate --replay: called by RunSimulate when the words hold --replay.
int RunReplay(const Words& args);
int RunMonitor(const Words& args);
int RunLog(const Words& args);
int RunGraph(const Words& args);
int RunReport(const Words& args);
int RunExport(const Words& args);
int RunJournal(const Words& args);
int RunPorts(const Words& args);

// Reports a usage error of `command` on stderr with its synopsis `usage`
// and returns kExitUsage.
int UsageError(const std::string& command, const std::string& problem, const char* usage);

}  // namespace ql::cli
