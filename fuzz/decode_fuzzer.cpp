// Decodes arbitrary bytes in each charset and checks what must hold
// whatever the bytes are: windows-1256 and signature-less UTF-16LE text
// written back gives the source bytes, and UTF-8 decodes to exactly what
// ICU's own converter gives, one U+FFFD per ill-formed sequence.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "extraction/text/charsets.h"
#include "fuzz/fuzz_check.h"
#include "tests/support/icu_reference.h"

using vantrel::fuzz::Check;
using vantrel::testing::IcuFromUtf8;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vantrel;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::u16string text;
  std::string back;

  DecodeText(bytes, Charset::kWindows1256, text);
  Check(text.size() == bytes.size(), "windows-1256: one unit per byte");
  EncodeText(text, OutputFormat::kWindows1256, back);
  Check(back == bytes, "windows-1256: written back as the same bytes");

  DecodeText(bytes, Charset::kUtf16Le, text);
  const bool signed_le = bytes.starts_with("\xFF\xFE");
  Check(text.size() == (bytes.size() - (signed_le ? 2 : 0) + 1) / 2,
        "UTF-16LE: one unit per two bytes, and one for an odd byte");
  if (!signed_le && bytes.size() % 2 == 0) {
    back.clear();
    EncodeText(text, OutputFormat::kUtf16Le, back);
    Check(back == bytes, "UTF-16LE: written back as the same bytes");
  }

  DecodeText(bytes, Charset::kUtf16Be, text);
  const bool signed_be = bytes.starts_with("\xFE\xFF");
  Check(text.size() == (bytes.size() - (signed_be ? 2 : 0) + 1) / 2,
        "UTF-16BE: one unit per two bytes, and one for an odd byte");

  DecodeText(bytes, Charset::kUtf8, text);
  const std::string_view body =
      bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
  Check(text == IcuFromUtf8(body), "UTF-8: as ICU decodes it");
  return 0;
}
