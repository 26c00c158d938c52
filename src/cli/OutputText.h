#pragma once

#include <string>
#include <string_view>

#include "store/Problem.h"

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

// Writes a command's output to a file descriptor through an OutputFilter. A reader that went
// away (a closed pipe, as `| head` leaves) ends the output quietly: nothing more is written and
// it is no error. Any other failure ends the output too and is kept for the caller to report.
// SIGPIPE must be ignored for the closed pipe to be seen here rather than end the program.
class OutputWriter {
 public:
  OutputWriter(int fd, OutputStyle style) : fd_(fd), filter_(style) {}

  void SetLfLineEnds(bool lf) { filter_.SetLfLineEnds(lf); }
  void Write(std::string_view text);
  void Finish();

  bool readerGone() const { return readerGone_; }
  // A failed write other than to a closed pipe; its problem names no path.
  const store::Result<void>& written() const { return written_; }

 private:
  void Send(std::string_view bytes);

  int fd_;
  OutputFilter filter_;
  bool readerGone_ = false;
  store::Result<void> written_;
};

}  // namespace cli
