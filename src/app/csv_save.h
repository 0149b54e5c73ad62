#pragma once
// Writing a CSV file from the desktop program: the CSV choices, then the
// save dialog, then the file written whole; a failure is told in a message
// box.

#include <QString>

#include <optional>
#include <string>

#include "app/dialogs.h"
#include "files/csv_text.h"

class QWidget;

namespace ql {

// The message box of a CSV file that could not be written.
inline constexpr char kCsvExportErrorText[] = "CSV Export Error!";

struct CsvTarget {
  QString path;
  CsvChoices choices;
};

// Asks for the choices (shown as `choice` holds them, which keeps the
// answer) and then for the file (starting at `lastPath`, which keeps the
// answer). nullopt when the user cancelled either.
std::optional<CsvTarget> AskCsvTarget(Dialogs& dialogs, QWidget* parent, CsvExportChoice& choice,
                                      std::string& lastPath);

// Writes `csv` to `path` all or nothing. Returns true iff it was written;
// otherwise the user was told why.
bool WriteCsvFile(Dialogs& dialogs, QWidget* parent, const QString& path, const std::string& csv);

}  // namespace ql
