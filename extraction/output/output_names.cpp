#include "extraction/output/output_names.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "extraction/sys/file_system.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

namespace vantrel {
namespace {

constexpr std::u16string_view kExportPrefix = u"Export";

std::u16string BasePath(std::u16string_view source_path) {
  std::u16string base(source_path);
  if (base.empty() || base.back() != kSeparator) base.push_back(kSeparator);
  return base;
}

// N when `lowered`, a lower-cased name, is "export<N><lowered_suffix>" as
// the output names write N (decimal, no leading zero); nothing otherwise.
std::optional<std::int64_t> OutputNumber(std::u16string_view lowered,
                                         std::u16string_view lowered_suffix) {
  constexpr std::u16string_view kLoweredPrefix = u"export";
  if (!lowered.starts_with(kLoweredPrefix)) return std::nullopt;
  lowered.remove_prefix(kLoweredPrefix.size());
  if (lowered.empty() || lowered.front() < u'1' || lowered.front() > u'9') {
    return std::nullopt;
  }
  std::int64_t n = 0;
  while (!lowered.empty() && lowered.front() >= u'0' &&
         lowered.front() <= u'9') {
    const int digit = lowered.front() - u'0';
    // Beyond any number a search could reach.
    if (n > (std::numeric_limits<std::int64_t>::max() - digit) / 10) {
      return std::nullopt;
    }
    n = n * 10 + digit;
    lowered.remove_prefix(1);
  }
  if (lowered != lowered_suffix) return std::nullopt;
  return n;
}

constexpr std::u16string_view kTextExtension = u".txt";

// The name with its extension (from the last dot of its last part) replaced
// by ".txt".
std::u16string WithTextExtension(std::u16string_view name) {
  const std::size_t slash = name.rfind(u'/');
  const std::size_t dot = name.rfind(u'.');
  if (dot != std::u16string_view::npos &&
      (slash == std::u16string_view::npos || dot > slash)) {
    name = name.substr(0, dot);
  }
  return std::u16string(name) + std::u16string(kTextExtension);
}

}  // namespace

TextFileNames::TextFileNames(const std::vector<std::u16string_view>& sources) {
  // Name order as a run reads the sources (letter case ignored, ties in
  // character order), so that the plan is the same whatever order it is
  // given and a clash goes to the source the run reads first.
  std::vector<std::pair<std::u16string, std::u16string_view>> keyed;
  keyed.reserve(sources.size());
  for (const std::u16string_view source : sources) {
    keyed.emplace_back(FoldCase(source), source);
  }
  std::sort(keyed.begin(), keyed.end());
  std::vector<std::u16string_view> sorted;
  sorted.reserve(keyed.size());
  for (const auto& [folded, source] : keyed) {
    if (sorted.empty() || sorted.back() != source) sorted.push_back(source);
  }

  std::unordered_map<std::u16string, int> replaced_uses;
  for (const std::u16string_view source : sorted) {
    ++replaced_uses[LowerCase(WithTextExtension(source))];
  }
  std::vector<std::u16string> wanted;
  wanted.reserve(sorted.size());
  std::unordered_set<std::u16string> taken;
  for (const std::u16string_view source : sorted) {
    std::u16string name = WithTextExtension(source);
    if (replaced_uses[LowerCase(name)] > 1) {
      name = std::u16string(source) + std::u16string(kTextExtension);
    }
    taken.insert(LowerCase(name));
    wanted.push_back(std::move(name));
  }
  // Every wanted name is taken before any number is chosen, so a number
  // never lands on a name that a later source wants.
  std::unordered_set<std::u16string> given;
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    std::u16string name = std::move(wanted[i]);
    if (!given.insert(LowerCase(name)).second) {
      const std::u16string stem =
          name.substr(0, name.size() - kTextExtension.size());
      for (std::int64_t n = 2;; ++n) {
        std::u16string numbered = stem + u" (" + DecimalText(n) + u")" +
                                  std::u16string(kTextExtension);
        const std::u16string lowered = LowerCase(numbered);
        if (!taken.contains(lowered) && given.insert(lowered).second) {
          taken.insert(lowered);
          name = std::move(numbered);
          break;
        }
      }
    }
    names_.emplace(sorted[i], std::move(name));
  }
}

ListedFileNames::ListedFileNames(
    const std::vector<std::u16string_view>& paths) {
  std::vector<std::u16string> wanted;
  wanted.reserve(paths.size());
  std::unordered_set<std::u16string> taken;
  for (const std::u16string_view path : paths) {
    const std::size_t slash = path.rfind(u'/');
    // (With no slash, npos + 1 is 0: the whole path.)
    wanted.emplace_back(path.substr(slash + 1));
    taken.insert(LowerCase(wanted.back()));
  }
  std::unordered_set<std::u16string> given;
  names_.reserve(paths.size());
  for (std::u16string& name : wanted) {
    if (!given.insert(LowerCase(name)).second) {
      // The number goes before the extension, which keeps the file's kind.
      const std::size_t dot = name.rfind(u'.');
      const std::size_t stem_end =
          dot == std::u16string::npos || dot == 0 ? name.size() : dot;
      const std::u16string stem = name.substr(0, stem_end);
      const std::u16string extension = name.substr(stem_end);
      for (std::int64_t n = 2;; ++n) {
        std::u16string numbered =
            stem + u" (" + DecimalText(n) + u")" + extension;
        const std::u16string lowered = LowerCase(numbered);
        if (!taken.contains(lowered) && given.insert(lowered).second) {
          taken.insert(lowered);
          name = std::move(numbered);
          break;
        }
      }
    }
    names_.push_back(std::move(name));
  }
}

std::u16string TextFileNames::For(std::u16string_view source) const {
  const auto found = names_.find(std::u16string(source));
  return found != names_.end() ? found->second : WithTextExtension(source);
}

std::u16string OutputFileName(std::u16string_view source_path, std::int64_t n,
                              std::u16string_view extension) {
  return OutputFolderName(source_path, n) + u"." + std::u16string(extension);
}

std::u16string OutputFolderName(std::u16string_view source_path,
                                std::int64_t n) {
  return BasePath(source_path) + std::u16string(kExportPrefix) + DecimalText(n);
}

TakenOutputNumbers TakenOutputNumbers::OfFiles(std::u16string_view source_path,
                                               std::u16string_view extension) {
  return TakenOutputNumbers(source_path, extension);
}

TakenOutputNumbers TakenOutputNumbers::OfFolders(
    std::u16string_view source_path) {
  return TakenOutputNumbers(source_path, std::nullopt);
}

TakenOutputNumbers::TakenOutputNumbers(
    std::u16string_view source_path,
    std::optional<std::u16string_view> extension) {
  // Both sides lower-cased a character at a time compare as the names
  // would on a share that ignores letter case.
  const std::u16string suffix =
      extension ? LowerCase(u"." + std::u16string(*extension)) : u"";
  const fs::Path folder = NativePath(source_path);
  for (const std::string& name : fs::ListNames(folder)) {
    const auto n = OutputNumber(LowerCase(NativeToText(name)), suffix);
    if (!n || taken_.contains(*n)) continue;
    // Only an entry of the output's kind holds the number up.
    const fs::Path path = folder / name;
    if (extension ? fs::FileExists(path) : fs::FolderExists(path)) {
      taken_.insert(*n);
    }
  }
}

std::int64_t TakenOutputNumbers::FirstFree(std::int64_t from) const {
  std::int64_t n = from;
  while (taken_.contains(n)) ++n;
  return n;
}

}  // namespace vantrel
