// quintaline-cli export: the list of readings of a reading file as CSV
// (files/list_csv.h): a header row, then one row per list line,
//
//   time,seconds,value,over,unit,function
//   14:02:37,0,12.34,no,Vdc,DCV
//
// time is the line's time of day (a reading file keeps no date), seconds
// count from the first line. --bom starts the file with the UTF-8 byte order
// mark; --locale writes numbers with the user's decimal separator and ';'
// between fields.

#include <string>

#include <QByteArray>
#include <QString>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/file_view.h"
#include "cli/output.h"
#include "files/list_csv.h"
#include "graph/display_form.h"
#include "qtsupport/numeric_locale.h"

namespace ql::cli {

int RunExport(const Words& words) {
  Args args;
  args.Value("--csv");
  args.Flag("--bom");
  args.Flag("--locale");
  if (!args.Parse(words)) return UsageError("export", args.Error(), kExportUsage);
  if (args.Positionals().size() != 1)
    return UsageError("export", "one FILE is needed", kExportUsage);
  if (const std::string problem = EmptyFileName(args, {"--csv"}); !problem.empty()) {
    return UsageError("export", problem, kExportUsage);
  }
  const auto out = args.Get("--csv");
  if (!out) return UsageError("export", "--csv OUT is required", kExportUsage);

  FileView files;
  const std::string& file = args.Positionals().front();
  if (!files.Open(file)) return kExitFailed;
  if (files.view().DisplayForm() == FORM_GRAPHFILE) {
    PrintError("quintaline-cli export: " + file + " is a graph file; it holds no readings");
    return kExitFailed;
  }
  const LineSource& lines = files.view().Lines();
  // Nothing to export is a failure, as graph and report say.
  if (lines.Count() == 0) {
    PrintMessage(kNoDataText);
    return kExitFailed;
  }
  CsvChoices choices;
  if (args.Has("--locale")) choices = UserLocaleCsvChoices(false);
  choices.bom = args.Has("--bom");
  const std::string csv = ListCsv(lines, choices);
  const QByteArray bytes(csv.data(), static_cast<qsizetype>(csv.size()));
  return WriteOutputFile("export", file, *out, bytes);
}

}  // namespace ql::cli
