// The memory a source's bytes are read into. It is kept from one source to
// the next, so that a run allocates only while its largest source so far
// grows, and it holds the bytes in storage of UTF-16 units, so that a
// UTF-16LE source is its own text, used where it lies without a copy.
#ifndef VANTREL_EXTRACTION_SOURCE_BUFFER_H_
#define VANTREL_EXTRACTION_SOURCE_BUFFER_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace vantrel {

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
    const std::size_t units = size / 2 + 2;  // room for UnitsFrom's U+FFFD
    if (units > capacity_units_) {
      std::unique_ptr<char16_t[]> larger;
      if (keep == 0) units_.reset();
      // Default-initialized: nothing is written before the bytes are read.
      larger.reset(new char16_t[units]);
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
  std::unique_ptr<char16_t[]> units_;
  std::size_t capacity_units_ = 0;
  std::size_t size_ = 0;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_SOURCE_BUFFER_H_
