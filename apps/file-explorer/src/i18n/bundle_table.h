#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include <vask_ui/catalog.h>

namespace files::i18n {

/// The locale whose bundle defines the wording; the others translate it.
inline constexpr std::string_view kSourceLocale = "en-US";

/// The bundles compiled into the program ("en-US", then "de-DE"). The texts live for the whole
/// process.
std::span<const vask_ui::BundleSource> bundle_table();

}  // namespace files::i18n
