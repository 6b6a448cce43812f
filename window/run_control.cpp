#include "window/run_control.h"

#include <QMetaObject>
#include <QTimer>
#include <utility>

namespace vantrel::window {
namespace {

// How often a run's progress is shown: once a frame of a 60 Hz display.
constexpr int kFrameMilliseconds = 16;

}  // namespace

RunControl::RunControl(QObject* parent)
    : QObject(parent), frame_(new QTimer(this)) {
  frame_->setInterval(kFrameMilliseconds);
}

RunControl::~RunControl() { Abandon(); }

std::function<void()> RunControl::WhenEnded() {
  return [this] {
    QMetaObject::invokeMethod(this, &RunControl::End, Qt::QueuedConnection);
  };
}

void RunControl::Start(std::unique_ptr<RunRelay> relay,
                       std::function<void()> work, std::function<void()> at_end,
                       std::function<void()> each_frame) {
  relay_ = std::move(relay);
  at_end_ = std::move(at_end);
  frame_->disconnect(this);
  if (each_frame) {
    connect(frame_, &QTimer::timeout, this, std::move(each_frame));
    frame_->start();
  }
  worker_ = std::thread(std::move(work));
}

void RunControl::Stop() {
  if (relay_) relay_->RequestStop();
}

void RunControl::Abandon() {
  if (!Running()) return;
  Stop();
  worker_.join();
  frame_->stop();
  relay_.reset();
  at_end_ = nullptr;
}

// The work is over: its thread joined, then its end shown while its relay
// still holds what it told.
void RunControl::End() {
  if (!Running()) return;
  worker_.join();
  frame_->stop();
  std::exchange(at_end_, {})();
  relay_.reset();
  emit Ended();
}

}  // namespace vantrel::window
