#pragma once

#include <filesystem>
#include <string>
#include <utility>

namespace files::model {

/// An entry's path, kept as its bytes. A std::filesystem::path splits itself into components
/// when it is made and frees them all again; for a folder of 100,000 entries that cost more than
/// reading the folder, while most entries are never asked for more than their bytes. The path
/// object is made where a path operation needs it.
class EntryPath {
 public:
  EntryPath() = default;
  EntryPath(std::string bytes) : bytes_(std::move(bytes)) {}
  EntryPath(const char* bytes) : bytes_(bytes) {}
  EntryPath(const std::filesystem::path& path) : bytes_(path.native()) {}

  const std::string& native() const { return bytes_; }
  const char* c_str() const { return bytes_.c_str(); }
  std::string string() const { return bytes_; }
  bool empty() const { return bytes_.empty(); }

  std::filesystem::path fs() const { return std::filesystem::path(bytes_); }
  operator std::filesystem::path() const { return fs(); }
  std::filesystem::path filename() const { return fs().filename(); }
  std::filesystem::path parent_path() const { return fs().parent_path(); }
  std::filesystem::path extension() const { return fs().extension(); }
  std::filesystem::path stem() const { return fs().stem(); }

  /// Byte equality between entries: both were made the same way.
  friend bool operator==(const EntryPath&, const EntryPath&) = default;
  /// Against any other path, the path's own (component-wise) equality. Only repeated
  /// separators make different bytes name the same components, so the path objects are made
  /// only then: looking an entry up by path stays a byte comparison per entry.
  friend bool operator==(const EntryPath& a, const std::filesystem::path& b) {
    if (a.bytes_ == b.native()) return true;
    if (a.bytes_.find("//") == std::string::npos && b.native().find("//") == std::string::npos)
      return false;
    return a.fs() == b;
  }
  friend std::filesystem::path operator/(const EntryPath& a, const std::filesystem::path& b) {
    return a.fs() / b;
  }

 private:
  std::string bytes_;
};

}  // namespace files::model
