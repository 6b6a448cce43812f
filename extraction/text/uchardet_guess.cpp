#include "extraction/text/uchardet_guess.h"

#include <uchardet.h>

#include <array>
#include <memory>
#include <utility>

#include "extraction/text/charset_labels.h"

namespace vantrel {
namespace {

// uchardet's names that are no label of web browsers' for a charset that
// they know: UHC is the EUC-KR of web browsers (windows-949).
constexpr std::array<std::pair<std::string_view, std::string_view>, 2>
    kUchardetNames{{{"UHC", "EUC-KR"}, {"MAC-CYRILLIC", "x-mac-cyrillic"}}};

struct DetectorDeleter {
  void operator()(uchardet* detector) const { uchardet_delete(detector); }
};

}  // namespace

std::optional<std::string> UchardetGuess(std::string_view bytes) {
  // One detector per thread, reset for each text: making one costs more
  // than a short text's guess.
  thread_local const std::unique_ptr<uchardet, DetectorDeleter> detector(
      uchardet_new());
  if (!detector) return std::nullopt;
  uchardet_reset(detector.get());
  if (uchardet_handle_data(detector.get(), bytes.data(), bytes.size()) != 0) {
    return std::nullopt;
  }
  uchardet_data_end(detector.get());
  const char* name = uchardet_get_charset(detector.get());
  if (name == nullptr || *name == '\0') return std::nullopt;
  for (const auto& [own, label] : kUchardetNames) {
    if (own == name) return CharsetOfLabel(label);
  }
  return CharsetOfLabel(name);
}

}  // namespace vantrel
