// vantrel-run-child: runs one program and writes its wall time, peak memory
// and exit status into a file, for the benchmark.
//
// The benchmark does not start the measured program itself: Linux counts
// the memory of the process that forks towards the child's peak, and the
// benchmark holds whole corpora in memory. This small program has almost
// nothing to pass on.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: vantrel-run-child RESULT PROGRAM [ARG...]\n");
    return 64;
  }
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid < 0) {
    std::perror("vantrel-run-child: fork");
    return 70;
  }
  if (pid == 0) {
    ::execv(argv[2], argv + 2);
    std::fprintf(stderr, "vantrel-run-child: cannot run %s: %s\n", argv[2],
                 std::strerror(errno));
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage {};
  while (::wait4(pid, &status, 0, &usage) < 0) {
    if (errno != EINTR) {
      std::perror("vantrel-run-child: wait4");
      return 70;
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
          .count();
  std::FILE* result = std::fopen(argv[1], "w");
  if (result == nullptr) {
    std::perror("vantrel-run-child: result file");
    return 70;
  }
  // Seconds, peak resident memory in KiB, exit status (-1: killed).
  std::fprintf(result, "%.6f %ld %d\n", seconds, usage.ru_maxrss,
               WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  return std::fclose(result) == 0 ? 0 : 70;
}
