#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/AtomicFile.h"
#include "store/Problem.h"

namespace store {

// Earlier versions of data files, kept so that a change that removes tickets can be undone.
// They live in the user's own data folder ($XDG_DATA_HOME/pelmora/versions, by default
// ~/.local/share/pelmora/versions), in a folder per data file named after the file and a hash of
// its full path, so two files of one name in different folders never mix. Every folder is the
// user's alone (0700). A version is a copy of the file's bytes named after the time it was kept
// (UTC, to the microsecond), which sorts oldest first.

inline constexpr std::size_t kMaxVersionsPerFile = 50;
inline constexpr std::uintmax_t kMaxVersionBytes = 20 * 1024 * 1024;

struct VersionLimits {
  std::size_t perFile = kMaxVersionsPerFile;
  std::uintmax_t totalBytes = kMaxVersionBytes;  // across the versions of all data files
};

// Where the versions of all data files live; empty when no home folder can be found.
std::string VersionsRoot();

// The folder that holds the versions of the data file at `path` (which need not exist).
std::string VersionFolderOf(const std::string& path);

struct KeptCopy {
  bool kept = false;   // false when the bytes equal the newest version already kept
  std::string folder;  // the versions folder of the data file
  std::string when;    // the new version's name, when kept
};

// Keeps `bytes`, the data file at `path` as it was before a change, as its newest version, then
// drops the oldest versions beyond the limits: first those of this file beyond `perFile`, then
// the oldest of all files until they take at most `totalBytes` (the new version itself is never
// dropped). Keeping the same bytes twice in a row keeps them once. A failure names the folder
// that could not be made or written.
Result<KeptCopy> KeepVersion(const std::string& path, const std::string& bytes,
                             const VersionLimits& limits = {});

struct KeptVersion {
  std::string when;  // as printed and as given back to choose it
  std::string file;  // where its bytes are
  std::uintmax_t size = 0;
};

struct VersionList {
  std::string folder;
  std::vector<KeptVersion> versions;  // oldest first
};

// The versions kept of the data file at `path`. No folder yet is no error: the list is empty. A
// failure names the folder, or no path when there is no home folder to hold one.
Result<VersionList> ListVersions(const std::string& path);

// The version `when` names: its exact name, or the start of exactly one name. The problem has no
// path: it is the person's choice that matched none or several.
Result<KeptVersion> FindVersion(const VersionList& list, const std::string& when);

// Removes every version kept of the data file at `path`; `removed` counts them, also when the
// folder could not be removed in the end.
struct ForgetResult {
  Result<void> write;
  std::size_t removed = 0;
};
ForgetResult ForgetVersions(const std::string& path);

// Puts `bytes`, a version, back as the data file at `path`, keeping the file as it was first, so
// that a restore can itself be undone.
Result<void> RestoreDataFile(const std::string& path, const std::string& bytes);

// The safety net under a change of a data file. `bytes` are the file's text as read under the
// change's lock and `before` how that read went; a file that could not be read, a missing one and
// an empty one have nothing to keep. A failure never stops the change: it comes back as a note
// (ProblemKind::VersionNotKept, the path being the versions folder) for the change's result.
Result<void> KeepVersionBeforeChange(const std::string& path, std::string_view bytes,
                                     const FileContents& before);

}  // namespace store
