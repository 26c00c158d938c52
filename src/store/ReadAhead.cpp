#include "store/ReadAhead.h"

#include <utility>

namespace store {

namespace {

// Replacing the file gives it another inode; writing it in place changes its size or its change
// time. Both times are compared to the nanosecond the file system keeps.
bool SameVersion(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
         a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

}  // namespace

void TicketsReadAhead::Read(std::string path) {
  held_ = false;
  path_ = std::move(path);
  // The version is noted before the read: a change during the read then fails the comparison.
  if (::stat(path_.c_str(), &stamp_) != 0)
    return;
  list_ = ReadAllTickets(path_);
  held_ = true;
}

TicketList TicketsReadAhead::Take(const std::string& path) {
  struct stat now {};
  const bool usable =
      held_ && path == path_ && ::stat(path.c_str(), &now) == 0 && SameVersion(now, stamp_);
  held_ = false;
  return usable ? std::move(list_) : ReadAllTickets(path);
}

}  // namespace store
