#include "extraction/output/output_names.h"

#include <limits>
#include <string>
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
  for (const std::u16string_view source : sources) {
    ++uses_[LowerCase(WithTextExtension(source))];
  }
}

std::u16string TextFileNames::For(std::u16string_view source) const {
  std::u16string name = WithTextExtension(source);
  const auto found = uses_.find(LowerCase(name));
  if (found != uses_.end() && found->second > 1) {
    return std::u16string(source) + std::u16string(kTextExtension);
  }
  return name;
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
