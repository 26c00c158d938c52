#include "cli/OutputWriter.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace cli {

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
