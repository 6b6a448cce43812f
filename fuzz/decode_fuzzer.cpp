// Decodes arbitrary bytes in each charset and checks what must hold
// whatever the bytes are: windows-1256 and signature-less UTF-16LE text
// written back gives the source bytes, and UTF-8 decodes to exactly what
// ICU's own converter gives, one U+FFFD per ill-formed sequence.
#include <unicode/ustring.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "extraction/charsets.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::u16string IcuFromUtf8(std::string_view bytes) {
  std::u16string out(bytes.size() + 1, u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                       bytes.data(), static_cast<int32_t>(bytes.size()), 0xFFFD,
                       nullptr, &status);
  Check(U_SUCCESS(status));
  out.resize(static_cast<std::size_t>(length));
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vantrel;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::u16string text;

  DecodeText(bytes, kCharsetWindows1256, text);
  Check(text.size() == bytes.size());
  std::string back;
  EncodeText(text, OutputFormat::kWindows1256, back);
  Check(back == bytes);

  DecodeText(bytes, kCharsetUnicode, text);
  const bool signed_le = bytes.starts_with("\xFF\xFE");
  Check(text.size() == (bytes.size() - (signed_le ? 2 : 0) + 1) / 2);
  if (!signed_le && bytes.size() % 2 == 0) {
    back.clear();
    EncodeText(text, OutputFormat::kUtf16Le, back);
    Check(back == bytes);
  }

  DecodeText(bytes, kCharsetUtf16, text);
  Check(text.size() ==
        (bytes.size() - (bytes.starts_with("\xFE\xFF") ? 2 : 0) + 1) / 2);

  DecodeText(bytes, kCharsetUtf8, text);
  const std::string_view body =
      bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
  Check(text == IcuFromUtf8(body));
  return 0;
}
