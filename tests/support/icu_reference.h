// ICU's own UTF-8 decoding, the reference that the engine's decoder is held
// to by the tests and the fuzzers: one U+FFFD per ill-formed sequence.
#ifndef VANTREL_TESTS_SUPPORT_ICU_REFERENCE_H_
#define VANTREL_TESTS_SUPPORT_ICU_REFERENCE_H_

#include <unicode/ustring.h>

#include <optional>
#include <string>
#include <string_view>

namespace vantrel::testing {

// `bytes` decoded by ICU, or nothing when ICU fails.
inline std::optional<std::u16string> IcuFromUtf8(std::string_view bytes) {
  std::u16string out(bytes.size() + 1, u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                       bytes.data(), static_cast<int32_t>(bytes.size()), 0xFFFD,
                       nullptr, &status);
  if (U_FAILURE(status)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

}  // namespace vantrel::testing

#endif  // VANTREL_TESTS_SUPPORT_ICU_REFERENCE_H_
