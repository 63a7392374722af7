#include <algorithm>
#include <charconv>

#include "vask_ui/launch.h"

namespace vask_ui {

std::optional<Size> parse_size(std::string_view text) {
  auto x = text.find('x');
  if (x == std::string_view::npos) return std::nullopt;
  auto parse = [](std::string_view part) -> std::optional<int> {
    int value = 0;
    auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (ec != std::errc() || end != part.data() + part.size() || value <= 0 || value > 16384) {
      return std::nullopt;
    }
    return value;
  };
  auto w = parse(text.substr(0, x));
  auto h = parse(text.substr(x + 1));
  if (!w || !h) return std::nullopt;
  return Size{static_cast<float>(*w), static_cast<float>(*h)};
}

namespace {
bool contains(const std::vector<std::string>& list, std::string_view item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}
}  // namespace

std::expected<LaunchArgs, LaunchError> LaunchArgs::parse(
    const std::vector<std::string>& args, const std::vector<std::string>& value_options,
    const std::vector<std::string>& switches, const std::vector<std::string>& scenarios) {
  LaunchArgs out;
  bool options_done = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_done || arg.size() < 2 || arg[0] != '-' || arg == "-") {
      out.positionals_.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_done = true;
      continue;
    }
    std::string name = arg;
    std::optional<std::string> inline_value;
    if (auto eq = arg.find('='); eq != std::string::npos) {
      name = arg.substr(0, eq);
      inline_value = arg.substr(eq + 1);
    }
    auto take_value = [&]() -> std::expected<std::string, LaunchError> {
      if (inline_value) return *inline_value;
      if (i + 1 >= args.size())
        return std::unexpected(LaunchError{"option " + name + " needs a value"});
      return args[++i];
    };
    if (name == "--screenshot" || name == "--out" || name == "--size" ||
        name == "--automation-socket" || contains(value_options, name)) {
      auto value = take_value();
      if (!value) return std::unexpected(value.error());
      if (name == "--screenshot") {
        if (!contains(scenarios, *value)) {
          return std::unexpected(LaunchError{"unknown screenshot scenario \"" + *value + "\""});
        }
        out.scenario_ = *value;
      } else if (name == "--out") {
        out.output_ = std::filesystem::path(*value);
      } else if (name == "--automation-socket") {
        out.automation_socket_ = std::filesystem::path(*value);
      } else {
        if (name == "--size") {
          out.size_ = parse_size(*value);
          if (!out.size_) {
            return std::unexpected(
                LaunchError{"invalid size \"" + *value + "\" (expected WIDTHxHEIGHT)"});
          }
        }
        out.values_[name] = *value;
      }
      continue;
    }
    if (contains(switches, name) && !inline_value) {
      out.switches_.push_back(name);
      continue;
    }
    return std::unexpected(LaunchError{"unknown option " + name});
  }
  if (out.scenario_ && !out.output_) {
    return std::unexpected(LaunchError{"--screenshot needs --out PATH"});
  }
  return out;
}

std::optional<std::string> LaunchArgs::value(std::string_view option) const {
  auto it = values_.find(option);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

bool LaunchArgs::has_switch(std::string_view option) const {
  return contains(switches_, option);
}

}  // namespace vask_ui
