#include "cli/ImportText.h"

#include <cstdint>

#include "store/TextEncoding.h"

namespace cli {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

std::string ByteOffset(std::size_t offset) {
  return "byte " + std::to_string(offset + 1);
}

store::Result<std::string> DecodeUtf16(std::string_view bytes, bool bigEndian) {
  const std::size_t start = kUtf16LeMark.size();
  if ((bytes.size() - start) % 2 != 0) {
    return store::Fail("", "it is UTF-16 but ends in half a character");
  }
  auto unitAt = [&](std::size_t i) -> std::uint32_t {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (first << 8U) | second : (second << 8U) | first;
  };
  std::string text;
  text.reserve((bytes.size() - start) / 2);
  for (std::size_t i = start; i < bytes.size(); i += 2) {
    std::uint32_t code = unitAt(i);
    if (code >= 0xD800 && code <= 0xDBFF && i + 3 < bytes.size()) {
      const std::uint32_t low = unitAt(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        code = 0x10000 + ((code - 0xD800) << 10U) + (low - 0xDC00);
        i += 2;
      }
    }
    if (code >= 0xD800 && code <= 0xDFFF) {
      return store::Fail("", "it is UTF-16 but holds a broken character at " + ByteOffset(i));
    }
    if (code == 0) {
      return store::Fail("", "it holds a NUL character at " + ByteOffset(i) + "; not a text file");
    }
    store::AppendUtf8(text, static_cast<char32_t>(code));
  }
  return text;
}

}  // namespace

store::Result<std::string> DecodeImportText(std::string_view bytes) {
  if (bytes.starts_with(kUtf16LeMark)) {
    return DecodeUtf16(bytes, false);
  }
  if (bytes.starts_with(kUtf16BeMark)) {
    return DecodeUtf16(bytes, true);
  }
  const std::size_t start = bytes.starts_with(kUtf8Mark) ? kUtf8Mark.size() : 0;
  for (std::size_t i = start; i < bytes.size();) {
    if (bytes[i] == '\0') {
      return store::Fail("", "it holds a NUL byte at " + ByteOffset(i) +
                                 "; not a text file, or UTF-16 without a byte-order mark");
    }
    const std::size_t length = store::Utf8SequenceLength(bytes, i);
    if (length == 0) {
      return store::Fail("", "it is not UTF-8 text (" + ByteOffset(i) +
                                 "); save it as UTF-8 or UTF-16 with a byte-order mark");
    }
    i += length;
  }
  return std::string(bytes.substr(start));
}

}  // namespace cli
