#include "app/journal_dialog.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "app/csv_save.h"
#include "app/dialog_frame.h"
#include "base/list_line.h"
#include "journal/csv_export.h"
#include "journal/journal_reader.h"
#include "journal/run_actions.h"
#include "qtsupport/text_edge.h"

namespace ql {

namespace {

// Room made at once for the lines of a part: a week at 500 ms, and more
// grows as it must.
constexpr std::int64_t kMaxListLines = 2'000'000;

// The message box of a journal that could not be read or changed.
constexpr char kJournalErrorText[] = "Journal Error!";

enum Column {
  kRunColumn,
  kStartColumn,
  kDurationColumn,
  kSamplesColumn,
  kFunctionColumn,
  kUnitColumn,
  kRangeColumn,
  kStateColumn,
  kColumns
};

enum Role {
  kRunRole = Qt::UserRole,
  kPartSeqRole,
  kPartRole,
  kSamplesRole,
  kLiveRole,
};

QString PathText(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

// "2026-12-10 14:02:37", local time of the run.
QString StartText(const journal::RunSummary& run) {
  std::string iso = journal::IsoTime(run.start_us, run.start_offset_s);
  iso.resize(std::min<std::size_t>(iso.size(), 19));
  if (iso.size() > 10) iso[10] = ' ';
  return QString::fromStdString(iso);
}

}  // namespace

JournalDialog::JournalDialog(Dialogs& dialogs, std::string path, Target target, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), path_(std::move(path)), target_(std::move(target)) {
  UseDialogFrame(*this);
  setObjectName(QStringLiteral("journalDialog"));
  setWindowTitle(QStringLiteral("Journal"));
  auto* layout = new QVBoxLayout(this);
  runs_ = new QTreeWidget(this);
  runs_->setObjectName(QStringLiteral("journalRuns"));
  runs_->setColumnCount(kColumns);
  runs_->setHeaderLabels({QStringLiteral("Run"), QStringLiteral("Start"),
                          QStringLiteral("Duration"), QStringLiteral("Samples"),
                          QStringLiteral("Function"), QStringLiteral("Unit"),
                          QStringLiteral("Range"), QStringLiteral("State")});
  runs_->setRootIsDecorated(true);
  runs_->setSelectionMode(QAbstractItemView::SingleSelection);
  runs_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  layout->addWidget(runs_, 1);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("journalSummary"));
  summary_->setTextFormat(Qt::PlainText);
  layout->addWidget(summary_);

  auto* buttons = new QHBoxLayout;
  load_ = new QPushButton(QStringLiteral("Load into list"), this);
  export_ = new QPushButton(QStringLiteral("Export CSV..."), this);
  delete_ = new QPushButton(QStringLiteral("Delete"), this);
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  for (QPushButton* button : {load_, export_, delete_}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  resize(720, 400);

  connect(runs_, &QTreeWidget::currentItemChanged, this, &JournalDialog::UpdateButtons);
  connect(load_, &QPushButton::clicked, this, &JournalDialog::LoadChosen);
  connect(export_, &QPushButton::clicked, this, &JournalDialog::ExportChosen);
  connect(delete_, &QPushButton::clicked, this, &JournalDialog::DeleteChosen);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void JournalDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Refresh();
}

JournalDialog::Choice JournalDialog::Chosen() const {
  const QTreeWidgetItem* item = runs_->currentItem();
  if (!item) return {};
  return {item->data(0, kRunRole).toLongLong(), item->data(0, kPartSeqRole).toInt(),
          item->data(0, kPartRole).toLongLong(), item->data(0, kSamplesRole).toLongLong(),
          item->data(0, kLiveRole).toBool()};
}

void JournalDialog::Refresh() {
  const Choice before = Chosen();
  runs_->clear();
  std::error_code ec;
  if (!std::filesystem::exists(path_, ec)) {
    summary_->setText(QStringLiteral("No run is kept yet in %1").arg(PathText(path_)));
    UpdateButtons();
    return;
  }
  journal::JournalReader reader;
  const std::vector<journal::RunSummary> runs =
      reader.Open(path_) ? reader.Runs() : std::vector<journal::RunSummary>();
  if (!reader.Error().empty()) {
    summary_->setText(QStringLiteral("The journal cannot be read: %1")
                          .arg(QString::fromStdString(reader.Error())));
    UpdateButtons();
    return;
  }
  for (const journal::RunSummary& run : runs) {
    auto* item = new QTreeWidgetItem(runs_);
    item->setText(kRunColumn, QString::number(run.id));
    item->setText(kStartColumn, StartText(run));
    item->setText(kDurationColumn,
                  QString::fromStdString(journal::DurationText(run.last_us - run.start_us)));
    item->setText(kSamplesColumn, QString::number(run.samples));
    item->setText(kStateColumn, QString::fromStdString(run.state));
    const bool live = run.state == "recording" || run.state == "paused";
    std::int64_t lastPart = 0;
    std::int64_t lastSamples = 0;
    for (const journal::PartSummary& part : run.part_list) {
      auto* child = new QTreeWidgetItem(item);
      child->setText(kRunColumn, QStringLiteral("part %1").arg(part.seq));
      child->setText(kSamplesColumn, QString::number(part.samples));
      child->setText(kFunctionColumn, FromLatin1(part.function));
      child->setText(kUnitColumn, FromLatin1(part.unit));
      child->setText(kRangeColumn, FromLatin1(part.range));
      child->setData(0, kRunRole, QVariant::fromValue<qlonglong>(run.id));
      child->setData(0, kPartSeqRole, part.seq);
      child->setData(0, kPartRole, QVariant::fromValue<qlonglong>(part.id));
      child->setData(0, kSamplesRole, QVariant::fromValue<qlonglong>(part.samples));
      child->setData(0, kLiveRole, live);
      lastPart = part.id;
      lastSamples = part.samples;
      if (run.id == before.run && part.seq == before.partSeq) runs_->setCurrentItem(child);
    }
    // A run of one part shows what it measured on its own row.
    if (run.part_list.size() == 1) {
      for (int column : {kFunctionColumn, kUnitColumn, kRangeColumn})
        item->setText(column, item->child(0)->text(column));
    } else {
      item->setText(kFunctionColumn, QStringLiteral("%1 parts").arg(run.part_list.size()));
    }
    item->setData(0, kRunRole, QVariant::fromValue<qlonglong>(run.id));
    item->setData(0, kPartSeqRole, 0);
    item->setData(0, kPartRole, QVariant::fromValue<qlonglong>(lastPart));
    item->setData(0, kSamplesRole, QVariant::fromValue<qlonglong>(lastSamples));
    item->setData(0, kLiveRole, live);
    if (run.id == before.run && before.partSeq == 0) runs_->setCurrentItem(item);
  }
  summary_->setText(QStringLiteral("%1 runs in %2").arg(runs.size()).arg(PathText(path_)));
  UpdateButtons();
}

void JournalDialog::UpdateButtons() {
  const Choice chosen = Chosen();
  load_->setEnabled(chosen.run != 0 && chosen.samples > 0 && target_.canLoad && target_.canLoad());
  export_->setEnabled(chosen.run != 0);
  delete_->setEnabled(chosen.run != 0 && !chosen.live);
}

void JournalDialog::LoadChosen() {
  const Choice chosen = Chosen();
  if (chosen.part == 0 || !target_.canLoad || !target_.canLoad()) return;
  journal::JournalReader reader;
  ReadingList lines;
  lines.Reserve(static_cast<int>(std::min<std::int64_t>(chosen.samples, kMaxListLines)),
                list_line::kLength);
  if (!reader.Open(path_) ||
      !reader.ForEachPartLine(chosen.part, [&lines](std::string_view line) { lines.Add(line); })) {
    dialogs_.Message(this, QString::fromLatin1(kJournalErrorText),
                     QString::fromStdString(reader.Error()));
    return;
  }
  target_.load(std::move(lines));
  UpdateButtons();
}

void JournalDialog::ExportChosen() {
  const Choice chosen = Chosen();
  if (chosen.run == 0) return;
  const std::optional<CsvTarget> target = AskCsvTarget(dialogs_, this, csvChoice_, csvPath_);
  if (!target) return;
  journal::JournalReader reader;
  std::string csv, error;
  if (!reader.Open(path_)) {
    error = reader.Error();
  } else {
    journal::ExportRunCsv(reader.Database(), chosen.run, chosen.partSeq, target->choices, csv,
                          error);
  }
  if (!error.empty()) {
    dialogs_.Message(this, QString::fromLatin1(kJournalErrorText), QString::fromStdString(error));
    return;
  }
  WriteCsvFile(dialogs_, this, target->path, csv);
}

void JournalDialog::DeleteChosen() {
  const Choice chosen = Chosen();
  if (chosen.run == 0 || chosen.live) return;
  if (!dialogs_.Confirm(this, QStringLiteral("Delete run %1?").arg(chosen.run),
                        QStringLiteral("The run is removed from the journal with all its parts "
                                       "and samples; this cannot be undone.")))
    return;
  if (const Status status = journal::DeleteRun(path_, chosen.run); !status.ok()) {
    dialogs_.Message(this, QString::fromLatin1(kJournalErrorText),
                     QString::fromStdString(status.reason()));
  }
  Refresh();
}

}  // namespace ql
