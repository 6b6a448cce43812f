#include "extraction/nothing_read.h"

#include <cstddef>
#include <vector>

#include "extraction/text/native_names.h"

namespace vantrel {
namespace {

// A dot alone is an extension of its own, not a slip.
bool Dotted(const std::u16string& extension) {
  return extension.size() > 1 && extension.front() == u'.';
}

}  // namespace

std::u16string NoFileHasTheExtension(const FileSelection& files) {
  const std::vector<std::u16string>& extensions = files.extensions;
  std::u16string line = u"no file in " + DisplayName(files.folder);
  if (files.recursive) line += u" or below it";
  line +=
      extensions.size() > 1 ? u" has the extensions " : u" has the extension ";
  for (std::size_t i = 0; i < extensions.size(); ++i) {
    if (i > 0) line += i + 1 == extensions.size() ? u" or " : u", ";
    line += extensions[i];
  }
  return line;
}

std::optional<std::u16string> ExtensionsWithoutDots(
    const FileSelection& files) {
  const std::vector<std::u16string>& extensions = files.extensions;
  std::u16string without_dots;
  bool dotted = false;
  for (std::size_t i = 0; i < extensions.size(); ++i) {
    const bool dot = Dotted(extensions[i]);
    dotted |= dot;
    if (i > 0) without_dots += u',';
    without_dots += dot ? extensions[i].substr(1) : extensions[i];
  }
  if (!dotted) return std::nullopt;
  return without_dots;
}

}  // namespace vantrel
