#include "files_app/file_explorer_widget.h"

#include <algorithm>

#include "i18n/i18n.h"
#include "vask_ui/clock.h"
#include "vask_ui/icons.h"
#include "vask_ui/regions.h"
#include "vask_ui/text.h"
#include "views/file_view/file_view_geometry.h"

namespace files::app {

using vask_ui::Rect;

namespace {

// Height of the band above the file view that holds the toolbar and path bar.
constexpr float kToolbarHeight = 48;
constexpr float kScrollbarWidth = 6;
// One wheel line scrolls this many units.
constexpr float kLineScroll = 40;

}  // namespace

FileExplorerWidget::FileExplorerWidget(WindowConfig config)
    : config_(std::move(config)),
      state_(config_.config_dir, config_.in_workspace),
      retry_button_(i18n::t("files-try-again")) {
  retry_button_.set_control_id("files.retry");
  retry_button_.set_action_id("files-retry-folder");
  spinner_.set_accessible_name(i18n::t("files-loading"));
  auto start = config_.start_folder.value_or(std::filesystem::path("/"));
  state_.open_initial(start, vask_ui::ui_clock::now());
  shown_generation_ = state_.load_generation();
}

FileExplorerWidget::~FileExplorerWidget() = default;

void FileExplorerWidget::navigate(const std::filesystem::path& path) {
  last_click_.reset();
  state_.navigate(path);
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
    state_.recheck(frame.now, /*rename_active=*/false, drag_.has_value());
  }
  if (state_.load_generation() != shown_generation_) {
    // A newly opened folder starts at the top; a silent re-check keeps the offset.
    shown_generation_ = state_.load_generation();
    scroll_y_ = 0;
  }
  update_panels();
  panel_.sync(frame);
  retry_button_.sync(frame);
  spinner_.sync(frame);
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
  vs.view_focused = view_focused_;
  vs.drop_targets = drop_targets_;
  vs.commands = commands_;
  vs.theme = &theme();
  view_ = std::make_unique<views::FileView>(std::move(vs));
}

vask_ui::LayoutNode FileExplorerWidget::build_layout(vask_ui::Size available) {
  window_size_ = available;
  return vask_ui::LayoutNode{.id = 0};
}

void FileExplorerWidget::apply_layout(const vask_ui::LayoutResult& layout) {
  root_ = layout.rect(0);
  toolbar_ = Rect{root_.x0, root_.y0, root_.x1, root_.y0 + kToolbarHeight};
  viewport_ = Rect{root_.x0, toolbar_.y1, root_.x1, root_.y1};
  rebuild_view();
  content_height_ = view_->measure(viewport_.width()).height;
  clamp_scroll();
  view_->place(Rect{viewport_.x0, viewport_.y0, viewport_.x1, viewport_.y0 + content_height_});
  view_->set_viewport(viewport_.translated(0, scroll_y_), {0, -scroll_y_});
  panel_rect_ = viewport_;
  if (shown_panel_ != Panel::None && viewport_.width() > 1 && viewport_.height() > 1) {
    vask_ui::layout_child(panel_, panel_rect_);
  }
}

Rect FileExplorerWidget::content_rect() const {
  return Rect{viewport_.x0, viewport_.y0 - scroll_y_, viewport_.x1,
              viewport_.y0 - scroll_y_ + content_height_};
}

void FileExplorerWidget::clamp_scroll() {
  float max_scroll = std::max(0.0f, content_height_ - viewport_.height());
  scroll_y_ = std::clamp(scroll_y_, 0.0f, max_scroll);
}

void FileExplorerWidget::scroll_by(float dy) {
  scroll_y_ += dy;
  clamp_scroll();
  state_.request_redraw();
}

void FileExplorerWidget::draw(vask_ui::Canvas& canvas) {
  const auto& th = theme();
  vask_ui::regions::current().begin_frame();
  state_.clear_redraw_request();
  canvas.fill_rect(root_, th.content_background);

  // The band for the toolbar and path bar: until those land it names the folder on view.
  canvas.fill_rect(toolbar_, th.window_background);
  canvas.fill_rect(Rect{toolbar_.x0, toolbar_.y1 - 1, toolbar_.x1, toolbar_.y1}, th.separator);
  Rect icon = Rect::from_xywh(toolbar_.x0 + 16, toolbar_.center().y - 10, 20, 20);
  vask_ui::icons::draw_icon(canvas, vask_ui::icons::Icon::Folder, icon, th.accent, 1.6f);
  vask_ui::TextStyle title{th.font_size, vask_ui::FontWeight::Semibold};
  auto& renderer = vask_ui::TextRenderer::shared();
  std::string path = state_.current_folder().string();
  renderer.draw_text_in(canvas, vask_ui::elide_middle(path, title, toolbar_.width() - 72), title,
                        Rect{icon.x1 + 10, toolbar_.y0, toolbar_.x1 - 16, toolbar_.y1}, th.text);

  if (viewport_.width() <= 1 || viewport_.height() <= 1) return;
  if (shown_panel_ != Panel::None) {
    drop_targets_->clear();
    panel_.draw(canvas);
    return;
  }
  {
    vask_ui::ClipScope clip(canvas, viewport_);
    canvas.push_translate(0, -scroll_y_);
    view_->draw(canvas);
    canvas.pop_translate();
  }
  if (content_height_ > viewport_.height()) {
    float ratio = viewport_.height() / content_height_;
    float thumb = std::max(24.0f, viewport_.height() * ratio);
    float max_scroll = content_height_ - viewport_.height();
    float y = viewport_.y0 + (viewport_.height() - thumb) * (scroll_y_ / max_scroll);
    canvas.fill_rounded_rect(
        Rect{viewport_.x1 - kScrollbarWidth - 3, y, viewport_.x1 - 3, y + thumb},
        kScrollbarWidth / 2, th.text.with_alpha(0.28f));
  }
}

void FileExplorerWidget::draw_overlay(vask_ui::Canvas& canvas) {
  draw_status_pill(canvas);
  if (sheet_) draw_sheet(canvas);
  if (drag_) draw_drag_feedback(canvas);
}

bool FileExplorerWidget::needs_redraw() const {
  return state_.redraw_requested() || panel_.needs_redraw() || retry_button_.needs_redraw();
}

bool FileExplorerWidget::needs_animation_frame() const {
  if (state_.loading() && !spinner_.is_static()) return true;
  return bubble_.needs_frame(now_);
}

std::optional<vask_ui::TimePoint> FileExplorerWidget::next_wake_deadline() const {
  std::optional<TimePoint> deadline = state_.next_recheck();
  if (auto bubble = bubble_.next_deadline(now_)) deadline = std::min(*deadline, *bubble);
  return deadline;
}

vask_ui::CursorShape FileExplorerWidget::cursor_shape(vask_ui::Point) const {
  return drag_ ? vask_ui::CursorShape::Grabbing : vask_ui::CursorShape::Arrow;
}

void FileExplorerWidget::focus_changed(bool focused) {
  view_focused_ = focused;
  state_.request_redraw();
}

}  // namespace files::app
