#pragma once
// The list of readings: the lines the view recorded or opened, held by the
// core. Faces only show them (FormList tells them of each change, and they
// read the rows they draw from here), so a save, a graph or a report always
// takes the lines as the view has them, and the lines of a week-long run
// are kept once.
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
  // Makes room for `lines` more lines of about `bytes` bytes each, so that
  // filling a long list at once copies nothing twice.
  void Reserve(int lines, std::size_t bytes);
  int Count() const override { return static_cast<int>(slots_.size()); }
  // REQUIRES: 0 <= index < Count(). Valid until the next Reset().
  std::string_view View(int index) const;
  std::string Line(int index) const override { return std::string(View(index)); }
  // Lines added since the list was made; Reset does not lower it. The lines
  // a step added are the last TotalAdded() - (the total before it).
  long long TotalAdded() const { return totalAdded_; }

 private:
  // Blocks grow from 64 KB to 4 MB as the list does. A block of 4 MB lies
  // on huge pages where the system gives them: a week's list (70 MB) is then
  // touched in a few dozen page faults instead of 18 000.
  static constexpr std::size_t kFirstBlockBytes = std::size_t{64} * 1024;
  static constexpr std::size_t kLargestBlockBytes = std::size_t{4} * 1024 * 1024;
  struct Slot {
    std::uint32_t block;
    std::uint32_t offset;
    std::uint32_t size;
  };
  struct BlockDelete {
    std::size_t alignment;
    void operator()(char* block) const;
  };
  using Block = std::unique_ptr<char[], BlockDelete>;
  static Block NewBlock(std::size_t size);
  std::vector<Block> blocks_;
  std::size_t nextBlockBytes_ = kFirstBlockBytes;
  std::vector<std::size_t> blockSizes_;  // bytes each block can hold
  std::size_t used_ = 0;                 // bytes used in the last block
  std::vector<Slot> slots_;
  long long totalAdded_ = 0;
};

}  // namespace ql
