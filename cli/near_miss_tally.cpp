#include "cli/near_miss_tally.h"

#include <algorithm>
#include <utility>

namespace vantrel::cli {
namespace {

// What the files have, and what to do about them (`them` names them); a
// mend names every option it needs.
std::pair<std::string, std::string> Describe(NearMiss::Kind kind,
                                             bool end_marker,
                                             bool line_breaks_too,
                                             const std::string& them) {
  const std::string marker = end_marker ? "the end marker" : "the start marker";
  switch (kind) {
    case NearMiss::Kind::kCharset:
      // A folder of mixed charsets has no one charset that suits all.
      return {"another charset than the run's",
              ", --charset detect reads each file in its own"};
    case NearMiss::Kind::kLineBreaks:
      return {marker + " with other line breaks",
              ", --line-breaks any matches " + them};
    case NearMiss::Kind::kLetterCase:
      if (line_breaks_too) {
        return {marker + " in other letter case and with other line breaks",
                ", --ignore-case with --line-breaks any matches " + them};
      }
      return {marker + " in other letter case",
              ", --ignore-case matches " + them};
    case NearMiss::Kind::kSpacing:
      return {marker + " with other spacing", ""};
    case NearMiss::Kind::kEndBeforeStart:
      break;
  }
  return {"the end marker only before the start marker", ""};
}

}  // namespace

std::vector<std::string> NearMissTally::Lines() const {
  std::vector<std::pair<Key, int>> groups(counts_.begin(), counts_.end());
  std::stable_sort(
      groups.begin(), groups.end(),
      [](const auto& a, const auto& b) { return a.second > b.second; });
  std::vector<std::string> lines;
  for (const auto& [key, count] : groups) {
    const std::string them = count == 1 ? "it" : "them";
    const auto [kind, end_marker, line_breaks_too] = key;
    const auto [what, remedy] =
        Describe(kind, end_marker, line_breaks_too, them);
    lines.push_back("vantrel-cli: " + std::to_string(count) +
                    (count == 1 ? " file that gave no piece has "
                                : " files that gave no piece have ") +
                    what + "; --explain lists " + them + remedy);
  }
  return lines;
}

}  // namespace vantrel::cli
