#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "store/Problem.h"

namespace cli {

// The text of an import file: UTF-8 with or without a byte-order mark, or UTF-16 little- or
// big-endian with one. Anything else is refused rather than guessed at, since a wrong guess
// turns a line into other numbers: bytes that are not UTF-8, NUL bytes (UTF-16 without a mark
// or a binary file), and UTF-16 that is cut or holds a lone surrogate. The text comes as UTF-8
// without a byte-order mark; a problem has no path, as the caller knows which file the bytes are.
// It is decoded a piece at a time, for input of any length: the kind of text is told by the
// start of the first piece, and a character cut by the end of a piece is finished by the next.
class ImportDecoder {
 public:
  // Appends the text of `piece` to `out`; a problem ends the reading.
  store::Result<void> Feed(std::string_view piece, std::string& out);
  // After the last piece: a character left half is a problem.
  store::Result<void> Finish();

 private:
  enum class Kind { Unknown, Utf8, Utf16Le, Utf16Be };
  Kind kind_ = Kind::Unknown;
  std::string carry_;       // the bytes of a character the last piece cut
  std::size_t offset_ = 0;  // bytes of input before carry_
};

// A line longer than this is refused unread: no row of tickets comes near it.
inline constexpr std::size_t kMaxLineBytes = 64 * 1024;

// Cuts text given a piece at a time into lines (CR LF, LF and CR end one), and hands on each line
// with its number from 1, cut to kMaxLineBytes with `overlong` set when it was longer.
class LineCutter {
 public:
  using Visit = std::function<void(std::size_t number, std::string_view line, bool overlong)>;
  void Feed(std::string_view text, const Visit& visit);
  // The last line, when the text does not end with a line end.
  void Finish(const Visit& visit);

 private:
  std::string line_;
  bool overlong_ = false;
  bool afterCr_ = false;
  std::size_t number_ = 0;
};

}  // namespace cli
