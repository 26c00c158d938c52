#pragma once

#include <cstddef>

namespace store {

// Asks the system to back `size` bytes from `data`, memory just allocated and about to be
// written from one end to the other, with pages now, in one call, instead of taking a page fault
// for each page as it is first written: for a buffer of hundreds of pages that is a noticeable
// part of reading a data file in a fresh process. Small ranges are left alone, and where the
// system cannot do it nothing happens; the memory's contents are never changed.
void PreparePagesForWriting(void* data, std::size_t size);

}  // namespace store
