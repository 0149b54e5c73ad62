#pragma once
// The command line of one subcommand: the options it declares (a flag, or an
// option with a value given as "--name VALUE" or "--name=VALUE") and its
// positional arguments. Anything undeclared, an option given twice or a
// value missing is a usage error, which the subcommand reports with exit
// status 2.

#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace ql::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

class Args {
 public:
  // Declares an option before Parse.
  void Flag(std::string name) { flags_.insert(std::move(name)); }
  void Value(std::string name) { values_.insert(std::move(name)); }

  // Parses `args` (the words after the subcommand). Returns true iff they
  // fit the declarations; Error() says why not.
  bool Parse(const std::vector<std::string>& args);

  bool Has(std::string_view name) const { return given_.count(std::string(name)) != 0; }
  std::optional<std::string> Get(std::string_view name) const;
  const std::vector<std::string>& Positionals() const { return positionals_; }
  const std::string& Error() const { return error_; }

 private:
  std::set<std::string> flags_;
  std::set<std::string> values_;
  std::map<std::string, std::string> given_;
  std::vector<std::string> positionals_;
  std::string error_;
};

// The most samples, frames or parts a count option takes.
inline constexpr long long kMaxCount = 1'000'000'000;

// "--NAME needs a file name" for the first of `names` given with an empty
// value, else an empty text.
std::string EmptyFileName(const Args& args, std::initializer_list<std::string_view> names);

// Parses the whole of `text` as a decimal integer in [min, max].
std::optional<long long> ParseInteger(std::string_view text, long long min, long long max);
// Parses the whole of `text` as a finite decimal number in [min, max].
std::optional<double> ParseNumber(std::string_view text, double min, double max);

// One of the sampling choices "500ms", "1s", "2s", "5s", "10s".
struct SamplingChoice {
  const char* name;
  int command;  // the Setup command that chooses it
  int code;     // the stored sampling code, in units of 50 ms
  int ticks;    // ticks of 50 ms per sampling period
};
std::optional<SamplingChoice> ParseSampling(std::string_view text);
inline constexpr const char* kSamplingNames = "500ms|1s|2s|5s|10s";

}  // namespace ql::cli
