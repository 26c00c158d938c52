#include "store/WinsSection.h"

#include <charconv>
#include <chrono>
#include <ctime>

#include "store/AtomicFile.h"
#include "store/DataFileChange.h"
#include "store/ProfileDocument.h"
#include "store/TextUtil.h"

namespace store {
namespace {

std::chrono::year_month_day CalendarOf(Day day) {
  return std::chrono::year_month_day{std::chrono::year{day / 10000},
                                     std::chrono::month{static_cast<unsigned>(day / 100 % 100)},
                                     std::chrono::day{static_cast<unsigned>(day % 100)}};
}

Day DayOf(std::chrono::year_month_day date) {
  return static_cast<int>(date.year()) * 10000 + static_cast<int>(unsigned(date.month())) * 100 +
         static_cast<int>(unsigned(date.day()));
}

bool ReadNumber(std::string_view text, int& value) {
  if (text.empty()) {
    return false;
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// "2026-02-18" to 20260218; 0 for anything that is not a real day in that form.
Day ParseIsoDay(std::string_view text) {
  int year = 0;
  int month = 0;
  int day = 0;
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
      !ReadNumber(text.substr(0, 4), year) || !ReadNumber(text.substr(5, 2), month) ||
      !ReadNumber(text.substr(8, 2), day) || year < 1000) {
    return 0;
  }
  const Day value = year * 10000 + month * 100 + day;
  return month >= 1 && month <= 12 && CalendarOf(value).ok() ? value : 0;
}

// A claim key's draw and ticket: "Claim.3147.12" or "Claim.2026-02-18.12".
bool ReadClaimKey(std::string_view key, ClaimMark& mark) {
  key.remove_prefix(kClaimPrefix.size());
  // "~2": a second mark whose name another mark had taken.
  if (const std::size_t tilde = key.rfind('~'); tilde != std::string_view::npos) {
    int n = 0;
    if (!ReadNumber(key.substr(tilde + 1), n) || n < 1) {
      return false;
    }
    key = key.substr(0, tilde);
  }
  const std::size_t dot = key.rfind('.');
  if (dot == std::string_view::npos || !ReadNumber(key.substr(dot + 1), mark.ticket) ||
      mark.ticket < 1) {
    return false;
  }
  const std::string_view draw = key.substr(0, dot);
  if (ReadNumber(draw, mark.drawNumber)) {
    return mark.drawNumber > 0;
  }
  mark.drawNumber = 0;
  return ParseIsoDay(draw) != 0;
}

}  // namespace

std::string IsoDayText(Day day) {
  if (day <= 0) {
    return {};
  }
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", day / 10000, day / 100 % 100, day % 100);
  return text;
}

Day AddDays(Day day, int days) {
  return DayOf(std::chrono::sys_days{CalendarOf(day)} + std::chrono::days{days});
}

int DaysBetween(Day from, Day to) {
  return static_cast<int>(
      (std::chrono::sys_days{CalendarOf(to)} - std::chrono::sys_days{CalendarOf(from)}).count());
}

Day Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

std::string ClaimMark::KeyFor(int drawNumber, Day drawDay, int ticket) {
  return std::string(kClaimPrefix) +
         (drawNumber > 0 ? std::to_string(drawNumber) : IsoDayText(drawDay)) + "." +
         std::to_string(ticket);
}

WinsSection ParseWinsSection(std::string_view bytes) {
  WinsSection section;
  ProfileDocument::ForEachKey(
      bytes, kWinsSection, [&](std::string_view key, std::string_view rawValue) {
        const std::string_view value = store::TrimBlanks(rawValue);
        const std::string named = std::string(kWinsSection) + "/" + std::string(key);
        const bool since = EqualsIgnoringAsciiCase(key, kSinceKey);
        if (since || EqualsIgnoringAsciiCase(key, kUntilKey)) {
          Day& target = since ? section.since : section.until;
          if (target != 0) {
            return true;  // the first of two keys of one name is the one read
          }
          if (Result<Day> day = ReadPlayingDay(key, value)) {
            target = *day;
          } else {
            section.problems.push_back(named + ": " + Quoted(value) +
                                       " is not a date (YYYY-MM-DD).");
          }
          return true;
        }
        if (key.size() <= kClaimPrefix.size() ||
            !EqualsIgnoringAsciiCase(key.substr(0, kClaimPrefix.size()), kClaimPrefix)) {
          return true;  // a key of a later version, or of someone else: left alone
        }
        ClaimMark mark;
        mark.key = std::string(key);
        if (!ReadClaimKey(key, mark)) {
          section.problems.push_back(named + ": the draw and ticket in the name cannot be read.");
          return true;
        }
        // claimed day, draw day, ticket text
        const std::size_t first = value.find(',');
        const std::size_t second =
            first == std::string_view::npos ? first : value.find(',', first + 1);
        if (second == std::string_view::npos) {
          section.problems.push_back(named + ": " + Quoted(value) +
                                     " is not \"claimed date,draw date,ticket\".");
          return true;
        }
        mark.claimedOn = ParseIsoDay(store::TrimBlanks(value.substr(0, first)));
        mark.drawDay = ParseIsoDay(store::TrimBlanks(value.substr(first + 1, second - first - 1)));
        mark.ticketText = std::string(store::TrimBlanks(value.substr(second + 1)));
        if (mark.claimedOn == 0 || mark.drawDay == 0) {
          section.problems.push_back(named + ": " +
                                     Quoted(value.substr(0, mark.claimedOn == 0 ? first : second)) +
                                     " does not hold a readable date (YYYY-MM-DD).");
          return true;
        }
        section.claims.push_back(std::move(mark));
        return true;
      });
  return section;
}

Result<WinsSection> ReadWinsSection(const std::string& path) {
  Result<FileContents> contents = ReadWholeFile(path);
  if (!contents) {
    return Fail(contents.error());
  }
  return ParseWinsSection(contents->bytes);
}

Result<Day> ReadPlayingDay(std::string_view key, std::string_view text) {
  text = store::TrimBlanks(text);
  if (text.empty()) {
    return Day{0};
  }
  const Day day = ParseIsoDay(text);
  if (day == 0) {
    return Fail(std::string(key), Quoted(text) + " is not a date: write it as YYYY-MM-DD.",
                ProblemKind::NotANumber);
  }
  return day;
}

// A change of the [Wins] section of a data file that must already exist: a missing file is
// never made for it.
template <typename Change>
Result<void> ChangeExistingFile(const std::string& path, Change change) {
  bool missing = false;
  Result<void> written =
      ChangeDataFile(path, [&](ProfileDocument& doc, const FileContents& before) {
        if (!before.exists) {
          missing = true;
          return ChangeVerdict::Abandon;
        }
        return change(doc);
      });
  if (written && missing) {
    return Fail(path, "The data file does not exist.");
  }
  return written;
}

Result<void> SetPlayingDays(const std::string& path, Day since, Day until) {
  if (since != 0 && until != 0 && until < since) {
    return Fail(path, "The last draw (" + IsoDayText(until) + ") lies before the first (" +
                          IsoDayText(since) + ").");
  }
  return ChangeExistingFile(path, [&](ProfileDocument& doc) {
    bool replaced = false;
    for (const auto& [key, day] : {std::pair{kSinceKey, since}, std::pair{kUntilKey, until}}) {
      replaced = replaced || doc.HasKey(kWinsSection, key);
      if (day == 0) {
        doc.Delete(kWinsSection, key);
      } else {
        doc.Set(kWinsSection, key, IsoDayText(day));
      }
    }
    if (!doc.IsModified()) {
      return ChangeVerdict::Abandon;
    }
    return replaced ? ChangeVerdict::WriteAfterKeepingVersion : ChangeVerdict::Write;
  });
}

Result<void> SetClaimed(const std::string& path, const std::vector<ClaimMark>& marks,
                        bool claimed) {
  std::vector<std::string> values;
  for (const ClaimMark& mark : marks) {
    values.push_back(IsoDayText(mark.claimedOn) + "," + IsoDayText(mark.drawDay) + "," +
                     mark.ticketText);
    if (claimed) {
      std::string reason = ProfileDocument::RejectReason(kWinsSection, mark.key, values.back());
      if (reason.empty() && (mark.claimedOn == 0 || mark.drawDay == 0)) {
        reason = "A claim needs the day it was claimed and the day of its draw.";
      }
      if (!reason.empty()) {
        return Fail(path, mark.key + ": " + reason);
      }
    }
  }
  return ChangeExistingFile(path, [&](ProfileDocument& doc) {
    for (std::size_t m = 0; m < marks.size(); ++m) {
      if (claimed) {
        // A name another mark holds (one whose ticket has moved since) is never written over.
        std::string key = marks[m].key;
        for (int n = 2; doc.HasKey(kWinsSection, key); ++n) {
          key = marks[m].key + "~" + std::to_string(n);
        }
        doc.Set(kWinsSection, key, values[m]);
      } else {
        doc.Delete(kWinsSection, marks[m].key);
      }
    }
    if (!doc.IsModified()) {
      return ChangeVerdict::Abandon;
    }
    return claimed ? ChangeVerdict::Write : ChangeVerdict::WriteAfterKeepingVersion;
  });
}

}  // namespace store
