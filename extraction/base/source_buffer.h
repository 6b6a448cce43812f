// The memory a source's bytes are read into. It is kept from one source to
// the next, so that a run allocates only while its largest source so far
// grows, and it holds the bytes in storage of UTF-16 units, so that a
// UTF-16LE source is its own text, used where it lies without a copy.
#ifndef VANTREL_EXTRACTION_BASE_SOURCE_BUFFER_H_
#define VANTREL_EXTRACTION_BASE_SOURCE_BUFFER_H_

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <string>
#include <string_view>

namespace vantrel {

// How many units (or bytes) to make room for when `needed` do not fit: a
// little more, so that sources of about one size, as a folder of pages
// mostly holds, do not each make a new block (every new block is fresh
// pages for the system to hand out), but never so much more that a run
// passes three times its largest source by more than a few MiB.
inline std::size_t RoomFor(std::size_t needed) {
  constexpr std::size_t kMostExtra = std::size_t{1} << 20;
  return needed + std::min(needed / 8, kMostExtra);
}

class SourceBuffer {
 public:
  std::string_view bytes() const {
    return {reinterpret_cast<const char*>(units_.get()), size_};
  }
  char* data() { return reinterpret_cast<char*>(units_.get()); }
  std::size_t size() const { return size_; }
  // Bytes of memory held, whatever the size.
  std::size_t capacity() const { return capacity_units_ * sizeof(char16_t); }

  // Sets the size to `size` bytes, keeping the first `keep` bytes (at most
  // the old size) and leaving the rest as they happen to be. The memory
  // grows as needed and never shrinks; bytes that need not be kept go
  // before a larger block is made, so that the two never take memory at
  // once.
  void Resize(std::size_t size, std::size_t keep) {
    const std::size_t needed = size / 2 + 2;  // room for UnitsFrom's U+FFFD
    if (needed > capacity_units_) {
      const std::size_t units = RoomFor(needed);
      Units larger;
      if (keep == 0) units_.reset();
      larger.reset(Allocate(units));
      if (keep > 0) {
        std::char_traits<char>::copy(reinterpret_cast<char*>(larger.get()),
                                     data(), keep);
      }
      units_ = std::move(larger);
      capacity_units_ = units;
    }
    size_ = size;
  }

  // The bytes from `offset` (even) on, read as UTF-16LE units where they
  // lie, on a little-endian machine. An odd last byte reads as U+FFFD, which
  // is written over it.
  std::u16string_view UnitsFrom(std::size_t offset) {
    const std::size_t units = (size_ - offset) / 2;
    char16_t* const first = units_.get() + offset / 2;
    if ((size_ - offset) % 2 == 0) return {first, units};
    first[units] = u'\xFFFD';
    return {first, units + 1};
  }

  // Gives the memory back.
  void Release() {
    units_.reset();
    capacity_units_ = 0;
    size_ = 0;
  }

 private:
  // Page-aligned, as the system's pages of the file are: copying a page
  // into memory a few bytes off a page boundary can be several times
  // slower on some processors.
  static constexpr std::align_val_t kPage{4096};
  struct Free {
    void operator()(char16_t* units) const {
      ::operator delete[](units, kPage);
    }
  };
  using Units = std::unique_ptr<char16_t[], Free>;
  static char16_t* Allocate(std::size_t units) {
    // Nothing is written before the bytes are read.
    return static_cast<char16_t*>(
        ::operator new[](units * sizeof(char16_t), kPage));
  }

  Units units_;
  std::size_t capacity_units_ = 0;
  std::size_t size_ = 0;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_BASE_SOURCE_BUFFER_H_
