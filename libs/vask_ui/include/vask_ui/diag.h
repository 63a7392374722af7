#pragma once

#include <string_view>

namespace vask_ui::diag {

/// One diagnostic line on standard error, prefixed with the application's name.
void write_line(std::string_view line);

}  // namespace vask_ui::diag
