#include "store/ProfileLines.h"

#include <algorithm>

#include "store/TextUtil.h"

namespace store {

namespace {

// The value of a key line whose first '=' is at `equals`.
std::string_view ValueAfter(std::string_view line, std::size_t equals) {
  std::string_view value = TrimBlanks(line.substr(equals + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

ClassifiedLine Classify(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) {
    ++start;
  }
  if (start == text.size()) {
    return {ClassifiedLine::Blank, {}, {}};
  }
  const char first = text[start];
  if (first == ';') {
    return {ClassifiedLine::Comment, {}, {}};
  }
  if (first == '[') {
    // The name runs to the last ']', so a section name may itself hold a ']'. Without one the
    // line is neither a section nor a key.
    const std::size_t close = text.rfind(']');
    if (close == std::string_view::npos || close < start) {
      return {ClassifiedLine::Other, {}, {}};
    }
    return {ClassifiedLine::Header, TrimBlanks(text.substr(start + 1, close - start - 1)), {}};
  }
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    return {ClassifiedLine::Other, {}, {}};
  }
  return {ClassifiedLine::Key, TrimBlanks(text.substr(0, equals)), ValueAfter(text, equals)};
}

std::string_view ValueOfKeyLine(std::string_view line) {
  return ValueAfter(line, line.find('='));
}

bool LineSplitter::Next(std::size_t& begin, std::size_t& length, LineEnd& ending) {
  if (pos_ >= text_.size()) {
    return false;
  }
  // The next LF is found once for all the lines before it (npos stays found), and a CR is
  // looked for only up to it, so text of bare CR line ends is not searched again for each line.
  if (nextLf_ < pos_) {
    nextLf_ = text_.find('\n', pos_);
  }
  const std::size_t lf = std::min(nextLf_, text_.size());
  const std::size_t cr = text_.substr(0, lf).find('\r', pos_);
  begin = pos_;
  if (cr != std::string_view::npos) {
    length = cr - pos_;
    const bool crLf = cr + 1 == nextLf_;
    ending = crLf ? LineEnd::CrLf : LineEnd::Cr;
    pos_ = crLf ? lf + 1 : cr + 1;
  } else if (lf < text_.size()) {
    length = lf - pos_;
    ending = LineEnd::Lf;
    pos_ = lf + 1;
  } else {
    length = text_.size() - pos_;
    ending = LineEnd::None;
    pos_ = text_.size();
  }
  return true;
}

}  // namespace store
