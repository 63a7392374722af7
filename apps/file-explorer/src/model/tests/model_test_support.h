#pragma once

#include <gtest/gtest.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace files::model::testing {

/// A fresh folder under `base` (/tmp is ext4 with ~4 KiB of attributes per file; /dev/shm is
/// tmpfs, where one value may reach 64 KiB), removed with everything in it afterwards.
class TempDir {
 public:
  explicit TempDir(const char* base = "/tmp") {
    std::string pattern = std::string(base) + "/files-model-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
      ADD_FAILURE() << "mkdtemp in " << base << ": " << std::strerror(errno);
    }
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline void write_file(const std::filesystem::path& path, std::string_view content = "") {
  std::ofstream out(path, std::ios::binary);
  out << content;
  ASSERT_TRUE(out.good()) << path;
}

/// Sets one extended attribute with setxattr(2), failing the test when the file system
/// refuses it.
inline void set_attribute(const std::filesystem::path& path, const char* name,
                          std::string_view value) {
  ASSERT_EQ(::setxattr(path.c_str(), name, value.data(), value.size(), 0), 0)
      << name << " on " << path << " (" << value.size() << " bytes): " << std::strerror(errno);
}

}  // namespace files::model::testing
