#pragma once

#include <string_view>

#include "cli/OutputText.h"
#include "store/Problem.h"

namespace cli {

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
