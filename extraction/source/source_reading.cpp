#include "extraction/source/source_reading.h"

#include "extraction/sys/file_system.h"

namespace vantrel {
namespace {

// The probe is 100 bytes, though only the first three decide.
constexpr std::size_t kProbeSize = 100;

}  // namespace

Charset TestFile(const std::filesystem::path& path) {
  return DetectCharset(fs::ReadStart(path, kProbeSize));
}

Charset TestFile(SourceOpener& opener, const SourceItem& item) {
  return DetectCharset(opener.ReadStart(item, kProbeSize));
}

std::u16string ReadFile(const std::filesystem::path& path, Charset mode) {
  fs::SourceFile file = fs::SourceFile::Open(path);
  SourceBuffer bytes;
  file.ReadAll(bytes);
  file.Close();
  std::u16string text;
  DecodeText(bytes.bytes(), mode, text);
  return text;
}

}  // namespace vantrel
