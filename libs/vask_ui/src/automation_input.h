#pragma once

#include <expected>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "vask_ui/event.h"

namespace vask_ui::automation {

/// The events of one "input" request: each requested event becomes the sequence of toolkit
/// events it stands for (a click is a move, a press and a release). The whole list is read
/// before anything is delivered, so a bad event never leaves half of a request applied.
std::expected<std::vector<std::vector<Event>>, std::string> parse_input_events(
    const nlohmann::json& events);

}  // namespace vask_ui::automation
