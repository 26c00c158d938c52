#include "store/TicketTexts.h"

#include <algorithm>
#include <stdexcept>

namespace store {

namespace {

// Beyond this much text besides the tickets, a buffer read from a file is not worth keeping.
constexpr std::size_t kSpareBytesKept = std::size_t{1} << 16;

TextSpan SpanAt(std::size_t offset, std::size_t size) {
  if (offset > kMaxSpanOffset || size > kMaxSpanSize) {
    throw std::length_error("ticket text too long");
  }
  TextSpan span;
  span.offset = offset;
  span.size = size;
  return span;
}

}  // namespace

TicketTexts::TicketTexts(std::initializer_list<std::string_view> tickets) {
  spans_.reserve(tickets.size());
  for (const std::string_view ticket : tickets) {
    push_back(ticket);
  }
}

TicketTexts::TicketTexts(const std::vector<std::string>& tickets) {
  std::size_t size = 0;
  for (const std::string& ticket : tickets) {
    size += ticket.size();
  }
  text_.reserve(size);
  spans_.reserve(tickets.size());
  for (const std::string& ticket : tickets) {
    push_back(ticket);
  }
}

TicketTexts::TicketTexts(LargeText buffer, std::vector<TextSpan> spans)
    : text_(std::move(buffer)), spans_(std::move(spans)) {
  if (text_.size() > 2 * TextSize() + kSpareBytesKept) {
    Pack();
  }
}

std::size_t TicketTexts::TextSize() const {
  std::size_t size = 0;
  for (const TextSpan span : spans_) {
    size += span.size;
  }
  return size;
}

void TicketTexts::push_back(std::string_view ticket) {
  spans_.push_back(SpanAt(text_.size(), ticket.size()));
  text_.append(ticket);
}

void TicketTexts::clear() {
  text_.clear();
  spans_.clear();
}

void TicketTexts::RemoveMarked(const std::vector<std::uint8_t>& marks) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < spans_.size(); ++i) {
    if (i >= marks.size() || marks[i] == 0) {
      spans_[kept++] = spans_[i];
    }
  }
  spans_.resize(kept);
  // The texts of the removed tickets stay in the buffer until it holds mostly those.
  if (text_.size() > 2 * TextSize() + kSpareBytesKept) {
    Pack();
  }
}

std::vector<std::string> TicketTexts::ToStrings() const {
  return {begin(), end()};
}

void TicketTexts::Pack() {
  LargeText text;
  text.reserve(TextSize());
  for (TextSpan& span : spans_) {
    const std::size_t offset = text.size();
    text.append(text_, span.offset, span.size);
    span.offset = offset;
  }
  text_ = std::move(text);
}

bool operator==(const TicketTexts& a, const TicketTexts& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

bool operator==(const TicketTexts& a, const std::vector<std::string>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace store
