#include "store/LargeText.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace store {

namespace {

constexpr std::size_t kLargeBlock = std::size_t{512} << 10;
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t Mapped(std::size_t bytes) {
  return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

}  // namespace

void* AllocateLargeBlock(std::size_t bytes) {
  if (bytes < kLargeBlock) {
    return ::operator new(bytes);
  }
  const std::size_t size = Mapped(bytes);
  if (size < bytes) {
    throw std::bad_alloc();
  }
  // A huge page must start on a boundary of its size: map one more, then give back the ends.
  void* const region =
      ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (region == MAP_FAILED) {
    throw std::bad_alloc();
  }
  const auto start = reinterpret_cast<std::uintptr_t>(region);
  const auto aligned = (start + kHugePage - 1) & ~(std::uintptr_t{kHugePage} - 1);
  if (aligned > start) {
    ::munmap(region, aligned - start);
  }
  if (const std::size_t tail = start + kHugePage - aligned; tail > 0) {
    ::munmap(reinterpret_cast<void*>(aligned + size), tail);
  }
  auto* const block = reinterpret_cast<void*>(aligned);
#if defined(MADV_HUGEPAGE)
  // Refused where huge pages are off: the block is then ordinary memory.
  ::madvise(block, size, MADV_HUGEPAGE);
#endif
  return block;
}

void FreeLargeBlock(void* block, std::size_t bytes) {
  if (bytes < kLargeBlock) {
    ::operator delete(block);
    return;
  }
  ::munmap(block, Mapped(bytes));
}

}  // namespace store
