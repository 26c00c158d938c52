#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/CountConversion.h"
#include "store/Problem.h"
#include "store/ProfileDocument.h"
#include "store/TicketRules.h"
#include "store/TicketTexts.h"

namespace store {

struct TicketList {
  CountResult count = ConvertCount({});  // the conversion of TOTAL as read
  TicketTexts tickets;                   // keys "1".."count" in key order; a missing key is ""
  std::string countText;                 // TOTAL as read, as a read of that key gives it
  std::string winning;                   // W as read, as a read of that key gives it
};

// Reads TOTAL ("Numbers"/"TOTAL"), converts it, and reads keys 1..count and W, all from one read
// of the file. When the count cannot be converted, or is below 1, the list is empty.
TicketList ReadAllTickets(const std::string& path);
// The same from the bytes of a file already read.
TicketList ParseTickets(std::string bytes);

// Why no ticket can be added after a count read as `text`: it is missing, not a number, out of
// the 16-bit range, or below 0. A full file (kMaxTickets) is the caller's to judge.
enum class CountFault { None, Missing, NotANumber, OutOfRange, Negative };
CountFault JudgeCount(std::string_view text, const CountResult& count);
// What is wrong with a count read as `text`, as both programs say it ("the ticket count (TOTAL)
// \"two\" is not a number"); empty for None.
std::string CountFaultText(std::string_view text, CountFault fault);

// Adds tickets after key `count` one at a time, as Save/Next does: "Total" raised to the
// ticket's key, then the key. Returns the new count.
int AppendToDocument(ProfileDocument& doc, int count, const std::vector<std::string>& tickets);

// Adds one ticket after the file's count, reading and writing the file once, and gives the new
// count. Nothing is written when the count has a fault (a problem of kind NotANumber for a
// missing count or one that is not a number, OutOfRange for one outside 0..kMaxTickets) or the
// file is already full (kind Full); the reason then says so in a sentence for a person.
Result<int> AppendTicket(const std::string& path, const std::string& ticket);

// Rewrites the section from a list: keys list.size()+1..oldCount are deleted ("Numbers"/"Total"
// is read for oldCount, 0 when missing), TOTAL is written with the new length, and keys 1..n in
// list order; W and everything else are left alone. One read, one write. A count that is there
// but is not a number or is out of range fails with the reason and writes nothing: which keys
// hold the file's tickets is not known.
Result<void> RewriteTickets(const std::string& path, const TicketTexts& tickets);

// RewriteTickets for a list shown to a person: `loaded` is what the list was last loaded from or
// written as. Only when the file, as read under the lock, still holds exactly those tickets (its
// count and keys 1..count, as ReadAllTickets reads them) is the section rewritten; otherwise
// another program has changed the file, nothing is written and the problem is of kind
// FileChanged. The tickets marked in `leaveOut` are not written, so that deleting marked tickets
// from a list of tens of thousands needs no second list.
Result<void> RewriteTicketsIfUnchanged(const std::string& path, const TicketTexts& loaded,
                                       const TicketTexts& tickets,
                                       const std::vector<std::uint8_t>& leaveOut = {});

// Starts a data file: TOTAL = "0" then W = "00-00-00-00-00-00". When the file exists, the
// ticket keys 1..old count are deleted first; a count that cannot be converted fails with that
// conversion's problem and leaves the file untouched. A file that exists but cannot be read
// counts as a count that is not a number: kind NotANumber, with the reason it could not be read.
// Any other problem is a failed write, of kind Failed.
Result<void> StartDataFile(const std::string& path);
// The two lines StartDataFile writes, in its order: TOTAL = "0", then the empty winning number.
void StartDocument(ProfileDocument& doc);

}  // namespace store
