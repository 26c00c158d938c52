// The profile reads that need no document, and the rule for what can be written.
#include "store/ProfileDocument.h"

#include "store/ProfileLines.h"
#include "store/TextUtil.h"

namespace store {

std::string ProfileDocument::Lookup(std::string_view bytes, std::string_view section,
                                    std::string_view key) {
  key = TrimBlanks(key);
  std::string result;
  ForEachKey(bytes, section, [&](std::string_view name, std::string_view value) {
    if (!EqualsIgnoringAsciiCase(name, key)) {
      return true;
    }
    result = value.substr(0, kMaxProfileValueLength);
    return false;
  });
  return result;
}

std::string ProfileDocument::RejectReason(std::string_view section, std::string_view key,
                                          std::string_view value) {
  constexpr std::string_view kLineBreaks = "\r\n";
  if (section.find_first_of(kLineBreaks) != std::string_view::npos) {
    return "The section name contains a line break";
  }
  if (key.find_first_of(kLineBreaks) != std::string_view::npos) {
    return "The key name contains a line break";
  }
  if (key.find('=') != std::string_view::npos) {
    return "The key name contains \"=\"";
  }
  const std::string_view trimmedKey = TrimBlanks(key);
  if (trimmedKey.starts_with(';') || trimmedKey.starts_with('[')) {
    return "The key name starts with \";\" or \"[\"";
  }
  if (value.find_first_of(kLineBreaks) != std::string_view::npos) {
    return "The value contains a line break";
  }
  return {};
}

}  // namespace store
