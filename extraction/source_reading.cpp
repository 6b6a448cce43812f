#include "extraction/source_reading.h"

#include "extraction/file_system.h"

namespace vantrel {
namespace {

// The probe is 100 bytes, though only the first three decide.
constexpr std::size_t kProbeSize = 100;

}  // namespace

Charset TestFile(const std::filesystem::path& path) {
  return DetectCharset(fs::ReadStart(path, kProbeSize));
}

std::u16string ReadFile(const std::filesystem::path& path, Charset mode) {
  return std::u16string(SourceReader().Read(path, mode));
}

std::u16string_view SourceReader::Read(const std::filesystem::path& path,
                                       Charset mode) {
  fs::ReadAll(path, bytes_);
  const std::size_t length = DecodeTextInto(bytes_, mode, text_);
  return {text_.data(), length};
}

}  // namespace vantrel
