#include "store/Versions.h"

#include "store/TextEncoding.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "store/DataFileChange.h"
#include "store/VersionFolder.h"

namespace store {

namespace {

constexpr std::string_view kVersionExtension = ".pmd";
constexpr std::string_view kOriginName = "origin";

struct Entry {
  std::string name;
  std::string path;
  std::uintmax_t size = 0;
};

// The versions in `folder`, oldest first. Temporary files of an unfinished write are no
// versions.
std::vector<Entry> VersionsIn(const std::string& folder, int& error) {
  std::vector<Entry> entries;
  error = 0;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) {
    error = errno;
    return entries;
  }
  while (const dirent* item = ::readdir(dir)) {
    const std::string name = item->d_name;
    if (name.starts_with('.') || !name.ends_with(kVersionExtension)) {
      continue;
    }
    Entry entry{name, folder + "/" + name, 0};
    // A file that another user owns or may write is nobody's version to restore.
    struct stat info {};
    if (::lstat(entry.path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid() || (info.st_mode & 022) != 0) {
      continue;
    }
    entry.size = static_cast<std::uintmax_t>(info.st_size);
    entries.push_back(std::move(entry));
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return entries;
}

std::string WhenOf(const std::string& name) {
  return name.substr(0, name.size() - kVersionExtension.size());
}

std::string WhenText(std::time_t seconds, long micros) {
  std::tm utc{};
  ::gmtime_r(&seconds, &utc);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%06ldZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, micros);
  return text;
}

// A name after every name already kept, even when the clock has gone back or two versions fall
// in one microsecond, so that name order stays the order of keeping.
std::string NewVersionName(const std::vector<Entry>& existing) {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::string name = WhenText(now.tv_sec, now.tv_nsec / 1000) + std::string(kVersionExtension);
  if (existing.empty() || name > existing.back().name) {
    return name;
  }
  std::tm newest{};
  long micros = 0;
  if (std::sscanf(existing.back().name.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d.%6ldZ", &newest.tm_year,
                  &newest.tm_mon, &newest.tm_mday, &newest.tm_hour, &newest.tm_min, &newest.tm_sec,
                  &micros) != 7) {
    return WhenOf(existing.back().name) + "-" + name;
  }
  newest.tm_year -= 1900;
  newest.tm_mon -= 1;
  std::time_t seconds = ::timegm(&newest);
  if (++micros == 1000000) {
    micros = 0;
    ++seconds;
  }
  return WhenText(seconds, micros) + std::string(kVersionExtension);
}

bool SameBytes(const std::string& path, const std::string& bytes) {
  const Result<FileContents> newest = ReadFileAsIs(path);
  if (!newest || !newest->exists) {
    return false;
  }
  return newest->encoding == FileEncoding::Bytes
             ? newest->bytes == bytes
             : EncodeFileText(newest->bytes, newest->encoding) == bytes;
}

bool Remove(const Entry& entry, std::uintmax_t& total) {
  if (::unlink(entry.path.c_str()) != 0) {
    return false;
  }
  total -= std::min(total, entry.size);
  return true;
}

// Drops the oldest versions of all data files until they take at most `limit` bytes.
void PruneAll(const std::string& root, const std::string& keep, std::uintmax_t limit) {
  DIR* dir = ::opendir(root.c_str());
  if (dir == nullptr) {
    return;
  }
  std::vector<std::string> folders;
  while (const dirent* item = ::readdir(dir)) {
    const std::string name = item->d_name;
    struct stat info {};
    const std::string folder = root + "/" + name;
    if (!name.starts_with('.') && ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      folders.push_back(folder);
    }
  }
  ::closedir(dir);
  std::vector<Entry> all;
  std::uintmax_t total = 0;
  for (const std::string& folder : folders) {
    int error = 0;
    for (Entry& entry : VersionsIn(folder, error)) {
      total += entry.size;
      all.push_back(std::move(entry));
    }
  }
  if (total <= limit) {
    return;
  }
  std::sort(all.begin(), all.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  for (const Entry& entry : all) {
    if (total <= limit) {
      break;
    }
    if (entry.path != keep) {
      Remove(entry, total);
    }
  }
}

}  // namespace

Result<KeptCopy> KeepVersion(const std::string& path, const std::string& bytes,
                             const VersionLimits& limits) {
  KeptCopy result;
  const std::string root = VersionsRoot();
  result.folder = VersionFolderOf(path);
  if (root.empty()) {
    return Fail("~/.local/share/pelmora/versions", "no home folder is set");
  }
  if (Result<void> made = MakeVersionFolders(root, result.folder); !made) {
    return Fail(made.error());
  }
  int error = 0;
  std::vector<Entry> existing = VersionsIn(result.folder, error);
  if (error != 0) {
    return Fail(result.folder, std::strerror(error));
  }
  if (!existing.empty() && existing.back().size == bytes.size() &&
      SameBytes(existing.back().path, bytes)) {
    return result;
  }
  // The full path beside the versions, so a person looking into the folder knows whose they are.
  const std::string origin = result.folder + "/" + std::string(kOriginName);
  const std::string canonical = CanonicalPath(path) + "\n";
  if (existing.empty() || !SameBytes(origin, canonical)) {
    WriteFileAtomically(origin, canonical);
  }
  const std::string name = NewVersionName(existing);
  const std::string file = result.folder + "/" + name;
  // Written whole or not at all, but not synced: the disk would make the command that drops the
  // tickets several times slower, and the system writes it out within seconds anyway.
  static std::atomic<unsigned> counter{0};
  const std::string temp =
      result.folder + "/.keeping-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  if (const int error = WriteByRename(temp, file, bytes, false)) {
    return Fail(result.folder, std::strerror(error));
  }
  result.kept = true;
  result.when = WhenOf(name);
  existing.push_back({name, file, bytes.size()});
  std::uintmax_t ignored = 0;
  for (std::size_t k = 0; k + limits.perFile < existing.size() && existing[k].path != file; ++k) {
    Remove(existing[k], ignored);
  }
  PruneAll(root, file, limits.totalBytes);
  return result;
}

Result<VersionList> ListVersions(const std::string& path) {
  VersionList list;
  list.folder = VersionFolderOf(path);
  if (list.folder.empty()) {
    return Fail("", "no home folder is set");
  }
  // Versions are read only from folders that are the user's own and closed to other writers:
  // anything found elsewhere may have been put there by someone else.
  struct stat info {};
  if (::lstat(list.folder.c_str(), &info) != 0 && errno == ENOENT) {
    return list;
  }
  const std::string root = VersionsRoot();
  for (const std::string& folder : {root.substr(0, root.rfind('/')), root, list.folder}) {
    if (std::string reason = UnsafeReason(folder); !reason.empty()) {
      return Fail(folder, reason + "; no version is taken from there");
    }
  }
  int error = 0;
  for (Entry& entry : VersionsIn(list.folder, error)) {
    list.versions.push_back({WhenOf(entry.name), std::move(entry.path), entry.size});
  }
  if (error != 0 && error != ENOENT) {
    return Fail(list.folder, std::strerror(error));
  }
  return list;
}

Result<KeptVersion> FindVersion(const VersionList& list, const std::string& when) {
  const KeptVersion* found = nullptr;
  std::size_t matches = 0;
  for (const KeptVersion& version : list.versions) {
    if (version.when == when) {
      return version;
    }
    if (!when.empty() && version.when.starts_with(when)) {
      ++matches;
      found = &version;
    }
  }
  if (matches == 1) {
    return *found;
  }
  return Fail("", matches == 0 ? "no version kept at " + when
                               : std::to_string(matches) + " versions start with " + when +
                                     "; give more of the time");
}

ForgetResult ForgetVersions(const std::string& path) {
  ForgetResult result;
  const std::string folder = VersionFolderOf(path);
  if (folder.empty()) {
    result.write = Fail(path, "no home folder is set");
    return result;
  }
  int error = 0;
  std::uintmax_t ignored = 0;
  for (const Entry& entry : VersionsIn(folder, error)) {
    if (Remove(entry, ignored)) {
      ++result.removed;
    }
  }
  if (error == ENOENT) {
    return result;
  }
  if (error != 0) {
    result.write = Fail(folder, std::strerror(error));
    return result;
  }
  ::unlink((folder + "/" + std::string(kOriginName)).c_str());
  if (::rmdir(folder.c_str()) != 0) {
    result.write = Fail(folder, std::strerror(errno));
  }
  return result;
}

Result<void> KeepVersionBeforeChange(const std::string& path, std::string_view text,
                                     const FileContents& before) {
  if (!before.exists || text.empty()) {
    return {};
  }
  // A version holds the file's own bytes: a UTF-16 file is kept in UTF-16.
  const std::string bytes = before.encoding == FileEncoding::Bytes
                                ? std::string(text)
                                : EncodeFileText(text, before.encoding);
  if (Result<KeptCopy> kept = KeepVersion(path, bytes); !kept) {
    return Result<void>().Note(
        {{kept.error().path, kept.error().reason, ProblemKind::VersionNotKept}});
  }
  return {};
}

Result<void> RestoreDataFile(const std::string& path, const std::string& bytes) {
  Result<void> kept;
  Result<void> restored =
      ChangeDataFile(path, [&](ProfileDocument& doc, const FileContents& before) {
        if (doc.Original() == bytes) {
          return ChangeVerdict::Abandon;  // the file already holds that version
        }
        // Kept here: once the document is replaced, the bytes read are gone.
        kept = KeepVersionBeforeChange(path, doc.Original(), before);
        doc = ProfileDocument::Parse(bytes);
        doc.MarkModified();
        return ChangeVerdict::Write;
      });
  return restored.Note(kept.notes());
}

}  // namespace store
