#include "toolbar/file_toolbar.h"

#include <algorithm>

#include "i18n/i18n.h"
#include "vask_ui/text.h"

namespace files::toolbar {
namespace {

using vask_ui::icons::Icon;

constexpr vask_ui::Size kIconButton{36, 32};
constexpr float kLabelledButtonWidth = 104;

void set_up_icon_button(vask_ui::Button& button, const char* control_id, Icon icon,
                        std::string_view name_id) {
  button.set_icon(icon);
  button.set_style(vask_ui::ButtonStyle::Flat);
  button.set_control_id(control_id);
  button.set_accessible_name(i18n::t(name_id));
  button.set_fixed_size(kIconButton);
  button.set_enabled(false);
}

}  // namespace

FileToolbar::FileToolbar(command::CommandQueueHandle commands)
    : commands_(std::move(commands)), path_bar_(commands_) {
  set_up_icon_button(back_, "files.back", Icon::Back, "files-back");
  set_up_icon_button(forward_, "files.forward", Icon::Forward, "files-forward");
  set_up_icon_button(up_, "files.up", Icon::Up, "files-up");
  set_up_icon_button(view_options_, "files.view_menu", Icon::ViewOptions, "files-view-options");
  view_options_.set_hint(i18n::t("files-view-options"));
  set_up_icon_button(extract_, "files.archive.extract", Icon::Extract, "files-archive-extract");
  extract_.set_hint(i18n::t("files-archive-extract"));
  sort_.set_icon(Icon::Sort);
  sort_.set_label(i18n::t("files-sort-by"));
  sort_.set_style(vask_ui::ButtonStyle::Flat);
  sort_.set_control_id("files.sort_menu");
  sort_.set_enabled(false);

  view_mode_.set_segments({i18n::t("files-view-list"), i18n::t("files-view-grid")});
  view_mode_.set_control_id("files.view-mode");
  view_mode_.set_enabled(false);

  auto& q = *commands_;
  back_.set_on_activate([&q] { q.push(command::GoBack{}); });
  forward_.set_on_activate([&q] { q.push(command::GoForward{}); });
  up_.set_on_activate([&q] { q.push(command::GoUp{}); });
  view_mode_.set_on_select([&q](std::size_t index) {
    q.push(command::SetViewMode{index == 1 ? model::ViewMode::Grid : model::ViewMode::List});
  });
  sort_.set_on_activate([this] { commands_->push(command::OpenSortMenu{menu_anchor(sort_)}); });
  view_options_.set_on_activate(
      [this] { commands_->push(command::OpenViewMenu{menu_anchor(view_options_)}); });
  extract_.set_on_activate([this] {
    if (state_.archive) commands_->push(command::ExtractArchive{*state_.archive});
  });
  rebuild_lists();
}

vask_ui::Point FileToolbar::menu_anchor(const vask_ui::Button& button) {
  return {button.rect().x0, button.rect().y1 + 4};
}

void FileToolbar::update(const ToolbarState& state) {
  back_.set_enabled(state.back_enabled);
  forward_.set_enabled(state.forward_enabled);
  up_.set_enabled(state.up_enabled);
  sort_.set_enabled(true);
  view_options_.set_enabled(true);
  extract_.set_enabled(true);
  view_mode_.set_enabled(true);
  view_mode_.set_selected(state.grid_view ? 1 : 0);
  path_bar_.set_path(state.current_folder, state.home, state.workspace_roots);
  if (state.grid_view != state_.grid_view || state.archive != state_.archive) mark_dirty();
  state_ = state;
}

void FileToolbar::rebuild_lists() {
  left_ = {&back_};
  if (!compact_) left_.push_back(&forward_);
  left_.push_back(&up_);

  right_.clear();
  if (!compact_) {
    right_.push_back(&view_mode_);
    if (state_.grid_view) right_.push_back(&sort_);
  }
  if (state_.archive) {
    if (compact_) {
      extract_.set_label({});
      extract_.set_fixed_size(kIconButton);
    } else {
      // The label decides the width where a translation needs more than the usual 104.
      extract_.set_label(i18n::t("files-archive-extract"));
      float natural =
          vask_ui::button_size({.label = extract_.label(), .icon = Icon::Extract}, theme()).width;
      extract_.set_fixed_size(vask_ui::Size{std::max(kLabelledButtonWidth, natural), 32});
    }
    right_.push_back(&extract_);
  } else {
    right_.push_back(&view_options_);
  }
  float sort_natural =
      vask_ui::button_size({.label = sort_.label(), .icon = Icon::Sort}, theme()).width;
  sort_.set_fixed_size(vask_ui::Size{std::max(kLabelledButtonWidth, sort_natural), 32});
}

std::vector<vask_ui::Widget*> FileToolbar::children() const {
  std::vector<vask_ui::Widget*> all = left_;
  all.push_back(path_bar_widget_);
  all.insert(all.end(), right_.begin(), right_.end());
  return all;
}

vask_ui::LayoutNode FileToolbar::build_layout(vask_ui::Size available) {
  rebuild_lists();
  const vask_ui::Theme& t = theme();
  vask_ui::LayoutNode node{.id = 0,
                           .style = {.direction = vask_ui::Direction::Row,
                                     .width = vask_ui::Dimension::percent(100),
                                     .shrink = 0,
                                     .padding = vask_ui::Insets::all(t.spacing),
                                     .gap = t.spacing_small,
                                     .align_items = vask_ui::Align::Center}};
  vask_ui::Size inner{std::max(0.0f, available.width - 2 * t.spacing),
                      std::max(0.0f, available.height - 2 * t.spacing)};
  int id = 1;
  for (vask_ui::Widget* child : children())
    node.add(vask_ui::embed_child(*child, inner, id++));
  return node;
}

void FileToolbar::apply_layout(const vask_ui::LayoutResult& layout) {
  rect_ = layout.rect(0);
  const bool compact = rect_.width() < kCompactBelowWidth;
  if (compact != compact_) {
    compact_ = compact;
    relayout_requested_ = true;
    mark_dirty();
    // The controls that come and go change the row: lay it out again at once rather than
    // showing one frame with the wrong set.
    place(vask_ui::compute_layout(build_layout(rect_.size()), rect_));
    return;
  }
  place(layout);
}

void FileToolbar::place(const vask_ui::LayoutResult& layout) {
  clear_child_rects();
  int id = 1;
  for (vask_ui::Widget* child : children()) {
    vask_ui::Rect r = layout.rect(id++);
    vask_ui::layout_child(*child, r);
    set_child_rect(child, r);
  }
}

void FileToolbar::draw(vask_ui::Canvas& canvas) {
  const vask_ui::Theme& t = theme();
  canvas.fill_rect(rect_, t.window_background);
  canvas.fill_rect({rect_.x0, rect_.y1 - 1, rect_.x1, rect_.y1},
                   vask_ui::chrome::shell::separator(t));
  Container::draw(canvas);
}

vask_ui::AccessNode FileToolbar::own_access_node() const {
  vask_ui::AccessNode node = Container::own_access_node();
  node.role = vask_ui::AccessRole::Toolbar;
  node.bounds = rect_;
  return node;
}

std::vector<std::string> FileToolbar::shown_control_ids() const {
  std::vector<std::string> ids;
  for (vask_ui::Widget* child : children()) {
    if (child == &path_bar_) {
      ids.push_back(path_bar_.field().input().control_id());
    } else if (child == &view_mode_) {
      ids.push_back(view_mode_.control_id());
    } else {
      ids.push_back(static_cast<const vask_ui::Button*>(child)->control_id());
    }
  }
  return ids;
}

const vask_ui::Button* FileToolbar::shown_button(std::string_view control_id) const {
  for (vask_ui::Widget* child : children()) {
    if (child == &path_bar_ || child == &view_mode_) continue;
    const auto* button = static_cast<const vask_ui::Button*>(child);
    if (button->control_id() == control_id) return button;
  }
  return nullptr;
}

}  // namespace files::toolbar
