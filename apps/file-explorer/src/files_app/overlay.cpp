#include <algorithm>

#include "files_app/file_explorer_widget.h"
#include "i18n/i18n.h"
#include "model/collab_a11y.h"
#include "native_observer/snapshot.h"
#include "vask_ui/icons.h"
#include "vask_ui/text.h"

// What the window draws over its content (status pill, sheet, drag feedback), how the sheet
// takes input, and how the window presents itself to assistive technology.

namespace files::app {

using vask_ui::EventResult;
using vask_ui::Rect;

std::string FileExplorerWidget::status_text() const {
  std::string base =
      state_.notice()
          ? *state_.notice()
          : i18n::t_args("files-item-count", {{"count", i18n::count(state_.entries().size())}});
  std::size_t selected = state_.selection().count();
  if (selected == 0) return base;
  return i18n::t_args("files-selected-count", {{"base", base}, {"count", i18n::count(selected)}});
}

void FileExplorerWidget::draw_status_pill(vask_ui::Canvas& canvas) {
  const auto& th = theme();
  std::string text = status_text();
  if (text != last_status_text_) {
    last_status_text_ = text;
    bubble_.poke(now_);
  }
  if (text.empty() || nav_shell_.sidebar_overlays_content()) return;
  vask_ui::Size size = vask_ui::StatusBubble::pill_size(text, th.font_size);
  size.width = std::min(size.width, std::max(0.0f, root_.width() - 2 * th.pill_margin));
  Rect pill{root_.x1 - th.pill_margin - size.width, root_.y1 - th.pill_margin - size.height,
            root_.x1 - th.pill_margin, root_.y1 - th.pill_margin};
  bool hovered = state_.in_archive() || status_pinned_ ||
                 (pointer_ && pointer_->x > pill.x0 - 40 && pointer_->y > pill.y0 - 24 &&
                  root_.contains(*pointer_));
  bubble_.set_hover(hovered, now_);
  float alpha;
  if (!th.animations) {
    alpha = bubble_.is_visible(now_) ? 1.0f : 0.0f;
  } else {
    alpha = bubble_.alpha(now_);
  }
  if (alpha <= 0) return;
  vask_ui::StatusBubble::draw_pill(canvas, pill, text, th.font_size, th, alpha);
}

void FileExplorerWidget::draw_sheet(vask_ui::Canvas& canvas) {
  const auto& th = theme();
  const Sheet& sheet = *sheet_;
  auto g = SheetGeometry::compute(sheet, window_size_);
  canvas.fill_rect(root_, th.scrim.with_alpha(0.72f));
  vask_ui::surface::draw_panel(canvas, g.card, vask_ui::chrome::shell::card(th));
  vask_ui::TextStyle title{th.font_size_title, vask_ui::FontWeight::Semibold};
  vask_ui::TextStyle body{th.font_size, vask_ui::FontWeight::Regular};
  const float x = g.card.x0, y = g.card.y0, w = g.card.width();
  canvas.draw_text(vask_ui::elide_end(sheet.title, title, w - 80), title, {x + 24, y + 23},
                   th.text);
  canvas.draw_text(vask_ui::elide_end(sheet.summary, body, w - 48), body, {x + 24, y + 53},
                   th.text_secondary);
  float line_y = y + 88;
  for (std::size_t i = 0; i < sheet.details.size() && i < kMaxDrawnDetails; ++i, line_y += 27) {
    canvas.fill_rounded_rect(Rect::from_xywh(x + 24, line_y + 5, 5, 5), 1, th.text_secondary);
    canvas.draw_text(vask_ui::elide_end(sheet.details[i], body, w - 62), body, {x + 38, line_y},
                     th.text);
  }
  if (sheet.action && g.confirm) {
    vask_ui::ButtonLook look;
    look.label = i18n::t(action_label_id(*sheet.action));
    bool destructive = std::holds_alternative<PermanentDeleteAction>(*sheet.action) ||
                       std::holds_alternative<EmptyTrashAction>(*sheet.action) ||
                       std::holds_alternative<EvictionAction>(*sheet.action);
    look.style = destructive ? vask_ui::ButtonStyle::Destructive : vask_ui::ButtonStyle::Accent;
    look.hovered = pointer_ && g.confirm->contains(*pointer_);
    vask_ui::draw_button(canvas, *g.confirm, look, th);
  }
  if (pointer_ && g.close_box.contains(*pointer_)) {
    canvas.fill_rounded_rect(g.close_box, 8, th.hover);
  }
  vask_ui::icons::draw_icon(canvas, vask_ui::icons::Icon::Close, g.close_icon, th.text_secondary,
                            1.5f);
}

void FileExplorerWidget::draw_drag_feedback(vask_ui::Canvas& canvas) {
  const auto& th = theme();
  if (hovered_drop_) {
    canvas.fill_rounded_rect(hovered_drop_->rect, 8, th.accent.with_alpha(0.25f));
    canvas.stroke_rounded_rect(hovered_drop_->rect, 8, th.accent, 1.5f);
  }
  if (!pointer_) return;
  std::string label;
  if (drag_->paths.size() > 1) {
    label = i18n::t_args("files-drag-items", {{"count", i18n::count(drag_->paths.size())}});
  } else {
    const auto& path = drag_->paths.front();
    label = path.has_filename() ? path.filename().string() : path.string();
  }
  vask_ui::TextStyle style{th.font_size, vask_ui::FontWeight::Medium};
  auto m = vask_ui::TextRenderer::shared().measure(label, style);
  float height = std::max(m.height + 2 * th.spacing_small, 30.0f);
  Rect ghost = Rect::from_xywh(pointer_->x + 14, pointer_->y + 6, m.width + 44, height);
  vask_ui::surface::draw_panel(canvas, ghost, vask_ui::chrome::shell::panel_shadow(th));
  std::error_code ec;
  bool first_is_dir =
      drag_->single_folder || std::filesystem::is_directory(drag_->paths.front(), ec);
  Rect icon = Rect::from_xywh(ghost.x0 + 10, ghost.center().y - 8, 16, 16);
  vask_ui::icons::draw_icon(canvas,
                            vask_ui::icons::icon_for_path(drag_->paths.front(), first_is_dir), icon,
                            th.icon, 1.6f);
  canvas.draw_text(label, style, {ghost.x0 + 34, ghost.center().y - m.height / 2}, th.text);
}

EventResult FileExplorerWidget::handle_sheet_event(const vask_ui::Event& event) {
  auto g = SheetGeometry::compute(*sheet_, window_size_);
  if (const auto* release = std::get_if<vask_ui::PointerRelease>(&event);
      release != nullptr && release->button == vask_ui::PointerButton::Primary) {
    if (g.confirm && g.confirm->contains(release->position) && sheet_->action) {
      auto command = action_command(*sheet_->action);
      close_sheet();
      execute(command);
    } else if (!g.card.contains(release->position) || g.close_box.contains(release->position)) {
      close_sheet();
    }
    return EventResult::Handled;
  }
  if (const auto* key = std::get_if<vask_ui::KeyPress>(&event)) {
    if (key->key == vask_ui::Key::Enter && sheet_->action) {
      auto command = action_command(*sheet_->action);
      close_sheet();
      execute(command);
    } else if (key->key == vask_ui::Key::Escape) {
      close_sheet();
    }
  }
  return EventResult::Handled;
}

vask_ui::AccessNode FileExplorerWidget::accessibility() const {
  using vask_ui::AccessNode;
  using vask_ui::AccessRole;
  if (sheet_) {
    const Sheet& sheet = *sheet_;
    auto g = SheetGeometry::compute(sheet, window_size_);
    AccessNode dialog;
    dialog.role = AccessRole::Dialog;
    dialog.name = sheet.title;
    dialog.description = i18n::t_args("files-a11y-dialog-close", {{"summary", sheet.summary}});
    std::string value;
    for (std::size_t i = 0; i < sheet.details.size(); ++i) {
      if (i > 0) value += ". ";
      value += sheet.details[i];
    }
    dialog.value = value;
    dialog.bounds = g.card;
    dialog.requests_focus = sheet_focus_request_;
    dialog.children.push_back({.role = AccessRole::StaticText, .name = sheet.title});
    dialog.children.push_back({.role = AccessRole::StaticText, .name = sheet.summary});
    for (const auto& line : sheet.details)
      dialog.children.push_back({.role = AccessRole::StaticText, .name = line});
    if (sheet.action && g.confirm) {
      dialog.children.push_back({.role = AccessRole::Button,
                                 .name = i18n::t(action_label_id(*sheet.action)),
                                 .description = i18n::t(action_description_id(*sheet.action)),
                                 .bounds = *g.confirm});
    }
    return dialog;
  }
  AccessNode window;
  window.role = AccessRole::Window;
  window.name = i18n::t("files-a11y-activity");
  const std::string folder = state_.current_folder().string();
  window.description = i18n::t_args("files-a11y-current-folder", {{"path", folder}});
  window.bounds = root_;
  if (state_.load_error()) {
    window.value = i18n::t_args("files-a11y-load-error", {{"error", *state_.load_error()}});
    window.states.error = true;
  } else if (state_.loading()) {
    window.value = i18n::t_args("files-loading-folder", {{"path", folder}});
  } else if (!state_.entries().empty()) {
    window.value = status_text();
  } else {
    window.value = i18n::t(state_.in_trash() ? "files-empty-trash" : "files-empty-folder");
  }
  // The places sidebar (while it is shown) and the toolbar with its path bar describe
  // themselves; the content below them is the window's own.
  for (AccessNode& part : nav_shell_.accessibility().children) {
    if (part.role == AccessRole::Navigation) window.children.push_back(std::move(part));
  }
  window.children.push_back(toolbar_.accessibility());
  if (shown_panel_ == Panel::Loading || shown_panel_ == Panel::Error) {
    AccessNode panel{.role = AccessRole::Group,
                     .name = panel_.title(),
                     .description = panel_.detail(),
                     .bounds = scroll_.viewport()};
    if (shown_panel_ == Panel::Error) {
      panel.states.error = true;
      panel.children.push_back(retry_button_.accessibility());
    }
    window.children.push_back(std::move(panel));
  } else {
    window.children.push_back(view_.accessibility());
    if (rename_ && view_.rename_rect()) window.children.push_back(rename_input_.accessibility());
  }
  if (menu_.is_open()) window.children.push_back(menu_.accessibility());
  return window;
}

std::string FileExplorerWidget::observation_json() const {
  native_observer::SnapshotInput in;
  in.directory = state_.current_folder().string();
  in.entries = state_.entries();
  in.loading = state_.loading();
  in.has_error = state_.load_error().has_value();
  in.selected = state_.selection().selected();
  in.primary = state_.selection().primary();
  in.offset_y = scroll_.offset();
  in.last_cursor = pointer_;
  in.root_rect = root_;
  if (shown_panel_ == Panel::None && !scroll_.viewport().is_empty()) {
    in.viewport_rect = scroll_.viewport();
    in.content_rect = scroll_.content_rect();
  }
  in.view_mode = state_.view_mode();
  in.sort_by = state_.sort_key();
  in.sort_order = state_.sort_order();
  return native_observer::snapshot_json(in);
}

bool FileExplorerWidget::perform_semantic_action(const vask_ui::SemanticAction& action) {
  if (menu_.is_open() && menu_.perform_semantic_action(action)) {
    run_menu_choice(/*from_keyboard=*/true);
    return true;
  }
  if (action.target == "files-retry-folder") {
    execute(command::Refresh{});
    state_.request_redraw();
    return true;
  }
  return false;
}

}  // namespace files::app
