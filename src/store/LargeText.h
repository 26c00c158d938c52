#pragma once

#include <cstddef>
#include <string>

namespace store {

// Memory for the text of a whole data file. Blocks of half a megabyte and more are placed in
// whole 2 MiB pages where the system offers them (transparent huge pages, asked for per block):
// a fresh process then takes one page fault to fill a megabyte, not 256, and on virtual machines
// that pay for the first touch of every small page that is most of reading a large file. Smaller
// blocks come from the usual heap. Where huge pages are off the block is ordinary memory, used
// only as far as it is touched.
void* AllocateLargeBlock(std::size_t bytes);
void FreeLargeBlock(void* block, std::size_t bytes);

template <class T>
struct LargeBlockAllocator {
  using value_type = T;

  LargeBlockAllocator() = default;
  template <class U>
  LargeBlockAllocator(const LargeBlockAllocator<U>&) {}  // NOLINT(google-explicit-constructor)

  T* allocate(std::size_t n) { return static_cast<T*>(AllocateLargeBlock(n * sizeof(T))); }
  void deallocate(T* block, std::size_t n) { FreeLargeBlock(block, n * sizeof(T)); }

  friend bool operator==(const LargeBlockAllocator&, const LargeBlockAllocator&) { return true; }
};

using LargeText = std::basic_string<char, std::char_traits<char>, LargeBlockAllocator<char>>;

}  // namespace store
