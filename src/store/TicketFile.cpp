#include "store/TicketFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <optional>

#include "store/AtomicFile.h"
#include "store/DataFileChange.h"
#include "store/MemoryPages.h"
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

// The number named by the run of digits at `p` in `text` when it is the plain decimal text of a
// possible ticket number ("1" to "32767", no leading zero), else 0; `p` is left after the digits
// (after a sixth at most, which is already too many).
inline int TicketNumberAt(std::string_view text, std::size_t& p) {
  const std::size_t start = p;
  const std::size_t limit = std::min(text.size(), start + 6);
  unsigned number = 0;
  for (; p < limit; ++p) {
    const unsigned digit = static_cast<unsigned char>(text[p]) - unsigned{'0'};
    if (digit > 9) {
      break;
    }
    number = number * 10 + digit;
  }
  const std::size_t digits = p - start;
  if (digits == 0 || digits > 5 || text[start] == '0' || number > kMaxTickets) {
    return 0;
  }
  return static_cast<int>(number);
}

// The number a ticket key names when its name is the plain decimal text of a possible ticket
// number, with no sign or blank, else 0: no other name is ever read as a ticket.
int TicketNumberOf(std::string_view name) {
  std::size_t p = 0;
  const int number = TicketNumberAt(name, p);
  return p == name.size() ? number : 0;
}

// Why a count read as `text` with `fault` refuses a change, for a person; `unknown` says what the
// fault leaves unknown ("... is not known").
std::string CountRefusal(std::string_view text, CountFault fault, std::string_view unknown) {
  switch (fault) {
    case CountFault::Missing:
      return "The ticket count (TOTAL) is missing, so " + std::string(unknown) + ".";
    case CountFault::NotANumber:
      return "The ticket count (TOTAL) \"" + std::string(text) + "\" is not a number, so " +
             std::string(unknown) + ".";
    case CountFault::OutOfRange:
    case CountFault::Negative:
      return "The ticket count (TOTAL) " + std::string(text) + " is outside 0 to " +
             std::to_string(kMaxTickets) + ".";
    case CountFault::None:
      break;
  }
  return {};
}

ProblemKind KindOf(CountFault fault) {
  return fault == CountFault::Missing || fault == CountFault::NotANumber ? ProblemKind::NotANumber
                                                                         : ProblemKind::OutOfRange;
}

// The tickets of a data file's bytes as spans of them: one pass over the section, keeping the
// first line of each name as a read of each key would, so no document is needed.
struct TicketSpans {
  CountResult count = ConvertCount({});
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

// A line "<ticket number>=<value>" with nothing to trim or unquote, the usual line of a data
// file: its number, and where its value starts and stops.
struct TicketLine {
  unsigned number = 0;
  std::size_t start = 0;
  std::size_t stop = 0;
};

// Reads the line at `lineStart` when it has that shape, as visiting it would read it: the digits
// are its whole name, so its first '=' follows them. False leaves the line to the visitor.
bool ReadTicketLine(std::string_view bytes, std::size_t lineStart, TicketLine& line) {
  std::size_t p = lineStart;
  const int number = TicketNumberAt(bytes, p);
  if (number == 0 || p == bytes.size() || bytes[p] != '=') {
    return false;
  }
  line.number = static_cast<unsigned>(number);
  line.start = p + 1;
  line.stop = scan::FindLineEnd(bytes, line.start);
  return line.stop - line.start <= kMaxProfileValueLength &&
         scan::IsBareValue(bytes, line.start, line.stop);
}

TicketSpans SpanTickets(std::string_view bytes) {
  TicketSpans list;
  std::string_view& total = list.countText;
  bool totalSeen = false;
  bool winningSeen = false;
  // Once the count is read, keys above it are known to be cut off at the end and are passed by.
  std::size_t cap = static_cast<std::size_t>(kMaxTickets);
  // Only keys read before the count, or in a file without one, make the list longer.
  const auto grow = [&list](std::size_t size) {
    list.spans.resize(size);
    list.flags.resize(size);
  };
  // Key k's value as read, when it is the first line of that key; `plain` as IsPlainLine.
  const auto keep = [&](unsigned k, std::string_view value, bool plain) {
    const std::size_t index = k - 1;
    if (index >= cap) {
      return;
    }
    if (index >= list.spans.size()) {
      grow(index + 1);
    }
    if ((list.flags[index] & TicketSpans::kSeen) == 0) {
      // An empty value may have no place in `bytes`; its span is as good anywhere.
      TextSpan& span = list.spans[index];
      span.offset = value.data() ? value.data() - bytes.data() : 0;
      span.size = value.size();
      list.flags[index] = TicketSpans::kSeen | (plain ? TicketSpans::kPlain : 0);
    }
  };
  const auto visit = [&](std::string_view name, std::string_view value) {
    // A name that is a ticket number is neither of the other two, so it is asked first.
    if (const int k = TicketNumberOf(name); k > 0) {
      keep(static_cast<unsigned>(k), value.substr(0, kMaxProfileValueLength),
           value.size() <= kMaxProfileValueLength && IsPlainLine(bytes, name, value));
    } else if (!totalSeen && EqualsIgnoringAsciiCase(name, kTotalKey)) {
      total = value.substr(0, kMaxProfileValueLength);
      totalSeen = true;
      const CountResult count = ConvertCount(total);
      cap = count && *count > 0 ? static_cast<std::size_t>(*count) : 0;
      // The count comes first in the files the program writes: size the list once.
      if (cap > list.spans.size()) {
        list.spans.reserve(cap);
        PreparePagesForWriting(list.spans.data(), cap * sizeof(TextSpan));
        list.spans.resize(cap);
        list.flags.resize(cap);
      }
    } else if (!winningSeen && EqualsIgnoringAsciiCase(name, kWinningKey)) {
      list.winning = value.substr(0, kMaxProfileValueLength);
      winningSeen = true;
    }
    return true;
  };
  const auto takeTicketLine = [&](std::size_t lineStart) {
    TicketLine line;
    if (!ReadTicketLine(bytes, lineStart, line)) {
      return std::string_view::npos;
    }
    // A plain line: its name starts a line (not the file), as IsPlainLine asks.
    keep(line.number, bytes.substr(line.start, line.stop - line.start),
         lineStart > 0 && (bytes[lineStart - 1] == '\n' || bytes[lineStart - 1] == '\r'));
    return scan::AfterLineEnd(bytes, line.stop);
  };
  scan::ForEachKey(bytes, kSection, visit, takeTicketLine);
  list.count = ConvertCount(total);
  const std::size_t count =
      list.count && *list.count > 0 ? static_cast<std::size_t>(*list.count) : 0;
  list.spans.resize(count);
  list.flags.resize(count);
  return list;
}

}  // namespace

TicketList ReadAllTickets(const std::string& path) {
  Result<LargeFileContents> file = ReadWholeLargeFile(path);
  return ParseTickets(file ? std::move(file->bytes) : LargeText());
}

TicketList ParseTickets(std::string_view bytes) {
  return ParseTickets(LargeText(bytes));
}

TicketList ParseTickets(LargeText bytes) {
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
  if (!count) {
    return count.error().kind == ProblemKind::OutOfRange ? CountFault::OutOfRange
                                                         : CountFault::NotANumber;
  }
  return *count < 0 ? CountFault::Negative : CountFault::None;
}

int AppendToDocument(ProfileDocument& doc, int count, const std::vector<std::string>& tickets) {
  for (const std::string& ticket : tickets) {
    const DecimalText key(++count);
    doc.Set(kSection, kTotalKeyAsAdded, key);
    doc.Set(kSection, key, ticket);
  }
  return count;
}

Result<void> AddTicket(const std::string& path, int newCount, const std::string& ticket) {
  if (std::string reason = ProfileDocument::RejectReason(kSection, DecimalText(newCount), ticket);
      !reason.empty()) {
    return Fail(path, std::move(reason));
  }
  return ChangeDataFile(path, [&](ProfileDocument& doc, const FileContents&) {
    AppendToDocument(doc, newCount - 1, {ticket});
    return ChangeVerdict::Write;
  });
}

Result<int> AppendTicket(const std::string& path, const std::string& ticket) {
  if (std::string reason = ProfileDocument::RejectReason(kSection, "1", ticket); !reason.empty()) {
    return Fail(path, std::move(reason));
  }
  int added = 0;
  std::optional<Problem> refusal;
  const Result<void> written = ChangeDataFile(path, [&](ProfileDocument& doc, const FileContents&) {
    const std::string text = doc.Get(kSection, kTotalKey);
    const CountResult count = ConvertCount(text);
    if (const CountFault fault = JudgeCount(text, count); fault != CountFault::None) {
      refusal =
          Problem{path, CountRefusal(text, fault, "the number of the next ticket is not known"),
                  KindOf(fault)};
      return ChangeVerdict::Abandon;
    }
    if (*count >= kMaxTickets) {
      refusal = Problem{path,
                        "The file already holds " + std::to_string(kMaxTickets) +
                            " play numbers, the most a data file can hold.",
                        ProblemKind::Full};
      return ChangeVerdict::Abandon;
    }
    added = AppendToDocument(doc, *count, {ticket});
    return ChangeVerdict::Write;
  });
  if (refusal) {
    return Fail(std::move(*refusal));
  }
  if (!written) {
    return Fail(written.error());
  }
  return added;
}

namespace {

// Rewrites the section from `tickets`, less those `leaveOut` marks; with `loaded`, only when the
// file still holds those.
template <typename Tickets>
Result<void> Rewrite(const std::string& path, const TicketTexts* loaded, const Tickets& tickets,
                     const std::vector<std::uint8_t>* leaveOut) {
  const auto kept = [&](std::size_t i) {
    return leaveOut == nullptr || i >= leaveOut->size() || (*leaveOut)[i] == 0;
  };
  long long newCount = 0;
  for (std::size_t i = 0; i < tickets.size(); ++i) {
    if (!kept(i)) {
      continue;
    }
    ++newCount;
    if (std::string reason = ProfileDocument::RejectReason(kSection, "1", tickets[i]);
        !reason.empty()) {
      return Fail(path, std::move(reason));
    }
  }
  std::optional<Problem> refusal;
  const Result<void> written = ChangeDataFile(path, [&](ProfileDocument& doc, const FileContents&) {
    const std::string_view bytes = doc.Original();
    const TicketSpans held = SpanTickets(bytes);
    if (loaded != nullptr && (held.size() != loaded->size() ||
                              !std::equal(loaded->begin(), loaded->end(), held.spans.begin(),
                                          [&](std::string_view a, TextSpan b) {
                                            return a == bytes.substr(b.offset, b.size);
                                          }))) {
      refusal = Problem{path, "The file was changed by another program", ProblemKind::FileChanged};
      return ChangeVerdict::Abandon;
    }
    const std::string oldText = doc.Get(kSection, kTotalKeyAsAdded);
    // Which keys hold the file's tickets is known only from its count: written over a count that
    // cannot be read, the new list would leave old tickets outside it, to be overwritten later.
    // A missing count is that of a new file, and counts nothing.
    if (const CountFault fault = JudgeCount(oldText, ConvertCount(oldText));
        fault == CountFault::NotANumber || fault == CountFault::OutOfRange) {
      refusal =
          Problem{path, CountRefusal(oldText, fault, "the play numbers it counts are not known")};
      return ChangeVerdict::Abandon;
    }
    const long long oldCount = held.count && *held.count > 0 ? *held.count : 0;
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
  if (refusal) {
    return Fail(std::move(*refusal));
  }
  return written;
}

}  // namespace

Result<void> RewriteTickets(const std::string& path, const std::vector<std::string>& tickets) {
  return Rewrite(path, nullptr, tickets, nullptr);
}

Result<void> RewriteTicketsIfUnchanged(const std::string& path, const TicketTexts& loaded,
                                       const TicketTexts& tickets,
                                       const std::vector<std::uint8_t>& leaveOut) {
  return Rewrite(path, &loaded, tickets, &leaveOut);
}

Result<void> StartDataFile(const std::string& path) {
  std::optional<Problem> refusal;
  bool seen = false;
  const Result<void> written =
      ChangeDataFile(path, [&](ProfileDocument& doc, const FileContents& before) {
        seen = true;
        bool dropsData = false;
        if (before.exists) {
          const CountResult old = ConvertCount(doc.Get(kSection, kTotalKeyAsAdded));
          if (!old) {
            refusal = old.error();
            refusal->path = path;
            return ChangeVerdict::Abandon;
          }
          for (int k = 1; k <= *old; ++k) {
            doc.Delete(kSection, DecimalText(k));
          }
          const std::string winning = doc.Get(kSection, kWinningKey);
          dropsData = *old > 0 || (!winning.empty() && winning != kEmptyPlayNumber);
        }
        StartDocument(doc);
        return dropsData ? ChangeVerdict::WriteAfterKeepingVersion : ChangeVerdict::Write;
      });
  if (refusal) {
    return Fail(std::move(*refusal));
  }
  struct stat info {};
  if (!written && !seen && ::stat(path.c_str(), &info) == 0) {
    // The file is there but its count cannot be read, which is what a count that is not a
    // number gives; the reason says why.
    Problem unreadable = written.error();
    unreadable.kind = ProblemKind::NotANumber;
    return Fail(std::move(unreadable));
  }
  return written;
}

void StartDocument(ProfileDocument& doc) {
  doc.Set(kSection, kTotalKey, "0");
  doc.Set(kSection, kWinningKey, kEmptyPlayNumber);
}

}  // namespace store
