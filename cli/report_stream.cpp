#include "cli/report_stream.h"

#include <unistd.h>

#include <cerrno>

namespace vantrel::cli {

void ReportStream::Write(std::string_view bytes) {
  while (error_ == 0 && !bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = n < 0 ? errno : EIO;
      return;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace vantrel::cli
