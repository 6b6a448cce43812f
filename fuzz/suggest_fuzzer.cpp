// Suggests markers for a folder of pages built from the fuzz input and
// checks what must hold whatever the pages are: the suggestion ends, says
// why when it has no pair, gives at most three pairs, none twice, and each
// pair gives a piece on exactly as many files as it says when the files are
// cut as a run cuts them.
//
// The input is split at 0x01 bytes: the first part is a header and the
// second a footer that every page shares (the template), each further part
// one page's own text between them. The first byte's low bit asks for a
// suggestion around the first 24 bytes of the first page's own text.
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/match/cut.h"
#include "extraction/match/matchers.h"
#include "extraction/suggest/suggestion.h"
#include "extraction/text/charsets.h"
#include "extraction/text/text.h"
#include "fuzz/fuzz_check.h"

namespace {

namespace stdfs = std::filesystem;
using vantrel::fuzz::Check;

constexpr std::size_t kMostPages = 12;

std::vector<std::string_view> Parts(std::string_view bytes) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t cut = bytes.find('\x01');
    parts.push_back(bytes.substr(0, cut));
    if (cut == std::string_view::npos) return parts;
    bytes.remove_prefix(cut + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const bool around = (data[0] & 1) != 0;
  const std::vector<std::string_view> parts = Parts(
      std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  if (parts.size() < 3) return 0;

  std::string folder = stdfs::temp_directory_path() / "vantrel-suggest-XXXXXX";
  Check(::mkdtemp(folder.data()) != nullptr, "mkdtemp");
  std::vector<std::string> pages;
  for (std::size_t i = 2; i < parts.size() && pages.size() < kMostPages; ++i) {
    pages.push_back(std::string(parts[0]) + std::string(parts[i]) +
                    std::string(parts[1]));
    std::ofstream(stdfs::path(folder) /
                      ("p" + std::to_string(10 + pages.size()) + ".htm"),
                  std::ios::binary)
        << pages.back();
  }

  vantrel::SuggestionRequest request;
  request.files.folder = vantrel::Utf8ToText(folder);
  request.files.extensions = {u"htm"};
  request.files.charset = vantrel::Charset::kUtf8;
  if (around) {
    std::u16string text;
    vantrel::DecodeText(parts[2].substr(0, 24), vantrel::Charset::kUtf8, text);
    request.around = text;
  }
  const vantrel::SuggestionResult result = vantrel::SuggestMarkers(request);

  Check(result.why != vantrel::NoSuggestion::kFailed, "the pages were read");
  Check((result.why == vantrel::NoSuggestion::kNone) ==
            !result.suggestions.empty(),
        "a reason exactly when there is no pair");
  Check(!result.message.empty(), "a message");
  Check(result.suggestions.size() <= 3, "at most three pairs");
  Check(result.files == static_cast<std::int64_t>(pages.size()),
        "every page read");
  for (std::size_t i = 0; i < result.suggestions.size(); ++i) {
    const vantrel::MarkerSuggestion& pair = result.suggestions[i];
    for (std::size_t j = 0; j < i; ++j) {
      Check(pair.start != result.suggestions[j].start ||
                pair.end != result.suggestions[j].end,
            "no pair twice");
    }
    Check(!pair.start.empty() && !pair.end.empty(), "no empty marker");
    Check(!pair.basis.empty(), "a basis");
    vantrel::MatchOptions matching;
    matching.regex = pair.regex;
    const auto start = vantrel::MakeMatcher(pair.start, matching);
    const auto end = vantrel::MakeMatcher(pair.end, matching);
    std::int64_t pieces = 0;
    for (const std::string& page : pages) {
      std::u16string text;
      vantrel::DecodeText(page, vantrel::Charset::kUtf8, text);
      pieces += vantrel::CutPiece(text, *start, *end).outcome ==
                vantrel::FileOutcome::kExtracted;
    }
    Check(pieces == pair.pieces, "pieces as a run gives them");
    Check(pieces > 0, "a piece on some file");
  }
  stdfs::remove_all(folder);
  return 0;
}
