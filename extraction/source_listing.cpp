#include "extraction/source_listing.h"

#include <algorithm>

#include "extraction/native_names.h"
#include "extraction/text.h"

namespace vantrel {
namespace {

// The text behind the last dot of a name, or nothing when it has none.
std::u16string_view ExtensionOf(std::u16string_view name) {
  const std::size_t dot = name.rfind(u'.');
  return dot == std::u16string_view::npos ? std::u16string_view()
                                          : name.substr(dot + 1);
}

std::vector<std::string> MatchingNames(const fs::Path& folder,
                                       const ExtensionFilter& filter) {
  return fs::ListFiles(folder, [&](std::string_view name) {
    return filter(NativeToText(name));
  });
}

}  // namespace

ExtensionFilter::ExtensionFilter(std::u16string_view extension)
    : lowered_(LowerCase(extension)) {}

bool ExtensionFilter::operator()(std::u16string_view name) const {
  return LowerCase(ExtensionOf(name)) == lowered_;
}

std::size_t CountSources(const fs::Path& folder,
                         const ExtensionFilter& filter) {
  return MatchingNames(folder, filter).size();
}

std::vector<SourceItem> SourcesInOrder(const fs::Path& folder,
                                       const ExtensionFilter& filter) {
  struct Keyed {
    std::u16string folded;
    std::string name;
  };
  std::vector<Keyed> keyed;
  for (std::string& name : MatchingNames(folder, filter)) {
    keyed.push_back({FoldCase(NativeToText(name)), std::move(name)});
  }
  std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
    return a.folded != b.folded ? a.folded < b.folded : a.name < b.name;
  });

  std::vector<SourceItem> items;
  items.reserve(keyed.size());
  for (const Keyed& k : keyed) {
    items.push_back({folder / k.name, NativeToText(k.name)});
  }
  return items;
}

}  // namespace vantrel
