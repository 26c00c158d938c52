#include "store/TicketFile.h"

#include <sys/stat.h>

#include <optional>

#include "store/AtomicFile.h"
#include "store/DataFileChange.h"
#include "store/ProfileDocument.h"
#include "store/TextUtil.h"

namespace store {

namespace {

// The number a key names when its name is the plain decimal text of a possible ticket number
// ("1" to "32767": no sign, blank or leading zero), else 0: no other name is ever read as a ticket.
int TicketNumberOf(std::string_view name) {
  if (name.empty() || name.size() > 5 || name[0] == '0') {
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

// Why a count read as `text` with `fault` refuses a change, for a person; `unknown` says what the
// fault leaves unknown ("... is not known").
std::string CountRefusal(std::string_view text, CountFault fault, std::string_view unknown) {
  std::string refusal = CountFaultText(text, fault);
  refusal[0] = 'T';
  if (fault == CountFault::Missing || fault == CountFault::NotANumber) {
    refusal.append(", so ").append(unknown);
  }
  return refusal + ".";
}

ProblemKind KindOf(CountFault fault) {
  return fault == CountFault::Missing || fault == CountFault::NotANumber ? ProblemKind::NotANumber
                                                                         : ProblemKind::OutOfRange;
}

TicketList TicketsOf(const ProfileDocument& doc) {
  TicketList list;
  list.countText = doc.Get(kSection, kTotalKey);
  list.winning = doc.Get(kSection, kWinningKey);
  list.count = ConvertCount(list.countText);
  const int count = list.count ? *list.count : 0;
  for (int k = 1; k <= count; ++k) {
    list.tickets.push_back(doc.Get(kSection, std::to_string(k)));
  }
  return list;
}

// Rewrites the section from `tickets`, less those `leaveOut` marks; with `loaded`, only when the
// file still holds those.
Result<void> Rewrite(const std::string& path, const TicketTexts* loaded, const TicketTexts& tickets,
                     const std::vector<std::uint8_t>& leaveOut) {
  const auto kept = [&](std::size_t i) { return i >= leaveOut.size() || leaveOut[i] == 0; };
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
    const TicketList held = TicketsOf(doc);
    if (loaded != nullptr && held.tickets != *loaded) {
      refusal = Problem{path, "The file was changed by another program", ProblemKind::FileChanged};
      return ChangeVerdict::Abandon;
    }
    // Which keys hold the file's tickets is known only from its count: written over a count that
    // cannot be read, the new list would leave old tickets outside it, to be overwritten later.
    // A missing count is that of a new file, and counts nothing.
    if (const CountFault fault = JudgeCount(held.countText, held.count);
        fault == CountFault::NotANumber || fault == CountFault::OutOfRange) {
      refusal = Problem{
          path, CountRefusal(held.countText, fault, "the play numbers it counts are not known")};
      return ChangeVerdict::Abandon;
    }
    const long long oldCount = held.count && *held.count > 0 ? *held.count : 0;
    for (long long k = newCount + 1; k <= oldCount; ++k) {
      doc.Delete(kSection, std::to_string(k));
    }
    doc.Set(kSection, kTotalKey, std::to_string(newCount));
    // Tickets that were in the file and are not kept under the same key are lost to it.
    bool keepsTickets = held.tickets.size() <= static_cast<std::size_t>(newCount);
    std::size_t key = 0;
    for (std::size_t i = 0; i < tickets.size(); ++i) {
      if (!kept(i)) {
        continue;
      }
      keepsTickets =
          keepsTickets && (key >= held.tickets.size() || held.tickets[key] == tickets[i]);
      ++key;
      doc.Set(kSection, std::to_string(key), tickets[i]);
    }
    return keepsTickets ? ChangeVerdict::Write : ChangeVerdict::WriteAfterKeepingVersion;
  });
  if (refusal) {
    return Fail(std::move(*refusal));
  }
  return written;
}

}  // namespace

TicketList ParseTickets(std::string bytes) {
  // One pass over the section, keeping the first line of each name as a read of each key would.
  // The tickets are spans of the bytes, which the list then keeps.
  if (bytes.size() > TicketTexts::kMaxText) {
    return TicketsOf(ProfileDocument::ParseOwning(std::move(bytes)));
  }
  TicketList list;
  bool totalSeen = false;
  bool winningSeen = false;
  std::vector<TicketTexts::Span> spans;
  std::vector<bool> seen;
  // Once the count is read, keys above it are known to be cut off at the end and are passed by.
  auto cap = static_cast<std::size_t>(kMaxTickets);
  const auto grow = [&](std::size_t size) {
    spans.resize(size);
    seen.resize(size);
  };
  const std::string_view text = bytes;
  ProfileDocument::ForEachKey(text, kSection, [&](std::string_view name, std::string_view value) {
    value = value.substr(0, kMaxProfileValueLength);
    if (const int k = TicketNumberOf(name); k > 0) {
      const auto index = static_cast<std::size_t>(k - 1);
      if (index >= cap) {
        return true;
      }
      if (index >= spans.size()) {
        grow(index + 1);
      }
      if (!seen[index]) {
        // An empty value may lie nowhere in the bytes; its span is as good anywhere.
        const auto offset = value.empty() ? 0 : value.data() - text.data();
        spans[index] = {static_cast<std::uint32_t>(offset),
                        static_cast<std::uint32_t>(value.size())};
        seen[index] = true;
      }
    } else if (!totalSeen && EqualsIgnoringAsciiCase(name, kTotalKey)) {
      list.countText = value;
      totalSeen = true;
      list.count = ConvertCount(value);
      cap = list.count && *list.count > 0 ? static_cast<std::size_t>(*list.count) : 0;
      // The count comes first in the files the program writes: the list is sized once.
      if (cap > spans.size()) {
        grow(cap);
      }
    } else if (!winningSeen && EqualsIgnoringAsciiCase(name, kWinningKey)) {
      list.winning = value;
      winningSeen = true;
    }
    return true;
  });
  spans.resize(list.count && *list.count > 0 ? static_cast<std::size_t>(*list.count) : 0);
  list.tickets = TicketTexts(std::move(bytes), std::move(spans));
  return list;
}

TicketList ReadAllTickets(const std::string& path) {
  Result<FileContents> file = ReadWholeFile(path);
  return ParseTickets(file ? std::move(file->bytes) : std::string());
}

std::string CountFaultText(std::string_view text, CountFault fault) {
  const std::string count = "the ticket count (TOTAL) ";
  switch (fault) {
    case CountFault::Missing:
      return count + "is missing";
    case CountFault::NotANumber:
      return count + "\"" + std::string(text) + "\" is not a number";
    case CountFault::OutOfRange:
    case CountFault::Negative:
      return count + std::string(text) + " is outside 0 to " + std::to_string(kMaxTickets);
    case CountFault::None:
      break;
  }
  return {};
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
    const std::string key = std::to_string(++count);
    doc.Set(kSection, kTotalKeyAsAdded, key);
    doc.Set(kSection, key, ticket);
  }
  return count;
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

Result<void> RewriteTickets(const std::string& path, const TicketTexts& tickets) {
  return Rewrite(path, nullptr, tickets, {});
}

Result<void> RewriteTicketsIfUnchanged(const std::string& path, const TicketTexts& loaded,
                                       const TicketTexts& tickets,
                                       const std::vector<std::uint8_t>& leaveOut) {
  return Rewrite(path, &loaded, tickets, leaveOut);
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
            doc.Delete(kSection, std::to_string(k));
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
