// A fresh folder for one test, removed with everything in it at the end.
#ifndef VANTREL_TESTS_SUPPORT_TEMP_FOLDER_H_
#define VANTREL_TESTS_SUPPORT_TEMP_FOLDER_H_

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::testing {

class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  const std::filesystem::path& path() const { return path_; }
  // The folder's path as the run's folder field holds it.
  std::u16string text() const;

  // Writes a file of these bytes (folders on the way are made); returns its
  // path.
  std::filesystem::path create(std::string_view name, std::string_view bytes);
  // The bytes of a file in the folder.
  std::string read(std::string_view name) const;
  // The names directly inside the folder (or a sub-folder), sorted.
  std::vector<std::string> list(std::string_view sub = "") const;

 private:
  std::filesystem::path path_;
};

}  // namespace vantrel::testing

#endif  // VANTREL_TESTS_SUPPORT_TEMP_FOLDER_H_
