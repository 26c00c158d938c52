#pragma once

#include <string>
#include <string_view>

namespace cli {

struct OutputStyle {
  // Shows control characters as escapes, for a terminal: C0 controls other than tab and line
  // ends, DEL, and C1 controls, whether UTF-8 encoded or lone bytes. Text from a data file or an
  // import file could otherwise retitle, clear or reprogram the user's terminal.
  bool escapeControls = false;
  bool lfLineEnds = false;  // CR LF becomes LF
};

// Turns text into what is written, piece by piece: a CR or a UTF-8 sequence cut at the end of a
// piece waits for the next one, so the result does not depend on how the text is cut.
class OutputFilter {
 public:
  explicit OutputFilter(OutputStyle style) : style_(style) {}

  void SetLfLineEnds(bool lf) { style_.lfLineEnds = lf; }
  // Whatever is fed now comes out unchanged.
  bool PassesThrough() const {
    return !style_.escapeControls && !style_.lfLineEnds && waiting_.empty();
  }
  std::string Feed(std::string_view piece);
  std::string Finish();  // what is still waiting

 private:
  // The waiting text and then `piece`.
  std::string Convert(std::string_view piece, bool last);

  OutputStyle style_;
  std::string waiting_;
};

}  // namespace cli
