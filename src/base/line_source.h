#pragma once
// Read access to the list of readings, for the code that reads the lines
// back (trend graph, printed report, data files) without knowing where the
// list lives.

#include <string>
#include <vector>

namespace ql {

class LineSource {
 public:
  virtual ~LineSource() = default;
  virtual int Count() const = 0;
  // REQUIRES: 0 <= index < Count().
  virtual std::string Line(int index) const = 0;
};

// A LineSource over lines held in memory.
class VectorLineSource : public LineSource {
 public:
  explicit VectorLineSource(const std::vector<std::string>& lines) : lines_(lines) {}
  int Count() const override { return static_cast<int>(lines_.size()); }
  std::string Line(int index) const override { return lines_[static_cast<std::size_t>(index)]; }

 private:
  const std::vector<std::string>& lines_;
};

}  // namespace ql
