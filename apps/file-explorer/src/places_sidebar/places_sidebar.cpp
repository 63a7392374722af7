#include "places_sidebar/places_sidebar.h"

#include <charconv>
#include <cmath>

#include "favorites/folder_path.h"
#include "i18n/i18n.h"
#include "vask_ui/text.h"

namespace files::places {
namespace {

using vask_ui::EventResult;

constexpr std::string_view kOpenActionPrefix = "files.place:";
constexpr std::string_view kMenuActionPrefix = "files.place-menu:";
constexpr float kIconSize = 17;
constexpr float kIconGap = 8;
constexpr float kGroundInset = 6;

std::optional<std::size_t> parse_row(std::string_view target, std::string_view prefix) {
  if (!target.starts_with(prefix)) return std::nullopt;
  target.remove_prefix(prefix.size());
  std::size_t row = 0;
  auto [end, ec] = std::from_chars(target.data(), target.data() + target.size(), row);
  if (ec != std::errc() || end != target.data() + target.size()) return std::nullopt;
  return row;
}

}  // namespace

Place favourite_place(const favorites::Favourite& favourite) {
  return Place{favourite.label, favourite_icon(favourite.kind), favourite.path};
}

PlacesSidebar::PlacesSidebar(PlacesStateHandle state, std::filesystem::path current_folder,
                             command::CommandQueueHandle commands,
                             std::optional<std::filesystem::path> trash_folder)
    : state_(std::move(state)),
      current_(std::move(current_folder)),
      commands_(std::move(commands)),
      trash_(std::move(trash_folder)),
      system_(system_places({}, trash_)) {}

void PlacesSidebar::set_workspace_roots(const std::vector<std::filesystem::path>& roots) {
  system_ = system_places(roots, trash_);
  mark_dirty();
}

void PlacesSidebar::set_current_folder(std::filesystem::path folder) {
  if (folder == current_) return;
  current_ = std::move(folder);
  mark_dirty();
}

void PlacesSidebar::show_drag_preview(std::size_t from, std::size_t to) {
  const std::size_t count = state_->favourites.size();
  if (from >= count || to >= count || rect_.is_empty()) return;
  const SidebarGeometry g = geometry();
  const vask_ui::Rect pressed = g.row_rect({Section::Favourites, from});
  const vask_ui::Point press = pressed.center();
  // A third of a row past the target slot's top, on the way from the pressed row.
  const float target_top = g.row_rect({Section::Favourites, to}).y0;
  const float step = (to < from ? 1.0f : -1.0f) * g.row_height() / 3;
  const vask_ui::Point now{press.x, target_top + step + (press.y - pressed.y0)};
  state_->drag = FavouriteDrag{.phase = FavouriteDrag::Phase::Dragging,
                               .pressed = from,
                               .target = to,
                               .grab_offset = press.y - pressed.y0,
                               .press = press,
                               .current = now,
                               .count_at_press = count};
  mark_dirty();
}

std::size_t PlacesSidebar::row_count() const {
  return state_->favourites.size() + system_.size();
}

SidebarGeometry PlacesSidebar::geometry() const {
  return SidebarGeometry(rect_, state_->favourites.size(), system_.size(), row_scale_);
}

std::size_t PlacesSidebar::row_number(RowRef row) const {
  return row.section == Section::Favourites ? row.index : state_->favourites.size() + row.index;
}

RowRef PlacesSidebar::row_ref(std::size_t row) const {
  const std::size_t f = state_->favourites.size();
  return row < f ? RowRef{Section::Favourites, row} : RowRef{Section::System, row - f};
}

std::optional<Place> PlacesSidebar::place_at_row(std::size_t row) const {
  const auto& favourites = state_->favourites;
  if (row < favourites.size()) return favourite_place(favourites[row]);
  row -= favourites.size();
  if (row < system_.size()) return system_[row];
  return std::nullopt;
}

std::optional<std::size_t> PlacesSidebar::active_row() const {
  for (std::size_t row = 0; row < row_count(); ++row) {
    if (favorites::same_folder(place_at_row(row)->path, current_)) return row;
  }
  return std::nullopt;
}

vask_ui::LayoutNode PlacesSidebar::build_layout(vask_ui::Size) {
  return vask_ui::LayoutNode{.id = 0, .style = {.grow = 1}};
}

void PlacesSidebar::apply_layout(const vask_ui::LayoutResult& layout) {
  vask_ui::Rect rect = layout.rect(0);
  if (rect != rect_) mark_dirty();
  rect_ = rect;
}

// Drawing ------------------------------------------------------------------------------------

void PlacesSidebar::draw(vask_ui::Canvas& canvas) {
  const vask_ui::Theme& t = theme();
  // The ground is a panel a little inside the pane, so its rounded edge never runs along the
  // window's own border.
  vask_ui::surface::draw_panel(canvas, rect_.inset(kGroundInset),
                               vask_ui::chrome::shell::edge_on(t));
  const SidebarGeometry g = geometry();
  const vask_ui::TextStyle header_style{t.font_size_small, vask_ui::FontWeight::Semibold};
  auto draw_header = [&](Section section, std::string_view message) {
    auto top = g.header_top(section);
    if (!top) return;
    const float x = rect_.x0 + SidebarGeometry::kInset + 12;
    std::string text =
        vask_ui::elide_end(i18n::t(message), header_style, rect_.x1 - SidebarGeometry::kInset - x);
    canvas.draw_text(text, header_style, {x, *top}, t.text_secondary);
  };
  draw_header(Section::Favourites, "files-place-favourites");
  draw_header(Section::System, "files-place-system");

  const auto& favourites = state_->favourites;
  const auto& drag = state_->drag;
  const bool dragging =
      drag && drag->phase == FavouriteDrag::Phase::Dragging && drag->pressed < favourites.size();
  for (std::size_t i = 0; i < favourites.size(); ++i) {
    if (dragging && i == drag->pressed) continue;
    vask_ui::Rect row = g.row_rect({Section::Favourites, dragging ? shown_slot(i) : i});
    draw_row(canvas, row, favourite_place(favourites[i]), i);
  }
  for (std::size_t i = 0; i < system_.size(); ++i) {
    draw_row(canvas, g.row_rect({Section::System, i}), system_[i], favourites.size() + i);
  }
  if (dragging) draw_lifted_row(canvas);
  mark_drawn();
}

void PlacesSidebar::draw_row(vask_ui::Canvas& canvas, vask_ui::Rect row, const Place& place,
                             std::size_t number) const {
  using vask_ui::chrome::shell::selection_tier;
  using vask_ui::chrome::shell::SelectionTier;
  const vask_ui::Theme& t = theme();
  const bool active = favorites::same_folder(place.path, current_);
  const bool keyboard = !active && state_->focused && state_->keyboard_row == number;
  const bool hovered = hovered_ && row_number(*hovered_) == number && !state_->drag;
  const float radius = t.corner_radius - 2;
  if (active) {
    canvas.fill_rounded_rect(row, radius, selection_tier(t, SelectionTier::Selected));
  } else if (keyboard || hovered) {
    canvas.fill_rounded_rect(row, radius, selection_tier(t, SelectionTier::Hover));
  }
  const vask_ui::Color color = active ? t.text : t.text_secondary;
  const vask_ui::Rect icon =
      vask_ui::Rect::from_xywh(row.x0 + 12, row.center().y - kIconSize / 2, kIconSize, kIconSize);
  vask_ui::icons::draw_icon(canvas, place.icon, icon, active ? t.accent : color, 1.5f);
  const vask_ui::TextStyle style{
      t.font_size, active ? vask_ui::FontWeight::Medium : vask_ui::FontWeight::Regular};
  const vask_ui::Rect text{icon.x1 + kIconGap, row.y0, row.x1 - 8, row.y1};
  vask_ui::TextRenderer::shared().draw_text_in(
      canvas, vask_ui::elide_end(place.label, style, text.width()), style, text, color);
}

void PlacesSidebar::draw_lifted_row(vask_ui::Canvas& canvas) const {
  const vask_ui::Theme& t = theme();
  const FavouriteDrag& drag = *state_->drag;
  const SidebarGeometry g = geometry();
  vask_ui::Rect slot = g.row_rect({Section::Favourites, drag.pressed});
  const float top = drag.current.y - drag.grab_offset;
  vask_ui::Rect card{slot.x0, top, slot.x1, top + slot.height()};
  vask_ui::surface::draw_panel(canvas, card, vask_ui::chrome::shell::panel_shadow(t));
  vask_ui::surface::draw_panel(canvas, card, vask_ui::chrome::shell::card(t));
  const Place place = favourite_place(state_->favourites[drag.pressed]);
  const vask_ui::Rect icon =
      vask_ui::Rect::from_xywh(card.x0 + 12, card.center().y - kIconSize / 2, kIconSize, kIconSize);
  vask_ui::icons::draw_icon(canvas, place.icon, icon, t.text, 1.5f);
  const vask_ui::TextStyle style{t.font_size};
  const vask_ui::Rect text{icon.x1 + kIconGap, card.y0, card.x1 - 8, card.y1};
  vask_ui::TextRenderer::shared().draw_text_in(
      canvas, vask_ui::elide_end(place.label, style, text.width()), style, text, t.text);
}

std::size_t PlacesSidebar::shown_slot(std::size_t index) const {
  const FavouriteDrag& drag = *state_->drag;
  if (drag.pressed < drag.target && index > drag.pressed && index <= drag.target) return index - 1;
  if (drag.target < drag.pressed && index >= drag.target && index < drag.pressed) return index + 1;
  return index;
}

// Input --------------------------------------------------------------------------------------

std::size_t PlacesSidebar::drag_target(float y) const {
  const SidebarGeometry g = geometry();
  const FavouriteDrag& drag = *state_->drag;
  const float middle = y - drag.grab_offset + g.row_height() / 2;
  const float slot = std::floor((middle - g.first_row_top(Section::Favourites)) / g.row_height());
  const auto last = static_cast<float>(state_->favourites.size() - 1);
  return static_cast<std::size_t>(std::clamp(slot, 0.0f, last));
}

void PlacesSidebar::handle_move(vask_ui::Point p) {
  auto hovered = geometry().row_at(p);
  if (hovered != hovered_) {
    hovered_ = hovered;
    mark_dirty();
  }
  auto& drag = state_->drag;
  if (!drag || state_->favourites.empty()) return;
  drag->current = p;
  if (drag->phase == FavouriteDrag::Phase::Pending) {
    const float dx = p.x - drag->press.x;
    const float dy = p.y - drag->press.y;
    if (std::sqrt(dx * dx + dy * dy) < drag->threshold) return;
    drag->phase = FavouriteDrag::Phase::Dragging;
  }
  drag->target = drag_target(p.y);
  // The lifted row follows the pointer on every move.
  mark_dirty();
}

EventResult PlacesSidebar::handle_press(const vask_ui::PointerPress& press) {
  handle_move(press.position);
  auto row = geometry().row_at(press.position);
  if (!row) return rect_.contains(press.position) ? EventResult::Handled : EventResult::Ignored;
  const std::size_t number = row_number(*row);
  if (press.button == vask_ui::PointerButton::Secondary) {
    if (row->section == Section::Favourites) ask_for_menu(number, press.position);
    return EventResult::Handled;
  }
  if (press.button != vask_ui::PointerButton::Primary) return EventResult::Ignored;
  if (row->section == Section::System) {
    open_row(number);
    return EventResult::Handled;
  }
  state_->keyboard_row = number;
  state_->focused = true;
  const vask_ui::Rect rect = geometry().row_rect(*row);
  state_->drag = FavouriteDrag{.phase = FavouriteDrag::Phase::Pending,
                               .pressed = row->index,
                               .target = row->index,
                               .grab_offset = press.position.y - rect.y0,
                               .press = press.position,
                               .current = press.position,
                               .count_at_press = state_->favourites.size()};
  mark_dirty();
  return EventResult::Handled;
}

EventResult PlacesSidebar::handle_release() {
  if (!state_->drag) return EventResult::Ignored;
  const FavouriteDrag drag = *std::exchange(state_->drag, std::nullopt);
  mark_dirty();
  if (drag.count_at_press != state_->favourites.size()) return EventResult::Handled;
  if (drag.phase == FavouriteDrag::Phase::Pending) {
    open_row(drag.pressed);
  } else if (drag.target != drag.pressed) {
    commands_->push(command::MoveFavourite{drag.pressed, drag.target});
  }
  return EventResult::Handled;
}

void PlacesSidebar::open_row(std::size_t row) {
  if (auto place = place_at_row(row)) commands_->push(command::GoToFolder{place->path});
}

void PlacesSidebar::ask_for_menu(std::size_t row, vask_ui::Point position) {
  if (row >= state_->favourites.size()) return;
  commands_->push(command::OpenFavouriteMenu{state_->favourites[row].path, position});
}

EventResult PlacesSidebar::handle_key(const vask_ui::KeyPress& key) {
  using vask_ui::Key;
  const std::size_t n = row_count();
  std::optional<std::size_t> cur = state_->keyboard_row;
  if (!cur || *cur >= n) cur = active_row();
  std::optional<std::size_t> next;
  switch (key.key) {
    case Key::Down:
      next = cur ? std::min(*cur + 1, n - 1) : 0;
      break;
    case Key::Up:
      next = cur && *cur > 0 ? *cur - 1 : 0;
      break;
    case Key::Home:
      next = 0;
      break;
    case Key::End:
      next = n - 1;
      break;
    case Key::Enter:
      if (cur) open_row(*cur);
      return EventResult::Handled;
    case Key::Menu:
      if (cur && *cur < state_->favourites.size()) {
        vask_ui::Rect r = geometry().row_rect(row_ref(*cur));
        ask_for_menu(*cur, {r.x0 + 24, r.y0 + 24});
      }
      return EventResult::Handled;
    default:
      return EventResult::Ignored;
  }
  if (n == 0) return EventResult::Handled;
  state_->keyboard_row = next;
  mark_dirty();
  return EventResult::Handled;
}

EventResult PlacesSidebar::handle_event(const vask_ui::Event& event) {
  if (const auto* move = std::get_if<vask_ui::PointerMove>(&event)) {
    handle_move(move->position);
    return state_->drag ? EventResult::Handled : EventResult::Ignored;
  }
  if (std::holds_alternative<vask_ui::PointerLeave>(event)) {
    if (hovered_) mark_dirty();
    hovered_.reset();
    return EventResult::Ignored;
  }
  if (const auto* press = std::get_if<vask_ui::PointerPress>(&event)) return handle_press(*press);
  if (const auto* release = std::get_if<vask_ui::PointerRelease>(&event)) {
    if (release->button != vask_ui::PointerButton::Primary) return EventResult::Ignored;
    handle_move(release->position);
    return handle_release();
  }
  if (const auto* key = std::get_if<vask_ui::KeyPress>(&event)) {
    return state_->focused ? handle_key(*key) : EventResult::Ignored;
  }
  return EventResult::Ignored;
}

vask_ui::CursorShape PlacesSidebar::cursor_shape(vask_ui::Point position) const {
  if (state_->drag && state_->drag->phase == FavouriteDrag::Phase::Dragging) {
    return vask_ui::CursorShape::Grabbing;
  }
  return geometry().row_at(position) ? vask_ui::CursorShape::Pointer : vask_ui::CursorShape::Arrow;
}

void PlacesSidebar::focus_changed(bool focused) {
  state_->focused = focused;
  mark_dirty();
}

// Accessibility ------------------------------------------------------------------------------

vask_ui::AccessNode PlacesSidebar::accessibility() const {
  vask_ui::AccessNode list;
  list.role = vask_ui::AccessRole::List;
  list.name = i18n::t("files-a11y-places");
  list.bounds = rect_;
  list.states.focused = state_->focused;
  const SidebarGeometry g = geometry();
  const std::size_t n = row_count();
  const std::size_t f = state_->favourites.size();
  for (std::size_t row = 0; row < n; ++row) {
    const Place place = *place_at_row(row);
    vask_ui::AccessNode item;
    item.role = vask_ui::AccessRole::ListItem;
    item.name = place.label;
    item.description = i18n::t_args(
        "files-a11y-place-description",
        {{"section", i18n::t(row < f ? "files-a11y-favourite" : "files-a11y-system-location")},
         {"path", favorites::display_text(place.path)}});
    item.bounds = g.row_rect(row_ref(row));
    item.states.focused = state_->focused && state_->keyboard_row == row;
    item.states.current = favorites::same_folder(place.path, current_);
    item.position_in_set = static_cast<int>(row) + 1;
    item.set_size = static_cast<int>(n);
    item.default_action = std::string(kOpenActionPrefix) + std::to_string(row);
    if (row < f) item.context_menu_action = std::string(kMenuActionPrefix) + std::to_string(row);
    list.children.push_back(std::move(item));
  }
  return list;
}

bool PlacesSidebar::perform_semantic_action(const vask_ui::SemanticAction& action) {
  if (action.action == vask_ui::access_action::press) {
    auto row = parse_row(action.target, kOpenActionPrefix);
    if (!row || *row >= row_count()) return false;
    state_->keyboard_row = *row;
    open_row(*row);
    mark_dirty();
    return true;
  }
  if (action.action == vask_ui::access_action::show_menu) {
    auto row = parse_row(action.target, kMenuActionPrefix);
    if (!row || *row >= state_->favourites.size()) return false;
    state_->keyboard_row = *row;
    vask_ui::Rect r = geometry().row_rect(row_ref(*row));
    ask_for_menu(*row, {r.x0 + 24, r.y0 + 24});
    return true;
  }
  return false;
}

}  // namespace files::places
