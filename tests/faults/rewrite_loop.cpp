// Rewrites a data file over and over, alternating the two full ticket lists, until it is killed.
// The fault tests start it, kill it at random moments and then look at what the file holds.
#include <cstdio>
#include <string>

#include "FaultTickets.h"
#include "store/TicketFile.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DATA-FILE\n", argv[0]);
    return 2;
  }
  const std::string path = argv[1];
  const std::vector<std::string> lists[2] = {faults::FullTicketList(0), faults::FullTicketList(1)};
  std::fputs("ready\n", stdout);
  std::fflush(stdout);
  for (unsigned long round = 1;; ++round) {
    const store::Result<void> written = store::RewriteTickets(path, lists[round % 2]);
    if (!written) {
      std::fprintf(stderr, "%s: %s\n", written.error().path.c_str(),
                   written.error().reason.c_str());
      return 1;
    }
  }
}
