// The failures that end a run through its error trap.
#ifndef VANTREL_EXTRACTION_BASE_RUN_ERROR_H_
#define VANTREL_EXTRACTION_BASE_RUN_ERROR_H_

#include <stdexcept>
#include <string>

namespace vantrel {

// A failure with a description for the log, in UTF-8: the operation, the
// object and the reason ("cannot open /data/a.htm: Permission denied").
class RunError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A failed operation of the file system, with the system's error number.
class FileSystemError : public RunError {
 public:
  FileSystemError(const std::string& description, int error_number)
      : RunError(description), error_number_(error_number) {}
  int error_number() const { return error_number_; }

 private:
  int error_number_;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_BASE_RUN_ERROR_H_
