// vantrel-cli as a program that tests start: in a child process, its
// standard output read through a pipe (or sent where a test wants it), its
// standard error kept in a file.
#ifndef VANTREL_TESTS_CLI_CLI_PROCESS_H_
#define VANTREL_TESTS_CLI_CLI_PROCESS_H_

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace vantrel::testing {

struct Outcome {
  std::string out;
  std::string err;
  int status = -1;
};

inline std::string Drain(int fd) {
  std::string bytes;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, n);
  ::close(fd);
  return bytes;
}

// Where a vantrel-cli process's standard output goes.
enum class Stdout {
  kPipe,        // a pipe that the test reads
  kFull,        // /dev/full: every write fails with ENOSPC
  kClosedPipe,  // a pipe whose reader has gone: EPIPE, or SIGPIPE
};

// A vantrel-cli process started with some arguments; standard error goes
// to a file, so that neither pipe can fill up while the other is read.
class CliProcess {
 public:
  // With `stdin_file`, standard input comes from that file.
  explicit CliProcess(const std::vector<std::string>& args,
                      Stdout stdout_to = Stdout::kPipe,
                      const std::string& stdin_file = {}) {
    const char* program = std::getenv("VANTREL_CLI");
    if (program == nullptr) {
      ADD_FAILURE() << "VANTREL_CLI is not set";
      return;
    }
    const std::string err_path = (scratch_.path() / "stderr").string();
    int out[2];
    if (::pipe(out) != 0) return;
    if (stdout_to == Stdout::kFull) {
      ::close(out[1]);
      out[1] = ::open("/dev/full", O_WRONLY);
    } else if (stdout_to == Stdout::kClosedPipe) {
      ::close(out[0]);
      out[0] = ::open("/dev/null", O_RDONLY);
    }
    child_ = ::fork();
    if (child_ == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      if (!stdin_file.empty()) {
        const int in = ::open(stdin_file.c_str(), O_RDONLY);
        if (in >= 0) ::dup2(in, STDIN_FILENO);
      }
      FILE* err = std::fopen(err_path.c_str(), "w");
      if (err != nullptr) ::dup2(::fileno(err), STDERR_FILENO);
      ::close(out[0]);
      std::vector<char*> argv{const_cast<char*>(program)};
      for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
      }
      argv.push_back(nullptr);
      ::execv(program, argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    out_fd_ = out[0];
  }

  // The program's process, for a test that sends it signals.
  pid_t pid() const { return child_; }

  // Waits for the program to end.
  Outcome Finish() {
    Outcome outcome;
    if (child_ <= 0) return outcome;
    outcome.out = Drain(out_fd_);
    int status = 0;
    ::waitpid(child_, &status, 0);
    outcome.status =
        WIFEXITED(status) ? WEXITSTATUS(status) : -128 - WTERMSIG(status);
    outcome.err = scratch_.read("stderr");
    return outcome;
  }

 private:
  TempFolder scratch_;
  pid_t child_ = -1;
  int out_fd_ = -1;
};

inline Outcome RunCli(const std::vector<std::string>& args,
                      Stdout stdout_to = Stdout::kPipe,
                      const std::string& stdin_file = {}) {
  return CliProcess(args, stdout_to, stdin_file).Finish();
}

}  // namespace vantrel::testing

#endif  // VANTREL_TESTS_CLI_CLI_PROCESS_H_
