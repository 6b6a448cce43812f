// Standard output as vantrel-cli writes its report to it.
//
// The output files are the point of a run, so a report that cannot be
// written (a full disk, a reader that went away) must not cut the run
// short: the first failed write is kept, every later write is skipped, and
// the caller tells the user at the end.
#ifndef VANTREL_CLI_REPORT_STREAM_H_
#define VANTREL_CLI_REPORT_STREAM_H_

#include <string_view>

namespace vantrel::cli {

class ReportStream {
 public:
  explicit ReportStream(int fd) : fd_(fd) {}

  // Writes all of `bytes` at once, unless an earlier write failed.
  void Write(std::string_view bytes);

  // The error number of the first failed write, or 0.
  int error() const { return error_; }

 private:
  int fd_;
  int error_ = 0;
};

}  // namespace vantrel::cli

#endif  // VANTREL_CLI_REPORT_STREAM_H_
