#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {
Platform* gInstalled = nullptr;
}

Platform& Current() {
  if (!gInstalled) {
    std::fputs("pelmora: no platform installed\n", stderr);
    std::abort();
  }
  return *gInstalled;
}

void Install(Platform* platform) {
  gInstalled = platform;
}

}  // namespace platform
