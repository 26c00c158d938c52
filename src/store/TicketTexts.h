#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "store/LargeText.h"

namespace store {

// Where one ticket's text lies in a TicketTexts buffer: eight bytes, where a view would take
// sixteen. A ticket read from a file is at most 126 characters, one added at most 16 MiB.
struct TextSpan {
  std::uint64_t offset : 40 = 0;
  std::uint64_t size : 24 = 0;
};
inline constexpr std::size_t kMaxSpanOffset = (std::size_t{1} << 40) - 1;
inline constexpr std::size_t kMaxSpanSize = (std::size_t{1} << 24) - 1;

// A list of ticket texts kept in one buffer, each ticket a span of it: a list read from a data
// file keeps the file's own bytes, so reading 32,767 tickets costs no allocation per ticket and
// copying or comparing a list is a copy or compare of two arrays.
class TicketTexts {
 public:
  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    const_iterator() = default;
    const_iterator(const TicketTexts* list, std::size_t at) : list_(list), at_(at) {}
    std::string_view operator*() const { return (*list_)[at_]; }
    std::string_view operator[](difference_type n) const { return *(*this + n); }
    const_iterator& operator++() { return ++at_, *this; }
    const_iterator operator++(int) { return {list_, at_++}; }
    const_iterator& operator--() { return --at_, *this; }
    const_iterator operator--(int) { return {list_, at_--}; }
    const_iterator& operator+=(difference_type n) { return at_ += n, *this; }
    const_iterator& operator-=(difference_type n) { return at_ -= n, *this; }
    friend const_iterator operator+(const_iterator i, difference_type n) { return i += n; }
    friend const_iterator operator+(difference_type n, const_iterator i) { return i += n; }
    friend const_iterator operator-(const_iterator i, difference_type n) { return i -= n; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
      return static_cast<difference_type>(a.at_) - static_cast<difference_type>(b.at_);
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) {
      return a.at_ == b.at_;
    }
    friend auto operator<=>(const const_iterator& a, const const_iterator& b) {
      return a.at_ <=> b.at_;
    }

   private:
    const TicketTexts* list_ = nullptr;
    std::size_t at_ = 0;
  };

  TicketTexts() = default;
  TicketTexts(std::initializer_list<std::string_view> tickets);
  // A copy, for lists made one ticket at a time elsewhere.
  TicketTexts(const std::vector<std::string>& tickets);  // NOLINT(google-explicit-constructor)
  // Takes over `buffer`, whose spans are the tickets. A buffer much larger than its tickets (a
  // data file holding much else) is not kept: the tickets are copied into one of their own.
  TicketTexts(LargeText buffer, std::vector<TextSpan> spans);

  std::size_t size() const { return spans_.size(); }
  bool empty() const { return spans_.empty(); }
  std::string_view operator[](std::size_t i) const {
    return {text_.data() + spans_[i].offset, spans_[i].size};
  }
  std::string_view back() const { return (*this)[size() - 1]; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }
  // The length of all the tickets' texts together.
  std::size_t TextSize() const;

  void push_back(std::string_view ticket);
  void clear();
  // Takes the tickets whose mark is not 0 off the list; the others keep their order.
  void RemoveMarked(const std::vector<std::uint8_t>& marks);
  std::vector<std::string> ToStrings() const;

  friend bool operator==(const TicketTexts& a, const TicketTexts& b);
  friend bool operator==(const TicketTexts& a, const std::vector<std::string>& b);

 private:
  void Pack();

  LargeText text_;
  std::vector<TextSpan> spans_;
};

}  // namespace store
