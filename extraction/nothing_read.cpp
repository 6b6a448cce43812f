#include "extraction/nothing_read.h"

#include <cstddef>
#include <vector>

#include "extraction/text/native_names.h"

namespace vantrel {
namespace {

std::vector<std::u16string> Extensions(const RunInputs& inputs) {
  std::vector<std::u16string> extensions{inputs.extension};
  extensions.insert(extensions.end(), inputs.more_extensions.begin(),
                    inputs.more_extensions.end());
  return extensions;
}

// A dot alone is an extension of its own, not a slip.
bool Dotted(const std::u16string& extension) {
  return extension.size() > 1 && extension.front() == u'.';
}

}  // namespace

std::u16string NoFileHasTheExtension(const RunInputs& inputs, bool recursive) {
  const std::vector<std::u16string> extensions = Extensions(inputs);
  std::u16string line = u"no file in " + DisplayName(inputs.folder);
  if (recursive) line += u" or below it";
  line +=
      extensions.size() > 1 ? u" has the extensions " : u" has the extension ";
  for (std::size_t i = 0; i < extensions.size(); ++i) {
    if (i > 0) line += i + 1 == extensions.size() ? u" or " : u", ";
    line += extensions[i];
  }
  return line;
}

std::optional<std::u16string> ExtensionsWithoutDots(const RunInputs& inputs) {
  const std::vector<std::u16string> extensions = Extensions(inputs);
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
