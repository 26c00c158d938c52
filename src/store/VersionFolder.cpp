#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "store/AtomicFile.h"
#include "store/VersionFolder.h"
#include "store/Versions.h"

namespace store {

namespace {

constexpr std::size_t kMaxNamePart = 48;

std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

}  // namespace

std::uint64_t HashOfBytes(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const unsigned char c : bytes) {
    hash = (hash ^ c) * 0x100000001b3ULL;
  }
  return hash;
}

std::string UserFilePath(const char* variable, std::string_view fallback, std::string_view name) {
  std::string folder;
  if (const char* set = std::getenv(variable); set != nullptr && set[0] == '/') {
    folder = set;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    folder = std::string(home) + "/" + std::string(fallback);
  } else {
    return {};
  }
  return folder + "/" + std::string(name);
}

std::string CanonicalPath(const std::string& path) {
  if (std::string real = RealPath(path); !real.empty()) {
    return real;
  }
  std::string folder = RealPath(FolderOf(path));
  if (folder.empty()) {
    if (!path.starts_with('/')) {
      char cwd[PATH_MAX];
      if (::getcwd(cwd, sizeof cwd) != nullptr) {
        return std::string(cwd) + "/" + path;
      }
    }
    return path;
  }
  return (folder == "/" ? "" : folder) + "/" + NameOf(path);
}

namespace {

std::string ShortHash(const std::string& text) {
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(HashOfBytes(text)));
  return std::string(hex, 12);
}

// Lets a folder name carry the data file's name while keeping to safe, printable bytes.
std::string SafeName(const std::string& name) {
  std::string safe;
  for (const char c : name.substr(0, kMaxNamePart)) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '_' || c == '-';
    safe.push_back(plain ? c : '_');
  }
  if (safe.empty() || safe.front() == '.') {
    safe.insert(safe.begin(), '_');
  }
  return safe;
}

// Makes `folder` when missing and checks that it is the user's own folder and closed to others.
// A folder of ours that others may enter is closed; a link or someone else's folder is refused.
std::string MakePrivateFolder(const std::string& folder) {
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    return std::strerror(errno);
  }
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0) {
    return std::strerror(errno);
  }
  if (!S_ISDIR(info.st_mode)) {
    return S_ISLNK(info.st_mode) ? "it is a symbolic link" : std::strerror(ENOTDIR);
  }
  if (info.st_uid != ::geteuid()) {
    return "it belongs to another user";
  }
  if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) {
    return std::strerror(errno);
  }
  return {};
}

// The parents of the versions folder are ordinary folders of the user's data folder.
std::string MakeParents(const std::string& root) {
  std::string partial;
  std::size_t from = 1;
  const std::string parents = FolderOf(root);
  while (from <= parents.size()) {
    const std::size_t slash = std::min(parents.find('/', from), parents.size());
    partial = parents.substr(0, slash);
    if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
      return std::strerror(errno);
    }
    from = slash + 1;
  }
  return {};
}

}  // namespace

Result<void> MakeVersionFolders(const std::string& root, const std::string& folder) {
  for (std::string reason : {MakeParents(root), MakePrivateFolder(root)}) {
    if (!reason.empty()) {
      return Fail(root, std::move(reason));
    }
  }
  if (std::string reason = MakePrivateFolder(folder); !reason.empty()) {
    return Fail(folder, std::move(reason));
  }
  return {};
}

std::string UnsafeReason(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) {
    return std::strerror(errno);
  }
  if (S_ISLNK(info.st_mode)) {
    return "it is a symbolic link";
  }
  if (info.st_uid != ::geteuid()) {
    return "it belongs to another user";
  }
  if ((info.st_mode & 022) != 0) {
    return "other users may write to it";
  }
  return {};
}

std::string VersionsRoot() {
  std::string data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
    data = xdg;
  } else {
    std::string home;
    if (const char* env = std::getenv("HOME"); env != nullptr && env[0] == '/') {
      home = env;
    } else if (const passwd* user = ::getpwuid(::geteuid());
               user != nullptr && user->pw_dir != nullptr) {
      home = user->pw_dir;
    }
    if (home.empty()) {
      return {};
    }
    data = home + "/.local/share";
  }
  while (data.size() > 1 && data.back() == '/') {
    data.pop_back();
  }
  return data + "/pelmora/versions";
}

std::string VersionFolderOf(const std::string& path) {
  const std::string root = VersionsRoot();
  if (root.empty()) {
    return {};
  }
  const std::string canonical = CanonicalPath(path);
  return root + "/" + SafeName(NameOf(canonical)) + "-" + ShortHash(canonical);
}

}  // namespace store
