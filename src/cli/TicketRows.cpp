// The rows of an import text turned into tickets; see ParseTicketLines.
#include <algorithm>
#include <iterator>
#include <utility>

#include "cli/CsvRecords.h"
#include "cli/ImportText.h"
#include "cli/NumberLines.h"

namespace cli {

namespace {

bool IsNumber(std::string_view field) {
  return !field.empty() && IsDigits(field);
}

// A word of letters and digits mixed, such as "3O" for 30: surely meant as a number.
bool IsMistypedNumber(std::string_view field) {
  return !IsNumber(field) && NumberWords(field).size() == 1 && NumberWords(field)[0] == field &&
         std::any_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The fields a row is judged by: a row of one field is cut into its words.
std::vector<std::string_view> RowFields(const CsvRecord& record) {
  if (record.fields.size() == 1) {
    return NumberWords(record.fields.front());
  }
  return {record.fields.begin(), record.fields.end()};
}

bool IsBlankRow(const CsvRecord& record) {
  return std::none_of(record.fields.begin(), record.fields.end(), [](const std::string& field) {
    return std::any_of(field.begin(), field.end(), IsLetterOrDigit);
  });
}

store::Result<SixNumbers> TicketOfRow(const std::vector<std::string_view>& fields) {
  std::vector<std::string_view> numbers;
  std::copy_if(fields.begin(), fields.end(), std::back_inserter(numbers), IsNumber);
  if (numbers.size() == kNumbersPerTicket) {
    return SixNumbersOf(numbers);
  }
  const auto mistyped = std::find_if(fields.begin(), fields.end(), IsMistypedNumber);
  if (mistyped != fields.end()) {
    return store::Fail("", "\"" + ShownWord(*mistyped) + "\" is not a number");
  }
  return store::Fail("", WrongCountProblem(numbers.size()));
}

store::Result<SixNumbers> TicketOfColumns(const std::vector<std::string>& fields,
                                          const std::vector<std::size_t>& places) {
  std::vector<std::string_view> numbers;
  for (const std::size_t place : places) {
    const std::string column = "column " + std::to_string(place + 1);
    if (place >= fields.size()) {
      return store::Fail("", "has no " + column);
    }
    const std::string_view field = fields[place];
    if (field.empty()) {
      return store::Fail("", column + " is empty");
    }
    if (!IsDigits(field)) {
      return store::Fail("", column + ": \"" + ShownWord(field) + "\" is not a number");
    }
    numbers.push_back(field);
  }
  return SixNumbersOf(numbers);
}

}  // namespace

TicketLineReader::TicketLineReader(std::vector<ColumnPick> columns) : columns_(std::move(columns)) {
  if (!columns_.empty() && !PicksByName(columns_)) {
    Resolve({});
  }
}

void TicketLineReader::Resolve(const std::vector<std::string>& heading) {
  store::Result<std::vector<std::size_t>> resolved = ResolveColumns(columns_, heading);
  if (resolved) {
    places_ = std::move(*resolved);
  } else {
    problem_ = resolved.error().reason;
  }
}

void TicketLineReader::Refuse(std::size_t line, std::string reason) {
  lines_.refused.push_back({line, std::move(reason)});
  if (lines_.refused.size() >= kMaxRefusedLines) {
    lines_.stopped = "reading stopped at line " + std::to_string(line) + " after " +
                     std::to_string(kMaxRefusedLines) + " refused lines";
  }
}

bool TicketLineReader::Add(std::size_t line, std::string_view text, bool overlong) {
  if (!problem_.empty() || !lines_.stopped.empty()) {
    return false;
  }
  if (overlong) {
    Refuse(line, "it is longer than " + std::to_string(kMaxLineBytes) + " bytes");
    return lines_.stopped.empty();
  }
  if (!separator_) {
    if (!std::any_of(text.begin(), text.end(), IsLetterOrDigit)) {
      return true;  // blank rows come before the first row that holds anything
    }
    separator_ = DetectSeparator(text);
  }
  const CsvRecord record = ParseRecord(text, line, *separator_);
  if (IsBlankRow(record)) {
    return true;
  }
  const bool first = std::exchange(firstRow_, false);
  if (record.unclosedQuote != 0) {
    Refuse(line, "the quote that opens column " + std::to_string(record.unclosedQuote) +
                     " is not closed");
    return lines_.stopped.empty();
  }
  const std::vector<std::string_view> fields = RowFields(record);
  if (first && !columns_.empty() && PicksByName(columns_)) {
    Resolve(record.fields);
    return problem_.empty();
  }
  if (first && std::none_of(fields.begin(), fields.end(), IsNumber)) {
    return true;  // a heading
  }
  if (lines_.tickets.size() + lines_.refused.size() >=
      static_cast<std::size_t>(store::kMaxTickets)) {
    lines_.stopped = "reading stopped at line " + std::to_string(line) +
                     ": it holds more rows than the " + std::to_string(store::kMaxTickets) +
                     " tickets a data file can hold";
    return false;
  }
  // A row of one field has no other columns to pass over: every word in it counts.
  store::Result<SixNumbers> parsed = places_ ? TicketOfColumns(record.fields, *places_)
                                     : record.fields.size() == 1 ? SixNumbersOf(fields)
                                                                 : TicketOfRow(fields);
  if (parsed) {
    lines_.tickets.push_back(TicketText(*parsed));
  } else {
    Refuse(line, parsed.error().reason);
  }
  return lines_.stopped.empty();
}

store::Result<TicketLines> TicketLineReader::Finish() {
  if (!columns_.empty() && !places_ && problem_.empty()) {
    problem_ = "it holds no heading with the columns given to --columns";
  }
  if (!problem_.empty()) {
    return store::Fail("", problem_);
  }
  return std::move(lines_);
}

store::Result<TicketLines> ParseTicketLines(std::string_view text,
                                            const std::vector<ColumnPick>& columns) {
  if (text.starts_with("\xEF\xBB\xBF")) {
    text.remove_prefix(3);  // as the decoder of an import file drops it
  }
  TicketLineReader reader(columns);
  bool reading = true;
  const LineCutter::Visit judge = [&](std::size_t line, std::string_view lineText, bool overlong) {
    reading = reading && reader.Add(line, lineText, overlong);
  };
  LineCutter cutter;
  cutter.Feed(text, judge);
  cutter.Finish(judge);
  return reader.Finish();
}

}  // namespace cli
