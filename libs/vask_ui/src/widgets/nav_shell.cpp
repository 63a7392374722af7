#include "vask_ui/widgets/nav_shell.h"

#include <algorithm>

#include "vask_ui/clock.h"

namespace vask_ui {
namespace {

constexpr auto kSlideDuration = std::chrono::milliseconds(180);
// An overlaid sidebar leaves a strip of content visible, so the way back is always in view.
constexpr float kOverlayMaxFraction = 0.85f;

}  // namespace

NavShell::NavShell(WidgetSlot sidebar, WidgetSlot content)
    : sidebar_(std::move(sidebar)), content_(std::move(content)) {}

void NavShell::set_sidebar(WidgetSlot sidebar) {
  sidebar_ = std::move(sidebar);
  mark_dirty();
}

void NavShell::set_content(WidgetSlot content) {
  content_ = std::move(content);
  mark_dirty();
}

void NavShell::set_sidebar_width(float width) {
  sidebar_width_ = std::max(0.0f, width);
  mark_dirty();
}

void NavShell::set_collapse_width(float width) {
  collapse_width_ = std::max(1.0f, width);
  mark_dirty();
}

void NavShell::set_snapped(bool snapped) {
  snapped_ = snapped;
  mark_dirty();
}

bool NavShell::is_collapsed() const {
  return !snapped_ && !rect_.is_empty() && rect_.width() < collapse_width_;
}

bool NavShell::is_sidebar_shown() const {
  if (!sidebar_) return false;
  return is_collapsed() ? overlay_open_ : !docked_hidden_;
}

void NavShell::set_sidebar_open(bool open) {
  if (is_collapsed()) {
    if (open == overlay_open_) return;
    overlay_open_ = open;
    overlay_changed_ = ui_clock::now();
    sliding_ = theme().animations;
    if (open && sidebar_) {
      focus_child(sidebar_.get());
    } else if (content_) {
      focus_child(content_.get());
    }
  } else {
    docked_hidden_ = !open;
  }
  if (!rect_.is_empty()) place_children();
  mark_dirty();
}

void NavShell::set_accessible_names(std::string navigation, std::string content) {
  navigation_name_ = std::move(navigation);
  content_name_ = std::move(content);
}

std::vector<Widget*> NavShell::children() const {
  std::vector<Widget*> out;
  if (content_) out.push_back(content_.get());
  // The sidebar comes last: when it lies over the content it is hit first.
  if (sidebar_ && (is_sidebar_shown() || sliding_)) out.push_back(sidebar_.get());
  return out;
}

float NavShell::slide_progress() const {
  if (!sliding_) return overlay_open_ ? 1 : 0;
  using Ms = std::chrono::duration<float, std::milli>;
  float t = std::chrono::duration_cast<Ms>(ui_clock::now() - overlay_changed_).count() /
            std::chrono::duration_cast<Ms>(kSlideDuration).count();
  t = std::clamp(t, 0.0f, 1.0f);
  // Ease out: fast at first, settling gently.
  float eased = 1 - (1 - t) * (1 - t);
  return overlay_open_ ? eased : 1 - eased;
}

void NavShell::on_sync(const FrameContext& frame) {
  if (sliding_ && ui_clock::now() - overlay_changed_ >= kSlideDuration) sliding_ = false;
  if (sliding_) mark_dirty();
  Container::on_sync(frame);
}

bool NavShell::needs_animation_frame() const {
  return sliding_ || Container::needs_animation_frame();
}

LayoutNode NavShell::build_layout(Size) {
  return LayoutNode{.id = 0, .style = {.grow = 1}};
}

void NavShell::apply_layout(const LayoutResult& layout) {
  Rect rect = layout.rect(0);
  bool was_collapsed = is_collapsed();
  rect_ = rect;
  // Growing past the collapse width docks the sidebar again; the overlay is forgotten.
  if (was_collapsed && !is_collapsed()) overlay_open_ = false;
  place_children();
}

void NavShell::place_children() {
  clear_child_rects();
  float width = sidebar_width_;
  if (is_collapsed()) {
    width = std::min(width, rect_.width() * kOverlayMaxFraction);
    float shown = width * slide_progress();
    sidebar_rect_ = Rect{rect_.x0 - width + shown, rect_.y0, rect_.x0 + shown, rect_.y1};
    content_rect_ = rect_;
  } else if (is_sidebar_shown()) {
    width = std::min(width, rect_.width());
    sidebar_rect_ = Rect{rect_.x0, rect_.y0, rect_.x0 + width, rect_.y1};
    content_rect_ = Rect{rect_.x0 + width, rect_.y0, rect_.x1, rect_.y1};
  } else {
    sidebar_rect_ = {};
    content_rect_ = rect_;
  }
  if (content_) {
    layout_child(*content_, content_rect_);
    set_child_rect(content_.get(), content_rect_);
  }
  if (sidebar_ && !sidebar_rect_.is_empty() && (is_sidebar_shown() || sliding_)) {
    layout_child(*sidebar_, sidebar_rect_);
    set_child_rect(sidebar_.get(), sidebar_rect_);
  }
}

void NavShell::draw(Canvas& canvas) {
  const Theme& t = theme();
  if (sliding_ && !rect_.is_empty()) place_children();
  if (content_) content_->draw(canvas);
  bool sidebar_drawn = sidebar_ && !sidebar_rect_.is_empty() && (is_sidebar_shown() || sliding_);
  // The overlay's scrim and shadow stay inside the shell, whatever surrounds it.
  canvas.push_clip(rect_);
  if (sidebar_drawn && is_collapsed()) {
    canvas.fill_rect(content_rect_, t.scrim.with_alpha(slide_progress()));
    surface::PanelStyle panel = chrome::shell::panel_shadow(t);
    canvas.draw_shadow(sidebar_rect_, 0, panel.shadow, panel.shadow_blur, {6, 0});
  }
  if (sidebar_drawn) {
    canvas.push_clip(sidebar_rect_);
    canvas.fill_rect(sidebar_rect_, t.sidebar_background);
    sidebar_->draw(canvas);
    canvas.pop_clip();
    if (!is_collapsed()) {
      canvas.fill_rect(
          Rect{sidebar_rect_.x1 - 1, sidebar_rect_.y0, sidebar_rect_.x1, sidebar_rect_.y1},
          chrome::shell::separator(t));
    }
  }
  canvas.pop_clip();
  mark_drawn();
}

EventResult NavShell::handle_event(const Event& event) {
  focus_visibility::note(event);
  if (sidebar_overlays_content()) {
    // The scrim is modal: the content under it takes no pointer input.
    if (const auto* press = std::get_if<PointerPress>(&event)) {
      if (!sidebar_rect_.contains(press->position)) {
        set_sidebar_open(false);
        return EventResult::Handled;
      }
    }
    if (const auto* move = std::get_if<PointerMove>(&event);
        move && !sidebar_rect_.contains(move->position)) {
      route(PointerLeave{});
      return EventResult::Handled;
    }
    if (const auto* wheel = std::get_if<Wheel>(&event);
        wheel && !sidebar_rect_.contains(wheel->position)) {
      return EventResult::Handled;
    }
  }
  EventResult result = route(event);
  if (result == EventResult::Handled) return result;
  if (const auto* key = std::get_if<KeyPress>(&event)) {
    if (key->key == Key::F9 && !key->modifiers.primary && !key->modifiers.alt && sidebar_) {
      toggle_sidebar();
      return EventResult::Handled;
    }
    if (key->key == Key::Escape && sidebar_overlays_content()) {
      set_sidebar_open(false);
      return EventResult::Handled;
    }
  }
  return result;
}

AccessNode NavShell::accessibility() const {
  AccessNode node;
  node.role = AccessRole::Group;
  node.bounds = rect_;
  if (sidebar_) {
    AccessNode navigation;
    navigation.role = AccessRole::Navigation;
    navigation.name = navigation_name_;
    navigation.states.expanded = is_sidebar_shown();
    if (is_sidebar_shown()) {
      navigation.bounds = sidebar_rect_;
      navigation.children.push_back(sidebar_->accessibility());
    }
    node.children.push_back(std::move(navigation));
  }
  if (content_) {
    AccessNode pane;
    pane.role = AccessRole::Pane;
    pane.name = content_name_;
    pane.bounds = content_rect_;
    pane.children.push_back(content_->accessibility());
    node.children.push_back(std::move(pane));
  }
  return node;
}

}  // namespace vask_ui
