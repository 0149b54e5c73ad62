#pragma once
// Shared pieces of the command-line tests: a simulated meter on a
// pseudo-terminal, reading files written byte by byte and small text
// helpers. Each test works in a folder of its own (TempDirTest).

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_process.h"
#include "support/temp_dir.h"

namespace ql::test_support {

// A command-line test in a folder of its own; every run it logs goes to a
// journal in that folder, never the user's.
class CliTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    setenv("QUINTALINE_JOURNAL", PathOf("journal.sqlite3").c_str(), 1);
  }
  void TearDown() override { unsetenv("QUINTALINE_JOURNAL"); }
};

// A simulated meter sending `sequence` at 20 frames a second on a new
// pseudo-terminal, stopped with SIGTERM when it goes out of scope.
class Simulator {
 public:
  explicit Simulator(std::vector<std::string> sequence) {
    std::vector<std::string> args{"simulate", "--pty", "--rate", "20"};
    args.insert(args.end(), sequence.begin(), sequence.end());
    process_ = std::make_unique<CliProcess>(args);
    pty_ = process_->ReadLine(std::chrono::seconds(10));
  }
  ~Simulator() {
    if (process_) process_->Finish(SIGTERM, std::chrono::seconds(5));
  }
  const std::string& Pty() const { return pty_; }
  // Stops the simulator; returns how it ended.
  CliResult Stop() {
    CliResult result = process_->Finish(SIGTERM, std::chrono::seconds(5));
    process_.reset();
    return result;
  }

 private:
  std::unique_ptr<CliProcess> process_;
  std::string pty_;
};

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// Number of characters of UTF-8 `text`.
inline std::size_t Utf8Length(const std::string& text) {
  std::size_t count = 0;
  for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

// A reading file of `lines` (Latin-1): each a 68-byte record, the line,
// a line feed, NUL bytes.
inline void WriteReadingFile(const std::string& path, const std::vector<std::string>& lines) {
  std::ofstream out(path, std::ios::binary);
  for (const std::string& line : lines) {
    std::string record = line + '\n';
    record.resize(68, '\0');
    out << record;
  }
}

}  // namespace ql::test_support
