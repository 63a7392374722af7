#pragma once

#include <optional>
#include <string>
#include <vector>

#include "vask_ui/widgets/widget_base.h"

namespace vask_ui {

/// Whether an entry draws a check mark: none (not a check entry), ticked or unticked.
enum class CheckState { None, Ticked, Unticked };

/// A pop-up menu of entries; the logic behind ContextMenu<Command>, which adds the commands.
///
/// An entry with an empty label and no command is a separator; one with a label but no
/// command is shown inactive. The menu places itself at `open_at` (flipped and moved to stay
/// inside the bounds) or beside an entry of another menu (`open_beside`, for submenus), and
/// closes when an entry is chosen, on a press outside it, or on Escape. While open it takes
/// every event: Up/Down (wrapping), Home/End, Enter/Space, Right on a submenu entry, a
/// letter jumps to the next entry starting with it; the pointer highlights entries and chooses
/// one on release (after a press or a move inside the menu, so the release of the click that
/// opened it chooses nothing). It draws in `draw_overlay`.
class ContextMenuBase : public WidgetBase {
 public:
  struct Entry {
    std::string label;
    bool has_command = false;
    CheckState check = CheckState::None;
    bool submenu = false;
    bool is_separator() const { return label.empty() && !has_command; }
    bool is_active() const { return has_command; }
  };

  /// Removes every entry and closes the menu.
  void clear();
  std::size_t size() const { return entries_.size(); }
  const Entry& entry(std::size_t index) const { return entries_.at(index); }

  /// Opens with the top-left corner at `anchor`, inside `bounds` (the window).
  void open_at(Point anchor, Rect bounds);
  /// Opens inside the window size seen at the last frame.
  void open_at(Point anchor);
  /// Opens as a submenu beside `item` (an entry rectangle of another menu): to its right, or
  /// to its left when there is no room.
  void open_beside(Rect item, Rect bounds);
  void close();
  bool is_open() const { return open_; }

  Rect rect() const { return open_ ? rect_ : Rect{}; }
  /// The entry under `position` (separators included), when the menu is open.
  std::optional<std::size_t> item_at(Point position) const;
  Rect item_rect(std::size_t index) const;
  std::optional<std::size_t> highlighted() const { return highlighted_; }
  /// Highlights the first active entry (menus opened from the keyboard start there).
  void highlight_first();
  /// The chosen entry's index, once.
  std::optional<std::size_t> take_chosen_index();

  LayoutNode build_layout(Size available) override;
  void apply_layout(const LayoutResult& layout) override;
  void draw(Canvas& canvas) override;
  void draw_overlay(Canvas& canvas) override;
  EventResult handle_event(const Event& event) override;
  AccessNode accessibility() const override;
  bool perform_semantic_action(const SemanticAction& action) override;
  bool accepts_focus() const override { return open_; }

 protected:
  ContextMenuBase() = default;
  void push_entry(std::string label, bool has_command, CheckState check, bool submenu);
  virtual void clear_commands() {}

 private:
  Size measure() const;
  void place(Rect rect);
  void choose(std::size_t index);
  void set_highlight(std::optional<std::size_t> index);
  std::optional<std::size_t> step(std::optional<std::size_t> from, int direction) const;
  EventResult handle_key(const KeyPress& key);
  void scroll_by(float dy);
  float content_height() const;
  float item_top(std::size_t index) const;
  bool has_checks() const;
  bool has_submenus() const;
  std::string item_action(std::size_t index) const;

  std::vector<Entry> entries_;
  bool open_ = false;
  Rect rect_;
  float scroll_ = 0;
  std::optional<std::size_t> highlighted_;
  std::optional<std::size_t> chosen_;
  Point opened_at_;
  bool armed_ = false;
};

/// A menu whose entries carry commands of the owner's type (an enum, a tagged union, an id):
/// the menu only says which one was chosen.
template <class Command>
class ContextMenu final : public ContextMenuBase {
 public:
  /// An entry; without a command it is inactive, and with an empty label too a separator.
  void push(std::string label, std::optional<Command> command,
            CheckState check = CheckState::None) {
    bool has = command.has_value();
    commands_.push_back(std::move(command));
    push_entry(std::move(label), has, check, false);
  }
  void push_separator() { push({}, std::nullopt); }
  /// An entry that opens a submenu beside itself (drawn with a chevron).
  void push_submenu(std::string label, std::optional<Command> command) {
    bool has = command.has_value();
    commands_.push_back(std::move(command));
    push_entry(std::move(label), has, CheckState::None, true);
  }
  const std::optional<Command>& command(std::size_t index) const { return commands_.at(index); }
  /// The chosen entry's command, once.
  std::optional<Command> take_chosen() {
    auto index = take_chosen_index();
    if (!index || *index >= commands_.size()) return std::nullopt;
    return commands_[*index];
  }

 private:
  void clear_commands() override { commands_.clear(); }
  std::vector<std::optional<Command>> commands_;
};

}  // namespace vask_ui
