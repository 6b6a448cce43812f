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

}  // namespace vantrel
