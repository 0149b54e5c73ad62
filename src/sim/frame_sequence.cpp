#include "sim/frame_sequence.h"

#include <cmath>
#include <cstdlib>

namespace ql {
namespace {

constexpr int kMaxCount = 1000000;  // upper bound of steps, hold and the gap settings

std::int64_t SignedCounts(const MeterReading& r) { return r.negative ? -r.counts : r.counts; }

Status ParseHex(const std::string& text, std::string& bytes) {
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  bytes.clear();
  int high = -1;
  for (char c : text) {
    if (c == ' ' || c == '\t') continue;
    const int n = nibble(c);
    if (n < 0) return Status::Invalid("hex \"" + text + "\": '" + c + "' is not a hex digit");
    if (high < 0) {
      high = n;
    } else {
      bytes.push_back(static_cast<char>((high << 4) | n));
      high = -1;
    }
  }
  if (high >= 0) return Status::Invalid("hex \"" + text + "\": odd number of hex digits");
  if (bytes.empty()) return Status::Invalid("hex \"\": no bytes");
  return Status::Ok();
}

Status CheckRange(const char* name, int value, int lowest) {
  if (value < lowest || value > kMaxCount) {
    return Status::Invalid(std::string(name) + " must be from " + std::to_string(lowest) + " to " +
                           std::to_string(kMaxCount));
  }
  return Status::Ok();
}

Status CheckCounts(const SequenceOptions& o) {
  using Source = SequenceOptions::Source;
  const int lowestSteps = o.source == Source::kRamp ? 2 : 1;
  for (Status s :
       {CheckRange("--steps", o.steps, lowestSteps), CheckRange("--hold", o.hold, 1),
        CheckRange("--overload-every", o.overloadEvery, 0),
        CheckRange("--gap-every", o.gapEvery, 0), CheckRange("--gap-frames", o.gapFrames, 0)}) {
    if (!s.ok()) return s;
  }
  if (!(o.noise >= 0.0 && o.noise <= 10.0)) return Status::Invalid("--noise must be from 0 to 10");
  if (o.overloadEvery > 0 && o.source == Source::kHex) {
    return Status::Invalid("--overload-every needs readings, not raw bytes");
  }
  return Status::Ok();
}

Status CheckEnds(const MeterReading& from, const MeterReading& to) {
  if (from.overload || to.overload)
    return Status::Invalid("the ends of a ramp or walk need numbers");
  if (from.function != to.function || from.unit != to.unit || from.prefix != to.prefix) {
    return Status::Invalid("the ends of a ramp or walk need the same function and unit");
  }
  if (from.decimals != to.decimals) {
    return Status::Invalid("the ends of a ramp or walk need the same number of decimals");
  }
  return Status::Ok();
}

}  // namespace

Status FrameSequence::Create(const SequenceOptions& options, FrameSequence& out) {
  using Source = SequenceOptions::Source;
  if (options.source == Source::kNone) {
    return Status::Invalid("no source: give --reading, --ramp, --walk, --cycle or --hex");
  }
  if (Status s = CheckCounts(options); !s.ok()) return s;

  FrameSequence made;
  made.options_ = options;
  made.rng_ = options.seed;
  if (options.source == Source::kHex) {
    if (options.hexFrames.empty()) return Status::Invalid("--hex needs bytes");
    for (const std::string& text : options.hexFrames) {
      std::string bytes;
      if (Status s = ParseHex(text, bytes); !s.ok()) return s;
      made.raw_.push_back(std::move(bytes));
    }
  } else {
    const std::size_t needed = options.source == Source::kReading ? 1
                               : options.source == Source::kCycle ? 0
                                                                  : 2;
    if (options.readings.empty() || (needed > 0 && options.readings.size() != needed)) {
      return Status::Invalid(needed == 2 ? "a ramp or walk needs two readings, FROM and TO"
                                         : "give the readings to send");
    }
    for (const std::string& words : options.readings) {
      MeterReading reading;
      if (Status s = ParseMeterReading(words, reading); !s.ok()) {
        return Status::Invalid("reading \"" + words + "\": " + s.reason());
      }
      made.readings_.push_back(reading);
    }
    if (needed == 2) {
      if (Status s = CheckEnds(made.readings_[0], made.readings_[1]); !s.ok()) return s;
      made.walkCounts_ = SignedCounts(made.readings_[0]);
    }
  }
  out = std::move(made);
  return Status::Ok();
}

std::vector<std::uint8_t> FrameSequence::Next() {
  std::vector<std::uint8_t> out;
  if (options_.source == SequenceOptions::Source::kNone) return out;
  if (gapLeft_ > 0) {
    --gapLeft_;
    return out;
  }
  if (holdLeft_ == 0) {
    current_ = Generate();
    holdLeft_ = options_.hold;
  }
  --holdLeft_;
  AddNoise(current_.bytes.size(), out);
  out.insert(out.end(), current_.bytes.begin(), current_.bytes.end());
  carrier_ = current_.carrier;
  if (options_.gapEvery > 0 && ++slotsSinceGap_ == options_.gapEvery) {
    slotsSinceGap_ = 0;
    gapLeft_ = options_.gapFrames;
  }
  return out;
}

FrameSequence::Frame FrameSequence::Generate() {
  using Source = SequenceOptions::Source;
  const std::int64_t index = frameIndex_++;
  if (options_.source == Source::kHex) {
    return {raw_[static_cast<std::size_t>(index % static_cast<std::int64_t>(raw_.size()))], false};
  }
  MeterReading reading;
  switch (options_.source) {
    case Source::kRamp:
      reading = Interpolated(index);
      break;
    case Source::kWalk:
      reading = Walked(index);
      break;
    default:
      reading =
          readings_[static_cast<std::size_t>(index % static_cast<std::int64_t>(readings_.size()))];
      break;
  }
  if (options_.overloadEvery > 0 && (index + 1) % options_.overloadEvery == 0) {
    reading.overload = true;
  }
  return {EncodeMeterFrame(reading), NeedsCarrierDetect(reading)};
}

// The ramp's value at `index`: a sawtooth from the first reading to the
// second in `steps` frames, both ends included.
MeterReading FrameSequence::Interpolated(std::int64_t index) const {
  const std::int64_t from = SignedCounts(readings_[0]);
  const std::int64_t to = SignedCounts(readings_[1]);
  const std::int64_t step = index % options_.steps;
  const double fraction = static_cast<double>(step) / static_cast<double>(options_.steps - 1);
  const std::int64_t counts = from + std::llround(static_cast<double>(to - from) * fraction);
  MeterReading reading = readings_[0];
  reading.negative = counts < 0;
  reading.counts = static_cast<int>(std::llabs(counts));
  reading.shownDigits = reading.decimals + 1;
  return reading;
}

MeterReading FrameSequence::Walked(std::int64_t index) {
  const std::int64_t a = SignedCounts(readings_[0]);
  const std::int64_t b = SignedCounts(readings_[1]);
  const std::int64_t low = a < b ? a : b;
  const std::int64_t high = a < b ? b : a;
  if (index > 0) {  // the walk starts at the first reading
    const std::int64_t maxStep =
        (high - low) / options_.steps > 0 ? (high - low) / options_.steps : 1;
    const auto span = static_cast<std::uint64_t>(2 * maxStep + 1);
    walkCounts_ += static_cast<std::int64_t>(Random() % span) - maxStep;
    if (walkCounts_ < low) walkCounts_ = low;
    if (walkCounts_ > high) walkCounts_ = high;
  }
  MeterReading reading = readings_[0];
  reading.negative = walkCounts_ < 0;
  reading.counts = static_cast<int>(std::llabs(walkCounts_));
  reading.shownDigits = reading.decimals + 1;
  return reading;
}

// A small generator of our own (splitmix64), so a seed gives the same bytes
// with every standard library.
std::uint64_t FrameSequence::Random() {
  std::uint64_t z = (rng_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

void FrameSequence::AddNoise(std::size_t frameBytes, std::vector<std::uint8_t>& out) {
  if (options_.noise <= 0.0) return;
  const double whole = std::floor(options_.noise);
  const double part = options_.noise - whole;
  for (std::size_t i = 0; i < frameBytes; ++i) {
    int count = static_cast<int>(whole);
    if (static_cast<double>(Random() >> 11) * 0x1.0p-53 < part) ++count;
    for (int k = 0; k < count; ++k) {
      auto byte = static_cast<std::uint8_t>(Random());
      // Noise never carries the high nibble of a frame's last byte, so it
      // cannot end a frame of its own: every frame sent is still found whole.
      if ((byte & 0xF0) == 0xE0) byte ^= 0x80;
      out.push_back(byte);
    }
  }
}

}  // namespace ql
