#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/Problem.h"

// Naming and making the user's own folders: those that hold the versions of data files, and those
// the draw history and the prize table live in.
namespace store {

// A 64-bit FNV-1a hash: names a data file's versions folder and checks the bytes of a rewrite.
std::uint64_t HashOfBytes(std::string_view bytes);

// `name` in the folder the environment variable `variable` names (XDG_DATA_HOME,
// XDG_CONFIG_HOME), else in `fallback` under $HOME; empty when neither is an absolute path.
std::string UserFilePath(const char* variable, std::string_view fallback, std::string_view name);

// The one name a data file has, whichever way it was reached: symbolic links resolved (a write
// replaces the link's target), and for a file that is gone, its folder resolved.
std::string CanonicalPath(const std::string& path);

// Makes the versions folder `root` and a data file's `folder` in it when missing, and checks that
// both are the user's own and closed to others. A problem names the folder that refused.
Result<void> MakeVersionFolders(const std::string& root, const std::string& folder);

// Why a versions folder or a file in it cannot be trusted: it is a symbolic link, it belongs to
// another user, or others may write to it (which would let them plant or swap a version). Empty
// when it is the user's own and closed to writers other than the user.
std::string UnsafeReason(const std::string& path);

}  // namespace store
