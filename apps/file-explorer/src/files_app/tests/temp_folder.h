#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace files::testing {

/// A scratch folder under /tmp, removed with everything in it when the test ends.
class TempFolder {
 public:
  TempFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "files-app-test-XXXXXX").string();
    path_ = mkdtemp(tmpl.data());
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path file(const std::string& name, const std::string& content = "x") const {
    auto p = path_ / name;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p) << content;
    return p;
  }
  std::filesystem::path folder(const std::string& name) const {
    auto p = path_ / name;
    std::filesystem::create_directories(p);
    return p;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace files::testing
