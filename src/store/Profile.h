#pragma once

#include <string>
#include <string_view>

#include "store/Problem.h"

namespace store {

// The two single profile operations. Each one reads the file afresh, and a change is written
// back at once (atomically), so nothing is cached between calls.

// The key's trimmed value cut to 126 characters; the empty text when the file, the section or
// the key is missing, or the file cannot be read.
std::string ReadProfileValue(std::string_view section, std::string_view key,
                             const std::string& path);

// Creates the file and the section when missing; an existing key keeps its line and spelling.
// Fails, writing nothing, for an entry that ProfileDocument::RejectReason refuses (a line break
// in the value, say) and for a file that exists but cannot be read. Writing a value the key
// already has leaves the file untouched.
Result<void> WriteProfileValue(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path);

}  // namespace store
