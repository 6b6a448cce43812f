#include "extraction/stop_signals.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "extraction/sys/file_system.h"

namespace vantrel {
namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<int> g_received{0};
static_assert(std::atomic<int>::is_always_lock_free);

// The first signal only records itself; the run stops at its next file.
// A second one ends the program from here, after it has discarded the
// piece being written.
void OnStopSignal(int signal_number) {
  int none = 0;
  if (g_received.compare_exchange_strong(none, signal_number)) return;
  fs::DiscardUnfinishedOutput();
  EndAsSignalled(signal_number);
}

}  // namespace

void CatchStopSignals() {
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // While one of them is handled, the others wait, so that two at once are
  // a first and a second.
  for (const int signal_number : kStopSignals)
    sigaddset(&action.sa_mask, signal_number);
  // Reads and writes go on where the signal found them.
  action.sa_flags = SA_RESTART;
  for (const int signal_number : kStopSignals)
    ::sigaction(signal_number, &action, nullptr);
}

int StopSignalReceived() { return g_received.load(); }

void EndAsSignalled(int signal_number) {
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal_number, &action, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal_number);
  // Inside the handler the signal is blocked; let it through.
  ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  ::raise(signal_number);
  // A signal whose default action is not to end (none of these) or that
  // is blocked elsewhere: end with the status a shell gives it.
  ::_exit(128 + signal_number);
}

}  // namespace vantrel
