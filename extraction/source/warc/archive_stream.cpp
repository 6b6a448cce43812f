#include "extraction/source/warc/archive_stream.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace vantrel::warc {

namespace {

// Raw bytes are read in pieces of this size.
constexpr std::size_t kInputPiece = 256 * 1024;
// A gzip member begins with the magic bytes and the deflate method.
constexpr std::string_view kGzipStart("\x1f\x8b\x08", 3);

}  // namespace

std::size_t MemoryInput::Read(char* data, std::size_t capacity) {
  const std::size_t n = std::min(capacity, bytes_.size());
  // An empty view may hold no pointer, which memcpy must never be given.
  if (n == 0) return 0;
  std::memcpy(data, bytes_.data(), n);
  bytes_.remove_prefix(n);
  return n;
}

struct ArchiveStream::Inflater {
  z_stream stream{};
  Inflater() { inflateInit2(&stream, 16 + MAX_WBITS); }
  ~Inflater() { inflateEnd(&stream); }
};

ArchiveStream::ArchiveStream(ByteInput& input)
    : input_(input), in_(kInputPiece, '\0') {
  while (in_len_ < 2 && Refill()) {
  }
  compressed_ =
      in_len_ >= 2 && in_[0] == kGzipStart[0] && in_[1] == kGzipStart[1];
  if (compressed_) inflater_ = std::make_unique<Inflater>();
}

ArchiveStream::~ArchiveStream() = default;

// Moves what is left to the front and reads more behind it; false at the
// end of the input.
bool ArchiveStream::Refill() {
  if (in_pos_ > 0) {
    std::memmove(in_.data(), in_.data() + in_pos_, in_len_ - in_pos_);
    in_offset_ += in_pos_;
    in_len_ -= in_pos_;
    in_pos_ = 0;
  }
  if (in_len_ == in_.size()) return true;
  const std::size_t n = input_.Read(in_.data() + in_len_, in_.size() - in_len_);
  in_len_ += n;
  return n > 0;
}

void ArchiveStream::NoteDamage(std::string reason) {
  damages_.push_back({produced_, member_offset_, std::move(reason)});
}

// Passes over raw bytes up to the next gzip member; false when none is
// left.
bool ArchiveStream::SkipToNextMember() {
  for (;;) {
    const std::string_view held(in_.data() + in_pos_, in_len_ - in_pos_);
    const std::size_t found = held.find(kGzipStart);
    if (found != std::string_view::npos) {
      in_pos_ += found;
      return true;
    }
    // Keep a tail that may be the start of a member cut by the read.
    in_pos_ += held.size() - std::min<std::size_t>(held.size(), 2);
    const std::size_t before = in_len_ - in_pos_;
    if (!Refill() || in_len_ - in_pos_ == before) {
      in_pos_ = in_len_;
      return false;
    }
  }
}

std::size_t ArchiveStream::Read(char* data, std::size_t capacity) {
  if (capacity == 0) return 0;
  if (!compressed_) {
    // What was read to look for the gzip magic goes first; the rest is read
    // straight into the caller's memory.
    std::size_t n = std::min(capacity, in_len_ - in_pos_);
    if (n > 0) {
      std::memcpy(data, in_.data() + in_pos_, n);
      in_pos_ += n;
    } else {
      n = input_.Read(data, capacity);
    }
    produced_ += n;
    return n;
  }
  z_stream& z = inflater_->stream;
  std::size_t produced = 0;
  while (produced == 0 && state_ != State::kEnd) {
    if (state_ == State::kBetweenMembers) {
      while (in_len_ - in_pos_ < kGzipStart.size() && Refill()) {
      }
      const std::string_view held(in_.data() + in_pos_, in_len_ - in_pos_);
      if (held.empty()) {
        state_ = State::kEnd;
        break;
      }
      if (!held.starts_with(kGzipStart)) {
        member_offset_ = in_offset_ + in_pos_;
        NoteDamage("bytes that are not a gzip member");
        if (!SkipToNextMember()) {
          state_ = State::kEnd;
          break;
        }
      }
      inflateReset(&z);
      member_offset_ = in_offset_ + in_pos_;
      member_starts_.push_back({produced_, member_offset_});
      state_ = State::kInMember;
    }
    if (in_pos_ == in_len_) Refill();
    z.next_in = reinterpret_cast<Bytef*>(in_.data() + in_pos_);
    z.avail_in = static_cast<uInt>(in_len_ - in_pos_);
    z.next_out = reinterpret_cast<Bytef*>(data + produced);
    z.avail_out = static_cast<uInt>(capacity - produced);
    const int result = inflate(&z, Z_NO_FLUSH);
    in_pos_ = in_len_ - z.avail_in;
    const std::size_t made = capacity - produced - z.avail_out;
    produced += made;
    produced_ += made;
    if (result == Z_BUF_ERROR && made == 0 && in_pos_ == in_len_) {
      // No input left and the member not ended.
      NoteDamage("gzip member cut short");
      state_ = State::kEnd;
    } else if (result == Z_STREAM_END) {
      state_ = State::kBetweenMembers;
    } else if (result == Z_DATA_ERROR || result == Z_NEED_DICT ||
               result == Z_MEM_ERROR || result == Z_STREAM_ERROR) {
      NoteDamage("gzip data corrupt");
      // The next member may begin inside what the broken one took as its
      // own data: it is looked for from behind the broken member's start,
      // as far back as the bytes held go.
      in_pos_ = member_offset_ >= in_offset_
                    ? static_cast<std::size_t>(member_offset_ - in_offset_) + 1
                    : 0;
      state_ = SkipToNextMember() ? State::kBetweenMembers : State::kEnd;
    }
  }
  return produced;
}

void ArchiveStream::ForgetBefore(std::uint64_t at) {
  while (!member_starts_.empty() && member_starts_.front().at < at) {
    member_starts_.pop_front();
  }
}

}  // namespace vantrel::warc
