#include "store/ProfileLines.h"

#include <algorithm>
#include <cstring>

#include "store/TextUtil.h"

namespace store {

ClassifiedLine Classify(std::string_view text) {
  const std::size_t start = text.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) {
    return {ClassifiedLine::Blank, {}};
  }
  const char first = text[start];
  if (first == ';') {
    return {ClassifiedLine::Comment, {}};
  }
  if (first == '[') {
    // The name runs to the last ']', so a section name may itself hold a ']'. Without one the
    // line is neither a section nor a key.
    const std::size_t close = text.rfind(']');
    if (close == std::string_view::npos || close < start) {
      return {ClassifiedLine::Other, {}};
    }
    return {ClassifiedLine::Header, TrimBlanks(text.substr(start + 1, close - start - 1))};
  }
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    return {ClassifiedLine::Other, {}};
  }
  return {ClassifiedLine::Key, TrimBlanks(text.substr(0, equals))};
}

std::string_view ValueOfKeyLine(std::string_view line) {
  std::string_view value = TrimBlanks(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

bool LineSplitter::Next(std::size_t& begin, std::size_t& length, LineEnd& ending) {
  if (pos_ >= text_.size()) {
    return false;
  }
  // The next CR and the next LF, each found with one memchr that is repeated only once pos_
  // has passed it; a generic "find either" costs far more per byte.
  if (!crKnown_ || (nextCr_ != std::string_view::npos && nextCr_ < pos_)) {
    nextCr_ = Find('\r');
    crKnown_ = true;
  }
  if (!lfKnown_ || (nextLf_ != std::string_view::npos && nextLf_ < pos_)) {
    nextLf_ = Find('\n');
    lfKnown_ = true;
  }
  const std::size_t end = std::min(nextCr_, nextLf_);
  begin = pos_;
  if (end == std::string_view::npos) {
    length = text_.size() - pos_;
    ending = LineEnd::None;
    pos_ = text_.size();
  } else {
    length = end - pos_;
    if (text_[end] == '\n') {
      ending = LineEnd::Lf;
      pos_ = end + 1;
    } else if (end + 1 < text_.size() && text_[end + 1] == '\n') {
      ending = LineEnd::CrLf;
      pos_ = end + 2;
    } else {
      ending = LineEnd::Cr;
      pos_ = end + 1;
    }
  }
  return true;
}

bool LineSplitter::SkipBlankLines(std::size_t& begin, std::size_t& length, LineEnd& ending) {
  std::size_t p = pos_;
  std::size_t afterLastEnd = pos_;
  while (p < text_.size()) {
    const char c = text_[p];
    if (c == '\n' || c == '\r') {
      afterLastEnd = p + 1;
    } else if (c != ' ' && c != '\t') {
      break;
    }
    ++p;
  }
  std::size_t stop = afterLastEnd;
  if (p == text_.size()) {
    stop = p;  // blank to the end: the last line may have no ending
  }
  if (stop == pos_) {
    return false;
  }
  begin = pos_;
  const char last = text_[stop - 1];
  if (last == '\n') {
    const bool crLf = stop - 1 > pos_ && text_[stop - 2] == '\r';
    ending = crLf ? LineEnd::CrLf : LineEnd::Lf;
    length = stop - begin - (crLf ? 2 : 1);
  } else if (last == '\r') {
    // Text follows without an LF (or the text ends), so this CR ends its line alone.
    ending = LineEnd::Cr;
    length = stop - begin - 1;
  } else {
    ending = LineEnd::None;
    length = stop - begin;
  }
  pos_ = stop;
  return true;
}

std::size_t LineSplitter::Find(char c) const {
  const void* hit = std::memchr(text_.data() + pos_, c, text_.size() - pos_);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data())
             : std::string_view::npos;
}

std::size_t CountLines(std::string_view text) {
  std::size_t lines = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    lines += text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
  }
  return lines;
}

}  // namespace store
