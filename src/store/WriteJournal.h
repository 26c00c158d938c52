#pragma once

#include <string>
#include <string_view>

#include "store/Problem.h"

namespace store {

// The safety net under a rewrite in place, which a crash could leave half done. Before the first
// byte is overwritten, the file's old bytes and what the new ones will be (size and a hash) are
// kept, synced, as ".unfinished" in the data file's versions folder (see Versions.h); when the
// rewrite is complete and synced, that record goes. The next read of the file, by the window or
// pelmora-check, finds a record left behind and, under the file's lock, makes the file whole: the
// new bytes when they all got there, else the old ones put back.

// Keeps `oldBytes` before `path` is rewritten in place with `newBytes`. Gives the record's path,
// or why it could not be kept (the rewrite must then not begin).
Result<std::string> BeginInPlaceWrite(const std::string& path, std::string_view oldBytes,
                                      std::string_view newBytes);
// The rewrite is complete and synced.
void EndInPlaceWrite(const std::string& record);

// Whether a record of an unfinished rewrite of `path` is there; cheap when none is.
bool HasUnfinishedWrite(const std::string& path);

// Makes `path` whole after an unfinished rewrite; the caller holds the file's lock. When bytes
// were put back, the result has a note (ProblemKind::Repaired) for a person.
Result<void> RepairUnfinishedWriteLocked(const std::string& path);

// The same for a reader: takes the file's lock, only when there is something to repair. Every
// read repairs the file first; a program that tells the note asks for the repair itself.
Result<void> RepairUnfinishedWrite(const std::string& path);

}  // namespace store
