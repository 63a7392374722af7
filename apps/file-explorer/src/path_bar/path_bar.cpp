#include "path_bar/path_bar.h"

#include <charconv>

#include "favorites/folder_path.h"
#include "i18n/i18n.h"
#include "path_bar/typed_path.h"
#include "vask_ui/text.h"
#include "vask_ui/widgets/container.h"

namespace files::path_bar {
namespace {

using vask_ui::EventResult;

constexpr std::string_view kBarAction = "files.breadcrumbs";
constexpr std::string_view kCrumbActionPrefix = "files.breadcrumb:";

vask_ui::TextStyle crumb_style() {
  return vask_ui::TextStyle{kCrumbFontSize};
}

float measure_crumb_text(std::string_view text) {
  return vask_ui::TextRenderer::shared().measure(text, crumb_style()).width;
}

/// The top of a crumb's text line: centred on the element, nudged up by a fifth of the font
/// size so that the letters, not the line box, look centred.
float text_top(const vask_ui::Rect& r) {
  constexpr float h = kCrumbFontSize;
  return r.y0 + (r.height() - h) / 2 - 0.2f * h;
}

}  // namespace

PathBar::PathBar(command::CommandQueueHandle commands) : commands_(std::move(commands)) {
  field_.input().set_control_id("files.path_input");
  field_.input().set_placeholder(i18n::t("files-path-placeholder"));
  field_.input().set_accessible_name(i18n::t("files-path-placeholder"));
}

void PathBar::set_path(std::filesystem::path current, std::optional<std::filesystem::path> home,
                       std::vector<std::filesystem::path> workspace_roots) {
  bool changed = current != current_ || home != home_ || workspace_roots != roots_;
  current_ = std::move(current);
  home_ = std::move(home);
  roots_ = std::move(workspace_roots);
  if (!changed || editing_) return;
  rebuild_crumbs();
  relayout();
  mark_dirty();
}

void PathBar::rebuild_crumbs() {
  crumbs_ = build_crumbs(current_, home_, roots_);
  hovered_.reset();
  if (crumbs_.empty()) {
    keyboard_crumb_.reset();
  } else if (!keyboard_crumb_ || *keyboard_crumb_ >= crumbs_.size()) {
    keyboard_crumb_ = crumbs_.size() - 1;
  }
}

void PathBar::relayout() {
  elements_ = bounds_.is_empty() ? std::vector<CrumbItem>{}
                                 : layout_crumbs(crumbs_, bounds_, measure_crumb_text);
  if (hovered_ && *hovered_ >= elements_.size()) hovered_.reset();
}

void PathBar::start_editing() {
  if (editing_) {
    field_.input().select_all();
    mark_dirty();
    return;
  }
  editing_ = true;
  hovered_.reset();
  edit_base_ = current_;
  edit_home_ = home_;
  field_.set_source([base = edit_base_, home = edit_home_](std::string_view text) {
    return path_suggestions(text, home, base);
  });
  if (!bounds_.is_empty()) vask_ui::layout_child(field_, bounds_);
  field_.open(display_form(current_, home_));
  mark_dirty();
}

void PathBar::end_editing() {
  editing_ = false;
  field_.focus_changed(false);
  field_.close();
  rebuild_crumbs();
  relayout();
  mark_dirty();
}

void PathBar::take_field_outcome() {
  auto outcome = field_.take_outcome();
  if (!outcome) return;
  if (outcome->kind == vask_ui::AutocompleteOutcome::Kind::Submitted) {
    commands_->push(
        command::GoToTypedPath{submitted_location(outcome->text, edit_home_, edit_base_)});
  }
  end_editing();
}

void PathBar::on_sync(const vask_ui::FrameContext& frame) {
  field_.sync(frame);
  if (editing_) take_field_outcome();
}

std::optional<vask_ui::Rect> PathBar::parent_drop_zone() const {
  if (editing_ || crumbs_.size() < 2) return std::nullopt;
  const std::size_t parent = crumbs_.size() - 2;
  for (const CrumbItem& e : elements_) {
    if (e.crumb == parent)
      return vask_ui::Rect{e.rect.x0 - 3, bounds_.y0, e.rect.x1 + 3, bounds_.y1};
  }
  return std::nullopt;
}

vask_ui::Rect PathBar::popup_rect() const {
  return editing_ ? field_.popup_rect() : vask_ui::Rect{};
}

vask_ui::LayoutNode PathBar::build_layout(vask_ui::Size) {
  return vask_ui::LayoutNode{.id = 0,
                             .style = {.width = vask_ui::Dimension::percent(100),
                                       .height = vask_ui::Dimension::points(kHeight),
                                       .grow = 1,
                                       .shrink = 1}};
}

void PathBar::apply_layout(const vask_ui::LayoutResult& layout) {
  vask_ui::Rect rect = layout.rect(0);
  if (rect != bounds_) mark_dirty();
  bounds_ = rect;
  vask_ui::layout_child(field_, bounds_);
  relayout();
}

void PathBar::draw(vask_ui::Canvas& canvas) {
  if (editing_) {
    field_.draw(canvas);
  } else {
    relayout();
    draw_trail(canvas);
  }
  mark_drawn();
}

void PathBar::draw_trail(vask_ui::Canvas& canvas) {
  const vask_ui::Theme& t = theme();
  vask_ui::surface::draw_panel(canvas, bounds_, vask_ui::chrome::shell::edge_on(t));
  vask_ui::Path line;
  line.move_to({bounds_.x0, bounds_.y1 - 0.5f}).line_to({bounds_.x1, bounds_.y1 - 0.5f});
  canvas.stroke_path(line, vask_ui::chrome::shell::separator(t), 1, vask_ui::LineCap::Butt);
  if (elements_.empty()) return;

  vask_ui::ClipScope clip(canvas, bounds_);
  const auto style = crumb_style();
  const float separator_width = measure_crumb_text(kSeparator);
  const float right = bounds_.x1 - 4;
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    const CrumbItem& e = elements_[i];
    if (e.kind == CrumbItem::Kind::Icon) {
      vask_ui::icons::draw_icon(canvas, trail_icon(crumbs_.front(), roots_), e.rect,
                                t.text_secondary, 1.5f);
      continue;
    }
    const float y = text_top(e.rect);
    if (e.has_separator) {
      canvas.draw_text(kSeparator, style, {e.rect.x0 - kSeparatorPad - separator_width, y},
                       t.text_secondary);
    }
    vask_ui::Color color = t.text_secondary;
    if (e.is_current) {
      color = t.text;
    } else if (hovered_ == i) {
      color = t.accent;
    }
    // A current folder too long for the bar ends in "…" rather than being cut mid-letter.
    std::string label = e.rect.x1 > right
                            ? vask_ui::elide_end(e.text, style, std::max(0.0f, right - e.rect.x0))
                            : e.text;
    canvas.draw_text(label, style, {e.rect.x0, y}, color);
  }
}

void PathBar::draw_overlay(vask_ui::Canvas& canvas) {
  if (editing_) field_.draw_overlay(canvas);
}

vask_ui::EventResult PathBar::handle_event(const vask_ui::Event& event) {
  if (editing_) {
    EventResult result = field_.handle_event(event);
    take_field_outcome();
    if (field_.needs_redraw()) mark_dirty();
    return result;
  }
  EventResult result = handle_browsing(event);
  if (std::exchange(edit_requested_, false)) start_editing();
  return result;
}

void PathBar::update_hover(vask_ui::Point p) {
  pointer_ = p;
  auto hovered = clickable_element_at(elements_, bounds_, p);
  if (hovered != hovered_) {
    hovered_ = hovered;
    mark_dirty();
  }
}

vask_ui::EventResult PathBar::handle_browsing(const vask_ui::Event& event) {
  if (const auto* move = std::get_if<vask_ui::PointerMove>(&event)) {
    update_hover(move->position);
    return EventResult::Ignored;
  }
  if (std::holds_alternative<vask_ui::PointerLeave>(event)) {
    pointer_.reset();
    if (hovered_) mark_dirty();
    hovered_.reset();
    return EventResult::Ignored;
  }
  if (const auto* press = std::get_if<vask_ui::PointerPress>(&event)) {
    if (press->button != vask_ui::PointerButton::Primary) return EventResult::Ignored;
    update_hover(press->position);
    if (hovered_) {
      const CrumbItem& e = elements_[*hovered_];
      commands_->push(command::GoToFolder{crumbs_[*e.crumb].path});
      mark_dirty();
      return EventResult::Handled;
    }
    if (bounds_.contains(press->position)) {
      edit_requested_ = true;
      return EventResult::Handled;
    }
    return EventResult::Ignored;
  }
  if (const auto* key = std::get_if<vask_ui::KeyPress>(&event)) {
    return focused_ ? handle_key(*key) : EventResult::Ignored;
  }
  return EventResult::Ignored;
}

vask_ui::EventResult PathBar::handle_key(const vask_ui::KeyPress& key) {
  using vask_ui::Key;
  const std::size_t n = crumbs_.size();
  const std::size_t cur = keyboard_crumb_.value_or(n == 0 ? 0 : n - 1);
  std::optional<std::size_t> next;
  switch (key.key) {
    case Key::Left:
      next = cur == 0 ? 0 : cur - 1;
      break;
    case Key::Right:
      next = std::min(cur + 1, n == 0 ? 0 : n - 1);
      break;
    case Key::Home:
      next = 0;
      break;
    case Key::End:
      next = n == 0 ? 0 : n - 1;
      break;
    case Key::Enter:
      activate_keyboard_crumb();
      return EventResult::Handled;
    default:
      return EventResult::Ignored;
  }
  if (n > 0) keyboard_crumb_ = next;
  mark_dirty();
  return EventResult::Handled;
}

bool PathBar::activate_keyboard_crumb() {
  if (!keyboard_crumb_ || *keyboard_crumb_ >= crumbs_.size()) return false;
  if (*keyboard_crumb_ + 1 == crumbs_.size()) {
    edit_requested_ = true;
  } else {
    commands_->push(command::GoToFolder{crumbs_[*keyboard_crumb_].path});
  }
  mark_dirty();
  return true;
}

vask_ui::CursorShape PathBar::cursor_shape(vask_ui::Point position) const {
  if (editing_) return field_.cursor_shape(position);
  if (clickable_element_at(elements_, bounds_, position)) return vask_ui::CursorShape::Pointer;
  if (bounds_.contains(position)) return vask_ui::CursorShape::Text;
  return vask_ui::CursorShape::Arrow;
}

vask_ui::AccessNode PathBar::accessibility() const {
  if (editing_) return field_.accessibility();
  vask_ui::AccessNode bar;
  bar.role = vask_ui::AccessRole::Navigation;
  bar.name = i18n::t("files-a11y-breadcrumbs");
  bar.bounds = bounds_;
  bar.states.focused = focused_;
  bar.default_action = std::string(kBarAction);
  if (keyboard_crumb_ && *keyboard_crumb_ < crumbs_.size()) {
    bar.value = crumbs_[*keyboard_crumb_].label;
  }
  const std::size_t n = crumbs_.size();
  for (std::size_t i = 0; i < n; ++i) {
    const bool last = i + 1 == n;
    vask_ui::AccessNode node;
    node.role = last ? vask_ui::AccessRole::Button : vask_ui::AccessRole::Link;
    node.name = crumbs_[i].label;
    const std::string path = display_form(crumbs_[i].path, home_);
    node.description = last ? i18n::t_args("files-a11y-current-breadcrumb", {{"path", path}})
                            : i18n::t_args("files-a11y-open-folder", {{"path", path}});
    node.states.focused = focused_ && keyboard_crumb_ == i;
    node.states.current = last;
    node.position_in_set = static_cast<int>(i) + 1;
    node.set_size = static_cast<int>(n);
    node.default_action = std::string(kCrumbActionPrefix) + std::to_string(i);
    for (const CrumbItem& e : elements_) {
      if (e.crumb == i) node.bounds = e.rect;
    }
    bar.children.push_back(std::move(node));
  }
  return bar;
}

bool PathBar::perform_semantic_action(const vask_ui::SemanticAction& action) {
  if (editing_) return field_.perform_semantic_action(action);
  if (action.action != vask_ui::access_action::press) return false;
  std::string_view target = action.target;
  if (target.starts_with(kCrumbActionPrefix)) {
    target.remove_prefix(kCrumbActionPrefix.size());
    std::size_t index = 0;
    auto [end, ec] = std::from_chars(target.data(), target.data() + target.size(), index);
    if (ec != std::errc() || end != target.data() + target.size() || index >= crumbs_.size()) {
      return false;
    }
    keyboard_crumb_ = index;
  } else if (target != kBarAction) {
    return false;
  }
  bool acted = activate_keyboard_crumb();
  if (std::exchange(edit_requested_, false)) start_editing();
  return acted;
}

void PathBar::focus_changed(bool focused) {
  focused_ = focused;
  if (editing_) {
    field_.focus_changed(focused);
    take_field_outcome();
  }
  if (focused && !keyboard_crumb_ && !crumbs_.empty()) keyboard_crumb_ = crumbs_.size() - 1;
  mark_dirty();
}

bool PathBar::needs_redraw() const {
  return WidgetBase::needs_redraw() || (editing_ && field_.needs_redraw());
}

std::optional<vask_ui::TimePoint> PathBar::next_wake_deadline() const {
  return editing_ ? field_.next_wake_deadline() : std::nullopt;
}

std::optional<vask_ui::Rect> PathBar::input_caret_rect() const {
  return editing_ ? field_.input_caret_rect() : std::nullopt;
}

}  // namespace files::path_bar
