#include "run/reading_list.h"

#include <algorithm>
#include <cstring>

namespace ql {

void ReadingList::Reset() {
  blocks_.clear();
  blockSizes_.clear();
  used_ = 0;
  slots_.clear();
  slots_.shrink_to_fit();
}

void ReadingList::Add(std::string_view line) {
  if (blocks_.empty() || blockSizes_.back() - used_ < line.size()) {
    // A line longer than a block gets a block of its own size.
    const std::size_t size = std::max(kBlockBytes, line.size());
    blocks_.push_back(std::make_unique<char[]>(size));
    blockSizes_.push_back(size);
    used_ = 0;
  }
  if (!line.empty()) std::memcpy(blocks_.back().get() + used_, line.data(), line.size());
  slots_.push_back({static_cast<std::uint32_t>(blocks_.size() - 1),
                    static_cast<std::uint32_t>(used_), static_cast<std::uint32_t>(line.size())});
  used_ += line.size();
  ++totalAdded_;
}

std::string_view ReadingList::View(int index) const {
  const Slot& slot = slots_[static_cast<std::size_t>(index)];
  return {blocks_[slot.block].get() + slot.offset, slot.size};
}

}  // namespace ql
