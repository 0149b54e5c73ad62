#include "run/reading_list.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace ql {

namespace {

constexpr std::size_t kHugePageBytes = std::size_t{2} * 1024 * 1024;

}  // namespace

void ReadingList::BlockDelete::operator()(char* block) const {
  ::operator delete[](block, std::align_val_t{alignment});
}

ReadingList::Block ReadingList::NewBlock(std::size_t size) {
  // Left uninitialised: every byte is written before it is read.
  const std::size_t alignment = size >= kLargestBlockBytes ? kHugePageBytes : alignof(char);
  Block block(static_cast<char*>(::operator new[](size, std::align_val_t{alignment})),
              BlockDelete{alignment});
  // Only a hint: without huge pages the block is made of small ones.
  if (alignment == kHugePageBytes) ::madvise(block.get(), size, MADV_HUGEPAGE);
  return block;
}

void ReadingList::Reset() {
  blocks_.clear();
  blockSizes_.clear();
  nextBlockBytes_ = kFirstBlockBytes;
  used_ = 0;
  slots_.clear();
  slots_.shrink_to_fit();
}

void ReadingList::Add(std::string_view line) {
  if (blocks_.empty() || blockSizes_.back() - used_ < line.size()) {
    // A line longer than a block gets a block of its own size.
    const std::size_t size = std::max(nextBlockBytes_, line.size());
    blocks_.push_back(NewBlock(size));
    blockSizes_.push_back(size);
    nextBlockBytes_ = std::min(nextBlockBytes_ * 2, kLargestBlockBytes);
    used_ = 0;
  }
  if (!line.empty()) std::memcpy(blocks_.back().get() + used_, line.data(), line.size());
  slots_.push_back({static_cast<std::uint32_t>(blocks_.size() - 1),
                    static_cast<std::uint32_t>(used_), static_cast<std::uint32_t>(line.size())});
  used_ += line.size();
  ++totalAdded_;
}

void ReadingList::Reserve(int lines, std::size_t bytes) {
  if (lines <= 0) return;
  const auto more = static_cast<std::size_t>(lines);
  slots_.reserve(slots_.size() + more);
  // A long list starts on the largest blocks at once.
  if (more * bytes >= kLargestBlockBytes) nextBlockBytes_ = kLargestBlockBytes;
}

std::string_view ReadingList::View(int index) const {
  const Slot& slot = slots_[static_cast<std::size_t>(index)];
  return {blocks_[slot.block].get() + slot.offset, slot.size};
}

}  // namespace ql
