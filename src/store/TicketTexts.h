#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace store {

// A list of ticket texts kept in one string, each ticket a span of it; a list read from a data
// file keeps the file's bytes as that string. Reading 32,767 tickets into a std::string each (a
// heap block apiece: a ticket is longer than a string keeps inline) took too long for the reading
// goal of 2 x the floor; see the ablation in BENCHMARKS.md.
class TicketTexts {
 public:
  // Eight bytes a ticket, not sixteen: 64 fewer page faults for 32,767 tickets. `pelmora-check`
  // on them, every ticket matched, took 2.81 ms (2.12 x the floor, goal 2 x) with sixteen and
  // 2.63 ms (1.98 x) with eight, each key's value then cut from its '=' found once.
  struct Span {
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
  };
  static constexpr std::size_t kMaxText = UINT32_MAX;

  TicketTexts() = default;
  // Takes over `text`, of which `spans` are the tickets.
  TicketTexts(std::string text, std::vector<Span> spans)
      : text_(std::move(text)), spans_(std::move(spans)) {}
  TicketTexts(std::initializer_list<std::string_view> tickets);
  TicketTexts(const std::vector<std::string>& tickets);  // NOLINT(google-explicit-constructor)

  std::size_t size() const { return spans_.size(); }
  bool empty() const { return spans_.empty(); }
  std::string_view operator[](std::size_t i) const {
    return std::string_view(text_).substr(spans_[i].offset, spans_[i].size);
  }
  std::string_view back() const { return (*this)[size() - 1]; }

  void push_back(std::string_view ticket);
  void clear();
  // Takes the tickets whose mark is not 0 off the list; the others keep their order.
  void RemoveMarked(const std::vector<std::uint8_t>& marks);
  std::vector<std::string> ToStrings() const;

  // Over the tickets in order, as the standard algorithms take it.
  struct Iterator {
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;
    const TicketTexts* list = nullptr;
    std::size_t at = 0;
    std::string_view operator*() const { return (*list)[at]; }
    Iterator& operator++() { return ++at, *this; }
    Iterator operator++(int) { return {list, at++}; }
    bool operator==(const Iterator&) const = default;
  };
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, size()}; }

  friend bool operator==(const TicketTexts& a, const TicketTexts& b);

 private:
  std::string text_;
  std::vector<Span> spans_;
};

}  // namespace store
