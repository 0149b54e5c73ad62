// quintaline-cli journal: the runs the journal keeps.
//
//   journal [--journal PATH] list          one line a run, newest first
//   journal [--journal PATH] show RUN      the run's parts and their list lines
//   journal [--journal PATH] export RUN [--part K] --csv OUT [--bom] [--locale]
//   journal [--journal PATH] recover RUN [--part K] --save FILE
//                                          a part's list lines as a reading file
//   journal [--journal PATH] delete RUN    the run, its parts, samples and events
//
// RUN is a run's id or "last". Without --part, export takes every part and
// recover the last one.

#include <cstdio>
#include <optional>
#include <string>

#include <QByteArray>
#include <QString>

#include "base/latin1.h"
#include "cli/args.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "files/reading_file.h"
#include "journal/csv_export.h"
#include "journal/journal_db.h"
#include "journal/journal_reader.h"
#include "journal/run_actions.h"
#include "qtsupport/numeric_locale.h"
#include "qtsupport/whole_file.h"

namespace ql::cli {

namespace {

int List(journal::JournalReader& reader) {
  for (const journal::RunSummary& run : reader.Runs()) {
    PrintLine(std::to_string(run.id) + "  " + journal::IsoTime(run.start_us, run.start_offset_s) +
              "  " + journal::DurationText(run.last_us - run.start_us) + "  " +
              std::to_string(run.samples) + " samples  " + std::to_string(run.parts) + " parts  " +
              run.state);
  }
  if (!reader.Error().empty()) {
    PrintError("quintaline-cli journal: " + reader.Error());
    return kExitFailed;
  }
  return kExitOk;
}

// The --part number, 0 when none was given; nullopt after a usage error.
std::optional<int> PartOption(const Args& args) {
  const auto text = args.Get("--part");
  if (!text) return 0;
  const auto number = ParseInteger(*text, 1, kMaxCount);
  if (!number) return std::nullopt;
  return static_cast<int>(*number);
}

std::optional<std::int64_t> RunOrError(journal::JournalReader& reader, const std::string& which) {
  const auto run = reader.FindRun(which);
  if (!run) PrintError("quintaline-cli journal: no run " + which + " in the journal");
  return run;
}

int Show(journal::JournalReader& reader, const std::string& which) {
  const auto run = RunOrError(reader, which);
  if (!run) return kExitFailed;
  for (const journal::PartSummary& part : reader.Parts(*run)) {
    PrintLine(Latin1ToUtf8("#" + std::to_string(part.seq) + ": " + part.function + " " +
                           part.unit + " " + part.range + ", " + std::to_string(part.samples) +
                           " samples"));
    if (!reader.ForEachPartLine(part.id,
                                [](std::string_view line) { PrintLine(Latin1ToUtf8(line)); })) {
      PrintError("quintaline-cli journal: " + reader.Error());
      return kExitFailed;
    }
  }
  return kExitOk;
}

int Export(journal::JournalReader& reader, const std::string& which, const Args& args) {
  if (const std::string problem = EmptyFileName(args, {"--csv"}); !problem.empty()) {
    return UsageError("journal", problem, kJournalUsage);
  }
  const auto out = args.Get("--csv");
  if (!out) return UsageError("journal", "--csv OUT is required", kJournalUsage);
  const auto part = PartOption(args);
  if (!part) return UsageError("journal", "--part takes a part number", kJournalUsage);
  const auto run = RunOrError(reader, which);
  if (!run) return kExitFailed;
  CsvChoices choices;
  if (args.Has("--locale")) choices = UserLocaleCsvChoices(false);
  choices.bom = args.Has("--bom");
  std::string csv, error;
  if (!journal::ExportRunCsv(reader.Database(), *run, *part, choices, csv, error)) {
    PrintError("quintaline-cli journal: " + error);
    return kExitFailed;
  }
  const QByteArray bytes(csv.data(), static_cast<qsizetype>(csv.size()));
  if (const Status status = WriteWholeFile(QString::fromStdString(*out), bytes); !status.ok()) {
    PrintError("quintaline-cli journal: " + status.reason());
    return kExitFailed;
  }
  return kExitOk;
}

// The chosen part (the last one without --part) written as a reading file,
// wholly or not at all, as the list's Save writes it.
int Recover(journal::JournalReader& reader, const std::string& which, const Args& args) {
  if (const std::string problem = EmptyFileName(args, {"--save"}); !problem.empty()) {
    return UsageError("journal", problem, kJournalUsage);
  }
  const auto out = args.Get("--save");
  if (!out) return UsageError("journal", "--save FILE is required", kJournalUsage);
  const auto part = PartOption(args);
  if (!part) return UsageError("journal", "--part takes a part number", kJournalUsage);
  const auto run = RunOrError(reader, which);
  if (!run) return kExitFailed;
  const std::vector<journal::PartSummary> parts = reader.Parts(*run);
  const journal::PartSummary* chosen = nullptr;
  for (const journal::PartSummary& p : parts)
    if (*part == 0 || p.seq == *part) chosen = &p;
  if (!chosen) {
    PrintError("quintaline-cli journal: run " + which +
               (*part ? " has no part numbered " + std::to_string(*part) : std::string(" has no samples")));
    return kExitFailed;
  }
  const std::vector<std::string> lines = reader.PartLines(chosen->id);
  if (!reader.Error().empty()) {
    PrintError("quintaline-cli journal: " + reader.Error());
    return kExitFailed;
  }
  if (const Status status = SaveReadingFile(*out, VectorLineSource(lines)); !status.ok()) {
    PrintError("quintaline-cli journal: " + status.reason());
    return kExitFailed;
  }
  return kExitOk;
}

int Delete(const std::string& path, const std::string& which) {
  journal::JournalReader reader;
  if (!reader.Open(path)) {
    PrintError("quintaline-cli journal: " + reader.Error());
    return kExitFailed;
  }
  const auto run = RunOrError(reader, which);
  if (!run) return kExitFailed;
  if (const Status status = journal::DeleteRun(path, *run); !status.ok()) {
    PrintError("quintaline-cli journal: cannot delete run " + which + ": " + status.reason());
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

int RunJournal(const Words& words) {
  Args args;
  args.Value("--journal");
  args.Value("--part");
  args.Value("--csv");
  args.Value("--save");
  args.Flag("--bom");
  args.Flag("--locale");
  if (!args.Parse(words)) return UsageError("journal", args.Error(), kJournalUsage);
  const auto& rest = args.Positionals();
  if (rest.empty()) return UsageError("journal", "a journal command is needed", kJournalUsage);
  const std::string path = args.Get("--journal").value_or(journal::DefaultJournalPath());
  if (rest[0] == "delete" && rest.size() == 2) return Delete(path, rest[1]);
  journal::JournalReader reader;
  if (!reader.Open(path)) {
    PrintError("quintaline-cli journal: " + reader.Error());
    return kExitFailed;
  }
  if (rest[0] == "list" && rest.size() == 1) return List(reader);
  if (rest[0] == "show" && rest.size() == 2) return Show(reader, rest[1]);
  if (rest[0] == "export" && rest.size() == 2) return Export(reader, rest[1], args);
  if (rest[0] == "recover" && rest.size() == 2) return Recover(reader, rest[1], args);
  return UsageError("journal", "unknown journal command " + rest[0], kJournalUsage);
}

}  // namespace ql::cli
