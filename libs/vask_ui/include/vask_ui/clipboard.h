#pragma once

#include <expected>
#include <optional>
#include <string>
#include <string_view>

/// The desktop's text clipboard.
namespace vask_ui::text_selection {

/// Puts `text` on the clipboard (and the primary selection where the platform has one).
std::expected<void, std::string> clipboard_copy(std::string_view text);
/// The clipboard's text, or nullopt when it holds none.
std::optional<std::string> clipboard_text();

}  // namespace vask_ui::text_selection
