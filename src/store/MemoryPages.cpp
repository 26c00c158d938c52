#include "store/MemoryPages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace store {

void PreparePagesForWriting([[maybe_unused]] void* data, [[maybe_unused]] std::size_t size) {
#if defined(MADV_POPULATE_WRITE)
  // Below this a few faults cost less than the call.
  constexpr std::size_t kWorthIt = std::size_t{64} << 10;
  if (data == nullptr || size < kWorthIt) {
    return;
  }
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  // Whole pages only: the pages at either end may hold other memory, which populating leaves
  // as it is. Failure (an older kernel, a range reaching past the mapping) changes nothing.
  const auto begin = reinterpret_cast<std::uintptr_t>(data) & ~(page - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(data) + size + page - 1) & ~(page - 1);
  ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#endif
}

}  // namespace store
