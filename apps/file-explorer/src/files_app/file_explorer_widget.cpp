#include "files_app/file_explorer_widget.h"

#include <algorithm>

#include "favorites/favorites.h"
#include "i18n/i18n.h"
#include "model/folder_listing.h"
#include "vask_ui/clock.h"
#include "vask_ui/regions.h"

namespace files::app {

FileExplorerWidget::FileExplorerWidget(WindowConfig config)
    : config_(std::move(config)),
      state_(config_.config_dir, config_.in_workspace),
      sidebar_(places_, config_.start_folder.value_or("/"), commands_, model::trash_files_folder()),
      retry_button_(i18n::t("files-try-again")) {
  retry_button_.set_control_id("files.retry");
  rename_input_.set_control_id("files.rename_input");
  rename_input_.set_placeholder(i18n::t("files-new-name-placeholder"));
  rename_input_.set_accessible_name(i18n::t("files-action-rename-prompt"));
  nav_shell_.set_content(vask_ui::WidgetSlot::borrow(content_column_));
  places_->favourites =
      favorites::load_favourites(config_.config_dir, config_.user_home, config_.user_dirs);
  sidebar_.set_workspace_roots(config_.workspace_roots);
  nav_shell_.set_sidebar(vask_ui::WidgetSlot::borrow(sidebar_));
  nav_shell_.set_accessible_names(i18n::t("files-a11y-places"), i18n::t("files-a11y-list"));
  retry_button_.set_action_id("files-retry-folder");
  spinner_.set_accessible_name(i18n::t("files-loading"));
  control_writer_ =
      config_.control_writer ? config_.control_writer : std::make_shared<XattrControlWriter>();
  auto start = config_.start_folder.value_or(std::filesystem::path("/"));
  state_.open_initial(start, vask_ui::ui_clock::now());
  shown_generation_ = state_.load_generation();
}

FileExplorerWidget::~FileExplorerWidget() = default;

void FileExplorerWidget::navigate(std::filesystem::path path) {
  last_click_.reset();
  state_.navigate(std::move(path));
}

FileExplorerWidget::Panel FileExplorerWidget::panel() const {
  if (state_.loading()) return Panel::Loading;
  if (state_.load_error()) return Panel::Error;
  if (state_.entries().empty()) return Panel::Empty;
  return Panel::None;
}

void FileExplorerWidget::update_panels() {
  Panel wanted = panel();
  const std::string path = state_.current_folder().string();
  switch (wanted) {
    case Panel::None:
      break;
    case Panel::Loading:
      panel_.set_title(i18n::t("files-loading-title"));
      panel_.set_detail(
          i18n::t_args("files-loading-detail", {{"path", shorten_path_text(path, 36)}}));
      panel_.set_error(false);
      if (shown_panel_ != Panel::Loading) {
        panel_.set_accessory(vask_ui::WidgetSlot::borrow(spinner_));
        panel_.set_action({});
      }
      break;
    case Panel::Error:
      panel_.set_title(i18n::t("files-load-error-title"));
      panel_.set_detail(i18n::t_args("files-load-error-detail",
                                     {{"error", error_panel_text(*state_.load_error())},
                                      {"path", shorten_path_text(path, 22)}}));
      panel_.set_error(true);
      if (shown_panel_ != Panel::Error) {
        panel_.set_accessory({});
        panel_.set_action(vask_ui::WidgetSlot::borrow(retry_button_));
      }
      break;
    case Panel::Empty:
      panel_.set_title(i18n::t(state_.in_trash() ? "files-empty-trash" : "files-empty-folder"));
      panel_.set_detail({});
      panel_.set_error(false);
      if (shown_panel_ != Panel::Empty) {
        panel_.set_accessory({});
        panel_.set_action({});
      }
      break;
  }
  shown_panel_ = wanted;
}

void FileExplorerWidget::sync(const vask_ui::FrameContext& frame) {
  theme_ = frame.theme;
  now_ = frame.now;
  scale_ = frame.scale_factor;
  window_size_ = frame.window_size;
  if (state_.recheck_due(frame.now)) {
    state_.recheck(frame.now, rename_.has_value(), drag_.has_value());
  }
  if (state_.load_generation() != shown_generation_) {
    // A newly opened folder starts at the top; a silent re-check keeps the offset.
    shown_generation_ = state_.load_generation();
    vask_ui::ScrollMemory::shared().reset(kScrollKey);
  }
  update_panels();
  sync_rename(frame);
  sidebar_.set_current_folder(state_.current_folder());
  // The sidebar sits beside the content only while there is room for both at this scale.
  nav_shell_.set_collapse_width(
      std::max(1.0f, 640.0f + 900.0f * std::max(0.0f, frame.scale_factor - 1)));
  nav_shell_.sync(frame);
  menu_.sync(frame);
  if (shown_panel_ != Panel::None) {
    retry_button_.sync(frame);
    spinner_.sync(frame);
  }
}

void FileExplorerWidget::rebuild_view() {
  views::FileViewState vs;
  vs.entries = state_.entries();
  vs.mode = state_.view_mode();
  vs.zoom_step = state_.zoom_step();
  vs.scale = scale_;
  vs.sort_key = state_.sort_key();
  vs.descending = state_.sort_order() == model::SortOrder::Descending;
  vs.selection = state_.selection();
  vs.focus_visible = focus_visible_;
  if (rename_) vs.rename_index = rename_->index;
  vs.view_focused = view_focused_;
  vs.drop_targets = drop_targets_;
  vs.commands = commands_;
  vs.theme = &theme();
  view_.update(std::move(vs));
}

vask_ui::LayoutNode FileExplorerWidget::build_layout(vask_ui::Size available) {
  window_size_ = available;
  return vask_ui::LayoutNode{.id = 0};
}

void FileExplorerWidget::apply_layout(const vask_ui::LayoutResult& layout) {
  root_ = layout.rect(0);
  rebuild_view();
  push_toolbar_state();
  // The content column shows either the file view or the panel that stands for it.
  if (!column_built_ || laid_out_panel_ != shown_panel_) {
    content_column_.clear();
    content_column_.add(vask_ui::WidgetSlot::borrow(toolbar_));
    if (shown_panel_ == Panel::None) {
      content_column_.add(vask_ui::WidgetSlot::borrow(scroll_));
    } else {
      content_column_.add(vask_ui::WidgetSlot::borrow(panel_));
    }
    laid_out_panel_ = shown_panel_;
    column_built_ = true;
  }
  vask_ui::layout_child(nav_shell_, root_);
  view_.set_viewport(scroll_.viewport(), {0, 0});
}

void FileExplorerWidget::draw(vask_ui::Canvas& canvas) {
  const auto& th = theme();
  vask_ui::regions::current().begin_frame();
  state_.clear_redraw_request();
  drop_targets_->clear();
  canvas.fill_rect(root_, th.content_background);
  nav_shell_.draw(canvas);
  draw_rename_field(canvas);
  menu_.draw(canvas);
}

void FileExplorerWidget::draw_overlay(vask_ui::Canvas& canvas) {
  nav_shell_.draw_overlay(canvas);
  draw_status_pill(canvas);
  if (sheet_) draw_sheet(canvas);
  menu_.draw_overlay(canvas);
  if (drag_) draw_drag_feedback(canvas);
}

bool FileExplorerWidget::needs_redraw() const {
  return state_.redraw_requested() || nav_shell_.needs_redraw() ||
         (rename_ && rename_input_.needs_redraw());
}

bool FileExplorerWidget::needs_animation_frame() const {
  if (state_.loading() && !spinner_.is_static()) return true;
  return nav_shell_.needs_animation_frame() || bubble_.needs_frame(now_);
}

std::optional<vask_ui::TimePoint> FileExplorerWidget::next_wake_deadline() const {
  std::optional<TimePoint> deadline = state_.next_recheck();
  if (auto bubble = bubble_.next_deadline(now_)) deadline = std::min(*deadline, *bubble);
  if (auto shell = nav_shell_.next_wake_deadline()) deadline = std::min(*deadline, *shell);
  if (rename_) {
    if (auto caret = rename_input_.next_wake_deadline()) deadline = std::min(*deadline, *caret);
  }
  return deadline;
}

vask_ui::CursorShape FileExplorerWidget::cursor_shape(vask_ui::Point position) const {
  if (drag_) return vask_ui::CursorShape::Grabbing;
  return nav_shell_.cursor_shape(position);
}

std::optional<vask_ui::Rect> FileExplorerWidget::input_caret_rect() const {
  if (rename_) return rename_input_.input_caret_rect();
  return nav_shell_.input_caret_rect();
}

void FileExplorerWidget::focus_changed(bool focused) {
  view_focused_ = focused;
  nav_shell_.focus_changed(focused);
  state_.request_redraw();
}

}  // namespace files::app
