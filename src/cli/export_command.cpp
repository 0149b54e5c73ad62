// quintaline-cli export: the list of readings of a reading file as CSV
// (RFC 4180: CRLF line ends, fields with a comma, quote or line break
// quoted, quotes doubled; UTF-8). A header row, then one row per list line:
//
//   time,value,over,unit,function
//   14:02:37,12.34,no,Vdc,DCV
//
// value is empty for an over-range line (over = yes); unit and function are
// the line's unit text and label without their padding.

#include <algorithm>
#include <string>
#include <string_view>

#include <QByteArray>
#include <QString>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/file_view.h"
#include "cli/output.h"
#include "graph/display_form.h"
#include "base/list_line.h"
#include "qtsupport/text_edge.h"

namespace ql::cli {

namespace {

std::string_view Trim(std::string_view text) {
  const auto begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

std::string_view Field(std::string_view line, const list_line::Field& field) {
  return Trim(list_line::Text(line, field));
}

std::string CsvField(std::string_view latin1) {
  const std::string text = Latin1ToUtf8(latin1);
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

std::string CsvRow(std::string_view line) {
  // A line read from a reading file keeps its line feed.
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  const std::string_view value = Field(line, list_line::kValue);
  const bool over = value == "OVER";
  std::string row = CsvField(Field(line, list_line::kTime));
  row += ',' + CsvField(over ? std::string_view() : value);
  row += over ? ",yes," : ",no,";
  row += CsvField(Field(line, list_line::kUnit));
  // The name runs to the end of the line: a line from a file may be longer.
  row += ',' + CsvField(Trim(line.substr(std::min(list_line::kName.first, line.size()))));
  row += "\r\n";
  return row;
}

}  // namespace

int RunExport(const Words& words) {
  Args args;
  args.Value("--csv");
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
  std::string csv = "time,value,over,unit,function\r\n";
  for (int i = 0; i < lines.Count(); ++i) csv += CsvRow(lines.Line(i));
  const QByteArray bytes(csv.data(), static_cast<qsizetype>(csv.size()));
  return WriteOutputFile("export", file, *out, bytes);
}

}  // namespace ql::cli
