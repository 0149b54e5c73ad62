#include "sim/sequence_options.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace ql {
namespace {

// Splits "a;b;c" into its non-empty, trimmed parts.
std::vector<std::string> SplitList(std::string_view text) {
  std::vector<std::string> parts;
  while (!text.empty()) {
    const std::size_t semi = text.find(';');
    std::string_view part = text.substr(0, semi);
    while (!part.empty() && (part.front() == ' ' || part.front() == '\t')) part.remove_prefix(1);
    while (!part.empty() && (part.back() == ' ' || part.back() == '\t')) part.remove_suffix(1);
    if (!part.empty()) parts.emplace_back(part);
    if (semi == std::string_view::npos) break;
    text.remove_prefix(semi + 1);
  }
  return parts;
}

template <typename Number>
bool ParseWhole(const std::string& text, Number& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty();
}

class ArgReader {
 public:
  ArgReader(const std::vector<std::string>& args, SequenceOptions& options)
      : args_(args), options_(options) {}

  // Returns true iff args_[i] is an option of the sequence; then consumes
  // its values (or sets status_).
  bool Take(std::size_t& i) {
    const std::string& name = args_[i];
    using Source = SequenceOptions::Source;
    if (name == "--reading") return TakeSource(i, Source::kReading, 1);
    if (name == "--ramp") return TakeSource(i, Source::kRamp, 2);
    if (name == "--walk") return TakeSource(i, Source::kWalk, 2);
    if (name == "--cycle") return TakeSource(i, Source::kCycle, 1);
    if (name == "--hex") return TakeSource(i, Source::kHex, 1);
    if (name == "--steps") return Int(i, options_.steps);
    if (name == "--hold") return Int(i, options_.hold);
    if (name == "--overload-every") return Int(i, options_.overloadEvery);
    if (name == "--gap-every") return Int(i, options_.gapEvery);
    if (name == "--gap-frames") return Int(i, options_.gapFrames);
    if (name == "--noise") {
      const std::string* text = Value(i, 1);
      if (text == nullptr) return true;
      if (!ParseWhole(*text, options_.noise) || !std::isfinite(options_.noise)) {
        Fail("--noise needs a number, not \"" + *text + "\"");
      }
      ++i;
      return true;
    }
    if (name == "--seed") {
      const std::string* text = Value(i, 1);
      if (text == nullptr) return true;
      if (!ParseWhole(*text, options_.seed)) {
        Fail("--seed needs a whole number from 0, not \"" + *text + "\"");
      }
      ++i;
      return true;
    }
    return false;
  }

  const Status& status() const { return status_; }

 private:
  // The k-th value after the option at i (k from 1); nullptr (and a
  // failure) when the words run out. The caller moves i past its values.
  const std::string* Value(std::size_t& i, std::size_t k) {
    if (i + k >= args_.size()) {
      Fail(args_[i] + " needs " + (k == 1 ? "a value" : "two values"));
      return nullptr;
    }
    return &args_[i + k];
  }

  bool TakeSource(std::size_t& i, SequenceOptions::Source source, std::size_t values) {
    if (options_.source != SequenceOptions::Source::kNone) {
      Fail(args_[i] + ": only one of --reading, --ramp, --walk, --cycle and --hex");
      return true;
    }
    const std::string* last = Value(i, values);
    if (last == nullptr) return true;
    options_.source = source;
    options_.readings.clear();
    if (source == SequenceOptions::Source::kCycle) {
      options_.readings = SplitList(*last);
    } else if (source == SequenceOptions::Source::kHex) {
      options_.hexFrames = SplitList(*last);
    } else {
      for (std::size_t k = 1; k <= values; ++k) options_.readings.push_back(args_[i + k]);
    }
    i += values;
    return true;
  }

  bool Int(std::size_t& i, int& target) {
    const std::string* text = Value(i, 1);
    if (text == nullptr) return true;
    if (!ParseWhole(*text, target)) Fail(args_[i] + " needs a whole number, not \"" + *text + "\"");
    ++i;
    return true;
  }

  void Fail(std::string reason) {
    if (status_.ok()) status_ = Status::Invalid(std::move(reason));
  }

  const std::vector<std::string>& args_;
  SequenceOptions& options_;
  Status status_;
};

}  // namespace

Status ParseSequenceArgs(const std::vector<std::string>& args, SequenceOptions& options,
                         std::vector<std::string>* rest) {
  ArgReader reader(args, options);
  for (std::size_t i = 0; i < args.size() && reader.status().ok(); ++i) {
    if (reader.Take(i)) continue;
    if (rest == nullptr) return Status::Invalid("unknown option \"" + args[i] + "\"");
    rest->push_back(args[i]);
  }
  if (!reader.status().ok()) return reader.status();
  if (options.source == SequenceOptions::Source::kNone) {
    return Status::Invalid("no source: give --reading, --ramp, --walk, --cycle or --hex");
  }
  return Status::Ok();
}

}  // namespace ql
