#include "cli/output.h"

#include <cstdio>

#include "base/utf8.h"
#include "qtsupport/text_edge.h"

namespace ql::cli {

namespace {

void WriteLine(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

}  // namespace

void PrintLine(std::string_view utf8) { WriteLine(stdout, utf8); }

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
