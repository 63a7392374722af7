#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace files::chrome_testing {

/// A folder under /tmp for one test, deleted with its contents afterwards. Shared by the tests
/// of the favourites, the path bar and the places.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "files-chrome-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::filesystem::filesystem_error("mkdtemp", {});
    root_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return root_; }
  /// Creates the folder (and its parents) below the scratch folder.
  std::filesystem::path folder(const std::string& relative) const {
    std::filesystem::create_directories(root_ / relative);
    return root_ / relative;
  }
  /// Creates a file with `content` below the scratch folder.
  std::filesystem::path file(const std::string& relative, const std::string& content = "x") const {
    const auto p = root_ / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p) << content;
    return p;
  }

 private:
  std::filesystem::path root_;
};

}  // namespace files::chrome_testing
