// Rewrites a data file once for every byte it reads from standard input, alternating the two full
// ticket lists (the second list first; with "half", the first list is half as long), and says
// "done" after each rewrite. The fault tests start it, let it finish some rewrites, kill it during
// the next one and then look at the file.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "FaultTickets.h"
#include "store/TicketFile.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s DATA-FILE [half]\n", argv[0]);
    return 2;
  }
  const std::string path = argv[1];
  const std::vector<std::string> lists[2] = {faults::FullTicketList(0, argc == 3),
                                             faults::FullTicketList(1)};
  std::fputs("ready\n", stdout);
  std::fflush(stdout);
  char go = 0;
  for (unsigned long round = 1; ::read(STDIN_FILENO, &go, 1) == 1; ++round) {
    const store::Result<void> written = store::RewriteTickets(path, lists[round % 2]);
    if (!written) {
      std::fprintf(stderr, "%s: %s\n", written.error().path.c_str(),
                   written.error().reason.c_str());
      return 1;
    }
    std::fputs("done\n", stdout);
    std::fflush(stdout);
  }
  return 0;
}
