// The list of readings of the measuring window as it grows: one sample's
// append, selection and scroll, with the repaint the event loop then does,
// on lists that already hold from a thousand to a million lines; and a
// week's list shown at once.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPrinter>
#include <QUrl>

#include <cstdio>

#include "app/dialogs.h"
#include "app/qarn_form.h"
#include "app/reading_list_view.h"
#include "run/fonts.h"
#include "run/ids.h"
#include "run/reading_list.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_reading_list";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

// Nobody answers: the list never asks.
class NoDialogs : public ql::Dialogs {
 public:
  void Message(QWidget*, const QString&, const QString&) override {}
  std::optional<QString> OpenFile(QWidget*, const ql::FileDialogOptions&) override { return {}; }
  std::optional<QString> SaveFile(QWidget*, const ql::FileDialogOptions&) override { return {}; }
  bool PortDialog(QWidget*, int&, const QStringList&) override { return false; }
  bool PrintDialog(QWidget*, QPrinter&, int) override { return false; }
  void PrintPreview(QWidget*, QPrinter&, const std::function<void(QPrinter&)>&) override {}
  bool PageSetup(QWidget*, QPrinter&) override { return false; }
  void About(QWidget*) override {}
  bool OpenHelp(const QUrl&) override { return false; }
  bool Confirm(QWidget*, const QString&, const QString&) override { return false; }
  bool CsvOptions(QWidget*, ql::CsvExportChoice&) override { return false; }
};

class NoPanes : public ql::PaneSink {
 public:
  void SetPaneText(int, const QString&) override {}
  void SetPaneToolTip(int, const QString&) override {}
};

// The measuring window's form as the program shows it, with nobody behind
// its dialogs and panes.
struct ShownForm {
  ShownForm() {
    form.SetControlFont(ql::ctl::kList, ql::kListFont);
    form.show();
  }
  QApplication& app = App();  // made before any widget
  NoDialogs dialogs;
  NoPanes panes;
  ql::QarnForm form{dialogs, panes, {}};
};

void Line(int i, char (&line)[80]) {
  std::snprintf(line, sizeof line, " 12:%02d:%02d       %5.2f Vdc                %-20s",
                (i / 60) % 60, i % 60, (i % 4000) / 100.0, "DCV");
}

void BM_AppendSample(benchmark::State& state) {
  ShownForm shown;
  ql::QarnForm& form = shown.form;
  char line[80];
  const int filled = static_cast<int>(state.range(0));
  form.ListSetRedraw(false);
  for (int i = 0; i < filled; ++i) {
    Line(i, line);
    form.ListAdd(line);
  }
  form.ListSetRedraw(true);
  QCoreApplication::processEvents();
  int i = filled;
  for (auto _ : state) {
    Line(i, line);
    form.ListAdd(line);
    form.ListSelect(i++);
    form.List()->viewport()->repaint();
    QCoreApplication::processEvents();
  }
  state.counters["lines"] = i;
}
BENCHMARK(BM_AppendSample)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// A week at 500 ms (1.2 M lines) shown at once, as Load into list and File
// Open show a whole list: the form told of every line with its redraw held
// back, then the newest selected and the list drawn.
void BM_ShowWeekInForm(benchmark::State& state) {
  ShownForm shown;
  ql::QarnForm& form = shown.form;
  ql::ReadingList list;
  char line[80];
  for (int i = 0; i < 1'200'000; ++i) {
    Line(i, line);
    list.Add(line);
  }
  form.List()->SetLines(&list);
  for (auto _ : state) {
    form.ListSetRedraw(false);
    form.ListReset();
    for (int i = 0; i < list.Count(); ++i) form.ListAdd(list.View(i));
    form.ListSelect(list.Count() - 1);
    form.ListSetRedraw(true);
    form.List()->viewport()->repaint();
    QCoreApplication::processEvents();
  }
  form.List()->SetLines(nullptr);
}
BENCHMARK(BM_ShowWeekInForm)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
