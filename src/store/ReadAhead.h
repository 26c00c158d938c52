#pragma once

#include <sys/stat.h>

#include <string>

#include "store/TicketFile.h"

namespace store {

// The tickets of a data file, read before the moment they are wanted, so that the read can run
// while the process waits for something else (start-up waits for the font configuration). The
// read is taken only if the same file is still there and the file system tells no change since
// (size, modification and change time). A rewrite of the same size within one tick of the file
// system's clock goes unseen here, as it would a moment later: a window's writes compare the file
// with what the list was loaded from under the lock in any case.
class TicketsReadAhead {
 public:
  // Reads the tickets of `path` now, with what identifies this version of the file.
  void Read(std::string path);

  // The tickets read ahead when they are of `path` and the file has not changed since; else a
  // fresh read. What was read ahead is handed over once.
  TicketList Take(const std::string& path);

 private:
  std::string path_;
  struct stat stamp_ {};
  TicketList list_;
  bool held_ = false;
};

}  // namespace store
