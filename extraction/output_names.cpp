#include "extraction/output_names.h"

#include "extraction/counter.h"
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

// The first number from `from` for which `taken` is false, counting as the
// run counts: past 32767 is an overflow.
template <typename Taken>
int FirstFree(int from, Taken taken) {
  for (int n = from;; ++n) {
    if (n > Counter::kMax) throw RunError(std::string(kOverflowDescription));
    if (!taken(n)) return n;
  }
}

}  // namespace

std::u16string OutputFileName(std::u16string_view source_path, int n,
                              std::u16string_view extension) {
  return OutputFolderName(source_path, n) + u"." + std::u16string(extension);
}

std::u16string OutputFolderName(std::u16string_view source_path, int n) {
  return BasePath(source_path) + std::u16string(kExportPrefix) + DecimalText(n);
}

int FirstFreeFileNumber(std::u16string_view source_path,
                        std::u16string_view extension, int from) {
  return FirstFree(from, [&](int n) {
    return fs::FileExists(
        NativePath(OutputFileName(source_path, n, extension)));
  });
}

int FirstFreeFolderNumber(std::u16string_view source_path, int from) {
  return FirstFree(from, [&](int n) {
    return fs::FolderExists(NativePath(OutputFolderName(source_path, n)));
  });
}

}  // namespace vantrel
