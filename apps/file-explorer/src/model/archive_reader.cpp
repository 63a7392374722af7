#include "model/archive_reader.h"

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <unordered_map>

namespace files::model {
namespace {

namespace fs = std::filesystem;

std::string ascii_lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// The extension of a file name as the rest of the program sees it: after the last dot,
// unless the name starts with its only dot (".profile" has none).
std::string_view extension_of(std::string_view name) {
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || name == "..") return {};
  return name.substr(dot + 1);
}

struct ArchiveDeleter {
  void operator()(archive* a) const { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveDeleter>;

ArchivePtr new_reader(ArchiveFormat format) {
  ArchivePtr a(archive_read_new());
  if (!a) return a;
  switch (format) {
    case ArchiveFormat::Zip:
      // The seekable reader trusts the central directory, as every ZIP tool does; the
      // streaming reader would list members the directory no longer contains.
      archive_read_support_format_zip_seekable(a.get());
      break;
    case ArchiveFormat::TarGzip:
      archive_read_support_filter_gzip(a.get());
      archive_read_support_format_tar(a.get());
      break;
    case ArchiveFormat::Tar:
      archive_read_support_format_tar(a.get());
      break;
  }
  return a;
}

std::string reader_error(archive* a, std::string_view fallback) {
  const char* text = archive_error_string(a);
  return text != nullptr && *text != '\0' ? std::string(text) : std::string(fallback);
}

bool is_link(archive_entry* entry) {
  return archive_entry_filetype(entry) == AE_IFLNK || archive_entry_hardlink(entry) != nullptr;
}

std::expected<std::vector<ArchiveMember>, std::string> read_members(archive* a) {
  std::vector<ArchiveMember> members;
  members.reserve(4096);
  ArchiveBudget budget;
  for (;;) {
    archive_entry* entry = nullptr;
    const int status = archive_read_next_header(a, &entry);
    if (status == ARCHIVE_EOF) break;
    if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
      return std::unexpected(reader_error(a, "archive is unreadable"));
    }
    if (is_link(entry)) continue;
    const la_int64_t declared = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;
    const std::uint64_t size = declared > 0 ? static_cast<std::uint64_t>(declared) : 0;
    if (auto admitted = budget.admit(size); !admitted) {
      return std::unexpected(std::move(admitted.error()));
    }
    const char* stored = archive_entry_pathname(entry);
    auto name = sanitize_member_name(stored != nullptr ? std::string_view(stored) : "");
    if (!name) return std::unexpected(std::move(name.error()));
    members.push_back(
        ArchiveMember{std::move(*name), size, archive_entry_filetype(entry) == AE_IFDIR});
  }
  return members;
}

}  // namespace

bool is_supported_archive(const fs::path& path) {
  const std::string name = ascii_lower(path.filename().string());
  const std::string_view ext = extension_of(name);
  if (ext == "zip" || ext == "tar" || ext == "tgz") return true;
  if (ext != "gz") return false;
  const std::string_view stem = std::string_view(name).substr(0, name.size() - 3);
  return extension_of(stem) == "tar";
}

ArchiveFormat archive_format_for(const fs::path& path) {
  const std::string ext = ascii_lower(extension_of(path.filename().string()));
  if (ext == "zip") return ArchiveFormat::Zip;
  if (ext == "gz" || ext == "tgz") return ArchiveFormat::TarGzip;
  return ArchiveFormat::Tar;
}

std::optional<ArchiveLocation> archive_containing(const fs::path& path) {
  fs::path inner;
  fs::path current = path;
  for (;;) {
    fs::path parent = current.parent_path();
    if (parent.empty() || parent == current) return std::nullopt;
    inner = inner.empty() ? current.filename() : current.filename() / inner;
    current = std::move(parent);
    if (!is_supported_archive(current)) continue;
    struct stat st {};
    if (::stat(current.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      return ArchiveLocation{current, inner};
    }
  }
}

std::optional<ArchiveLocation> archive_view_location(const fs::path& path) {
  if (is_supported_archive(path)) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return ArchiveLocation{path, {}};
  }
  return archive_containing(path);
}

std::expected<void, std::string> ArchiveBudget::admit(std::uint64_t declared_size) {
  if (members_ >= kMaxArchiveMembers) return std::unexpected(std::string(kArchiveTooManyEntries));
  if (declared_size > UINT64_MAX - total_) {
    return std::unexpected(std::string(kArchiveSizeOverflow));
  }
  if (total_ + declared_size > kMaxArchiveExpandedBytes) {
    return std::unexpected(std::string(kArchiveBeyondLimit));
  }
  ++members_;
  total_ += declared_size;
  return {};
}

std::expected<fs::path, std::string> sanitize_member_name(std::string_view stored) {
  if (stored.starts_with('/')) return std::unexpected(std::string(kArchiveEntryEscapes));
  fs::path out;
  while (!stored.empty()) {
    const auto slash = stored.find('/');
    const std::string_view part = stored.substr(0, slash);
    stored = slash == std::string_view::npos ? std::string_view() : stored.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") return std::unexpected(std::string(kArchiveEntryEscapes));
    out /= fs::path(part);
  }
  if (out.empty()) return std::unexpected(std::string(kArchiveEntryEmpty));
  return out;
}

std::expected<std::vector<ArchiveMember>, std::string> list_archive_members(
    const fs::path& archive_path) {
  ArchivePtr a = new_reader(archive_format_for(archive_path));
  if (!a) return std::unexpected(std::string("out of memory"));
  if (archive_read_open_filename(a.get(), archive_path.c_str(), 64 * 1024) != ARCHIVE_OK) {
    return std::unexpected(reader_error(a.get(), "archive cannot be opened"));
  }
  return read_members(a.get());
}

std::expected<std::vector<ArchiveMember>, std::string> list_archive_members_in_memory(
    std::span<const std::byte> bytes, ArchiveFormat format) {
  ArchivePtr a = new_reader(format);
  if (!a) return std::unexpected(std::string("out of memory"));
  if (archive_read_open_memory(a.get(), bytes.data(), bytes.size()) != ARCHIVE_OK) {
    return std::unexpected(reader_error(a.get(), "archive cannot be opened"));
  }
  return read_members(a.get());
}

std::vector<ArchiveMember> members_in_folder(const std::vector<ArchiveMember>& members,
                                             const fs::path& inner) {
  std::vector<fs::path> folder;
  for (const auto& part : inner) {
    if (!part.empty() && part != ".") folder.push_back(part);
  }
  std::vector<ArchiveMember> out;
  // Index in `out` of each child folder already shown, by name.
  std::unordered_map<std::string, std::size_t> folders;
  for (const auto& member : members) {
    auto it = member.path.begin();
    bool inside = true;
    for (const auto& part : folder) {
      if (it == member.path.end() || *it != part) {
        inside = false;
        break;
      }
      ++it;
    }
    if (!inside || it == member.path.end()) continue;
    const fs::path child = *it;
    const bool direct = std::next(it) == member.path.end();
    if (direct && !member.is_dir) {
      out.push_back(member);
      continue;
    }
    const auto [seen, inserted] = folders.try_emplace(child.string(), out.size());
    if (inserted && direct) {
      out.push_back(member);
    } else if (inserted) {
      fs::path implied;
      for (auto part = member.path.begin(); part != std::next(it); ++part)
        implied /= *part;
      out.push_back(ArchiveMember{std::move(implied), 0, true});
    } else if (direct) {
      out[seen->second] = member;  // the archive's own entry replaces the implied one
    }
  }
  return out;
}

}  // namespace files::model
