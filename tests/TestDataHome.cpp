// Linked into every test program: points the user's data folder (where earlier versions of data
// files are kept) at a fresh temporary folder for the whole run, so no test writes into the real
// home, and removes it afterwards. Programs the tests start inherit it.
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace {

class TestDataHome {
 public:
  TestDataHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pelmora-data-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
      folder_ = pattern;
      ::setenv("XDG_DATA_HOME", folder_.c_str(), 1);
      // The prize table too: a user's own amounts must not change what a test sees.
      ::setenv("XDG_CONFIG_HOME", (folder_ + "/config").c_str(), 1);
    } else {
      // Better no versions at all than versions in the real home.
      ::setenv("XDG_DATA_HOME", "/nonexistent/pelmora-test-data", 1);
      ::setenv("XDG_CONFIG_HOME", "/nonexistent/pelmora-test-config", 1);
    }
  }
  ~TestDataHome() {
    if (!folder_.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(folder_, ignored);
    }
  }
  TestDataHome(const TestDataHome&) = delete;
  TestDataHome& operator=(const TestDataHome&) = delete;

 private:
  std::string folder_;
};

const TestDataHome gTestDataHome;

}  // namespace
