#include "store/TextEncoding.h"

namespace store {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// 80..9F of Windows-1252; the rest of the code page equals Latin-1.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUnit(std::string& out, char16_t unit, bool bigEndian) {
  const char high = static_cast<char>(unit >> 8);
  const char low = static_cast<char>(unit & 0xFF);
  out.push_back(bigEndian ? high : low);
  out.push_back(bigEndian ? low : high);
}

// Decodes one UTF-8 sequence at text[i]. Sets `length` to the bytes used and returns the code
// point, or returns nothing (length 1) for a byte that starts no valid sequence. Surrogates are
// accepted only when `allowSurrogates`, which lets decoded UTF-16 files round-trip.
bool NextUtf8(std::string_view text, std::size_t i, bool allowSurrogates, char32_t& c,
              std::size_t& length) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  const unsigned char lead = byte(0);
  length = 1;
  if (lead < 0x80) {
    c = lead;
    return true;
  }
  std::size_t need;
  char32_t min;
  if ((lead & 0xE0) == 0xC0) {
    need = 1, min = 0x80, c = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    need = 2, min = 0x800, c = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    need = 3, min = 0x10000, c = lead & 0x07;
  } else {
    return false;
  }
  if (i + need >= text.size()) {
    return false;
  }
  for (std::size_t k = 1; k <= need; ++k) {
    if ((byte(k) & 0xC0) != 0x80) {
      return false;
    }
    c = (c << 6) | (byte(k) & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (!allowSurrogates && c >= 0xD800 && c <= 0xDFFF)) {
    return false;
  }
  length = need + 1;
  return true;
}

}  // namespace

FileEncoding DetectEncoding(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) {
    return FileEncoding::Utf16Le;
  }
  if (bytes.starts_with("\xFE\xFF")) {
    return FileEncoding::Utf16Be;
  }
  return FileEncoding::Bytes;
}

char32_t Windows1252Char(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char32_t{byte};
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) {
      return false;
    }
    i += length;
  }
  return true;
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  char32_t c;
  std::size_t length;
  return NextUtf8(text, i, false, c, length) ? length : 0;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string DecodeFileText(std::string_view bytes, FileEncoding encoding) {
  if (encoding == FileEncoding::Bytes) {
    return std::string(bytes);
  }
  const bool bigEndian = encoding == FileEncoding::Utf16Be;
  const auto unitAt = [&](std::size_t i) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  };
  std::string out;
  out.reserve(bytes.size() / 2);
  std::size_t i = 2;  // past the byte-order mark
  while (i + 1 < bytes.size()) {
    const char16_t unit = unitAt(i);
    i += 2;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < bytes.size()) {
      const char16_t next = unitAt(i);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        i += 2;
        AppendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (next - 0xDC00));
        continue;
      }
    }
    AppendUtf8(out, unit);
  }
  if (i < bytes.size()) {
    AppendUtf8(out, kReplacement);
  }
  return out;
}

std::string EncodeFileText(std::string_view text, FileEncoding encoding) {
  if (encoding == FileEncoding::Bytes) {
    return std::string(text);
  }
  const bool bigEndian = encoding == FileEncoding::Utf16Be;
  std::string out;
  out.reserve(2 + text.size() * 2);
  AppendUnit(out, 0xFEFF, bigEndian);
  char32_t c;
  std::size_t length;
  for (std::size_t i = 0; i < text.size(); i += length) {
    if (!NextUtf8(text, i, true, c, length)) {
      c = Windows1252Char(static_cast<unsigned char>(text[i]));
    }
    if (c >= 0x10000) {
      AppendUnit(out, static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), bigEndian);
      AppendUnit(out, static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), bigEndian);
    } else {
      AppendUnit(out, static_cast<char16_t>(c), bigEndian);
    }
  }
  return out;
}

}  // namespace store
