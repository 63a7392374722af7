#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// Fixtures for the archive tests: private folders, tree snapshots, and archives crafted byte
/// by byte so that hostile headers (names, types, declared sizes, flags) are exactly as wanted.
namespace files::archive_ops::testing {

/// A fresh private folder under /tmp, removed with everything in it when the test ends.
class TestFolder {
 public:
  TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;
  ~TestFolder();

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void write_file(const std::filesystem::path& path, std::string_view content);
std::string read_file(const std::filesystem::path& path);

/// Everything below `root` as relative path -> "dir", "file:<content>" (contents up to
/// `inline_limit` bytes, longer ones as "file:<size> bytes"), "link:<target>" or "other".
std::map<std::string, std::string> tree_snapshot(const std::filesystem::path& root,
                                                 std::size_t inline_limit = 64);

/// The names directly in a folder, sorted (hidden ones included).
std::vector<std::string> names_in(const std::filesystem::path& folder);

std::uint32_t crc32_of(std::string_view data);
/// A raw Deflate stream (as ZIP stores it) of `data`.
std::string deflate_raw(std::string_view data);
/// A gzip file of `data`.
std::string gzip(std::string_view data);

/// One ZIP member as stored. Defaults make a well-formed stored file.
struct ZipMember {
  std::string name;
  std::string content;                      ///< the uncompressed content
  bool deflate = false;                     ///< store `content` deflated (method 8)
  std::optional<std::uint64_t> declared;    ///< uncompressed size recorded (default: real)
  std::optional<std::string> stored_bytes;  ///< bytes stored instead of the encoded content
  std::optional<std::uint32_t> crc;         ///< CRC recorded (default: the content's)
  std::uint16_t flags = 0;                  ///< general purpose flags (bit 0: encrypted)
  std::uint32_t unix_mode = 0100644;        ///< recorded in the external attributes
};

/// The bytes of a ZIP file with these members; sizes that do not fit 32 bits get ZIP64 fields.
std::string build_zip(const std::vector<ZipMember>& members);

/// One tar member (ustar header; a pax header first when `pax` has records).
struct TarMember {
  std::string name;
  char type = '0';  ///< '0' file, '1' hard link, '2' symlink, '3' char device, '4' block device,
                    ///< '5' folder, '6' FIFO
  std::string content;
  std::string link_target;
  std::optional<std::uint64_t> declared;  ///< the header's size (default: content size)
  std::uint32_t mode = 0644;
  std::vector<std::pair<std::string, std::string>> pax;  ///< pax records (key, value)
};

/// The bytes of a tar stream with these members, ended by two zero blocks unless `unterminated`.
std::string build_tar(const std::vector<TarMember>& members, bool unterminated = false);

/// One record of a ZIP's central directory, as stored.
struct ZipDirectoryEntry {
  std::string name;
  std::uint16_t version_needed = 0;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint16_t dos_time = 0;
  std::uint16_t dos_date = 0;
  std::uint32_t external_attributes = 0;
  std::string extra;  ///< the extra fields' raw bytes
};

/// The central directory of a ZIP file's bytes (no comment, no ZIP64 end record expected).
std::vector<ZipDirectoryEntry> read_zip_directory(const std::string& zip);

/// Runs a shell command, returning its exit status (-1 when it could not run).
int run_command(const std::string& command);

}  // namespace files::archive_ops::testing
