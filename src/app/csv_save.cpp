#include "app/csv_save.h"

#include <QByteArray>
#include <QFile>

#include "qtsupport/numeric_locale.h"
#include "qtsupport/whole_file.h"

namespace ql {

std::optional<CsvTarget> AskCsvTarget(Dialogs& dialogs, QWidget* parent, CsvExportChoice& choice,
                                      std::string& lastPath) {
  if (!dialogs.CsvOptions(parent, choice)) return std::nullopt;
  FileDialogOptions options;
  options.filter = "CSV Files (*.csv)\n*.csv\n\n";
  options.defaultExtension = "csv";
  options.initialPath = lastPath;
  options.overwritePrompt = true;
  const std::optional<QString> path = dialogs.SaveFile(parent, options);
  if (!path) return std::nullopt;
  lastPath = QFile::encodeName(*path).toStdString();
  CsvTarget target{*path, choice.localeNumbers ? UserLocaleCsvChoices(choice.bom) : CsvChoices{}};
  target.choices.bom = choice.bom;
  return target;
}

bool WriteCsvFile(Dialogs& dialogs, QWidget* parent, const QString& path, const std::string& csv) {
  const QByteArray bytes(csv.data(), static_cast<qsizetype>(csv.size()));
  if (const Status status = WriteWholeFile(path, bytes); !status.ok()) {
    dialogs.Message(parent, QString::fromLatin1(kCsvExportErrorText),
                    QString::fromStdString(status.reason()));
    return false;
  }
  return true;
}

}  // namespace ql
