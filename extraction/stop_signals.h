// A run stopped from outside the program: SIGINT (Ctrl-C), SIGTERM and
// SIGHUP ask it to stop as the window's Escape does, between two files, so
// that its output holds whole pieces and its log and summary are told; the
// program then ends as the signal would have ended it. A second signal
// ends the program at once, and still leaves no partial piece: the output
// file being written is cut back to its last whole piece, or removed when
// the run created it for this piece.
#ifndef VANTREL_EXTRACTION_STOP_SIGNALS_H_
#define VANTREL_EXTRACTION_STOP_SIGNALS_H_

namespace vantrel {

// Catches the stop signals for the rest of the process's life.
void CatchStopSignals();

// The first stop signal that came, or 0: a run's sink answers
// StopRequested from it.
int StopSignalReceived();

// Ends the process as `signal` does by default (the shell sees 128 plus its
// number).
[[noreturn]] void EndAsSignalled(int signal);

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_STOP_SIGNALS_H_
