#include "automation_input.h"

#include <array>
#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>
#include <utility>

namespace vask_ui::automation {
namespace {

using nlohmann::json;
using Error = std::string;

// Far outside any window, but small enough that a float keeps it exact enough for hit tests.
constexpr double kMaxCoordinate = 1e6;

constexpr std::array<std::pair<std::string_view, Key>, 28> kKeyNames = {{
    {"enter", Key::Enter},    {"escape", Key::Escape},
    {"tab", Key::Tab},        {"backspace", Key::Backspace},
    {"delete", Key::Delete},  {"space", Key::Space},
    {"left", Key::Left},      {"right", Key::Right},
    {"up", Key::Up},          {"down", Key::Down},
    {"home", Key::Home},      {"end", Key::End},
    {"page_up", Key::PageUp}, {"page_down", Key::PageDown},
    {"insert", Key::Insert},  {"menu", Key::Menu},
    {"f1", Key::F1},          {"f2", Key::F2},
    {"f3", Key::F3},          {"f4", Key::F4},
    {"f5", Key::F5},          {"f6", Key::F6},
    {"f7", Key::F7},          {"f8", Key::F8},
    {"f9", Key::F9},          {"f10", Key::F10},
    {"f11", Key::F11},        {"f12", Key::F12},
}};

std::expected<float, Error> coordinate(const json& event, const char* name, bool required) {
  auto it = event.find(name);
  if (it == event.end()) {
    if (required) return std::unexpected(std::string("missing \"") + name + "\"");
    return 0.0f;
  }
  if (!it->is_number()) return std::unexpected(std::string("\"") + name + "\" must be a number");
  double value = it->get<double>();
  if (!std::isfinite(value) || std::fabs(value) > kMaxCoordinate) {
    return std::unexpected(std::string("\"") + name + "\" is out of range");
  }
  return static_cast<float>(value);
}

std::expected<Point, Error> position(const json& event) {
  auto x = coordinate(event, "x", true);
  if (!x) return std::unexpected(x.error());
  auto y = coordinate(event, "y", true);
  if (!y) return std::unexpected(y.error());
  return Point{*x, *y};
}

std::expected<Modifiers, Error> modifiers(const json& event) {
  Modifiers out;
  auto it = event.find("modifiers");
  if (it == event.end()) return out;
  if (!it->is_array()) return std::unexpected("\"modifiers\" must be an array of names");
  for (const json& name : *it) {
    std::string_view text = name.is_string() ? name.get_ref<const std::string&>() : "";
    if (text == "shift") {
      out.shift = true;
    } else if (text == "primary" || text == "ctrl" || text == "control") {
      out.primary = true;
    } else if (text == "alt") {
      out.alt = true;
    } else {
      return std::unexpected("unknown modifier " + name.dump());
    }
  }
  return out;
}

std::expected<PointerButton, Error> button(const json& event) {
  auto it = event.find("button");
  if (it == event.end()) return PointerButton::Primary;
  std::string_view name = it->is_string() ? it->get_ref<const std::string&>() : "";
  if (name == "primary") return PointerButton::Primary;
  if (name == "secondary") return PointerButton::Secondary;
  if (name == "middle") return PointerButton::Middle;
  return std::unexpected("unknown button " + it->dump());
}

std::expected<std::string, Error> text_member(const json& event, const char* name, bool required) {
  auto it = event.find(name);
  if (it == event.end()) {
    if (required) return std::unexpected(std::string("missing \"") + name + "\"");
    return std::string();
  }
  if (!it->is_string()) return std::unexpected(std::string("\"") + name + "\" must be a text");
  return it->get<std::string>();
}

/// Whether `text` (valid UTF-8, as the JSON reader guarantees) is exactly one code point.
bool is_single_code_point(std::string_view text) {
  if (text.empty()) return false;
  auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 4;
  return text.size() == length;
}

/// The key as the window reports a real one: a named key, or a printable character whose
/// letter is upper-case only with Shift and without the primary modifier.
template <typename KeyEvent>
std::expected<KeyEvent, Error> key_event(const json& event) {
  auto name = text_member(event, "key", true);
  if (!name) return std::unexpected(name.error());
  auto mods = modifiers(event);
  if (!mods) return std::unexpected(mods.error());
  KeyEvent out;
  out.modifiers = *mods;
  bool named = false;
  for (const auto& [key_name, key] : kKeyNames) {
    if (*name == key_name) {
      out.key = key;
      named = true;
    }
  }
  if (named) {
    if (out.key == Key::Space) out.text = " ";
  } else if (is_single_code_point(*name)) {
    out.key = Key::Character;
    out.text = *name;
    char& c = out.text[0];
    if (c >= 'a' && c <= 'z' && out.modifiers.shift && !out.modifiers.primary)
      c = static_cast<char>(c - 'a' + 'A');
  } else {
    return std::unexpected("unknown key \"" + *name + "\"");
  }
  if (event.contains("text")) {
    auto text = text_member(event, "text", false);
    if (!text) return std::unexpected(text.error());
    out.text = *text;
  }
  return out;
}

std::expected<bool, Error> repeat_flag(const json& event) {
  auto it = event.find("repeat");
  if (it == event.end()) return false;
  if (!it->is_boolean()) return std::unexpected("\"repeat\" must be true or false");
  return it->get<bool>();
}

std::expected<std::vector<Event>, Error> parse_one(const json& event) {
  if (!event.is_object()) return std::unexpected("an event is a JSON object");
  auto type = text_member(event, "type", true);
  if (!type) return std::unexpected(type.error());
  auto mods = modifiers(event);
  if (!mods) return std::unexpected(mods.error());

  if (*type == "pointer_move" || *type == "pointer_press" || *type == "pointer_release" ||
      *type == "click") {
    auto at = position(event);
    if (!at) return std::unexpected(at.error());
    if (*type == "pointer_move") return std::vector<Event>{PointerMove{*at, *mods}};
    auto which = button(event);
    if (!which) return std::unexpected(which.error());
    if (*type == "pointer_press") return std::vector<Event>{PointerPress{*at, *which, *mods}};
    if (*type == "pointer_release") return std::vector<Event>{PointerRelease{*at, *which, *mods}};
    int count = 1;
    if (auto it = event.find("count"); it != event.end()) {
      if (!it->is_number_integer() || it->get<long long>() < 1 || it->get<long long>() > 3) {
        return std::unexpected("\"count\" must be 1, 2 or 3");
      }
      count = it->get<int>();
    }
    std::vector<Event> out{PointerMove{*at, *mods}};
    for (int i = 0; i < count; ++i) {
      out.emplace_back(PointerPress{*at, *which, *mods});
      out.emplace_back(PointerRelease{*at, *which, *mods});
    }
    return out;
  }
  if (*type == "pointer_leave") return std::vector<Event>{PointerLeave{}};
  if (*type == "wheel") {
    auto at = position(event);
    if (!at) return std::unexpected(at.error());
    Wheel wheel;
    wheel.position = *at;
    wheel.modifiers = *mods;
    auto dx = coordinate(event, "dx", false);
    if (!dx) return std::unexpected(dx.error());
    auto dy = coordinate(event, "dy", false);
    if (!dy) return std::unexpected(dy.error());
    wheel.dx = *dx;
    wheel.dy = *dy;
    auto unit = text_member(event, "unit", false);
    if (!unit) return std::unexpected(unit.error());
    if (*unit == "pixels") {
      wheel.unit = WheelUnit::Pixels;
    } else if (!unit->empty() && *unit != "lines") {
      return std::unexpected("\"unit\" must be \"lines\" or \"pixels\"");
    }
    return std::vector<Event>{wheel};
  }
  if (*type == "key_press" || *type == "key") {
    auto press = key_event<KeyPress>(event);
    if (!press) return std::unexpected(press.error());
    auto repeat = repeat_flag(event);
    if (!repeat) return std::unexpected(repeat.error());
    press->repeat = *repeat;
    if (*type == "key_press") return std::vector<Event>{*press};
    return std::vector<Event>{*press, KeyRelease{press->key, press->text, press->modifiers}};
  }
  if (*type == "key_release") {
    auto release = key_event<KeyRelease>(event);
    if (!release) return std::unexpected(release.error());
    return std::vector<Event>{*release};
  }
  if (*type == "text" || *type == "preedit") {
    auto text = text_member(event, "text", *type == "text");
    if (!text) return std::unexpected(text.error());
    if (*type == "text") return std::vector<Event>{TextCommit{*text}};
    int cursor = 0;
    if (auto it = event.find("cursor"); it != event.end()) {
      if (!it->is_number_integer() || it->get<long long>() < 0 ||
          it->get<long long>() > static_cast<long long>(text->size())) {
        return std::unexpected("\"cursor\" must be a position inside the text");
      }
      cursor = it->get<int>();
    }
    return std::vector<Event>{Preedit{*text, cursor}};
  }
  return std::unexpected("unknown event type \"" + *type + "\"");
}

}  // namespace

std::expected<std::vector<std::vector<Event>>, std::string> parse_input_events(const json& events) {
  if (!events.is_array()) return std::unexpected("\"events\" must be an array");
  std::vector<std::vector<Event>> out;
  out.reserve(events.size());
  for (std::size_t i = 0; i < events.size(); ++i) {
    auto one = parse_one(events[i]);
    if (!one) return std::unexpected("event " + std::to_string(i) + ": " + one.error());
    out.push_back(std::move(*one));
  }
  return out;
}

}  // namespace vask_ui::automation
