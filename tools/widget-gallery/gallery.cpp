#include "gallery.h"

#include "vask_ui/text.h"

namespace gallery {

using namespace vask_ui;

namespace {

constexpr float kColumnWidth = 332;
constexpr float kX[] = {16, 364, 712, 1060};
constexpr float kTitleHeight = 30;

Rect panel(int column, float y, float height) {
  return Rect::from_xywh(kX[column], y, kColumnWidth, height);
}

/// Where a panel's content starts.
Point inside(const Rect& r) {
  return {r.x0 + 12, r.y0 + kTitleHeight + 6};
}

Rect at(Point p, float w = 0, float h = 0) {
  return Rect::from_xywh(p.x, p.y, w, h);
}

std::unique_ptr<Button> button(std::string label, std::optional<icons::Icon> icon = std::nullopt,
                               ButtonStyle style = ButtonStyle::Standard) {
  auto b = std::make_unique<Button>(std::move(label), icon);
  b->set_style(style);
  return b;
}

std::unique_ptr<Column> text_rows(int count, const char* prefix) {
  auto column = std::make_unique<Column>();
  column->style().padding = Insets::symmetric(12, 8);
  column->style().gap = 10;
  for (int i = 1; i <= count; ++i) {
    column->add(std::make_unique<Text>(std::string(prefix) + " " + std::to_string(i)));
  }
  return column;
}

std::unique_ptr<Column> sidebar_rows() {
  auto column = std::make_unique<Column>();
  column->style().padding = Insets::all(12);
  column->style().gap = 12;
  auto header = std::make_unique<Text>("Favourites", TextStyle{11.5f, FontWeight::Semibold},
                                       TextTone::Secondary);
  column->add(std::move(header));
  for (const char* place : {"Home", "Documents", "Downloads", "Trash"})
    column->add(std::make_unique<Text>(place));
  return column;
}

std::vector<Suggestion> path_suggestions(std::string_view) {
  return {{"Documents", "~/Documents/", icons::Icon::Documents},
          {"Downloads", "~/Downloads/", icons::Icon::Downloads},
          {"Dotfiles backup.tar.gz", "~/Dotfiles backup.tar.gz", icons::Icon::FileArchive},
          {"Double-entry ledger.ods", "~/Double-entry ledger.ods", icons::Icon::FileSpreadsheet},
          {"Downtown walk.mp4", "~/Downtown walk.mp4", icons::Icon::FileVideo}};
}

}  // namespace

Gallery::Gallery() {
  build();
}

Widget& Gallery::place(std::unique_ptr<Widget> widget, Rect rect) {
  Widget& ref = *widget;
  placed_.push_back({&ref, rect});
  owned_.push_back(std::move(widget));
  return ref;
}

void Gallery::build() {
  // Buttons in their looks and states.
  Rect buttons = panel(0, 16, 262);
  panels_.push_back({"Button: looks and states", buttons});
  Point p = inside(buttons);
  hovered_ = &add(button("Try Again"), at(p));
  add(button("Extract Here", std::nullopt, ButtonStyle::Accent), at({p.x + 100, p.y}));
  add(button("Delete", icons::Icon::Trash, ButtonStyle::Destructive), at({p.x + 214, p.y}));
  p.y += 46;
  auto sort = button("Sort by", icons::Icon::Sort, ButtonStyle::Flat);
  sort->set_fixed_size(Size{104, 32});
  add(std::move(sort), at(p));
  struct IconButton {
    icons::Icon icon;
    float x;
    const char* name;
  };
  for (auto [icon, x, name] : {IconButton{icons::Icon::Back, 116, "Back"},
                               IconButton{icons::Icon::Forward, 156, "Forward"},
                               IconButton{icons::Icon::Up, 196, "Up one folder"}}) {
    auto b = button({}, icon, ButtonStyle::Flat);
    b->set_accessible_name(name);
    b->set_fixed_size(Size{36, 32});
    Button& placed = add(std::move(b), at({p.x + x, p.y}));
    if (icon == icons::Icon::Forward) placed.set_enabled(false);
    if (icon == icons::Icon::Up) pressed_ = &placed;
  }
  auto view = button({}, icons::Icon::ViewOptions, ButtonStyle::Flat);
  view->set_fixed_size(Size{36, 32});
  view->set_accessible_name("View options");
  view->set_control_id("gallery.view_menu");
  add(std::move(view), at({p.x + 236, p.y}));
  p.y += 46;
  focused_ = &add(button("Open", icons::Icon::Folder), at(p));
  auto disabled = button("Rename");
  disabled->set_enabled(false);
  add(std::move(disabled), at({p.x + 104, p.y}));
  add(button("A label far too long for its button"), at({p.x + 196, p.y}, 112, 32));
  p.y += 50;
  add(std::make_unique<Text>("Hovered · disabled · pressed · keyboard focus", TextStyle{11.5f},
                             TextTone::Secondary),
      at(p, 300, 16));

  // Segmented controls.
  Rect toggles = panel(0, 290, 160);
  panels_.push_back({"ToggleGroup", toggles});
  p = inside(toggles);
  add(std::make_unique<ToggleGroup>(std::vector<std::string>{"List", "Grid"}), at(p));
  hovered_toggle_ =
      &add(std::make_unique<ToggleGroup>(std::vector<std::string>{"Name", "Size", "Type"}, 0),
           at({p.x, p.y + 44}));
  auto disabled_toggle = std::make_unique<ToggleGroup>(std::vector<std::string>{"On", "Off"}, 1);
  disabled_toggle->set_enabled(false);
  add(std::move(disabled_toggle), at({p.x, p.y + 88}));

  // Spinner and text.
  Rect texts = panel(0, 462, 262);
  panels_.push_back({"Spinner (static) and Text", texts});
  p = inside(texts);
  auto spinner = std::make_unique<Spinner>(28);
  spinner->set_static(true);
  add(std::move(spinner), at(p));
  auto small = std::make_unique<Spinner>(16);
  small->set_static(true);
  add(std::move(small), at({p.x + 44, p.y + 6}));
  auto wrapped = std::make_unique<Text>(
      "Text wraps at spaces over at most three lines and shortens the last one when words "
      "remain, as this sentence is long enough to show, and it goes on a little further.");
  wrapped->set_overflow(TextOverflow::Wrap, 3);
  add(std::move(wrapped), at({p.x, p.y + 44}, 306, 54));
  auto middle = std::make_unique<Text>("/home/ada/Projects/2026/Quarterly review/slides-final.pdf");
  middle->set_overflow(TextOverflow::ElideMiddle);
  add(std::move(middle), at({p.x, p.y + 110}, 306, 18));
  auto heading =
      std::make_unique<Text>("Couldn’t open this folder", TextStyle{16, FontWeight::Semibold});
  add(std::move(heading), at({p.x, p.y + 140}, 306, 22));
  add(std::make_unique<Text>("Secondary · accent · danger", TextStyle{13}, TextTone::Secondary),
      at({p.x, p.y + 170}, 306, 18));

  // Text fields.
  Rect fields = panel(1, 16, 290);
  panels_.push_back({"TextInput", fields});
  p = inside(fields);
  auto empty = std::make_unique<TextInput>();
  empty->set_placeholder("Type a path, e.g. ~/Documents");
  add(std::move(empty), at(p, 308, 32));
  auto caret = std::make_unique<TextInput>();
  caret->set_text("meeting-notes.txt");
  caret_field_ = &add(std::move(caret), at({p.x, p.y + 44}, 308, 32));
  auto selection = std::make_unique<TextInput>();
  selection->set_text("Quarterly report.pdf");
  selecting_ = &add(std::move(selection), at({p.x, p.y + 88}, 308, 32));
  auto composing = std::make_unique<TextInput>();
  composing_ = &add(std::move(composing), at({p.x, p.y + 132}, 308, 32));
  auto long_text = std::make_unique<TextInput>();
  long_ = &add(std::move(long_text), at({p.x, p.y + 176}, 308, 32));
  add(std::make_unique<Text>("Placeholder · focused · selection · pre-edit · scrolled",
                             TextStyle{11.5f}, TextTone::Secondary),
      at({p.x, p.y + 220}, 308, 16));

  // Path completion.
  Rect completion = panel(1, 318, 262);
  panels_.push_back({"Autocomplete", completion});
  auto complete = std::make_unique<Autocomplete>();
  complete->set_source(&path_suggestions);
  complete->input().set_placeholder("Type a path");
  completing_ = &add(std::move(complete), at(inside(completion), 308, 32));

  // Selection model.
  Rect selection_panel = panel(1, 592, 300);
  panels_.push_back({"SelectionModel: click, Primary+click, Shift+click", selection_panel});
  selection_rect_ =
      Rect::from_xywh(selection_panel.x0 + 12, selection_panel.y0 + kTitleHeight + 6, 308, 34 * 7);

  // Menus: drawn as overlays from the gallery itself, across two columns for the submenu.
  Rect menus{kX[2], 16, kX[3] + kColumnWidth, 356};
  panels_.push_back({"ContextMenu with a submenu", menus});
  menu_panel_ = menus;
  menu_.push("Open", 1);
  menu_.push("Rename…", 2);
  menu_.push_separator();
  menu_.push("Cut", 3);
  menu_.push("Copy", 4);
  menu_.push("Pinned by parent folder", std::nullopt);
  menu_.push_separator();
  menu_.push_submenu("New File", 5);
  menu_.push("Show Hidden Files", 6, CheckState::Ticked);
  menu_.push("Sort by Size", 7, CheckState::Unticked);
  menu_.push_separator();
  menu_.push("Open Terminal Here", 8);
  submenu_.push("Text document", 11);
  submenu_.push("Spreadsheet", 12);
  submenu_.push("Presentation", 13);

  Rect bubble = panel(2, 368, 110);
  panels_.push_back({"StatusBubble pill", bubble});
  bubble_rect_ = bubble;

  Rect loading = panel(2, 490, 200);
  panels_.push_back({"EmptyState: loading", loading});
  auto loading_state =
      std::make_unique<EmptyState>("Opening folder", "…/Pictures/Camera Roll/2026");
  auto loading_spinner = std::make_unique<Spinner>(28);
  loading_spinner->set_static(true);
  loading_state->set_accessory(std::move(loading_spinner));
  add(std::move(loading_state),
      Rect{loading.x0 + 1, loading.y0 + kTitleHeight, loading.x1 - 1, loading.y1 - 1});

  Rect error = panel(3, 368, 220);
  panels_.push_back({"EmptyState: error with action", error});
  auto error_state = std::make_unique<EmptyState>("Couldn’t open this folder",
                                                  "Permission denied · /root/private");
  error_state->set_action(button("Try Again"));
  error_state->set_error(true);
  add(std::move(error_state),
      Rect{error.x0 + 1, error.y0 + kTitleHeight, error.x1 - 1, error.y1 - 1});

  Rect scroll = panel(3, 600, 200);
  panels_.push_back({"Scrollable (scrolled, with bar)", scroll});
  scrolled_ = &add(std::make_unique<Scrollable>("gallery", text_rows(30, "Row")),
                   Rect{scroll.x0 + 1, scroll.y0 + kTitleHeight, scroll.x1 - 1, scroll.y1 - 1});

  Rect docked = panel(2, 702, 190);
  panels_.push_back({"NavShell: sidebar beside", docked});
  auto shell = std::make_unique<NavShell>(sidebar_rows(), text_rows(5, "Item"));
  shell->set_sidebar_width(120);
  shell->set_collapse_width(200);
  add(std::move(shell),
      Rect{docked.x0 + 1, docked.y0 + kTitleHeight, docked.x1 - 1, docked.y1 - 1});

  Rect collapsed = panel(3, 812, 190);
  panels_.push_back({"NavShell: collapsed, sidebar over", collapsed});
  auto narrow = std::make_unique<NavShell>(sidebar_rows(), text_rows(5, "Item"));
  narrow->set_sidebar_width(150);
  overlay_shell_ = &add(std::move(narrow), Rect{collapsed.x0 + 1, collapsed.y0 + kTitleHeight,
                                                collapsed.x1 - 1, collapsed.y1 - 1});
}

std::vector<Widget*> Gallery::children() const {
  std::vector<Widget*> out;
  for (const Placed& p : placed_)
    out.push_back(p.widget);
  return out;
}

void Gallery::stage() {
  Point c = hovered_->rect().center();
  hovered_->handle_event(PointerMove{c, {}});
  c = pressed_->rect().center();
  pressed_->handle_event(PointerMove{c, {}});
  pressed_->handle_event(PointerPress{c, PointerButton::Primary, {}});
  focused_->focus_changed(true);
  c = hovered_toggle_->segment_rect(2).center();
  hovered_toggle_->handle_event(PointerMove{c, {}});

  caret_field_->focus_changed(true);
  selecting_->set_selection(0, 16);
  composing_->focus_changed(true);
  composing_->handle_event(TextCommit{"Trip to "});
  composing_->handle_event(Preedit{"とうきょう", 15});
  long_->set_text(
      "/home/ada/Projects/2026/Quarterly review/Board presentation/slides-final-v3.pdf");

  completing_->open("~/Do");
  completing_->handle_event(KeyPress{.key = Key::Down});
  completing_->handle_event(KeyPress{.key = Key::Down});

  menu_.open_at({menu_panel_.x0 + 16, menu_panel_.y0 + kTitleHeight + 4},
                Rect{0, 0, window_size().width, window_size().height});
  Point rename = menu_.item_rect(1).center();
  menu_.handle_event(PointerMove{rename, {}});
  submenu_.open_beside(menu_.item_rect(7), Rect{0, 0, window_size().width, window_size().height});
  submenu_.highlight_first();

  overlay_shell_->set_collapse_width(640);
  overlay_shell_->set_sidebar_open(true);
  scrolled_->set_offset(260);

  selection_.apply_click(1, {});
  selection_.apply_click(3, {.toggle = true});
  selection_.apply_click(5, {.toggle = true, .range = true});
  // Last, because the synthetic presses above count as pointer use, which hides focus rings.
  focus_visibility::set(true);
  mark_dirty();
}

LayoutNode Gallery::build_layout(Size) {
  return LayoutNode{.id = 0};
}

void Gallery::apply_layout(const LayoutResult&) {
  clear_child_rects();
  for (const Placed& p : placed_) {
    Rect rect = p.rect;
    if (rect.width() == 0 || rect.height() == 0) {
      Size size = measure_layout(p.widget->build_layout({kColumnWidth, 200}));
      rect = Rect::from_xywh(rect.x0, rect.y0, size.width, size.height);
    }
    layout_child(*p.widget, rect);
    set_child_rect(p.widget, rect);
  }
}

void Gallery::draw(Canvas& canvas) {
  const Theme& t = theme();
  menu_.sync(FrameContext{frame_time(), window_size(), 1, &t});
  submenu_.sync(FrameContext{frame_time(), window_size(), 1, &t});
  TextStyle title{12, FontWeight::Semibold};
  for (const Panel& p : panels_) {
    surface::draw_panel(canvas, p.rect, chrome::shell::edge_on(t));
    TextRenderer::shared().draw_text_in(
        canvas, p.title, title,
        Rect{p.rect.x0 + 12, p.rect.y0, p.rect.x1 - 12, p.rect.y0 + kTitleHeight},
        t.text_secondary);
  }
  // Each widget is clipped to its panel's rounded ground, as a window would clip it.
  for (const Placed& placed : placed_) {
    const Panel* home = nullptr;
    for (const Panel& p : panels_) {
      if (p.rect.contains(placed.rect.origin())) home = &p;
    }
    if (home != nullptr) canvas.push_clip_rounded(home->rect.inset(1), t.corner_radius - 1);
    placed.widget->draw(canvas);
    if (home != nullptr) canvas.pop_clip();
  }
  mark_drawn();
  draw_selection_demo(canvas);
  draw_bubble_demo(canvas);
}

void Gallery::draw_selection_demo(Canvas& canvas) const {
  const Theme& t = theme();
  TextStyle body{t.font_size};
  for (std::size_t i = 0; i < 7; ++i) {
    Rect row = Rect::from_xywh(selection_rect_.x0, selection_rect_.y0 + 34 * static_cast<float>(i),
                               selection_rect_.width(), 34);
    Rect tile = row.inset(Insets::symmetric(0, 2));
    if (selection_.is_selected(i)) {
      bool primary = selection_.primary() == i;
      canvas.fill_rounded_rect(
          tile, 6,
          chrome::shell::selection_tier(t, primary ? chrome::shell::SelectionTier::SelectedFocused
                                                   : chrome::shell::SelectionTier::Selected));
    } else if (i == 6) {
      canvas.fill_rounded_rect(
          tile, 6, chrome::shell::selection_tier(t, chrome::shell::SelectionTier::Hover));
    }
    if (selection_.primary() == i) canvas.stroke_rounded_rect(tile, 6, t.focus_ring, 2);
    icons::draw_icon(canvas, i % 3 == 0 ? icons::Icon::Folder : icons::Icon::FileText,
                     Rect::from_xywh(row.x0 + 10, row.center().y - 9, 18, 18), t.icon, 1.5f);
    std::string label = "Entry " + std::to_string(i);
    if (selection_.anchor() == i) label += "  (anchor)";
    if (selection_.primary() == i) label += "  (primary)";
    TextRenderer::shared().draw_text_in(canvas, label, body,
                                        Rect{row.x0 + 40, row.y0, row.x1 - 8, row.y1}, t.text);
  }
}

void Gallery::draw_bubble_demo(Canvas& canvas) const {
  const Theme& t = theme();
  const std::string text = "124 items  ·  3 selected";
  Size size = StatusBubble::pill_size(text, t.font_size);
  Rect inner{bubble_rect_.x0 + 12, bubble_rect_.y0 + kTitleHeight, bubble_rect_.x1 - 12,
             bubble_rect_.y1 - 12};
  Rect full = Rect::from_xywh(inner.x0, inner.y0 + 4, size.width, size.height);
  StatusBubble::draw_pill(canvas, full, text, t.font_size, t, 1);
  Size faded_size = StatusBubble::pill_size("Fading", t.font_size);
  Rect faded = Rect::from_xywh(full.x1 + 16, full.y0, faded_size.width, faded_size.height);
  StatusBubble::draw_pill(canvas, faded, "Fading", t.font_size, t, 0.45f);
}

void Gallery::draw_overlay(Canvas& canvas) {
  Container::draw_overlay(canvas);
  menu_.draw_overlay(canvas);
  submenu_.draw_overlay(canvas);
}

EventResult Gallery::handle_event(const Event& event) {
  if (submenu_.is_open() && submenu_.handle_event(event) == EventResult::Handled)
    return EventResult::Handled;
  if (menu_.is_open()) return menu_.handle_event(event);
  if (const auto* press = std::get_if<PointerPress>(&event)) {
    if (press->button == PointerButton::Secondary) {
      menu_.open_at(press->position, Rect{0, 0, window_size().width, window_size().height});
      return EventResult::Handled;
    }
  }
  return route(event);
}

AccessNode Gallery::accessibility() const {
  AccessNode node = Container::accessibility();
  node.role = AccessRole::Window;
  node.name = "Widget gallery";
  node.description = "Every ready-made widget of the toolkit";
  if (menu_.is_open()) node.children.push_back(menu_.accessibility());
  return node;
}

}  // namespace gallery
