#pragma once
// CSV files read back by Python's csv module, as a spreadsheet's import
// would read them: each row one line with its fields between '|'.

#include <cstdio>
#include <string>

namespace ql::test_support {

// What the shell command `command` writes on stdout; empty if it cannot run.
inline std::string CommandOutput(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  pclose(pipe);
  return out;
}

// The rows of `file` with fields separated by `delimiter`; `bom`: the file
// starts with a byte order mark, which is not part of the first field.
inline std::string ReadCsvWithPython(const std::string& file, const char* delimiter, bool bom) {
  const std::string script =
      "import csv,sys\n"
      "with open(sys.argv[1], newline='', encoding='" +
      std::string(bom ? "utf-8-sig" : "utf-8") +
      "') as f:\n"
      "  for row in csv.reader(f, delimiter=sys.argv[2]):\n"
      "    print('|'.join(row))\n";
  return CommandOutput("python3 -c \"" + script + "\" '" + file + "' '" + delimiter + "'");
}

}  // namespace ql::test_support
