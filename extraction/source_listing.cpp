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

// What a folder holds that a run may look at.
struct Listing {
  std::vector<std::string> files;    // matching files
  std::vector<std::string> folders;  // with `recursive` only
};

Listing List(const fs::Path& folder, const ExtensionFilter& filter,
             bool recursive) {
  Listing listing;
  listing.files = fs::ListFiles(
      folder, [&](std::string_view name) { return filter(NativeToText(name)); },
      recursive ? &listing.folders : nullptr);
  return listing;
}

// Appends the sources below `folder` to `items`, `prefix` (ending in "/"
// unless empty) naming the folder below the scanned one.
void Collect(const fs::Path& folder, const std::string& prefix,
             const ExtensionFilter& filter, bool recursive,
             std::vector<SourceItem>& items) {
  Listing listing = List(folder, filter, recursive);
  struct Keyed {
    std::u16string folded;
    std::string name;
    bool folder;
  };
  std::vector<Keyed> keyed;
  for (std::string& name : listing.files) {
    keyed.push_back({FoldCase(NativeToText(name)), std::move(name), false});
  }
  for (std::string& name : listing.folders) {
    keyed.push_back({FoldCase(NativeToText(name)), std::move(name), true});
  }
  std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
    return a.folded != b.folded ? a.folded < b.folded : a.name < b.name;
  });
  for (const Keyed& k : keyed) {
    if (k.folder) {
      Collect(folder / k.name, prefix + k.name + "/", filter, recursive, items);
    } else {
      items.push_back({folder / k.name, NativeToText(prefix + k.name)});
    }
  }
}

}  // namespace

ExtensionFilter::ExtensionFilter(
    const std::vector<std::u16string>& extensions) {
  for (const std::u16string& extension : extensions) {
    lowered_.push_back(LowerCase(extension));
  }
}

bool ExtensionFilter::operator()(std::u16string_view name) const {
  const std::u16string extension = LowerCase(ExtensionOf(name));
  return std::find(lowered_.begin(), lowered_.end(), extension) !=
         lowered_.end();
}

std::size_t CountSources(const fs::Path& folder, const ExtensionFilter& filter,
                         bool recursive) {
  Listing listing = List(folder, filter, recursive);
  std::size_t count = listing.files.size();
  for (const std::string& name : listing.folders) {
    count += CountSources(folder / name, filter, recursive);
  }
  return count;
}

std::vector<SourceItem> SourcesInOrder(const fs::Path& folder,
                                       const ExtensionFilter& filter,
                                       bool recursive) {
  std::vector<SourceItem> items;
  Collect(folder, "", filter, recursive, items);
  return items;
}

}  // namespace vantrel
