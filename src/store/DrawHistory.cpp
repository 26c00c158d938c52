#include "store/DrawHistory.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <system_error>
#include <unordered_map>

#include "store/AtomicFile.h"
#include "store/DataFileChange.h"
#include "store/TextEncoding.h"
#include "store/TextUtil.h"
#include "store/VersionFolder.h"

namespace store {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kFieldSeparators = ",;\t";
constexpr std::size_t kLongestText = 32;  // Ball Set, Machine and words shown in a reason
constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::string_view kHeading =
    "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Bonus Ball,Ball Set,Machine,DrawNumber";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// A text from the file as it may be shown or kept: no control characters, and cut when long,
// so that one wild row cannot flood a report or the history.
std::string Shown(std::string_view text) {
  std::string shown(text.substr(0, kLongestText));
  std::replace_if(
      shown.begin(), shown.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; }, '?');
  if (text.size() > kLongestText) {
    shown += "...";
  }
  return shown;
}

std::string Quoted(std::string_view text) {
  return "\"" + Shown(text) + "\"";
}

// The value of a number field of up to nine digits; -1 for anything else.
int NumberOf(std::string_view text) {
  if (!IsDigits(text) || text.size() > 9) {
    return -1;
  }
  return std::atoi(std::string(text).c_str());
}

bool HoldsLetterOrDigit(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return IsDigit(c) || IsLetter(c); });
}

// The separator of a heading: the one of comma, semicolon and tab found most often outside
// quotes, a comma winning a tie.
char SeparatorOf(std::string_view line) {
  std::array<std::size_t, 3> counts{};
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted) {
      if (const std::size_t at = kFieldSeparators.find(c); at != std::string_view::npos) {
        ++counts[at];
      }
    }
  }
  const auto most = std::max_element(counts.begin(), counts.end());
  return *most == 0 ? ',' : kFieldSeparators[static_cast<std::size_t>(most - counts.begin())];
}

// The fields of a row: blanks around a field dropped, a field in double quotes may hold the
// separator, and "" in it is one quote.
void SplitFields(std::string_view line, char separator, std::vector<std::string>& fields) {
  fields.clear();
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t') && line[i] != separator) {
      ++i;
    }
    std::string field;
    if (i < line.size() && line[i] == '"') {
      for (++i; i < line.size(); ++i) {
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            ++i;
          } else {
            ++i;
            break;
          }
        } else {
          field += line[i];
        }
      }
    }
    const std::size_t end = line.find(separator, i);
    field += TrimBlanks(line.substr(i, end == std::string_view::npos ? end : end - i));
    i = end;
    fields.push_back(std::move(field));
    if (i == std::string_view::npos || i >= line.size()) {
      return;
    }
    ++i;
  }
}

enum Column {
  kDate,
  kBall1,
  kBonus = kBall1 + kNumbersPerTicket,
  kBallSet,
  kMachine,
  kNumber,
  kColumnCount
};

// The column a heading names, found by its name with case and blanks ignored; -1 for others.
int ColumnNamed(std::string_view name) {
  std::string key;
  for (const char c : name) {
    if (c != ' ' && c != '\t' && c != '_') {
      key += AsciiLower(c);
    }
  }
  if (key.size() == 5 && key.starts_with("ball") && key[4] >= '1' && key[4] <= '6') {
    return kBall1 + (key[4] - '1');
  }
  static constexpr std::pair<std::string_view, int> kNames[] = {
      {"drawdate", kDate},     {"date", kDate},       {"bonusball", kBonus},
      {"bonus", kBonus},       {"ballset", kBallSet}, {"machine", kMachine},
      {"drawnumber", kNumber}, {"drawno", kNumber},   {"draw", kNumber}};
  const auto* known = std::find_if(std::begin(kNames), std::end(kNames),
                                   [&](const auto& name) { return name.first == key; });
  return known == std::end(kNames) ? -1 : known->second;
}

std::string ColumnName(int column) {
  if (column >= kBall1 && column < kBonus) {
    return "Ball " + std::to_string(column - kBall1 + 1);
  }
  return column == kDate ? "DrawDate" : column == kBonus ? "Bonus Ball" : "DrawNumber";
}

// The checks every draw passes, whichever form it came in; the empty text when it does.
std::string ProblemOf(const Draw& draw, std::string_view dateText) {
  if (draw.date == 0) {
    return "the date " + Quoted(dateText) + " cannot be read";
  }
  for (std::size_t k = 0; k < draw.balls.size(); ++k) {
    const int n = draw.balls[k];
    if (n < kLowestNumber || n > kHighestNumber) {
      return "ball " + std::to_string(k + 1) + ", " + std::to_string(n) +
             ", is not a number from 1 to 59";
    }
    if (std::find(draw.balls.begin(), draw.balls.begin() + static_cast<std::ptrdiff_t>(k), n) !=
        draw.balls.begin() + static_cast<std::ptrdiff_t>(k)) {
      return std::to_string(n) + " is drawn twice";
    }
  }
  if (draw.bonus != 0) {
    if (draw.bonus < kLowestNumber || draw.bonus > kHighestNumber) {
      return "the bonus ball, " + std::to_string(draw.bonus) + ", is not a number from 1 to 59";
    }
    if (std::find(draw.balls.begin(), draw.balls.end(), draw.bonus) != draw.balls.end()) {
      return "the bonus ball " + std::to_string(draw.bonus) + " is one of the six";
    }
  }
  return {};
}

class DrawReader {
 public:
  explicit DrawReader(DrawsRead& read) : read_(read) {}

  bool Line(std::size_t line, std::string_view text) {
    if (!HoldsLetterOrDigit(text)) {
      return true;
    }
    if (first_) {
      first_ = false;
      switch (Heading(line, text)) {
        case HeadingKind::None:
          break;
        case HeadingKind::Heading:
          return true;
        case HeadingKind::Incomplete:
          return false;
      }
    }
    Draw draw;
    std::string problem = columns_ ? FromColumns(text, draw) : FromPlainLine(text, draw);
    if (!problem.empty()) {
      Refuse(line, std::move(problem));
    } else if (read_.draws.size() == kMostDraws) {
      Refuse(line, "more than " + std::to_string(kMostDraws) + " draws; the rest was not read");
      return false;
    } else {
      read_.draws.push_back(std::move(draw));
    }
    return true;
  }

 private:
  enum class HeadingKind { None, Heading, Incomplete };

  // Whether the first line is a heading: one that names the columns of the published form, or
  // a line whose numbers part holds a letter (the plain form's heading). A heading without a
  // column a draw needs ends the reading: no row can be read.
  HeadingKind Heading(std::size_t line, std::string_view text) {
    separator_ = SeparatorOf(text);
    SplitFields(text, separator_, fields_);
    std::array<int, kColumnCount> at;
    at.fill(-1);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
      const int column = ColumnNamed(fields_[i]);
      if (column >= 0 && at[static_cast<std::size_t>(column)] < 0) {
        at[static_cast<std::size_t>(column)] = static_cast<int>(i);
      }
    }
    // A heading that names no ball ("Date,Numbers") heads plain lines.
    if (std::any_of(at.begin() + kBall1, at.begin() + kBonus, [](int i) { return i >= 0; })) {
      columns_ = at;
      for (int column = kDate; column < kBonus; ++column) {
        if (at[static_cast<std::size_t>(column)] < 0) {
          Refuse(line, "the heading has no column " + ColumnName(column) + "; no draw was read");
          return HeadingKind::Incomplete;
        }
      }
      return HeadingKind::Heading;
    }
    const Split split = SplitDate(text);
    return std::any_of(split.numbers.begin(), split.numbers.end(), IsLetter) ? HeadingKind::Heading
                                                                             : HeadingKind::None;
  }

  std::string FromColumns(std::string_view text, Draw& draw) {
    const std::array<int, kColumnCount>& at = *columns_;
    SplitFields(text, separator_, fields_);
    const auto field = [&](int column) -> std::string_view {
      const int i = at[static_cast<std::size_t>(column)];
      return i >= 0 && static_cast<std::size_t>(i) < fields_.size()
                 ? std::string_view(fields_[static_cast<std::size_t>(i)])
                 : std::string_view{};
    };
    const std::string_view dateText = field(kDate);
    draw.date = ParseDrawDay(dateText);
    for (int k = 0; k < kNumbersPerTicket; ++k) {
      const std::string_view ball = field(kBall1 + k);
      if (ball.empty()) {
        return ColumnName(kBall1 + k) + " is empty";
      }
      draw.balls[static_cast<std::size_t>(k)] = NumberOf(ball);
      if (draw.balls[static_cast<std::size_t>(k)] < 0) {
        return ColumnName(kBall1 + k) + " " + Quoted(ball) + " is not a number from 1 to 59";
      }
    }
    if (const std::string_view bonus = field(kBonus); !bonus.empty()) {
      draw.bonus = NumberOf(bonus);
      if (draw.bonus < 0) {
        return "Bonus Ball " + Quoted(bonus) + " is not a number from 1 to 59";
      }
    }
    if (const std::string_view number = field(kNumber); !number.empty()) {
      draw.number = NumberOf(number);
      if (draw.number < 0) {
        return "DrawNumber " + Quoted(number) + " is not a draw number";
      }
    }
    draw.ballSet = Shown(field(kBallSet).substr(0, kLongestText));
    draw.machine = Shown(field(kMachine).substr(0, kLongestText));
    return ProblemOf(draw, dateText);
  }

  struct Split {
    std::string_view date;
    std::string_view numbers;
  };

  // The date is the first field: up to the first comma, semicolon or tab when the line holds
  // one (a date in double quotes may hold these), else up to the first blank.
  static Split SplitDate(std::string_view line) {
    const std::string_view separators =
        line.find_first_of(kFieldSeparators) != std::string_view::npos ? kFieldSeparators : kBlanks;
    const std::size_t start = line.find_first_not_of(kBlanks);
    if (start == std::string_view::npos) {
      return {};
    }
    if (line[start] == '"') {
      const std::size_t close = line.find('"', start + 1);
      if (close != std::string_view::npos) {
        const std::size_t end = line.find_first_of(separators, close + 1);
        return {TrimBlanks(line.substr(start + 1, close - start - 1)),
                end == std::string_view::npos ? std::string_view{} : line.substr(end + 1)};
      }
    }
    const std::size_t end = line.find_first_of(separators, start);
    if (end == std::string_view::npos) {
      return {TrimBlanks(line.substr(start)), {}};
    }
    return {TrimBlanks(line.substr(start, end - start)), line.substr(end + 1)};
  }

  static std::string FromPlainLine(std::string_view text, Draw& draw) {
    const Split split = SplitDate(text);
    if (split.date.empty()) {
      return "has no date before the numbers";
    }
    std::vector<int> numbers;
    std::string_view rest = split.numbers;
    while (!rest.empty()) {
      const auto start =
          std::find_if(rest.begin(), rest.end(), [](char c) { return IsDigit(c) || IsLetter(c); });
      const auto end =
          std::find_if(start, rest.end(), [](char c) { return !IsDigit(c) && !IsLetter(c); });
      const std::string_view word(start, end);
      rest = std::string_view(end, rest.end());
      if (word.empty()) {
        break;
      }
      if (!IsDigits(word)) {
        return "holds " + Quoted(word) + ", not a number";
      }
      const int value = NumberOf(word);
      if (value < 0) {
        return "holds " + Quoted(word) + ", not a number from 1 to 59";
      }
      numbers.push_back(value);
    }
    if (numbers.size() != kNumbersPerTicket && numbers.size() != kNumbersPerTicket + 1) {
      return "holds " + std::to_string(numbers.size()) + " numbers after the date, not 6 or 7";
    }
    std::copy_n(numbers.begin(), kNumbersPerTicket, draw.balls.begin());
    if (numbers.size() > kNumbersPerTicket) {
      draw.bonus = numbers.back();
      if (draw.bonus == 0) {
        return "the bonus ball, 0, is not a number from 1 to 59";
      }
    }
    draw.date = ParseDrawDay(split.date);
    return ProblemOf(draw, split.date);
  }

  void Refuse(std::size_t line, std::string reason) {
    if (read_.refused.size() < kMostRefusalsKept) {
      read_.refused.push_back({line, std::move(reason)});
    }
    ++read_.refusedCount;
  }

  DrawsRead& read_;
  bool first_ = true;
  char separator_ = ',';
  std::optional<std::array<int, kColumnCount>> columns_;
  std::vector<std::string> fields_;
};

// A month by its English name or the name's first three letters, in any case.
int MonthNamed(std::string_view name) {
  static constexpr std::array<std::string_view, 12> kFullNames = {
      "january", "february", "march",     "april",   "may",      "june",
      "july",    "august",   "september", "october", "november", "december"};
  for (std::size_t m = 0; m < kFullNames.size(); ++m) {
    if (EqualsIgnoringAsciiCase(name, kFullNames[m]) ||
        EqualsIgnoringAsciiCase(name, kFullNames[m].substr(0, 3))) {
      return static_cast<int>(m) + 1;
    }
  }
  return 0;
}

DrawDay DayOf(int year, int month, int day) {
  const std::chrono::year_month_day date{std::chrono::year{year},
                                         std::chrono::month{static_cast<unsigned>(month)},
                                         std::chrono::day{static_cast<unsigned>(day)}};
  if (year < 1000 || year > 9999 || !date.ok()) {
    return 0;
  }
  return year * 10000 + month * 100 + day;
}

// Draws are identified by number where both have one, else by day.
struct DrawKeys {
  std::unordered_map<int, std::size_t> byNumber;
  std::unordered_map<DrawDay, std::size_t> byDay;

  void Add(const Draw& draw, std::size_t at) {
    if (draw.number != 0) {
      byNumber.emplace(draw.number, at);
    }
    byDay.emplace(draw.date, at);
  }
  std::optional<std::size_t> Find(const Draw& draw, const std::vector<Draw>& draws) const {
    if (draw.number != 0) {
      if (const auto found = byNumber.find(draw.number); found != byNumber.end()) {
        return found->second;
      }
    }
    if (const auto found = byDay.find(draw.date); found != byDay.end()) {
      if (draw.number == 0 || draws[found->second].number == 0) {
        return found->second;
      }
    }
    return std::nullopt;
  }
};

// The same draw result: day, the six balls in any order, and bonus.
bool SameResult(const Draw& a, const Draw& b) {
  std::array<int, kNumbersPerTicket> mine = a.balls;
  std::array<int, kNumbersPerTicket> theirs = b.balls;
  std::sort(mine.begin(), mine.end());
  std::sort(theirs.begin(), theirs.end());
  return a.date == b.date && mine == theirs && a.bonus == b.bonus;
}

// Newest first: by day, then by draw number.
void SortNewestFirst(std::vector<Draw>& draws) {
  std::stable_sort(draws.begin(), draws.end(), [](const Draw& a, const Draw& b) {
    return a.date != b.date ? a.date > b.date : a.number > b.number;
  });
}

}  // namespace

DrawsRead ReadDraws(std::string_view bytes) {
  std::string decoded;
  if (const FileEncoding encoding = DetectEncoding(bytes); encoding != FileEncoding::Bytes) {
    decoded = DecodeFileText(bytes, encoding);
    bytes = decoded;
  }
  if (bytes.starts_with(kUtf8Mark)) {
    bytes.remove_prefix(kUtf8Mark.size());
  }
  DrawsRead read;
  DrawReader reader(read);
  // CR LF, LF and CR end a line.
  for (std::size_t line = 1; !bytes.empty(); ++line) {
    const std::size_t end = bytes.find_first_of("\r\n");
    if (!reader.Line(line, bytes.substr(0, end)) || end == std::string_view::npos) {
      break;
    }
    bytes.remove_prefix(bytes.substr(end).starts_with("\r\n") ? end + 2 : end + 1);
  }
  return read;
}

DrawDay ParseDrawDay(std::string_view text) {
  text = TrimBlanks(text);
  std::array<std::string_view, 3> parts;
  std::size_t count = 0;
  std::size_t start = 0;
  // Parts are separated by "-", "/", "." or blanks, and a comma may follow a month ("20 Jan,
  // 2024").
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const bool comma = i < text.size() && text[i] == ',' && count == 1 && i > start;
    if (i == text.size() || comma || text[i] == '-' || text[i] == '/' || text[i] == '.' ||
        text[i] == ' ') {
      if (count == parts.size() || i == start) {
        return 0;
      }
      parts[count++] = text.substr(start, i - start);
      start = i + 1;
      if (comma && start < text.size() && text[start] == ' ') {
        ++start;
        ++i;
      }
    }
  }
  if (count != parts.size()) {
    return 0;
  }
  const auto year = [](std::string_view part) {
    const int n = NumberOf(part);
    return n < 0 ? 0 : part.size() == 2 ? 2000 + n : part.size() == 4 ? n : 0;
  };
  const auto small = [](std::string_view part) {
    return part.size() <= 2 ? std::max(NumberOf(part), 0) : 0;
  };
  if (parts[0].size() == 4 && IsDigits(parts[0])) {
    return DayOf(year(parts[0]), small(parts[1]), small(parts[2]));
  }
  const bool named = std::all_of(parts[1].begin(), parts[1].end(), IsLetter);
  const int month = named ? MonthNamed(parts[1]) : small(parts[1]);
  return DayOf(year(parts[2]), month, small(parts[0]));
}

std::string DrawDayText(DrawDay day) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d-%s-%04d", day % 100,
                kMonths[static_cast<std::size_t>((day / 100 % 100 + 11) % 12)].data(), day / 10000);
  return text;
}

std::string DrawsCsv(const std::vector<Draw>& draws) {
  std::string text(kHeading);
  text += '\n';
  text.reserve(draws.size() * 48 + text.size());
  for (const Draw& draw : draws) {
    text += DrawDayText(draw.date);
    for (const int ball : draw.balls) {
      text += ',';
      text += std::to_string(ball);
    }
    text += ',';
    if (draw.bonus != 0) {
      text += std::to_string(draw.bonus);
    }
    text += ',' + CsvField(draw.ballSet, ",;\t\"") + ',' + CsvField(draw.machine, ",;\t\"") + ',';
    if (draw.number != 0) {
      text += std::to_string(draw.number);
    }
    text += '\n';
  }
  return text;
}

std::string DrawHistoryPath() {
  return UserFilePath("XDG_DATA_HOME", ".local/share", "pelmora/draws.csv");
}

Result<DrawsRead> ReadDrawHistory(const std::string& path) {
  if (path.empty()) {
    return DrawsRead{};
  }
  Result<FileContents> file = ReadWholeFile(path);
  if (!file) {
    return Unexpected{file.error()};
  }
  DrawsRead read = ReadDraws(file->bytes);
  SortNewestFirst(read.draws);
  return read;
}

DrawMerge MergeDraws(std::vector<Draw>& history, const std::vector<Draw>& incoming, bool replace) {
  DrawMerge merge;
  DrawKeys keys;
  for (std::size_t i = 0; i < history.size(); ++i) {
    keys.Add(history[i], i);
  }
  for (const Draw& draw : incoming) {
    const std::optional<std::size_t> found = keys.Find(draw, history);
    if (!found) {
      keys.Add(draw, history.size());
      history.push_back(draw);
      ++merge.added;
      continue;
    }
    Draw& stored = history[*found];
    if (SameResult(stored, draw)) {
      ++merge.unchanged;
      continue;
    }
    merge.conflicts.push_back({stored, draw});
    if (replace) {
      const int number = stored.number;
      stored = draw;
      if (stored.number == 0) {
        stored.number = number;
      }
      keys.Add(stored, *found);
      ++merge.replaced;
    }
  }
  SortNewestFirst(history);
  return merge;
}

Result<DrawMerge> AddToDrawHistory(const std::string& path, const std::vector<Draw>& incoming,
                                   bool replace) {
  if (path.empty()) {
    return Fail(path, "there is no home folder to keep the draw history in");
  }
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  if (error) {
    return Fail(std::filesystem::path(path).parent_path().string(), error.message());
  }
  DrawMerge merge;
  std::optional<Problem> problem;
  const Result<void> changed = ChangeDataFile(path, [&](ProfileDocument& doc, const FileContents&) {
    DrawsRead stored = ReadDraws(doc.Original());
    if (stored.refusedCount != 0) {
      const RefusedDraw& first = stored.refused.front();
      problem = Problem{path, "line " + std::to_string(first.line) + " of the draw history " +
                                  first.reason + "; correct or remove it first"};
      return ChangeVerdict::Abandon;
    }
    merge = MergeDraws(stored.draws, incoming, replace);
    if (merge.added == 0 && merge.replaced == 0) {
      return ChangeVerdict::Abandon;
    }
    doc = ProfileDocument::ParseOwning(DrawsCsv(stored.draws));
    doc.MarkModified();
    return ChangeVerdict::Write;
  });
  if (!changed) {
    return Unexpected{changed.error()};
  }
  if (problem) {
    return Unexpected{*problem};
  }
  return merge;
}

}  // namespace store
