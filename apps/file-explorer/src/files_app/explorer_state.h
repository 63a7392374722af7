#pragma once

#include <chrono>
#include <expected>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/file_entry.h"
#include "vask_ui/selection.h"
#include "vask_ui/widget.h"

/// The window's navigation and listing state and the rules that change it: history, full loads,
/// the silent re-check, view settings and the zoom file. No drawing and no input here, so the
/// rules can be driven directly in tests.
namespace files::app {

using Clock = vask_ui::Clock;
using TimePoint = vask_ui::TimePoint;

/// How long until the next silent re-check of a folder with `count` entries: larger folders are
/// re-read less often because every re-check reads the whole folder again.
Clock::duration recheck_interval(std::size_t count);

/// The window notice holds at most this many characters.
inline constexpr std::size_t kNoticeLimit = 512;
/// Cuts a notice to its first 512 characters (whole characters, never half a UTF-8 sequence).
std::string clamp_notice(std::string_view text);

/// "…" followed by the last n − 1 characters when the text is longer than n characters.
std::string shorten_path_text(std::string_view text, std::size_t n);
/// The error part of a load error for the error panel: the text after its first ": ", cut to
/// 25 characters plus "…" when longer than 26.
std::string error_panel_text(std::string_view load_error);

/// Reads the zoom step from the "zoom" file in the configuration folder: 0 when missing or not
/// an integer, clamped to the zoom range otherwise.
int read_zoom_step(const std::filesystem::path& config_dir);
/// Writes the step as decimal text; failures are ignored (the setting then lasts the session).
void write_zoom_step(const std::filesystem::path& config_dir, int step);

class ExplorerState {
 public:
  /// Decides for a local folder whether it lies in the workspace.
  using InWorkspace = std::function<bool(const std::filesystem::path&)>;

  ExplorerState(std::filesystem::path config_dir, InWorkspace in_workspace);

  /// Lists the start folder silently (a failure just leaves the window empty).
  void open_initial(const std::filesystem::path& folder, TimePoint now);

  /// Both take the path by value: callers often pass a path that lives in the entry list the
  /// load replaces.
  void navigate(std::filesystem::path path);
  void go_back();
  void go_forward();
  void go_up();
  void refresh() { load(current_); }
  void load(std::filesystem::path path);
  /// The silent periodic re-check; returns true when the entries changed.
  bool recheck(TimePoint now, bool rename_active, bool drag_active);
  bool recheck_due(TimePoint now) const { return now >= next_recheck_; }
  TimePoint next_recheck() const { return next_recheck_; }

  void set_view_mode(model::ViewMode mode) { view_mode_ = mode; }
  void set_sort_key(model::SortKey key);
  void set_sort_order(model::SortOrder order);
  /// Clamps to the zoom range; writes the zoom file when the step changes.
  void set_zoom(int step);
  void zoom_by(int delta);
  void toggle_hidden();

  void set_notice(std::string_view text);
  void clear_notice() { notice_.reset(); }

  /// Whether the current folder is inside an archive (or is one).
  bool in_archive() const;
  /// Whether the current folder is the Trash's files folder.
  bool in_trash() const;

  const std::filesystem::path& current_folder() const { return current_; }
  const std::vector<model::FileEntry>& entries() const { return entries_; }
  const std::vector<std::filesystem::path>& back_history() const { return back_; }
  const std::vector<std::filesystem::path>& forward_history() const { return forward_; }
  std::uint64_t load_generation() const { return load_generation_; }
  model::ViewMode view_mode() const { return view_mode_; }
  model::SortKey sort_key() const { return sort_key_; }
  model::SortOrder sort_order() const { return sort_order_; }
  int zoom_step() const { return zoom_step_; }
  bool show_hidden() const { return show_hidden_; }
  bool loading() const { return loading_; }
  const std::optional<std::string>& load_error() const { return load_error_; }
  const std::optional<std::string>& notice() const { return notice_; }
  vask_ui::SelectionModel& selection() { return selection_; }
  const vask_ui::SelectionModel& selection() const { return selection_; }
  /// The entry the keyboard focus is on, when there is one within the list.
  const model::FileEntry* primary_entry() const;
  std::vector<std::filesystem::path> selected_paths() const;
  /// The index of the visible entry at `path`, if there is one.
  std::optional<std::size_t> index_of(const std::filesystem::path& path) const;

  /// Screenshot and test set-ups: force the panels without touching the disk.
  void force_loading(bool loading) { loading_ = loading; }
  /// As a failed load leaves it: no entries, nothing selected.
  void force_load_error(std::string text) {
    entries_.clear();
    selection_.clear();
    load_error_ = std::move(text);
  }

  /// Set by every change the screen must show; the window clears it after drawing.
  bool redraw_requested() const { return redraw_; }
  void clear_redraw_request() { redraw_ = false; }
  void request_redraw() { redraw_ = true; }

 private:
  std::expected<std::vector<model::FileEntry>, std::string> list(
      const std::filesystem::path& path) const;
  void hide_and_sort(std::vector<model::FileEntry>& entries) const;

  std::filesystem::path config_dir_;
  InWorkspace in_workspace_;
  std::filesystem::path current_;
  std::vector<model::FileEntry> entries_;
  std::vector<std::filesystem::path> back_;
  std::vector<std::filesystem::path> forward_;
  std::uint64_t load_generation_ = 0;
  model::ViewMode view_mode_ = model::ViewMode::List;
  model::SortKey sort_key_ = model::SortKey::Name;
  model::SortOrder sort_order_ = model::SortOrder::Ascending;
  int zoom_step_ = 0;
  bool show_hidden_ = false;
  bool loading_ = false;
  std::optional<std::string> load_error_;
  std::optional<std::string> notice_;
  vask_ui::SelectionModel selection_;
  TimePoint next_recheck_{};
  bool redraw_ = true;
};

}  // namespace files::app
