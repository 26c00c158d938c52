#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "store/LargeText.h"
#include "store/TicketFile.h"
#include "store/TicketTexts.h"

namespace {

// A data file that is mostly other text: the list does not keep the file's bytes for a few
// tickets, yet reads, deletes and adds the same as one that does.
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
    EXPECT_EQ(list.tickets.TextSize(), 34u);
  }
}

// Every byte asked for is there and the blocks do not overlap, at sizes around the whole pages the
// large ones are cut from.
TEST(TicketTextsTest, LargeBlocksHoldEveryByteAskedFor) {
  const std::vector<std::size_t> sizes = {1,        (512u << 10) - 1, 512u << 10, (2u << 20) - 1,
                                          2u << 20, (2u << 20) + 1,   4u << 20,   (6u << 20) + 7};
  std::vector<char*> blocks;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    blocks.push_back(static_cast<char*>(store::AllocateLargeBlock(sizes[i])));
    std::memset(blocks[i], static_cast<int>('a' + i), sizes[i]);
  }
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    EXPECT_EQ(std::string_view(blocks[i], sizes[i]),
              std::string(sizes[i], static_cast<char>('a' + i)))
        << sizes[i];
    store::FreeLargeBlock(blocks[i], sizes[i]);
  }
}

// A full data file's text lies in memory of its own kind (whole large pages): the list copies,
// grows and packs across that kind and the usual one without losing or mixing a ticket.
TEST(TicketTextsTest, FullListKeepsItsTicketsAcrossCopiesGrowthAndPacking) {
  std::string file = "[Numbers]\r\nTOTAL=32767\r\n";
  std::vector<std::string> expected;
  for (int k = 1; k <= 32767; ++k) {
    char ticket[18];
    std::snprintf(ticket, sizeof ticket, "%02d-%02d-%02d-%02d-%02d-%02d", k % 59 + 1,
                  k / 59 % 59 + 1, k % 7 + 1, k % 11 + 1, k % 13 + 1, k % 17 + 1);
    expected.emplace_back(ticket);
    file += std::to_string(k) + "=" + ticket + "\r\n";
  }
  store::TicketList list = store::ParseTickets(file);
  ASSERT_EQ(list.tickets, expected);

  store::TicketTexts copy = list.tickets;
  for (int k = 0; k < 40000; ++k) {
    copy.push_back(expected[static_cast<std::size_t>(k) % expected.size()]);
  }
  std::vector<std::uint8_t> marks(copy.size(), 1);
  marks[5] = marks[70000] = 0;
  copy.RemoveMarked(marks);
  EXPECT_EQ(copy, (std::vector<std::string>{expected[5], expected[(70000 - 32767) % 32767]}));
  EXPECT_EQ(list.tickets, expected);
}

}  // namespace
