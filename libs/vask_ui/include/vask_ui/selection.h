#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "vask_ui/event.h"

/// Which items of a list are selected, by index in view order, with the anchor that Shift
/// ranges start from and the primary (keyboard focus) item.
namespace vask_ui {

/// How a click changes the selection: `toggle` (Primary held) flips one item, `range` (Shift
/// held) selects from the anchor to the item; both together add the range.
struct ClickMode {
  bool toggle = false;
  bool range = false;
  static ClickMode from(const Modifiers& modifiers) {
    return {.toggle = modifiers.primary, .range = modifiers.shift};
  }
};

enum class MoveMode { Replace, Extend };

class SelectionModel {
 public:
  /// A click on `index`. A plain click selects only it; toggle flips it and makes it the
  /// anchor; range selects anchor..index (replacing the selection unless toggle is also set)
  /// and keeps the anchor. Without an anchor a range click acts like a plain click.
  void apply_click(std::size_t index, ClickMode mode);
  /// Keyboard movement to `index`: Replace selects only it; Extend selects anchor..index.
  void move_to(std::size_t index, MoveMode mode);
  void select_only(std::size_t index);
  /// Selects 0..count-1; the primary item and anchor stay (dropped when beyond count).
  void select_all(std::size_t count);
  /// Flips one item; it becomes the anchor and the primary item.
  void toggle(std::size_t index);
  /// Selects `index` without moving the anchor or the primary item (restoring a selection).
  void add(std::size_t index);
  void clear();
  /// Forgets every index at or beyond `count` (after the list shrank).
  void clamp_to(std::size_t count);

  bool is_selected(std::size_t index) const;
  /// The selected indices in ascending (view) order.
  std::vector<std::size_t> selected() const;
  std::size_t count() const { return count_; }
  bool empty() const { return count_ == 0; }
  /// The focused item: the last clicked or moved-to one; absent after `clear`.
  std::optional<std::size_t> primary() const { return primary_; }
  void set_primary(std::optional<std::size_t> index) { primary_ = index; }
  std::optional<std::size_t> anchor() const { return anchor_; }

  friend bool operator==(const SelectionModel&, const SelectionModel&);

 private:
  void set(std::size_t index, bool on);
  void select_range(std::size_t from, std::size_t to);

  std::vector<bool> bits_;
  std::size_t count_ = 0;
  std::optional<std::size_t> anchor_;
  std::optional<std::size_t> primary_;
};

}  // namespace vask_ui
