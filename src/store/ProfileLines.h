#pragma once

#include <cstddef>
#include <string_view>

namespace store {

// The UTF-8 byte-order mark: skipped at the start of a file on reading, kept on writing.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// How the profile reader sees one line of a data file.
struct ClassifiedLine {
  enum Kind { Blank, Comment, Header, Key, Other } kind = Other;
  std::string_view name;   // trimmed section or key name
  std::string_view value;  // of a key, as ValueOfKeyLine reads it
};
ClassifiedLine Classify(std::string_view text);

// The value of a key line as read: trimmed, and without one pair of matching quotes (" or ')
// around it. Not cut to length.
std::string_view ValueOfKeyLine(std::string_view line);

// Line endings as the document stores them.
enum class LineEnd : unsigned char { None, CrLf, Lf, Cr };

// Splits text into lines, each with its ending: CR LF, LF and CR each end a line.
class LineSplitter {
 public:
  explicit LineSplitter(std::string_view text, std::size_t pos = 0)
      : text_(text), pos_(pos), nextLf_(text.find('\n', pos)) {}

  // Sets begin, length (without the ending) and ending of the next line.
  bool Next(std::size_t& begin, std::size_t& length, LineEnd& ending);

 private:
  std::string_view text_;
  std::size_t pos_;
  std::size_t nextLf_;  // the first LF at or after pos_, or npos
};

}  // namespace store
