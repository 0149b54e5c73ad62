#pragma once
// The list of readings: the lines the view recorded or opened, held by the
// core. Faces only show them (FormHost's list operations tell them of each
// change, and they read the rows they draw from here), so a save, a graph or
// a report always takes the lines as the view has them, and the lines of a
// week-long run are kept once.
//
// Lines lie back to back in large blocks, indexed by their place: about 73
// bytes a recorded line of 61, where a string of its own each would take
// more than 100.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/line_source.h"

namespace ql {

class ReadingList : public LineSource {
 public:
  void Reset();
  void Add(std::string_view line);
  int Count() const override { return static_cast<int>(slots_.size()); }
  // REQUIRES: 0 <= index < Count(). Valid until the next Reset().
  std::string_view View(int index) const;
  std::string Line(int index) const override { return std::string(View(index)); }

 private:
  static constexpr std::size_t kBlockBytes = std::size_t{64} * 1024;
  struct Slot {
    std::uint32_t block;
    std::uint32_t offset;
    std::uint32_t size;
  };
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::vector<std::size_t> blockSizes_;  // bytes each block can hold
  std::size_t used_ = 0;                 // bytes used in the last block
  std::vector<Slot> slots_;
};

}  // namespace ql
