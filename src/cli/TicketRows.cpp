// The rows of an import text turned into tickets; see ParseTicketLines.
#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "cli/CsvRecords.h"
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

bool IsHeading(const std::vector<std::string_view>& fields) {
  return std::none_of(fields.begin(), fields.end(), IsNumber);
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

store::Result<TicketLines> ParseTicketLines(std::string_view text,
                                            const std::vector<ColumnPick>& columns) {
  TicketLines result;
  std::string problem;
  std::optional<std::vector<std::size_t>> places;
  const auto resolve = [&](const std::vector<std::string>& heading) {
    store::Result<std::vector<std::size_t>> resolved = ResolveColumns(columns, heading);
    if (resolved)
      places = std::move(*resolved);
    else
      problem = resolved.error().reason;
  };
  if (!columns.empty() && !PicksByName(columns)) {
    resolve({});
  }
  bool firstRow = true;
  ForEachRecord(text, DetectSeparator(text), [&](const CsvRecord& record) {
    if (!problem.empty() || IsBlankRow(record)) {
      return;
    }
    const bool first = std::exchange(firstRow, false);
    if (record.unclosedQuote) {
      result.refused.push_back({record.line, "a quoted field is not closed"});
      return;
    }
    const std::vector<std::string_view> fields = RowFields(record);
    if (first && !columns.empty() && PicksByName(columns)) {
      resolve(record.fields);
      return;
    }
    if (first && IsHeading(fields)) {
      return;
    }
    // A row of one field has no other columns to pass over: every word in it counts.
    store::Result<SixNumbers> parsed = places ? TicketOfColumns(record.fields, *places)
                                       : record.fields.size() == 1 ? SixNumbersOf(fields)
                                                                   : TicketOfRow(fields);
    if (parsed) {
      result.tickets.push_back(TicketText(*parsed));
    } else {
      result.refused.push_back({record.line, parsed.error().reason});
    }
  });
  if (!columns.empty() && !places && problem.empty()) {
    problem = "it holds no heading with the columns given to --columns";
  }
  if (!problem.empty()) {
    return store::Fail("", std::move(problem));
  }
  return result;
}

}  // namespace cli
