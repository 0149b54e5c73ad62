// quintaline-cli journal: the runs the journal keeps.
//
//   journal [--journal PATH] list          one line a run, newest first
//   journal [--journal PATH] show RUN      the run's parts and their list lines
//
// RUN is a run's id or "last".

#include <cstdio>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "journal/journal_db.h"
#include "journal/journal_reader.h"

namespace ql::cli {

namespace {

std::string Duration(std::int64_t us) {
  const std::int64_t s = us < 0 ? 0 : us / 1'000'000;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  return text;
}

int List(journal::JournalReader& reader) {
  for (const journal::RunSummary& run : reader.Runs()) {
    PrintLine(std::to_string(run.id) + "  " + journal::IsoTime(run.start_us, run.start_offset_s) +
              "  " + Duration(run.last_us - run.start_us) + "  " + std::to_string(run.samples) +
              " samples  " + std::to_string(run.parts) + " parts  " + run.state);
  }
  if (!reader.Error().empty()) {
    PrintError("quintaline-cli journal: " + reader.Error());
    return kExitFailed;
  }
  return kExitOk;
}

int Show(journal::JournalReader& reader, const std::string& which) {
  const auto run = reader.FindRun(which);
  if (!run) {
    PrintError("quintaline-cli journal: no run " + which + " in the journal");
    return kExitFailed;
  }
  for (const journal::PartSummary& part : reader.Parts(*run)) {
    PrintLine("part " + std::to_string(part.seq) + ": " + part.function + " " + part.unit + " " +
              part.range + ", " + std::to_string(part.samples) + " samples");
    for (const std::string& line : reader.PartLines(part.id)) PrintLine(line);
  }
  return kExitOk;
}

}  // namespace

int RunJournal(const Words& words) {
  Args args;
  args.Value("--journal");
  if (!args.Parse(words)) return UsageError("journal", args.Error(), kJournalUsage);
  const auto& rest = args.Positionals();
  if (rest.empty()) return UsageError("journal", "a journal command is needed", kJournalUsage);
  const std::string path = args.Get("--journal").value_or(journal::DefaultJournalPath());
  journal::JournalReader reader;
  if (!reader.Open(path)) {
    PrintError("quintaline-cli journal: " + reader.Error());
    return kExitFailed;
  }
  if (rest[0] == "list" && rest.size() == 1) return List(reader);
  if (rest[0] == "show" && rest.size() == 2) return Show(reader, rest[1]);
  return UsageError("journal", "unknown journal command " + rest[0], kJournalUsage);
}

}  // namespace ql::cli
