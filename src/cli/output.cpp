#include "cli/output.h"

#include <cerrno>
#include <cstdio>

#include "base/utf8.h"
#include "qtsupport/text_edge.h"

namespace ql::cli {

namespace {

int g_stdout_error = 0;

// Returns 0, or the errno of the write that failed.
int WriteLine(std::FILE* stream, std::string_view text) {
  errno = 0;
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
  if (std::fflush(stream) == 0 && !std::ferror(stream)) return 0;
  std::clearerr(stream);
  return errno != 0 ? errno : EIO;
}

}  // namespace

void PrintLine(std::string_view utf8) {
  if (g_stdout_error != 0) return;  // the rest would fail the same
  g_stdout_error = WriteLine(stdout, utf8);
}

int StdoutError() { return g_stdout_error; }

void PrintError(std::string_view utf8) { WriteLine(stderr, utf8); }

void PrintMessage(std::string_view text, std::string_view detail) {
  PrintError(Latin1ToUtf8(text));
  // A detail may carry a device or file path, which arrives as UTF-8.
  if (!detail.empty()) PrintError(IsUtf8(detail) ? std::string(detail) : Latin1ToUtf8(detail));
}

std::string Quoted(std::string_view latin1) {
  std::string out = "\"";
  for (char c : latin1) {
    if (c == '"' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  out.push_back('"');
  return Latin1ToUtf8(out);
}

}  // namespace ql::cli
