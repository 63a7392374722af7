#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "command/explorer_command.h"
#include "files_app/menus.h"
#include "model/file_entry.h"

/// Entries and menus written the way the tests compare them, and a scratch folder.
namespace files::app::test_support {

/// A folder under the temporary folder, removed with its contents at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "files-menus-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  void file(const std::string& name) const { std::ofstream(path_ / name) << name; }

 private:
  std::filesystem::path path_;
};

inline std::string sort_key_text(model::SortKey key) {
  switch (key) {
    case model::SortKey::Name:
      return "name";
    case model::SortKey::Size:
      return "size";
    case model::SortKey::Modified:
      return "date";
    case model::SortKey::Type:
      return "type";
  }
  return "?";
}

/// A command as "Name(payload)", e.g. "OpenEntry(/a/b)" or "SetSortKey(date)".
inline std::string describe(const command::ExplorerCommand& c) {
  std::string out(command::command_name(c));
  std::visit(
      [&](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (requires { v.path; }) {
          out += "(" + v.path.string() + ")";
        } else if constexpr (requires { v.archive; }) {
          out += "(" + v.archive.string() + ")";
        } else if constexpr (requires { v.template_path; }) {
          out += "(" + v.template_path.string() + ")";
        } else if constexpr (std::is_same_v<T, command::SetSortKey>) {
          out += "(" + sort_key_text(v.key) + ")";
        } else if constexpr (std::is_same_v<T, command::SetSortDirection>) {
          out += v.order == model::SortOrder::Ascending ? "(ascending)" : "(descending)";
        } else if constexpr (std::is_same_v<T, command::SetViewMode>) {
          out += v.mode == model::ViewMode::List ? "(list)" : "(grid)";
        } else if constexpr (requires { v.paths; }) {
          out += "(";
          for (std::size_t i = 0; i < v.paths.size(); ++i)
            out += (i ? ", " : "") + v.paths[i].string();
          out += ")";
        }
      },
      c);
  return out;
}

/// One menu entry: its label and its command ("" for none).
struct Row {
  std::string label;
  std::string command;
  friend bool operator==(const Row&, const Row&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Row& r) {
    if (r.label.empty() && r.command.empty()) return os << "---";
    return os << "\"" << r.label << "\" → " << (r.command.empty() ? "(inactive)" : r.command);
  }
};

inline std::vector<Row> rows(const Menu& menu) {
  std::vector<Row> out;
  for (const MenuEntry& e : menu)
    out.push_back({e.label, e.command ? describe(*e.command) : ""});
  return out;
}

inline model::FileEntry file_entry(const std::filesystem::path& path) {
  model::FileEntry e;
  e.path = path;
  e.name = path.filename().string();
  return e;
}

inline model::FileEntry folder_entry(const std::filesystem::path& path) {
  model::FileEntry e = file_entry(path);
  e.is_dir = true;
  return e;
}

inline model::FileEntry with_availability(
    model::FileEntry entry, collab_types::OfflinePolicy policy, bool inherited = false,
    collab_types::Residency residency = collab_types::ResidencyResident{10},
    collab_types::TransferPhase phase = collab_types::TransferPhase::Idle) {
  collab_types::AvailabilityProjection a;
  a.schema_version = 1;
  a.record_id = "r-" + entry.name;
  a.residency = residency;
  a.transfer.phase = phase;
  a.policy = policy;
  a.policy_inherited = inherited;
  a.replicas = collab_types::ReplicasUnknown{};
  entry.availability = a;
  return entry;
}

}  // namespace files::app::test_support
