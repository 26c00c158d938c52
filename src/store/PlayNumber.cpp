#include "store/PlayNumber.h"

namespace store {

std::string_view PlayNumberField(std::string_view text, int k) {
  const auto start = static_cast<std::size_t>(3 * k - 3);
  return k < 1 || k > kNumbersPerTicket || start >= text.size() ? std::string_view()
                                                                : text.substr(start, 2);
}

PlayFields SplitPlayNumber(std::string_view text) {
  PlayFields fields;
  for (int k = 1; k <= kNumbersPerTicket; ++k) {
    fields[static_cast<std::size_t>(k - 1)] = std::string(PlayNumberField(text, k));
  }
  return fields;
}

std::string JoinPlayNumber(const PlayFields& fields) {
  std::string text;
  text.reserve(17);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) {
      text.push_back('-');
    }
    text.append(fields[i]);
  }
  return text;
}

std::string TwoDigitField(int number) {
  return (number >= 0 && number < 10 ? "0" : "") + std::to_string(number);
}

}  // namespace store
