#include "app/journal_notice.h"

#include <QStringList>

#include <algorithm>
#include <vector>

#include "journal/journal_reader.h"
#include "journal/run_actions.h"

namespace ql {

QString UnfinishedRunsNotice(const std::string& path) {
  std::vector<std::int64_t> ids;
  // A journal that cannot be read is told by the window that writes it.
  if (!journal::TakeUnfinishedRuns(path, ids).ok() || ids.empty()) return {};
  if (ids.size() > 1) {
    QStringList numbers;
    for (std::int64_t id : ids) numbers << QString::number(id);
    return QStringLiteral(
               "Runs %1 did not finish: the program ended during them. "
               "Tools > Journal recovers their readings.")
        .arg(numbers.join(QStringLiteral(", ")));
  }
  QString start;
  std::int64_t samples = 0;
  journal::JournalReader reader;
  if (reader.Open(path)) {
    for (const journal::RunSummary& run : reader.Runs()) {
      if (run.id != ids.front()) continue;
      std::string iso = journal::IsoTime(run.start_us, run.start_offset_s);
      iso.resize(std::min<std::size_t>(iso.size(), 19));
      if (iso.size() > 10) iso[10] = ' ';
      start = QStringLiteral(" of %1").arg(QString::fromStdString(iso));
      samples = run.samples;
    }
  }
  return QStringLiteral(
             "Run %1%2 did not finish: the program ended during it. "
             "Tools > Journal recovers its %3 readings.")
      .arg(ids.front())
      .arg(start)
      .arg(samples);
}

}  // namespace ql
