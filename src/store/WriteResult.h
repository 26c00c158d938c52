#pragma once

#include <string>

namespace store {

// Outcome of a change to a file on disk. A failure carries the path and the reason so the
// caller can tell the user exactly what went wrong.
struct WriteResult {
  bool ok = true;
  std::string path;
  std::string reason;

  static WriteResult Success() { return {}; }
  static WriteResult Failure(std::string path, std::string reason) {
    return {false, std::move(path), std::move(reason)};
  }
  explicit operator bool() const { return ok; }
};

}  // namespace store
