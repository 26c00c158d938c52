#include "cli/NumberLines.h"

#include <algorithm>

#include "store/PlayNumber.h"

namespace cli {

namespace {

// A word longer than this is shown cut, so one wild line cannot flood the list of refused lines.
constexpr std::size_t kShownWordLength = 12;

// The value of a word of digits, saturated well above the highest number so that a long run of
// digits cannot overflow.
int ValueOf(std::string_view digits) {
  int value = 0;
  for (const char c : digits) {
    value = std::min(value * 10 + (c - '0'), 1000);
  }
  return value;
}

}  // namespace

bool IsLetterOrDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsDigits(std::string_view word) {
  return std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string ShownWord(std::string_view word) {
  if (word.size() <= kShownWordLength) {
    return std::string(word);
  }
  return std::string(word.substr(0, kShownWordLength)) + "...";
}

std::vector<std::string_view> NumberWords(std::string_view text) {
  std::vector<std::string_view> words;
  for (auto i = text.begin(); i != text.end();) {
    const auto start = std::find_if(i, text.end(), IsLetterOrDigit);
    i = std::find_if_not(start, text.end(), IsLetterOrDigit);
    if (i != start) {
      words.emplace_back(start, i);
    }
  }
  return words;
}

store::Result<SixNumbers> SixNumbersOf(const std::vector<std::string_view>& words) {
  for (const std::string_view word : words) {
    if (!IsDigits(word)) {
      return store::Fail("", "\"" + ShownWord(word) + "\" is not a number");
    }
  }
  if (words.size() != kNumbersPerTicket) {
    return store::Fail("", WrongCountProblem(words.size()));
  }
  SixNumbers numbers{};
  for (int k = 0; k < kNumbersPerTicket; ++k) {
    const std::string_view word = words[static_cast<std::size_t>(k)];
    const int value = ValueOf(word);
    if (value < kLowestNumber || value > kHighestNumber) {
      return store::Fail("", ShownWord(word) + " is outside " + std::to_string(kLowestNumber) +
                                 " to " + std::to_string(kHighestNumber));
    }
    for (int j = 0; j < k; ++j) {
      if (numbers[static_cast<std::size_t>(j)] == value) {
        return store::Fail("", ShownWord(word) + " appears twice");
      }
    }
    numbers[static_cast<std::size_t>(k)] = value;
  }
  return numbers;
}

std::string WrongCountProblem(std::size_t count) {
  return "holds " + std::to_string(count) + (count == 1 ? " number" : " numbers") + ", not " +
         std::to_string(kNumbersPerTicket);
}

std::string TicketText(const SixNumbers& numbers) {
  store::PlayFields fields;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    fields[k] = store::TwoDigitField(numbers[k]);
  }
  return store::JoinPlayNumber(fields);
}

}  // namespace cli
