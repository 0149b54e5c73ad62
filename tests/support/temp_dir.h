#pragma once
// A fresh folder for one test under the system's temporary folder, removed
// with everything in it when the object goes, a fixture that holds one, and
// helpers that read and write whole files byte for byte.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <system_error>
#include <vector>

namespace ql::test_support {

// The whole file at `path`; "" when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return std::move(bytes).str();
}

// Makes `path` hold exactly `bytes`.
inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The names of the entries in `dir`, sorted: to see that nothing was left
// behind.
inline std::vector<std::string> EntriesOf(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class TempDir {
 public:
  // A folder named `prefix` and six random characters.
  explicit TempDir(const std::string& prefix = "ql") {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempDir() {
    if (path_.empty()) return;
    std::error_code ignored;
    // A test may have taken the write permission away to see a save fail.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // Returns true iff the folder was made.
  bool ok() const { return !path_.empty(); }
  const std::filesystem::path& path() const { return path_; }
  std::string PathOf(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// A test with a fresh folder of its own.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.ok()); }

  std::string PathOf(std::string_view name) const { return dir_.PathOf(name); }
  std::vector<std::string> Entries() const { return EntriesOf(dir_.path()); }

  TempDir dir_;
};

}  // namespace ql::test_support
