#pragma once
// A settings file as people edit it by hand: every line is kept as it
// stands (comments starting with ';' or '#', blank lines, sections and keys
// nobody here knows), and a value that is set changes only its own line.
// Names are written as they stand ("[Sampling Time]", "Use display=");
// the percent-encoded form other writers use ("[Sampling%20Time]") reads
// the same. Section and key names compare without regard to case.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ql {

class IniText {
 public:
  explicit IniText(std::string_view text = {});

  // The value of `key` in `section`, without surrounding blanks or double
  // quotes; nullopt when missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Replaces the value's line (the value between double quotes when it has
  // blanks at either end), or adds one at the end of the section (a new
  // section at the end of the text).
  void Set(std::string_view section, std::string_view key, std::string_view value);

  std::string Text() const;

 private:
  // Index of the line of `key` in `section`, or of the line after the
  // section's last entry when `key` is absent (npos: no such section).
  struct Place {
    std::size_t section = std::string::npos;
    std::size_t key = std::string::npos;
    std::size_t end = std::string::npos;
  };
  Place Find(std::string_view section, std::string_view key) const;

  std::vector<std::string> lines_;
};

}  // namespace ql
