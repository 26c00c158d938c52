#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/TicketFile.h"
#include "store/TicketTexts.h"

namespace {

// A list read from a file (alone, or among much other text) deletes and adds tickets in order.
TEST(TicketTextsTest, ListFromAFileOfMostlyOtherTextKeepsItsTickets) {
  const std::string other = "[Other]\r\nnote=" + std::string(1 << 20, 'x') + "\r\n";
  for (const std::string& padding : {std::string(), other}) {
    store::TicketList list = store::ParseTickets(
        padding + "[Numbers]\r\nTOTAL=4\r\n1=01-02-03-04-05-06\r\n2=\r\n4=07-08-09-10-11-12\r\n" +
        padding);
    EXPECT_EQ(list.tickets,
              (std::vector<std::string>{"01-02-03-04-05-06", "", "", "07-08-09-10-11-12"}));
    list.tickets.RemoveMarked({1, 0, 1, 0});
    list.tickets.push_back("13-14-15-16-17-18");
    EXPECT_EQ(list.tickets,
              (std::vector<std::string>{"", "07-08-09-10-11-12", "13-14-15-16-17-18"}));
  }
}

}  // namespace
