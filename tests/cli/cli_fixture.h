#pragma once
// Shared pieces of the command-line tests: a scratch folder per test, a
// simulated meter on a pseudo-terminal, reading files written byte by byte
// and small text helpers.

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

namespace ql::testing {

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "ql-cli-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
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

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
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

}  // namespace ql::testing
