#pragma once

#include <string>
#include <string_view>

#include "store/Problem.h"

namespace cli {

// The text of an import file: UTF-8 with or without a byte-order mark, or UTF-16 little- or
// big-endian with one. Anything else is refused rather than guessed at, since a wrong guess
// turns a line into other numbers: bytes that are not UTF-8, NUL bytes (UTF-16 without a mark
// or a binary file), and UTF-16 that is cut or holds a lone surrogate. The text comes as UTF-8
// without a byte-order mark; a problem has no path, as the caller knows which file the bytes are.
store::Result<std::string> DecodeImportText(std::string_view bytes);

}  // namespace cli
