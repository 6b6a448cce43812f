// The work that the window hands its worker thread, one at a time: a run,
// the explanation of a run's failures, or a suggestion. It owns the thread
// and the relay that the work tells, shows what a run told once a frame,
// passes on a request to stop, and shows the work's end on the window's
// thread. The window only says what to start and how to show it, as KDE's
// kfind keeps its query apart from its dialog.
#ifndef VANTREL_WINDOW_RUN_CONTROL_H_
#define VANTREL_WINDOW_RUN_CONTROL_H_

#include <QObject>
#include <functional>
#include <memory>
#include <thread>

#include "window/run_relay.h"

class QTimer;

namespace vantrel::window {

class RunControl : public QObject {
  Q_OBJECT

 public:
  explicit RunControl(QObject* parent);
  // Stops the work going on and waits for its thread.
  ~RunControl() override;

  bool Running() const { return worker_.joinable(); }

  // What the relay of the work to start calls on the worker thread once
  // the work is over; a relay is made with it.
  std::function<void()> WhenEnded();

  // Starts `work` on the worker thread; it tells `relay`, which the control
  // keeps until the work is over. While it goes on, `each_frame` (if any)
  // shows what the relay noted, once a frame; once it is over and its
  // thread joined, `at_end` shows its end, and Ended is emitted.
  void Start(std::unique_ptr<RunRelay> relay, std::function<void()> work,
             std::function<void()> at_end,
             std::function<void()> each_frame = {});

  // Asks the work to stop before its next file or page; any time.
  void Stop();
  // Stops the work and waits for it, without showing its end (the window
  // closes).
  void Abandon();

 signals:
  void Ended();

 private:
  void End();

  std::unique_ptr<RunRelay> relay_;
  std::thread worker_;
  std::function<void()> at_end_;
  QTimer* frame_;
};

}  // namespace vantrel::window

#endif  // VANTREL_WINDOW_RUN_CONTROL_H_
