#pragma once
// How the command-line tool writes: every stdout line is UTF-8 and flushed
// at once (scripts read it while a run goes on); message-box texts and other
// diagnostics go to stderr, one per line.

#include <string>
#include <string_view>

namespace ql::cli {

// Writes `utf8` and a line feed to stdout and flushes.
void PrintLine(std::string_view utf8);
// The first error a stdout write met (0: none). EPIPE means the reader went
// away, which ends a run as a stop signal does; any other error fails the
// command.
int StdoutError();
// Writes `utf8` and a line feed to stderr.
void PrintError(std::string_view utf8);
// A message box as the command-line tool shows it: the text, then the
// detail when there is one, each on its own stderr line (Latin-1 in, UTF-8
// out).
void PrintMessage(std::string_view text, std::string_view detail = {});

// `latin1` as UTF-8 between double quotes, with `"` and `\` escaped by a
// backslash.
std::string Quoted(std::string_view latin1);

}  // namespace ql::cli
