#pragma once

#include <optional>
#include <string>

#include "store/WriteResult.h"

namespace store {

enum class ReadStatus { Ok, Missing, Failed };

struct FileContents {
  ReadStatus status = ReadStatus::Missing;
  std::string bytes;
  std::string reason;  // set when status is Failed
};

// Reads a whole file. A missing file is not an error: it reads as Missing with no bytes.
FileContents ReadWholeFile(const std::string& path);

// Replaces the file at `path` with `bytes` so that a crash at any moment leaves either the old
// file or the new one, whole: a temporary file in the same folder is written, flushed and renamed
// over the target. A symbolic link is followed and its target replaced; an existing file keeps
// its permission bits; a new file gets the usual permissions for new files (0666 less umask).
WriteResult WriteFileAtomically(const std::string& path, const std::string& bytes);

// The path WriteFileAtomically replaces for `path`: symbolic links followed, a dangling link
// resolving to the path it names. Returns 0 or an errno value.
int ResolveWriteTarget(const std::string& path, std::string& target);

// Test seam: when set, every WriteFileAtomically call first asks this hook, and a returned
// reason makes the write fail with that reason before anything on disk is touched.
using WriteFailureHook = std::optional<std::string> (*)(const std::string& path);
void SetWriteFailureHookForTesting(WriteFailureHook hook);

}  // namespace store
