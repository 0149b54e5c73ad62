// gui_tour: drives the desktop program the way a user would, on whatever
// display Qt is given (Xvfb in the scripts), for what the tests cannot
// show: pictures of the program and its cost.
//
//   gui_tour shots DIR     pictures, as PNG files in DIR: the main window at
//                          its start size, during a run with the modes off
//                          and on, after View Line and View Bar, a graph file
//                          opened after a run in the line form, a longer run
//                          opened from a file and its print preview, the port
//                          dialog, the About box, and a run whose cable was
//                          pulled
//   gui_tour cpu SECONDS   CPU time of the program while it records at
//                          500 ms, as a percentage of one core
//   gui_tour startup       time from the start of the process to the main
//                          window on the screen
//
// A simulated meter on a pseudo-terminal feeds the program from a child
// process (its CPU time is not counted), and a temporary settings file
// points COM2 at it.

#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <utility>

#include "app/about_box.h"
#include "app/com_port_dlg.h"
#include "app/dialogs.h"
#include "app/main_frame.h"
#include "app/measuring_window.h"
#include "app/qarn_app.h"
#include "app/qarn_form.h"
#include "pty_meter.h"
#include "run/ids.h"

namespace {

using ql::test_support::PtyMeter;

// Seconds since the process started, from its start time in /proc.
double SecondsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string text;
  std::getline(stat, text);  // one line
  // Field 22, counted after the command name in parentheses.
  std::size_t pos = text.rfind(')');
  for (int field = 2; field < 22 && pos != std::string::npos; ++field)
    pos = text.find(' ', pos + 1);
  if (pos == std::string::npos) return -1;
  const double startTicks = std::stod(text.substr(pos + 1));
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 -
         startTicks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Feeds the meter from a child process that ends with this one. Returns
// the child's process id, or -1.
pid_t StartMeterProcess(PtyMeter& meter) {
  const pid_t child = fork();
  if (child != 0) return child;
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  for (;;) {
    meter.Send();
    usleep(250 * 1000);
  }
}

// Lets the program run until `done` holds; says so when it never did.
template <typename Predicate>
bool Await(Predicate done, int ms, const char* what) {
  if (QTest::qWaitFor(done, ms)) return true;
  std::fprintf(stderr, "gui_tour: gave up waiting for %s\n", what);
  return false;
}

// The real dialogs, except that the print preview is left open for a
// picture instead of waiting for the user.
class TourDialogs : public ql::QtDialogs {
 public:
  std::function<void(QWidget&)> onPreview;
  QString openAnswer;  // the file the next Open takes, without asking

  std::optional<QString> OpenFile(QWidget* parent, const ql::FileDialogOptions& options) override {
    if (openAnswer.isEmpty()) return ql::QtDialogs::OpenFile(parent, options);
    return std::exchange(openAnswer, QString());
  }

  void PrintPreview(QWidget* parent, QPrinter& printer,
                    const std::function<void(QPrinter&)>& paint) override {
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Quintaline - Print Preview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&paint](QPrinter* target) { paint(*target); });
    dialog.resize(820, 700);
    dialog.show();
    auto* preview = dialog.findChild<QPrintPreviewWidget*>();
    if (QTest::qWaitForWindowExposed(&dialog) && preview &&
        Await([preview] { return preview->pageCount() > 0; }, 5000, "the preview's pages")) {
      preview->setViewMode(QPrintPreviewWidget::SinglePageView);
      preview->fitInView();
    }
    QTest::qWait(300);
    if (onPreview) onPreview(dialog);
  }
};

bool Save(QWidget& widget, const QString& path) {
  const bool saved = widget.grab().save(path);
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
  return saved;
}

struct Session {
  QTemporaryDir dir;
  TourDialogs dialogs;
  ql::CQarnApp app{dialogs};
  ql::CMainFrame* frame = nullptr;
  ql::MeasuringWindow* window = nullptr;

  int Lines() const { return window->Form().ListCount(); }
  void Command(int id) { frame->OnCommand(id); }
};

// Settings for a run at 500 ms on the simulated meter; the program reads
// them through QUINTALINE_SETTINGS.
void WriteSettings(const QString& path, const PtyMeter& meter) {
  QSettings settings(path, QSettings::IniFormat);
  settings.setValue(QStringLiteral("COMM/Port"), 1);
  settings.setValue(QStringLiteral("COMM/COM2"), QString::fromStdString(meter.SlavePath()));
  settings.setValue(QStringLiteral("Sampling Time/Current"), 10);
  settings.setValue(QStringLiteral("Sampling Time/Use display"), QStringLiteral("500 mSEC"));
  settings.setValue(QStringLiteral("Db/Ref"), 600);
}

bool Launch(Session& session) {
  if (!session.app.InitInstance(QApplication::arguments())) return false;
  session.frame = session.app.MainFrame();
  if (!QTest::qWaitForWindowExposed(session.frame)) return false;
  session.window = session.frame->ActiveMeasuringWindow();
  return session.window != nullptr;
}

constexpr int kDemoLines = 300;

// A reading file of a slowly swinging direct voltage, one line a second.
QString WriteDemoRun(const QString& path) {
  std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
  if (!file) return {};
  for (int i = 0; i < kDemoLines; ++i) {
    const int second = 15 * 60 + i;
    const double volts = 12.0 + 9.0 * std::sin(i / 24.0) + 1.5 * std::sin(i / 3.7);
    char record[68] = {};
    std::snprintf(record, sizeof record, " 10:%02d:%02d      %6.2f Vdc                %-20s\n",
                  second / 60, second % 60, volts, "DCV");
    std::fwrite(record, 1, sizeof record, file);
  }
  std::fclose(file);
  return path;
}

// A graph file with a sine of dots across the picture.
QString WriteDemoPicture(const QString& path) {
  std::array<int, 1024> bytes{};
  for (int c = 1; c < 128; ++c) {
    const int row = static_cast<int>(std::lround(25 + 22 * std::sin(c / 10.0)));
    bytes[static_cast<std::size_t>(2 + 128 * (row / 8) + c)] |= 1 << (row % 8);
  }
  std::string text = "GRAPH*1QKDT530.0";
  char field[8];
  for (int b : bytes) {
    std::snprintf(field, sizeof field, "%4d", b);
    text += field;
  }
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
    return {};
  }
  return path;
}

// The mode buttons under the panel.
void Click(Session& session, int button) {
  if (auto* b = qobject_cast<QAbstractButton*>(session.window->Form().Control(button))) b->click();
}

int Shots(Session& session, const QString& folder, const std::function<void()>& pullCable) {
  QDir().mkpath(folder);
  const auto file = [&](const char* name) { return QDir(folder).filePath(QLatin1String(name)); };
  bool ok = true;
  // The form at the start size: no scroll bar.
  ok &= Save(*session.frame, file("start-640x480.png"));
  session.Command(ql::cmd::kRunStart);
  ok &= Await([&] { return session.Lines() >= 3; }, 10000, "3 samples");
  ok &= Save(*session.frame, file("modes-off.png"));
  Click(session, ql::ctl::kRelButton);
  Click(session, ql::ctl::kMinMaxButton);
  ok &= Await([&] { return session.Lines() >= 14; }, 20000, "14 samples");
  ok &= Save(*session.frame, file("run.png"));  // REL and M/M on
  Click(session, ql::ctl::kRelButton);

  session.Command(ql::cmd::kViewLine);
  const int lines = session.Lines();
  ok &= Await([&] { return session.Lines() >= lines + 2; }, 5000, "samples in the line form");
  ok &= Save(*session.frame, file("line.png"));
  session.Command(ql::cmd::kViewBar);
  ok &= Await([&] { return session.Lines() >= lines + 4; }, 5000, "samples in the bar form");
  ok &= Save(*session.frame, file("bar.png"));
  session.Command(ql::cmd::kRunStop);
  Click(session, ql::ctl::kMinMaxButton);
  QTest::qWait(200);
  ok &= Save(*session.frame, file("modes-off-stopped.png"));

  // A graph file opened after a run stopped in the line form: the picture
  // replaces the trend graph and the list is emptied at once.
  session.Command(ql::cmd::kViewLine);
  session.dialogs.openAnswer = WriteDemoPicture(session.dir.filePath(QStringLiteral("demo.grp")));
  session.Command(ql::cmd::kFileOpen);
  ok &= Await([&] { return session.Lines() == 0; }, 5000, "the list emptied by the graph file");
  QTest::qWait(200);
  ok &= Save(*session.frame, file("graphfile-after-line.png"));

  // The preview of a longer run, opened from a file.
  session.dialogs.openAnswer = WriteDemoRun(session.dir.filePath(QStringLiteral("demo.rdg")));
  session.Command(ql::cmd::kFileOpen);
  ok &= Await([&] { return session.Lines() == kDemoLines; }, 5000, "the demo run");
  QTest::qWait(200);
  ok &= Save(*session.frame, file("opened.png"));

  session.dialogs.onPreview = [&](QWidget& preview) { ok &= Save(preview, file("preview.png")); };
  session.Command(ql::cmd::kPrintPreview);

  ql::CComPortDlg port(session.window->PortDevices(), session.frame);
  port.m_nSelPort = 1;
  QTimer::singleShot(300, &port, [&] {
    ok &= Save(port, file("port.png"));
    port.reject();
  });
  port.exec();
  ql::CAboutBox about(session.frame);
  QTimer::singleShot(300, &about, [&] {
    ok &= Save(about, file("about.png"));
    about.reject();
  });
  about.exec();

  // A pulled cable during a run, last: it ends the simulated meter.
  session.Command(ql::cmd::kViewText);
  session.Command(ql::cmd::kRunStart);
  const int before = session.Lines();
  ok &= Await([&] { return session.Lines() > before; }, 5000, "a sample before the cable is pulled");
  pullCable();
  ok &= Await([&] { return session.frame->MeterIndicator()->isVisible(); }, 5000,
              "the No meter indicator");
  QTest::qWait(200);
  ok &= Save(*session.frame, file("pulled-cable.png"));
  session.Command(ql::cmd::kRunStop);
  return ok ? 0 : 1;
}

// CPU time of the program over `seconds` of the event loop, in percent.
double CpuPercent(int seconds) {
  QElapsedTimer wall;
  wall.start();
  const double before = CpuSeconds();
  // The program's own event loop: waiting by polling would cost more than
  // what is measured.
  QEventLoop loop;
  QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
  loop.exec();
  return 100.0 * (CpuSeconds() - before) / (static_cast<double>(wall.elapsed()) / 1000.0);
}

int Cpu(Session& session, int seconds) {
  std::printf("idle window for %d s: CPU %.2f %% of one core\n", seconds, CpuPercent(seconds));
  session.Command(ql::cmd::kRunStart);
  if (!Await([&] { return session.Lines() >= 2; }, 10000, "the first samples")) return 1;
  const int before = session.Lines();
  const double percent = CpuPercent(seconds);
  std::printf("recording at 500 ms for %d s: %d samples, CPU %.2f %% of one core\n", seconds,
              session.Lines() - before, percent);
  session.Command(ql::cmd::kRunStop);
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "startup") {
    QApplication application(argc, argv);
    ql::QtDialogs dialogs;
    ql::CQarnApp app(dialogs);
    if (!app.InitInstance(QApplication::arguments()) ||
        !QTest::qWaitForWindowExposed(app.MainFrame())) {
      return 1;
    }
    std::printf("start to first window: %.3f s\n", SecondsSinceProcessStart());
    return 0;
  }
  if ((mode != "shots" && mode != "cpu") || argc < 3) {
    std::fprintf(stderr, "usage: gui_tour shots DIR | cpu SECONDS | startup\n");
    return 2;
  }

  PtyMeter meter({"--walk", "DC 1.200 V", "DC 3.800 V", "--steps", "12"});
  const pid_t feeder = meter.ok() ? StartMeterProcess(meter) : -1;
  if (feeder < 0) {
    std::fprintf(stderr, "gui_tour: no pseudo-terminal for the simulated meter\n");
    return 1;
  }
  QApplication application(argc, argv);
  Session session;
  const QString settings = session.dir.filePath(QStringLiteral("Quintaline.ini"));
  WriteSettings(settings, meter);
  qputenv("QUINTALINE_SETTINGS", settings.toLocal8Bit());
  if (!Launch(session)) return 1;
  if (mode == "shots") {
    // Both ends of the meter's side close: the program's side hangs up.
    const auto pullCable = [&meter, feeder] {
      kill(feeder, SIGTERM);
      waitpid(feeder, nullptr, 0);
      meter.Unplug();
    };
    return Shots(session, QString::fromLocal8Bit(argv[2]), pullCable);
  }
  return Cpu(session, std::max(1, std::atoi(argv[2])));
}
