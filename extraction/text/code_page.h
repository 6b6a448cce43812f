// A single-byte code page, windows-1256 for the run, as a table from each
// byte to its character and back, and what lets a run work in such a
// source's own bytes: the bytes that stand for a marker, and whether a
// piece's bytes are what its text would be encoded as again.
//
// A byte that the code page leaves undefined decodes to U+FFFD, and a
// character that it lacks encodes as "?". Where two bytes decode to one
// character, that character encodes as the higher of them.
#ifndef VANTREL_EXTRACTION_TEXT_CODE_PAGE_H_
#define VANTREL_EXTRACTION_TEXT_CODE_PAGE_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

class CodePage {
 public:
  // The code page in which `byte` decodes to to_text[byte].
  explicit CodePage(const std::array<char16_t, 256>& to_text);

  // windows-1256 as ICU defines it, loaded once; throws RunError when ICU
  // lacks it.
  static const CodePage& Windows1256();

  char16_t ToText(unsigned char byte) const { return to_text_[byte]; }
  // The byte for `unit`, or -1 when the code page lacks it.
  int ToByte(char16_t unit) const { return to_byte_[unit]; }

  // The bytes that decode to `text` and that nothing else decodes to, so
  // that finding them among a source's bytes is finding `text` in its
  // decoded text at the same place; nothing when a character of `text` has
  // no byte or more than one (U+FFFD stands for every undefined byte).
  std::optional<std::string> BytesOf(std::u16string_view text) const;

  // Whether `bytes`, decoded and encoded again, come back unchanged.
  bool RoundTrips(std::string_view bytes) const;

 private:
  std::array<char16_t, 256> to_text_;
  std::array<int16_t, 65536> to_byte_;
  // How many bytes decode to each character (0, 1 or more).
  std::array<uint8_t, 65536> sources_;
  // Whether each byte comes back as itself; all do in a code page without
  // undefined or shared characters, and the check is then skipped.
  std::array<bool, 256> round_trips_;
  bool all_round_trip_ = true;
};

}  // namespace vantrel

#endif  // VANTREL_EXTRACTION_TEXT_CODE_PAGE_H_
