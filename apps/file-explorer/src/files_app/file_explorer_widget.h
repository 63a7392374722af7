#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "archive_ops/archive_commands.h"
#include "command/explorer_command.h"
#include "fileops/file_clipboard.h"
#include "fileops/names.h"
#include "fileops/trash_commands.h"
#include "files_app/action_dispatch.h"
#include "files_app/availability.h"
#include "files_app/explorer_state.h"
#include "files_app/menus.h"
#include "files_app/sheet.h"
#include "places_sidebar/places_sidebar.h"
#include "toolbar/file_toolbar.h"
#include "vask_actions/completion_slot.h"
#include "vask_ui/status_bubble.h"
#include "vask_ui/sysdirs.h"
#include "vask_ui/widget.h"
#include "vask_ui/widgets/button.h"
#include "vask_ui/widgets/column.h"
#include "vask_ui/widgets/empty_state.h"
#include "vask_ui/widgets/nav_shell.h"
#include "vask_ui/widgets/scrollable.h"
#include "vask_ui/widgets/spinner.h"
#include "vask_ui/widgets/text_input.h"
#include "views/file_view/drop_targets.h"
#include "views/file_view/file_view.h"

namespace files::app {

/// What the window is built from.
struct WindowConfig {
  std::filesystem::path config_dir;
  std::optional<std::filesystem::path> user_home;
  vask_ui::sysdirs::UserDirs user_dirs;
  /// The folder to open; the start folder when absent.
  std::optional<std::filesystem::path> start_folder;
  /// Overrides the workspace test (screenshot scenarios inject their own roots).
  ExplorerState::InWorkspace in_workspace;
  /// The workspace roots, for the path bar's trail and the sidebar's places.
  std::vector<std::filesystem::path> workspace_roots;
  /// Where availability controls are written; the items' own attributes when absent (tests put
  /// the workspace filesystem's double here).
  std::shared_ptr<ControlWriter> control_writer;
};

/// The program's single root widget: the current folder as a list or grid, navigation, input
/// and selection, the status pill, sheets, drag feedback and the accessibility tree.
class FileExplorerWidget final : public vask_ui::Widget {
 public:
  explicit FileExplorerWidget(WindowConfig config);
  ~FileExplorerWidget() override;

  ExplorerState& state() { return state_; }
  const ExplorerState& state() const { return state_; }
  const command::CommandQueueHandle& commands() const { return commands_; }

  /// Runs one command now (the queue's normal path ends here too). Returns whether anything
  /// changed.
  bool execute(const command::ExplorerCommand& command);
  /// Executes everything queued, in posting order.
  void drain_commands();

  void navigate(std::filesystem::path path);
  /// Opens an entry as a double-click would. Returns the opener's error text on failure.
  std::expected<void, std::string> open_item(std::filesystem::path path);
  void set_notice(std::string_view text) { state_.set_notice(text); }

  void open_sheet(Sheet sheet);
  void close_sheet();
  const std::optional<Sheet>& sheet() const { return sheet_; }

  /// Offers `undo` as the last move to the Trash (screenshots).
  void record_trash_undo(fileops::TrashUndo undo) { trash_undo_ = std::move(undo); }

  // Chrome (chrome.cpp): toolbar, path bar, places sidebar and favourites.
  toolbar::FileToolbar& toolbar() { return toolbar_; }
  const toolbar::FileToolbar& toolbar() const { return toolbar_; }
  places::PlacesSidebar& sidebar() { return sidebar_; }
  const places::PlacesSidebar& sidebar() const { return sidebar_; }
  const places::PlacesStateHandle& places_state() const { return places_; }
  const favorites::Favourites& favourites() const { return places_->favourites; }
  /// Primary + L: the path bar becomes a text field with keyboard focus.
  void start_location_edit();
  /// Keeps the sidebar beside the content at any width (screenshots).
  void set_sidebar_snapped(bool snapped) { nav_shell_.set_snapped(snapped); }

  // Menus (menus.cpp). Opening a menu replaces the one that is open.
  void open_context_menu(vask_ui::Point at);
  void open_view_menu(vask_ui::Point at);
  void open_sort_menu(vask_ui::Point at);
  void open_template_menu(vask_ui::Point at);
  void open_favourite_menu(const std::filesystem::path& favourite, vask_ui::Point at);
  /// The context menu for the primary item, placed beside its row (the Menu key).
  void open_context_menu_from_keyboard();
  const vask_ui::ContextMenu<command::ExplorerCommand>& menu() const { return menu_; }
  /// What the menu builders see of the window right now.
  MenuFacts menu_facts() const;

  /// The item and selection counts (or the notice) shown in the status pill.
  std::string status_text() const;
  /// Keeps the status pill visible without fading (screenshots).
  void set_status_pinned(bool pinned) { status_pinned_ = pinned; }
  /// Draws the spinner as one still frame (screenshots).
  void set_static_spinner(bool is_static) { spinner_.set_static(is_static); }

  // Inline rename (rename.cpp).
  bool renaming() const { return rename_.has_value(); }
  /// The entry under rename (an index into the visible entries).
  std::optional<std::size_t> rename_index() const {
    return rename_ ? std::optional(rename_->index) : std::nullopt;
  }
  const vask_ui::TextInput& rename_input() const { return rename_input_; }

  bool drag_in_progress() const { return drag_.has_value(); }
  const std::optional<views::DropTarget>& hovered_drop_target() const { return hovered_drop_; }
  /// The folders laid out in the file view's visible area, where a drag may end.
  const views::DropTargetList& drop_targets() const { return *drop_targets_; }
  /// The rectangle of the file view's visible area in window units (empty before layout).
  vask_ui::Rect viewport_rect() const { return scroll_.viewport(); }
  /// The file view's full content rectangle in window units, at its scrolled position.
  vask_ui::Rect content_rect() const { return scroll_.content_rect(); }
  float scroll_offset() const { return scroll_.offset(); }
  /// Tiles per row in the grid as last laid out (1 in the list).
  std::size_t grid_columns() const { return view_.columns(); }
  /// The scroll memory key of the file view.
  static constexpr std::string_view kScrollKey = "file_view";
  std::optional<vask_ui::Point> last_cursor() const { return pointer_; }
  vask_ui::Rect root_rect() const { return root_; }

  // Toolkit widget interface.
  void sync(const vask_ui::FrameContext& frame) override;
  vask_ui::LayoutNode build_layout(vask_ui::Size available) override;
  void apply_layout(const vask_ui::LayoutResult& layout) override;
  void draw(vask_ui::Canvas& canvas) override;
  void draw_overlay(vask_ui::Canvas& canvas) override;
  vask_ui::EventResult handle_event(const vask_ui::Event& event) override;
  vask_ui::AccessNode accessibility() const override;
  bool perform_semantic_action(const vask_ui::SemanticAction& action) override;
  bool needs_redraw() const override;
  bool needs_animation_frame() const override;
  std::optional<vask_ui::TimePoint> next_wake_deadline() const override;
  vask_ui::CursorShape cursor_shape(vask_ui::Point position) const override;
  /// The automation snapshot of the visible state.
  std::string observation_json() const override;
  void focus_changed(bool focused) override;
  std::optional<vask_ui::Rect> input_caret_rect() const override;

  // ---- Semantic actions (action_entry.cpp): the catalog of resources, the action entry and
  // control invocation.
  std::optional<vask_actions::Resource> action_resources() const override;
  std::optional<vask_actions::Resource> lookup_action_resource(std::string_view id) const override;
  vask_actions::ActionOutcome perform_action(const vask_actions::ActionRequest& request) override;
  std::optional<vask_actions::Completion> take_action_completion(
      vask_actions::RequestHandle handle) override;
  bool take_control_invocation(const vask_ui::ControlInvocation& invocation) override;
  std::vector<vask_ui::ControlResource> resources() const override;
  /// What the catalog and the dispatcher read of the window right now.
  CatalogFacts catalog_facts() const;
  /// The pending background action and the completions waiting for their clients; the workers'
  /// results reach it through the window's background poll.
  vask_actions::CompletionSlot& background_actions() { return background_actions_; }
  // ---- End of semantic actions.

 private:
  struct LastClick {
    std::size_t index;
    TimePoint at;
  };
  struct ArmedPress {
    std::filesystem::path path;
    bool is_dir = false;
    vask_ui::Point position;
  };
  struct InAppDrag {
    std::vector<std::filesystem::path> paths;
    bool single_folder = false;
  };
  struct InlineRename {
    std::size_t index;
    /// The field's text as last edited (copied from the field at every sync).
    std::string text;
  };
  enum class Panel { None, Loading, Error, Empty };

  Panel panel() const;
  void rebuild_view();
  void update_panels();

  // Input (input.cpp).
  vask_ui::EventResult route_event(const vask_ui::Event& event);
  vask_ui::EventResult handle_sheet_event(const vask_ui::Event& event);
  vask_ui::EventResult handle_keyboard_table(const vask_ui::KeyPress& key);
  vask_ui::EventResult deliver_to_view(const vask_ui::Event& event);
  /// Every event for the navigation shell goes through here, so its presses and releases pair.
  vask_ui::EventResult to_shell(const vask_ui::Event& event);
  void handle_drop();
  void update_drag_hover();
  std::optional<views::DropTarget> drop_destination_at(vask_ui::Point p) const;
  void move_focus(std::size_t index, bool extend);

  // Commands (commands.cpp).
  bool execute_item_click(const command::ItemClick& click);
  bool begin_drag(const std::filesystem::path& path, bool is_dir);
  bool show_shortcuts();
  bool show_properties();
  bool show_availability();
  bool not_available_yet(const command::ExplorerCommand& command);
  bool guard_read_only();
  bool run_trash(fileops::TrashOutcome outcome);
  bool run_archive(archive_ops::ArchiveOutcome outcome);
  bool copy_or_cut(fileops::ClipboardMode mode);
  bool paste();
  bool delete_selection();
  bool new_folder();
  bool new_from_template(const std::filesystem::path& template_path);
  /// A new folder or file: listed, selected, its name field open, the creation reported.
  bool show_created(const std::expected<fileops::Created, std::string>& created);
  /// Starts "terminal" in the folder on view; the error is the text to show.
  std::expected<void, std::string> open_terminal();

  // Inline rename (rename.cpp).
  bool begin_rename();
  bool commit_rename();
  bool cancel_rename();
  /// Selects the entry at `path` alone and opens the rename field on it (new items).
  void select_and_rename(const std::filesystem::path& path);
  /// Keys and presses while the field is open; nullopt when the event is not the field's.
  std::optional<vask_ui::EventResult> route_rename(const vask_ui::Event& event);
  void sync_rename(const vask_ui::FrameContext& frame);
  void draw_rename_field(vask_ui::Canvas& canvas);

  // Menus (menus.cpp).
  vask_ui::EventResult handle_menu_event(const vask_ui::Event& event);
  /// Runs the entry the open menu reports as chosen, if any.
  bool run_menu_choice(bool from_keyboard);
  void show_menu(const Menu& menu, vask_ui::Point at);
  void open_submenu(const command::ExplorerCommand& command, vask_ui::Rect beside,
                    bool from_keyboard);
  std::vector<const model::FileEntry*> selected_entries() const;

  // Availability controls (availability.cpp).
  bool run_availability(const AvailabilityCommand& command);

  // Chrome (chrome.cpp).
  void push_toolbar_state();
  /// While the path bar is being edited its completion list hangs over the file view: pointer
  /// events there go to it first, and a press elsewhere ends the edit. Nullopt: route on.
  std::optional<vask_ui::EventResult> route_location_edit(const vask_ui::Event& event);
  /// A single folder released over the sidebar becomes a favourite.
  bool drop_adds_favourite(const InAppDrag& drag) const;
  bool add_favourite(const std::filesystem::path& path);
  bool remove_favourite(const std::filesystem::path& path);
  bool move_favourite(std::size_t from, std::size_t to);
  void save_favourites() const;

  // Overlay pieces (overlay.cpp).
  void draw_status_pill(vask_ui::Canvas& canvas);
  void draw_sheet(vask_ui::Canvas& canvas);
  void draw_drag_feedback(vask_ui::Canvas& canvas);

  const vask_ui::Theme& theme() const {
    return theme_ != nullptr ? *theme_ : vask_ui::Theme::light();
  }

  WindowConfig config_;
  ExplorerState state_;
  command::CommandQueueHandle commands_ = std::make_shared<command::CommandQueue>();
  views::DropTargetsHandle drop_targets_ = std::make_shared<views::DropTargetList>();
  // Children. Widgets lent to containers are declared before the containers, so they outlive
  // them.
  views::FileView view_;
  places::PlacesStateHandle places_ = std::make_shared<places::PlacesState>();
  places::PlacesSidebar sidebar_;
  toolbar::FileToolbar toolbar_{commands_};
  // The archive the toolbar's Extract button names, worked out once per folder.
  std::filesystem::path toolbar_folder_;
  std::optional<std::filesystem::path> toolbar_archive_;
  vask_ui::Button retry_button_;
  vask_ui::Spinner spinner_{28};
  vask_ui::EmptyState panel_;
  vask_ui::Scrollable scroll_{std::string(kScrollKey), vask_ui::WidgetSlot::borrow(view_)};
  vask_ui::Column content_column_;
  vask_ui::NavShell nav_shell_;
  Panel shown_panel_ = Panel::None;
  Panel laid_out_panel_ = Panel::None;
  bool column_built_ = false;

  // Input state.
  std::optional<vask_ui::Point> pointer_;
  std::optional<LastClick> last_click_;
  std::optional<ArmedPress> armed_;
  std::vector<std::filesystem::path> drag_candidates_;
  std::optional<InAppDrag> drag_;
  std::optional<views::DropTarget> hovered_drop_;
  std::set<vask_ui::PointerButton> shell_held_buttons_;
  bool view_focused_ = true;
  bool focus_visible_ = false;

  // Inline rename: the field is placed on the label rectangle the file view reports.
  std::optional<InlineRename> rename_;
  vask_ui::TextInput rename_input_;
  // The load the rename began in; a newly opened folder ends it.
  std::uint64_t rename_generation_ = 0;

  // File operations.
  fileops::FileClipboard clipboard_;
  std::optional<fileops::TrashUndo> trash_undo_;

  // Status and sheets.
  vask_ui::StatusBubble bubble_{std::chrono::seconds(1) + std::chrono::nanoseconds(900'000'000)};
  std::string last_status_text_;
  bool status_pinned_ = false;
  std::optional<Sheet> sheet_;
  bool sheet_focus_request_ = false;

  // The one open menu, its commands fixed when it was built, and where the last menu opened.
  vask_ui::ContextMenu<command::ExplorerCommand> menu_;
  std::optional<vask_ui::Point> last_menu_position_;
  std::shared_ptr<ControlWriter> control_writer_;

  // ---- Semantic actions (action_entry.cpp).
  vask_actions::ActionOutcome run_accepted(const dispatch::Decision& decision);
  std::expected<void, std::string> run_folder_command(const std::string& word);
  std::expected<void, std::string> run_entry_command(const dispatch::EntryCommand& command);
  std::expected<void, std::string> run_create_folder(const std::string& name);
  std::expected<void, std::string> run_create_from_template(const std::filesystem::path& path);
  std::expected<void, std::string> run_rename(const dispatch::RenameEntry& rename);
  std::expected<void, std::string> run_paste();
  /// Selects the entry with this path alone, if it is listed.
  void select_path(const std::filesystem::path& path);
  vask_actions::CompletionSlot background_actions_;
  // ---- End of semantic actions.

  const vask_ui::Theme* theme_ = nullptr;
  TimePoint now_{};
  float scale_ = 1;
  vask_ui::Size window_size_;
  vask_ui::Rect root_;
  std::uint64_t shown_generation_ = 0;
};

}  // namespace files::app
