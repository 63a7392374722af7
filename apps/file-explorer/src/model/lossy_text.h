#pragma once

#include <string>
#include <string_view>

namespace files::model {

/// True when `bytes` are well-formed UTF-8 (no overlong forms, surrogates or values above
/// U+10FFFF).
bool is_valid_utf8(std::string_view bytes);

/// The bytes as text: each maximal ill-formed part becomes one U+FFFD, so names that are not
/// UTF-8 stay readable and distinct from well-formed ones.
std::string lossy_utf8(std::string_view bytes);

}  // namespace files::model
