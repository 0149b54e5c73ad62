#include "cli/help.h"

#include <array>
#include <string>

#include "cli/commands.h"
#include "cli/output.h"

namespace ql::cli {

namespace {

struct SubcommandHelp {
  std::string_view name;
  const char* usage;
  const char* summary;
  const char* options;
};

constexpr std::array<SubcommandHelp, 8> kHelp{{
    {"simulate", kSimulateUsage, "Send a simulated meter's display frames to a pty or a device.",
     "  --pty            open a pseudo-terminal; its path is the first line on stdout\n"
     "  --device PATH    write the frames to PATH\n"
     "  --rate HZ        frames a second (default 4)\n"
     "  --frames N       stop after N frames (default: until SIGINT or SIGTERM)\n"
     "  SEQUENCE         the readings sent; see quintaline-cli --help\n"
     "  --replay FILE    play a capture (log --raw) back as it was read, in place of a\n"
     "                   SEQUENCE; with --pty from the moment a logger opens the line,\n"
     "                   which then stays open until SIGINT or SIGTERM\n"
     "  --speed X        play the capture X times as fast (default 1, 0.01 to 1000)"},
    {"monitor", kMonitorUsage, "Print the meter's readings as they come.",
     "  --port DEVICE    the serial port the meter is on\n"
     "  --sampling T     the sampling time, 500ms|1s|2s|5s|10s\n"
     "  --samples N      stop after N readings (default: until SIGINT or SIGTERM)\n"
     "  --stats          also print the link's counters once a second: bytes received,\n"
     "                   frames taken, bytes skipped, cut and overflowed, seconds since\n"
     "                   the last frame, and the CD, DSR and CTS inputs (n/a where the\n"
     "                   device has none, as on a pseudo-terminal)"},
    {"log", kLogUsage, "Record a run: one list line a sample on stdout, saved at the end.",
     "  --port DEVICE    the serial port the meter is on\n"
     "  --sampling T     the sampling time, 500ms|1s|2s|5s|10s (stored in the settings)\n"
     "  --db-ref OHMS    the dB reference impedance (stored in the settings)\n"
     "  --modes LIST     a comma list of rel, db, ph, mm: the mode buttons pressed\n"
     "  --panel          print the meter panel after every line\n"
     "  --samples N      stop after N lines\n"
     "  --seconds S      stop after S seconds\n"
     "  --save FILE      save the run to FILE when it ends\n"
     "  --raw FILE       capture every byte received, with its time, in FILE\n"
     "                   (simulate --replay plays it back)\n"
     "  --reconnect      a meter unplugged during the run does not end it: its device\n"
     "                   is opened again by the same path once it is back\n"
     "  --settings PATH  the settings file (else $QUINTALINE_SETTINGS, else\n"
     "                   ~/.config/Quintaline/Quintaline.ini)\n"
     "  --journal PATH   the run journal every sample is committed to (else\n"
     "                   $QUINTALINE_JOURNAL, else $XDG_DATA_HOME/Quintaline/journal.sqlite3,\n"
     "                   else ~/.local/share/Quintaline/journal.sqlite3); Enabled=0 in\n"
     "                   section [Journal] of the settings turns it off\n"
     "SIGINT, SIGTERM and SIGHUP end the run and it is still saved."},
    {"graph", kGraphUsage, "Draw a data file's trend graph.",
     "  --form line|bar  the graph's form (default line)\n"
     "  --ops            print the drawing operations on stdout\n"
     "  --png OUT        write a PNG picture to OUT\n"
     "  --svg OUT        write an SVG picture to OUT"},
    {"report", kReportUsage, "Print a data file's report.",
     "  --form F         none|text|graphfile|line|bar: what the report holds\n"
     "  --ops            print the drawing operations on stdout\n"
     "  --pdf OUT        write the report as PDF to OUT\n"
     "  --paper P        a4|letter"},
    {"export", kExportUsage, "Write a data file's readings as CSV.",
     "  --csv OUT        the CSV file to write: time of day, seconds from the first\n"
     "                   line, value, over, unit, function\n"
     "  --bom            start the file with the UTF-8 byte order mark\n"
     "  --locale         numbers with the locale's decimal separator, ';' between fields"},
    {"journal", kJournalUsage, "List, show, export, recover or delete the runs of the run journal.",
     "  --journal PATH   the journal (else $QUINTALINE_JOURNAL, else\n"
     "                   $XDG_DATA_HOME/Quintaline/journal.sqlite3, else\n"
     "                   ~/.local/share/Quintaline/journal.sqlite3)\n"
     "  list             one line a run, newest first\n"
     "  show RUN         each part of the run with its list lines (RUN: an id or last)\n"
     "  export RUN       the run as CSV to --csv OUT (--bom: a byte order mark first,\n"
     "                   --locale: the locale's decimal separator and ; between fields)\n"
     "  recover RUN      a part's list lines as a reading file, to --save FILE\n"
     "  --part K         the part of export or recover (default: every part; the last\n"
     "                   for recover)\n"
     "  delete RUN       remove the run"},
    {"ports", kPortsUsage, "Show the serial devices, their port names and whether they open.",
     "  --listen SECONDS open each device that can be opened and count meter frames\n"
     "  --json           the same as JSON\n"
     "  --settings PATH  the settings file that maps port names to devices\n"
     "  DEVICE...        look at these devices only"},
}};

}  // namespace

bool PrintSubcommandHelp(std::string_view command) {
  for (const SubcommandHelp& help : kHelp) {
    if (help.name != command) continue;
    PrintLine(std::string("Usage: ") + help.usage);
    PrintLine(help.summary);
    PrintLine("");
    PrintLine("Options:");
    PrintLine(help.options);
    PrintLine("  -h, --help       show this help and exit");
    PrintLine("");
    PrintLine("Exit status: 0 done, 1 failed (the reason is on stderr), 2 usage error.");
    return true;
  }
  return false;
}

}  // namespace ql::cli
