#include "test_folder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace files::fileops::testing {

TestFolder::TestFolder(const std::filesystem::path& base) {
  std::string pattern = (base / "files-fileops-XXXXXX").native();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TestFolder::~TestFolder() {
  std::error_code error;
  // Tests make folders read-only; give the owner access back so everything can go.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_directory(error) && !it->is_symlink(error)) {
      ::chmod(it->path().c_str(), 0700);
    }
  }
  std::filesystem::remove_all(path_, error);
}

void write_file(const std::filesystem::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + path.native());
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_pattern_file(const std::filesystem::path& path, std::size_t size, unsigned seed) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::vector<std::uint32_t> block(16 * 1024);
  std::uint32_t state = seed * 2654435761u + 1;
  for (std::size_t written = 0; written < size;) {
    for (auto& word : block) {
      state = state * 1664525u + 1013904223u;
      word = state;
    }
    const std::size_t n = std::min(block.size() * sizeof(std::uint32_t), size - written);
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(n));
    written += n;
  }
  if (!out) throw std::runtime_error("cannot write " + path.native());
}

std::vector<std::string> names_in(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    names.push_back(entry.path().filename().native());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::map<std::string, std::string> tree_snapshot(const std::filesystem::path& root) {
  std::map<std::string, std::string> tree;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(root, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    const auto relative = it->path().lexically_relative(root).native();
    struct stat st {};
    ::lstat(it->path().c_str(), &st);
    std::ostringstream description;
    if (S_ISLNK(st.st_mode)) {
      description << "link:" << std::filesystem::read_symlink(it->path()).native();
    } else if (S_ISDIR(st.st_mode)) {
      description << "dir:" << std::oct << (st.st_mode & 07777);
    } else {
      description << "file:" << std::hash<std::string>{}(read_file(it->path())) << ":" << st.st_size
                  << ":" << std::oct << (st.st_mode & 07777);
    }
    tree[relative] = description.str();
  }
  return tree;
}

bool has_transfer_leftovers(const std::filesystem::path& folder) {
  for (const auto& name : names_in(folder)) {
    if (name.starts_with(".vask-transfer-")) return true;
  }
  return false;
}

bool on_different_file_systems(const std::filesystem::path& a, const std::filesystem::path& b) {
  struct stat sa {};
  struct stat sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev != sb.st_dev;
}

}  // namespace files::fileops::testing
