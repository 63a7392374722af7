#pragma once

#include <string>
#include <variant>

#include "vask_ui/geometry.h"

/// Input as the toolkit hands it to widgets, in logical units.
namespace vask_ui {

/// Primary is Ctrl or the command (super) key, whichever the user pressed.
struct Modifiers {
  bool shift = false;
  bool primary = false;
  bool alt = false;
  friend bool operator==(const Modifiers&, const Modifiers&) = default;
};

enum class PointerButton { Primary, Secondary, Middle };

enum class Key {
  Character,  ///< a printable key; its text is in KeyPress::text
  Enter,
  Escape,
  Tab,
  Backspace,
  Delete,
  Space,
  Left,
  Right,
  Up,
  Down,
  Home,
  End,
  PageUp,
  PageDown,
  Insert,
  Menu,
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  F12,
  Other,
};

struct PointerMove {
  Point position;
  Modifiers modifiers;
};
struct PointerPress {
  Point position;
  PointerButton button = PointerButton::Primary;
  Modifiers modifiers;
};
struct PointerRelease {
  Point position;
  PointerButton button = PointerButton::Primary;
  Modifiers modifiers;
};
/// The pointer left the window.
struct PointerLeave {};

enum class WheelUnit { Lines, Pixels };
struct Wheel {
  Point position;
  WheelUnit unit = WheelUnit::Lines;
  /// Positive dy: the wheel turned away from the user, which scrolls towards the top of the
  /// content (a scroll offset decreases). Lines count three per notch.
  float dx = 0;
  float dy = 0;
  Modifiers modifiers;
};

struct KeyPress {
  Key key = Key::Other;
  /// The text the key produces (for Key::Character), lower-case letters without Shift.
  std::string text;
  Modifiers modifiers;
  bool repeat = false;
};
struct KeyRelease {
  Key key = Key::Other;
  std::string text;
  Modifiers modifiers;
};

/// Committed text from the keyboard or an input method. (Not called TextInput: that is the
/// text field widget.)
struct TextCommit {
  std::string text;
};
/// Input-method composition in progress; an empty text ends the composition.
struct Preedit {
  std::string text;
  int cursor = 0;
};

using Event = std::variant<PointerMove, PointerPress, PointerRelease, PointerLeave, Wheel, KeyPress,
                           KeyRelease, TextCommit, Preedit>;

enum class EventResult { Ignored, Handled };

}  // namespace vask_ui
