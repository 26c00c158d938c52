// Tickets read ahead are handed over only while the file is the one read, unchanged.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "store/ReadAhead.h"

namespace {

using Tickets = std::vector<std::string>;

const char kFirst[] = "[Numbers]\r\nTOTAL=1\r\n1=01-02-03-04-05-06\r\n";
const char kLonger[] = "[Numbers]\r\nTOTAL=2\r\n1=01-02-03-04-05-06\r\n2=07-08-09-10-11-12\r\n";

struct Between {
  const char* name;
  bool existsWhenRead;
  // What happens to the data file between the read and the take; `spare` is a free name beside it.
  std::function<void(const std::string& data, const std::string& spare)> change;
  bool takeOther;
  Tickets expected;
};

class ReadAheadTest : public store_test::TempFolderTest,
                      public ::testing::WithParamInterface<Between> {};

TEST_P(ReadAheadTest, TakesTheFileAsItIsWhenTaken) {
  const Between& c = GetParam();
  const std::string path = PathOf("data.pmd");
  const std::string other = PathOf("other.pmd");
  if (c.existsWhenRead)
    WriteBytes(path, kFirst);
  WriteBytes(other, kLonger);

  store::TicketsReadAhead early;
  early.Read(path);
  c.change(path, PathOf("new.pmd"));
  EXPECT_EQ(early.Take(c.takeOther ? other : path).tickets, c.expected);
}

const Tickets kOne{"01-02-03-04-05-06"};
const Tickets kTwo{"01-02-03-04-05-06", "07-08-09-10-11-12"};

INSTANTIATE_TEST_SUITE_P(
    Changes, ReadAheadTest,
    ::testing::Values(Between{"Unchanged", true, [](auto&, auto&) {}, false, kOne},
                      Between{"ReplacedByRename", true,
                              [](auto& data, auto& spare) {
                                test_support::WriteBytes(spare, kLonger);
                                std::rename(spare.c_str(), data.c_str());
                              },
                              false, kTwo},
                      Between{"RewrittenInPlace", true,
                              [](auto& data, auto&) { test_support::WriteBytes(data, kLonger); },
                              false, kTwo},
                      Between{"Removed", true, [](auto& data, auto&) { std::remove(data.c_str()); },
                              false, Tickets{}},
                      Between{"CreatedAfterTheRead", false,
                              [](auto& data, auto&) { test_support::WriteBytes(data, kLonger); },
                              false, kTwo},
                      Between{"AnotherFileWanted", true, [](auto&, auto&) {}, true, kTwo}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
