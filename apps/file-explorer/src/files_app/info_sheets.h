#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "files_app/sheet.h"
#include "model/file_entry.h"

/// The two read-only information sheets about one entry: properties and availability. Both are
/// built from the entry as it was last listed; nothing is read from disk.
namespace files::app {

Sheet properties_sheet(const model::FileEntry& entry);
/// Only entries with an availability projection have an availability sheet.
std::optional<Sheet> availability_sheet(const model::FileEntry& entry);

/// "4:05" below an hour, "1:02:03" from an hour on; hours are not capped.
std::string duration_text(std::uint64_t ms);

}  // namespace files::app
