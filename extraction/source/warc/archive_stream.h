// The bytes of a web archive, as one stream of content whether the file is
// plain (`.warc`) or gzip-compressed (`.warc.gz`, one gzip member per record
// as wget and crawlers write it, or one member for the whole file).
//
// The stream is read a piece at a time, so that memory stays bounded
// whatever the archive's size. Damage does not end it: a member that is cut
// short or whose data is corrupt is noted (where, and why) and the stream
// goes on with the next gzip member found in the file, which in an archive
// of one member per record is the next record. The record reader above asks
// where members began, so that a record is named by the file offset of its
// member, the offset that archive indexes (CDX) give.
#ifndef VANTREL_EXTRACTION_SOURCE_WARC_ARCHIVE_STREAM_H_
#define VANTREL_EXTRACTION_SOURCE_WARC_ARCHIVE_STREAM_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "extraction/sys/file_system.h"

namespace vantrel::warc {

// Where an archive's raw bytes come from.
class ByteInput {
 public:
  virtual ~ByteInput() = default;
  // Up to `capacity` bytes into `data`; 0 only at the end.
  virtual std::size_t Read(char* data, std::size_t capacity) = 0;
};

// An archive held in memory (tests, the fuzzer).
class MemoryInput : public ByteInput {
 public:
  explicit MemoryInput(std::string_view bytes) : bytes_(bytes) {}
  std::size_t Read(char* data, std::size_t capacity) override;

 private:
  std::string_view bytes_;
};

// An archive file, read through the file-system layer.
class FileInput : public ByteInput {
 public:
  explicit FileInput(fs::SourceFile file) : file_(std::move(file)) {}
  std::size_t Read(char* data, std::size_t capacity) override {
    return file_.Read(data, capacity);
  }

 private:
  fs::SourceFile file_;
};

// A gap in the content: bytes that could not be decompressed.
struct Damage {
  std::uint64_t at;           // the content offset where it falls
  std::uint64_t file_offset;  // the file offset of the member it hit
  std::string reason;
};

// The start of a gzip member.
struct MemberStart {
  std::uint64_t at;           // content offset
  std::uint64_t file_offset;  // file offset
};

class ArchiveStream {
 public:
  explicit ArchiveStream(ByteInput& input);
  ~ArchiveStream();
  ArchiveStream(const ArchiveStream&) = delete;
  ArchiveStream& operator=(const ArchiveStream&) = delete;

  // Up to `capacity` bytes of content; 0 only at the end.
  std::size_t Read(char* data, std::size_t capacity);

  bool compressed() const { return compressed_; }

  // Damage and member starts met so far, oldest first, and not yet
  // forgotten.
  std::deque<Damage>& damages() { return damages_; }
  const std::deque<MemberStart>& member_starts() const {
    return member_starts_;
  }
  // Forgets the member starts before content offset `at`.
  void ForgetBefore(std::uint64_t at);

 private:
  enum class State { kBetweenMembers, kInMember, kEnd };
  bool Refill();
  bool SkipToNextMember();
  void NoteDamage(std::string reason);

  ByteInput& input_;
  bool compressed_ = false;
  State state_ = State::kBetweenMembers;
  std::string in_;               // raw bytes read ahead
  std::size_t in_pos_ = 0;       // next raw byte to use
  std::size_t in_len_ = 0;       // raw bytes held
  std::uint64_t in_offset_ = 0;  // file offset of in_[0]
  std::uint64_t produced_ = 0;   // content bytes given out
  std::uint64_t member_offset_ = 0;
  struct Inflater;
  std::unique_ptr<Inflater> inflater_;
  std::deque<Damage> damages_;
  std::deque<MemberStart> member_starts_;
};

}  // namespace vantrel::warc

#endif  // VANTREL_EXTRACTION_SOURCE_WARC_ARCHIVE_STREAM_H_
