#pragma once
// The program's help: an HTML page named after the program,
// Quintaline.html, looked for next to the executable first (a build tree),
// then where it is installed, then in the source tree the program was built
// from.

#include <QString>
#include <QUrl>

namespace ql {

inline constexpr const char* kHelpFileName = "Quintaline.html";

// The help page's path, or an empty string when neither place has it.
QString HelpFilePath();
// The help page at `topic` (an anchor of the page; empty for the top).
QUrl HelpUrl(const QString& path, const QString& topic);

}  // namespace ql
