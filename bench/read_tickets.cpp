// Reading all tickets of a data file in a fresh process, as start-up does.
#include <cstdio>

#include "store/TicketFile.h"

int main(int argc, char** argv) {
  if (argc != 2)
    return 2;
  const store::TicketList list = store::ReadAllTickets(argv[1]);
  std::printf("%zu\n", list.tickets.size());
  return 0;
}
