#include "app/measuring_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QPrinter>
#include <QScrollArea>

#include "app/csv_save.h"
#include "app/dialogs.h"
#include "app/journal_dialog.h"
#include "app/link_status_window.h"
#include "app/main_frame.h"
#include "app/print_job.h"
#include "app/qarn_doc.h"
#include "app/qarn_form.h"
#include "app/raw_capture.h"
#include "app/reading_list_view.h"
#include "files/list_csv.h"
#include "journal/journal_db.h"
#include "journal/journal_writer.h"
#include "journal/retention.h"
#include "qtsupport/text_edge.h"
#include "run/ids.h"

namespace ql {

MeasuringWindow::MeasuringWindow(CMainFrame& frame, Dialogs& dialogs, const QString& settingsPath)
    : frame_(frame),
      dialogs_(dialogs),
      store_(settingsPath),
      devices_(StoreDeviceMap(store_)),
      line_(devices_) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("measuringWindow"));
  // An empty title keeps the main frame's title as it is while maximized.
  setWindowTitle(FromLatin1(CQarnDoc::TemplateField(CQarnDoc::kWindowTitle)));
  setWindowIcon(frame.windowIcon());

  form_ = new QarnForm(dialogs_, frame_, [this] { return PortDevices(); });
  // The form fills the window; a window smaller than the form's controls
  // scrolls.
  auto* scroll = new QScrollArea;
  scroll->setObjectName(QStringLiteral("formScroll"));
  scroll->setWidgetResizable(true);
  scroll->setWidget(form_);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setBackgroundRole(QPalette::Base);
  scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setWidget(scroll);

  view_ = std::make_unique<CQarnView>(*form_, store_, clock_, line_);
  capture_ = std::make_unique<RawCapture>(*view_);
  form_->List()->SetLines(&view_->Lines());
  connect(form_, &QarnForm::timerTick, this, [this] {
    form_->Handle([this] { view_->OnTimer(); });
    if (const std::optional<Status> failure = capture_->AfterTick(view_->OnUpdateRunning())) {
      CaptureFailed(*failure);
    }
    emit ticked();
  });
  connect(form_, &QarnForm::buttonCommand, this, [this](int id) { Command(id); });
  connect(form_, &QarnForm::drawRequested, this,
          [this] { form_->Handle([this] { view_->OnDraw(); }); });
  connect(form_, &QarnForm::maximizeRequested, this, &QWidget::showMaximized);
}

MeasuringWindow::~MeasuringWindow() {
  // A run the window closes on ends as a stopped run, not as one a crash
  // left behind.
  if (view_->OnUpdateRunning()) view_->OnRunStop();
  // What looks at the link goes before it; then the view: it closes its
  // port through the line and may still talk to the form; the list view
  // then shows no list. The journal it wrote to goes after it.
  delete linkStatus_;
  capture_.reset();
  view_.reset();
  journal_.reset();
  form_->List()->SetLines(nullptr);
}

bool MeasuringWindow::Create() {
  OpenJournal();
  int result = 0;
  form_->Handle([&] { result = view_->OnCreate(); });
  return result == 0;
}

void MeasuringWindow::OpenJournal() {
  const journal::JournalSettings settings = journal::ReadJournalSettings(store_);
  if (!settings.enabled) return;
  journal_ = std::make_unique<journal::JournalWriter>(
      journal::DefaultJournalPath(),
      [this](const std::string& problem) {
        frame_.ShowJournalTrouble(QFile::decodeName(QByteArray::fromStdString(problem)));
      },
      settings);
  journal_->Open();
  view_->SetJournal({journal_.get(), &wallClock_, QUINTALINE_VERSION, "gui",
                     [this] { return devices_(view_->Link().DeviceName()); }});
}

bool MeasuringWindow::JournalFailing() const { return journal_ && journal_->Failing(); }

void MeasuringWindow::ShowJournal() {
  if (!journalDialog_) {
    JournalDialog::Target target;
    target.canLoad = [this] { return view_->OnUpdateIdle(); };
    target.load = [this](ReadingList lines) {
      form_->Handle([&] { view_->LoadRecordedLines(std::move(lines)); });
      frame_.RefreshCommandStates();
    };
    journalDialog_ =
        new JournalDialog(dialogs_, journal::DefaultJournalPath(), std::move(target), this);
    // Whether a part may be loaded changes with the run.
    connect(this, &MeasuringWindow::ticked, journalDialog_, [this] {
      if (journalDialog_->isVisible()) journalDialog_->UpdateButtons();
    });
  }
  journalDialog_->show();
  journalDialog_->raise();
  journalDialog_->activateWindow();
  journalDialog_->Refresh();
}

void MeasuringWindow::ExportListCsv() {
  if (view_->Lines().Count() == 0) {
    dialogs_.Message(this, QString::fromLatin1(kNoDataText), {});
    return;
  }
  const std::optional<CsvTarget> target = AskCsvTarget(dialogs_, this, csvChoice_, csvPath_);
  if (!target) return;
  WriteCsvFile(dialogs_, this, target->path, ListCsv(view_->Lines(), target->choices));
}

void MeasuringWindow::OnInitialUpdate() {
  form_->Handle([this] { view_->OnInitialUpdate(); });
}

void MeasuringWindow::Command(int id) {
  if (id == cmd::kPrint) {
    Print();
  } else if (id == cmd::kPrintPreview) {
    PrintPreview();
  } else {
    form_->Handle([&] { view_->OnCommand(id); });
    form_->ShowModes([this](int button) { return view_->OnUpdateCommand(button).checked; });
  }
}

CQarnView::CommandState MeasuringWindow::UpdateCommand(int id) const {
  return view_->OnUpdateCommand(id);
}

QStringList MeasuringWindow::PortDevices() const {
  QStringList devices;
  for (int port = 1; port <= 4; ++port) {
    devices << QString::fromStdString(devices_("COM" + std::to_string(port)));
  }
  return devices;
}

bool MeasuringWindow::StorePortDevice(const std::string& portName, const std::string& path) {
  return store_.WriteString("COMM", portName, path);
}

LinkStatusWindow* MeasuringWindow::ShowLinkStatus() {
  if (!linkStatus_) linkStatus_ = new LinkStatusWindow(*this, &frame_);
  linkStatus_->show();
  linkStatus_->raise();
  return linkStatus_;
}

Status MeasuringWindow::StartCapture(const QString& path) {
  return capture_->Start(QFile::encodeName(path).toStdString());
}

void MeasuringWindow::StopCapture() {
  const std::string path = capture_->Path();
  capture_->Stop();
  frame_.SetPaneText(pane::kMessage, QStringLiteral("Raw bytes captured in ") +
                                         QFile::decodeName(QByteArray::fromStdString(path)));
}

bool MeasuringWindow::Capturing() const { return capture_->Active(); }

void MeasuringWindow::CaptureFailed(const Status& failure) {
  const QString reason = QString::fromStdString(failure.reason());
  frame_.SetPaneText(pane::kMessage, QStringLiteral("Capture stopped: ") + reason);
  // Not inside the tick: a message box waits for the user.
  QMetaObject::invokeMethod(
      this,
      [this, reason] {
        dialogs_.Message(this, QStringLiteral("Capture stopped"),
                         reason + QStringLiteral("\nThe run goes on without the capture."));
      },
      Qt::QueuedConnection);
}

void MeasuringWindow::Print() {
  int pages = 0;
  form_->Handle([&] { pages = view_->OnPreparePrinting(); });
  if (pages < 1) return;
  QPrinter& printer = frame_.Printer();
  if (!dialogs_.PrintDialog(this, printer, pages)) return;
  int from = printer.fromPage();
  int to = printer.toPage();
  if (from < 1 || to < from) {
    from = 1;
    to = pages;
  }
  if (!PrintReport(*form_, *view_, printer, from, std::min(to, pages))) PrintFailed(printer);
}

void MeasuringWindow::PrintPreview() {
  dialogs_.PrintPreview(this, frame_.Printer(), [this](QPrinter& printer) {
    int pages = 0;
    form_->Handle([&] { pages = view_->OnPreparePrinting(); });
    if (pages >= 1) PrintReport(*form_, *view_, printer, 1, pages);
  });
}

void MeasuringWindow::PrintFailed(const QPrinter& printer) {
  const QString where =
      printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
  dialogs_.Message(this, QStringLiteral("Print Error!"),
                   QStringLiteral("The report could not be sent to %1.").arg(where));
}

void MeasuringWindow::closeEvent(QCloseEvent* event) {
  QMdiSubWindow::closeEvent(event);
  if (event->isAccepted())
    QMetaObject::invokeMethod(&frame_, &QWidget::close, Qt::QueuedConnection);
}

}  // namespace ql
