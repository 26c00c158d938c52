#pragma once

#include <string>
#include <string_view>

namespace cli {

struct ImportText {
  bool ok = false;
  std::string text;     // UTF-8 without a byte-order mark
  std::string problem;  // why the bytes are not read as text, when not ok
};

// The text of an import file: UTF-8 with or without a byte-order mark, or UTF-16 little- or
// big-endian with one. Anything else is refused rather than guessed at, since a wrong guess
// turns a line into other numbers: bytes that are not UTF-8, NUL bytes (UTF-16 without a mark
// or a binary file), and UTF-16 that is cut or holds a lone surrogate.
ImportText DecodeImportText(std::string_view bytes);

}  // namespace cli
