#include "extraction/source/read_ahead.h"

#include <sched.h>

#include <algorithm>
#include <system_error>
#include <utility>

#include "extraction/base/run_error.h"
#include "extraction/sys/file_system.h"

namespace vantrel {
namespace {

// Sixteen small pages in hand let each thread go on alone for several
// pages between two wake-ups; large ones are held back by the budget.
constexpr std::size_t kSlots = 16;
// A waiting run is woken once this many sources are ready, or sources that
// may take kHighWeight between them (large pages are never many at a
// time); a waiting thread once no more than kLow are left.
constexpr std::size_t kHigh = 8;
constexpr std::size_t kHighWeight = ReadAhead::kBudget / 4;
constexpr std::size_t kLow = 4;

// Whether this process may run on more than one processor now.
bool SeveralProcessors() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (::sched_getaffinity(0, sizeof set, &set) != 0) return true;
  return CPU_COUNT(&set) > 1;
}

// The most memory a source of `size` bytes may take while it is cut: its
// bytes, and a text of up to one unit per byte.
std::size_t Weight(std::size_t size) { return 3 * (size + 1); }

}  // namespace

ReadAhead::ReadAhead(const Sources& sources, const SourceCutter& cutter,
                     bool keep_going)
    : items_(sources.items),
      cutter_(cutter),
      keep_going_(keep_going),
      opener_(sources.root) {
  if (items_.size() < 2 || !SeveralProcessors()) {
    slots_.resize(1);
    return;
  }
  slots_.resize(kSlots);
  try {
    thread_ = std::thread([this] { ReadAll(); });
  } catch (const std::system_error&) {
    // No thread to be had: the run reads each source itself, as it can.
    slots_.resize(1);
  }
}

ReadAhead::~ReadAhead() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  freed_.notify_one();
  thread_.join();
}

SourcePiece& ReadAhead::Next() {
  if (!thread_.joinable()) {
    Fill(opener_.Open(items_[next_++]), slots_.front());
    return slots_.front().source;
  }
  std::unique_lock lock(mutex_);
  if (held_ != nullptr) {
    held_->busy = false;
    held_ = nullptr;
    if (thread_waiting_ && ready_.size() <= kLow) freed_.notify_one();
  }
  if (ready_.empty()) {
    // With nothing in hand, the thread can always go on.
    if (thread_waiting_) freed_.notify_one();
    run_waiting_ = true;
    filled_.wait(lock, [this] {
      return Enough() || (!ready_.empty() && (thread_waiting_ || done_)) ||
             failure_;
    });
    run_waiting_ = false;
    if (ready_.empty()) std::rethrow_exception(failure_);
  }
  held_ = ready_.front();
  ready_.pop_front();
  ready_weight_ -= held_->reserved;
  if (held_->unreadable) {
    std::rethrow_exception(std::exchange(held_->unreadable, nullptr));
  }
  return held_->source;
}

bool ReadAhead::Enough() const {
  return ready_.size() >= kHigh || ready_weight_ >= kHighWeight;
}

void ReadAhead::ReadAll() {
  for (std::size_t index = 0; index < items_.size(); ++index) {
    Slot* slot = nullptr;
    try {
      slot = ReadOne(index);
      if (slot == nullptr) return;
    } catch (...) {
      const std::lock_guard lock(mutex_);
      failure_ = std::current_exception();
      done_ = true;
      filled_.notify_one();
      return;
    }
    const std::lock_guard lock(mutex_);
    slot->held = slot->buffers.capacity();
    ready_.push_back(slot);
    ready_weight_ += slot->reserved;
    done_ = index + 1 == items_.size();
    if (run_waiting_ && (Enough() || done_)) {
      filled_.notify_one();
    }
  }
}

ReadAhead::Slot* ReadAhead::ReadOne(std::size_t index) {
  Slot* slot = nullptr;
  // A failure that ends the reading frees the slot it took.
  const auto free_slot = [&] {
    if (slot == nullptr) return;
    const std::lock_guard lock(mutex_);
    slot->busy = false;
    slot->held = slot->buffers.capacity();
  };
  std::exception_ptr unreadable;
  try {
    fs::SourceFile file = opener_.Open(items_[index]);
    slot = TakeSlot(file.size());
    if (slot == nullptr) return nullptr;
    Fill(std::move(file), *slot);
    return slot;
  } catch (const FileSystemError&) {
    if (!keep_going_) {
      free_slot();
      throw;
    }
    unreadable = std::current_exception();
  } catch (...) {
    free_slot();
    throw;
  }
  // The source's failure goes in its place, in a slot of its own.
  if (slot == nullptr) slot = TakeSlot(0);
  if (slot != nullptr) slot->unreadable = std::move(unreadable);
  return slot;
}

ReadAhead::Slot* ReadAhead::TakeSlot(std::size_t size) {
  const std::size_t weight = Weight(size);
  std::unique_lock lock(mutex_);
  // A run may take three times its largest source in any case, so the
  // budget grows by that: large pages are then read ahead two or three at
  // a time instead of one.
  heaviest_ = std::max(heaviest_, weight);
  const std::size_t budget = kBudget + heaviest_;
  for (;; thread_waiting_ = false) {
    if (stop_) return nullptr;
    std::size_t committed = 0;
    Slot* best = nullptr;
    bool others_busy = false;
    for (Slot& slot : slots_) {
      if (slot.busy) {
        committed += std::max(slot.held, slot.reserved);
        others_busy = true;
        continue;
      }
      // Memory over the budget is kept only for the source that needed it.
      if (slot.held > budget - heaviest_) {
        slot.buffers.Release();
        slot.held = 0;
      }
      committed += slot.held;
      // The free slot that holds the most memory is used again first, so
      // that large pages do not make their buffers anew each time.
      if (best == nullptr || slot.held > best->held) best = &slot;
    }
    const bool fits =
        best != nullptr &&
        committed - best->held + std::max(best->held, weight) <= budget;
    if (best == nullptr || (!fits && others_busy)) {
      // The run must take sources first; one that waits for them now gets
      // them at once.
      thread_waiting_ = true;
      if (run_waiting_) filled_.notify_one();
      freed_.wait(lock);
      continue;
    }
    if (!fits) {
      // Alone, a source may take what it needs, and nothing else is kept.
      for (Slot& slot : slots_) {
        if (&slot != best) {
          slot.buffers.Release();
          slot.held = 0;
        }
      }
    }
    best->busy = true;
    best->reserved = weight;
    return best;
  }
}

void ReadAhead::Fill(fs::SourceFile file, Slot& slot) {
  file.ReadAll(slot.buffers.bytes);
  file.Close();
  slot.source = cutter_.PieceOf(slot.buffers);
}

}  // namespace vantrel
