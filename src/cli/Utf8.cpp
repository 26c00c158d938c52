#include "cli/Utf8.h"

namespace cli {

void AppendUtf8(std::string& to, std::uint32_t code) {
  if (code < 0x80) {
    to.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    to.push_back(static_cast<char>(0xC0 | (code >> 6)));
    to.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    to.push_back(static_cast<char>(0xE0 | (code >> 12)));
    to.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    to.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    to.push_back(static_cast<char>(0xF0 | (code >> 18)));
    to.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    to.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    to.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead < 0x80) {
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  if (i + length > text.size()) {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(text[i + k]);
    if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) {
      return 0;
    }
  }
  return length;
}

}  // namespace cli
