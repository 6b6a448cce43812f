// What the fuzz targets share: a check that stops the fuzzer with a message,
// and ICU's own UTF-8 decoding as the reference the engine is held to.
#ifndef VANTREL_FUZZ_FUZZ_CHECK_H_
#define VANTREL_FUZZ_FUZZ_CHECK_H_

#include <unicode/ustring.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace vantrel::fuzz {

inline void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
  }
}

// UTF-8 to UTF-16 by ICU, one U+FFFD per ill-formed sequence.
inline std::u16string IcuFromUtf8(std::string_view bytes) {
  std::u16string out(bytes.size() + 1, u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                       bytes.data(), static_cast<int32_t>(bytes.size()), 0xFFFD,
                       nullptr, &status);
  Check(U_SUCCESS(status), "ICU's UTF-8 decoding");
  out.resize(static_cast<std::size_t>(length));
  return out;
}

}  // namespace vantrel::fuzz

#endif  // VANTREL_FUZZ_FUZZ_CHECK_H_
