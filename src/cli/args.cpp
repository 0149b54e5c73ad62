#include "cli/args.h"

#include <array>
#include <charconv>
#include <cmath>

#include "run/ids.h"
#include "run/settings_tables.h"

namespace ql::cli {

bool Args::Parse(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word.size() < 2 || word.compare(0, 2, "--") != 0) {
      positionals_.push_back(word);
      continue;
    }
    std::string name = word;
    std::optional<std::string> value;
    if (const auto eq = word.find('='); eq != std::string::npos) {
      name = word.substr(0, eq);
      value = word.substr(eq + 1);
    }
    if (given_.count(name) != 0) {
      error_ = name + " given more than once";
      return false;
    }
    if (flags_.count(name) != 0) {
      if (value) {
        error_ = name + " takes no value";
        return false;
      }
      given_[name] = "";
    } else if (values_.count(name) != 0) {
      if (!value) {
        if (i + 1 >= args.size()) {
          error_ = name + " needs a value";
          return false;
        }
        value = args[++i];
      }
      given_[name] = *value;
    } else {
      error_ = "unknown option " + name;
      return false;
    }
  }
  return true;
}

std::optional<std::string> Args::Get(std::string_view name) const {
  const auto it = given_.find(std::string(name));
  if (it == given_.end()) return std::nullopt;
  return it->second;
}

std::string EmptyFileName(const Args& args, std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) {
    if (const auto value = args.Get(name); value && value->empty()) {
      return std::string(name) + " needs a file name";
    }
  }
  return {};
}

std::optional<long long> ParseInteger(std::string_view text, long long min, long long max) {
  long long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  if (value < min || value > max) return std::nullopt;
  return value;
}

std::optional<double> ParseNumber(std::string_view text, double min, double max) {
  double value = 0;
  const auto [end, ec] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  if (!std::isfinite(value) || value < min || value > max) return std::nullopt;
  return value;
}

std::optional<SamplingChoice> ParseSampling(std::string_view text) {
  // In the order of the core's sampling table.
  static constexpr std::array<const char*, kSamplingChoices.size()> kNames{"500ms", "1s", "2s",
                                                                           "5s", "10s"};
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (text == kNames[i]) {
      const ql::SamplingChoice& core = kSamplingChoices[i];
      return SamplingChoice{kNames[i], core.command, core.code, core.period};
    }
  }
  return std::nullopt;
}

}  // namespace ql::cli
