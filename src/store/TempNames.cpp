#include "store/TempNames.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string_view>

namespace store {

namespace {

constexpr std::string_view kPrefix = ".pm";
constexpr std::size_t kHashDigits = 8;
constexpr std::size_t kTagDigits = 4;

std::string NameHash(const std::string& name) {
  std::uint32_t hash = 2166136261u;
  for (const char c : name) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  char text[kHashDigits + 1];
  std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(hash));
  return std::string(text, kHashDigits);
}

// The writer's process id when `entry` is exactly "<stem><pid>.<tag>", else 0.
pid_t WriterOf(std::string_view entry, std::string_view stem) {
  if (!entry.starts_with(stem)) {
    return 0;
  }
  entry.remove_prefix(stem.size());
  const std::size_t dot = entry.find('.');
  if (dot == std::string_view::npos || dot == 0 || dot > 10 || entry.front() == '0') {
    return 0;
  }
  const std::string_view tag = entry.substr(dot + 1);
  if (tag.size() != kTagDigits || tag.find_first_not_of("0123456789abcdef") != tag.npos) {
    return 0;
  }
  long long pid = 0;
  const auto [end, error] = std::from_chars(entry.data(), entry.data() + dot, pid);
  if (error != std::errc() || end != entry.data() + dot || pid <= 0 || pid > INT32_MAX) {
    return 0;
  }
  return static_cast<pid_t>(pid);
}

}  // namespace

int CreateTempFileFor(const std::string& folder, const std::string& name, std::string& tempPath) {
  thread_local std::mt19937 random{std::random_device{}()};
  const std::string stem =
      folder + "/" + std::string(kPrefix) + NameHash(name) + "." + std::to_string(::getpid()) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    char tag[kTagDigits + 1];
    std::snprintf(tag, sizeof tag, "%04x", static_cast<unsigned>(random() & 0xFFFF));
    tempPath = stem + tag;
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) {
      return fd;
    }
  }
  errno = EEXIST;
  return -1;
}

std::string LockFilePathFor(const std::string& folder, const std::string& name) {
  return folder + "/" + std::string(kPrefix) + NameHash(name) + ".lock";
}

void RemoveLeftoverTempFiles(const std::string& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) {
    return;
  }
  const std::string stem = std::string(kPrefix) + NameHash(name) + ".";
  const pid_t self = ::getpid();
  while (const dirent* entry = ::readdir(dir)) {
    const pid_t writer = WriterOf(entry->d_name, stem);
    if (writer == 0 || writer == self) {
      continue;
    }
    // Only a process that is certainly gone; EPERM means it lives under another user.
    if (::kill(writer, 0) != 0 && errno == ESRCH) {
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

}  // namespace store
