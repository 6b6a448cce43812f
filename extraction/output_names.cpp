#include "extraction/output_names.h"

#include "extraction/file_system.h"
#include "extraction/native_names.h"
#include "extraction/text.h"

namespace vantrel {
namespace {

constexpr char16_t kSeparator = u'/';
constexpr std::u16string_view kExportPrefix = u"Export";

std::u16string BasePath(std::u16string_view source_path) {
  std::u16string base(source_path);
  if (base.empty() || base.back() != kSeparator) base.push_back(kSeparator);
  return base;
}

// The first number from `from` for which `taken` is false.
template <typename Taken>
std::int64_t FirstFree(std::int64_t from, Taken taken) {
  std::int64_t n = from;
  while (taken(n)) ++n;
  return n;
}

}  // namespace

std::u16string OutputFileName(std::u16string_view source_path, std::int64_t n,
                              std::u16string_view extension) {
  return OutputFolderName(source_path, n) + u"." + std::u16string(extension);
}

std::u16string OutputFolderName(std::u16string_view source_path,
                                std::int64_t n) {
  return BasePath(source_path) + std::u16string(kExportPrefix) + DecimalText(n);
}

std::int64_t FirstFreeFileNumber(std::u16string_view source_path,
                                 std::u16string_view extension,
                                 std::int64_t from) {
  return FirstFree(from, [&](std::int64_t n) {
    return fs::FileExists(
        NativePath(OutputFileName(source_path, n, extension)));
  });
}

std::int64_t FirstFreeFolderNumber(std::u16string_view source_path,
                                   std::int64_t from) {
  return FirstFree(from, [&](std::int64_t n) {
    return fs::FolderExists(NativePath(OutputFolderName(source_path, n)));
  });
}

}  // namespace vantrel
