#include "cli/ImportText.h"

#include <cstdint>
#include <utility>

#include "store/TextEncoding.h"

namespace cli {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

std::string ByteOffset(std::size_t offset) {
  return "byte " + std::to_string(offset + 1);
}

// How many bytes a UTF-8 sequence that starts with `lead` takes, or 0 for a byte no sequence
// starts with.
std::size_t SequenceLengthOf(unsigned char lead) {
  return lead < 0x80                    ? 1
         : lead >= 0xC2 && lead <= 0xDF ? 2
         : lead >= 0xE0 && lead <= 0xEF ? 3
         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                        : 0;
}

}  // namespace

store::Result<void> ImportDecoder::Feed(std::string_view piece, std::string& out) {
  carry_.append(piece);
  std::string_view bytes = carry_;
  std::size_t i = 0;
  if (kind_ == Kind::Unknown) {
    kind_ = bytes.starts_with(kUtf16LeMark)   ? Kind::Utf16Le
            : bytes.starts_with(kUtf16BeMark) ? Kind::Utf16Be
                                              : Kind::Utf8;
    i = kind_ != Kind::Utf8            ? kUtf16LeMark.size()
        : bytes.starts_with(kUtf8Mark) ? kUtf8Mark.size()
                                       : 0;
  }
  if (kind_ == Kind::Utf8) {
    const std::size_t start = i;
    while (i < bytes.size()) {
      if (bytes[i] == '\0') {
        return store::Fail("", "it holds a NUL byte at " + ByteOffset(offset_ + i) +
                                   "; not a text file, or UTF-16 without a byte-order mark");
      }
      const std::size_t length = store::Utf8SequenceLength(bytes, i);
      if (length == 0) {
        // A character cut by the end of the piece is finished by the next one.
        if (SequenceLengthOf(static_cast<unsigned char>(bytes[i])) > bytes.size() - i) {
          break;
        }
        return store::Fail("", "it is not UTF-8 text (" + ByteOffset(offset_ + i) +
                                   "); save it as UTF-8 or UTF-16 with a byte-order mark");
      }
      i += length;
    }
    out.append(bytes.substr(start, i - start));
  } else {
    const bool bigEndian = kind_ == Kind::Utf16Be;
    auto unitAt = [&](std::size_t at) -> std::uint32_t {
      const auto first = static_cast<unsigned char>(bytes[at]);
      const auto second = static_cast<unsigned char>(bytes[at + 1]);
      return bigEndian ? (first << 8U) | second : (second << 8U) | first;
    };
    while (i + 1 < bytes.size()) {
      std::uint32_t code = unitAt(i);
      std::size_t length = 2;
      if (code >= 0xD800 && code <= 0xDBFF) {
        if (i + 3 >= bytes.size()) {
          break;  // its other half is in the next piece
        }
        const std::uint32_t low = unitAt(i + 2);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          code = 0x10000 + ((code - 0xD800) << 10U) + (low - 0xDC00);
          length = 4;
        }
      }
      if (code >= 0xD800 && code <= 0xDFFF) {
        return store::Fail(
            "", "it is UTF-16 but holds a broken character at " + ByteOffset(offset_ + i));
      }
      if (code == 0) {
        return store::Fail(
            "", "it holds a NUL character at " + ByteOffset(offset_ + i) + "; not a text file");
      }
      store::AppendUtf8(out, static_cast<char32_t>(code));
      i += length;
    }
  }
  offset_ += i;
  carry_.erase(0, i);
  return {};
}

store::Result<void> ImportDecoder::Finish() {
  if (carry_.empty()) {
    return {};
  }
  if (kind_ == Kind::Utf8) {
    return store::Fail("", "it is not UTF-8 text (" + ByteOffset(offset_) +
                               "); save it as UTF-8 or UTF-16 with a byte-order mark");
  }
  if (carry_.size() % 2 != 0) {
    return store::Fail("", "it is UTF-16 but ends in half a character");
  }
  return store::Fail("", "it is UTF-16 but holds a broken character at " + ByteOffset(offset_));
}

void LineCutter::Feed(std::string_view text, const Visit& visit) {
  for (const char c : text) {
    if (std::exchange(afterCr_, false) && c == '\n') {
      continue;  // CR LF ends one line
    }
    if (c == '\r' || c == '\n') {
      afterCr_ = c == '\r';
      visit(++number_, line_, overlong_);
      line_.clear();
      overlong_ = false;
    } else if (line_.size() < kMaxLineBytes) {
      line_.push_back(c);
    } else {
      overlong_ = true;
    }
  }
}

void LineCutter::Finish(const Visit& visit) {
  if (!line_.empty() || overlong_) {
    visit(++number_, line_, overlong_);
  }
}

}  // namespace cli
