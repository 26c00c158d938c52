#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace cli {

// Appends the UTF-8 form of a Unicode scalar value.
void AppendUtf8(std::string& to, std::uint32_t code);

// The length of the well-formed UTF-8 sequence at `i`, or 0. Overlong forms, surrogates and
// values past U+10FFFF are not well formed, nor is a sequence cut by the end of `text`.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

}  // namespace cli
