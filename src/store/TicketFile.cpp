#include "store/TicketFile.h"

#include <charconv>

#include "store/AtomicFile.h"
#include "store/PlayNumber.h"
#include "store/ProfileDocument.h"
#include "store/TextUtil.h"

namespace store {

namespace {

// The count's spelling where it is read before a change or written when raised by one. Names
// compare without regard to case, so it matters only when the count line is new.
constexpr std::string_view kTotalKeyAsRaised = "Total";

// The decimal text of a number, as written for counts and ticket keys.
class DecimalText {
 public:
  explicit DecimalText(long long number) {
    const auto result = std::to_chars(buffer_, buffer_ + sizeof buffer_, number);
    size_ = static_cast<std::size_t>(result.ptr - buffer_);
  }
  std::string_view view() const { return {buffer_, size_}; }
  operator std::string_view() const { return view(); }

 private:
  char buffer_[24];
  std::size_t size_ = 0;
};

// Writes the document unless it would leave the file as it already is.
WriteResult Store(const std::string& path, const FileContents& file, const ProfileDocument& doc) {
  if (file.status == ReadStatus::Ok && !doc.IsModified()) {
    return WriteResult::Success();
  }
  return WriteFileAtomically(path, doc.Serialize());
}

// The number a ticket key names when its name is the plain decimal text of a possible ticket
// number ("1" to "32767", no sign, blank or leading zero), else 0: no other name is ever read
// as a ticket.
int TicketNumberOf(std::string_view name) {
  if (name.empty() || name.size() > 5 || name.front() == '0') {
    return 0;
  }
  int number = 0;
  for (const char c : name) {
    if (c < '0' || c > '9') {
      return 0;
    }
    number = number * 10 + (c - '0');
  }
  return number <= kMaxTickets ? number : 0;
}

}  // namespace

TicketList ReadAllTickets(const std::string& path) {
  return ParseTickets(ReadWholeFile(path).bytes);
}

TicketList ParseTickets(std::string_view bytes) {
  // One pass over the section, keeping the first line of each name as a read of each key would;
  // no document is needed for reading.
  TicketList list;
  std::string_view total;
  bool totalSeen = false;
  bool winningSeen = false;
  std::vector<bool> ticketSeen;
  ProfileDocument::ForEachKey(bytes, kSection, [&](std::string_view name, std::string_view value) {
    value = value.substr(0, kMaxProfileValueLength);
    if (!totalSeen && EqualsIgnoringAsciiCase(name, kTotalKey)) {
      total = value;
      totalSeen = true;
    } else if (!winningSeen && EqualsIgnoringAsciiCase(name, kWinningKey)) {
      list.winning = value;
      winningSeen = true;
    } else if (const int k = TicketNumberOf(name); k > 0) {
      const auto index = static_cast<std::size_t>(k - 1);
      if (index >= ticketSeen.size()) {
        ticketSeen.resize(index + 1);
        list.tickets.resize(index + 1);
      }
      if (!ticketSeen[index]) {
        ticketSeen[index] = true;
        list.tickets[index] = value;
      }
    }
    return true;
  });
  list.countText = total;
  list.count = ConvertCount(total);
  if (!list.count.ok || list.count.value < 1) {
    list.tickets.clear();
  } else {
    list.tickets.resize(static_cast<std::size_t>(list.count.value));
  }
  return list;
}

CountFault JudgeCount(std::string_view text, const CountResult& count) {
  if (text.empty()) {
    return CountFault::Missing;
  }
  if (!count.ok) {
    return count.errorCode == kOverflow ? CountFault::OutOfRange : CountFault::NotANumber;
  }
  return count.value < 0 ? CountFault::Negative : CountFault::None;
}

int AppendToDocument(ProfileDocument& doc, int count, const std::vector<std::string>& tickets) {
  for (const std::string& ticket : tickets) {
    const DecimalText key(++count);
    doc.Set(kSection, kTotalKeyAsRaised, key);
    doc.Set(kSection, key, ticket);
  }
  return count;
}

WriteResult AddTicket(const std::string& path, int newCount, const std::string& ticket) {
  if (std::string reason = ProfileDocument::RejectReason(kSection, DecimalText(newCount), ticket);
      !reason.empty()) {
    return WriteResult::Failure(path, std::move(reason));
  }
  FileContents file = ReadWholeFile(path);
  if (file.status == ReadStatus::Failed) {
    return WriteResult::Failure(path, file.reason);
  }
  ProfileDocument doc = ProfileDocument::ParseOwning(std::move(file.bytes));
  AppendToDocument(doc, newCount - 1, {ticket});
  return Store(path, file, doc);
}

AppendResult AppendTicket(const std::string& path, const std::string& ticket) {
  AppendResult result;
  if (std::string reason = ProfileDocument::RejectReason(kSection, "1", ticket); !reason.empty()) {
    result.write = WriteResult::Failure(path, std::move(reason));
    return result;
  }
  FileContents file = ReadWholeFile(path);
  if (file.status == ReadStatus::Failed) {
    result.write = WriteResult::Failure(path, file.reason);
    return result;
  }
  ProfileDocument doc = ProfileDocument::ParseOwning(std::move(file.bytes));
  result.countText = doc.Get(kSection, kTotalKey);
  result.count = ConvertCount(result.countText);
  result.fault = JudgeCount(result.countText, result.count);
  result.full = result.fault == CountFault::None && result.count.value >= kMaxTickets;
  if (result.fault != CountFault::None || result.full) {
    result.write = WriteResult::Success();
    return result;
  }
  AppendToDocument(doc, result.count.value, {ticket});
  result.write = Store(path, file, doc);
  return result;
}

WriteResult RewriteTickets(const std::string& path, const std::vector<std::string>& tickets) {
  for (const std::string& ticket : tickets) {
    if (std::string reason = ProfileDocument::RejectReason(kSection, "1", ticket);
        !reason.empty()) {
      return WriteResult::Failure(path, std::move(reason));
    }
  }
  FileContents file = ReadWholeFile(path);
  if (file.status == ReadStatus::Failed) {
    return WriteResult::Failure(path, file.reason);
  }
  ProfileDocument doc = ProfileDocument::ParseOwning(std::move(file.bytes));
  const CountResult old = ConvertCount(doc.Get(kSection, kTotalKeyAsRaised));
  const long long oldCount = old.ok ? old.value : 0;
  const long long newCount = static_cast<long long>(tickets.size());
  for (long long k = newCount + 1; k <= oldCount; ++k) {
    doc.Delete(kSection, DecimalText(k));
  }
  doc.Set(kSection, kTotalKey, DecimalText(newCount));
  for (std::size_t i = 0; i < tickets.size(); ++i) {
    doc.Set(kSection, DecimalText(static_cast<long long>(i) + 1), tickets[i]);
  }
  return Store(path, file, doc);
}

StartResult StartDataFile(const std::string& path) {
  StartResult result;
  FileContents file = ReadWholeFile(path);
  if (file.status == ReadStatus::Failed) {
    // The file is there but its count cannot be read, which is what a count that is not a
    // number gives; the reason says why.
    result.errorCode = kTypeMismatch;
    result.write = WriteResult::Failure(path, file.reason);
    return result;
  }
  ProfileDocument doc = ProfileDocument::ParseOwning(std::move(file.bytes));
  if (file.status == ReadStatus::Ok) {
    const CountResult old = ConvertCount(doc.Get(kSection, kTotalKeyAsRaised));
    if (!old.ok) {
      result.errorCode = old.errorCode;
      return result;
    }
    for (int k = 1; k <= old.value; ++k) {
      doc.Delete(kSection, DecimalText(k));
    }
  }
  doc.Set(kSection, kTotalKey, "0");
  doc.Set(kSection, kWinningKey, kEmptyPlayNumber);
  result.write = Store(path, file, doc);
  return result;
}

}  // namespace store
