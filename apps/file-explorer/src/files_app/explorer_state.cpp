#include "files_app/explorer_state.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <limits>
#include <unordered_set>

#include "i18n/i18n.h"
#include "model/archive_reader.h"
#include "model/entry_sort.h"
#include "model/folder_listing.h"
#include "views/file_view/file_view_geometry.h"

namespace files::app {
namespace {

/// Byte offset just past the first `n` characters of UTF-8 text.
std::size_t offset_after_chars(std::string_view text, std::size_t n) {
  std::size_t i = 0;
  std::size_t chars = 0;
  while (i < text.size() && chars < n) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
      ++i;
    ++chars;
  }
  return i;
}

std::size_t char_count(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

/// Two folders are the same when their components are, so "/a/b/" and "/a/b" are one folder.
bool same_folder(const std::filesystem::path& a, const std::filesystem::path& b) {
  auto strip = [](const std::filesystem::path& p) {
    auto n = p.lexically_normal();
    if (!n.has_filename() && n != n.root_path()) n = n.parent_path();
    return n;
  };
  return strip(a) == strip(b);
}

}  // namespace

std::string clamp_notice(std::string_view text) {
  return std::string(text.substr(0, offset_after_chars(text, kNoticeLimit)));
}

Clock::duration recheck_interval(std::size_t count) {
  using namespace std::chrono_literals;
  if (count < 512) return 750ms;
  if (count < 4096) return 3s;
  if (count < 20000) return 12s;
  return 30s;
}

std::string shorten_path_text(std::string_view text, std::size_t n) {
  std::size_t count = char_count(text);
  if (count <= n || n == 0) return std::string(text);
  return "…" + std::string(text.substr(offset_after_chars(text, count - (n - 1))));
}

std::string error_panel_text(std::string_view load_error) {
  std::string_view error = load_error;
  if (auto colon = error.find(": "); colon != std::string_view::npos)
    error = error.substr(colon + 2);
  if (char_count(error) > 26)
    return std::string(error.substr(0, offset_after_chars(error, 25))) + "…";
  return std::string(error);
}

int read_zoom_step(const std::filesystem::path& config_dir) {
  std::ifstream in(config_dir / "zoom");
  std::string text;
  if (!in || !std::getline(in, text)) return 0;
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\t'))
    text.pop_back();
  long long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) {
    value = text.starts_with('-') ? std::numeric_limits<long long>::min()
                                  : std::numeric_limits<long long>::max();
  } else if (ec != std::errc() || end != text.data() + text.size() || text.empty()) {
    return 0;
  }
  return static_cast<int>(std::clamp<long long>(value, views::kMinZoomStep, views::kMaxZoomStep));
}

void write_zoom_step(const std::filesystem::path& config_dir, int step) {
  std::error_code ec;
  std::filesystem::create_directories(config_dir, ec);
  std::ofstream out(config_dir / "zoom", std::ios::trunc);
  out << step << '\n';
}

ExplorerState::ExplorerState(std::filesystem::path config_dir, InWorkspace in_workspace)
    : config_dir_(std::move(config_dir)), in_workspace_(std::move(in_workspace)) {
  zoom_step_ = read_zoom_step(config_dir_);
}

std::expected<std::vector<model::FileEntry>, std::string> ExplorerState::list(
    const std::filesystem::path& path) const {
  return model::load_folder_entries(path, [this](const std::filesystem::path& folder) {
    return in_workspace_ && in_workspace_(folder) ? model::InWorkspace::Yes
                                                  : model::InWorkspace::No;
  });
}

void ExplorerState::hide_and_sort(std::vector<model::FileEntry>& entries) const {
  if (!show_hidden_) model::hide_dot_files(entries);
  model::sort_entries(entries, sort_key_, sort_order_);
}

void ExplorerState::open_initial(const std::filesystem::path& folder, TimePoint now) {
  current_ = folder;
  if (auto listed = list(folder)) {
    hide_and_sort(*listed);
    entries_ = std::move(*listed);
  }
  next_recheck_ = now + std::chrono::milliseconds(750);
  redraw_ = true;
}

void ExplorerState::navigate(std::filesystem::path path) {
  if (!same_folder(path, current_)) {
    back_.push_back(current_);
    forward_.clear();
  }
  load(std::move(path));
}

void ExplorerState::go_back() {
  if (back_.empty()) return;
  auto target = std::move(back_.back());
  back_.pop_back();
  forward_.push_back(current_);
  load(target);
}

void ExplorerState::go_forward() {
  if (forward_.empty()) return;
  auto target = std::move(forward_.back());
  forward_.pop_back();
  back_.push_back(current_);
  load(target);
}

void ExplorerState::go_up() {
  auto parent = current_.parent_path();
  if (parent.empty() || same_folder(parent, current_)) return;
  navigate(parent);
}

void ExplorerState::load(std::filesystem::path path) {
  loading_ = true;
  selection_.clear();
  load_error_.reset();
  notice_.reset();
  auto listed = list(path);
  if (!listed) {
    entries_.clear();
    load_error_ = i18n::t_args("files-directory-read-failed", {{"error", listed.error()}});
  } else {
    hide_and_sort(*listed);
    entries_ = std::move(*listed);
  }
  selection_.clamp_to(entries_.size());
  current_ = std::move(path);
  if (!load_error_ && in_archive()) notice_ = i18n::t("files-archive-read-only");
  loading_ = false;
  ++load_generation_;
  redraw_ = true;
}

bool ExplorerState::recheck(TimePoint now, bool rename_active, bool drag_active) {
  next_recheck_ = now + recheck_interval(entries_.size());
  if (rename_active || drag_active) return false;
  auto listed = list(current_);
  if (!listed) return false;
  hide_and_sort(*listed);
  if (*listed == entries_) return false;

  // Keep what the user selected, by path, across the new order.
  std::unordered_set<std::string> selected;
  for (std::size_t index : selection_.selected()) {
    if (index < entries_.size()) selected.insert(entries_[index].path.native());
  }
  std::optional<std::string> primary;
  if (auto p = selection_.primary(); p && *p < entries_.size())
    primary = entries_[*p].path.native();

  entries_ = std::move(*listed);
  selection_.clear();
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (selected.contains(entries_[i].path.native())) selection_.add(i);
  }
  if (primary) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (entries_[i].path.native() == *primary) {
        selection_.set_primary(i);
        break;
      }
    }
  }
  redraw_ = true;
  return true;
}

void ExplorerState::set_sort_key(model::SortKey key) {
  sort_key_ = key;
  model::sort_entries(entries_, sort_key_, sort_order_);
  redraw_ = true;
}

void ExplorerState::set_sort_order(model::SortOrder order) {
  if (order == sort_order_) return;
  sort_order_ = order;
  model::sort_entries(entries_, sort_key_, sort_order_);
  redraw_ = true;
}

void ExplorerState::set_zoom(int step) {
  int clamped = std::clamp(step, views::kMinZoomStep, views::kMaxZoomStep);
  if (clamped == zoom_step_) return;
  zoom_step_ = clamped;
  write_zoom_step(config_dir_, zoom_step_);
  redraw_ = true;
}

void ExplorerState::zoom_by(int delta) {
  long long step = static_cast<long long>(zoom_step_) + delta;
  set_zoom(static_cast<int>(std::clamp<long long>(step, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max())));
}

void ExplorerState::toggle_hidden() {
  show_hidden_ = !show_hidden_;
  refresh();
}

void ExplorerState::set_notice(std::string_view text) {
  notice_ = clamp_notice(text);
  redraw_ = true;
}

bool ExplorerState::in_archive() const {
  return model::archive_view_location(current_).has_value();
}

bool ExplorerState::in_trash() const {
  auto trash = model::trash_files_folder();
  return trash && same_folder(*trash, current_);
}

const model::FileEntry* ExplorerState::primary_entry() const {
  auto p = selection_.primary();
  if (!p || *p >= entries_.size()) return nullptr;
  return &entries_[*p];
}

std::vector<std::filesystem::path> ExplorerState::selected_paths() const {
  std::vector<std::filesystem::path> out;
  for (std::size_t index : selection_.selected()) {
    if (index < entries_.size()) out.push_back(entries_[index].path);
  }
  return out;
}

std::optional<std::size_t> ExplorerState::index_of(const std::filesystem::path& path) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].path == path) return i;
  }
  return std::nullopt;
}

}  // namespace files::app
