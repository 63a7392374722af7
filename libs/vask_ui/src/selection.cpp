#include "vask_ui/selection.h"

#include <algorithm>

namespace vask_ui {

void SelectionModel::set(std::size_t index, bool on) {
  if (index >= bits_.size()) {
    if (!on) return;
    bits_.resize(index + 1, false);
  }
  if (bits_[index] == on) return;
  bits_[index] = on;
  count_ = on ? count_ + 1 : count_ - 1;
}

void SelectionModel::select_range(std::size_t from, std::size_t to) {
  if (from > to) std::swap(from, to);
  if (to >= bits_.size()) bits_.resize(to + 1, false);
  for (std::size_t i = from; i <= to; ++i)
    set(i, true);
}

void SelectionModel::apply_click(std::size_t index, ClickMode mode) {
  if (mode.range && anchor_) {
    if (!mode.toggle) {
      bits_.assign(bits_.size(), false);
      count_ = 0;
    }
    select_range(*anchor_, index);
    primary_ = index;
    return;
  }
  if (mode.toggle) {
    toggle(index);
    return;
  }
  select_only(index);
}

void SelectionModel::move_to(std::size_t index, MoveMode mode) {
  apply_click(index, {.range = mode == MoveMode::Extend});
}

void SelectionModel::select_only(std::size_t index) {
  bits_.assign(bits_.size(), false);
  count_ = 0;
  set(index, true);
  anchor_ = index;
  primary_ = index;
}

void SelectionModel::select_all(std::size_t count) {
  bits_.assign(count, true);
  count_ = count;
  if (primary_ && *primary_ >= count) primary_.reset();
  if (anchor_ && *anchor_ >= count) anchor_.reset();
}

void SelectionModel::toggle(std::size_t index) {
  set(index, !is_selected(index));
  anchor_ = index;
  primary_ = index;
}

void SelectionModel::add(std::size_t index) {
  set(index, true);
}

void SelectionModel::clear() {
  bits_.clear();
  count_ = 0;
  anchor_.reset();
  primary_.reset();
}

void SelectionModel::clamp_to(std::size_t count) {
  if (bits_.size() > count) {
    bits_.resize(count);
    count_ = static_cast<std::size_t>(std::count(bits_.begin(), bits_.end(), true));
  }
  if (primary_ && *primary_ >= count) primary_.reset();
  if (anchor_ && *anchor_ >= count) anchor_.reset();
}

bool SelectionModel::is_selected(std::size_t index) const {
  return index < bits_.size() && bits_[index];
}

std::vector<std::size_t> SelectionModel::selected() const {
  std::vector<std::size_t> out;
  out.reserve(count_);
  for (std::size_t i = 0; i < bits_.size(); ++i) {
    if (bits_[i]) out.push_back(i);
  }
  return out;
}

bool operator==(const SelectionModel& a, const SelectionModel& b) {
  return a.count_ == b.count_ && a.anchor_ == b.anchor_ && a.primary_ == b.primary_ &&
         a.selected() == b.selected();
}

}  // namespace vask_ui
