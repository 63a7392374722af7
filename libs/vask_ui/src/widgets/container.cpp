#include "vask_ui/widgets/container.h"

#include <algorithm>

namespace vask_ui {

LayoutNode embed_child(Widget& child, Size available, int id) {
  LayoutNode tree = child.build_layout(available);
  LayoutNode leaf{.id = id, .style = tree.style};
  leaf.style.padding = {};
  leaf.content_size = measure_layout(tree);
  return leaf;
}

void layout_child(Widget& child, Rect rect) {
  LayoutNode tree = child.build_layout(rect.size());
  child.apply_layout(compute_layout(tree, rect));
}

bool Container::is_child(const Widget* widget) const {
  if (widget == nullptr) return false;
  auto all = children();
  return std::find(all.begin(), all.end(), widget) != all.end();
}

void Container::set_child_rect(Widget* child, Rect rect) {
  for (auto& [w, r] : rects_) {
    if (w == child) {
      r = rect;
      return;
    }
  }
  rects_.emplace_back(child, rect);
}

Widget* Container::child_at(Point position) const {
  auto all = children();
  for (auto it = all.rbegin(); it != all.rend(); ++it) {
    for (const auto& [w, r] : rects_) {
      if (w == *it && r.contains(position)) return w;
    }
  }
  return nullptr;
}

void Container::on_sync(const FrameContext& frame) {
  for (Widget* child : children())
    child->sync(frame);
}

void Container::draw(Canvas& canvas) {
  for (Widget* child : children())
    child->draw(canvas);
  mark_drawn();
}

void Container::draw_overlay(Canvas& canvas) {
  for (Widget* child : children())
    child->draw_overlay(canvas);
}

EventResult Container::handle_event(const Event& event) {
  return route(event);
}

EventResult Container::route(const Event& event) {
  if (!is_child(hovered_)) hovered_ = nullptr;
  if (!is_child(captured_)) captured_ = nullptr;
  if (!is_child(focused_)) focused_ = nullptr;

  auto forward = [&](Widget* target) {
    return target != nullptr ? target->handle_event(event) : EventResult::Ignored;
  };
  auto update_hover = [&](Widget* target) {
    if (hovered_ == target) return;
    if (hovered_ != nullptr) hovered_->handle_event(PointerLeave{});
    hovered_ = target;
  };

  if (const auto* move = std::get_if<PointerMove>(&event)) {
    Widget* target = captured_ != nullptr ? captured_ : child_at(move->position);
    update_hover(target);
    return forward(target);
  }
  if (const auto* press = std::get_if<PointerPress>(&event)) {
    // A second press of the held button means its release was lost (a grab taken by another
    // window): the capture starts over.
    if (captured_ != nullptr && press->button == captured_button_) captured_ = nullptr;
    Widget* target = captured_ != nullptr ? captured_ : child_at(press->position);
    update_hover(target);
    if (target == nullptr) return EventResult::Ignored;
    if (captured_ == nullptr) captured_button_ = press->button;
    captured_ = target;
    EventResult result = target->handle_event(event);
    if (result == EventResult::Handled && target->accepts_focus()) focus_child(target);
    return result;
  }
  if (const auto* release = std::get_if<PointerRelease>(&event)) {
    Widget* target = captured_ != nullptr ? captured_ : child_at(release->position);
    if (release->button == captured_button_) captured_ = nullptr;
    EventResult result = forward(target);
    update_hover(child_at(release->position));
    return result;
  }
  if (std::holds_alternative<PointerLeave>(event)) {
    EventResult result = captured_ == nullptr ? forward(hovered_) : EventResult::Ignored;
    if (captured_ == nullptr) hovered_ = nullptr;
    return result;
  }
  if (const auto* wheel = std::get_if<Wheel>(&event)) return forward(child_at(wheel->position));
  if (const auto* key = std::get_if<KeyPress>(&event)) {
    EventResult result = forward(focused_);
    if (result == EventResult::Ignored && key->key == Key::Tab && !key->modifiers.primary &&
        !key->modifiers.alt && move_focus(key->modifiers.shift)) {
      return EventResult::Handled;
    }
    return result;
  }
  return forward(focused_);
}

Widget* Container::focused_child() const {
  return is_child(focused_) ? focused_ : nullptr;
}

void Container::focus_child(Widget* child) {
  if (child == focused_) return;
  if (focused_ != nullptr && has_focus_ && is_child(focused_)) focused_->focus_changed(false);
  focused_ = child;
  if (focused_ != nullptr && has_focus_) focused_->focus_changed(true);
  mark_dirty();
}

bool Container::move_focus(bool backwards) {
  auto all = children();
  auto n = static_cast<std::ptrdiff_t>(all.size());
  std::ptrdiff_t at = -1;
  for (std::ptrdiff_t i = 0; i < n; ++i) {
    if (all[static_cast<std::size_t>(i)] == focused_) at = i;
  }
  std::ptrdiff_t step = backwards ? -1 : 1;
  std::ptrdiff_t i = at < 0 ? (backwards ? n - 1 : 0) : at + step;
  for (; i >= 0 && i < n; i += step) {
    Widget* candidate = all[static_cast<std::size_t>(i)];
    if (candidate->accepts_focus()) {
      focus_child(candidate);
      return true;
    }
  }
  return false;
}

void Container::focus_changed(bool focused) {
  has_focus_ = focused;
  if (!is_child(focused_)) focused_ = nullptr;
  if (focused && focused_ == nullptr) {
    for (Widget* child : children()) {
      if (child->accepts_focus()) {
        focused_ = child;
        break;
      }
    }
  }
  if (focused_ != nullptr) focused_->focus_changed(focused);
  mark_dirty();
}

bool Container::accepts_focus() const {
  auto all = children();
  return std::any_of(all.begin(), all.end(), [](Widget* w) { return w->accepts_focus(); });
}

std::optional<Rect> Container::input_caret_rect() const {
  Widget* focused = focused_child();
  return focused != nullptr ? focused->input_caret_rect() : std::nullopt;
}

AccessNode Container::own_access_node() const {
  AccessNode node;
  node.role = AccessRole::Group;
  bool first = true;
  for (const auto& [w, r] : rects_) {
    if (!is_child(w)) continue;
    node.bounds = first ? r
                        : Rect{std::min(node.bounds.x0, r.x0), std::min(node.bounds.y0, r.y0),
                               std::max(node.bounds.x1, r.x1), std::max(node.bounds.y1, r.y1)};
    first = false;
  }
  return node;
}

AccessNode Container::accessibility() const {
  AccessNode node = own_access_node();
  for (Widget* child : children()) {
    AccessNode sub = child->accessibility();
    // An unnamed group says nothing to a screen reader: its children take its place.
    if (sub.role == AccessRole::Group && sub.name.empty() && sub.description.empty()) {
      for (AccessNode& grandchild : sub.children)
        node.children.push_back(std::move(grandchild));
      continue;
    }
    node.children.push_back(std::move(sub));
  }
  return node;
}

bool Container::perform_semantic_action(const SemanticAction& action) {
  for (Widget* child : children()) {
    if (child->perform_semantic_action(action)) {
      mark_dirty();
      return true;
    }
  }
  return false;
}

bool Container::needs_redraw() const {
  if (WidgetBase::needs_redraw()) return true;
  auto all = children();
  return std::any_of(all.begin(), all.end(), [](Widget* w) { return w->needs_redraw(); });
}

bool Container::needs_animation_frame() const {
  auto all = children();
  return std::any_of(all.begin(), all.end(), [](Widget* w) { return w->needs_animation_frame(); });
}

std::optional<TimePoint> Container::next_wake_deadline() const {
  std::optional<TimePoint> earliest;
  for (Widget* child : children()) {
    auto deadline = child->next_wake_deadline();
    if (deadline && (!earliest || *deadline < *earliest)) earliest = deadline;
  }
  return earliest;
}

void Container::poll_background() {
  for (Widget* child : children())
    child->poll_background();
}

std::vector<ControlResource> Container::resources() const {
  std::vector<ControlResource> all;
  for (Widget* child : children()) {
    auto more = child->resources();
    all.insert(all.end(), std::make_move_iterator(more.begin()),
               std::make_move_iterator(more.end()));
  }
  return all;
}

bool Container::take_control_invocation(const ControlInvocation& invocation) {
  for (Widget* child : children()) {
    if (child->take_control_invocation(invocation)) {
      mark_dirty();
      return true;
    }
  }
  return false;
}

CursorShape Container::cursor_shape(Point position) const {
  Widget* target = is_child(captured_) ? captured_ : child_at(position);
  return target != nullptr ? target->cursor_shape(position) : CursorShape::Arrow;
}

}  // namespace vask_ui
