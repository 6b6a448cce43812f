#include "extraction/source_reading.h"

#include "extraction/charsets.h"
#include "extraction/file_system.h"

namespace vantrel {
namespace {

// The probe is 100 bytes, though only the first three decide.
constexpr std::size_t kProbeSize = 100;

}  // namespace

std::u16string TestFile(const std::filesystem::path& path) {
  return std::u16string(DetectCharset(fs::ReadStart(path, kProbeSize)));
}

std::u16string ReadFile(const std::filesystem::path& path,
                        std::u16string_view mode) {
  std::string bytes;
  fs::ReadAll(path, bytes);
  std::u16string text;
  DecodeText(bytes, mode, text);
  return text;
}

}  // namespace vantrel
