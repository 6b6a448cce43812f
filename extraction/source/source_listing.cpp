#include "extraction/source/source_listing.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "extraction/base/run_error.h"
#include "extraction/source/warc/web_archive.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

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

Listing List(fs::Folder& folder, const ExtensionFilter& filter,
             bool recursive) {
  Listing listing;
  listing.files = folder.List(
      [&](std::string_view name) { return filter(NativeToText(name)); },
      recursive ? &listing.folders : nullptr);
  return listing;
}

// The sub-folder `name` of `folder`, open and listed; nothing when it
// cannot be and the run keeps going, `error` then telling why.
std::optional<std::pair<fs::Folder, Listing>> ListSub(
    const fs::Folder& folder, const std::string& name,
    const ExtensionFilter& filter, bool keep_going, int& error) {
  try {
    fs::Folder sub = folder.OpenSub(name, /*to_list=*/true);
    Listing listing = List(sub, filter, /*recursive=*/true);
    return std::pair{std::move(sub), std::move(listing)};
  } catch (const FileSystemError& e) {
    if (!keep_going) throw;
    error = e.error_number();
    return std::nullopt;
  }
}

// Appends the sources of `folder`, listed as `listing`, to `items`,
// `prefix` (ending in "/" unless empty) naming the folder below the
// scanned one.
void Collect(const fs::Folder& folder, Listing listing,
             const std::string& prefix, const ExtensionFilter& filter,
             bool keep_going, std::vector<SourceItem>& items) {
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
    std::string relative = prefix + k.name;
    if (!k.folder) {
      std::u16string name = NativeToText(relative);
      const bool archive = filter.IsWebArchive(name);
      items.push_back({std::move(name), std::move(relative), 0, archive});
      continue;
    }
    int error = 0;
    auto sub = ListSub(folder, k.name, filter, keep_going, error);
    if (!sub) {
      items.push_back({NativeToText(relative), std::move(relative), error});
      continue;
    }
    Collect(sub->first, std::move(sub->second), relative + "/", filter,
            keep_going, items);
  }
}

// How many files match in `folder`, listed as `listing`, and below it.
std::size_t Count(const fs::Folder& folder, Listing listing,
                  const ExtensionFilter& filter, bool keep_going) {
  std::size_t count = listing.files.size();
  for (const std::string& name : listing.folders) {
    int error = 0;
    if (auto sub = ListSub(folder, name, filter, keep_going, error)) {
      count += Count(sub->first, std::move(sub->second), filter, keep_going);
    }
  }
  return count;
}

}  // namespace

ExtensionFilter::ExtensionFilter(const std::vector<std::u16string>& extensions,
                                 bool web_archives)
    : web_archives_(web_archives) {
  for (const std::u16string& extension : extensions) {
    lowered_.push_back(LowerCase(extension));
  }
}

bool ExtensionFilter::operator()(std::u16string_view name) const {
  const std::u16string extension = LowerCase(ExtensionOf(name));
  if (std::find(lowered_.begin(), lowered_.end(), extension) !=
      lowered_.end()) {
    return true;
  }
  // An extension with a dot inside ("warc.gz") is matched at the end.
  if (!web_archives_) return false;
  for (const std::u16string& wanted : lowered_) {
    if (wanted.find(u'.') == std::u16string::npos ||
        name.size() <= wanted.size()) {
      continue;
    }
    const std::u16string end =
        LowerCase(name.substr(name.size() - wanted.size() - 1));
    if (end[0] == u'.' && std::u16string_view(end).substr(1) == wanted) {
      return true;
    }
  }
  return false;
}

bool ExtensionFilter::IsWebArchive(std::u16string_view name) const {
  return web_archives_ && warc::IsWebArchiveName(name);
}

std::size_t CountSources(const fs::Path& folder, const ExtensionFilter& filter,
                         ListingOptions options) {
  fs::Folder root = fs::Folder::Open(folder);
  Listing listing = List(root, filter, options.recursive);
  return Count(root, std::move(listing), filter, options.keep_going);
}

Sources SourcesInOrder(const fs::Path& folder, const ExtensionFilter& filter,
                       ListingOptions options) {
  Sources sources{fs::Folder::Open(folder), {}};
  Listing listing = List(*sources.root, filter, options.recursive);
  Collect(*sources.root, std::move(listing), "", filter, options.keep_going,
          sources.items);
  return sources;
}

Sources ListedSources(const std::vector<std::string>& paths,
                      bool web_archives) {
  Sources sources;
  sources.items.reserve(paths.size());
  for (const std::string& path : paths) {
    std::u16string name = NativeToText(path);
    const bool archive = web_archives && warc::IsWebArchiveName(name);
    sources.items.push_back({std::move(name), path, 0, archive});
  }
  return sources;
}

SourceOpener::SourceOpener(const Sources& sources)
    : root_(sources.root ? &*sources.root : nullptr) {
  if (root_ != nullptr) folders_.emplace(*root_, false);
}

std::pair<const fs::Folder&, std::string_view> SourceOpener::Place(
    const SourceItem& item) {
  if (item.unlisted_error != 0) {
    fs::Fail("cannot list folder", root_->path() / item.relative,
             item.unlisted_error);
  }
  const std::string_view relative = item.relative;
  const std::size_t slash = relative.rfind('/');
  if (slash == std::string_view::npos) return {folders_->At(""), relative};
  return {folders_->At(relative.substr(0, slash)), relative.substr(slash + 1)};
}

fs::SourceFile SourceOpener::Open(const SourceItem& item) {
  if (root_ == nullptr) return fs::SourceFile::Open(fs::Path(item.relative));
  const auto [folder, name] = Place(item);
  return folder.OpenSource(name);
}

std::string SourceOpener::ReadStart(const SourceItem& item, std::size_t count) {
  if (root_ == nullptr) return fs::ReadStart(fs::Path(item.relative), count);
  const auto [folder, name] = Place(item);
  return folder.ReadStart(name, count);
}

}  // namespace vantrel
