// Loaded with LD_PRELOAD: flock() fails as on a file system that cannot lock.
#include <cerrno>

extern "C" int flock(int, int) {
  errno = ENOLCK;
  return -1;
}
