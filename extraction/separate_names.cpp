#include "extraction/separate_names.h"

#include <algorithm>

#include "extraction/text/native_names.h"

namespace vantrel {

SeparateNames::SeparateNames(const FileSelection& files, const Sources& sources,
                             bool separate, OutputKind kind)
    : sources_(sources) {
  if (!separate) return;
  if (files.file_list() != nullptr) {
    std::vector<std::u16string_view> paths;
    for (const SourceItem& item : sources.items) paths.push_back(item.Name);
    listed_.emplace(paths);
  }
  if (std::any_of(sources.items.begin(), sources.items.end(),
                  [](const SourceItem& item) { return item.web_archive; })) {
    pages_.emplace(kind == OutputKind::kText ? "txt" : "");
  }
}

std::vector<std::u16string_view> SeparateNames::OfAllSources() const {
  std::vector<std::u16string_view> names;
  for (std::size_t i = 0; i < sources_.items.size(); ++i) {
    names.push_back(listed_ ? std::u16string_view(listed_->At(i))
                            : std::u16string_view(sources_.items[i].Name));
  }
  return names;
}

std::u16string SeparateNames::OfFile(std::size_t index) const {
  return listed_ ? listed_->At(index) : std::u16string();
}

std::u16string SeparateNames::OfPage(std::string_view uri) {
  return pages_ ? NativeToText(pages_->For(uri)) : std::u16string();
}

}  // namespace vantrel
