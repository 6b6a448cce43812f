#include "extraction/source/read_ahead.h"

#include <sched.h>

#include <algorithm>
#include <cstring>
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

// What transforming a piece may take beside its source, per byte of the
// piece: the parsed tree and the result (for --text on the pages of 2 MB of
// the benchmark's corpus B, a tree of about 4 bytes and a text of at most
// 1 byte per byte).
constexpr std::size_t kTransformWeight = 5;

}  // namespace

ReadAhead::ReadAhead(const Sources& sources, const SourceCutter& cutter,
                     bool keep_going, const PieceTransform* transform)
    : items_(sources.items),
      cutter_(cutter),
      keep_going_(keep_going),
      transform_(transform),
      opener_(sources) {
  const bool archives =
      std::any_of(items_.begin(), items_.end(),
                  [](const SourceItem& item) { return item.web_archive; });
  // An archive holds many pages: its reading is worth a thread alone.
  if ((items_.size() < 2 && !archives) || !SeveralProcessors()) {
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

std::size_t ReadAhead::Weight(std::size_t size) const {
  // Its bytes, and a text of up to one unit per byte.
  const std::size_t cut = 3 * (size + 1);
  return transform_ == nullptr ? cut : cut + kTransformWeight * size;
}

SourcePiece& ReadAhead::Next() {
  if (!thread_.joinable()) {
    Slot& slot = slots_.front();
    if (items_[next_].web_archive) {
      warc::WarcReader::Item item;
      try {
        if (!cursor_) {
          cursor_ = std::make_unique<warc::ArchiveCursor>(
              opener_.Open(items_[next_]));
        }
        item = cursor_->Next();
      } catch (...) {
        // The archive ends with its failure.
        cursor_.reset();
        ++next_;
        throw;
      }
      FillFromArchive(*cursor_, item, slot);
      if (item == warc::WarcReader::Item::kEnd) {
        cursor_.reset();
        ++next_;
      }
      MarkToTransform(slot);
      if (slot.to_transform) Transform(slot);
      return slot.source;
    }
    Fill(opener_.Open(items_[next_++]), slot);
    MarkToTransform(slot);
    if (slot.to_transform) Transform(slot);
    return slot.source;
  }
  std::unique_lock lock(mutex_);
  if (held_ != nullptr) {
    held_->busy = false;
    held_->held = held_->capacity();  // with its transformed piece
    held_ = nullptr;
    // Pieces to transform keep the thread busy whatever the number ready.
    if (thread_waiting_ && (transform_ != nullptr || ready_.size() <= kLow)) {
      freed_.notify_one();
    }
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
  if (held_->transforming) {
    run_waiting_ = true;
    filled_.wait(lock, [this] { return !held_->transforming; });
    run_waiting_ = false;
  }
  if (held_->failure) {
    std::rethrow_exception(std::exchange(held_->failure, nullptr));
  }
  if (held_->to_transform) {
    held_->to_transform = false;
    lock.unlock();
    Transform(*held_);
  }
  return held_->source;
}

bool ReadAhead::Enough() const {
  // A piece to transform is enough work to wake the run for.
  if (transform_ != nullptr) return !ready_.empty();
  return ready_.size() >= kHigh || ready_weight_ >= kHighWeight;
}

void ReadAhead::MarkToTransform(Slot& slot) const {
  const bool source = slot.entry.kind == ArchiveEntry::Kind::kFile ||
                      slot.entry.kind == ArchiveEntry::Kind::kPage;
  slot.to_transform = transform_ != nullptr && !slot.failure && source &&
                      slot.source.cut.outcome == FileOutcome::kExtracted;
}

void ReadAhead::Transform(Slot& slot) const {
  slot.source.piece = transform_->Apply(slot.source.TakePiece(), slot.scratch);
}

bool ReadAhead::TransformNewest(std::unique_lock<std::mutex>& lock) {
  // The oldest is left to the run when it waits for it.
  const auto oldest = run_waiting_ ? ready_.begin() + 1 : ready_.begin();
  for (auto at = ready_.end(); at > oldest;) {
    Slot& slot = **--at;
    if (!slot.to_transform) continue;
    slot.to_transform = false;
    slot.transforming = true;
    lock.unlock();
    std::exception_ptr failure;
    try {
      Transform(slot);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    slot.failure = std::move(failure);
    slot.transforming = false;
    if (run_waiting_) filled_.notify_one();
    return true;
  }
  return false;
}

void ReadAhead::ReadAll() {
  for (std::size_t index = 0; index < items_.size(); ++index) {
    if (items_[index].web_archive) {
      if (!ReadArchive(index)) return;
      continue;
    }
    Slot* slot = nullptr;
    try {
      slot = ReadOne(index);
      if (slot == nullptr) return;
    } catch (...) {
      FailReading();
      return;
    }
    Push(slot, index + 1 == items_.size());
  }
  // Everything is read: the thread helps with the pieces left.
  std::unique_lock lock(mutex_);
  while (!stop_ && TransformNewest(lock)) {
  }
}

void ReadAhead::Push(Slot* slot, bool last) {
  MarkToTransform(*slot);
  const std::lock_guard lock(mutex_);
  slot->held = slot->capacity();
  ready_.push_back(slot);
  ready_weight_ += slot->reserved;
  done_ = last;
  if (run_waiting_ && (Enough() || done_)) {
    filled_.notify_one();
  }
}

void ReadAhead::FailReading() {
  const std::lock_guard lock(mutex_);
  failure_ = std::current_exception();
  done_ = true;
  filled_.notify_one();
}

bool ReadAhead::ReadArchive(std::size_t index) {
  const bool last = index + 1 == items_.size();
  std::unique_ptr<warc::ArchiveCursor> cursor;
  for (;;) {
    Slot* slot = nullptr;
    warc::WarcReader::Item item = warc::WarcReader::Item::kEnd;
    try {
      if (!cursor) {
        cursor =
            std::make_unique<warc::ArchiveCursor>(opener_.Open(items_[index]));
      }
      item = cursor->Next();
      const std::size_t size = item == warc::WarcReader::Item::kPage
                                   ? cursor->page().body.size()
                                   : 0;
      slot = TakeSlot(size);
      if (slot == nullptr) return false;
      FillFromArchive(*cursor, item, *slot);
    } catch (const FileSystemError&) {
      // The archive ends with its failure, in its place; the sources behind
      // it are read on in a run that keeps going.
      if (keep_going_ && (slot != nullptr || (slot = TakeSlot(0)))) {
        slot->entry = {};
        slot->failure = std::current_exception();
        Push(slot, last);
        return true;
      }
      if (slot != nullptr) {
        const std::lock_guard lock(mutex_);
        slot->busy = false;
        slot->held = slot->capacity();
      }
      if (keep_going_) return false;  // stopped meanwhile
      FailReading();
      return false;
    } catch (...) {
      if (slot != nullptr) {
        const std::lock_guard lock(mutex_);
        slot->busy = false;
        slot->held = slot->capacity();
      }
      FailReading();
      return false;
    }
    Push(slot, last && item == warc::WarcReader::Item::kEnd);
    if (item == warc::WarcReader::Item::kEnd) return true;
  }
}

void ReadAhead::FillFromArchive(warc::ArchiveCursor& cursor,
                                warc::WarcReader::Item item, Slot& slot) const {
  slot.failure = nullptr;
  slot.source = {};
  ArchiveEntry& entry = slot.entry;
  switch (item) {
    case warc::WarcReader::Item::kPage: {
      warc::WarcPage& page = cursor.page();
      slot.buffers.bytes.Resize(page.body.size(), 0);
      if (!page.body.empty()) {
        std::memcpy(slot.buffers.bytes.data(), page.body.data(),
                    page.body.size());
      }
      slot.source = cutter_.PieceOf(slot.buffers, page.charset);
      entry.kind = ArchiveEntry::Kind::kPage;
      entry.uri.swap(page.uri);
      entry.record_id.swap(page.record_id);
      entry.date.swap(page.date);
      entry.offset = page.offset;
      entry.reason.clear();
      return;
    }
    case warc::WarcReader::Item::kProblem:
      entry.kind = ArchiveEntry::Kind::kProblem;
      entry.offset = cursor.problem().offset;
      entry.reason = cursor.problem().reason;
      return;
    case warc::WarcReader::Item::kEnd:
      entry = {};
      entry.kind = ArchiveEntry::Kind::kEnd;
      return;
  }
}

ReadAhead::Slot* ReadAhead::ReadOne(std::size_t index) {
  Slot* slot = nullptr;
  // A failure that ends the reading frees the slot it took.
  const auto free_slot = [&] {
    if (slot == nullptr) return;
    const std::lock_guard lock(mutex_);
    slot->busy = false;
    slot->held = slot->capacity();
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
  if (slot != nullptr) {
    slot->entry = {};
    slot->failure = std::move(unreadable);
  }
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
        slot.scratch = {};
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
      // Pieces read but not transformed are the thread's work meanwhile.
      if (TransformNewest(lock)) continue;
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
          slot.scratch = {};
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
  slot.entry = {};
  file.ReadAll(slot.buffers.bytes);
  file.Close();
  slot.source = cutter_.PieceOf(slot.buffers);
}

}  // namespace vantrel
