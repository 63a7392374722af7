#include <cmath>

#include "favorites/folder_path.h"
#include "files_app/file_explorer_widget.h"
#include "vask_ui/clock.h"
#include "vask_ui/log.h"
#include "vask_ui/regions.h"

// The window's side of input: the order in which an event visits the window's parts, the
// keyboard table, and the in-window drag of items onto folders.

namespace files::app {

using vask_ui::EventResult;

namespace {

// A press turns into a drag once the pointer has travelled this far.
constexpr float kDragThreshold = 6;

bool is_primary_release(const vask_ui::Event& event) {
  const auto* release = std::get_if<vask_ui::PointerRelease>(&event);
  return release != nullptr && release->button == vask_ui::PointerButton::Primary;
}

}  // namespace

vask_ui::EventResult FileExplorerWidget::handle_event(const vask_ui::Event& event) {
  EventResult result = route_event(event);
  // The shell's widgets hold the pointer from a press until its release. A release that a menu,
  // a sheet or a drop took instead (they open between the two) must still end that hold, or
  // the next press of another button would go to the widget still holding it.
  if (const auto* release = std::get_if<vask_ui::PointerRelease>(&event);
      release != nullptr && shell_held_buttons_.contains(release->button)) {
    to_shell(event);
  }
  drain_commands();
  // A command may have replaced the entries the file view points into; the view must never see
  // the old list, even before the next layout.
  rebuild_view();
  if (result == EventResult::Handled) state_.request_redraw();
  return result;
}

EventResult FileExplorerWidget::route_event(const vask_ui::Event& event) {
  // 1. Pointer moves are remembered first; a held press past the threshold starts a drag.
  if (const auto* move = std::get_if<vask_ui::PointerMove>(&event)) {
    pointer_ = move->position;
    if (armed_ && !drag_) {
      float dx = move->position.x - armed_->position.x;
      float dy = move->position.y - armed_->position.y;
      if (std::sqrt(dx * dx + dy * dy) > kDragThreshold) {
        ArmedPress press = std::move(*armed_);
        armed_.reset();
        begin_drag(press.path, press.is_dir);
      }
    }
  }
  if (std::holds_alternative<vask_ui::PointerPress>(event) ||
      std::holds_alternative<vask_ui::Wheel>(event)) {
    focus_visible_ = false;
  } else if (std::holds_alternative<vask_ui::KeyPress>(event)) {
    focus_visible_ = true;
  }

  // 2. While the error panel shows, its retry button sees the event first.
  if (shown_panel_ == Panel::Error) {
    EventResult r = panel_.handle_event(event);
    if (retry_button_.take_activated()) {
      execute(command::Refresh{});
      return EventResult::Handled;
    }
    if (r == EventResult::Handled) return r;
    if (const auto* key = std::get_if<vask_ui::KeyPress>(&event);
        key != nullptr && (key->key == vask_ui::Key::Enter || key->key == vask_ui::Key::Space)) {
      execute(command::Refresh{});
      return EventResult::Handled;
    }
  }

  // 3. A sheet is modal.
  if (sheet_) return handle_sheet_event(event);

  // 4. Releases end presses and drags.
  if (is_primary_release(event)) {
    armed_.reset();
    if (drag_) {
      handle_drop();
      return EventResult::Handled;
    }
  }
  if (drag_ && std::holds_alternative<vask_ui::PointerMove>(event)) {
    update_drag_hover();
    return EventResult::Handled;
  }

  // 5. An open menu takes every event first.
  if (menu_.is_open()) return handle_menu_event(event);

  // The path bar's completion list lies over everything below the toolbar.
  if (auto routed = route_location_edit(event)) return *routed;

  // 6. Secondary press: the view selects the item under the pointer, then the context menu
  // opens there (unless the sidebar asked for a favourite's menu meanwhile).
  if (const auto* press = std::get_if<vask_ui::PointerPress>(&event);
      press != nullptr && press->button == vask_ui::PointerButton::Secondary) {
    deliver_to_view(event);
    drain_commands();
    if (!menu_.is_open()) open_context_menu(press->position);
    return EventResult::Handled;
  }

  // 7. Primary + wheel zooms; a plain wheel scrolls.
  if (const auto* wheel = std::get_if<vask_ui::Wheel>(&event)) {
    if (wheel->modifiers.primary) {
      if (wheel->dy > 0) state_.zoom_by(1);
      if (wheel->dy < 0) state_.zoom_by(-1);
      return EventResult::Handled;
    }
    return to_shell(event);
  }

  // 8. The rename field takes the keyboard while it is open.
  if (auto routed = route_rename(event)) return *routed;

  // 9. Everything else goes to the content.
  if (deliver_to_view(event) == EventResult::Handled) return EventResult::Handled;

  // 10. Keys nobody took go through the window's keyboard table.
  if (const auto* key = std::get_if<vask_ui::KeyPress>(&event)) return handle_keyboard_table(*key);
  return EventResult::Ignored;
}

EventResult FileExplorerWidget::deliver_to_view(const vask_ui::Event& event) {
  // The navigation shell routes the event on to the sidebar, the toolbar or, through the
  // scroll view, the file view.
  return to_shell(event);
}

EventResult FileExplorerWidget::to_shell(const vask_ui::Event& event) {
  if (const auto* press = std::get_if<vask_ui::PointerPress>(&event)) {
    shell_held_buttons_.insert(press->button);
  } else if (const auto* release = std::get_if<vask_ui::PointerRelease>(&event)) {
    shell_held_buttons_.erase(release->button);
  }
  return nav_shell_.handle_event(event);
}

void FileExplorerWidget::move_focus(std::size_t index, bool extend) {
  if (index >= state_.entries().size()) return;
  state_.selection().move_to(index,
                             extend ? vask_ui::MoveMode::Extend : vask_ui::MoveMode::Replace);
  // Keep the focused item in sight (below the list's sticky header).
  vask_ui::Rect item = view_.item_rect(index);
  float top = item.y0 - scroll_.content_rect().y0;
  float header = view_.is_grid() ? 0 : view_.column_rect(views::ListColumn::Name).height();
  scroll_.reveal(top - header, top + item.height());
  state_.request_redraw();
}

EventResult FileExplorerWidget::handle_keyboard_table(const vask_ui::KeyPress& key) {
  using vask_ui::Key;
  const std::size_t count = state_.entries().size();
  const auto primary = state_.selection().primary();
  const bool shift = key.modifiers.shift;
  const bool ctrl = key.modifiers.primary;
  switch (key.key) {
    case Key::Enter:
      if (primary && *primary < count) (void)open_item(state_.entries()[*primary].path);
      return EventResult::Handled;
    case Key::Down:
      if (count > 0) move_focus(primary ? std::min(*primary + 1, count - 1) : 0, shift);
      return EventResult::Handled;
    case Key::Up:
      if (count > 0) move_focus(primary ? (*primary == 0 ? 0 : *primary - 1) : 0, shift);
      return EventResult::Handled;
    case Key::Home:
      if (count > 0) move_focus(0, shift);
      return EventResult::Handled;
    case Key::End:
      if (count > 0) move_focus(count - 1, shift);
      return EventResult::Handled;
    case Key::Backspace:
      execute(command::GoUp{});
      return EventResult::Handled;
    case Key::Delete:
      commands_->push(command::DeleteSelection{});
      return EventResult::Handled;
    case Key::Menu:
      if (state_.selection().empty()) return EventResult::Ignored;
      open_context_menu_from_keyboard();
      return EventResult::Handled;
    case Key::Escape:
      if (!state_.selection().empty()) {
        state_.selection().clear();
        last_click_.reset();
        state_.request_redraw();
      }
      return EventResult::Handled;
    case Key::F1:
      commands_->push(command::ShowShortcuts{});
      return EventResult::Handled;
    case Key::F2:
      commands_->push(command::BeginRename{});
      return EventResult::Handled;
    case Key::F5:
      commands_->push(command::Refresh{});
      return EventResult::Handled;
    default:
      break;
  }
  const std::string& text = key.text;
  if (text == "?") {
    commands_->push(command::ShowShortcuts{});
    return EventResult::Handled;
  }
  if (!ctrl) return EventResult::Ignored;
  auto is = [&](char lower) {
    return text.size() == 1 && (text[0] == lower || text[0] == lower - 'a' + 'A');
  };
  if (is('a')) {
    state_.selection().select_all(count);
    state_.request_redraw();
  } else if (is('c')) {
    commands_->push(command::CopySelection{});
  } else if (is('x')) {
    commands_->push(command::CutSelection{});
  } else if (is('v')) {
    commands_->push(command::Paste{});
  } else if (is('z')) {
    commands_->push(command::UndoTrash{});
  } else if (is('n') && shift) {
    commands_->push(command::NewFolder{});
  } else if (is('h')) {
    commands_->push(command::ToggleHidden{});
  } else if (is('l')) {
    start_location_edit();
  } else if (text == "0") {
    state_.set_zoom(0);
  } else if (text == "+" || text == "=") {
    state_.zoom_by(1);
  } else if (text == "-" || text == "_") {
    state_.zoom_by(-1);
  } else {
    return EventResult::Ignored;
  }
  return EventResult::Handled;
}

std::optional<views::DropTarget> FileExplorerWidget::drop_destination_at(vask_ui::Point p) const {
  if (!drag_) return std::nullopt;
  for (const views::DropTarget& target : *drop_targets_) {
    if (!target.rect.contains(p)) continue;
    if (std::find(drag_->paths.begin(), drag_->paths.end(), target.path) != drag_->paths.end())
      continue;
    return target;
  }
  // The crumb of the current folder's parent takes items too.
  if (auto zone = toolbar_.path_bar().parent_drop_zone(); zone && zone->contains(p)) {
    return views::DropTarget{favorites::plain_folder(state_.current_folder()).parent_path(), *zone};
  }
  return std::nullopt;
}

void FileExplorerWidget::update_drag_hover() {
  auto target = pointer_ ? drop_destination_at(*pointer_) : std::nullopt;
  bool changed = target.has_value() != hovered_drop_.has_value() ||
                 (target && hovered_drop_ && target->path != hovered_drop_->path);
  hovered_drop_ = std::move(target);
  if (changed) state_.request_redraw();
}

}  // namespace files::app
