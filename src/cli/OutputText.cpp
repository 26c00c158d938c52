#include "cli/OutputText.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "store/TextEncoding.h"

namespace cli {

namespace {

constexpr std::size_t kLongestUtf8 = 4;

std::string ByteEscape(unsigned char c) {
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02x", c);
  return text;
}

bool IsLeadByte(unsigned char c) {
  return c >= 0xC2 && c <= 0xF4;
}

}  // namespace

std::string OutputFilter::Feed(std::string_view piece) {
  return Convert(piece, false);
}

std::string OutputFilter::Finish() {
  return Convert({}, true);
}

std::string OutputFilter::Convert(std::string_view piece, bool last) {
  const std::string joined = std::exchange(waiting_, {}).append(piece);
  const std::string_view text = joined;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\r') {
      if (i + 1 == text.size() && !last) {
        waiting_.assign(text.substr(i));
        break;
      }
      const bool lineEnd = i + 1 < text.size() && text[i + 1] == '\n';
      if (lineEnd && style_.lfLineEnds) {
        // The LF that follows is written on its own.
      } else if (lineEnd || !style_.escapeControls) {
        out.push_back('\r');
      } else {
        out.append("\\r");
      }
      ++i;
      continue;
    }
    if (!style_.escapeControls || c == '\n' || c == '\t' || (c >= 0x20 && c < 0x7F)) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    if (c < 0x80) {
      out.append(c == 0x1B ? "\\e" : ByteEscape(c));
      ++i;
      continue;
    }
    const std::size_t length = store::Utf8SequenceLength(text, i);
    if (length == 0 && !last && IsLeadByte(c) && text.size() - i < kLongestUtf8) {
      waiting_.assign(text.substr(i));
      break;
    }
    if (length == 0) {
      // A byte outside UTF-8: one from 0x80 to 0x9F is a C1 control to an 8-bit terminal.
      if (c <= 0x9F) {
        out.append(ByteEscape(c));
      } else {
        out.push_back(static_cast<char>(c));
      }
      ++i;
      continue;
    }
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (c == 0xC2 && second <= 0x9F) {
      out.append("\\u00").append(ByteEscape(second).substr(2));
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out;
}

void OutputWriter::Write(std::string_view text) {
  // Into a file or a pipe the text usually goes as it is: no copy of a long report.
  Send(filter_.PassesThrough() ? text : std::string_view(filter_.Feed(text)));
}

void OutputWriter::Finish() {
  Send(filter_.Finish());
}

void OutputWriter::Send(std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size() && !readerGone_ && written_) {
    const ssize_t wrote = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (wrote >= 0) {
      done += static_cast<std::size_t>(wrote);
    } else if (errno == EPIPE) {
      readerGone_ = true;
    } else if (errno != EINTR) {
      written_ = store::Fail("", std::strerror(errno));
    }
  }
}

}  // namespace cli
