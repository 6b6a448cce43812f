#include "extraction/text/code_page.h"

#include <unicode/ucnv.h>

#include <memory>

#include "extraction/base/run_error.h"

namespace vantrel {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

std::array<char16_t, 256> LoadFromIcu(const char* name) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(
      ucnv_open(name, &status), &ucnv_close);
  if (U_FAILURE(status)) {
    throw RunError(std::string("cannot load charset ") + name + ": " +
                   u_errorName(status));
  }
  std::array<char16_t, 256> to_text;
  for (int byte = 0; byte < 256; ++byte) {
    const char in = static_cast<char>(byte);
    UChar out[2] = {kReplacement, 0};
    status = U_ZERO_ERROR;
    ucnv_reset(converter.get());
    const int32_t n = ucnv_toUChars(converter.get(), out, 2, &in, 1, &status);
    to_text[byte] = (U_SUCCESS(status) && n == 1) ? out[0] : kReplacement;
  }
  return to_text;
}

}  // namespace

CodePage::CodePage(const std::array<char16_t, 256>& to_text)
    : to_text_(to_text) {
  to_byte_.fill(-1);
  sources_.fill(0);
  for (int byte = 0; byte < 256; ++byte) {
    const char16_t unit = to_text_[byte];
    if (sources_[unit] < 2) ++sources_[unit];
    if (unit != kReplacement) to_byte_[unit] = static_cast<int16_t>(byte);
  }
  for (int byte = 0; byte < 256; ++byte) {
    round_trips_[byte] = to_byte_[to_text_[byte]] == byte;
    all_round_trip_ = all_round_trip_ && round_trips_[byte];
  }
}

const CodePage& CodePage::Windows1256() {
  static const CodePage code_page(LoadFromIcu("windows-1256"));
  return code_page;
}

std::optional<std::string> CodePage::BytesOf(std::u16string_view text) const {
  std::string bytes;
  bytes.reserve(text.size());
  for (char16_t unit : text) {
    // U+FFFD may stand for several undefined bytes even when it is counted
    // once, and a character that no byte decodes to is never found.
    if (unit == kReplacement || sources_[unit] != 1) return std::nullopt;
    bytes.push_back(static_cast<char>(to_byte_[unit]));
  }
  return bytes;
}

bool CodePage::RoundTrips(std::string_view bytes) const {
  if (all_round_trip_) return true;
  for (char byte : bytes) {
    if (!round_trips_[static_cast<unsigned char>(byte)]) return false;
  }
  return true;
}

}  // namespace vantrel
