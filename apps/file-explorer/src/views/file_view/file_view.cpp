#include "views/file_view/file_view.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "i18n/i18n.h"
#include "model/collab_a11y.h"
#include "model/collab_state.h"
#include "vask_ui/icons.h"
#include "vask_ui/text.h"
#include "views/file_view/badge.h"

namespace files::views {

using vask_ui::Color;
using vask_ui::Rect;
using vask_ui::TextRenderer;
using vask_ui::TextStyle;
namespace icons = vask_ui::icons;
namespace shell = vask_ui::chrome::shell;

namespace {

/// A muted colour per kind of file, for the tiles drawn where no thumbnail is shown.
Color category_color(icons::Icon icon) {
  switch (icon) {
    case icons::Icon::FileImage:
      return Color::rgb(0xC2410C);
    case icons::Icon::FileAudio:
      return Color::rgb(0xBE185D);
    case icons::Icon::FileVideo:
      return Color::rgb(0x7C3AED);
    case icons::Icon::FileArchive:
      return Color::rgb(0x92400E);
    case icons::Icon::FileCode:
      return Color::rgb(0x0F766E);
    case icons::Icon::FilePdf:
      return Color::rgb(0xB91C1C);
    case icons::Icon::FileSpreadsheet:
      return Color::rgb(0x15803D);
    case icons::Icon::FilePresentation:
      return Color::rgb(0xB45309);
    case icons::Icon::FileFont:
      return Color::rgb(0x4338CA);
    case icons::Icon::FileText:
      return Color::rgb(0x1D4ED8);
    default:
      return Color::rgb(0x475569);
  }
}

/// Up to four characters of the extension in ASCII upper case; empty when there is none or it
/// is not plain text.
std::string extension_label(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  if (ext.size() < 2) return {};
  ext.erase(0, 1);
  std::string out;
  for (char c : ext) {
    auto u = static_cast<unsigned char>(c);
    if (u >= 0x80 || u < 0x20) return {};
    out.push_back(static_cast<char>(std::toupper(u)));
    if (out.size() == 4) break;
  }
  return out;
}

std::string_view column_label_id(ListColumn column) {
  switch (column) {
    case ListColumn::Name:
      return "files-column-name";
    case ListColumn::Size:
      return "files-column-size";
    case ListColumn::Modified:
      return "files-column-modified";
  }
  return "files-column-name";
}

std::optional<model::SortKey> column_key(ListColumn column) {
  switch (column) {
    case ListColumn::Name:
      return model::SortKey::Name;
    case ListColumn::Size:
      return model::SortKey::Size;
    case ListColumn::Modified:
      return model::SortKey::Modified;
  }
  return std::nullopt;
}

}  // namespace

FileView::FileView(FileViewState state)
    : state_(std::move(state)), zoom_(zoom_factor(state_.zoom_step)) {}

void FileView::update(FileViewState state) {
  state_ = std::move(state);
  zoom_ = zoom_factor(state_.zoom_step);
}

const vask_ui::Theme& FileView::theme() const {
  return state_.theme != nullptr ? *state_.theme : vask_ui::Theme::light();
}

vask_ui::Size FileView::measure(float available_width) const {
  const std::size_t count = state_.entries.size();
  if (is_grid()) {
    auto g = GridGeometry::compute(available_width, zoom_, state_.scale);
    return {available_width, g.content_height(count)};
  }
  auto l = ListGeometry::compute(0, available_width, zoom_, state_.scale);
  return {available_width, l.content_height(count)};
}

vask_ui::LayoutNode FileView::build_layout(vask_ui::Size available) {
  vask_ui::Size size = measure(available.width);
  return vask_ui::LayoutNode{.id = kLayoutId,
                             .style = {.width = vask_ui::Dimension::points(size.width),
                                       .height = vask_ui::Dimension::points(size.height)}};
}

void FileView::apply_layout(const vask_ui::LayoutResult& layout) {
  place(layout.rect(kLayoutId));
}

void FileView::place(Rect bounds) {
  bounds_ = bounds;
  grid_ = GridGeometry::compute(bounds.width(), zoom_, state_.scale);
  list_ = ListGeometry::compute(bounds.x0, bounds.x1, zoom_, state_.scale);
  if (visible_.is_empty()) visible_ = bounds;
}

void FileView::set_viewport(Rect visible, vask_ui::Point content_to_window) {
  visible_ = visible;
  offset_ = content_to_window;
}

Rect FileView::to_window(Rect r) const {
  return r.translated(offset_.x, offset_.y);
}

Rect FileView::item_rect(std::size_t index) const {
  if (is_grid()) return grid_.cell_rect(index, bounds_.x0, bounds_.y0);
  return list_.row_rect(index, bounds_.y0);
}

Rect FileView::column_rect(ListColumn column) const {
  float header_top = std::max(bounds_.y0, visible_.y0);
  return list_.column_rect(column, header_top);
}

std::optional<std::size_t> FileView::hit_test(float x, float y) const {
  if (x < bounds_.x0 || x >= bounds_.x1 || y < bounds_.y0) return std::nullopt;
  const std::size_t count = state_.entries.size();
  if (is_grid()) return grid_.hit_test(x - bounds_.x0, y - bounds_.y0, count);
  // The sticky header covers the rows under it while the list is scrolled.
  float header_top = std::max(bounds_.y0, visible_.y0);
  if (y < header_top + list_.header_height) return std::nullopt;
  return list_.hit_test(y - bounds_.y0, count);
}

void FileView::register_item(std::size_t index, Rect rect) {
  const model::FileEntry& entry = state_.entries[index];
  Rect window_rect = to_window(rect);
  vask_ui::regions::current().report(vask_ui::regions::file_row_id(entry.name), window_rect);
  // Folders cut off by the edge of the view are no drop targets: the user cannot see where
  // the drop would go.
  if (entry.is_dir && state_.drop_targets && rect.y0 >= visible_.y0 && rect.y1 <= visible_.y1) {
    state_.drop_targets->push_back({entry.path, window_rect});
  }
}

void FileView::draw(vask_ui::Canvas& canvas) {
  if (state_.drop_targets) state_.drop_targets->clear();
  rename_rect_.reset();
  if (bounds_.is_empty()) return;
  if (is_grid()) {
    draw_grid(canvas);
  } else {
    draw_list(canvas);
  }
}

void FileView::draw_selection(vask_ui::Canvas& canvas, std::size_t index, Rect rect) {
  const auto& th = theme();
  bool selected = state_.selection.is_selected(index);
  bool primary = state_.selection.primary() == index;
  bool hovered = pointer_ && rect.contains(*pointer_);
  float radius = 8 * zoom_;
  if (selected || (primary && state_.focus_visible)) {
    auto tier = selected ? shell::SelectionTier::Selected : shell::SelectionTier::SelectedFocused;
    canvas.fill_rounded_rect(rect, radius, shell::selection_tier(th, tier));
    if (!selected)
      canvas.stroke_rounded_rect(rect.inset(1), radius, th.focus_ring.with_alpha(0.6f), 1);
  } else if (hovered) {
    canvas.fill_rounded_rect(rect, radius, shell::selection_tier(th, shell::SelectionTier::Hover));
  }
  if (state_.view_focused && primary) {
    float r = std::min(8.0f, std::min(rect.width(), rect.height()) / 2);
    canvas.stroke_rounded_rect(rect, r, th.focus_ring, 2);
  }
}

namespace {

/// A file-type tile: a tinted rounded square with the kind's icon and the extension under it.
void paint_file_tile(vask_ui::Canvas& canvas, icons::Icon icon, const std::string& ext, Rect rect,
                     float zoom) {
  Color color = category_color(icon);
  canvas.fill_rounded_rect(rect, 8 * zoom, color.with_alpha(0.12f));
  canvas.stroke_rounded_rect(rect, 8 * zoom, color.with_alpha(0.28f), 1);
  float side = std::min(rect.width(), rect.height());
  Rect icon_box = Rect::from_xywh(rect.center().x - side * 0.28f, rect.y0 + side * 0.12f,
                                  side * 0.56f, side * 0.56f);
  if (ext.empty()) icon_box = icon_box.translated(0, side * 0.08f);
  icons::draw_icon(canvas, icon, icon_box, color, 1.6f);
  if (!ext.empty()) {
    TextStyle style{std::clamp(0.2f * side, 8.0f, 13.0f), vask_ui::FontWeight::Semibold};
    auto m = TextRenderer::shared().measure(ext, style);
    canvas.draw_text(ext, style, {rect.center().x - m.width / 2, rect.y1 - side * 0.08f - m.height},
                     color);
  }
}

// Room around a cached tile for the half of its edge stroke that lies outside it.
constexpr float kTilePad = 1;
// Tiles differ only by kind, extension and size, so a folder of thousands needs a few dozen;
// the cache starts over rather than grow without bound on unusual folders.
constexpr std::size_t kTileCacheLimit = 512;

}  // namespace

void FileView::draw_file_tile(vask_ui::Canvas& canvas, const model::FileEntry& entry, Rect rect) {
  icons::Icon icon = icons::icon_for_path(entry.path, false);
  std::string ext = extension_label(entry.path);
  const float scale = canvas.scale_factor();
  TileKey key{static_cast<int>(icon), ext, rect.width(), rect.height(), zoom_, scale};
  auto found = tile_cache_.find(key);
  if (found == tile_cache_.end()) {
    if (tile_cache_.size() >= kTileCacheLimit) tile_cache_.clear();
    vask_ui::Size size{rect.width() + 2 * kTilePad, rect.height() + 2 * kTilePad};
    Rect inner = Rect::from_xywh(kTilePad, kTilePad, rect.width(), rect.height());
    float zoom = zoom_;
    auto image = vask_ui::Image::render(
        size, scale, [&](vask_ui::Canvas& c) { paint_file_tile(c, icon, ext, inner, zoom); });
    found = tile_cache_.emplace(std::move(key), std::move(image)).first;
  }
  const vask_ui::Image& image = found->second;
  if (image.is_null()) return paint_file_tile(canvas, icon, ext, rect, zoom_);
  // Copied pixel for pixel at a whole device pixel, so it is as sharp as a direct drawing.
  const float w = static_cast<float>(image.width()), h = static_cast<float>(image.height());
  Rect target =
      Rect::from_xywh(std::round((rect.x0 - kTilePad) * scale) / scale,
                      std::round((rect.y0 - kTilePad) * scale) / scale, w / scale, h / scale);
  canvas.draw_image(image, Rect{0, 0, w, h}, target);
}

void FileView::draw_badge_for(vask_ui::Canvas& canvas, const model::FileEntry& entry, Rect icon) {
  auto state = badge_state(entry);
  if (!state) return;
  float d = std::max(9.0f, 0.62f * icon.width());
  draw_badge(canvas, *state, {icon.x1, icon.y1}, d, 1.5f * std::max(zoom_, 1.0f), theme());
}

void FileView::draw_grid(vask_ui::Canvas& canvas) {
  const auto& th = theme();
  const std::size_t count = state_.entries.size();
  TextStyle label_style{th.font_size * zoom_, vask_ui::FontWeight::Regular};
  auto& renderer = TextRenderer::shared();
  const float line = renderer.measure("Mg", label_style).height;
  auto [first_row, last_row] =
      grid_.visible_rows(visible_.y0 - bounds_.y0, visible_.y1 - bounds_.y0, count);
  const std::size_t first = first_row * grid_.columns;
  const std::size_t last = std::min(count, last_row * grid_.columns);
  const float tw = grid_.tile_width, th_ = grid_.tile_height;
  for (std::size_t i = first; i < last; ++i) {
    const model::FileEntry& entry = state_.entries[i];
    Rect tile = grid_.cell_rect(i, bounds_.x0, bounds_.y0);
    register_item(i, tile);
    draw_selection(canvas, i, tile);

    float a = std::max(44.0f, th_ - 12 * zoom_ - line - 14 * zoom_);
    float box_height = std::min(59.8f * zoom_, a);
    float s = entry.is_dir ? std::min(46 * zoom_, a) : std::min(59.8f * zoom_, a);
    float box_top = tile.y0 + 12 * zoom_;
    Rect icon = Rect::from_xywh(tile.center().x - s / 2, box_top + (box_height - s) / 2, s, s);
    if (entry.is_dir) {
      icons::draw_icon(canvas, icons::Icon::Folder, icon, th.accent, 1.5f);
    } else {
      draw_file_tile(canvas, entry, icon);
    }
    draw_badge_for(canvas, entry, icon);

    float label_top = box_top + box_height + 6 * zoom_;
    if (state_.rename_index == i) {
      rename_rect_ = to_window(Rect{tile.x0 + 6, label_top - 4, tile.x1 - 6, label_top + line + 6});
      continue;
    }
    std::string name = vask_ui::elide_middle(entry.name, label_style, tw - 10);
    float width = renderer.measure(name, label_style).width;
    canvas.draw_text(name, label_style, {tile.center().x - width / 2, label_top}, th.text);
  }
}

void FileView::draw_list_header(vask_ui::Canvas& canvas, float top) {
  const auto& th = theme();
  Rect header{bounds_.x0, top, bounds_.x1, top + list_.header_height};
  canvas.fill_rect(header, th.content_background);
  TextStyle style{th.font_size_small * zoom_, vask_ui::FontWeight::Medium};
  auto& renderer = TextRenderer::shared();
  for (ListColumn column : {ListColumn::Name, ListColumn::Size, ListColumn::Modified}) {
    Rect cell = list_.column_rect(column, top);
    if (cell.is_empty()) continue;
    std::string label = i18n::t(column_label_id(column));
    renderer.draw_text_in(canvas, label, style, cell, th.text_secondary);
    if (column_key(column) == state_.sort_key) {
      float x = cell.x0 + renderer.measure(label, style).width + 4;
      renderer.draw_text_in(canvas, state_.descending ? "▾" : "▴", style,
                            Rect{x, cell.y0, cell.x1, cell.y1}, th.text_secondary);
    }
  }
  float inset = 10 * zoom_;
  canvas.fill_rect(Rect{bounds_.x0 + inset, header.y1 - 1, bounds_.x1 - inset, header.y1},
                   shell::separator(th));
}

void FileView::draw_list(vask_ui::Canvas& canvas) {
  const auto& th = theme();
  const std::size_t count = state_.entries.size();
  TextStyle name_style{th.font_size * zoom_, vask_ui::FontWeight::Regular};
  TextStyle meta_style{th.font_size_small * zoom_, vask_ui::FontWeight::Regular};
  auto& renderer = TextRenderer::shared();
  auto [first, last] =
      list_.visible_rows(visible_.y0 - bounds_.y0, visible_.y1 - bounds_.y0, count);
  const float icon_size = 18 * zoom_;
  for (std::size_t i = first; i < last; ++i) {
    const model::FileEntry& entry = state_.entries[i];
    Rect row = list_.row_rect(i, bounds_.y0);
    register_item(i, row);
    draw_selection(canvas, i, row.inset(vask_ui::Insets{8, 2, 8, 2}));

    Rect icon = Rect::from_xywh(list_.name_column.x0 + 4, row.center().y - icon_size / 2, icon_size,
                                icon_size);
    icons::Icon kind = icons::icon_for_path(entry.path, entry.is_dir);
    icons::draw_icon(canvas, kind, icon, entry.is_dir ? th.accent : category_color(kind), 1.6f);
    draw_badge_for(canvas, entry, icon);

    Rect name_box{icon.x1 + 12, row.y0, list_.name_column.x1 - 12, row.y1};
    if (state_.rename_index == i) {
      // The field's text lines up with the labels of the rows around it.
      rename_rect_ = to_window(Rect{name_box.x0 - 9, row.y0 + 3, name_box.x1, row.y1 - 3});
    } else {
      std::string text = entry.name;
      if (model::has_open_conflict(entry)) text += "  ⚠";
      renderer.draw_text_in(canvas, vask_ui::elide_middle(text, name_style, name_box.width()),
                            name_style, name_box, th.text);
    }
    if (list_.show_size) {
      std::string size = entry.is_dir ? "—" : i18n::format_bytes(entry.size);
      Rect cell{list_.size_column.x0, row.y0, list_.size_column.x1, row.y1};
      renderer.draw_text_in(canvas, vask_ui::elide_end(size, meta_style, cell.width()), meta_style,
                            cell, th.text_secondary);
    }
    if (list_.show_modified) {
      std::string time =
          entry.modified ? i18n::format_time(model::to_unix_ms(*entry.modified)) : "—";
      Rect cell{list_.modified_column.x0, row.y0, list_.modified_column.x1, row.y1};
      renderer.draw_text_in(canvas, vask_ui::elide_end(time, meta_style, cell.width()), meta_style,
                            cell, th.text_secondary);
    }
  }
  draw_list_header(canvas, std::max(bounds_.y0, visible_.y0));
}

vask_ui::EventResult FileView::handle_press(const vask_ui::PointerPress& press) {
  const vask_ui::Point p = press.position;
  if (press.button == vask_ui::PointerButton::Primary) {
    if (!is_grid()) {
      Rect header = column_rect(ListColumn::Name);
      if (p.y >= header.y0 && p.y < header.y1 && p.x >= bounds_.x0 && p.x < bounds_.x1) {
        auto column = list_.column_at(p.x);
        if (column) state_.commands->push(command::SortByColumn{*column_key(*column)});
        return vask_ui::EventResult::Handled;
      }
    }
    auto index = hit_test(p.x, p.y);
    if (!index) return vask_ui::EventResult::Ignored;
    vask_ui::ClickMode mode = vask_ui::ClickMode::from(press.modifiers);
    state_.selection.apply_click(*index, mode);
    state_.commands->push(command::ItemClick{*index, mode.toggle, mode.range});
    if (!mode.toggle && !mode.range) {
      const model::FileEntry& entry = state_.entries[*index];
      state_.commands->push(
          command::ArmDrag{entry.path, entry.is_dir, to_window(Rect{p.x, p.y, p.x, p.y}).origin()});
    }
    return vask_ui::EventResult::Handled;
  }
  if (press.button == vask_ui::PointerButton::Secondary) {
    vask_ui::Point at = pointer_.value_or(p);
    auto index = hit_test(at.x, at.y);
    if (index && !state_.selection.is_selected(*index)) state_.selection.select_only(*index);
    state_.commands->push(command::ItemContext{index});
    return vask_ui::EventResult::Handled;
  }
  return vask_ui::EventResult::Ignored;
}

vask_ui::EventResult FileView::handle_key(const vask_ui::KeyPress& key) {
  const std::size_t count = state_.entries.size();
  if (!is_grid() || !state_.view_focused || count == 0) return vask_ui::EventResult::Ignored;
  const std::size_t columns = std::max<std::size_t>(1, grid_.columns);
  std::size_t base = std::min(state_.selection.primary().value_or(0), count - 1);
  std::size_t target;
  switch (key.key) {
    case vask_ui::Key::Right:
      target = std::min(base + 1, count - 1);
      break;
    case vask_ui::Key::Left:
      target = base == 0 ? 0 : base - 1;
      break;
    case vask_ui::Key::Down:
      target = std::min(base + columns, count - 1);
      break;
    case vask_ui::Key::Up:
      target = base < columns ? 0 : base - columns;
      break;
    default:
      return vask_ui::EventResult::Ignored;
  }
  state_.commands->push(command::MoveFocus{target, key.modifiers.shift});
  return vask_ui::EventResult::Handled;
}

vask_ui::EventResult FileView::handle_event(const vask_ui::Event& event) {
  if (const auto* move = std::get_if<vask_ui::PointerMove>(&event)) {
    pointer_ = move->position;
    return vask_ui::EventResult::Ignored;
  }
  if (std::holds_alternative<vask_ui::PointerLeave>(event)) {
    pointer_.reset();
    return vask_ui::EventResult::Ignored;
  }
  if (const auto* press = std::get_if<vask_ui::PointerPress>(&event)) return handle_press(*press);
  if (const auto* key = std::get_if<vask_ui::KeyPress>(&event)) return handle_key(*key);
  return vask_ui::EventResult::Ignored;
}

vask_ui::AccessNode FileView::accessibility() const {
  vask_ui::AccessNode list;
  list.role = vask_ui::AccessRole::List;
  list.name = i18n::t("files-a11y-list");
  list.bounds = to_window(bounds_.intersect(visible_));
  list.states.focused = state_.view_focused;
  const std::size_t count = state_.entries.size();
  if (auto primary = state_.selection.primary(); primary && *primary < count) {
    list.value = state_.entries[*primary].name;
    list.position_in_set = static_cast<int>(*primary + 1);
    list.set_size = static_cast<int>(count);
  }
  list.children.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const model::FileEntry& entry = state_.entries[i];
    vask_ui::AccessNode item;
    item.role = vask_ui::AccessRole::ListItem;
    item.name = entry.name;
    item.description = model::collab_a11y_description(entry);
    item.bounds = to_window(item_rect(i));
    item.states.selected = state_.selection.is_selected(i);
    item.position_in_set = static_cast<int>(i + 1);
    item.set_size = static_cast<int>(count);
    list.children.push_back(std::move(item));
  }
  return list;
}

}  // namespace files::views
