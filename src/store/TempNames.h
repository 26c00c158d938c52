#pragma once

#include <string>

namespace store {

// Temporary files written beside a data file are named ".pm<hash>.<pid>.<tag>": a short hash of
// the data file's name, the writing process and four random hex digits. The name's length does
// not depend on the data file's, so a file whose name nearly fills the folder's limit can still
// be replaced, and a leftover tells which data file and which process it belonged to.

// Creates a new, empty temporary file in `folder` for the data file named `name`, opened for
// writing with mode 0666 less the umask. Returns the descriptor, or -1 with errno set.
int CreateTempFileFor(const std::string& folder, const std::string& name, std::string& tempPath);

// Removes the temporary files in `folder` that belong to the data file named `name` and whose
// writer has ended. Files of the current process, of live processes and of any other name are
// left alone. Failures are ignored: a leftover is only wasted space.
void RemoveLeftoverTempFiles(const std::string& folder, const std::string& name);

// The lock file of the data file named `name` in `folder`, for file systems that refuse flock():
// "<folder>/.pm<hash>.lock" (see LockFile.h).
std::string LockFilePathFor(const std::string& folder, const std::string& name);

}  // namespace store
