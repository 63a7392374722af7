#pragma once

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace files::fileops::testing {

/// A fresh private folder under `base` (/tmp by default, or /dev/shm for a second file system),
/// removed with everything in it when the test ends.
class TestFolder {
 public:
  explicit TestFolder(const std::filesystem::path& base = "/tmp");
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;
  ~TestFolder();

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void write_file(const std::filesystem::path& path, const std::string& content);
std::string read_file(const std::filesystem::path& path);
/// Writes `size` bytes of a repeatable pattern that differs from block to block.
void write_pattern_file(const std::filesystem::path& path, std::size_t size, unsigned seed = 1);

/// The names directly in a folder, sorted.
std::vector<std::string> names_in(const std::filesystem::path& folder);

/// Everything below a folder as relative path -> description ("file:<content hash>:<mode>",
/// "dir:<mode>", "link:<target>"), to compare trees before and after an operation.
std::map<std::string, std::string> tree_snapshot(const std::filesystem::path& root);

/// Whether any name directly in `folder` begins with ".vask-transfer-".
bool has_transfer_leftovers(const std::filesystem::path& folder);

/// Whether two paths lie on different file systems.
bool on_different_file_systems(const std::filesystem::path& a, const std::filesystem::path& b);

/// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace files::fileops::testing
