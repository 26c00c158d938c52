#include "store/TicketFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>

#include "store/AtomicFile.h"
#include "store/DataFileChange.h"
#include "store/PlayNumber.h"
#include "store/ProfileDocument.h"
#include "store/TextUtil.h"

namespace store {

namespace {

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

// Why the section cannot be rewritten over a count read as `text`, or the empty text when it
// can. A missing count is that of a new file, and counts nothing.
std::string CountRefusal(std::string_view text, const CountResult& count) {
  switch (JudgeCount(text, count)) {
    case CountFault::NotANumber:
      return "The ticket count (TOTAL) \"" + std::string(text) +
             "\" is not a number, so the play numbers it counts are not known.";
    case CountFault::OutOfRange:
      return "The ticket count (TOTAL) " + std::string(text) + " is outside 0 to " +
             std::to_string(kMaxTickets) + ".";
    case CountFault::Missing:
    case CountFault::Negative:
    case CountFault::None:
      break;
  }
  return {};
}

// The tickets of a data file's bytes as spans of them: one pass over the section, keeping the
// first line of each name as a read of each key would, so no document is needed.
struct TicketSpans {
  CountResult count;
  std::string_view countText;       // TOTAL as a read of that key gives it
  std::string_view winning;         // W as a read of that key gives it
  std::vector<TextSpan> spans;      // keys 1..count; a missing key is ""
  std::vector<std::uint8_t> flags;  // kSeen, kPlain

  static constexpr std::uint8_t kSeen = 1;
  // The key's line is exactly "<key>=<value>", so writing the same value changes nothing.
  static constexpr std::uint8_t kPlain = 2;

  std::size_t size() const { return spans.size(); }
  std::string_view Ticket(std::string_view bytes, std::size_t i) const {
    return bytes.substr(spans[i].offset, spans[i].size);
  }
  bool Plain(std::size_t i) const { return (flags[i] & kPlain) != 0; }
};

// Whether a key line read as `name` and `value` (views into `bytes`) is exactly "name=value".
bool IsPlainLine(std::string_view bytes, std::string_view name, std::string_view value) {
  const char* const end = bytes.data() + bytes.size();
  const char* const after = value.data() + value.size();
  return name.data() > bytes.data() && (name.data()[-1] == '\n' || name.data()[-1] == '\r') &&
         value.data() == name.data() + name.size() + 1 &&
         (after == end || *after == '\r' || *after == '\n');
}

TicketSpans SpanTickets(std::string_view bytes) {
  TicketSpans list;
  std::string_view& total = list.countText;
  bool totalSeen = false;
  bool winningSeen = false;
  ProfileDocument::ForEachKey(bytes, kSection, [&](std::string_view name, std::string_view value) {
    const bool plain = value.size() <= kMaxProfileValueLength && IsPlainLine(bytes, name, value);
    value = value.substr(0, kMaxProfileValueLength);
    if (!totalSeen && EqualsIgnoringAsciiCase(name, kTotalKey)) {
      total = value;
      totalSeen = true;
      // The count comes first in the files the program writes: size the list once.
      if (const CountResult count = ConvertCount(total); count.ok && count.value > 0) {
        list.spans.reserve(static_cast<std::size_t>(count.value));
        list.flags.reserve(static_cast<std::size_t>(count.value));
      }
    } else if (!winningSeen && EqualsIgnoringAsciiCase(name, kWinningKey)) {
      list.winning = value;
      winningSeen = true;
    } else if (const int k = TicketNumberOf(name); k > 0) {
      const auto index = static_cast<std::size_t>(k - 1);
      if (index >= list.spans.size()) {
        list.spans.resize(index + 1);
        list.flags.resize(index + 1);
      }
      if ((list.flags[index] & TicketSpans::kSeen) == 0) {
        // An empty value may have no place in `bytes`; its span is as good anywhere.
        list.spans[index].offset = value.data() ? value.data() - bytes.data() : 0;
        list.spans[index].size = value.size();
        list.flags[index] = TicketSpans::kSeen | (plain ? TicketSpans::kPlain : 0);
      }
    }
    return true;
  });
  list.count = ConvertCount(total);
  const std::size_t count = list.count.ok && list.count.value > 0 ? list.count.value : 0;
  list.spans.resize(count);
  list.flags.resize(count);
  return list;
}

}  // namespace

TicketList ReadAllTickets(const std::string& path) {
  return ParseTickets(std::move(ReadWholeFile(path).bytes));
}

TicketList ParseTickets(std::string bytes) {
  TicketSpans spans = SpanTickets(bytes);
  TicketList list;
  list.count = spans.count;
  list.countText = spans.countText;
  list.winning = spans.winning;
  // The spans are of `bytes`, which the list takes over, so no ticket is copied.
  list.tickets = TicketTexts(std::move(bytes), std::move(spans.spans));
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
    doc.Set(kSection, kTotalKeyAsAdded, key);
    doc.Set(kSection, key, ticket);
  }
  return count;
}

WriteResult AddTicket(const std::string& path, int newCount, const std::string& ticket) {
  if (std::string reason = ProfileDocument::RejectReason(kSection, DecimalText(newCount), ticket);
      !reason.empty()) {
    return WriteResult::Failure(path, std::move(reason));
  }
  return ChangeDataFile(path, [&](ProfileDocument& doc, const FileContents&) {
    AppendToDocument(doc, newCount - 1, {ticket});
    return ChangeVerdict::Write;
  });
}

AppendResult AppendTicket(const std::string& path, const std::string& ticket) {
  AppendResult result;
  if (std::string reason = ProfileDocument::RejectReason(kSection, "1", ticket); !reason.empty()) {
    result.write = WriteResult::Failure(path, std::move(reason));
    return result;
  }
  result.write = ChangeDataFile(path, [&](ProfileDocument& doc, const FileContents&) {
    result.countText = doc.Get(kSection, kTotalKey);
    result.count = ConvertCount(result.countText);
    result.fault = JudgeCount(result.countText, result.count);
    result.full = result.fault == CountFault::None && result.count.value >= kMaxTickets;
    if (result.fault != CountFault::None || result.full) {
      return ChangeVerdict::Abandon;
    }
    AppendToDocument(doc, result.count.value, {ticket});
    return ChangeVerdict::Write;
  });
  return result;
}

namespace {

// Rewrites the section from `tickets`, less those `leaveOut` marks; with `loaded`, only when the
// file still holds those.
template <typename Tickets>
GuardedRewrite Rewrite(const std::string& path, const TicketTexts* loaded, const Tickets& tickets,
                       const std::vector<std::uint8_t>* leaveOut) {
  const auto kept = [&](std::size_t i) {
    return leaveOut == nullptr || i >= leaveOut->size() || (*leaveOut)[i] == 0;
  };
  GuardedRewrite result;
  long long newCount = 0;
  for (std::size_t i = 0; i < tickets.size(); ++i) {
    if (!kept(i)) {
      continue;
    }
    ++newCount;
    if (std::string reason = ProfileDocument::RejectReason(kSection, "1", tickets[i]);
        !reason.empty()) {
      result.write = WriteResult::Failure(path, std::move(reason));
      return result;
    }
  }
  std::string refusal;
  result.write = ChangeDataFile(path, [&](ProfileDocument& doc, const FileContents&) {
    const std::string_view bytes = doc.Original();
    const TicketSpans held = SpanTickets(bytes);
    if (loaded != nullptr && (held.size() != loaded->size() ||
                              !std::equal(loaded->begin(), loaded->end(), held.spans.begin(),
                                          [&](std::string_view a, TextSpan b) {
                                            return a == bytes.substr(b.offset, b.size);
                                          }))) {
      result.fileChanged = true;
      return ChangeVerdict::Abandon;
    }
    const std::string oldText = doc.Get(kSection, kTotalKeyAsAdded);
    // Which keys hold the file's tickets is known only from its count: written over a count that
    // cannot be read, the new list would leave old tickets outside it, to be overwritten later.
    refusal = CountRefusal(oldText, ConvertCount(oldText));
    if (!refusal.empty()) {
      return ChangeVerdict::Abandon;
    }
    const long long oldCount = held.count.ok ? held.count.value : 0;
    for (long long k = newCount + 1; k <= oldCount; ++k) {
      doc.Delete(kSection, DecimalText(k));
    }
    doc.Set(kSection, kTotalKey, DecimalText(newCount));
    // Tickets that were in the file and are not kept under the same key are lost to it.
    bool keepsTickets = held.size() <= static_cast<std::size_t>(newCount);
    std::size_t key = 0;
    for (std::size_t i = 0; i < tickets.size(); ++i) {
      if (!kept(i)) {
        continue;
      }
      const std::string_view ticket = tickets[i];
      const bool same = key < held.size() && held.Ticket(bytes, key) == ticket;
      keepsTickets = keepsTickets && (same || key >= held.size());
      ++key;
      // A key already holding its ticket is left alone: that is what Set would do, only dearer.
      if (!same || !held.Plain(key - 1)) {
        doc.Set(kSection, DecimalText(static_cast<long long>(key)), ticket);
      }
    }
    return keepsTickets ? ChangeVerdict::Write : ChangeVerdict::WriteAfterKeepingVersion;
  });
  if (!refusal.empty()) {
    result.write = WriteResult::Failure(path, std::move(refusal));
  }
  return result;
}

}  // namespace

WriteResult RewriteTickets(const std::string& path, const std::vector<std::string>& tickets) {
  return Rewrite(path, nullptr, tickets, nullptr).write;
}

GuardedRewrite RewriteTicketsIfUnchanged(const std::string& path, const TicketTexts& loaded,
                                         const TicketTexts& tickets,
                                         const std::vector<std::uint8_t>& leaveOut) {
  return Rewrite(path, &loaded, tickets, &leaveOut);
}

StartResult StartDataFile(const std::string& path) {
  StartResult result;
  bool seen = false;
  result.write = ChangeDataFile(path, [&](ProfileDocument& doc, const FileContents& before) {
    seen = true;
    bool dropsData = false;
    if (before.status == ReadStatus::Ok) {
      const CountResult old = ConvertCount(doc.Get(kSection, kTotalKeyAsAdded));
      if (!old.ok) {
        result.errorCode = old.errorCode;
        return ChangeVerdict::Abandon;
      }
      for (int k = 1; k <= old.value; ++k) {
        doc.Delete(kSection, DecimalText(k));
      }
      const std::string winning = doc.Get(kSection, kWinningKey);
      dropsData = old.value > 0 || (!winning.empty() && winning != kEmptyPlayNumber);
    }
    StartDocument(doc);
    return dropsData ? ChangeVerdict::WriteAfterKeepingVersion : ChangeVerdict::Write;
  });
  struct stat info {};
  if (!result.write.ok && !seen && ::stat(path.c_str(), &info) == 0) {
    // The file is there but its count cannot be read, which is what a count that is not a
    // number gives; the reason says why.
    result.errorCode = kTypeMismatch;
  }
  return result;
}

void StartDocument(ProfileDocument& doc) {
  doc.Set(kSection, kTotalKey, "0");
  doc.Set(kSection, kWinningKey, kEmptyPlayNumber);
}

}  // namespace store
