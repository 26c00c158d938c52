#pragma once

#include <stdlib.h>

#include <string>

namespace test_support {

// While it lives, earlier versions of data files are kept under `folder`; afterwards the data
// home is as before, so one test's versions never reach another's.
class VersionsHome {
 public:
  explicit VersionsHome(const std::string& folder) {
    if (const char* old = std::getenv("XDG_DATA_HOME")) {
      oldDataHome_ = old;
    }
    ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
  }
  ~VersionsHome() { ::setenv("XDG_DATA_HOME", oldDataHome_.c_str(), 1); }
  VersionsHome(const VersionsHome&) = delete;
  VersionsHome& operator=(const VersionsHome&) = delete;

 private:
  std::string oldDataHome_;
};

}  // namespace test_support
