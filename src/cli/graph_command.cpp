// quintaline-cli graph: the meter panel as the window shows a data file.
// Opens FILE as File Open does (a reading file in the line form, a graph
// file in the graph-file form) and repaints the view; then the View command
// of --form, which draws; then one more repaint. --ops prints every drawing
// operation of these draws in order; --png and --svg write the panel as it
// stands at the end. When a message box abandoned an operation the command
// exits 1 and writes no picture (--ops still prints what was drawn).

#include <optional>
#include <string>

#include <QString>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/file_view.h"
#include "cli/output.h"
#include "graph/recording_canvas.h"
#include "qtsupport/render.h"
#include "run/ids.h"

namespace ql::cli {

namespace {

// Returns true iff no message box was shown.
bool DrawView(FileView& files, Canvas& canvas, const std::string& path,
              std::optional<int> viewCommand) {
  CliHost& host = files.host();
  CQarnView& view = files.view();
  host.SetCanvas(&canvas);
  const int before = host.MessageCount();
  if (files.Open(path)) {
    view.OnDraw();
    if (viewCommand) view.OnCommand(*viewCommand);
    view.OnDraw();
  }
  host.SetCanvas(nullptr);
  return host.MessageCount() == before;
}

}  // namespace

int RunGraph(const Words& words) {
  Args args;
  args.Value("--form");
  args.Flag("--ops");
  args.Value("--png");
  args.Value("--svg");
  if (!args.Parse(words)) return UsageError("graph", args.Error(), kGraphUsage);
  if (args.Positionals().size() != 1) return UsageError("graph", "one FILE is needed", kGraphUsage);
  if (const std::string problem = EmptyFileName(args, {"--png", "--svg"}); !problem.empty()) {
    return UsageError("graph", problem, kGraphUsage);
  }
  const std::string file = args.Positionals().front();
  std::optional<int> viewCommand;
  if (const auto form = args.Get("--form")) {
    if (*form == "line") {
      viewCommand = cmd::kViewLine;
    } else if (*form == "bar") {
      viewCommand = cmd::kViewBar;
    } else {
      return UsageError("graph", "--form must be line or bar", kGraphUsage);
    }
  }
  const int outputs =
      (args.Has("--ops") ? 1 : 0) + (args.Has("--png") ? 1 : 0) + (args.Has("--svg") ? 1 : 0);
  if (outputs != 1)
    return UsageError("graph", "give one of --ops, --png OUT, --svg OUT", kGraphUsage);

  FileView files;
  if (args.Has("--ops")) {
    RecordingCanvas canvas;
    const bool ok = DrawView(files, canvas, file, viewCommand);
    for (const std::string& op : canvas.Ops()) PrintLine(op);
    return ok ? kExitOk : kExitFailed;
  }

  bool ok = true;
  QByteArray bytes;
  const PanelDraw draw = [&](Canvas& canvas) { ok = DrawView(files, canvas, file, viewCommand); };
  const auto png = args.Get("--png");
  bytes = png ? EncodePng(RenderPanelImage(draw)) : RenderPanelSvg(draw);
  if (!ok) return kExitFailed;
  return WriteOutputFile("graph", file, png ? *png : *args.Get("--svg"), bytes);
}

}  // namespace ql::cli
