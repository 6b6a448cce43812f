#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "extraction/text/native_names.h"

namespace vantrel::testing {

TempFolder::TempFolder() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "vantrel-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot make a temporary folder";
  }
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Give back any permission a test took away, so everything can go.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::u16string TempFolder::text() const { return PathText(path_); }

std::filesystem::path TempFolder::create(std::string_view name,
                                         std::string_view bytes) {
  const std::filesystem::path file = path_ / std::string(name);
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) ADD_FAILURE() << "cannot write " << file;
  return file;
}

std::string TempFolder::read(std::string_view name) const {
  std::ifstream in(path_ / std::string(name), std::ios::binary);
  if (!in) ADD_FAILURE() << "cannot read " << name;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> TempFolder::list(std::string_view sub) const {
  std::vector<std::string> names;
  for (const auto& entry :
       std::filesystem::directory_iterator(path_ / std::string(sub))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace vantrel::testing
