// Reading and cutting a run's sources ahead of the run, on a second thread,
// while the run writes the pieces of the ones before and reports on them.
//
// The run still meets its sources one at a time in name order, and meets
// them as if it had read each itself: whatever fails on a source (it cannot
// be opened or read, memory runs out) is kept and thrown only when the run
// asks for that source, after every source before it was handed over, and
// nothing is read after it. Only for a run that keeps going past sources
// that cannot be read is such a failure of the file system (a
// FileSystemError) that source's alone: it is thrown at its turn all the
// same, and the sources behind it are read on. Sources read ahead take at most
// kBudget bytes between them, and as much again as the largest so far may take;
// one larger than that is read only when the run holds no other, so that a
// run's memory stays within three times its largest source and a few MiB,
// whatever the number and size of its files. Where the run may use
// only one processor, a second thread would only take turns with it, so
// each source is read and cut when the run asks for it.
//
// A web archive among the sources gives its pages one at a time, each a
// source of its own, known only as the archive is read: the reader hands
// over its pages and the records it could not read, in record order, and
// then the archive's end, each with its entry(); the archive is read once.
//
// A run with a transform (piece.h) has its pieces transformed here, which
// outweighs reading and cutting them many times over: the run and the
// thread share the work. The thread reads on while the budget allows and
// then transforms the pieces last read, newest first, while the run
// transforms the oldest as it takes them; whichever comes to a piece first
// transforms it. A source's weight then includes what its transform may
// take.
#ifndef VANTREL_EXTRACTION_SOURCE_READ_AHEAD_H_
#define VANTREL_EXTRACTION_SOURCE_READ_AHEAD_H_

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "extraction/base/piece.h"
#include "extraction/source/source_cut.h"
#include "extraction/source/source_listing.h"
#include "extraction/source/warc/web_archive.h"
#include "extraction/sys/file_system.h"

namespace vantrel {

// What a source handed over is: a file, or a page of a web archive, a
// record of one that could not be read, or the archive's end.
struct ArchiveEntry {
  enum class Kind { kFile, kPage, kProblem, kEnd };
  Kind kind = Kind::kFile;
  std::string uri;  // a page's WARC-Target-URI
  std::string record_id;
  std::string date;
  std::uint64_t offset = 0;  // the record's, in the archive
  std::string reason;        // why a record could not be read
};

class ReadAhead {
 public:
  // The memory that sources read ahead may take, in bytes.
  static constexpr std::size_t kBudget = std::size_t{16} << 20;

  // Starts reading the items of `sources` in order and cutting them with
  // `cutter`; both must outlive this object, as must `transform`. With
  // `keep_going`, a source that cannot be read does not stop the reading.
  ReadAhead(const Sources& sources, const SourceCutter& cutter,
            bool keep_going = false, const PieceTransform* transform = nullptr);
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;
  // Stops the reading and waits for the thread; nothing read is handed on.
  ~ReadAhead();

  // The next source of the items, read and cut, its piece transformed, or
  // the failure met on it, thrown. What it gives is the caller's until the
  // next call.
  SourcePiece& Next();
  // What the source that Next() gave last is.
  const ArchiveEntry& entry() const {
    return thread_.joinable() ? held_->entry : slots_.front().entry;
  }

 private:
  struct Slot {
    SourceBuffers buffers;
    PieceScratch scratch;  // the transformed piece
    SourcePiece source;
    std::size_t held = 0;       // bytes of memory, as of its last use
    std::size_t reserved = 0;   // what its source in hand may take
    bool busy = false;          // being filled, waiting, or held by the run
    bool to_transform = false;  // its piece waits for the transform
    bool transforming = false;  // the thread transforms its piece
    // The failure met on the source, handed over in its place: it could not
    // be read (keep_going only), or the thread failed to transform it.
    std::exception_ptr failure;
    ArchiveEntry entry;

    std::size_t capacity() const {
      return buffers.capacity() + scratch.capacity();
    }
  };

  // The thread's work: every source in turn, until one fails or the run
  // stops it.
  void ReadAll();
  // A slot for a source of `size` bytes once the budget allows, or null
  // when the run stopped the reading.
  Slot* TakeSlot(std::size_t size);
  // Whether enough is ready to wake the run for.
  bool Enough() const;
  // Reads and cuts the source `index` into a slot that it takes; null when
  // the run stopped the reading.
  Slot* ReadOne(std::size_t index);
  // Reads the pages of the archive `index` into slots, each handed over as
  // it is read; false when the reading ends (stopped, or failed).
  bool ReadArchive(std::size_t index);
  // Hands a slot filled on the thread over to the run.
  void Push(Slot* slot, bool last);
  // Ends the reading with the failure being handled.
  void FailReading();
  // Reads and cuts the open source into `slot`.
  void Fill(fs::SourceFile file, Slot& slot);
  // Puts what the archive's next record gave (`item`) into `slot`, a page
  // cut.
  void FillFromArchive(warc::ArchiveCursor& cursor, warc::WarcReader::Item item,
                       Slot& slot) const;
  // Marks a slot just filled whose piece the transform must see.
  void MarkToTransform(Slot& slot) const;
  void Transform(Slot& slot) const;
  // On the thread, with `lock` held: transforms the newest ready piece that
  // waits for it, unlocking meanwhile. False when none waits.
  bool TransformNewest(std::unique_lock<std::mutex>& lock);
  // The most memory a source of `size` bytes may take while it is cut and
  // its piece transformed.
  std::size_t Weight(std::size_t size) const;

  std::size_t heaviest_ = 0;  // the largest Weight so far (the thread's)
  const std::vector<SourceItem>& items_;
  const SourceCutter& cutter_;
  const bool keep_going_;
  const PieceTransform* const transform_;
  SourceOpener opener_;  // the thread's, or the run's when there is none
  std::vector<Slot> slots_;

  std::mutex mutex_;
  // The run waits on it for a source, or for the thread's transform of it.
  std::condition_variable filled_;
  std::condition_variable freed_;  // the thread waits on it for room
  std::deque<Slot*> ready_;        // read and cut, in order
  std::size_t ready_weight_ = 0;   // what the ready ones may take
  Slot* held_ = nullptr;           // the source the run has in hand
  std::exception_ptr failure_;     // met on the source after ready_
  bool done_ = false;              // the thread read its last source
  bool stop_ = false;
  // Which side sleeps. Each wakes the other only when a few sources are
  // ready or a few slots free, or when it cannot go on itself: waking a
  // thread for every page would cost more than reading it.
  bool run_waiting_ = false;
  bool thread_waiting_ = false;
  std::size_t next_ = 0;  // the next item, when there is no thread
  // The archive being read, when there is no thread.
  std::unique_ptr<warc::ArchiveCursor> cursor_;
  std::thread thread_;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SOURCE_READ_AHEAD_H_
