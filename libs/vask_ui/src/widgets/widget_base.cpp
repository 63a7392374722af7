#include "vask_ui/widgets/widget_base.h"

#include <cstdint>

namespace vask_ui {

namespace focus_visibility {
namespace {
bool g_visible = false;
}  // namespace

bool visible() {
  return g_visible;
}

void note(const Event& event) {
  if (const auto* key = std::get_if<KeyPress>(&event)) {
    // Shortcuts with Primary do not move focus; every other key may.
    if (!key->modifiers.primary) g_visible = true;
  } else if (std::holds_alternative<PointerPress>(event)) {
    g_visible = false;
  }
}

void set(bool visible) {
  g_visible = visible;
}

}  // namespace focus_visibility

std::string WidgetBase::instance_id(std::string_view prefix) const {
  std::string id(prefix);
  id += std::to_string(reinterpret_cast<std::uintptr_t>(this));
  return id;
}

void WidgetBase::sync(const FrameContext& frame) {
  const Theme* theme = frame.theme != nullptr ? frame.theme : &Theme::light();
  if (theme != theme_ || frame.window_size != window_size_) mark_dirty();
  theme_ = theme;
  window_size_ = frame.window_size;
  frame_time_ = frame.now;
  on_sync(frame);
}

}  // namespace vask_ui
