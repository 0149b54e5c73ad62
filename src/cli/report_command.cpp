// quintaline-cli report: the printed report of a data file. Opens FILE as
// File Open does and repaints the view (so a graph file's picture empties
// the list, as on screen), then sets the display form of --form, then prints
// the job: the page count, then pages 1 .. n. --ops prints "pages N", then
// "page K" and that page's drawing operations in twips; --pdf writes the
// pages to a PDF. When a message box abandoned an operation the command
// exits 1 and writes no PDF (--ops still prints what was drawn).

#include <optional>
#include <string>

#include <QString>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/file_view.h"
#include "cli/output.h"
#include "graph/display_form.h"
#include "graph/recording_canvas.h"
#include "qtsupport/render.h"

namespace ql::cli {

namespace {

std::optional<int> ParseForm(std::string_view name) {
  if (name == "none") return FORM_NONE;
  if (name == "text") return FORM_TEXT;
  if (name == "graphfile") return FORM_GRAPHFILE;
  if (name == "line") return FORM_LINE;
  if (name == "bar") return FORM_BAR;
  return std::nullopt;
}

}  // namespace

int RunReport(const Words& words) {
  Args args;
  args.Value("--form");
  args.Flag("--ops");
  args.Value("--pdf");
  args.Value("--paper");
  if (!args.Parse(words)) return UsageError("report", args.Error(), kReportUsage);
  if (args.Positionals().size() != 1)
    return UsageError("report", "one FILE is needed", kReportUsage);
  std::optional<int> form;
  if (const auto text = args.Get("--form")) {
    form = ParseForm(*text);
    if (!form)
      return UsageError("report", "--form must be none, text, graphfile, line or bar",
                        kReportUsage);
  }
  if (const std::string problem = EmptyFileName(args, {"--pdf"}); !problem.empty()) {
    return UsageError("report", problem, kReportUsage);
  }
  if (args.Has("--ops") == args.Has("--pdf")) {
    return UsageError("report", "give one of --ops, --pdf OUT", kReportUsage);
  }
  PdfPageOptions pdf;
  if (const auto paper = args.Get("--paper")) {
    if (*paper == "a4") {
      pdf.pageSize = QPageSize::A4;
    } else if (*paper == "letter") {
      pdf.pageSize = QPageSize::Letter;
    } else {
      return UsageError("report", "--paper must be a4 or letter", kReportUsage);
    }
  }

  FileView files;
  CliHost& host = files.host();
  CQarnView& view = files.view();
  if (!files.Open(args.Positionals().front())) return kExitFailed;
  // The repaint lets a graph file's picture empty the list and gives the
  // graph page its values. An empty list has nothing to draw: its "Data not
  // exist !" comes from the printing, once.
  if (view.DisplayForm() == FORM_GRAPHFILE || view.Lines().Count() > 0) view.OnDraw();
  if (form) view.SetDisplayForm(*form);
  const int before = host.MessageCount();
  const int pages = view.OnPreparePrinting();

  if (args.Has("--ops")) {
    PrintLine("pages " + std::to_string(pages));
    RecordingCanvas canvas;
    for (int page = 1; page <= pages; ++page) {
      canvas.Clear();
      view.OnPrint(canvas, page);
      PrintLine("page " + std::to_string(page));
      for (const std::string& op : canvas.Ops()) PrintLine(op);
    }
    return host.MessageCount() == before ? kExitOk : kExitFailed;
  }

  if (pages < 1) {
    PrintError("quintaline-cli report: the report has no pages; no PDF written");
    return kExitFailed;
  }
  const QByteArray bytes = RenderPdf(
      pages, [&](Canvas& canvas, int page) { view.OnPrint(canvas, page); }, pdf);
  if (host.MessageCount() != before) return kExitFailed;
  return WriteOutputFile("report", args.Positionals().front(), *args.Get("--pdf"), bytes);
}

}  // namespace ql::cli
